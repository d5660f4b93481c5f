#include "mailboxsetup.h"

#include "linecodec.h"
#include "rulewords.h"

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
    return QStringLiteral("Mailbox %1 uses plain POP3 without encryption: the password and the mail cross the "
                          "network to %2 readable by anyone on the way. Choose Implicit TLS or STARTTLS if "
                          "the server offers it.")
        .arg(QString::number(n), host);
}

QString FirstMailboxRuleText(const QString &userName)
{
    return QStringLiteral("header rule \"%1 %2\" (suspect) added").arg(RuleWords::ToDoesNotContain, userName + RuleWords::MailBoxMark + u'1');
}
