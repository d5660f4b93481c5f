#include "connectiontest.h"

#include "imap.h"
#include "mailboxes.h"
#include "oauth.h"
#include "pop3mailbox.h"
#include "wording.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

namespace {

// reached: the line was up when the log-in was tried (else only what was asked for is known).
QString SecurityText(const MailboxSlot &mailbox, bool reached, bool encrypted)
{
    if (!reached && mailbox.tls != TlsMode::None)
        return mailbox.tls == TlsMode::Implicit ? Said("Guard", "implicit TLS asked for; the connection did not get that far")
                                                : Said("Guard", "STLS asked for; the connection did not get that far");
    switch (mailbox.tls) {
    case TlsMode::Implicit:
        return encrypted ? Said("Guard", "TLS from the first byte (implicit TLS)")
                         : Said("Guard", "implicit TLS was asked for, but the line was not protected");
    case TlsMode::StartTls:
        return encrypted ? Said("Guard", "TLS after STLS: the greeting was readable, the log-in was not")
                         : Said("Guard", "STLS was asked for, but the line was not protected");
    case TlsMode::None:
        break;
    }
    return Said("Guard", "none: the log-in and the messages' header lines cross the network readable. Choose "
                          "implicit TLS where the server offers it");
}

QString LoginText(SaslMechanism mechanism)
{
    switch (mechanism) {
    case SaslMechanism::UserPass: return Said("Guard", "USER and PASS (the password as it is, inside the protected line)");
    case SaslMechanism::Plain: return Said("Guard", "AUTH PLAIN with the password");
    case SaslMechanism::XOAuth2: return Said("Guard", "AUTH XOAUTH2 with an OAuth2 access token");
    case SaslMechanism::OAuthBearer: return Said("Guard", "AUTH OAUTHBEARER with an OAuth2 access token");
    }
    return {};
}

} // namespace

QStringList TConnectionReport::Lines() const
{
    QStringList lines;
    lines << (ok ? Said("Guard", "Connection test passed.") : Said("Guard", "Connection test failed."));
    if (!security.isEmpty())
        lines << Said("Guard", "Security: %1").arg(security);
    if (!login.isEmpty())
        lines << Said("Guard", "Log-in: %1").arg(login);
    if (ok && imap) {
        lines << (idle ? Said("Guard", "New mail at once (IDLE): offered (automatic mode checks within seconds of new mail)")
                       : Said("Guard", "New mail at once (IDLE): not offered (automatic mode asks every minute)"));
        lines << (uidplus ? Said("Guard", "Removing single messages (UIDPLUS): offered")
                          : Said("Guard", "Removing single messages (UIDPLUS): not offered (deleted spam is flagged; "
                                          "your mail program removes it)"));
        lines << Said("Guard", "Messages in the folder: %1").arg(messages);
    } else if (ok) {
        lines << (pipelining ? Said("Guard", "Pipelining: offered (a check takes fewer round trips)")
                             : Said("Guard", "Pipelining: not offered (one command at a time)"));
        lines << (uidl ? Said("Guard", "Unique ids (UIDL): offered (a deletion is checked against the message's id)")
                       : Said("Guard", "Unique ids (UIDL): not offered (a deletion is checked by size and header lines)"));
        lines << Said("Guard", "Messages waiting: %1").arg(messages);
    }
    if (!answer.isEmpty())
        lines << Said("Guard", "Server: %1").arg(answer);
    return lines;
}

