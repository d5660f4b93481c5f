// The IMAP watcher against scripted servers: what Dovecot will not do (no IDLE, a BYE while
// idling, a refused greeting) and the renewal of IDLE, with the pauses between reconnections.
#include "scripted_peer.h"

#include "imapwatch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Runs the event loop until done() or ms have passed; the watcher's signals arrive queued.
bool RunUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    for (clock.start(); !done() && clock.elapsed() < ms; QThread::msleep(5))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

PeerScript Opened(const QByteArray &caps, int exists)
{
    return {{"", "* OK [CAPABILITY IMAP4rev1 " + caps + "] ready\r\n"},
            {"A1 LOGIN alice pw", "A1 OK in\r\n"},
            {"A2 EXAMINE INBOX", "* " + QByteArray::number(exists) + " EXISTS\r\n* OK [UIDVALIDITY 7] x\r\nA2 OK\r\n"}};
}

// NOOPs from tag first to last that bring nothing.
PeerScript Quiet(int first, int last)
{
    PeerScript s;
    for (QByteArray tag; first <= last && (tag = "A" + QByteArray::number(first++), true);)
        s << PeerStep{tag + " NOOP", tag + " OK\r\n"};
    return s;
}

TEST(ImapWatch, ReportsNewMailAndReconnectsWithGrowingPauses)
{
    struct Case {
        const char *name;
        PeerScript first, second, third;   // one per connection
        QList<int> pauses;                 // announced before each reconnection
        QList<bool> watching;              // IDLE or polling, per session opened
    };
    const QByteArray idling = "+ idling\r\n";
    const Case cases[] = {
        {"no IDLE: NOOP polls", Opened("", 1) << PeerStep{"A3 NOOP", "A3 OK\r\n"}
                                              << PeerStep{"A4 NOOP", "* 2 EXISTS\r\n* 1 RECENT\r\nA4 OK\r\n"}
                                              << Quiet(5, 12),
         {}, {}, {}, {false}},
        // Renewed at the refresh period; an expunge lowers the count, so the next arrival is new.
        {"IDLE renewed", Opened("IDLE", 3) << PeerStep{"A3 IDLE", idling + "* 1 EXPUNGE\r\n"}
                                           << PeerStep{"DONE", "A3 OK\r\n"}
                                           << PeerStep{"A4 IDLE", idling + "* 3 EXISTS\r\n"}
                                           << PeerStep{"DONE", "A4 OK\r\n"},
         {}, {}, {}, {true}},
        // A BYE while idling, then a server that turns the connection away: the pauses grow
        // from the shortest again after a session that worked.
        {"BYE while idling", Opened("IDLE", 1) << PeerStep{"A3 IDLE", idling + "* BYE going down\r\n", PeerAction::ReplyAndClose},
         {{"", "* BYE too many connections\r\n", PeerAction::ReplyAndClose}},
         Opened("IDLE", 1) << PeerStep{"A3 IDLE", idling + "* 2 EXISTS\r\n"} << PeerStep{"DONE", "A3 OK\r\n"},
         {100, 200}, {true, true}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer{c.first, c.second, c.third};
        const TImapSettings settings{peer.Server(), {}, "alice", "pw", nullptr, 1};
        // IDLE renewed after 1.5 s (longer than the time-out of a reply), NOOP every 50 ms,
        // pauses from 100 ms.
        TImapWatcher watcher(settings, {1500, 50, 100, 10000});
        int arrivals = 0;
        QList<int> pauses;
        QList<bool> watching;
        QObject::connect(&watcher, &TImapWatcher::newMail, &watcher, [&] { ++arrivals; });
        QObject::connect(&watcher, &TImapWatcher::problem, &watcher, [&](const QString &, int ms) { pauses << ms; });
        QObject::connect(&watcher, &TImapWatcher::watching, &watcher, [&](bool idle) { watching << idle; });
        watcher.Start();
        EXPECT_TRUE(RunUntil([&] { return arrivals > 0; }, 5000));
        RunUntil([] { return false; }, 100);   // no second arrival comes
        watcher.Stop();
        EXPECT_EQ(arrivals, 1);
        EXPECT_EQ(pauses, c.pauses);
        EXPECT_EQ(watching, c.watching);
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    }
}

} // namespace
