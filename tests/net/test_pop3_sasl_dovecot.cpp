// The SASL log-ins against real Dovecots: a password through AUTH PLAIN on the fixture's
// Dovecot, tokens through OAUTHBEARER and XOAUTH2 on the token fixture's two (whose oauth2
// passdb asks an introspection end point of the test run), refusals decoded into words.
#include "dovecot_env.h"
#include "pop3.h"

#include <QFile>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

// Passes connections through to a server and keeps what the client sent.
struct Relay {
    Relay(const QString &host, quint16 port)
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this, host, port] {
            QTcpSocket *in = server.nextPendingConnection();
            auto *out = new QTcpSocket(in);
            out->connectToHost(host, port);
            QObject::connect(in, &QTcpSocket::readyRead, [=, this] {
                sent += in->peek(in->bytesAvailable());
                out->write(in->readAll());
            });
            QObject::connect(out, &QTcpSocket::readyRead, [=] { in->write(out->readAll()); });
        });
    }
    QTcpServer server;
    QByteArray sent;
};

struct SaslCase {
    const char *name;
    QString server;
    LoginMethod method;
    QString user, secret;
    SaslMechanism mechanism;
    const char *refusal;  // nullptr: the log-in succeeds
};

TEST(SaslDovecot, LogInsAndRefusals)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    const QString oauthIni = QStringLiteral(TARNWICK_OAUTH_DIR "/oauth.ini");
    ASSERT_TRUE(QFile::exists(oauthIni)) << "the token fixture is not running (run the tests through ctest)";
    QSettings oauth(oauthIni, QSettings::IniFormat);
    const QString full = "127.0.0.1:" + oauth.value("oauth/full_port").toString();
    const QString xoauth2 = "127.0.0.1:" + oauth.value("oauth/xoauth2_port").toString();
    // Longer than an AUTH line may be with it: the response goes on a line of its own.
    const QString longToken = "good-carol-" + QString(400, u'x');
    using M = SaslMechanism;
    const SaslCase cases[] = {
        {"PlainPassword", "", LoginMethod::Password, "user38", env->Password, M::Plain, nullptr},
        {"PlainWrongPassword", "", LoginMethod::Password, "user38", "not-the-password", M::Plain,
         "refused the user name or password"},
        // A token is never sent as a password.
        {"NoTokenLogInOffered", "", LoginMethod::OAuth2, "user38", "good-user38", M::UserPass, "only PLAIN"},
        {"Bearer", full, LoginMethod::OAuth2, "alice", "good-alice", M::OAuthBearer, nullptr},
        {"BearerLongToken", full, LoginMethod::OAuth2, "carol", longToken, M::OAuthBearer, nullptr},
        {"BearerRefused", full, LoginMethod::OAuth2, "alice", "stale-token", M::OAuthBearer, "expired or was revoked"},
        {"BearerOfAnotherUser", full, LoginMethod::OAuth2, "alice", "good-bob", M::OAuthBearer, "was revoked"},
        {"XOAuth2", xoauth2, LoginMethod::OAuth2, "bob", "good-bob", M::XOAuth2, nullptr},
        {"XOAuth2LongToken", xoauth2, LoginMethod::OAuth2, "carol", longToken, M::XOAuth2, nullptr},
        {"XOAuth2Refused", xoauth2, LoginMethod::OAuth2, "bob", "stale-token", M::XOAuth2, "expired or was revoked"},
    };
    for (const SaslCase &c : cases) {
        SCOPED_TRACE(c.name);
        Relay relay(env->Host, env->Pop3Port);
        TmsRemotePOP pop;
        pop.SetServer(c.server.isEmpty() ? QStringLiteral("127.0.0.1:%1").arg(relay.server.serverPort()) : c.server);
        pop.SetUserName(c.user);
        pop.SetPassword(c.secret);
        pop.SetLoginMethod(c.method);
        pop.SetUsePipelining(true);
        pop.SetTimeOut(10);
        QString refusal;
        try {
            pop.UpdateInfo();
        } catch (const EServerError &e) {
            refusal = e.Message();
        }
        EXPECT_EQ(pop.Mechanism(), c.mechanism);
        if (c.refusal) {
            EXPECT_TRUE(refusal.contains(QString::fromLatin1(c.refusal))) << refusal.toStdString();
            EXPECT_EQ(refusal.contains("Authentication failed"), c.mechanism != M::UserPass) << "the server's words";
            EXPECT_TRUE(pop.LastCommand().startsWith("AUTH")) << "a refused log-in, not another failure";
            EXPECT_FALSE(refusal.contains(c.secret));
        } else {
            EXPECT_TRUE(refusal.isEmpty()) << refusal.toStdString();
        }
        if (c.method == LoginMethod::Password) {
            // The password went in the AUTH line, never in USER and PASS.
            const QByteArray plain = QByteArray("\0user38\0", 8) + c.secret.toUtf8();
            EXPECT_TRUE(relay.sent.contains("\r\nAUTH PLAIN " + plain.toBase64() + "\r\n")) << relay.sent.constData();
            EXPECT_FALSE(relay.sent.contains("USER ") || relay.sent.contains("PASS ")) << relay.sent.constData();
        }
    }
}

} // namespace
