#include "mailboxsetup.h"

#include "files.h"
#include "linecodec.h"
#include "logformat.h"
#include "oauth.h"
#include "prompts.h"
#include "rulewords.h"
#include "secrets.h"
#include "spamsettings.h"
#include "wording.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QHostAddress>

bool IsThisMachine(const QString &host)
{
    const QString name = host.trimmed().toLower();
    if (name == u"localhost" || name.endsWith(QStringLiteral(".localhost")))
        return true;
    const QHostAddress address(name);
    return !address.isNull() && address.isLoopback();
}

QString PlainPasswordNotice(const MailboxSlot &before, const MailboxSlot &after, int n)
{
    if (after.tls != TlsMode::None || after.server.trimmed().isEmpty())
        return {};
    const QString host = SplitServer(after.server.trimmed()).Host;
    if (IsThisMachine(host))
        return {};
    // Shown once: when the choice is made, not each time the slot is stored again.
    if (before.tls == TlsMode::None && SplitServer(before.server.trimmed()).Host.compare(host, Qt::CaseInsensitive) == 0)
        return {};
    return Said("Guard", "Mailbox %1 uses plain POP3 without encryption: the password and the mail cross the "
                          "network to %2 readable by anyone on the way. Choose Implicit TLS or STARTTLS if "
                          "the server offers it.")
        .arg(QString::number(n), host);
}

int UsualPort(MailProtocol protocol, TlsMode tls)
{
    const bool implicit = tls == TlsMode::Implicit;
    if (protocol == MailProtocol::Imap)
        return implicit ? 993 : 143;
    return implicit ? 995 : 110;
}

TServerProposal ProposeServer(const QString &address, MailProtocol protocol)
{
    TServerProposal out;
    const QString domain = address.section(u'@', 1).trimmed().toLower();
    if (domain == u"icloud.com" || domain == u"me.com" || domain == u"mac.com") {
        out.protocol = MailProtocol::Imap;
        out.host = QStringLiteral("imap.mail.me.com");
    } else if (const std::optional<OAuthProvider> provider = OAuthProviderForAddress(address)) {
        out.protocol = protocol;
        out.host = (protocol == MailProtocol::Imap ? provider->imapServer : provider->server).section(u':', 0, 0);
        out.oauth2 = true;
    } else {
        out.protocol = protocol;
        if (!domain.isEmpty())
            out.host = (protocol == MailProtocol::Imap ? QStringLiteral("imap.") : QStringLiteral("pop.")) + domain;
    }
    out.port = UsualPort(out.protocol, TlsMode::Implicit);
    return out;
}

QString FirstMailboxRuleText(const QString &userName)
{
    return Said("Guard", "header rule \"%1 %2\" (suspect) added").arg(RuleWords::ToDoesNotContain, userName + RuleWords::MailBoxMark + u'1');
}

