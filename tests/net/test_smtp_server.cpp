// The SMTP client against the real aiosmtpd of tests/fixtures: a session opened and closed in
// plain text, with STARTTLS and with implicit TLS, a server that refuses HELO, and a server that
// is not there.
#include "smtp_test.h"

#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

TEST_F(SmtpServer, SessionsOpenAndClose)
{
    struct Case {
        const char *name;
        quint16 port;
        TmsTlsMode mode;
    };
    const Case cases[] = {
        {"plain", env.SmtpPort, TmsTlsMode::None},
        {"STARTTLS", env.SmtpPort, TmsTlsMode::StartTls},
        {"implicit TLS", env.SmtpsPort, TmsTlsMode::Implicit},
    };
    for (const Case &c : cases) {
        TmsSMTP smtp;
        Configure(smtp, c.port, c.mode, env.Fingerprint);
        QStringList events;
        smtp.OnOpen = [&](QObject *) { events << "Open"; };
        smtp.OnClosing = [&](QObject *) { events << "Closing"; };
        smtp.OnClosed = [&](QObject *) { events << "Closed"; };
        smtp.Connect();
        EXPECT_TRUE(smtp.Connected()) << c.name;
        EXPECT_EQ(smtp.Encrypted(), c.mode != TmsTlsMode::None) << c.name;
        // The server answered our HELO with its own name.
        EXPECT_EQ(smtp.LastReply(), "250 tarnwick-smtp.invalid") << c.name;
        smtp.Disconnect();
        EXPECT_FALSE(smtp.Connected()) << c.name;
        EXPECT_EQ(smtp.LastReply().left(3), "221") << c.name;
        EXPECT_EQ(events, QStringList({"Open", "Closing", "Closed"})) << c.name;
        EXPECT_EQ(errors, QStringList()) << c.name;
    }
}

TEST_F(SmtpServer, AnUntrustedCertificateIsRefused)
{
    for (TmsTlsMode mode : {TmsTlsMode::StartTls, TmsTlsMode::Implicit}) {
        TmsSMTP smtp;
        Configure(smtp, mode == TmsTlsMode::Implicit ? env.SmtpsPort : env.SmtpPort, mode);
        try {
            smtp.Connect();
            ADD_FAILURE() << "a self-signed certificate was taken";
        } catch (const ECertificateError &e) {
            EXPECT_EQ(e.Fingerprint(), env.Fingerprint);
        }
        EXPECT_FALSE(smtp.Connected());
    }
}

TEST_F(SmtpServer, RefusedHeloIsAServerError)
{
    TmsSMTP smtp;
    Configure(smtp, env.RefusePort);
    try {
        smtp.Connect();
        ADD_FAILURE() << "no error";
    } catch (const EServerError &e) {
        // The bare HELO that follows the refused one is refused too, for want of a name.
        EXPECT_EQ(e.Message(), "501 Syntax: HELO hostname");
    }
    EXPECT_FALSE(smtp.Connected());
    EXPECT_EQ(errors, QStringList());
    // The client is ready for the next server.
    smtp.SetServer(env.Server(env.SmtpPort));
    smtp.Connect();
    smtp.Disconnect();
}

TEST_F(SmtpServer, AServerThatIsDownIsASocketError)
{
    // A port that was free a moment ago and that nobody listens on.
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    TmsSMTP smtp;
    Configure(smtp, port);
    try {
        smtp.Connect();
        ADD_FAILURE() << "no error";
    } catch (const ESocketError &e) {
        EXPECT_EQ(e.Code(), 10061);
        EXPECT_TRUE(e.Message().startsWith("Error #10061")) << e.Message().toStdString();
    }
    EXPECT_EQ(errors.size(), 1);
    EXPECT_FALSE(smtp.Connected());
}

} // namespace
