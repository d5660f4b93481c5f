#include "mailboxes.h"

#include "neterrors.h"
#include "oauth.h"
#include "pop3mailbox.h"
#include "sasl.h"
#include "textutil.h"
#include "tls.h"

#include <algorithm>

namespace {

// OAuth2 over AUTHENTICATE. The mechanism is chosen once the server has named its own: the
// client tells them when the log-in starts.
class TImapTokenSasl : public TImapSasl
{
public:
    TImapTokenSasl(const QString &user, const QString &token) : m_user(user), m_token(token) {}
    // A renewed access token, for the next log-in.
    void SetToken(const QString &token) { m_token = token; }
    // Where each log-in takes its token from, when nothing hands one over (a watch's sessions).
    void SetSource(std::shared_ptr<TOAuthTokenSource> source) { m_source = std::move(source); }
    // A new log-in: the last one's verdict is forgotten.
    void Restart()
    {
        m_answered = false;
        m_challenge.clear();
    }

    QByteArray Mechanism() const override { return SaslMechanismName(Chosen()).toLatin1(); }
    std::optional<QByteArray> InitialResponse() override
    {
        Restart();
        if (m_source) {
            QString error;
            m_token = m_source->AccessToken(&error);
            if (m_token.isEmpty())
                throw ELoginError(error, false);
        }
        return SaslInitialResponse(Chosen(), m_user, m_token);
    }
    std::optional<QByteArray> Respond(const QByteArray &challenge) override
    {
        // A challenge after the token is the server's error (JSON). It is answered once, so
        // that the server ends the exchange with its verdict; a second one is cancelled.
        if (m_answered)
            return std::nullopt;
        m_answered = true;
        // The next log-in asks for a new token rather than this refused one.
        if (m_source)
            m_source->Refused();
        m_challenge = QString::fromLatin1(challenge.toBase64());
        return QByteArray::fromBase64(SaslAbortLine(Chosen()).toLatin1());
    }
    void Offered(const QStringList &mechanisms) override { m_offered = mechanisms; }
    SaslMechanism Chosen() const
    {
        return ChooseSaslMechanism(LoginMethod::OAuth2, m_offered).mechanism == SaslMechanism::XOAuth2
                   ? SaslMechanism::XOAuth2
                   : SaslMechanism::OAuthBearer;
    }
    // The error the server sent in the exchange (base64), empty when none.
    const QString &Challenge() const { return m_challenge; }

private:
    QString m_user;
    QString m_token;
    QStringList m_offered;
    std::shared_ptr<TOAuthTokenSource> m_source;
    bool m_answered = false;
    QString m_challenge;
};

// A refused token is told as what the provider said (expired, wrong scope), not as a wrong
// password.
class TImapTokenMailbox : public TImapMailbox
{
public:
    TImapTokenMailbox(TImapSettings settings, std::shared_ptr<TImapTokenSasl> sasl)
        : TImapMailbox(std::move(settings)), m_sasl(std::move(sasl))
    {
    }
    void LogIn() override
    {
        m_sasl->Restart();
        try {
            TImapMailbox::LogIn();
        } catch (const ELoginError &error) {
            if (m_sasl->Challenge().isEmpty())
                throw;
            // The server's error challenge is its word on the token (RFC 7628, and Google's
            // XOAUTH2 alike): a refused log-in, which a renewed token may mend.
            throw ELoginError(SaslRefusalMessage(m_sasl->Chosen(), m_sasl->Challenge(), error.Message()), false);
        }
    }

private:
    std::shared_ptr<TImapTokenSasl> m_sasl;
};

TImapSettings::Action ActionOf(ImapDeletion deletion)
{
    switch (deletion) {
    case ImapDeletion::Trash: return TImapSettings::Action::MoveToTrash;
    case ImapDeletion::Delete: return TImapSettings::Action::DeleteForGood;
    case ImapDeletion::Junk: break;
    }
    return TImapSettings::Action::MoveToJunk;
}

} // namespace

