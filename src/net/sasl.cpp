#include "sasl.h"
#include "wording.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The server's reply as it came, or nothing.
Said ServerWords(const QString &finalReply)
{
    QString words = finalReply.trimmed();
    // A server's text is shown, not obeyed; a long one is cut.
    constexpr int kMaxShown = 200;
    if (words.size() > kMaxShown)
        words = words.left(kMaxShown) + QStringLiteral("...");
    return words.isEmpty() ? Said(QString()) : Said("Net", " (the server said: %1)").arg(words);
}

// RFC 5801's saslname: "," and "=" would end or escape the authorization identity.
QByteArray SaslName(const QString &user)
{
    QByteArray name = user.toUtf8();
    name.replace("=", "=3D");
    name.replace(",", "=2C");
    return name;
}

Said OAuthProblem(const QJsonObject &error)
{
    const QJsonValue statusValue = error.value(QLatin1String("status"));
    const QString status = statusValue.isDouble() ? QString::number(statusValue.toInt())
                                                  : statusValue.toString().left(40);
    const QString scope = error.value(QLatin1String("scope")).toString().left(300);
    if (status == u"401" || status == u"invalid_token")
        return Said("Net", "The server refused the access token: it has expired or was revoked. Sign in to "
                              "the mailbox's provider again");
    if (status == u"403" || status == u"insufficient_scope")
        return scope.isEmpty()
            ? Said("Net", "The access token does not allow access to this mailbox. Sign in again and allow "
                             "access to mail")
            : Said("Net", "The access token does not allow access to this mailbox: it needs the scope %1. "
                             "Sign in again and allow access to mail")
                  .arg(scope);
    if (status == u"400" || status == u"invalid_request")
        return Said("Net", "The server could not use the log-in request: check the user name, which must be "
                              "the mailbox's full e-mail address");
    if (!status.isEmpty())
        return Said("Net", "The server refused the OAuth2 log-in (status %1). Sign in to the mailbox's "
                              "provider again")
            .arg(status);
    return Said(QString());
}

} // namespace

QString SaslMechanismName(SaslMechanism mechanism)
{
    switch (mechanism) {
    case SaslMechanism::Plain: return QStringLiteral("PLAIN");
    case SaslMechanism::XOAuth2: return QStringLiteral("XOAUTH2");
    case SaslMechanism::OAuthBearer: return QStringLiteral("OAUTHBEARER");
    case SaslMechanism::UserPass: break;
    }
    return QStringLiteral("USER");
}

QStringList OfferedSaslMechanisms(const QStringList &capaLines)
{
    for (const QString &line : capaLines) {
        QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty() || words.first().compare(QLatin1String("SASL"), Qt::CaseInsensitive) != 0)
            continue;
        words.removeFirst();
        for (QString &word : words)
            word = word.toUpper();
        return words;
    }
    return {};
}

SaslChoice ChooseSaslMechanism(LoginMethod method, const QStringList &offered)
{
    if (method == LoginMethod::Password)
        return {offered.contains(QLatin1String("PLAIN")) ? SaslMechanism::Plain : SaslMechanism::UserPass, {}};
    if (offered.contains(QLatin1String("OAUTHBEARER")))
        return {SaslMechanism::OAuthBearer, {}};
    if (offered.contains(QLatin1String("XOAUTH2")))
        return {SaslMechanism::XOAuth2, {}};
    return {SaslMechanism::UserPass,
            offered.isEmpty()
                ? Said("Net", "The server does not offer an OAuth2 log-in (SASL XOAUTH2 or OAUTHBEARER). Set the "
                                 "mailbox to log in with a password")
                : Said("Net", "The server does not offer an OAuth2 log-in (SASL XOAUTH2 or OAUTHBEARER), only "
                                 "%1. Set the mailbox to log in with a password")
                      .arg(offered.join(u' '))};
}

QByteArray SaslInitialResponse(SaslMechanism mechanism, const QString &user, const QString &secret)
{
    const QByteArray u = user.toUtf8();
    const QByteArray s = secret.toUtf8();
    switch (mechanism) {
    case SaslMechanism::Plain: return QByteArray(1, '\0') + u + QByteArray(1, '\0') + s;
    case SaslMechanism::XOAuth2: return "user=" + u + "\x01" "auth=Bearer " + s + "\x01\x01";
    case SaslMechanism::OAuthBearer: return "n,a=" + SaslName(user) + ",\x01" "auth=Bearer " + s + "\x01\x01";
    case SaslMechanism::UserPass: break;
    }
    return {};
}

QString SaslAbortLine(SaslMechanism mechanism)
{
    return mechanism == SaslMechanism::OAuthBearer ? QString::fromLatin1(QByteArray("\x01").toBase64())
                                                   : QString();
}

QString SaslRefusalMessage(SaslMechanism mechanism, const QString &challenge, const QString &finalReply)
{
    const Said words = ServerWords(finalReply);
    if (mechanism == SaslMechanism::XOAuth2 || mechanism == SaslMechanism::OAuthBearer) {
        const auto decoded = QByteArray::fromBase64Encoding(challenge.trimmed().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        const QJsonDocument json = decoded ? QJsonDocument::fromJson(*decoded) : QJsonDocument();
        Said problem = json.isObject() ? OAuthProblem(json.object()) : Said(QString());
        if (problem.English().isEmpty())
            problem = Said("Net", "The server refused the OAuth2 log-in. Sign in to the mailbox's provider again");
        return problem + words;
    }
    return Said("Net", "The server refused the user name or password%1. Check both in the mailbox's settings")
        .arg(words);
}
