#include "slotcheck.h"
#include "wording.h"

TTaskResult CheckAndMark(TMailbox &mailbox, TCheckParts &parts, int slot, int mailboxNumber, bool deleteMarked,
                         const std::function<void(int row, int count)> &rowAdded,
                         const std::function<void(const QList<int> &rows)> &deleting)
{
    parts.messages.Clear();
    const auto listed = [&](int index, int count, const TMailboxMessage &message) {
        // The list was cleared when the listing began, so row and message index stay equal; a
        // row that would break that is not added.
        if (index != parts.messages.Count())
            return;
        parts.messages.Append(TMessageListRow::FromMessage(message, slot, mailboxNumber));
        parts.evaluator.MarkForDeletion(index);
        if (rowAdded)
            rowAdded(index, count);
    };
    std::function<QList<int>()> pick;
    if (deleteMarked) {
        pick = [&] {
            const QList<int> rows = parts.messages.MarkedRows();
            if (deleting)
                deleting(rows);
            return rows;
        };
    }
    TTaskResult out = TCheckTask(mailbox).Run(listed, pick);
    // The whole list is marked again once it is complete (rules that compare rows see them all).
    if (out.ok)
        parts.evaluator.MarkForDeletion(-1);
    for (int i = 0; i < parts.messages.Count(); ++i)
        out.rows.append(parts.messages.Row(i));
    return out;
}

QString RecordDeletions(TCheckParts &parts, const QString &user, const QString &server, const QList<int> &rows)
{
    if (rows.isEmpty())
        return {};
    TMessageListModel &messages = parts.messages;
    {
        ActivityLog::Batch batch(parts.log);
        for (int row : rows) {
            if (row < 0 || row >= messages.Count())
                continue;
            const TMessageListRow &r = messages.Row(row);
            parts.log.logDeletion(user, server, {r.subject, r.sender, r.sizeText, r.DateText()});
        }
    }
    QString problem;
    parts.general.count += rows.size();
    if (!SaveSpamCount(parts.settings, parts.general.count))
        problem = Said("Guard", "The count of deleted spam could not be stored: %1").arg(parts.settings.lastError());
    // What is gone from the server leaves the list; the rest keep their marks.
    QList<TMessageListRow> kept;
    for (int row = 0; row < messages.Count(); ++row)
        if (!rows.contains(row))
            kept.append(messages.Row(row));
    if (kept.size() != messages.Count()) {
        messages.Clear();
        for (const TMessageListRow &r : std::as_const(kept))
            messages.Append(r);
    }
    return problem;
}

QString SaveHitCounts(TSpamSettings &spam)
{
    QString error;
    if (spam.Savesettings(&error))
        return {};
    return Said("Guard", "The rule lists could not be saved, so the hit counts of this check are not kept: %1")
        .arg(error);
}

QString FailureText(const TTaskResult &out, int slot, const QString &server, const QString &dialUpEntry)
{
    if (out.dialUp)
        return Said("Guard", "The dial-up connection \"%1\" could not be made: %2\nCheck the connection "
                              "and the entry chosen on the Connection tab of the General settings, then "
                              "try again.")
            .arg(dialUpEntry, out.text);
    if (out.loginDelay)
        return Said("Guard", "The server %1 refused the log-in because mailbox %2 was checked only a "
                              "short while ago: %3\nTry again later.")
            .arg(server, QString::number(slot), out.text);
    if (out.serverRefused)
        return Said("Guard", "The server %1 refused the request: %2\nIf it refused the log-in, check the "
                              "user name and password of mailbox %3 in the General settings.")
            .arg(server, out.text, QString::number(slot));
    return Said(out.text)
         + Said("Guard", "\nCheck the settings of mailbox %1 (server, user name, password, "
                          "security) in the General settings and the connection to the internet, "
                          "then try again.")
               .arg(slot);
}
