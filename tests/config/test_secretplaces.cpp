// Where the settings window puts a new password or sign-in. ctest runs WithoutKeyring with a bus
// address nobody listens at, WithKeyring in a private GNOME Keyring session.
#include "mailboxsetup.h"
#include "temp_home.h"
#include "unattendedprompts.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Answers "keep it in the settings file?" from a script (No once it runs out); records the texts.
struct TAnswers : TUnattendedPrompts {
    TAnswers() : TUnattendedPrompts(QStringLiteral("test")) {}
    QList<bool> keep;
    QStringList said;
    void InfoBox(const QString &text) override { said << text; }
    bool AskKeepSecretInFile(const QString &text) override { return said << text, !keep.isEmpty() && keep.takeFirst(); }
};

QString Raw(UserSettings &settings, const char *name) { return settings.readString("Server", name); }

TEST(WithoutKeyring, ANewSecretIsAskedAboutOnceAndGoesToTheFileOrNowhere)
{
    for (const bool oauth : {false, true})
        for (const bool keep : {false, true}) {
            SCOPED_TRACE(testing::Message() << "oauth " << oauth << ", keep " << keep);
            TempHome home;
            TAnswers prompts;
            prompts.keep = {keep};
            // Not asked about: slot 1's password from before the keyring, slot 3's changed one
            // in the file the user chose.
            ServerSettings before;
            before.slot(1) = {"pop.one.example", "old", "pw", TlsMode::Implicit, {}};
            before.slot(3) = before.slot(1);
            before.slot(3).secrets = SecretPlace::File;
            ServerSettings servers = before;
            servers.slot(3).password = "changed";
            MailboxSlot &slot = servers.slot(2) = {"pop.example.org", "alice", oauth ? "" : "pw2", TlsMode::Implicit, {}};
            slot.login = oauth ? MailboxLogin::OAuth2 : MailboxLogin::Password;
            slot.refreshToken = oauth ? "refresh-alice" : "";
            const MailboxSlot typed = slot;
            UserSettings settings;
            ASSERT_TRUE(saveServerSettings(settings, servers, PlaceNewSecrets(servers, before, prompts)).ok());
            ASSERT_EQ(prompts.said.size(), keep ? 1 : 2);
            EXPECT_TRUE(prompts.said[0].startsWith("The desktop keyring is not available"));
            EXPECT_TRUE(prompts.said[0].contains(oauth ? "sign-in of mailbox 2" : "password of mailbox 2"));
            EXPECT_TRUE(keep || prompts.said[1].contains(oauth ? "sign-in of mailbox 2 is not stored"
                                                               : "password of mailbox 2 is not stored"));
            EXPECT_FALSE(QFile::permissions(home.file("settings.ini")) & (QFile::ReadGroup | QFile::ReadOther));
            const MailboxSlot stored = ReadMailboxSlot(settings, 2);
            EXPECT_EQ(stored.secrets, keep ? SecretPlace::File : SecretPlace::Keyring);
            EXPECT_EQ(stored.password + stored.refreshToken, keep ? typed.password + typed.refreshToken : "");
            EXPECT_EQ(Raw(settings, "Passwd2").isEmpty() && Raw(settings, "Refresh2").isEmpty(), !keep);
            EXPECT_EQ(ReadMailboxSlot(settings, 1), before.slot(1));
            EXPECT_EQ(ReadMailboxSlot(settings, 3).password, "changed");
            // The next start says the secret could not be had; stored again unchanged, nothing is asked.
            QStringList warnings;
            readServerSettings(settings, &warnings);
            EXPECT_EQ(warnings.size(), keep ? 0 : 1);
            ServerSettings again = servers;
            EXPECT_EQ(PlaceNewSecrets(again, servers, prompts), keep ? QSet<int>() : QSet<int>{2});
            EXPECT_EQ(prompts.said.size(), keep ? 1 : 2);
        }
}

TEST(WithKeyring, NewSecretsGoToTheKeyringWithoutAQuestion)
{
    TempHome home;
    TAnswers prompts;
    ServerSettings servers;
    servers.slot(2) = {"pop.example.org", "erin", "pw of erin", TlsMode::Implicit, {}};
    servers.slot(5) = {"pop.example.org", "frank", {}, TlsMode::Implicit, {}};
    servers.slot(5).login = MailboxLogin::OAuth2;
    servers.slot(5).refreshToken = "refresh-frank";
    UserSettings settings;
    ASSERT_TRUE(saveServerSettings(settings, servers, PlaceNewSecrets(servers, ServerSettings(), prompts)).ok());
    EXPECT_EQ(prompts.said, QStringList());
    EXPECT_EQ(Raw(settings, "Passwd2") + Raw(settings, "Refresh5"), "");
    const ServerSettings read = readServerSettings(settings);
    EXPECT_EQ(read.slot(2).secrets, SecretPlace::Keyring);
    EXPECT_EQ(read.slot(2).password, "pw of erin");
    EXPECT_EQ(read.slot(5).refreshToken, "refresh-frank");
}

} // namespace
