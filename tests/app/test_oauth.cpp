// OAuth2 against a local authorization server the test starts (tests/fixtures/authserver.py,
// which checks the PKCE verifier against the challenge) and the token Dovecots of the
// oauth_dovecot fixture; the connection test against the password Dovecot.
#include "connectiontest.h"
#include "dovecot_env.h"
#include "guard_dovecot.h"
#include "imapwatches.h"
#include "oauth.h"
#include "pop3mailbox.h"
#include "settingsstore.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>
#include <QTimer>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

struct AuthServer {
    AuthServer()
    {
        process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(TARNWICK_SOURCE_DIR "/tests/fixtures/authserver.py")});
        if (process.waitForReadyRead(10000))
            port = process.readLine().trimmed().toUShort();
        provider = {"test", "Test", {}, Url("/authorize"), Url("/token"), "https://mail.example.test/pop", "tarnwick-test", {}, {}};
    }
    ~AuthServer()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
    QUrl Url(const char *path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QLatin1String(path))); }
    int Stat(const char *name) const
    {
        QNetworkAccessManager network;
        QNetworkReply *reply = network.get(QNetworkRequest(Url("/stats")));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return QJsonDocument::fromJson(reply->readAll()).object().value(QLatin1String(name)).toInt(-1);
    }
    QProcess process;
    quint16 port = 0;
    OAuthProvider provider;
};

TEST(OAuth, BrowserSignInWithPkce)
{
    AuthServer server;
    ASSERT_NE(server.port, 0) << "the authorization server did not start";
    struct Case { const char *hint; const char *refusal; };
    for (const Case &c : {Case{"dave", nullptr}, Case{"deny", "refused the sign-in (access_denied"},
                          Case{"late", "did not hand out a token for the sign-in (invalid_grant: code expired)"}}) {
        SCOPED_TRACE(c.hint);
        QNetworkAccessManager browser;
        QUrl opened;
        const OAuthTokens tokens = AuthorizeInBrowser(server.provider, QString::fromLatin1(c.hint), [&](const QUrl &url) {
            opened = url;
            // The browser follows the redirect to the program's loopback port.
            QNetworkReply *reply = browser.get(QNetworkRequest(url));
            QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        }, 20000);
        const QUrlQuery query(opened);
        EXPECT_EQ(query.queryItemValue("code_challenge_method"), "S256");
        EXPECT_EQ(query.queryItemValue("code_challenge").size(), 43);
        EXPECT_EQ(QUrl(query.queryItemValue("redirect_uri", QUrl::FullyDecoded)).host(), "127.0.0.1");
        EXPECT_EQ(query.queryItemValue("client_id"), "tarnwick-test");
        if (c.refusal) {
            EXPECT_TRUE(tokens.error.contains(QLatin1String(c.refusal))) << tokens.error.toStdString();
            EXPECT_TRUE(tokens.accessToken.isEmpty());
            continue;
        }
        // The server took the code (with its "/") and found S256 of the verifier equal to the challenge.
        EXPECT_TRUE(tokens.error.isEmpty()) << tokens.error.toStdString();
        EXPECT_TRUE(tokens.accessToken.startsWith("good-dave-")) << tokens.accessToken.toStdString();
        EXPECT_EQ(tokens.refreshToken, "refresh-dave");
        EXPECT_GT(QDateTime::currentDateTimeUtc().secsTo(tokens.expires), 3000);
    }
    EXPECT_EQ(server.Stat("code"), 2);
}

