#include "concurrentchecks.h"

#include "neterrors.h"
#include "textutil.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHash>
#include <QObject>
#include <QTimer>
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
    bool waiting = false;         // the whole listing is in and waits for its marks
    bool asked = false;           // ... and the calling thread has taken it up
    QList<TMessageListRow> listed;
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
    // Wakes the calling thread's event loop, when it waits in one; called with mutex held.
    std::function<void()> wake;

    void Changed()
    {
        changed.notify_all();
        if (wake)
            wake();
    }
};

using TTold = QList<std::function<void(const TCheckReplay &)>>;

template <std::function<void()> TMailboxEvents::*Event>
void Record(TMailboxEvents &events, TTold &told)
{
    events.*Event = [&told] {
        told.append([](const TCheckReplay &to) {
            if (to.events.*Event)
                (to.events.*Event)();
        });
    };
}

template <std::function<void(int)> TMailboxEvents::*Event>
void RecordIndex(TMailboxEvents &events, TTold &told)
{
    events.*Event = [&told](int index) {
        told.append([index](const TCheckReplay &to) {
            if (to.events.*Event)
                (to.events.*Event)(index);
        });
    };
}

// Events that only note what happened, to be told again on the calling thread.
TMailboxEvents Recording(TTold &told)
{
    TMailboxEvents e;
    Record<&TMailboxEvents::connecting>(e, told);
    Record<&TMailboxEvents::listing>(e, told);
    Record<&TMailboxEvents::transferring>(e, told);
    Record<&TMailboxEvents::transferred>(e, told);
    Record<&TMailboxEvents::closing>(e, told);
    Record<&TMailboxEvents::closed>(e, told);
    Record<&TMailboxEvents::canceled>(e, told);
    RecordIndex<&TMailboxEvents::deleting>(e, told);
    RecordIndex<&TMailboxEvents::retrieving>(e, told);
    RecordIndex<&TMailboxEvents::retrieved>(e, told);
    e.failed = [&told](QString &text) {
        told.append([text](const TCheckReplay &to) {
            QString own = text;
            if (to.events.failed)
                to.events.failed(own);
        });
    };
    return e;
}

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
        options.events = Recording(check.told);
        mailbox = MakeMailbox(job.slot, options);
        {
            std::lock_guard lock(pass.mutex);
            job.mailbox = mailbox.get();
            job.context = &context;
        }
        const auto listed = [&](int index, int count, const TMailboxMessage &message) {
            if (canceled())
                throw ECanceledError(NetMessage(NetText::kCanceled));
            // Listing index and row stay one: a message out of turn is not taken.
            if (index != check.listed.size())
                return;
            check.listed.append(TMessageListRow::FromMessage(message, 0, 0));
            check.told.append([index, count](const TCheckReplay &to) {
                if (to.listed)
                    to.listed(index, count);
            });
        };
        std::function<QList<int>()> pick;
        if (deleting) {
            pick = [&]() -> QList<int> {
                std::unique_lock lock(pass.mutex);
                job.listed = check.listed;
                job.waiting = true;
                pass.Changed();
                pass.changed.wait(lock, [&] { return job.marks.has_value() || pass.canceled; });
                // After a cancel the mailbox is left as it was: no DELE, no QUIT.
                if (!job.marks || pass.canceled)
                    throw ECanceledError(NetMessage(NetText::kCanceled));
                check.classified = true;
                check.told.append([marks = *job.marks](const TCheckReplay &to) {
                    if (to.picking)
                        to.picking(marks);
                });
                return *job.marks;
            };
        }
        TTaskResult result = canceled() ? Canceled().result : TCheckTask(*mailbox).Run(listed, pick);
        check.result = std::move(result);
        check.loginDelay = mailbox->LoginDelay();
        std::lock_guard lock(pass.mutex);
        job.mailbox = nullptr;
        job.context = nullptr;
    }
    std::lock_guard lock(pass.mutex);
    job.check = std::move(check);
    job.done = true;
    pass.Changed();
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
    pass.Changed();
}

} // namespace

