#pragma once

#include "checktask.h"
#include "mailboxes.h"

#include <QList>
#include <QStringList>
#include <functional>

// How many conversations with one server (by host name) run at the same time in a pass over
// all mailboxes: enough that twelve mailboxes on one provider take little longer than one,
// few enough that no provider takes us for a flood of log-ins.
inline constexpr int kConnectionsPerServer = 4;

// What the conversation with one mailbox of a concurrent pass came to, handed back as values.
struct TConcurrentCheck
{
    TTaskResult result;   // as a check task returns it (result.listing holds what was listed)
    QStringList errors;   // what the connection met, in order, as the client reported it
    bool classified = false;  // the listing was handed to classify during the conversation
};

// The checks of several mailboxes at once. Each conversation runs in a thread of its own with
// a mailbox made and used only there (the client waits in nested event loops, so two
// conversations cannot share one thread); everything else stays on the calling thread:
//  - classify(job, listing) is called there as soon as job's whole listing is in, when it is
//    to delete in the listing's session; it returns the listing indexes to delete, and the
//    conversation, which waited for them, deletes them and ends. Calls come in the order the
//    listings arrive.
//  - finished(job, check) is called there once per job, strictly in job order, each as soon as
//    it and every job before it have ended. A canceled job comes with result.canceled.
//  - stop is asked while waiting; once it says yes, every running conversation is aborted
//    (nothing is deleted by a session that did not end) and no job that had not started
//    starts.
// At most perServer conversations talk to one host at a time. Returns when every conversation
// has ended and every finished call was made.
void RunConcurrentChecks(const QList<MailboxSlot> &jobs, bool deleting, const TMailboxOptions &options,
                         const std::function<QList<int>(int job, const TMailboxListing &listing)> &classify,
                         const std::function<void(int job, TConcurrentCheck &check)> &finished,
                         const std::function<bool()> &stop, int perServer = kConnectionsPerServer);
