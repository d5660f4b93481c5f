#pragma once

#include "mailbox.h"
#include "settings.h"
#include "neterrors.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class SettingsReader;
class UserSettings;

// OAuth2 for mailboxes whose provider refuses passwords: the authorization code flow with PKCE
// (RFC 7636, S256) and a loopback redirect (RFC 8252) once, when the mailbox is set up; after
// that a fresh access token from the stored refresh token before each conversation.
//
// Every call here waits in a local event loop with a bound, like the keyring: a token server
// that never answers costs a bounded wait and an error, never a hang.

struct OAuthProvider
{
    QString id;     // "google", "microsoft"; the name on the command line
    QString title;  // "Google", "Microsoft"
    QString server; // the POP3 server with its implicit TLS port
    QUrl authorizationUrl;
    QUrl tokenUrl;
    QString scope;
    // Each distributor registers its own application with the provider: settings.ini, section
    // [OAuth2], "GoogleClientId"/"GoogleClientSecret", "MicrosoftClientId"/"MicrosoftClientSecret";
    // "...AuthorizationUrl"/"...TokenUrl" there replace the end points (an organisation's own).
    QString clientId;
    QString clientSecret;
    QString imapServer; // the IMAP server with its implicit TLS port
};

// The presets, without the client (see LoadOAuthClient). Unknown names give nothing.
std::optional<OAuthProvider> OAuthProviderByName(const QString &id);
// The provider whose mail server host this is (pop.gmail.com, outlook.office365.com, ...).
std::optional<OAuthProvider> OAuthProviderForServer(const QString &server);
// The provider of a mail address's domain (gmail.com, googlemail.com, outlook.com, hotmail.com,
// live.com and the like); nothing for other domains.
std::optional<OAuthProvider> OAuthProviderForAddress(const QString &address);
// Takes the client id and secret of provider from the settings.
void LoadOAuthClient(const SettingsReader &settings, OAuthProvider &provider);
// What is missing before provider can be used, in words with what to do; empty when nothing.
QString OAuthClientProblem(const OAuthProvider &provider);

// PKCE: a fresh code verifier (43 characters of the unreserved set), and its S256 challenge
// (base64url of SHA-256, without padding).
QByteArray PkceVerifier();
QByteArray PkceChallenge(const QByteArray &verifier);

struct OAuthTokens
{
    QString accessToken;
    QString refreshToken;
    QDateTime expires;  // UTC
    QString error;      // what went wrong and what to do; empty on success
};

// The bounds of what token servers tell us.
inline constexpr qint64 kMaxTokenReplyBytes = 64 * 1024;
inline constexpr int kMaxTokenLifetimeSeconds = 24 * 3600;
inline constexpr int kDefaultTokenLifetimeSeconds = 3600;
// A token with less than this left is refreshed before a conversation starts.
inline constexpr int kTokenRefreshMarginSeconds = 120;
inline constexpr int kTokenRequestWaitMs = 30000;
inline constexpr int kAuthorizationWaitMs = 10 * 60 * 1000;

// The browser's part: open is given the address the user must visit (false when it could not
// be opened; the address is then only shown). loginHint proposes the account on the provider's
// page. Waits for the redirect and the token exchange, at most waitMs. With waiting, the wait
// takes the user's input too (a window's Cancel): waiting is handed the function that ends it.
OAuthTokens AuthorizeInBrowser(const OAuthProvider &provider, const QString &loginHint,
                               const std::function<void(const QUrl &address)> &open,
                               int waitMs = kAuthorizationWaitMs,
                               const std::function<void(const std::function<void()> &cancel)> &waiting = {});

// A new access token from a refresh token. slot names the mailbox in the messages.
OAuthTokens RefreshAccessToken(const OAuthProvider &provider, const QString &refreshToken, int slot,
                               int waitMs = kTokenRequestWaitMs);