QSet<int> PlaceNewSecrets(ServerSettings &servers, const ServerSettings &before, TPrompts &prompts)
{
    QSet<int> unstored;
    std::optional<QString> keyringProblem;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        MailboxSlot &slot = servers.slot(n);
        const MailboxSlot &shown = before.slot(n);
        if (slot.secrets == SecretPlace::File || slot.secrets == SecretPlace::Command
            || (slot.password.isEmpty() && slot.refreshToken.isEmpty()) || IsBlankText(slot.server)
            || CheckMailboxSlot(slot, n))
            continue;
        const bool isNew = slot.password != shown.password || slot.refreshToken != shown.refreshToken
                           || slot.account() != shown.account();
        // A password kept from before the keyring waits where it is for the start that moves it.
        if (!isNew && slot.secrets == SecretPlace::Unchosen)
            continue;
        if (!keyringProblem)
            keyringProblem = KeyringProblem();
        slot.secrets = SecretPlace::Keyring;
        if (keyringProblem->isEmpty())
            continue;
        // What the keyring held is left alone; the user was asked when it was new.
        if (!isNew) {
            unstored.insert(n);
            continue;
        }
        const bool signIn = slot.login == MailboxLogin::OAuth2 && !slot.refreshToken.isEmpty();
        const QString question =
            signIn ? QCoreApplication::translate("TSecretPlaces",
                                                 "The desktop keyring is not available: %2.\n\nTarnwick can keep the "
                                                 "sign-in of mailbox %1 in its settings file, which only you can read, "
                                                 "or not store it.")
                   : QCoreApplication::translate("TSecretPlaces",
                                                 "The desktop keyring is not available: %2.\n\nTarnwick can keep the "
                                                 "password of mailbox %1 in its settings file, which only you can "
                                                 "read, or not store it.");
        if (prompts.AskKeepSecretInFile(question.arg(n).arg(*keyringProblem))) {
            slot.secrets = SecretPlace::File;
            continue;
        }
        unstored.insert(n);
        prompts.InfoBox(
            signIn ? QCoreApplication::translate("TSecretPlaces",
                                                 "The sign-in of mailbox %1 is not stored. Tarnwick uses it only until "
                                                 "you quit; after that, and in checks nobody watches (tarnwick-cli), "
                                                 "Tarnwick cannot log in to this mailbox until you sign in again while "
                                                 "the desktop keyring runs.")
                         .arg(n)
                   : QCoreApplication::translate("TSecretPlaces",
                                                 "The password of mailbox %1 is not stored. Tarnwick uses it only until "
                                                 "you quit; after that, and in checks nobody watches (tarnwick-cli), "
                                                 "Tarnwick cannot log in to this mailbox until you enter the password "
                                                 "again while the desktop keyring runs.")
                         .arg(n));
    }
    return unstored;
}

bool IsFreshInstallation(const ServerSettings &servers)
{
    return IsBlankText(servers.slot(1).server) && IsBlankText(servers.slot(1).mailbox);
}

std::optional<ImportedMailbox> ImportFirstMailbox()
{
    const MachineSettings machine;
    if (auto box = CheckEudora(machine); box && !box->server.isEmpty())
        return box;
    if (auto box = CheckNetscape(machine); box && !box->server.isEmpty())
        return box;
    return ImportThunderbirdMailbox(QDir::homePath());
}

void TFirstRun::TakeOverMailbox(MailboxSlot &first,
                                const std::function<std::optional<ImportedMailbox>()> &importMailbox) const
{
    if (!m_pending || !first.server.isEmpty() || !importMailbox)
        return;
    if (const std::optional<ImportedMailbox> box = importMailbox()) {
        first.server = box->server;
        if (!box->mailbox.isEmpty())
            first.mailbox = box->mailbox;
        first.tls = box->tls;
    }
}

TFirstRun::Rule TFirstRun::AddHeaderRule(const QString &userName, TSpamSettings &spam, QString *error)
{
    if (!m_pending || IsBlankText(userName))
        return Rule::Waiting;
    // Once only, also when it could not be stored: the error said so, and a second try at
    // every showing would only repeat it.
    m_pending = false;
    return spam.AddFirstRunHeaderRule(userName, error) ? Rule::Added : Rule::Failed;
}

QString LogFileOrDefault(const QString &logFile)
{
    return logFile.isEmpty() ? DefaultLogFileName() : logFile;
}

void FillGeneralDefaults(GeneralSettings &general, const std::function<QString()> &findMailProgram,
                         const QDate &today)
{
    if (general.mailer.isEmpty() && findMailProgram)
        general.mailer = findMailProgram();
    if (general.alarmFile.isEmpty())
        general.alarmFile = DataFile(QStringLiteral("harptune.wav"));
    general.logFile = LogFileOrDefault(general.logFile);
    if (general.logNaming != LogNaming::AsIs)
        general.logFile = LogFileName(general.logFile, general.logNaming, today, DataFolder());
}
