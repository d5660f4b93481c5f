// The IMAP watches of automatic mode against the fixture's Dovecot: a message delivered while
// an IMAP mailbox is watched brings that mailbox's check at once, also when the first attempt
// finds the guard busy, and the check moves the message picked for deletion to Junk.
#include "checktask.h"
#include "dovecot_test.h"
#include "imap.h"
#include "imapwatches.h"

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
    qint64 RunUntil(const std::function<bool()> &done, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
        }
        return clock.elapsed();
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

    int Files(const QString &user, const QString &folder) const
    {
        int count = 0;
        for (const char *sub : {"/cur", "/new"})
            count += int(QDir(env.MailDir + u'/' + user + folder + QLatin1String(sub)).entryList(QDir::Files).size());
        return count;
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
    const qint64 waited = RunUntil([&] { return asked.size() == 2; }, 2000 + TImapWatches::kRetryMs);
    EXPECT_EQ(asked, (QList<int>{4, 4})) << "after " << waited << " ms";
    EXPECT_TRUE(result.ok) << result.text.toStdString();
    EXPECT_EQ(listed.size(), 2);
    EXPECT_EQ(result.deleted, QList<int>{0}) << "the newest message, the one delivered";
    EXPECT_EQ(Files("imap09", QString()), 1);
    EXPECT_EQ(Files("imap09", "/.Junk"), 1);

    watches.Update(servers, false, 10);
    EXPECT_TRUE(watches.Watched().isEmpty());
}

} // namespace