TImapSettings ImapSettingsOf(const MailboxSlot &slot, int timeOutSeconds, int n)
{
    TImapSettings settings;
    settings.server = slot.server.trimmed();
    settings.tls = {TlsModeFromInt(int(slot.tls)), slot.fingerprint};
    settings.user = slot.mailbox;
    settings.password = slot.password;
    if (slot.login == MailboxLogin::OAuth2) {
        auto sasl = std::make_shared<TImapTokenSasl>(slot.mailbox, slot.password);
        if (n > 0)
            sasl->SetSource(TokenSourceFor(slot, n));
        settings.sasl = std::move(sasl);
    }
    settings.timeOutSeconds = timeOutSeconds;
    settings.folder = IsBlankText(slot.folder) ? QStringLiteral("INBOX") : slot.folder;
    settings.action = ActionOf(slot.imapDelete);
    if (!IsBlankText(slot.junkFolder))
        settings.junkFolder = slot.junkFolder;
    if (!IsBlankText(slot.trashFolder))
        settings.trashFolder = slot.trashFolder;
    settings.maxListed = std::clamp(slot.maxUnseen, 1, kMostMaxUnseen);
    settings.wholeFolder = slot.wholeFolder;
    return settings;
}

void LoadSlot(TPop3Client &client, const MailboxSlot &slot)
{
    client.SetServer(slot.server.trimmed());
    client.SetUserName(slot.mailbox);
    client.SetPassword(slot.password);
    client.SetLoginMethod(slot.login == MailboxLogin::OAuth2 ? LoginMethod::OAuth2 : LoginMethod::Password);
    client.SetTls({TlsModeFromInt(int(slot.tls)), slot.fingerprint});
    client.SetUsePipelining(slot.pipelining);
}

std::unique_ptr<TMailbox> MakeMailbox(const MailboxSlot &slot, const TMailboxOptions &options)
{
    // The one place where a slot's protocol chooses the implementation.
    if (slot.protocol == MailProtocol::Imap) {
        TImapSettings settings = ImapSettingsOf(slot, options.timeOutSeconds);
        auto token = std::dynamic_pointer_cast<TImapTokenSasl>(settings.sasl);
        if (!token) {
            auto mailbox = std::make_unique<TImapMailbox>(std::move(settings));
            mailbox->Client().SetRAS(options.ras);
            mailbox->SetEvents(options.events);
            return mailbox;
        }
        auto mailbox = std::make_unique<TImapTokenMailbox>(std::move(settings), token);
        mailbox->Client().SetRAS(options.ras);
        mailbox->SetEvents(options.events);
        // As for POP3: a stored refresh token gets a fresh access token before each session, and
        // once more when the server refuses one.
        std::shared_ptr<TOAuthTokenSource> tokens = TokenSourceFor(slot, options.slot);
        if (!tokens)
            return mailbox;
        return std::make_unique<TOAuthMailbox>(
            std::move(mailbox), std::move(tokens), [token](const QString &access) { token->SetToken(access); },
            [token](const ELoginError &) { return !token->Challenge().isEmpty(); });
    }
    auto mailbox = std::make_unique<TPop3Mailbox>();
    LoadSlot(mailbox->Client(), slot);
    mailbox->Client().SetTimeOut(options.timeOutSeconds);
    mailbox->Client().SetRAS(options.ras);
    mailbox->SetEvents(options.events);
    // A stored refresh token gets a fresh access token before each session.
    if (std::shared_ptr<TOAuthTokenSource> tokens = TokenSourceFor(slot, options.slot))
        return WithOAuthTokens(std::move(mailbox), std::move(tokens));
    return mailbox;
}

int MailboxNumber(const ServerSettings &servers, const QString &server, const QString &user)
{
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        if (AsciiEqualsIgnoreCase(slot.server.trimmed(), server) && AsciiEqualsIgnoreCase(slot.mailbox, user))
            return n;
    }
    return 0;
}
