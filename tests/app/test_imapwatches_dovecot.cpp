// The IMAP watches of automatic mode against the fixture's Dovecot: a message delivered while
// an IMAP mailbox is watched (IDLE) is reported within two seconds and brings that mailbox's
// check, also when the first attempt finds the guard busy; the check moves it to Junk.
#include "checktask.h"
#include "dovecot_test.h"
#include "imap.h"
#include "imapwatches.h"
#include "mailboxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class ImapWatchesDovecot : public DovecotTest
{
protected:
    static void RunUntil(const std::function<bool()> &done, int ms)
    {
        QElapsedTimer clock;
        for (clock.start(); !done() && clock.elapsed() < ms; QThread::msleep(2))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    void Deliver(const QString &user, int number)
    {
        const QString root = env.MailDir + u'/' + user;
        const QString name = QStringLiteral("/%1.M2P2.tarnwick").arg(number);
        QFile file(root + "/tmp" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(TestMessage(number));
        file.close();
        ASSERT_TRUE(QFile::rename(file.fileName(), root + "/new" + name));
    }

    qsizetype Files(const QString &folder) const
    {
        const QString root = env.MailDir + QStringLiteral("/imap09") + folder;
        return QDir(root + "/cur").entryList(QDir::Files).size() + QDir(root + "/new").entryList(QDir::Files).size();
    }
};

TEST_F(ImapWatchesDovecot, NewMailIsCheckedAndItsSpamMovedWithinSeconds)
{
    Seed("imap09", {TestMessage(1)});
    ServerSettings servers;
    servers.slot(4) = {env.Server(env.ImapPort), "imap09", env.Password, TlsMode::None, {}};
    servers.slot(4).protocol = MailProtocol::Imap;
    // A POP3 mailbox beside it is not watched.
    servers.slot(2) = {env.Server(env.Pop3Port), "imap09", env.Password, TlsMode::None, {}};

    QList<int> asked;
    TTaskResult result;
    QStringList listed;
    TImapWatches watches([&](int n) {
        asked << n;
        if (asked.size() == 1)
            return false;   // busy: asked again a little later
        TImapMailbox mailbox(ImapSettingsOf(servers.slot(n), 10));
        listed.clear();
        result = TCheckTask(mailbox).Run(
            [&](int, int, const TMailboxMessage &m) { listed << GetFieldValue(m.headers, "Subject"); },
            [&] { return QList<int>{int(listed.indexOf(GetFieldValue(DecodeHeaderLines(TestMessage(2)), "Subject")))}; });
        return true;
    });
    QList<int> opened;
    QObject::connect(&watches, &TImapWatches::watching, [&](int n, bool idle) { opened << n * 10 + idle; });
    watches.Update(servers, true, 10);
    EXPECT_EQ(watches.Watched(), QList<int>{4});
    RunUntil([&] { return !opened.isEmpty(); }, 10000);
    ASSERT_EQ(opened, QList<int>{41}) << "slot 4 by IDLE";

    Deliver("imap09", 2);
    // IDLE brings the arrival within two seconds; the busy guard's check follows the retry.
    RunUntil([&] { return !asked.isEmpty(); }, 2000);
    EXPECT_EQ(asked, QList<int>{4});
    RunUntil([&] { return asked.size() == 2; }, 2 * TImapWatches::kRetryMs);
    EXPECT_EQ(asked, (QList<int>{4, 4}));
    EXPECT_TRUE(result.ok) << result.text.toStdString();
    EXPECT_EQ(listed.size(), 2);
    EXPECT_EQ(result.deleted, QList<int>{0}) << "the newest message, the one delivered";
    EXPECT_EQ(Files(QString()), 1);
    EXPECT_EQ(Files("/.Junk"), 1);

    watches.Update(servers, false, 10);
    EXPECT_TRUE(watches.Watched().isEmpty());
}

} // namespace
