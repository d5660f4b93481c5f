#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The log-in of a mailbox as pure functions: which mechanism to use, what to send, and what a
// refusal means in words. The POP3 client drives the exchange (AUTH, RFC 5034); nothing here
// touches a socket, so every case is tried in a table.

// How the user logs in to a mailbox: with a password, or with an OAuth2 access token.
enum class LoginMethod { Password = 0, OAuth2 = 1 };

enum class SaslMechanism {
    UserPass,     // USER and PASS (RFC 1939): the server offers no SASL mechanism we use
    Plain,        // AUTH PLAIN (RFC 4616)
    XOAuth2,      // AUTH XOAUTH2 (Google's and Microsoft's)
    OAuthBearer,  // AUTH OAUTHBEARER (RFC 7628)
};

// "PLAIN", "XOAUTH2", "OAUTHBEARER"; "USER" for USER/PASS.
QString SaslMechanismName(SaslMechanism mechanism);

// The mechanisms of the CAPA listing's "SASL" line, upper case; empty without one.
QStringList OfferedSaslMechanisms(const QStringList &capaLines);

struct SaslChoice {
    SaslMechanism mechanism = SaslMechanism::UserPass;
    // Not empty when the mailbox cannot log in on this server at all: what to do about it.
    QString problem;
};

// A password goes through PLAIN where it is offered, else USER/PASS. An OAuth2 token needs
// OAUTHBEARER or XOAUTH2 (the standard one first); a token is never sent as a password.
SaslChoice ChooseSaslMechanism(LoginMethod method, const QStringList &offered);

// The client's first message, before base64. The secret is the password or the access token.
QByteArray SaslInitialResponse(SaslMechanism mechanism, const QString &user, const QString &secret);

// The line that answers a server's challenge in the middle of a failed OAuth2 exchange, so
// that the server sends its final -ERR: empty for XOAUTH2, base64 of 0x01 for OAUTHBEARER.
QString SaslAbortLine(SaslMechanism mechanism);

// A refusal in words the user can act on. challenge is the base64 text of the server's last
// "+ " line (the JSON error of XOAUTH2 and OAUTHBEARER: status, scope), finalReply the -ERR
// line; either may be empty.
QString SaslRefusalMessage(SaslMechanism mechanism, const QString &challenge, const QString &finalReply);
