// The IMAP mailbox against the fixture's Dovecot, which serves the same mail as over POP3 and
// has Junk and Trash folders with their special uses. Each test has users of its own.
#include "dovecot_test.h"

#include "imap.h"
#include "pop3.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

namespace {

class ImapDovecot : public DovecotTest
{
protected:
    TImapSettings Settings(const QString &user, TmsTlsMode mode = TmsTlsMode::None)
    {
        TImapSettings settings;
        settings.server = env.Server(mode == TmsTlsMode::Implicit ? env.ImapsPort : env.ImapPort);
        settings.tls = {mode, env.Fingerprint};
        settings.user = user;
        settings.password = env.Password;
        settings.timeOutSeconds = 10;
        return settings;
    }

    // The messages numbered from 1; those in seen carry \Seen (and \Flagged for the odd ones,
    // so that other flags are seen to stay too).
    void SeedWithSeen(const QString &user, int count, const QList<int> &seen)
    {
        QList<QByteArray> messages;
        for (int i = 1; i <= count; ++i)
            messages << TestMessage(i, i % 3);
        Seed(user, messages);
        for (const int n : seen) {
            const QString path = env.MailDir + u'/' + user + QStringLiteral("/cur/%1.M1P1.tarnwick:2,").arg(n, 10, 10, QChar(u'0'));
            ASSERT_TRUE(QFile::rename(path, path + (n % 2 ? "FS" : "S")));
        }
    }

    // The folder's messages (INBOX for an empty name) by their subject's number, with the
    // flags their file names carry ("FS": \Flagged and \Seen).
    QMap<int, QString> Folder(const QString &user, const QString &folder = QString()) const
    {
        QMap<int, QString> found;
        const QString root = env.MailDir + u'/' + user + (folder.isEmpty() ? QString() : "/." + folder);
        for (const char *sub : {"/cur", "/new"}) {
            const QDir dir(root + QLatin1String(sub));
            for (const QFileInfo &info : dir.entryInfoList(QDir::Files)) {
                QFile file(info.filePath());
                EXPECT_TRUE(file.open(QIODevice::ReadOnly));
                const TmsHeaders headers = DecodeHeaderLines(file.readAll());
                const int number = GetFieldValue(headers, "Subject").section(u' ', 2, 2).toInt();
                // A message delivered into new/ has no flags in its name yet.
                found.insert(number, info.fileName().section(QStringLiteral(":2,"), 1));
            }
        }
        return found;
    }

