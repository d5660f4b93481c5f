// What the token Dovecots cannot show (SaslDovecot): the escaped user name, refusals in words.
#include "sasl.h"

#include <gtest/gtest.h>

namespace {

// The authorization identity escapes "," and "=", which would end it early.
TEST(Sasl, BearerResponseEscapesTheUserName)
{
    EXPECT_EQ(SaslInitialResponse(SaslMechanism::OAuthBearer, "a=b,c@x.org", QStringLiteral("t\u00e9")),
              "n,a=a=3Db=2Cc@x.org,\x01" "auth=Bearer t\xc3\xa9\x01\x01");
}

TEST(Sasl, RefusalsSayWhatToDo)
{
    auto b64 = [](const char *json) { return QString::fromLatin1(QByteArray(json).toBase64()); };
    struct Case { SaslMechanism mechanism; QString challenge; QByteArray finalReply; QStringList expected; };
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
        {SaslMechanism::Plain, "", QByteArray(500, 'x').prepend("-ERR "), {"xxx..."}},
    };
    for (const Case &c : cases) {
        const QString message = SaslRefusalMessage(c.mechanism, c.challenge, QString::fromLatin1(c.finalReply));
        for (const QString &part : c.expected)
            EXPECT_TRUE(message.contains(part)) << message.toStdString() << " lacks " << part.toStdString();
        EXPECT_LT(message.size(), 480) << message.toStdString();
    }
}

} // namespace
