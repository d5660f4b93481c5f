#include "mailboxsetup.h"

#include "files.h"
#include "linecodec.h"
#include "logformat.h"
#include "rulewords.h"
#include "spamsettings.h"
#include "wording.h"

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

QString FirstMailboxRuleText(const QString &userName)
{
    return Said("Guard", "header rule \"%1 %2\" (suspect) added").arg(RuleWords::ToDoesNotContain, userName + RuleWords::MailBoxMark + u'1');
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