    static QList<int> Numbers(const TMailboxListing &listing)
    {
        QList<int> numbers;
        for (const TMailboxMessage &message : listing.messages)
            numbers << GetFieldValue(message.headers, "Subject").section(u' ', 2, 2).toInt();
        return numbers;
    }
};

TEST_F(ImapDovecot, ListsTheNewestUnseenMessagesAsPop3SeesThemAndMarksNothingRead)
{
    SeedWithSeen("imap01", 9, {2, 5, 6});
    const QMap<int, QString> before = Folder("imap01");
    TmsRemotePOP pop;
    pop.SetServer(env.Server(env.Pop3Port));
    pop.SetUserName("imap01");
    pop.SetPassword(env.Password);
    pop.SetTimeOut(10);
    pop.UpdateInfo();
    ASSERT_EQ(pop.RemoteInfo().Count(), 9);

    struct Case {
        TmsTlsMode mode;
        int maxListed;
        bool wholeFolder;
        QList<int> expected;
    };
    const Case cases[] = {
        {TmsTlsMode::None, 500, false, {9, 8, 7, 4, 3, 1}},
        {TmsTlsMode::StartTls, 4, false, {9, 8, 7, 4}},
        {TmsTlsMode::Implicit, 2, true, {9, 8, 7, 6, 5, 4, 3, 2, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "tls " << int(c.mode) << " max " << c.maxListed);
        TImapSettings settings = Settings("imap01", c.mode);
        settings.maxListed = c.maxListed;
        settings.wholeFolder = c.wholeFolder;
        TImapMailbox mailbox(settings);
        mailbox.LogIn();
        EXPECT_EQ(mailbox.Client().Encrypted(), c.mode != TmsTlsMode::None);
        QList<int> reported;
        const TMailboxListing listing =
            mailbox.List([&](int index, int count, const TMailboxMessage &) { reported << index << count; });
        ASSERT_EQ(Numbers(listing), c.expected);
        EXPECT_EQ(reported.size(), 2 * c.expected.size());
        EXPECT_EQ(listing.session, mailbox.Session());
        for (int i = 0; i < listing.messages.size(); ++i) {
            const TMailboxMessage &message = listing.messages[i];
            const TmsRemoteInfoItem &popItem = pop.RemoteInfo()[c.expected[i] - 1];
            EXPECT_EQ(message.size, popItem.Size);
            EXPECT_EQ(message.headers, popItem.Headers);
            EXPECT_EQ(message.uid, QStringLiteral("%1:%2").arg(mailbox.UidValidity()).arg(c.expected[i]));
            EXPECT_TRUE(mailbox.StillSame(listing, i));
        }
        mailbox.LogOut();
        EXPECT_FALSE(mailbox.Client().Connected());
    }
    // Listing and checking again left every flag as it was.
    EXPECT_EQ(Folder("imap01"), before);
}

TEST_F(ImapDovecot, FetchesAWholeMessageWithoutMarkingItReadAndLogOutDeletesNothing)
{
    TempHome home;
    SeedWithSeen("imap02", 3, {});
    const QMap<int, QString> before = Folder("imap02");
    TImapMailbox mailbox(Settings("imap02"));
    // What a progress window is told names the listed messages acted on, by listing index.
    QStringList told;
    const auto say = [&](const char *what) { return [&told, what](int i) { told << what + QString::number(i); }; };
    TMailboxEvents events;
    events.connecting = [&] { told << QStringLiteral("connecting"); };
    events.listing = [&] { told << QStringLiteral("listing"); };
    events.closed = [&] { told << QStringLiteral("closed"); };
    events.deleting = say("deleting ");
    events.retrieving = say("retrieving ");
    events.retrieved = say("retrieved ");
    mailbox.SetEvents(events);
    mailbox.LogIn();
    const TMailboxListing listing = mailbox.List();
    ASSERT_EQ(Numbers(listing), (QList<int>{3, 2, 1}));
    // A deletion opens the folder for changes: the fetch must not mark the message read there.
    EXPECT_EQ(mailbox.Delete(listing, {0}).deleted, QList<int>{0});
    ASSERT_TRUE(mailbox.Fetch(listing, 1, home.file("fetched.eml")));
    EXPECT_EQ(home.read("fetched.eml"), ToCrlf(TestMessage(2, 2)));
    mailbox.LogOut();
    EXPECT_EQ(told, (QStringList{"connecting", "listing", "deleting 0", "retrieving 1", "retrieved 1", "closed"}));
    EXPECT_EQ(Folder("imap02"), before);
    EXPECT_TRUE(Folder("imap02", "Junk").isEmpty());
}

TEST_F(ImapDovecot, DeletionActsOnExactlyTheMarkedMessagesAndLeavesOtherFlagsAlone)
{
    struct Case {
        const char *user;
        TImapSettings::Action action;
        const char *folder;   // where the marked messages go; none for good
        bool sameSession;
    };
    const Case cases[] = {
        {"imap03", TImapSettings::Action::MoveToJunk, "Junk", true},
        {"imap04", TImapSettings::Action::MoveToTrash, "Trash", false},
        {"imap05", TImapSettings::Action::DeleteForGood, nullptr, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.user);
        // 2 and 5 are seen: listed with the whole folder, so marked messages carry flags too.
        SeedWithSeen(c.user, 8, {2, 5});
        TImapSettings settings = Settings(c.user);
        settings.action = c.action;
        settings.wholeFolder = true;
        TImapMailbox mailbox(settings);
        mailbox.LogIn();
        const TMailboxListing listing = mailbox.List();
        ASSERT_EQ(Numbers(listing), (QList<int>{8, 7, 6, 5, 4, 3, 2, 1}));
        const QMap<int, QString> before = Folder(c.user);
        if (!c.sameSession) {
            mailbox.LogOut();
            mailbox.LogIn();
        }
        // Message 7 vanishes before the deletion (another program deleted it): it is left out.
        QFile::remove(env.MailDir + u'/' + c.user + "/cur/0000000007.M1P1.tarnwick:2,");
        // Listing indexes of 8, 7, 5 and 1.
        const TMailboxDeletion deletion = mailbox.Delete(listing, {0, 1, 3, 7});
        EXPECT_EQ(deletion.deleted, (QList<int>{0, 3, 7}));
        EXPECT_EQ(deletion.changed, (QList<int>{1}));
        mailbox.Commit();
        EXPECT_TRUE(mailbox.Notice().isEmpty());

        QMap<int, QString> expected = before;
        QMap<int, QString> moved;
        for (const int n : {8, 5, 1})
            moved.insert(n, expected.take(n));
        expected.remove(7);
        EXPECT_EQ(Folder(c.user), expected);
        if (c.folder) {
            // Moved with their flags.
            EXPECT_EQ(Folder(c.user, c.folder), moved);
        }
        for (const char *other : {"Junk", "Trash"}) {
            const bool target = c.folder && qstrcmp(other, c.folder) == 0;
            EXPECT_TRUE(target || Folder(c.user, other).isEmpty()) << other;
        }
    }
}

TEST_F(ImapDovecot, AChangedUidValidityRefusesTheDeletion)
{
    SeedWithSeen("imap06", 4, {});
    TImapMailbox mailbox(Settings("imap06"));
    mailbox.LogIn();
    const TMailboxListing listing = mailbox.List();
    ASSERT_EQ(listing.messages.size(), 4);
    const quint32 validity = mailbox.UidValidity();
    mailbox.LogOut();
    // Without its UID list and index, Dovecot numbers the folder anew.
    const QDir root(env.MailDir + "/imap06");
    for (const QString &name : root.entryList({"dovecot-uidlist", "dovecot.index*"}, QDir::Files))
        ASSERT_TRUE(QFile::remove(root.filePath(name)));
    mailbox.LogIn();
    ASSERT_NE(mailbox.UidValidity(), validity);
    EXPECT_FALSE(mailbox.StillSame(listing, 0));
    const TMailboxDeletion deletion = mailbox.Delete(listing, {0, 1, 2, 3});
    EXPECT_TRUE(deletion.deleted.isEmpty());
    EXPECT_EQ(deletion.changed, (QList<int>{0, 1, 2, 3}));
    mailbox.Commit();
    EXPECT_EQ(Folder("imap06").size(), 4);
    EXPECT_TRUE(Folder("imap06", "Junk").isEmpty());
}

TEST_F(ImapDovecot, AWrongPasswordOrFolderSaysWhatToCheck)
{
    SeedWithSeen("imap07", 1, {});
    TImapSettings wrongPassword = Settings("imap07");
    wrongPassword.password = "wrong";
    TImapSettings wrongFolder = Settings("imap07");
    wrongFolder.folder = "No such folder";
    // Only the refused log-in is one (the permanent failure of a check, for the CLI's exit status).
    for (const auto &[settings, text, login] : {std::tuple{wrongPassword, "Check the user name and password", true},
                                                std::tuple{wrongFolder, "\"No such folder\"", false}}) {
        TImapMailbox mailbox(settings);
        try {
            mailbox.LogIn();
            ADD_FAILURE() << "logged in";
        } catch (const EServerError &e) {
            EXPECT_TRUE(e.Message().contains(text)) << e.Message().toStdString();
            EXPECT_EQ(dynamic_cast<const ELoginError *>(&e) != nullptr, login) << text;
        }
        EXPECT_FALSE(mailbox.Client().Connected());
    }
}

} // namespace