void RunConcurrentChecks(const QList<MailboxSlot> &mailboxes, bool deleting, const TMailboxOptions &options,
                         const std::function<QList<int>(int job, const QList<TMessageListRow> &listed)> &classify,
                         const std::function<void(int job, TConcurrentCheck &check)> &finished,
                         const std::function<bool()> &stop, int perServer)
{
    TPass pass;
    // With an application object the calling thread waits in an event loop, which the
    // conversations wake: a window stays drawn and its cancel reachable meanwhile. These
    // outlive every conversation (joinAll below is destroyed first).
    std::optional<QEventLoop> loop;
    std::optional<QObject> waker;
    std::optional<QTimer> tick;
    if (QCoreApplication::instance()) {
        loop.emplace();
        waker.emplace();
        tick.emplace();
        tick->setInterval(20);
        QObject::connect(&*tick, &QTimer::timeout, &*loop, &QEventLoop::quit);
        pass.wake = [&] { QMetaObject::invokeMethod(&*waker, [&] { loop->quit(); }, Qt::QueuedConnection); };
    }
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
                if (job->waiting && !job->asked)
                    return job.get();
            return static_cast<TJob *>(nullptr);
        };
        const auto ready = [&] { return (!pass.canceled && waiting()) || jobs[next]->done; };
        if (!loop) {
            pass.changed.wait_for(lock, 20ms, ready);
        } else if (!ready()) {
            // A wake posted before the loop runs is handled in it: none is lost.
            lock.unlock();
            if (!tick->isActive())
                tick->start();
            loop->exec();
            lock.lock();
        }
        // Marks first: a conversation holds its session open until they come.
        while (TJob *job = pass.canceled ? nullptr : waiting()) {
            job->asked = true;
            const QList<TMessageListRow> listed = job->listed;
            const int index = job->index;
            lock.unlock();
            QList<int> marks = classify(index, listed);
            lock.lock();
            job->marks = std::move(marks);
            pass.Changed();
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

bool MayCheckConcurrently(const MailboxSlot &slot, bool dialUp)
{
    return !dialUp && slot.login != MailboxLogin::OAuth2;
}

namespace {

// Adds the listed rows not in rows yet as rows of slot n, marking each as it joins; whole
// marks the whole list again, as a check that ended well does.
void Classify(TMessageListModel &rows, TSpamSettings &spam, const TKnownList &known, int n, int mailboxNumber,
              const QList<TMessageListRow> &listed, bool whole)
{
    TRuleEvaluator evaluator(spam, known, &rows);
    for (int i = rows.Count(); i < listed.size(); ++i) {
        TMessageListRow row = listed.at(i);
        row.slot = n;
        row.mailbox = mailboxNumber;
        rows.Append(row);
        evaluator.MarkForDeletion(i);
    }
    if (whole)
        evaluator.MarkForDeletion(-1);
}

} // namespace

void RunSlotChecks(const ServerSettings &servers, const QList<int> &chosen, bool deleting, bool dialUp,
                   TSpamSettings &spam, const TKnownList &known, const TSlotCheckSteps &steps,
                   const std::function<bool()> &stop, int timeOutSeconds)
{
    QList<int> together;
    QList<MailboxSlot> jobs;
    for (int n : chosen)
        // A slot without server or user name goes to the caller, which tells what is missing.
        if (!IsBlankText(servers.slot(n).server.trimmed()) && !IsBlankText(servers.slot(n).mailbox)
            && MayCheckConcurrently(servers.slot(n), dialUp)) {
            together << n;
            jobs << servers.slot(n);
        }
    // One conversation gains nothing from a thread of its own, and its recorded events and
    // copied listing would only cost memory: it is the caller's.
    if (together.size() == 1) {
        together.clear();
        jobs.clear();
    }
    // Each conversation's rows, marked on this thread as its listing comes in.
    std::vector<std::unique_ptr<TMessageListModel>> rows;
    QList<int> numbers;
    for (int n : std::as_const(together)) {
        rows.push_back(std::make_unique<TMessageListModel>());
        numbers << MailboxNumber(servers, servers.slot(n).server.trimmed(), servers.slot(n).mailbox);
    }
    qsizetype done = 0;  // the chosen whose steps have been taken
    const auto classify = [&](int job, const QList<TMessageListRow> &listed) {
        TMessageListModel &own = *rows[size_t(job)];
        Classify(own, spam, known, together.at(job), numbers.at(job), listed, false);
        return own.MarkedRows();
    };
    const auto finished = [&](int job, TConcurrentCheck &check) {
        const int n = together.at(job);
        // Slots left to a conversation of the caller's own come in their place.
        for (; done < chosen.size() && chosen.at(done) != n; ++done)
            steps.alone(chosen.at(done));
        ++done;
        TMessageListModel &own = *rows[size_t(job)];
        // Rows not handed over during the conversation are marked now.
        if (!check.classified)
            own.Clear();
        Classify(own, spam, known, n, numbers.at(job), check.listed, check.result.ok);
        steps.together(n, check, own);
    };
    TMailboxOptions options;
    options.timeOutSeconds = timeOutSeconds;
    if (!jobs.isEmpty())
        RunConcurrentChecks(jobs, deleting, options, classify, finished, stop);
    for (; done < chosen.size() && !(stop && stop()); ++done)
        steps.alone(chosen.at(done));
}

TTaskResult ReplayCheck(const TConcurrentCheck &check, const TMessageListModel &rows, TMessageListModel &messages,
                        const TCheckReplay &to)
{
    messages.Clear();
    TCheckReplay own = to;
    own.listed = [&](int index, int count) {
        if (index != messages.Count() || index >= rows.Count())
            return;
        messages.Append(rows.Row(index));
        if (to.listed)
            to.listed(index, count);
    };
    check.Replay(own);
    TTaskResult out = check.result;
    for (int i = 0; i < messages.Count(); ++i)
        out.rows.append(messages.Row(i));
    return out;
}
