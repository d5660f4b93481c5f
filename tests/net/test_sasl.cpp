// The log-in's choices and messages: mechanism, first message, and a refusal in words.
#include "sasl.h"

#include <gtest/gtest.h>

namespace {

TEST(Sasl, ChoosesTheMechanismFromTheCapaListing)
{
    struct Case { LoginMethod method; QStringList capa; SaslMechanism expected; bool problem; };
    using M = SaslMechanism;
    const Case cases[] = {
        {LoginMethod::Password, {"TOP", "SASL PLAIN LOGIN", "USER"}, M::Plain, false},
        {LoginMethod::Password, {"sasl login plain"}, M::Plain, false},  // tags and names in any case
        {LoginMethod::Password, {"SASL CRAM-MD5", "USER"}, M::UserPass, false},
        {LoginMethod::Password, {"X-PLAIN", "SASLX PLAIN"}, M::UserPass, false},  // neither is a SASL line
        {LoginMethod::Password, {}, M::UserPass, false},                           // no CAPA at all
        {LoginMethod::OAuth2, {"SASL PLAIN XOAUTH2 OAUTHBEARER"}, M::OAuthBearer, false},
        {LoginMethod::OAuth2, {"SASL PLAIN XOAUTH2"}, M::XOAuth2, false},
        {LoginMethod::OAuth2, {"SASL PLAIN"}, M::UserPass, true},  // a token is never sent as a password
        {LoginMethod::OAuth2, {"USER"}, M::UserPass, true},
    };
    for (const Case &c : cases) {
        const SaslChoice choice = ChooseSaslMechanism(c.method, OfferedSaslMechanisms(c.capa));
        EXPECT_EQ(choice.mechanism, c.expected) << c.capa.join(u'|').toStdString();
        EXPECT_EQ(!choice.problem.isEmpty(), c.problem) << c.capa.join(u'|').toStdString();
    }
    EXPECT_TRUE(ChooseSaslMechanism(LoginMethod::OAuth2, {"PLAIN", "LOGIN"}).problem.contains("only PLAIN LOGIN"));
}

// Dovecot takes the plain forms (SaslDovecot); the authorization identity escapes "," and "=",
// which would end it early.
TEST(Sasl, BearerResponseEscapesTheUserName)
{
    EXPECT_EQ(SaslInitialResponse(SaslMechanism::OAuthBearer, "a=b,c@x.org", QStringLiteral("t\u00e9")),
              "n,a=a=3Db=2Cc@x.org,\x01" "auth=Bearer t\xc3\xa9\x01\x01");
    EXPECT_EQ(SaslAbortLine(SaslMechanism::OAuthBearer), "AQ==");
}

TEST(Sasl, RefusalsSayWhatToDo)
{
    auto b64 = [](const char *json) { return QString::fromLatin1(QByteArray(json).toBase64()); };
    struct Case { SaslMechanism mechanism; QString challenge; const char *finalReply; QStringList expected; };
    const Case cases[] = {
        {SaslMechanism::XOAuth2, b64(R"({"status":"401","schemes":"bearer","scope":"https://mail.google.com/"})"),
         "-ERR [AUTH] Authentication failed.", {"expired or was revoked", "Sign in", "Authentication failed."}},
        {SaslMechanism::OAuthBearer, b64(R"({"status":"insufficient_scope","scope":"pop3 imap"})"), "-ERR no",
         {"needs the scope pop3 imap", "allow access to mail"}},
        {SaslMechanism::OAuthBearer, b64(R"({"status":400})"), "", {"full e-mail address"}},
        {SaslMechanism::XOAuth2, b64(R"({"status":"teapot"})"), "", {"status teapot"}},
        // A challenge that is not base64 JSON still gives a message with the server's words.
        {SaslMechanism::XOAuth2, "%%%", "-ERR nope", {"refused the OAuth2 log-in", "nope"}},
        {SaslMechanism::XOAuth2, b64("[1,2]"), "", {"refused the OAuth2 log-in"}},
        {SaslMechanism::Plain, "", "-ERR [AUTH] Authentication failed.", {"user name or password", "Check both"}},
        {SaslMechanism::Plain, "", QByteArray(500, 'x').prepend("-ERR ").constData(), {"xxx..."}},
    };
    for (const Case &c : cases) {
        const QString message = SaslRefusalMessage(c.mechanism, c.challenge, QString::fromLatin1(c.finalReply));
        for (const QString &part : c.expected)
            EXPECT_TRUE(message.contains(part)) << message.toStdString() << " lacks " << part.toStdString();
        EXPECT_LT(message.size(), 480) << message.toStdString();
    }
}

} // namespace
