#pragma once

#include "checktask.h"
#include "knownlist.h"
#include "mailboxes.h"
#include "messagelistmodel.h"
#include "spamsettings.h"

#include <QList>
#include <QStringList>
#include <functional>

// How many conversations with one server (by host name) run at the same time in a pass over
// all mailboxes: enough that twelve mailboxes on one provider take little longer than one,
// few enough that no provider takes us for a flood of log-ins.
inline constexpr int kConnectionsPerServer = 4;

// Where what a conversation in another thread told is told again, on the calling thread.
struct TCheckReplay
{
    TMailboxEvents events;
    std::function<void(int index, int count)> listed;        // message index joined the listing
    std::function<void(const QList<int> &marked)> picking;   // the listed indexes to delete were taken
};

// What the conversation with one mailbox of a concurrent pass came to, handed back as values.
struct TConcurrentCheck
{
    TTaskResult result;   // as a check task returns it
    // What the conversation told as it went (events, messages listed, marks taken), in order.
    QList<std::function<void(const TCheckReplay &to)>> told;
    // The listed messages as rows (slot and mailbox 0, unmarked), made in the conversation's
    // thread: the calling thread only marks them.
    QList<TMessageListRow> listed;
    int loginDelay = 0;   // the pause between log-ins the server announced (seconds)
    bool classified = false;  // the listing was handed to classify during the conversation

    void Replay(const TCheckReplay &to) const
    {
        for (const auto &step : told)
            step(to);
    }
};

// The checks of several mailboxes at once. Each conversation runs in a thread of its own with
// a mailbox made and used only there (the client waits in nested event loops, so two
// conversations cannot share one thread); everything else stays on the calling thread:
//  - classify(job, listed) is called there as soon as job's whole listing is in (as rows, see
//    TConcurrentCheck::listed), when it is to delete in the listing's session; it returns the
//    listing indexes to delete, and the conversation, which waited for them, deletes them and
//    ends. Calls come in the order the listings arrive.
//  - finished(job, check) is called there once per job, strictly in job order, each as soon as
//    it and every job before it have ended. A canceled job comes with result.canceled.
//  - stop is asked while waiting (with an application object, events are handled meanwhile,
//    so a window stays drawn and its cancel reachable); once it says yes, every running
//    conversation is aborted (nothing is deleted by a session that did not end) and no job
//    that had not started starts.
// At most perServer conversations talk to one host at a time. Returns when every conversation
// has ended and every finished call was made.
void RunConcurrentChecks(const QList<MailboxSlot> &jobs, bool deleting, const TMailboxOptions &options,
                         const std::function<QList<int>(int job, const QList<TMessageListRow> &listed)> &classify,
                         const std::function<void(int job, TConcurrentCheck &check)> &finished,
                         const std::function<bool()> &stop, int perServer = kConnectionsPerServer);

// Whether slot's conversation may run in a thread of its own: not over a dial-up line (one
// connection for the whole program, made and dropped around each conversation) and not with
// OAuth2 (its token renewal writes the settings and the keyring, which belong to the calling
// thread).
bool MayCheckConcurrently(const MailboxSlot &slot, bool dialUp);

// What the calling thread does with each slot of RunSlotChecks, in the order chosen.
struct TSlotCheckSteps
{
    // Checks slot n with a conversation of the caller's own, in its place.
    std::function<void(int n)> alone;
    // Slot n's conversation ran alongside others and ended: rows holds its listing as rows of
    // slot n, marked as the check of that one mailbox marks them (each as it joins, the whole
    // list once more when the conversation ended well); ReplayCheck makes them the caller's.
    std::function<void(int n, TConcurrentCheck &check, const TMessageListModel &rows)> together;
};

// The checks of the chosen slots of servers, those that may run concurrently all at once
// (RunConcurrentChecks), the others through steps.alone; steps are taken strictly in the order
// chosen. With deleting, the marked messages are deleted in the listing's session. The rows are
// marked with spam's rules (whose hit counts go up as a check of one mailbox raises them) and
// known. stop ends the pass: running conversations are aborted, no alone slot starts. Each
// network wait of the conversations may take timeOutSeconds.
void RunSlotChecks(const ServerSettings &servers, const QList<int> &chosen, bool deleting, bool dialUp,
                   TSpamSettings &spam, const TKnownList &known, const TSlotCheckSteps &steps,
                   const std::function<bool()> &stop, int timeOutSeconds = TMailboxOptions().timeOutSeconds);

// What the check of one mailbox on the calling thread would have done to messages, for one that
// ran concurrently: messages is cleared, each row of rows joins it as its message was listed,
// and everything the conversation told is told to to in the order it came. Returns the
// conversation's result with the rows as listed and marked.
TTaskResult ReplayCheck(const TConcurrentCheck &check, const TMessageListModel &rows, TMessageListModel &messages,
                        const TCheckReplay &to);
