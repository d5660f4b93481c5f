#pragma once

#include "checktask.h"
#include "settings.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <array>
#include <functional>

// The pauses servers ask for between two log-ins (POP3 LOGIN-DELAY), per mailbox slot: no
// automatic log-in to a slot before its pause has passed.
class TLoginDelays
{
public:
    // Whether slot n's server asked for a pause that has not passed yet.
    bool Pending(int n) const;
    // After a conversation with slot n: the pause its server announced (seconds; none when 0
    // or less), counted from now, a little later than the log-in the server counts from, so
    // the next one is never early.
    void Note(int n, int seconds);
    // The time of day ("HH:mm") when slot n may log in again.
    QString Until(int n) const;
    // "MailBox user skipped until hh:mm", for the caption of the automatic pass.
    QString SkipNote(int n, const QString &user) const;

private:
    std::array<QDeadlineTimer, kMailboxSlots> m_notBefore{};
};

// What one slot's check in an automatic pass came to.
struct TPassCheck
{
    TTaskResult result;
    bool delayed = false;  // the server refused the log-in as too soon after the last one
    int rowsLeft = 0;      // messages left for the user once the check (and its deletion) ended
};

// What an automatic pass found: the first mailbox with messages left for the user (none when
// foundUser is empty) and the mailboxes it left alone because their servers want a pause.
struct TPassSummary
{
    QString foundUser;
    int foundCount = 0;
    QStringList skipped;
};

// How a pass takes up slot n: check runs its check (or tells one that already ran) when the
// pass calls it. False when the pass wants no more slots.
using TPassVisit = std::function<bool(int slot, const std::function<TPassCheck()> &check)>;

// One automatic pass over the slots in order. Every slot with a server and a user name is due
// unless its server wants a pause (skipped, and so is a slot whose log-in check reports as too
// soon). run checks the due slots and takes each up through visit, in order, until visit says
// no more (the checks may run at once; what follows each is told in its place). stop is asked
// before each slot and after each check. Without deleting the pass ends at the first mailbox
// with messages. With deleting, what is left after the spam went is mail for the user: the pass
// goes on to the other mailboxes and reports the first one with mail. skipped hears of each
// slot left out for its pause, in its place among the checks.
TPassSummary RunAutomaticPass(const ServerSettings &servers, bool deleting, const TLoginDelays &delays,
                              const std::function<void(const QList<int> &due, const TPassVisit &visit)> &run,
                              const std::function<bool()> &stop, const std::function<void(int slot)> &skipped = {});
