// The SMTP client against the fixture's aiosmtpd: sessions in plain text and TLS, a refused
// HELO, and composed messages handed over in a data phase that the test writes itself.
#include "smtp.h"
#include "smtp_env.h"

#include "msencode.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Base of the tests that run against the fixture's aiosmtpd: loads its description before each
// test (a test whose fixture is not up stops there).
class SmtpServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        std::optional<SmtpEnv> loaded = SmtpEnv::Load(SmtpEnv::DefaultIni(), &error);
        ASSERT_TRUE(loaded) << error.toStdString();
        env = *loaded;
    }

    void Configure(TmsSMTP &smtp, quint16 port, TmsTlsMode mode = TmsTlsMode::None,
                   const QString &trusted = QString())
    {
        smtp.SetServer(env.Server(port));
        smtp.SetTimeOut(5);
        smtp.SetTls({mode, trusted});
        smtp.OnError = [this](QObject *, QString &msg) { errors << msg; };
    }

    SmtpEnv env;
    QStringList errors;
};

TEST_F(SmtpServer, SessionsOpenAndClose)
{
    // Without a trusted fingerprint the fixture's certificate is refused.
    struct Case { const char *name; quint16 port; TmsTlsMode mode; QString trusted; };
    const Case cases[] = {
        {"plain", env.SmtpPort, TmsTlsMode::None, {}},
        {"STARTTLS", env.SmtpPort, TmsTlsMode::StartTls, env.Fingerprint},
        {"implicit TLS", env.SmtpsPort, TmsTlsMode::Implicit, env.Fingerprint},
        {"STARTTLS, untrusted", env.SmtpPort, TmsTlsMode::StartTls, {}},
        {"implicit TLS, untrusted", env.SmtpsPort, TmsTlsMode::Implicit, {}},
    };
    for (const Case &c : cases) {
        TmsSMTP smtp;
        Configure(smtp, c.port, c.mode, c.trusted);
        QStringList events;
        smtp.OnOpen = [&](QObject *) { events << "Open"; };
        smtp.OnClosing = [&](QObject *) { events << "Closing"; };
        smtp.OnClosed = [&](QObject *) { events << "Closed"; };
        if (c.mode != TmsTlsMode::None && c.trusted.isEmpty()) {
            try {
                smtp.Connect();
                ADD_FAILURE() << c.name << ": a self-signed certificate was taken";
            } catch (const ECertificateError &e) {
                EXPECT_EQ(e.Fingerprint(), env.Fingerprint) << c.name;
            }
            EXPECT_FALSE(smtp.Connected()) << c.name;
            continue;
        }
        smtp.Connect();
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

using Address = TmsMailAddress;

TEST_F(SmtpServer, TheServerReceivesExactlyTheComposedText)
{
    struct Case { const char *recipient; std::function<void(TmsMessage &)> build; };
    const Case cases[] = {
        {"plain@example.com",
         [](TmsMessage &m) { m.Body() = QStringList{"Hello,", ".", ".leading dot", "..", "", "Ann"}; }},
        {"long@example.com",
         [](TmsMessage &m) { m.Body() = QStringList{".", QString(300, u'w') + " . =", QString::fromUtf8("Gr\u00fc\u00dfe")}; }},
    };
    for (const Case &c : cases) {
        TmsMessage m;
        m.Sender() = Address("A. Sender", "ann@example.com");
        m.Recipients().Append(Address("Smith, John", c.recipient));
        m.BCC().Append(Address("", "hidden@example.com"));
        m.SetSubject("Handed over");
        c.build(m);
        ValidateMessage(m);
        const QByteArray text = TmsMessageEncoder(m).Encode();
        ASSERT_TRUE(text.endsWith("\r\n")) << c.recipient;

        TmsSMTP smtp;
        Configure(smtp, env.SmtpPort);
        smtp.Connect();
        auto command = [&](const QString &line, int expected) {
            smtp.SendLine(line);
            EXPECT_EQ(smtp.ReadReply(), expected) << c.recipient << ": " << line.toStdString() << " -> "
                                                  << smtp.LastReply().toStdString();
        };
        command("MAIL FROM:<" + m.Sender().Address() + ">", 250);
        command(QStringLiteral("RCPT TO:<%1>").arg(c.recipient), 250);
        command("DATA", 354);
        QList<QByteArray> lines = text.split('\n');
        lines.removeLast();  // after the last line end
        for (QByteArray line : lines) {
            line.chop(1);
            smtp.SendLine(QString::fromUtf8(line));
        }
        command(".", 250);
        smtp.Disconnect();

        QFile received(env.ReceivedFile(c.recipient));
        ASSERT_TRUE(received.open(QIODevice::ReadOnly)) << c.recipient;
        EXPECT_EQ(received.readAll(), text) << c.recipient;
        EXPECT_FALSE(text.contains("hidden@example.com")) << c.recipient;
    }
}

} // namespace
