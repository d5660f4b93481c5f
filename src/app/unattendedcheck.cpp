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

void TUnattendedCheck::classify(TMessageListModel &rows, int n, const TMailboxListing &listing, int from, bool whole)
{
    // The same steps in the same order as a check of one mailbox: each row is marked as it
    // joins the list, the whole list once more when the conversation ended well.
    const MailboxSlot &slot = m_servers.slot(n);
    const int mailboxNumber = MailboxNumber(m_servers, slot.server.trimmed(), slot.mailbox);
    TRuleEvaluator evaluator(m_spam, m_known, &rows);
    for (int i = from; i < listing.messages.size(); ++i) {
        rows.Append(TMessageListRow::FromMessage(listing.messages.at(i), n, mailboxNumber));
        evaluator.MarkForDeletion(i);
    }
    if (whole)
        evaluator.MarkForDeletion(-1);
}

void TUnattendedCheck::CheckAll(const QList<int> &chosen, bool deleteMarked, TPrompts &prompts,
                                const std::function<void(int n)> &starting,
                                const std::function<void(int n, const TTaskResult &result)> &checked,
                                const std::function<bool()> &stop)
{
    // A dial-up line is the program's one connection, made and dropped around each
    // conversation: with one set, the mailboxes are checked one after another.
    QList<int> together;
    QList<MailboxSlot> jobs;
    for (int n : chosen)
        // An OAuth2 mailbox renews its token through the settings and the keyring, which
        // belong to this thread: it is checked in its place, as with a dial-up line.
        if (m_ras.Service().isEmpty() && IsSetUp(m_servers.slot(n)) && m_servers.slot(n).login != MailboxLogin::OAuth2) {
            together << n;
            jobs << m_servers.slot(n);
        }
    std::vector<std::unique_ptr<TMessageListModel>> rows;
    for (qsizetype i = 0; i < together.size(); ++i)
        rows.push_back(std::make_unique<TMessageListModel>());
    qsizetype done = 0;  // the chosen whose results have been told
    const auto checkAlone = [&](int n) {
        if (starting)
            starting(n);
        const TTaskResult result = Check(n, deleteMarked, prompts);
        if (checked)
            checked(n, result);
    };
    const auto classifyListed = [&](int job, const TMailboxListing &listing) {
        classify(*rows[size_t(job)], together.at(job), listing, 0, false);
        return rows[size_t(job)]->MarkedRows();
    };
    const auto finished = [&](int job, TConcurrentCheck &check) {
        const int n = together.at(job);
        // Slots left to one after another come in their place.
        for (; done < chosen.size() && chosen.at(done) != n; ++done)
            checkAlone(chosen.at(done));
        ++done;
        if (starting)
            starting(n);
        TTaskResult &out = check.result;
        TMessageListModel &own = *rows[size_t(job)];
        // Rows not handed over during the conversation are marked now.
        if (!check.classified)
            own.Clear();
        classify(own, n, out.listing, own.Count(), out.ok);
        const MailboxSlot &slot = m_servers.slot(n);
        for (const QString &text : std::as_const(check.errors))
            m_log.logError(text, slot.mailbox, slot.server.trimmed());
        m_messages.Clear();
        for (int i = 0; i < own.Count(); ++i) {
            m_messages.Append(own.Row(i));
            out.rows.append(own.Row(i));
        }
        conclude(n, out, prompts);
        if (checked)
            checked(n, out);
    };
    TMailboxOptions options;
    RunConcurrentChecks(jobs, deleteMarked, options, classifyListed, finished, stop);
    for (; done < chosen.size() && !(stop && stop()); ++done)
        checkAlone(chosen.at(done));
}
