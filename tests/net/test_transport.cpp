// The line transport against a scripted peer on 127.0.0.1: lines, blocks, time-outs, cancels
// and the error reports.
#include "scripted_peer.h"

#include "linecodec.h"
#include "pop3.h"
#include "tagsocket.h"
#include "winsock.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>
#include <netdb.h>
#include <arpa/inet.h>

namespace {

// Runs the event loop until cond holds, at most ms milliseconds.
template <typename Cond>
void SpinUntil(Cond cond, int ms = 2000)
{
    QDeadlineTimer deadline(ms);
    while (!cond() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// Records the transport's events in order, as "Name" or "Name:detail".
struct EventLog {
    QStringList events;
    void Attach(TagSocket &s)
    {
        s.OnOpen = [this](QObject *) { events << "Open"; };
        s.OnClosing = [this](QObject *) { events << "Closing"; };
        s.OnClosed = [this](QObject *) { events << "Closed"; };
        s.OnCancel = [this](QObject *) { events << "Cancel"; };
        s.OnError = [this](QObject *, QString &msg) { events << "Error:" + msg; };
    }
    QStringList Errors() const { return events.filter(QRegularExpression("^Error:")); }
};

// A socket connected to the peer, with a short time-out.
void Connect(TagSocket &s, const ScriptedPeer &peer, int timeOut = 1)
{
    s.SetServer(peer.Server());
    s.SetTimeOut(timeOut);
    s.Open();
    s.ConnectSocket();
}

TEST(Transport, ReadsReplyLinesUpToTheBound)
{
    const QByteArray exactly = QByteArray("+OK ") + QByteArray(TagSocket::kMaxLineBytes - 6, 'a') + "\r\n";
    const QByteArray tooLong = QByteArray("+OK ") + QByteArray(TagSocket::kMaxLineBytes - 5, 'a') + "\r\n";
    struct Case {
        const char *name;
        QByteArray greeting;
        PeerAction action;
        bool fails;
        int code;
        QString line;
    };
    const Case cases[] = {
        {"a line", "250 ready\r\n", PeerAction::Reply, false, 250, "250 ready"},
        {"LF alone ends a line", "220 hi\n", PeerAction::Reply, false, 220, "220 hi"},
        {"not a number", "hello\r\n", PeerAction::Reply, false, -1, "hello"},
        {"1024 bytes with its line end", exactly, PeerAction::Reply, false, -1, QString::fromLatin1(exactly.chopped(2))},
        {"1025 bytes", tooLong, PeerAction::Reply, true, 0, ""},
        {"100 KiB without a line end", QByteArray(100 * 1024, 'x'), PeerAction::Reply, true, 0, ""},
        {"closed mid-line", "250 hal", PeerAction::ReplyAndClose, false, -1, ""},
        {"closed at once", "", PeerAction::ReplyAndClose, false, -1, ""},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({{{"", c.greeting, c.action}}});
        TagSocket s;
        EventLog log;
        log.Attach(s);
        Connect(s, peer);
        QString line = "stale";
        if (c.fails) {
            EXPECT_THROW(s.ReadLine(line), ESocketError) << c.name;
            EXPECT_FALSE(s.Connected()) << c.name << ": the rest of the stream is unusable";
            EXPECT_EQ(log.Errors().size(), 1) << c.name;
        } else {
            EXPECT_EQ(s.ReadLine(line), c.code) << c.name;
            EXPECT_EQ(line, c.line) << c.name;
            EXPECT_EQ(s.LastReply(), c.line) << c.name;
            EXPECT_TRUE(log.Errors().isEmpty()) << c.name;
        }
    }
}

TEST(Transport, ReadLineLeavesTheFollowingDataForTheBlock)
{
    ScriptedPeer peer({{{"", "+OK\r\nline one\r\n..dot\r\n.\r\n"}}});
    TagSocket s;
    Connect(s, peer);
    QString line;
    s.ReadLine(line);
    EXPECT_EQ(line, "+OK");
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    s.ReceiveToStream(buffer, -1);
    EXPECT_EQ(data, QByteArray("line one\r\n.dot\r\n"));
}

TEST(Transport, ReceivesBlocksAndReportsProgress)
{
    QByteArray wire;
    for (int i = 0; i < 2000; ++i)
        wire += "..line " + QByteArray::number(i) + "\r\n";
    const QByteArray expected = QByteArray(wire).replace("..line", ".line");
    ScriptedPeer peer({{{"", wire + ".\r\n"}}});
    TagSocket s;
    QList<QPair<int, qint64>> progress;
    s.OnProgress = [&](QObject *sender, int perc, qint64 transferred) {
        EXPECT_EQ(sender, &s);
        progress.append({perc, transferred});
    };
    Connect(s, peer);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    s.ReceiveToStream(buffer, expected.size());
    EXPECT_EQ(data, expected);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.first(), qMakePair(0, qint64(0)));   // counted before the first bytes
    for (int i = 1; i < progress.size(); ++i) {
        EXPECT_GE(progress[i].second, progress[i - 1].second);
        EXPECT_EQ(progress[i].first, int(RoundHalfEven(progress[i].second * 100, expected.size())));
    }
    EXPECT_LE(progress.last().first, 100);
}

TEST(Transport, BlockFailures)
{
    struct Case {
        const char *name;
        QByteArray wire;
        PeerAction action;
        qint64 expected;
        int code;   // of the ESocketError
    };
    const Case cases[] = {
        {"far larger than listed", QByteArray(300 * 1024, 'x') + "\r\n.\r\n", PeerAction::Reply, 100, 0},
        {"closed mid-block", "partial\r\nblock", PeerAction::ReplyAndClose, -1, 10054},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({{{"", c.wire, c.action}}});
        TagSocket s;
        EventLog log;
        log.Attach(s);
        Connect(s, peer);
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        try {
            s.ReceiveToStream(buffer, c.expected);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ESocketError &e) {
            EXPECT_EQ(e.Code(), c.code) << c.name;
            EXPECT_EQ(log.Errors(), QStringList{"Error:" + e.Message()}) << c.name;
        }
        EXPECT_FALSE(s.Connected()) << c.name;
        EXPECT_LE(data.size(), 2 * 100 + 64 * 1024) << c.name;
    }
}

TEST(Transport, StallEndsWithTimeOut)
{
    ScriptedPeer peer({{{"", "", PeerAction::Stall}}});
    TagSocket s;
    EventLog log;
    log.Attach(s);
    Connect(s, peer);
    QString line;
    try {
        s.ReadLine(line);
        ADD_FAILURE() << "no time-out";
    } catch (const ETimedOutError &e) {
        EXPECT_EQ(e.Message(), "Operation timed out");
    }
    EXPECT_EQ(log.events, (QStringList{"Open", "Error:Operation timed out", "Closing", "Closed"}));
    EXPECT_FALSE(s.Connected());
}

TEST(Transport, TrickleCannotStretchAWait)
{
    // 40 bytes, one every 150 ms: 6 s in all, far past a 1 s time-out, though no gap is long.
    ScriptedPeer peer({{{"", QByteArray(38, 'a') + "\r\n", PeerAction::Trickle}}});
    TagSocket s;
    Connect(s, peer);
    QString line;
    EXPECT_THROW(s.ReadLine(line), ETimedOutError);
}

TEST(Transport, CancelFromATimerEndsTheWait)
{
    ScriptedPeer peer({{{"", "", PeerAction::Stall}}});
    TagSocket s;
    EventLog log;
    log.Attach(s);
    Connect(s, peer, 5);
    QTimer::singleShot(100, &s, [&s] { s.Cancel(); });
    QString line;
    try {
        s.ReadLine(line);
        ADD_FAILURE() << "no cancel";
    } catch (const ECanceledError &e) {
        EXPECT_EQ(e.Message(), "Operation has been canceled");
    }
    EXPECT_EQ(log.events,
              (QStringList{"Open", "Cancel", "Closing", "Closed", "Error:Operation has been canceled"}));
    EXPECT_FALSE(s.Connected());
}

TEST(Transport, ApplicationExitDuringAWaitIsACancel)
{
    ScriptedPeer peer({{{"", "", PeerAction::Stall}}});
    TagSocket s;
    Connect(s, peer, 5);
    QTimer::singleShot(100, [] { QCoreApplication::exit(0); });
    QString line;
    EXPECT_THROW(s.ReadLine(line), ECanceledError);
    // Let later tests in this process run their event loops again.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

TEST(Transport, SecondCallDuringAWaitIsRefused)
{
    ScriptedPeer peer({{{"", "", PeerAction::Stall}}});
    TagSocket s;
    EventLog log;
    log.Attach(s);
    Connect(s, peer, 5);
    bool refused = false;
    QTimer::singleShot(100, &s, [&] {
        try {
            s.SendLine("NOOP");
        } catch (const ESocketError &) {
            refused = true;
        }
        s.Close();   // closing while busy cancels
    });
    QString line;
    EXPECT_THROW(s.ReadLine(line), ECanceledError);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(peer.Received().isEmpty());
}

TEST(Transport, ConnectionRefused)
{
    quint16 port;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    TagSocket s;
    EventLog log;
    log.Attach(s);
    s.SetServer("127.0.0.1:" + QString::number(port));
    s.SetTimeOut(2);
    s.Open();
    try {
        s.ConnectSocket();
        ADD_FAILURE() << "connected to a closed port";
    } catch (const ESocketError &e) {
        EXPECT_EQ(e.Code(), 10061);
        EXPECT_EQ(e.Message(), "Error #10061: Connection refused");
        EXPECT_EQ(log.Errors(), QStringList{"Error:Error #10061: Connection refused"});
    }
}

TEST(Transport, OnErrorMayRewordTheMessage)
{
    TagSocket s;
    s.OnError = [](QObject *, QString &msg) { msg = "Reworded: " + msg; };
    try {
        s.Open();
        ADD_FAILURE() << "opened without a server";
    } catch (const ESocketError &e) {
        EXPECT_EQ(e.Message(), "Reworded: Server property is required");
    }
}

TEST(Transport, LineIOBeforeConnectingIsRefused)
{
    TagSocket s;
    QString line;
    EXPECT_THROW(s.SendLine("NOOP"), ESocketError);
    EXPECT_THROW(s.ReadLine(line), ESocketError);
    try {
        s.ReadLine(line);
    } catch (const ESocketError &e) {
        EXPECT_EQ(e.Message(), "You have to connect to the server first");
    }
}

TEST(Transport, CommandLinesCannotCarryLineBreaks)
{
    ScriptedPeer peer({{{"", "", PeerAction::Stall}}});
    TagSocket s;
    Connect(s, peer);
    for (const QString &bad : {QString("USER a\r\nDELE 1"), QString("X\nY"), QString("A") + QChar(0) + "B"})
        EXPECT_THROW(s.SendLine(bad), ESocketError);
    s.SendLine("NOOP");
    SpinUntil([&] { return !peer.Received().isEmpty(); });
    EXPECT_EQ(peer.Received(), QList<QByteArray>{"NOOP"});
}

TEST(Transport, UnloadedSocketLayerRaisesWithoutOnError)
{
    TagSocket s;
    EventLog log;
    log.Attach(s);
    s.SetServer("127.0.0.1:1");
    s.SetWinsockLoaded(false);
    try {
        s.Open();
        ADD_FAILURE() << "opened without the socket layer";
    } catch (const EWinsockDLLError &e) {
        EXPECT_EQ(e.Message(), "Winsock is not loaded");
    }
    s.SetWinsockLoaded(true);
    EXPECT_TRUE(log.Errors().isEmpty());
    EXPECT_THROW(TagWinsock::Instance().RequireFunction("WSAFancy"), EWinsockDLLError);
    s.Open();
    EXPECT_TRUE(s.Connected());
}

TEST(Transport, HostNamesAreLookedUp)
{
    ScriptedPeer peer({{{"", "+OK hello\r\n"}}});
    TagSocket s;
    s.SetServer("localhost:" + QString::number(peer.Port()));
    s.SetTimeOut(2);
    s.Open();
    EXPECT_EQ(s.ServerAddress(), "127.0.0.1") << "IPv4 first, as the peer listens there";
    s.ConnectSocket();
    QString line;
    EXPECT_EQ(s.ReadLine(line), -1);
    EXPECT_EQ(line, "+OK hello");
}

TEST(Transport, IdleCloseAndDisconnectDoNothing)
{
    TmsRemotePOP pop;
    EventLog log;
    log.Attach(pop);
    pop.Close();
    pop.Disconnect();
    pop.TransferData();   // nothing listed: no connection at all
    EXPECT_TRUE(log.events.isEmpty());
}

TEST(Transport, MultiLineNumberedReply)
{
    ScriptedPeer peer({{{"", "250-first\r\n250-second\r\n250 last\r\n221 next\r\n"}},
                       {{"", "250-only\r\n250\r\n"}}});
    for (const char *last : {"250 last", "250"}) {
        TagSocket s;
        Connect(s, peer);
        EXPECT_EQ(s.ReadReply(), 250);
        EXPECT_EQ(s.LastReply(), QString::fromLatin1(last));
    }
}

int ServicePort(const char *name, int fallback)
{
    const servent *entry = getservbyname(name, "tcp");
    return entry ? ntohs(quint16(entry->s_port)) : fallback;
}

TEST(Transport, PortFromServerServicesOrDefault)
{
    struct Case {
        const char *server;
        TmsTlsMode mode;
        int port;
    };
    const Case cases[] = {
        {"127.0.0.1:995", TmsTlsMode::None, 995},          // a number needs no look-up
        {"127.0.0.1:2110", TmsTlsMode::Implicit, 2110},
        {"127.0.0.1:pop", TmsTlsMode::None, ServicePort("pop3", 2110)},
        {"127.0.0.1", TmsTlsMode::None, ServicePort("pop3", 2110)},
        {"127.0.0.1", TmsTlsMode::Implicit, ServicePort("pop3s", 995)},
        {"127.0.0.1", TmsTlsMode::StartTls, ServicePort("pop3", 2110)},
        {"[::1]:2111", TmsTlsMode::None, 2111},
    };
    for (const Case &c : cases) {
        TmsRemotePOP pop;
        pop.SetUserName("alice");
        pop.SetPassword("secret");
        pop.SetDefaultPort(2110);
        pop.SetServer(c.server);
        pop.SetTls({c.mode, {}});
        pop.Open();
        EXPECT_EQ(pop.Port(), c.port) << c.server;
        pop.Close();
    }
}

} // namespace
