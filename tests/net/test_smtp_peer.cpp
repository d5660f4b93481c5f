// The SMTP client against scripted conversations: the exact commands of a session, replies that
// span several lines or hold only their code, each refusal in turn, and the events.
#include "scripted_peer.h"

#include "smtp.h"

#include <QHostInfo>
#include <gtest/gtest.h>

namespace {

QByteArray Helo()
{
    return "HELO " + QHostInfo::localHostName().toLatin1();
}

struct SmtpEvents {
    QStringList events;
    void Attach(TmsSMTP &smtp)
    {
        smtp.OnOpen = [this](QObject *) { events << "Open"; };
        smtp.OnClosing = [this](QObject *) { events << "Closing"; };
        smtp.OnClosed = [this](QObject *) { events << "Closed"; };
        smtp.OnError = [this](QObject *, QString &msg) { events << "Error: " + msg; };
    }
};

TEST(SmtpPeer, SessionsThatOpenAndClose)
{
    struct Case {
        const char *name;
        PeerScript script;
        QList<QByteArray> traffic;
    };
    const Case cases[] = {
        {"one-line replies",
         {{"", "220 peer ready\r\n"}, {Helo(), "250 peer\r\n"}, {"QUIT", "221 bye\r\n", PeerAction::ReplyAndClose}},
         {Helo(), "QUIT"}},
        {"a greeting over three lines and replies that are the code alone",
         {{"", "220-peer.example ESMTP\r\n220-no spam please\r\n220 ready\r\n"},
          {Helo(), "250\r\n"},
          {"QUIT", "221\r\n", PeerAction::ReplyAndClose}},
         {Helo(), "QUIT"}},
        {"a greeting whose last line is the code alone",
         {{"", "220-peer.example\r\n220\r\n"}, {Helo(), "250-peer\r\n250 HELP\r\n"},
          {"QUIT", "221 bye\r\n", PeerAction::ReplyAndClose}},
         {Helo(), "QUIT"}},
        {"the host name refused, the bare HELO taken",
         {{"", "220 peer ready\r\n"}, {Helo(), "501 5.5.4 bad name\r\n"}, {"HELO", "250 peer\r\n"},
          {"QUIT", "221 bye\r\n", PeerAction::ReplyAndClose}},
         {Helo(), "HELO", "QUIT"}},
        {"the server closes right after its QUIT reply",
         {{"", "220 peer ready\r\n"}, {Helo(), "250 peer\r\n"}, {"QUIT", "221 bye\r\n", PeerAction::ReplyAndClose}},
         {Helo(), "QUIT"}},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({c.script});
        TmsSMTP smtp;
        smtp.SetServer(peer.Server());
        smtp.SetTimeOut(2);
        SmtpEvents log;
        log.Attach(smtp);
        smtp.Connect();
        EXPECT_TRUE(smtp.Connected()) << c.name;
        smtp.Disconnect();
        EXPECT_FALSE(smtp.Connected()) << c.name;
        EXPECT_EQ(peer.Received(), c.traffic) << c.name;
        EXPECT_EQ(peer.Mismatches(), QStringList()) << c.name;
        EXPECT_EQ(log.events, QStringList({"Open", "Closing", "Closed"})) << c.name;
    }
}

TEST(SmtpPeer, RefusalsRaiseServerErrorsWithTheServersLine)
{
    struct Case {
        const char *name;
        PeerScript script;
        bool connectFails;
        QString message;
    };
    const Case cases[] = {
        {"greeting refused", {{"", "554 5.3.2 no service here\r\n"}}, true, "554 5.3.2 no service here"},
        {"multi-line greeting refused",
         {{"", "554-busy\r\n554 try later\r\n"}}, true, "554 try later"},
        {"both HELOs refused",
         {{"", "220 ready\r\n"}, {Helo(), "550 not you\r\n"}, {"HELO", "501 Syntax: HELO hostname\r\n"}},
         true, "501 Syntax: HELO hostname"},
        {"QUIT refused",
         {{"", "220 ready\r\n"}, {Helo(), "250 ok\r\n"}, {"QUIT", "500 what?\r\n"}}, false, "500 what?"},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({c.script});
        TmsSMTP smtp;
        smtp.SetServer(peer.Server());
        smtp.SetTimeOut(2);
        SmtpEvents log;
        log.Attach(smtp);
        try {
            smtp.Connect();
            EXPECT_FALSE(c.connectFails) << c.name;
            smtp.Disconnect();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const EServerError &e) {
            EXPECT_EQ(e.Message(), c.message) << c.name;
        }
        // A refusal is no socket failure: OnError stays silent.
        EXPECT_FALSE(log.events.join(u'|').contains("Error")) << c.name;
        // Nothing is left half open for a later Connect to mistake for a session.
        EXPECT_FALSE(smtp.Connected()) << c.name;
        EXPECT_EQ(peer.Mismatches(), QStringList()) << c.name;
    }
}

TEST(SmtpPeer, AfterARefusedHeloTheNextConnectLogsInAfresh)
{
    const PeerScript refused{{"", "220 ready\r\n"}, {Helo(), "550 no\r\n"}, {"HELO", "550 no\r\n"}};
    const PeerScript good{{"", "220 ready\r\n"}, {Helo(), "250 ok\r\n"}, {"QUIT", "221 bye\r\n"}};
    ScriptedPeer peer({refused, good});
    TmsSMTP smtp;
    smtp.SetServer(peer.Server());
    smtp.SetTimeOut(2);
    EXPECT_THROW(smtp.Connect(), EServerError);
    smtp.Connect();
    smtp.Disconnect();
    EXPECT_EQ(peer.Connections(), 2);
    EXPECT_EQ(peer.Received(), QList<QByteArray>({Helo(), "HELO", Helo(), "QUIT"}));
}

TEST(SmtpPeer, SettingsAndTransportFailures)
{
    {
        TmsSMTP smtp;
        EXPECT_EQ(smtp.DefaultPort(), 25);
        EXPECT_EQ(smtp.TimeOut(), 60);
        SmtpEvents log;
        log.Attach(smtp);
        try {
            smtp.Connect();
            ADD_FAILURE() << "no error for an empty Server";
        } catch (const ESocketError &e) {
            EXPECT_EQ(e.Message(), "Server property is required");
        }
        // The setting is checked before anything starts.
        EXPECT_EQ(log.events, QStringList({"Error: Server property is required"}));
    }
    {
        // A server that greets and then says nothing more.
        ScriptedPeer peer({{{"", "220 ready\r\n"}, {Helo(), "", PeerAction::Stall}}});
        TmsSMTP smtp;
        smtp.SetServer(peer.Server());
        smtp.SetTimeOut(1);
        SmtpEvents log;
        log.Attach(smtp);
        EXPECT_THROW(smtp.Connect(), ETimedOutError);
        EXPECT_FALSE(smtp.Connected());
        EXPECT_TRUE(log.events.contains("Error: Operation timed out"));
    }
    {
        // A greeting cut off by the server closing the line.
        ScriptedPeer peer({{{"", "220-first line\r\n220-sec", PeerAction::ReplyAndClose}}});
        TmsSMTP smtp;
        smtp.SetServer(peer.Server());
        smtp.SetTimeOut(2);
        EXPECT_THROW(smtp.Connect(), ENetError);
        EXPECT_FALSE(smtp.Connected());
    }
}

TEST(SmtpPeer, StartTlsRefusalsAreTlsErrors)
{
    const QByteArray ehlo = "EHLO " + QHostInfo::localHostName().toLatin1();
    struct Case {
        const char *name;
        PeerScript script;
        const char *inMessage;
    };
    const Case cases[] = {
        {"EHLO refused", {{"", "220 ready\r\n"}, {ehlo, "502 5.5.1 unknown command\r\n"}}, "502 5.5.1 unknown command"},
        {"STARTTLS refused",
         {{"", "220 ready\r\n"}, {ehlo, "250-peer\r\n250 8BITMIME\r\n"}, {"STARTTLS", "454 TLS not available\r\n"}},
         "454 TLS not available"},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({c.script});
        TmsSMTP smtp;
        smtp.SetServer(peer.Server());
        smtp.SetTimeOut(2);
        smtp.SetTls({TmsTlsMode::StartTls, QString()});
        try {
            smtp.Connect();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ETlsError &e) {
            EXPECT_TRUE(e.Message().contains(c.inMessage)) << c.name << ": " << e.Message().toStdString();
        }
        EXPECT_FALSE(smtp.Connected()) << c.name;
        // Nothing is sent in the clear after TLS was refused.
        EXPECT_FALSE(peer.Received().contains(Helo())) << c.name;
        EXPECT_EQ(peer.Mismatches(), QStringList()) << c.name;
    }
}

} // namespace
