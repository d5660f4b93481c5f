#include "unattendedcheck.h"

#include "concurrentchecks.h"
#include "mailboxes.h"
#include "runparts.h"
#include "slotcheck.h"
#include "textutil.h"
#include "wording.h"

#include <utility>

TUnattendedCheck::TUnattendedCheck() : m_evaluator(m_spam, m_known, &m_messages)
{
    // A log problem met during a check is told when the check has ended.
    m_log.setErrorHandler([this](const QString &text) { m_problems << text; });
}

TUnattendedCheck::~TUnattendedCheck()
{
    m_log.close();
}

bool TUnattendedCheck::IsSetUp(const MailboxSlot &slot)
{
    return !IsBlankText(slot.mailbox) && !IsBlankText(slot.server.trimmed());
}

QStringList TUnattendedCheck::Load()
{
    return LoadRunFiles({m_settings, m_general, m_servers, m_spam, m_known, m_ras, m_log});
}

TTaskResult TUnattendedCheck::Check(int n, bool deleteMarked, TPrompts &prompts)
{
    const MailboxSlot &slot = m_servers.slot(n);
    const QString server = slot.server.trimmed();
    TTaskResult out;
    if (!IsSetUp(slot)) {
        prompts.ErrorBox(IsBlankText(slot.mailbox)
                             ? Said("Guard", "You need to enter your e-mail username in the settings.")
                             : Said("Guard", "You need to enter the name of your mail server in the settings."));
        out.ok = false;
        out.text = Said("Guard", "The mailbox is not set up.");
        return out;
    }
    TMailboxOptions options;
    options.ras = &m_ras;
    options.slot = n;
    options.events.failed = [&](const QString &text) { m_log.logError(text, slot.mailbox, server); };
    const std::unique_ptr<TMailbox> mailbox = MakeMailbox(slot, options);
    TCheckParts parts{m_evaluator, m_messages, m_log, m_settings, m_general, m_spam};
    out = CheckAndMark(*mailbox, parts, n, MailboxNumber(m_servers, server, slot.mailbox), deleteMarked);
    conclude(n, out, prompts);
    return out;
}

void TUnattendedCheck::conclude(int n, const TTaskResult &out, TPrompts &prompts)
{
    const MailboxSlot &slot = m_servers.slot(n);
    const QString server = slot.server.trimmed();
    TCheckParts parts{m_evaluator, m_messages, m_log, m_settings, m_general, m_spam};
    if (out.ok) {
        m_log.logCheck(m_messages.Count(), slot.mailbox, server);
        m_problems << RecordDeletions(parts, slot.mailbox, server, out.deleted);
    } else if (!out.fingerprint.isEmpty())
        prompts.AskTrustCertificate(n, out.text, out.fingerprint);
    else
        prompts.ErrorBox(FailureText(out, n, server, m_ras.Service()));
    // The rows evaluated so far have added to the hit counts, also when the check failed.
    m_problems << SaveHitCounts(m_spam);
    for (const QString &problem : std::exchange(m_problems, {}))
        if (!problem.isEmpty())
            prompts.ErrorBox(problem);
}

void TUnattendedCheck::CheckAll(const QList<int> &chosen, bool deleteMarked, TPrompts &prompts,
                                const std::function<void(int n)> &starting,
                                const std::function<void(int n, const TTaskResult &result)> &checked,
                                const std::function<bool()> &stop)
{
    TSlotCheckSteps steps;
    const auto checkAlone = [&](int n) {
        if (starting)
            starting(n);
        const TTaskResult result = Check(n, deleteMarked, prompts);
        if (checked)
            checked(n, result);
    };
    steps.alone = checkAlone;
    steps.together = [&](int n, TConcurrentCheck &check, const TMessageListModel &rows) {
        if (starting)
            starting(n);
        const MailboxSlot &slot = m_servers.slot(n);
        TCheckReplay to;
        to.events.failed = [&](QString &text) { m_log.logError(text, slot.mailbox, slot.server.trimmed()); };
        const TTaskResult out = ReplayCheck(check, rows, m_messages, to);
        conclude(n, out, prompts);
        if (checked)
            checked(n, out);
    };
    RunSlotChecks(m_servers, chosen, deleteMarked, !m_ras.Service().isEmpty(), m_spam, m_known, steps, stop);
}
