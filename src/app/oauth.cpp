#include "oauth.h"

#include "pop3mailbox.h"
#include "encrypt.h"
#include "secrets.h"
#include "settingsstore.h"
#include "wording.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <algorithm>
#include <QEventLoop>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QOAuth2AuthorizationCodeFlow>
#include <QOAuthHttpServerReplyHandler>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>
#include <QUrlQuery>

namespace {

const QString kSection = QStringLiteral("OAuth2");

OAuthProvider Google()
{
    return {QStringLiteral("google"), QStringLiteral("Google"), QStringLiteral("pop.gmail.com:995"),
            QUrl(QStringLiteral("https://accounts.google.com/o/oauth2/v2/auth")),
            QUrl(QStringLiteral("https://oauth2.googleapis.com/token")),
            QStringLiteral("https://mail.google.com/"), {}, {}, QStringLiteral("imap.gmail.com:993")};
}

// Microsoft grants POP3 and IMAP each by a scope of its own; one sign-in asks for both, so that
// a mailbox switched to IMAP (or back) needs no second one.
OAuthProvider Microsoft()
{
    return {QStringLiteral("microsoft"), QStringLiteral("Microsoft"), QStringLiteral("outlook.office365.com:995"),
            QUrl(QStringLiteral("https://login.microsoftonline.com/common/oauth2/v2.0/authorize")),
            QUrl(QStringLiteral("https://login.microsoftonline.com/common/oauth2/v2.0/token")),
            QStringLiteral("https://outlook.office.com/POP.AccessAsUser.All "
                           "https://outlook.office.com/IMAP.AccessAsUser.All offline_access"),
            {}, {}, QStringLiteral("outlook.office365.com:993")};
}

QString HostOf(const QString &server)
{
    QString host = server.trimmed().toLower();
    if (const int colon = host.lastIndexOf(u':'); colon > 0)
        host.truncate(colon);
    return host;
}

QByteArray Base64Url(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

// The error and its description from a token server's JSON reply, bounded for a message.
QString ServerWords(const QJsonObject &reply)
{
    QString words = reply.value(QStringLiteral("error")).toString().left(100);
    const QString description = reply.value(QStringLiteral("error_description")).toString().left(300);
    if (!description.isEmpty())
        words += (words.isEmpty() ? QString() : QStringLiteral(": ")) + description;
    return words;
}

// Takes a token reply. Tokens with control characters or spaces would break the log-in line.
OAuthTokens ReadTokenReply(const QJsonObject &reply)
{
    OAuthTokens tokens;
    const auto clean = [](const QString &token) {
        for (const QChar c : token)
            if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
                return false;
        return token.size() <= 16 * 1024;
    };
    tokens.accessToken = reply.value(QStringLiteral("access_token")).toString();
    tokens.refreshToken = reply.value(QStringLiteral("refresh_token")).toString();
    if (!clean(tokens.accessToken) || !clean(tokens.refreshToken))
        tokens.accessToken.clear();
    qint64 lifetime = kDefaultTokenLifetimeSeconds;
    const QJsonValue expiresIn = reply.value(QStringLiteral("expires_in"));
    if (expiresIn.isDouble())
        lifetime = qint64(std::clamp(expiresIn.toDouble(), 0.0, double(kMaxTokenLifetimeSeconds)));
    else if (expiresIn.isString())
        lifetime = std::clamp<qint64>(expiresIn.toString().toLongLong(), 0, kMaxTokenLifetimeSeconds);
    tokens.expires = QDateTime::currentDateTimeUtc().addSecs(lifetime);
    return tokens;
}

struct Held
{
    QString accessToken;
    QDateTime expires;
};

// Guards the two tables below: mailboxes checked side by side, each in a thread of its own,
// share them. Never held across a request to the token server.
QMutex &TokensLock()
{
    static QMutex lock;
    return lock;
}

// The access tokens of this run, by refresh token.
QHash<QString, Held> &HeldTokens()
{
    static QHash<QString, Held> held;
    return held;
}

// Refresh tokens a provider replaced in this run, old to new: a mailbox whose settings still
// name the old one goes on with the new.
QHash<QString, QString> &Rotations()
{
    static QHash<QString, QString> rotations;
    return rotations;
}

QString Current(QString refreshToken)
{
    for (int step = 0; step < 16 && Rotations().contains(refreshToken); ++step)
        refreshToken = Rotations().value(refreshToken);
    return refreshToken;
}

QString SignInAgain(int slot)
{
    return Said("Guard", "Sign in again: \"Add mailbox...\" in the settings, or tarnwick-cli mailbox set %1 "
                          "--auth oauth2")
        .arg(slot);
}

} // namespace

std::optional<OAuthProvider> OAuthProviderByName(const QString &id)
{
    const QString name = id.trimmed().toLower();
    if (name == u"google")
        return Google();
    if (name == u"microsoft")
        return Microsoft();
    return std::nullopt;
}

std::optional<OAuthProvider> OAuthProviderForServer(const QString &server)
{
    const QString host = HostOf(server);
    if (host == u"pop.gmail.com" || host == u"imap.gmail.com" || host == u"pop.googlemail.com")
        return Google();
    if (host == u"outlook.office365.com" || host == u"pop-mail.outlook.com" || host == u"pop.outlook.com"
        || host == u"outlook.office.com" || host == u"imap-mail.outlook.com")
        return Microsoft();
    return std::nullopt;
}

std::optional<OAuthProvider> OAuthProviderForAddress(const QString &address)
{
    const QString domain = address.trimmed().toLower().section(u'@', -1);
    if (!address.contains(u'@') || domain.isEmpty())
        return std::nullopt;
    if (domain == u"gmail.com" || domain == u"googlemail.com")
        return Google();
    for (const char *name : {"outlook.", "hotmail.", "live.", "msn.com"})
        if (domain.startsWith(QLatin1String(name)))
            return Microsoft();
    if (domain.endsWith(QLatin1String(".onmicrosoft.com")))
        return Microsoft();
    return std::nullopt;
}

void LoadOAuthClient(const SettingsReader &settings, OAuthProvider &provider)
{
    provider.clientId = settings.readString(kSection, provider.title + QStringLiteral("ClientId")).trimmed();
    provider.clientSecret = settings.readString(kSection, provider.title + QStringLiteral("ClientSecret")).trimmed();
    // An organisation's own end points (a Microsoft tenant's, say) in place of the common ones.
    for (const auto &[name, url] : {std::pair{"AuthorizationUrl", &provider.authorizationUrl},
                                    std::pair{"TokenUrl", &provider.tokenUrl}}) {
        const QUrl given(settings.readString(kSection, provider.title + QLatin1String(name)).trimmed(), QUrl::StrictMode);
        if (given.isValid() && (given.scheme() == u"https" || given.scheme() == u"http") && !given.host().isEmpty())
            *url = given;
    }
}

QString OAuthClientProblem(const OAuthProvider &provider)
{
    if (!provider.clientId.isEmpty())
        return {};
    return Said("Guard", "No OAuth2 client is set up for %1: register this program with %1 (or take the id your "
                          "distribution registered) and put it in settings.ini, section [OAuth2], as %1ClientId "
                          "(and %1ClientSecret where %1 gave one)")
        .arg(provider.title);
}

QByteArray PkceVerifier()
{
    // 32 random bytes give 43 characters of base64url, all of them unreserved (RFC 7636 4.1).
    QByteArray bytes(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    return Base64Url(bytes);
}

QByteArray PkceChallenge(const QByteArray &verifier)
{
    return Base64Url(QCryptographicHash::hash(verifier, QCryptographicHash::Sha256));
}

OAuthTokens AuthorizeInBrowser(const OAuthProvider &provider, const QString &loginHint,
                               const std::function<void(const QUrl &address)> &open, int waitMs,
                               const std::function<void(const std::function<void()> &cancel)> &waiting)
{
    OAuthTokens result;
    if (const QString problem = OAuthClientProblem(provider); !problem.isEmpty()) {
        result.error = problem;
        return result;
    }
    QNetworkAccessManager network;
    QOAuth2AuthorizationCodeFlow flow;
    flow.setNetworkAccessManager(&network);
    flow.setAuthorizationUrl(provider.authorizationUrl);
    flow.setAccessTokenUrl(provider.tokenUrl);
    flow.setClientIdentifier(provider.clientId);
    flow.setClientIdentifierSharedKey(provider.clientSecret);
    flow.setScope(provider.scope);
    // The redirect comes to a port of the loopback interface only, chosen by the system.
    auto *handler = new QOAuthHttpServerReplyHandler(QHostAddress::LocalHost, 0, &flow);
    if (!handler->isListening()) {
        result.error = Said("Guard", "No port on this computer could take the answer of %1's sign-in page.")
                           .arg(provider.title);
        return result;
    }
    handler->setCallbackText(Said("Guard", "Tarnwick has your permission now. You may close this page."));
    flow.setReplyHandler(handler);
    const QByteArray verifier = PkceVerifier();
    flow.setModifyParametersFunction([&](QAbstractOAuth::Stage stage, QMultiMap<QString, QVariant> *parameters) {
        if (stage == QAbstractOAuth::Stage::RequestingAuthorization) {
            parameters->insert(QStringLiteral("code_challenge"), PkceChallenge(verifier));
            parameters->insert(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
            if (!loginHint.isEmpty())
                parameters->insert(QStringLiteral("login_hint"), loginHint);
            // Google hands out a refresh token only when asked for offline access.
            parameters->insert(QStringLiteral("access_type"), QStringLiteral("offline"));
            parameters->insert(QStringLiteral("prompt"), QStringLiteral("consent"));
        } else if (stage == QAbstractOAuth::Stage::RequestingAccessToken) {
            parameters->insert(QStringLiteral("code_verifier"), verifier);
            // The code arrives percent-encoded from the redirect (Google's contain "/"); a
            // real code never holds a "%" of its own.
            const QString code = parameters->value(QStringLiteral("code")).toString();
            if (code.contains(u'%')) {
                parameters->remove(QStringLiteral("code"));
                parameters->insert(QStringLiteral("code"), QUrl::fromPercentEncoding(code.toLatin1()));
            }
        }
    });
    QEventLoop loop;
    bool done = false;
    QObject::connect(&flow, &QAbstractOAuth::authorizeWithBrowser, &loop, [&](const QUrl &address) { open(address); });
    QObject::connect(&flow, &QAbstractOAuth::granted, &loop, [&] {
        done = true;
        loop.quit();
    });
    QObject::connect(&flow, &QAbstractOAuth2::error, &loop,
                     [&](const QString &error, const QString &description, const QUrl &) {
                         done = true;
                         result.error = Said("Guard", "%1 refused the sign-in (%2%3). Try again, and allow Tarnwick "
                                                       "to read your mail on the page that opens.")
                                            .arg(provider.title, error.left(100),
                                                 description.isEmpty() ? QString()
                                                                       : QStringLiteral(": ") + description.left(300));
                         loop.quit();
                     });
    QObject::connect(&flow, &QAbstractOAuth::statusChanged, &loop, [&](QAbstractOAuth::Status status) {
        // A failed token exchange sends the flow back to where it started.
        if (status == QAbstractOAuth::Status::NotAuthenticated && !done) {
            done = true;
            result.error = Said("Guard", "%1 did not hand out a token for the sign-in. Try again.").arg(provider.title);
            loop.quit();
        }
    });
    // A refused token exchange ends the flow without a signal of its own: the reply tells.
    QObject::connect(&network, &QNetworkAccessManager::finished, &loop, [&](QNetworkReply *reply) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (done || reply->url() != provider.tokenUrl || (reply->error() == QNetworkReply::NoError && status == 200))
            return;
        const QString words = ServerWords(QJsonDocument::fromJson(reply->peek(kMaxTokenReplyBytes)).object());
        done = true;
        result.error = Said("Guard", "%1 did not hand out a token for the sign-in (%2). Start the sign-in again.")
                           .arg(provider.title, words.isEmpty() ? reply->errorString() : words);
        loop.quit();
    });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    flow.grant();
    if (!done && waiting)
        waiting([&] {
            if (done)
                return;
            done = true;
            result.error = Said("Guard", "The sign-in at %1 was canceled.").arg(provider.title);
            loop.quit();
        });
    if (!done)
        loop.exec(waiting ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (waiting)
        waiting({});
    if (!done) {
        result.error = Said("Guard", "The sign-in at %1 was not finished within %2 minutes. Start it again.")
                           .arg(provider.title)
                           .arg((waitMs + 59999) / 60000);
        return result;
    }
    if (!result.error.isEmpty())
        return result;
    result.accessToken = flow.token();
    result.refreshToken = flow.refreshToken();
    result.expires = flow.expirationAt().isValid() ? flow.expirationAt().toUTC()
                                                   : QDateTime::currentDateTimeUtc().addSecs(kDefaultTokenLifetimeSeconds);
    if (result.refreshToken.isEmpty())
        result.error = Said("Guard", "%1 gave no refresh token, so Tarnwick could not sign in again on its own. Remove "
                                      "Tarnwick's access in your %1 account settings, then sign in again.")
                           .arg(provider.title);
    return result;
}

OAuthTokens RefreshAccessToken(const OAuthProvider &provider, const QString &refreshToken, int slot, int waitMs)
{
    OAuthTokens result;
    if (const QString problem = OAuthClientProblem(provider); !problem.isEmpty()) {
        result.error = problem;
        return result;
    }
    if (refreshToken.isEmpty()) {
        result.error = Said("Guard", "Mailbox %1 has no stored sign-in at %2. %3").arg(slot).arg(provider.title, SignInAgain(slot));
        return result;
    }
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("grant_type"), QStringLiteral("refresh_token"));
    form.addQueryItem(QStringLiteral("refresh_token"), QString::fromLatin1(QUrl::toPercentEncoding(refreshToken)));
    form.addQueryItem(QStringLiteral("client_id"), QString::fromLatin1(QUrl::toPercentEncoding(provider.clientId)));
    if (!provider.clientSecret.isEmpty())
        form.addQueryItem(QStringLiteral("client_secret"), QString::fromLatin1(QUrl::toPercentEncoding(provider.clientSecret)));
    QNetworkAccessManager network;
    QNetworkRequest request(provider.tokenUrl);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(waitMs);
    QNetworkReply *reply = network.post(request, form.toString(QUrl::FullyEncoded).toLatin1());
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [reply](qint64 received, qint64) {
        if (received > kMaxTokenReplyBytes)
            reply->abort();
    });
    QTimer::singleShot(waitMs, &loop, [reply] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const QByteArray body = reply->read(kMaxTokenReplyBytes);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QJsonObject json = QJsonDocument::fromJson(body).object();
    const QString error = json.value(QStringLiteral("error")).toString();
    if (error == u"invalid_grant") {
        result.error = Said("Guard", "%1 no longer accepts the sign-in of mailbox %2 (%3): it was withdrawn, the "
                                      "password of the account changed, or it was not used for a long time. %4")
                           .arg(provider.title)
                           .arg(slot)
                           .arg(ServerWords(json), SignInAgain(slot));
    } else if (error == u"invalid_client" || error == u"unauthorized_client") {
        result.error = Said("Guard", "%1 refused Tarnwick's client id (%2). Check %1ClientId and %1ClientSecret in "
                                      "settings.ini, section [OAuth2].")
                           .arg(provider.title, ServerWords(json));
    } else if (!error.isEmpty() || (status != 0 && status != 200)) {
        result.error = Said("Guard", "%1's token server refused a new access token for mailbox %2 (%3). Try again "
                                      "later; if it keeps refusing: %4")
                           .arg(provider.title)
                           .arg(slot)
                           .arg(error.isEmpty() ? QString(Said("Guard", "HTTP status %1").arg(status)) : ServerWords(json),
                                SignInAgain(slot));
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = Said("Guard", "%1's token server %2 could not be reached (%3). Check the connection to the "
                                      "internet and try again.")
                           .arg(provider.title, provider.tokenUrl.host(), reply->errorString());
    } else {
        result = ReadTokenReply(json);
        if (result.accessToken.isEmpty())
            result.error = Said("Guard", "%1's token server sent no usable access token for mailbox %2. Try again "
                                          "later.")
                               .arg(provider.title)
                               .arg(slot);
    }
    reply->deleteLater();
    return result;
}

TOAuthTokenSource::TOAuthTokenSource(OAuthProvider provider, QString refreshToken, int slot)
    : m_provider(std::move(provider)), m_refreshToken(std::move(refreshToken)), m_slot(slot)
{
}

QString TOAuthTokenSource::AccessToken(QString *error)
{
    QString current;
    {
        const QMutexLocker locked(&TokensLock());
        current = Current(m_refreshToken);
        const auto held = HeldTokens().constFind(current);
        if (held != HeldTokens().cend()
            && QDateTime::currentDateTimeUtc().secsTo(held->expires) >= kTokenRefreshMarginSeconds)
            return held->accessToken;
    }
    const OAuthTokens tokens = RefreshAccessToken(m_provider, current, m_slot);
    if (!tokens.error.isEmpty()) {
        if (error)
            *error = tokens.error;
        return {};
    }
    QString key = current;
    const bool rotated = !tokens.refreshToken.isEmpty() && tokens.refreshToken != current;
    {
        const QMutexLocker locked(&TokensLock());
        if (rotated) {
            HeldTokens().remove(current);
            Rotations().insert(current, tokens.refreshToken);
            key = tokens.refreshToken;
        }
        HeldTokens().insert(key, {tokens.accessToken, tokens.expires});
    }
    if (rotated && m_keep)
        m_keep(key);
    return tokens.accessToken;
}

void TOAuthTokenSource::Refused()
{
    const QMutexLocker locked(&TokensLock());
    HeldTokens().remove(Current(m_refreshToken));
}

void TOAuthTokenSource::Remember(const QString &refreshToken, const QString &accessToken, const QDateTime &expires)
{
    const QMutexLocker locked(&TokensLock());
    HeldTokens().insert(refreshToken, {accessToken, expires});
}

void TOAuthTokenSource::ForgetAll()
{
    const QMutexLocker locked(&TokensLock());
    HeldTokens().clear();
    Rotations().clear();
}

TOAuthMailbox::TOAuthMailbox(std::unique_ptr<TMailbox> inner, std::shared_ptr<TOAuthTokenSource> source,
                             std::function<void(const QString &token)> setToken,
                             std::function<bool(const ELoginError &error)> refused)
    : m_inner(std::move(inner)), m_source(std::move(source)), m_setToken(std::move(setToken)),
      m_refused(std::move(refused))
{
}

void TOAuthMailbox::HandToken()
{
    QString error;
    const QString token = m_source->AccessToken(&error);
    if (token.isEmpty())
        throw ELoginError(error, false);
    m_setToken(token);
}

template <class Operation> auto TOAuthMailbox::Retrying(Operation operation)
{
    try {
        return operation();
    } catch (const ELoginError &e) {
        // Once per session: a second refusal of a token just handed out is the server's word.
        if (m_retried || !m_refused(e))
            throw;
        LogInRenewed();
        if (m_endAfterList)
            m_inner->EndAfterList();
        return operation();
    }
}

void TOAuthMailbox::LogIn()
{
    m_retried = false;
    m_endAfterList = false;
    HandToken();
    try {
        m_inner->LogIn();
    } catch (const ELoginError &e) {
        // Logged in once more with a renewed token, not twice: Retrying would repeat the log-in
        // as the operation after its own.
        if (!m_refused(e))
            throw;
        LogInRenewed();
    }
}

void TOAuthMailbox::LogInRenewed()
{
    m_retried = true;
    ++m_retries;
    m_source->Refused();
    HandToken();
    m_inner->LogIn();
}

TMailboxListing TOAuthMailbox::List(
    const std::function<void(int index, int count, const TMailboxMessage &message)> &listed)
{
    return Retrying([&] { return m_inner->List(listed); });
}

void TOAuthMailbox::EndAfterList()
{
    m_endAfterList = true;
    m_inner->EndAfterList();
}

bool TOAuthMailbox::StillSame(const TMailboxListing &listing, int index)
{
    return Retrying([&] { return m_inner->StillSame(listing, index); });
}

TMailboxDeletion TOAuthMailbox::Delete(const TMailboxListing &listing, const QList<int> &indexes)
{
    return Retrying([&] { return m_inner->Delete(listing, indexes); });
}

bool TOAuthMailbox::Fetch(const TMailboxListing &listing, int index, const QString &file)
{
    return Retrying([&] { return m_inner->Fetch(listing, index, file); });
}

void TOAuthMailbox::Commit()
{
    Retrying([this] { m_inner->Commit(); });
}

void TOAuthMailbox::LogOut()
{
    m_inner->LogOut();
}

std::unique_ptr<TMailbox> WithOAuthTokens(std::unique_ptr<TPop3Mailbox> mailbox, std::shared_ptr<TOAuthTokenSource> source)
{
    TPop3Client *client = &mailbox->Client();
    return std::make_unique<TOAuthMailbox>(
        std::move(mailbox), std::move(source), [client](const QString &token) { client->SetPassword(token); },
        [client](const ELoginError &e) {
            return !e.LoginDelay() && client->Mechanism() != SaslMechanism::UserPass
                && client->LastCommand().startsWith(QLatin1String("AUTH"));
        });
}

std::shared_ptr<TOAuthTokenSource> TokenSourceFor(const MailboxSlot &mailbox, int n)
{
    if (mailbox.login != MailboxLogin::OAuth2 || mailbox.secrets == SecretPlace::Command)
        return nullptr;
    const UserSettings settings;
    std::optional<OAuthProvider> provider = OAuthProviderForServer(mailbox.server);
    if (!provider)
        provider = OAuthProviderByName(settings.readString(kSection, QStringLiteral("Provider%1").arg(n)));
    if (!provider)
        return nullptr;
    LoadOAuthClient(settings, *provider);
    auto source = std::make_shared<TOAuthTokenSource>(*provider, mailbox.refreshToken, n);
    source->SetRotationKeeper([place = mailbox.secrets, account = mailbox.account(), n](const QString &token) {
        // Where the settings keep it; a failure costs a sign-in once the old token runs out.
        const auto keep = [place, account, n, token] {
            if (place == SecretPlace::Keyring) {
                WriteKeyringSecret(n, account, SecretKind::RefreshToken, token);
            } else if (n >= 1 && n <= kMailboxSlots) {
                UserSettings settings;
                if (settings.writeString(SettingsSection::Server, QStringLiteral("Refresh%1").arg(n),
                                         ScramblePassword(token, n)))
                    settings.flush();
            }
        };
        // The settings file and the keyring are written by the program's main thread only; a
        // watch's thread hands the new token over (this process already uses it meanwhile).
        QCoreApplication *app = QCoreApplication::instance();
        if (app && QThread::currentThread() != app->thread())
            QMetaObject::invokeMethod(app, keep, Qt::QueuedConnection);
        else
            keep();
    });
    return source;
}

bool RememberSlotProvider(UserSettings &settings, int n, const QString &providerId)
{
    return settings.writeString(kSection, QStringLiteral("Provider%1").arg(n), providerId);
}