// The access tokens of one mailbox. Tokens are kept for the run of the program (never on
// disk), shared by every source of the same refresh token.
class TOAuthTokenSource
{
public:
    TOAuthTokenSource(OAuthProvider provider, QString refreshToken, int slot);

    // A token with at least kTokenRefreshMarginSeconds left, refreshed when needed; empty, with
    // error set, when none could be had.
    QString AccessToken(QString *error);
    // The server refused the last token: the next AccessToken asks for a new one.
    void Refused();
    // Told the refresh token a provider hands out in place of ours (Microsoft rotates them),
    // to store it where the old one was. The program keeps using the new one either way.
    void SetRotationKeeper(std::function<void(const QString &refreshToken)> keep) { m_keep = std::move(keep); }

    // For tests: what the program holds for refreshToken now.
    static void Remember(const QString &refreshToken, const QString &accessToken, const QDateTime &expires);
    static void ForgetAll();

private:
    OAuthProvider m_provider;
    QString m_refreshToken;
    int m_slot;
    std::function<void(const QString &)> m_keep;
};

// A mailbox that logs in with tokens of a TOAuthTokenSource: the token goes to the log-in
// before each session, and when the server refuses it, a new one is asked for and the
// operation is tried once more. setToken hands the token to the inner mailbox's client,
// refused tells a refused token from other failed log-ins.
class TOAuthMailbox : public TMailbox
{
public:
    TOAuthMailbox(std::unique_ptr<TMailbox> inner, std::shared_ptr<TOAuthTokenSource> source,
                  std::function<void(const QString &token)> setToken,
                  std::function<bool(const ELoginError &error)> refused);

    void SetEvents(const TMailboxEvents &events) override { m_inner->SetEvents(events); }
    bool Busy() const override { return m_inner->Busy(); }
    bool Connected() const override { return m_inner->Connected(); }
    int LoginDelay() const override { return m_inner->LoginDelay(); }
    QString Notice() const override { return m_inner->Notice(); }
    void LogIn() override;
    quint64 Session() const override { return m_inner->Session(); }
    TMailboxListing List(
        const std::function<void(int index, int count, const TMailboxMessage &message)> &listed = {}) override;
    void EndAfterList() override;
    bool StillSame(const TMailboxListing &listing, int index) override;
    TMailboxDeletion Delete(const TMailboxListing &listing, const QList<int> &indexes) override;
    bool Fetch(const TMailboxListing &listing, int index, const QString &file) override;
    void Commit() override;
    void LogOut() override;
    void Abort() override { m_inner->Abort(); }

    // Log-ins tried once more after a refused token, over this mailbox's life.
    int Retries() const { return m_retries; }
    // The mailbox the tokens go to, for what only its protocol can tell.
    TMailbox &Inner() { return *m_inner; }

private:
    void HandToken();
    // Logs in again with a renewed token after the server refused the one it had.
    void LogInRenewed();
    template <class Operation> auto Retrying(Operation operation);

    std::unique_ptr<TMailbox> m_inner;
    std::shared_ptr<TOAuthTokenSource> m_source;
    std::function<void(const QString &)> m_setToken;
    std::function<bool(const ELoginError &)> m_refused;
    bool m_retried = false;    // in this session
    bool m_endAfterList = false;
    int m_retries = 0;
};

class TPop3Mailbox;
// A POP3 mailbox that logs in with source's tokens; a refusal of AUTH counts as a refused token.
std::unique_ptr<TMailbox> WithOAuthTokens(std::unique_ptr<TPop3Mailbox> mailbox,
                                          std::shared_ptr<TOAuthTokenSource> source);

// Remembers which provider slot n signs in at, for a server the presets do not name.
bool RememberSlotProvider(UserSettings &settings, int n, const QString &providerId);

// The token source of an OAuth2 mailbox that keeps a refresh token (slot n); null for a
// password mailbox, for a token command (its output is the access token already) and for a
// server whose provider is unknown.
std::shared_ptr<TOAuthTokenSource> TokenSourceFor(const MailboxSlot &mailbox, int n);