namespace {

// An IMAP mailbox: logged in to and its folder opened read-only, as a check starts, then left.
TConnectionReport TestImapConnection(const MailboxSlot &mailbox, int slot, int timeOutSeconds)
{
    TConnectionReport report;
    report.imap = true;
    TMailboxOptions options;
    options.timeOutSeconds = timeOutSeconds;
    options.slot = slot;
    const std::unique_ptr<TMailbox> box = MakeMailbox(mailbox, options);
    // A stored OAuth2 sign-in comes wrapped: the wrapper logs in (it hands the token over),
    // the IMAP mailbox inside tells what the server offers.
    TMailbox *inner = box.get();
    if (auto *tokens = dynamic_cast<TOAuthMailbox *>(inner))
        inner = &tokens->Inner();
    auto *imap = dynamic_cast<TImapMailbox *>(inner);
    if (!imap)
        return report;
    const TImapClient &client = imap->Client();
    // The server answered the log-in (or the folder): the line was up, protected as asked,
    // since the client sends nothing over a line that is not.
    bool reached = true;
    try {
        box->LogIn();
        report.ok = true;
        report.messages = int(std::clamp<qint64>(imap->Exists(), -1, INT_MAX));
        report.idle = client.Capabilities().Has("IDLE");
        report.uidplus = client.Capabilities().Has("UIDPLUS");
        box->LogOut();
        report.answer = QCoreApplication::translate("TConnectionReport", "accepted the log-in and opened the folder");
    } catch (const ENetError &e) {
        report.answer = e.Message();
        reached = dynamic_cast<const EServerError *>(&e) != nullptr;
    }
    report.security = SecurityText(mailbox, reached, reached && mailbox.tls != TlsMode::None);
    if (reached) {
        const QStringList offered = client.Capabilities().AuthMechanisms();
        const char *login = QT_TRANSLATE_NOOP("TConnectionReport", "LOGIN (the password inside the protected line)");
        if (mailbox.login == MailboxLogin::OAuth2)
            login = QT_TRANSLATE_NOOP("TConnectionReport", "AUTHENTICATE with an OAuth2 access token");
        else if (client.Capabilities().Has("LOGINDISABLED") && offered.contains(QStringLiteral("PLAIN")))
            login = QT_TRANSLATE_NOOP("TConnectionReport", "AUTHENTICATE PLAIN with the password");
        report.login = QCoreApplication::translate("TConnectionReport", login);
    }
    return report;
}

} // namespace

TConnectionReport TestConnection(const MailboxSlot &mailbox, int slot, int timeOutSeconds)
{
    if (mailbox.protocol == MailProtocol::Imap)
        return TestImapConnection(mailbox, slot, timeOutSeconds);
    TConnectionReport report;
    TPop3Client client;
    LoadSlot(client, mailbox);
    client.SetTimeOut(timeOutSeconds);
    // CAPA is what the test reports, whatever the slot's pipelining says.
    client.SetUsePipelining(true);
    const std::shared_ptr<TOAuthTokenSource> tokens = TokenSourceFor(mailbox, slot);
    if (!tokens && mailbox.login == MailboxLogin::OAuth2 && mailbox.secrets != SecretPlace::Command) {
        {
            report.answer = Said("Guard", "Tarnwick knows no OAuth2 provider for the server %1: log in with a password, "
                                           "or give a token command (tarnwick-cli mailbox set %2 --token-command CMD)")
                                .arg(mailbox.server.trimmed())
                                .arg(slot);
            return report;
        }
    }
    bool reached = false;
    bool encrypted = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (tokens) {
                QString error;
                const QString token = tokens->AccessToken(&error);
                if (token.isEmpty()) {
                    report.answer = error;
                    return report;
                }
                client.SetPassword(token);
            }
            client.Connect();
            reached = true;
            encrypted = client.Encrypted();
            report.ok = true;
            report.messages = client.MessageCount();
            client.Disconnect();
            report.answer = Said("Guard", "accepted the log-in; its goodbye was \"%1\"").arg(client.LastReply().left(200));
        } catch (const ENetError &e) {
            report.ok = false;
            report.answer = e.Message();
            // A refused log-in comes after the greeting (and the handshake).
            if (!client.LastCommand().isEmpty() && client.LastCommand() != u"STLS") {
                reached = true;
                encrypted = client.Encrypted() || mailbox.tls != TlsMode::None;
            }
            client.Close();
            // A token the server refused gets one more try with a fresh one.
            if (tokens && attempt == 0 && !client.LoginDelayRefused() && client.Mechanism() != SaslMechanism::UserPass
                && client.LastCommand().startsWith(QLatin1String("AUTH"))) {
                tokens->Refused();
                continue;
            }
        }
        break;
    }
    report.security = SecurityText(mailbox, reached, encrypted);
    report.login = report.ok || client.LastCommand().startsWith(QLatin1String("AUTH"))
                           || client.LastCommand().startsWith(QLatin1String("USER"))
                           || client.LastCommand().startsWith(QLatin1String("PASS"))
                       ? LoginText(client.Mechanism())
                       : QString();
    report.pipelining = client.Capabilities().Pipelining;
    report.uidl = client.Capabilities().Uidl;
    return report;
}
