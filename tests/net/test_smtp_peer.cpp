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

enum class Ends { Session, ServerError, TlsError };

// message: the error's text, or a part of it for TLS errors.
struct SmtpCase {
    const char *name; PeerScript script; Ends ends; QString message; QList<QByteArray> traffic; bool tls = false;
};

TEST(SmtpPeer, Sessions)
{
    const PeerStep ready{"", "220 ready\r\n"};
    const PeerStep quit{"QUIT", "221 bye\r\n", PeerAction::ReplyAndClose};
    const QByteArray ehlo = "EHLO " + QHostInfo::localHostName().toLatin1();
    const SmtpCase cases[] = {
        {"a greeting over three lines and replies that are the code alone",
         {{"", "220-peer.example ESMTP\r\n220-no spam please\r\n220 ready\r\n"}, {Helo(), "250\r\n"},
          {"QUIT", "221\r\n", PeerAction::ReplyAndClose}},
         Ends::Session, "", {Helo(), "QUIT"}},
        {"a greeting whose last line is the code alone",
         {{"", "220-peer.example\r\n220\r\n"}, {Helo(), "250-peer\r\n250 HELP\r\n"}, quit}, Ends::Session, "",
         {Helo(), "QUIT"}},
        {"the host name refused, the bare HELO taken",
         {ready, {Helo(), "501 5.5.4 bad name\r\n"}, {"HELO", "250 peer\r\n"}, quit}, Ends::Session, "",
         {Helo(), "HELO", "QUIT"}},
        {"multi-line greeting refused", {{"", "554-busy\r\n554 try later\r\n"}}, Ends::ServerError, "554 try later", {}},
        {"QUIT refused", {ready, {Helo(), "250 ok\r\n"}, {"QUIT", "500 what?\r\n"}}, Ends::ServerError, "500 what?",
         {Helo(), "QUIT"}},
        // Nothing is sent in the clear after TLS was refused.
        {"EHLO refused", {ready, {ehlo, "502 5.5.1 unknown command\r\n"}}, Ends::TlsError, "502 5.5.1 unknown command",
         {ehlo}, true},
        {"STARTTLS refused", {ready, {ehlo, "250-peer\r\n250 8BITMIME\r\n"}, {"STARTTLS", "454 TLS not available\r\n"}},
         Ends::TlsError, "454 TLS not available", {ehlo, "STARTTLS"}, true},
    };
    for (const SmtpCase &c : cases) {
        SCOPED_TRACE(c.name);
        // After a failure the same object logs in afresh.
        const PeerScript good{ready, {Helo(), "250 ok\r\n"}, quit};
        ScriptedPeer peer({c.script, good});
        TmsSMTP smtp;
        smtp.SetServer(peer.Server());
        smtp.SetTimeOut(2);
        if (c.tls)
            smtp.SetTls({TmsTlsMode::StartTls, QString()});
        QStringList events;
        smtp.OnOpen = [&](QObject *) { events << "Open"; };
        smtp.OnClosing = [&](QObject *) { events << "Closing"; };
        smtp.OnClosed = [&](QObject *) { events << "Closed"; };
        smtp.OnError = [&](QObject *, QString &msg) { events << "Error: " + msg; };
        Ends ended = Ends::Session;
        QString message;
        try {
            smtp.Connect();
            EXPECT_TRUE(smtp.Connected());
            smtp.Disconnect();
        } catch (const EServerError &e) {
            ended = Ends::ServerError;
            message = e.Message();
        } catch (const ETlsError &e) {
            ended = Ends::TlsError;
            message = e.Message().contains(c.message) ? c.message : e.Message();
        }
        EXPECT_EQ(int(ended), int(c.ends));
        EXPECT_EQ(message, c.message);
        EXPECT_FALSE(smtp.Connected());
        EXPECT_EQ(peer.Received(), c.traffic);
        EXPECT_EQ(peer.Mismatches(), QStringList());
        if (c.ends == Ends::Session) {
            EXPECT_EQ(events, QStringList({"Open", "Closing", "Closed"}));
        } else if (c.ends == Ends::ServerError) {
            // A refusal is no socket failure: OnError stays silent.
            EXPECT_FALSE(events.join(u'|').contains("Error"));
        }
        smtp.SetTls({});
        smtp.Connect();
        smtp.Disconnect();
        EXPECT_EQ(peer.Received().mid(c.traffic.size()), QList<QByteArray>({Helo(), "QUIT"}));
    }
}

} // namespace