TEST(OAuth, TokensRefreshedBeforeExpiryAndOnceAfterRefusal)
{
    AuthServer server;
    ASSERT_NE(server.port, 0) << "the authorization server did not start";
    const QString oauthIni = QStringLiteral(TARNWICK_BINARY_DIR "/tests/net/oauth/oauth.ini");
    ASSERT_TRUE(QFile::exists(oauthIni)) << "the token fixture is not running (run the tests through ctest)";
    QSettings ini(oauthIni, QSettings::IniFormat);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    struct Case {
        const char *name, *instance, *user, *refresh;
        QString held;       // the access token the program already holds, if any
        QDateTime expires;  // ... and until when
        int refreshes, retries;
        const char *refusal; // nullptr: the listing goes through
    };
    const Case cases[] = {
        {"NothingHeld", "full", "dave", "refresh-dave", {}, {}, 1, 0, nullptr},
        {"HeldAndValid", "full", "dave", "refresh-dave", "good-dave-held", now.addSecs(3600), 0, 0, nullptr},
        {"HeldNearExpiry", "xoauth2", "erin", "refresh-erin", "good-erin-held", now.addSecs(30), 1, 0, nullptr},
        {"HeldButRefused", "full", "dave", "refresh-dave", "stale-token", now.addSecs(3600), 1, 1, nullptr},
        {"HeldButRefusedXOAuth2", "xoauth2", "erin", "refresh-erin", "stale-token", now.addSecs(3600), 1, 1, nullptr},
        {"RefreshRefused", "full", "dave", "revoked-dave", {}, {}, 1, 0, "no longer accepts the sign-in of mailbox 3"},
        // A fresh token refused as well: tried once more, not again and again.
        {"RefusedAgain", "full", "dave", "refresh-erin", "stale-token", now.addSecs(3600), 1, 1, "Authentication failed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TOAuthTokenSource::ForgetAll();
        if (!c.held.isEmpty())
            TOAuthTokenSource::Remember(c.refresh, c.held, c.expires);
        auto pop3 = std::make_unique<TPop3Mailbox>();
        TPop3Client &client = pop3->Client();
        client.SetServer("127.0.0.1:" + ini.value(QStringLiteral("oauth/%1_port").arg(c.instance)).toString());
        client.SetUserName(c.user);
        client.SetLoginMethod(LoginMethod::OAuth2);
        client.SetUsePipelining(true);
        client.SetTimeOut(10);
        auto source = std::make_shared<TOAuthTokenSource>(server.provider, c.refresh, 3);
        const std::unique_ptr<TMailbox> mailbox = WithOAuthTokens(std::move(pop3), source);
        const int before = server.Stat("refresh");
        QString refusal;
        try {
            mailbox->LogIn();
            mailbox->EndAfterList();
            mailbox->List();
        } catch (const ENetError &e) {
            refusal = e.Message();
        }
        EXPECT_EQ(server.Stat("refresh") - before, c.refreshes);
        EXPECT_EQ(static_cast<TOAuthMailbox &>(*mailbox).Retries(), c.retries);
        if (c.refusal)
            EXPECT_TRUE(refusal.contains(QLatin1String(c.refusal))) << refusal.toStdString();
        else
            EXPECT_TRUE(refusal.isEmpty()) << refusal.toStdString();
    }
    // A provider that hands out a new refresh token: it is kept, and the old one leads to it.
    TOAuthTokenSource::ForgetAll();
    TOAuthTokenSource first(server.provider, "rotate-dave", 3);
    QString kept;
    first.SetRotationKeeper([&](const QString &token) { kept = token; });
    const QString token = first.AccessToken(nullptr);
    EXPECT_TRUE(token.startsWith("good-dave-")) << token.toStdString();
    EXPECT_EQ(kept, "refresh-dave");
    const int before = server.Stat("refresh");
    EXPECT_EQ(TOAuthTokenSource(server.provider, "rotate-dave", 3).AccessToken(nullptr), token);
    EXPECT_EQ(server.Stat("refresh"), before);
    TOAuthTokenSource::ForgetAll();
}

// The whole way as a user goes it: tarnwick-cli signs in (the address it prints is opened
// here), keeps the refresh token, and a check and mailbox test then log in with fresh tokens.
TEST(OAuth, CliSignsInAndChecksWithFreshTokens)
{
    AuthServer server;
    ASSERT_NE(server.port, 0) << "the authorization server did not start";
    QSettings ini(QStringLiteral(TARNWICK_BINARY_DIR "/tests/net/oauth/oauth.ini"), QSettings::IniFormat);
    const QString port = ini.value("oauth/full_port").toString();
    ASSERT_FALSE(port.isEmpty()) << "the token fixture is not running (run the tests through ctest)";
    QTemporaryDir data;
    {
        UserSettings settings(data.filePath("settings.ini"));
        for (const auto &[name, value] : {std::pair{"GoogleClientId", QStringLiteral("tarnwick-test")},
                                          {"GoogleAuthorizationUrl", server.Url("/authorize").toString()},
                                          {"GoogleTokenUrl", server.Url("/token").toString()}})
            ASSERT_TRUE(settings.writeString("OAuth2", name, value));
        ASSERT_TRUE(settings.flush());
    }
    const auto cli = [&](const QStringList &args, QString *output) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        p.setProcessEnvironment(env);
        p.start(CLI_BINARY, QStringList{"--data", data.path()} + args);
        QNetworkAccessManager browser;
        QByteArray err;
        QObject::connect(&p, &QProcess::readyReadStandardError, [&] {
            err += p.readAllStandardError();
            const int at = err.indexOf("http://127.0.0.1");
            if (at >= 0 && err.indexOf('\n', at) > at) {
                const QUrl url(QString::fromLatin1(err.mid(at, err.indexOf('\n', at) - at)));
                err.truncate(at);
                QNetworkReply *reply = browser.get(QNetworkRequest(url));
                QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
            }
        });
        QEventLoop loop;
        QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        *output = QString::fromUtf8(p.readAllStandardOutput() + err);
        return p.exitCode();
    };
    QString out;
    ASSERT_EQ(cli({"mailbox", "set", "1", "--server", "127.0.0.1:" + port, "--tls", "none", "--user", "dave", "--auth",
                   "oauth2", "--provider", "google", "--store", "file"}, &out), 0) << out.toStdString();
    EXPECT_EQ(server.Stat("code"), 1);
    QFile settings(data.filePath("settings.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_FALSE(settings.readAll().contains("refresh-dave")) << "the token is kept scrambled";
    EXPECT_EQ(cli({"check", "--slot", "1"}, &out), 0) << out.toStdString();
    EXPECT_EQ(cli({"mailbox", "test", "1"}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Log-in: AUTH OAUTHBEARER")) << out.toStdString();
    EXPECT_EQ(server.Stat("refresh"), 2) << "a fresh token for each run of the program";
}

// A check from the window over POP3 and IMAP (OAUTHBEARER where offered, else XOAUTH2), and the
// IMAP watch of automatic mode, whose sessions take their tokens by themselves: a held token
// the server refuses is renewed once, without a word to the user.
TEST_F(GuardDovecot, OAuth2MailboxLogsInWithARenewedToken)
{
    AuthServer server;
    ASSERT_NE(server.port, 0) << "the authorization server did not start";
    QSettings ini(QStringLiteral(TARNWICK_BINARY_DIR "/tests/net/oauth/oauth.ini"), QSettings::IniFormat);
    ASSERT_TRUE(ini.contains("oauth/full_imap_port")) << "the token fixture is not running (run the tests through ctest)";
    for (const char *port : {"full_port", "full_imap_port", "xoauth2_imap_port"}) {
        SCOPED_TRACE(port);
        MailboxSlot &slot = h.servers.slot(1);
        slot = {"127.0.0.1:" + ini.value(QStringLiteral("oauth/") + port).toString(), "frank", {}, TlsMode::None, {}};
        slot.protocol = QByteArray(port).contains("imap") ? MailProtocol::Imap : MailProtocol::Pop3;
        slot.login = MailboxLogin::OAuth2;
        slot.secrets = SecretPlace::File;
        slot.refreshToken = "refresh-frank";
        {
            UserSettings settings;
            ASSERT_TRUE(RememberSlotProvider(settings, 1, "google"));
            for (const auto &[name, value] : {std::pair{"GoogleClientId", QStringLiteral("tarnwick-test")},
                                              {"GoogleAuthorizationUrl", server.Url("/authorize").toString()},
                                              {"GoogleTokenUrl", server.Url("/token").toString()}})
                ASSERT_TRUE(settings.writeString("OAuth2", name, value));
            ASSERT_TRUE(settings.flush());
        }
        TOAuthTokenSource::ForgetAll();
        TOAuthTokenSource::Remember("refresh-frank", "stale-token", QDateTime::currentDateTimeUtc().addSecs(3600));
        const int before = server.Stat("refresh");
        Start();
        EXPECT_TRUE(guard->btListClick());
        EXPECT_TRUE(prompts.calls.isEmpty()) << prompts.calls.first().text.toStdString();
        EXPECT_EQ(server.Stat("refresh") - before, 1);
        if (slot.protocol != MailProtocol::Imap)
            continue;
        // The assistant's connection test of such a mailbox logs in with the held token.
        EXPECT_TRUE(TestConnection(slot, 1, 10).ok);
        TOAuthTokenSource::Remember("refresh-frank", "stale-token", QDateTime::currentDateTimeUtc().addSecs(3600));
        TImapWatches watches([](int) { return true; });
        watches.SetTiming({.firstBackoffMs = 50});
        bool idle = false;
        QObject::connect(&watches, &TImapWatches::watching, [&](int, bool on) { idle = idle || on; });
        watches.Update(h.servers, true, 10);
        EXPECT_TRUE(QTest::qWaitFor([&] { return idle; }, 10000));
        EXPECT_EQ(server.Stat("refresh") - before, 2);
    }
    TOAuthTokenSource::ForgetAll();
}

TEST(ConnectionTest, ReportsWhatTheServerOffers)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    struct Case {
        const char *name;
        quint16 port;
        TlsMode tls;
        QString password;
        bool ok;
        QStringList lines;  // each is in the report
        MailProtocol protocol = MailProtocol::Pop3;
    };
    const Case cases[] = {
        {"ImplicitTls", env->Pop3sPort, TlsMode::Implicit, env->Password, true,
         {"Connection test passed.", "Security: TLS from the first byte", "Log-in: AUTH PLAIN",
          "Pipelining: offered", "Unique ids (UIDL): offered", "Messages waiting: 0",
          "Server: accepted the log-in; its goodbye was \"+OK"}},
        {"PlainLine", env->Pop3Port, TlsMode::None, env->Password, true, {"Security: none: the log-in"}},
        {"WrongPassword", env->Pop3sPort, TlsMode::Implicit, "wrong", false,
         {"Connection test failed.", "Security: TLS from the first byte", "Log-in: AUTH PLAIN",
          "refused the user name or password"}},
        {"NobodyListening", 1, TlsMode::Implicit, env->Password, false,
         {"Connection test failed.", "the connection did not get that far"}},
        {"Imap", env->ImapsPort, TlsMode::Implicit, env->Password, true,
         {"Connection test passed.", "Security: TLS from the first byte", "Log-in: LOGIN", "(IDLE): offered",
          "(UIDPLUS): offered", "Messages in the folder: 0", "Server: accepted the log-in and opened the folder"},
         MailProtocol::Imap},
        {"ImapWrongPassword", env->ImapPort, TlsMode::None, "wrong", false,
         {"Connection test failed.", "Security: none", "Log-in: LOGIN", "Check the user name and password"},
         MailProtocol::Imap},
    };
    ASSERT_TRUE(env->SeedMailbox("pipe04", {}, &error)) << error.toStdString();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MailboxSlot slot;
        slot.server = env->Server(c.port);
        slot.mailbox = "pipe04";
        slot.password = c.password;
        slot.tls = c.tls;
        slot.fingerprint = env->Fingerprint;
        slot.protocol = c.protocol;
        const TConnectionReport report = TestConnection(slot, 2, 10);
        EXPECT_EQ(report.ok, c.ok);
        const QString text = report.Lines().join('\n');
        for (const QString &line : c.lines)
            EXPECT_TRUE(text.contains(line)) << line.toStdString() << " not in:\n" << text.toStdString();
    }
}

} // namespace
