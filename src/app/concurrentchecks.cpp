#include "concurrentchecks.h"

#include "neterrors.h"

#include <QHash>
#include <QObject>
#include <QScopeGuard>
#include <QSemaphore>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace {

using namespace std::chrono_literals;

// One mailbox's conversation. Fields past the first three are guarded by TPass::mutex.
struct TJob
{
    int index = 0;
    MailboxSlot slot;
    QSemaphore *hostPermits = nullptr;
    TMailbox *mailbox = nullptr;  // while the conversation runs, for a cancel to abort it
    QObject *context = nullptr;   // lives in the job's thread: an abort is queued to it
    bool listed = false;          // the whole listing is in and waits for its marks
    bool asked = false;           // ... and the calling thread has taken it up
    TMailboxListing listing;
    std::optional<QList<int>> marks;
    bool done = false;
    TConcurrentCheck check;
    std::unique_ptr<QThread> thread;
};

struct TPass
{
    std::mutex mutex;
    std::condition_variable changed;
    bool canceled = false;
};

TConcurrentCheck Canceled()
{
    TConcurrentCheck check;
    check.result.ok = false;
    check.result.canceled = true;
    check.result.text = NetMessage(NetText::kCanceled);
    return check;
}

// Runs in the job's own thread: the mailbox is made, used and destroyed there.
void Converse(TPass &pass, TJob &job, bool deleting, TMailboxOptions options)
{
    const auto canceled = [&] {
        std::lock_guard lock(pass.mutex);
        return pass.canceled;
    };
    bool started = false;
    while (!started && !canceled())
        started = job.hostPermits->tryAcquire(1, 100);
    TConcurrentCheck check = Canceled();
    if (started) {
        const auto release = qScopeGuard([&] { job.hostPermits->release(); });
        std::unique_ptr<TMailbox> mailbox;
        // Goes before the mailbox: an abort still queued to it then never reaches a mailbox
        // being destroyed.
        QObject context;
        check = {};
        // A dial-up line is one for the whole program and is not handed to threads; the pass
        // over all mailboxes at once is not used with one (see the callers).
        options.ras = nullptr;
        options.events.failed = [&check](const QString &text) { check.errors << text; };
        mailbox = MakeMailbox(job.slot, options);
        {
            std::lock_guard lock(pass.mutex);
            job.mailbox = mailbox.get();
            job.context = &context;
        }
        TMailboxListing listing;
        const auto listed = [&](int index, int, const TMailboxMessage &message) {
            if (canceled())
                throw ECanceledError(NetMessage(NetText::kCanceled));
            if (index == listing.messages.size())
                listing.messages.append(message);
        };
        std::function<QList<int>()> pick;
        if (deleting) {
            pick = [&]() -> QList<int> {
                std::unique_lock lock(pass.mutex);
                job.listing = listing;
                job.listed = true;
                pass.changed.notify_all();
                pass.changed.wait(lock, [&] { return job.marks.has_value() || pass.canceled; });
                // After a cancel the mailbox is left as it was: no DELE, no QUIT.
                if (!job.marks || pass.canceled)
                    throw ECanceledError(NetMessage(NetText::kCanceled));
                check.classified = true;
                return *job.marks;
            };
        }
        TTaskResult result = canceled() ? Canceled().result : TCheckTask(*mailbox).Run(listed, pick);
        check.result = std::move(result);
        std::lock_guard lock(pass.mutex);
        job.mailbox = nullptr;
        job.context = nullptr;
    }
    std::lock_guard lock(pass.mutex);
    job.check = std::move(check);
    job.done = true;
    pass.changed.notify_all();
}

// With pass.mutex held.
void CancelAll(TPass &pass, std::vector<std::unique_ptr<TJob>> &jobs)
{
    if (pass.canceled)
        return;
    pass.canceled = true;
    for (const auto &job : jobs)
        if (job->context)
            QMetaObject::invokeMethod(job->context, [mailbox = job->mailbox] { mailbox->Abort(); }, Qt::QueuedConnection);
    pass.changed.notify_all();
}

} // namespace

void RunConcurrentChecks(const QList<MailboxSlot> &mailboxes, bool deleting, const TMailboxOptions &options,
                         const std::function<QList<int>(int job, const TMailboxListing &listing)> &classify,
                         const std::function<void(int job, TConcurrentCheck &check)> &finished,
                         const std::function<bool()> &stop, int perServer)
{
    TPass pass;
    std::vector<std::unique_ptr<TJob>> jobs;
    QHash<QString, std::shared_ptr<QSemaphore>> permits;
    for (const MailboxSlot &slot : mailboxes) {
        auto job = std::make_unique<TJob>();
        job->index = int(jobs.size());
        job->slot = slot;
        std::shared_ptr<QSemaphore> &hostPermits = permits[TMailboxIdentity::Of(slot).host];
        if (!hostPermits)
            hostPermits = std::make_shared<QSemaphore>(std::max(1, perServer));
        job->hostPermits = hostPermits.get();
        jobs.push_back(std::move(job));
    }
    // However the pass ends (a callback may throw), no conversation outlives it.
    const auto joinAll = qScopeGuard([&] {
        {
            std::lock_guard lock(pass.mutex);
            bool running = false;
            for (const auto &job : jobs)
                running = running || !job->done;
            if (running)
                CancelAll(pass, jobs);
        }
        for (const auto &job : jobs)
            if (job->thread)
                job->thread->wait();
    });
    // Started in mailbox order, so the first mailboxes of a busy server are talked to first.
    for (const auto &job : jobs) {
        TJob *own = job.get();
        job->thread.reset(QThread::create([&pass, own, deleting, options] { Converse(pass, *own, deleting, options); }));
        job->thread->start();
    }

    size_t next = 0;
    std::unique_lock lock(pass.mutex);
    while (next < jobs.size()) {
        const auto waiting = [&] {
            for (const auto &job : jobs)
                if (job->listed && !job->asked)
                    return job.get();
            return static_cast<TJob *>(nullptr);
        };
        pass.changed.wait_for(lock, 20ms, [&] { return (!pass.canceled && waiting()) || jobs[next]->done; });
        // Marks first: a conversation holds its session open until they come.
        while (TJob *job = pass.canceled ? nullptr : waiting()) {
            job->asked = true;
            const TMailboxListing listing = job->listing;
            const int index = job->index;
            lock.unlock();
            QList<int> marks = classify(index, listing);
            lock.lock();
            job->marks = std::move(marks);
            pass.changed.notify_all();
        }
        while (next < jobs.size() && jobs[next]->done) {
            TConcurrentCheck check = std::move(jobs[next]->check);
            lock.unlock();
            finished(int(next), check);
            lock.lock();
            ++next;
        }
        if (!pass.canceled && next < jobs.size()) {
            lock.unlock();
            const bool stopNow = stop && stop();
            lock.lock();
            if (stopNow)
                CancelAll(pass, jobs);
        }
    }
}
