// The line transport against a scripted peer on 127.0.0.1: lines, blocks, time-outs, cancels
// and the error reports.
#include "scripted_peer.h"

#include "pop3.h"
#include "tagsocket.h"
#include "winsock.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>
#include <netdb.h>
#include <arpa/inet.h>

namespace {

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
    struct Case { const char *name; QByteArray greeting; PeerAction action; bool fails; int code; QString line; };
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

TEST(Transport, AWaitEndsByTimeOutTrickleCancelCloseOrApplicationExit)
{
    // meanwhile: run 100 ms into the wait.
    struct Case {
        const char *name; PeerAction action; std::function<void(TagSocket &)> meanwhile; bool canceled;
        QStringList events;
    };
    const QStringList timedOut{"Open", "Error:Operation timed out", "Closing", "Closed"};
    const QStringList canceled{"Open", "Cancel", "Closing", "Closed", "Error:Operation has been canceled"};
    const Case cases[] = {
        {"stall", PeerAction::Stall, nullptr, false, timedOut},
        // 40 bytes, one every 150 ms: far past the time-out, though no gap is long.
        {"trickle", PeerAction::Trickle, nullptr, false, timedOut},
        {"cancel", PeerAction::Stall, [](TagSocket &s) { s.Cancel(); }, true, canceled},
        // A second call is refused; closing while busy cancels.
        {"second call, then close", PeerAction::Stall,
         [](TagSocket &s) {
             EXPECT_THROW(s.SendLine("NOOP"), ESocketError);
             s.Close();
         },
         true, QStringList{"Open", "Error:Another operation is still running on this connection"} + canceled.mid(1)},
        {"application exit", PeerAction::Stall, [](TagSocket &) { QCoreApplication::exit(0); }, true, {}},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({{{"", QByteArray(38, 'a') + "\r\n", c.action}}});
        TagSocket s;
        EventLog log;
        log.Attach(s);
        Connect(s, peer, c.meanwhile ? 5 : 1);
        if (c.meanwhile)
            QTimer::singleShot(100, &s, [&] { c.meanwhile(s); });
        QString line;
        if (c.canceled) {
            EXPECT_THROW(s.ReadLine(line), ECanceledError) << c.name;
        } else {
            EXPECT_THROW(s.ReadLine(line), ETimedOutError) << c.name;
        }
        if (!c.events.isEmpty()) {
            EXPECT_EQ(log.events, c.events) << c.name;
        }
        EXPECT_TRUE(peer.Received().isEmpty()) << c.name;
    }
    // Let later tests in this process run their event loops again.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

TEST(Transport, RefusalsAndFailuresOutsideAWait)
{
    TagSocket s;
    EventLog log;
    QString line;
    EXPECT_EQ(ErrorOf<ESocketError>([&] { s.ReadLine(line); }), "You have to connect to the server first");
    EXPECT_EQ(ErrorOf<ESocketError>([&] { s.SendLine("NOOP"); }), "You have to connect to the server first");
    s.OnError = [](QObject *, QString &msg) { msg = "Reworded: " + msg; };
    EXPECT_EQ(ErrorOf<ESocketError>([&] { s.Open(); }), "Reworded: Server property is required");
    log.Attach(s);

    // Refused without OnError: no socket layer.
    s.SetServer("127.0.0.1:1");
    s.SetWinsockLoaded(false);
    EXPECT_EQ(ErrorOf<EWinsockDLLError>([&] { s.Open(); }), "Winsock is not loaded");
    s.SetWinsockLoaded(true);
    EXPECT_THROW(TagWinsock::Instance().RequireFunction("WSAFancy"), EWinsockDLLError);
    EXPECT_TRUE(log.Errors().isEmpty());

    quint16 port;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    s.SetServer("127.0.0.1:" + QString::number(port));
    s.SetTimeOut(2);
    s.Open();
    EXPECT_EQ(ErrorOf<ESocketError>([&] { s.ConnectSocket(); }), "Error #10061: Connection refused");
    EXPECT_EQ(log.Errors(), QStringList{"Error:Error #10061: Connection refused"});

    ScriptedPeer peer({{{"", "", PeerAction::Stall}}});
    Connect(s, peer);
    for (const QString &bad : {QString("USER a\r\nDELE 1"), QString("X\nY"), QString("A") + QChar(0) + "B"})
        EXPECT_THROW(s.SendLine(bad), ESocketError);
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

int ServicePort(const char *name, int fallback)
{
    const servent *entry = getservbyname(name, "tcp");
    return entry ? ntohs(quint16(entry->s_port)) : fallback;
}

TEST(Transport, PortFromServerServicesOrDefault)
{
    struct Case { const char *server; TmsTlsMode mode; int port; };
    const Case cases[] = {
        {"127.0.0.1:pop", TmsTlsMode::None, ServicePort("pop3", 2110)},
        {"127.0.0.1", TmsTlsMode::Implicit, ServicePort("pop3s", 995)},
        {"127.0.0.1", TmsTlsMode::StartTls, ServicePort("pop3", 2110)},
        {"[::1]:2111", TmsTlsMode::None, 2111},
        {"localhost:2112", TmsTlsMode::None, 2112},  // looked up, IPv4 first
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
        EXPECT_EQ(pop.ServerAddress(), QString(c.server).startsWith("[") ? "::1" : "127.0.0.1") << c.server;
        pop.Close();
    }
}

} // namespace
