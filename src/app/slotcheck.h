#pragma once

#include "activitylog.h"
#include "checktask.h"
#include "evaluator.h"
#include "messagelistmodel.h"
#include "settings.h"
#include "spamsettings.h"

#include <functional>

// What the check of a mailbox works with besides the mailbox: the rules that mark, the rows
// they mark, the activity log, and the settings the count of deleted spam is stored in. The
// window's guard and tarnwick-cli each own these; the steps below are the same for both.
struct TCheckParts
{
    TRuleEvaluator &evaluator;
    TMessageListModel &messages;
    ActivityLog &log;
    UserSettings &settings;
    GeneralSettings &general;
    TSpamSettings &spam;
};

// The check of one mailbox into the rows: the list is cleared, each listed message becomes a
// row of slot (mailbox: the number the per-mailbox rules compare with) and is marked at once
// (rowAdded follows, for progress). With deleteMarked the rows marked once the whole mailbox is
// listed are deleted in the listing's session (deleting is told them first). The result holds
// the rows as listed and marked, before deleted ones leave the list.
TTaskResult CheckAndMark(TMailbox &mailbox, TCheckParts &parts, int slot, int mailboxNumber, bool deleteMarked,
                         const std::function<void(int row, int count)> &rowAdded = {},
                         const std::function<void(const QList<int> &rows)> &deleting = {});

// After a deletion the server committed: each deleted row is logged and counted in the stored
// count of deleted spam, and leaves the list; the rest keep their marks. Returns the problem
// met storing the count, or empty.
QString RecordDeletions(TCheckParts &parts, const QString &user, const QString &server, const QList<int> &rows);

// Stores the rule lists, whose hit counts a check has raised; the problem, or empty.
QString SaveHitCounts(TSpamSettings &spam);

// What a failed conversation with mailbox slot means and what to do about it (a refused
// certificate and a cancel are the caller's to present).
QString FailureText(const TTaskResult &out, int slot, const QString &server, const QString &dialUpEntry);
