// Where a mailbox's new password or sign-in goes when the settings window stores it: the desktop
// keyring when one answers, else the place the user picks. Run twice by ctest: without a bus
// (an address nobody listens at) for WithoutKeyring, in a private GNOME Keyring session for
// WithKeyring.
#include "mailboxsetup.h"
#include "prompts.h"
#include "secrets.h"
#include "settings.h"
#include "temp_home.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class TAnsweringPrompts : public TPrompts
{
public:
    QList<bool> keep; // answers to "keep it in the settings file?"; No when none is left
    QStringList questions;
    QStringList infos;

    void ErrorBox(const QString &text) override { ADD_FAILURE() << text.toStdString(); }
    void InfoBox(const QString &text) override { infos << text; }
    bool AskYesNo(const QString &text) override { ADD_FAILURE() << text.toStdString(); return false; }
    int ChooseMailbox(const QList<TMailboxEntry> &, int) override { return 0; }
    bool AskTrustCertificate(int, const QString &, const QString &) override { return false; }
    bool AskKeepSecretInFile(const QString &text) override
    {
        questions << text;
        return !keep.isEmpty() && keep.takeFirst();
    }
};

ServerSettings WithMailbox(int n, const QString &user, bool oauth)
{
    ServerSettings servers;
    MailboxSlot &slot = servers.slot(n);
    slot.server = QStringLiteral("pop.example.org:995");
    slot.mailbox = user;
    if (oauth) {
        slot.login = MailboxLogin::OAuth2;
        slot.refreshToken = QStringLiteral("refresh-") + user;
    } else {
        slot.password = QStringLiteral("pw of ") + user;
    }
    return servers;
}

// Places, asks and stores as the settings window's OK does.
// Whether the settings file holds no value for key (e.g. "Passwd2").
bool EmptyInFile(const QByteArray &file, const char *key)
{
    return !file.contains(QByteArray("\\") + key + '=') || file.contains(QByteArray("\\") + key + "=\n");
}

QSet<int> Store(ServerSettings &servers, const ServerSettings &shown, TAnsweringPrompts &prompts)
{
    const QSet<int> unstored = PlaceNewSecrets(servers, shown, prompts);
    UserSettings settings;
    EXPECT_TRUE(saveServerSettings(settings, servers, unstored).ok()) << settings.lastError().toStdString();
    return unstored;
}

TEST(WithoutKeyring, TheUserChoosesTheFileOrNothing)
{
    const struct { const char *name; bool oauth; bool keep; const char *asked; const char *told; } cases[] = {
        {"password kept in the file", false, true, "password of mailbox 2", nullptr},
        {"password not stored", false, false, "password of mailbox 2", "password of mailbox 2 is not stored"},
        {"sign-in kept in the file", true, true, "sign-in of mailbox 2", nullptr},
        {"sign-in not stored", true, false, "sign-in of mailbox 2", "sign-in of mailbox 2 is not stored"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        TAnsweringPrompts prompts;
        prompts.keep = {c.keep};
        ServerSettings servers = WithMailbox(2, QStringLiteral("alice"), c.oauth);
        const MailboxSlot typed = servers.slot(2);
        const QSet<int> unstored = Store(servers, ServerSettings(), prompts);
        ASSERT_EQ(prompts.questions.size(), 1);
        EXPECT_TRUE(prompts.questions[0].contains(QStringLiteral("desktop keyring is not available")));
        EXPECT_TRUE(prompts.questions[0].contains(QLatin1String(c.asked))) << prompts.questions[0].toStdString();
        ASSERT_EQ(prompts.infos.size(), c.told ? 1 : 0);
        if (c.told) {
            EXPECT_TRUE(prompts.infos[0].contains(QLatin1String(c.told))) << prompts.infos[0].toStdString();
        }
        EXPECT_EQ(unstored, c.keep ? QSet<int>() : QSet<int>{2});

        const QByteArray file = home.read(QStringLiteral("settings.ini"));
        EXPECT_EQ(QFile::permissions(home.file(QStringLiteral("settings.ini")))
                      & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther),
                  QFileDevice::Permissions());
        UserSettings settings;
        QString warning;
        const MailboxSlot stored = ReadMailboxSlot(settings, 2, &warning);
        EXPECT_EQ(stored.secrets, c.keep ? SecretPlace::File : SecretPlace::Keyring);
        EXPECT_EQ(stored.mailbox, typed.mailbox) << "the mailbox is stored either way";
        EXPECT_EQ(stored.password, c.keep ? typed.password : QString());
        EXPECT_EQ(stored.refreshToken, c.keep ? typed.refreshToken : QString());
        EXPECT_EQ(EmptyInFile(file, "Passwd2"), !c.keep || c.oauth);
        EXPECT_EQ(EmptyInFile(file, "Refresh2"), !c.keep || !c.oauth);
        // The next start says that the secret could not be had, and what to do.
        QStringList warnings;
        readServerSettings(settings, &warnings);
        EXPECT_EQ(warnings.size(), c.keep ? 0 : 1) << warnings.join('\n').toStdString();

        // Stored again unchanged: asked once was enough, and nothing moves.
        ServerSettings again = servers;
        Store(again, servers, prompts);
        EXPECT_EQ(prompts.questions.size(), 1);
        EXPECT_EQ(ReadMailboxSlot(settings, 2), stored);
    }
}

TEST(WithoutKeyring, ChosenPlacesAndOldPasswordsAreNotAskedAbout)
{
    TempHome home;
    TAnsweringPrompts prompts;
    ServerSettings servers = WithMailbox(1, QStringLiteral("bob"), false);
    servers.slot(1).secrets = SecretPlace::File;
    servers.slot(3) = WithMailbox(3, QStringLiteral("carol"), false).slot(3);
    servers.slot(3).secrets = SecretPlace::Command;
    servers.slot(3).secretCommand = QStringLiteral("echo pw");
    // Scrambled by an older version: it waits in the file for a start with a keyring.
    servers.slot(4) = WithMailbox(4, QStringLiteral("dave"), false).slot(4);
    const ServerSettings shown = servers;
    servers.slot(1).password = QStringLiteral("changed");
    EXPECT_EQ(Store(servers, shown, prompts), QSet<int>());
    EXPECT_EQ(prompts.questions, QStringList());
    UserSettings settings;
    EXPECT_EQ(ReadMailboxSlot(settings, 1).password, QStringLiteral("changed"));
    EXPECT_EQ(ReadMailboxSlot(settings, 3).secrets, SecretPlace::Command);
    EXPECT_EQ(ReadMailboxSlot(settings, 4).secrets, SecretPlace::Unchosen);
    EXPECT_EQ(ReadMailboxSlot(settings, 4).password, shown.slot(4).password);
}

TEST(WithKeyring, NewSecretsGoToTheKeyringWithoutAQuestion)
{
    TempHome home;
    TAnsweringPrompts prompts;
    ServerSettings servers = WithMailbox(2, QStringLiteral("erin"), false);
    servers.slot(5) = WithMailbox(5, QStringLiteral("frank"), true).slot(5);
    EXPECT_EQ(Store(servers, ServerSettings(), prompts), QSet<int>());
    EXPECT_EQ(prompts.questions, QStringList());
    UserSettings settings;
    const QByteArray file = home.read(QStringLiteral("settings.ini"));
    EXPECT_TRUE(EmptyInFile(file, "Passwd2") && EmptyInFile(file, "Refresh5"));
    for (int n : {2, 5})
        EXPECT_EQ(ReadMailboxSlot(settings, n).secrets, SecretPlace::Keyring) << n;
    EXPECT_EQ(ReadKeyringSecret(2, servers.slot(2).account(), SecretKind::Password).secret, servers.slot(2).password);
    EXPECT_EQ(ReadKeyringSecret(5, servers.slot(5).account(), SecretKind::RefreshToken).secret,
              servers.slot(5).refreshToken);
    const ServerSettings read = readServerSettings(settings);
    EXPECT_EQ(read.slot(2).password, servers.slot(2).password);
}

} // namespace
