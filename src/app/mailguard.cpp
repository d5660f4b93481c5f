#include "mailguard.h"
#include "mailguardtexts.h"
#include "guardsteps.h"

#include "files.h"
#include "imports.h"
#include "ruletext.h"
#include "rulewords.h"
#include "textutil.h"
#include "wording.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

constexpr SaidLater kDeletingTitle = Later("Guard", "Deleting messages ... standby");

// Messages larger than this are only downloaded for viewing after a question.
constexpr qint64 kLargeMessage = 50000;

} // namespace

// Marks the guard busy for one command; at its end a problem noted meanwhile is shown and a
// quit that was asked for meanwhile goes on to the window.
class TMailGuard::ActivityScope
{
public:
    ActivityScope(TMailGuard &guard, Activity activity) : m_guard(guard)
    {
        m_guard.m_activity = activity;
        emit m_guard.busyChanged(true);
    }
    ~ActivityScope()
    {
        m_guard.m_activity = Activity::None;
        // A tick that was stopped for the command runs again (not inside a pass or a dialog).
        m_guard.restoreTimer1();
        m_guard.m_cancelRequested = false;
        emit m_guard.busyChanged(m_guard.IsBusy());
        m_guard.commandEnded();
    }
    ActivityScope(const ActivityScope &) = delete;
    ActivityScope &operator=(const ActivityScope &) = delete;

private:
    TMailGuard &m_guard;
};

// The window while a conversation runs: every button off but the exit button, which cancels;
// the tray menu off; the progress window up (unless the pass runs hidden). All back at the end.
class TMailGuard::BusyScreen
{
public:
    BusyScreen(TMailGuard &guard, const QString &title) : m_guard(guard) { m_guard.showBusyScreen(title); }
    ~BusyScreen() { m_guard.hideBusyScreen(); }
    BusyScreen(const BusyScreen &) = delete;
    BusyScreen &operator=(const BusyScreen &) = delete;

private:
    TMailGuard &m_guard;
};

void TMailGuard::showBusyScreen(const QString &title)
{
    setExitButtonCancel(true);
    disableAllButtons();
    setTrayMenuEnabled(false);
    if (m_windowVisible || !m_autoCheckRunning)
        showProgress(title);
}

void TMailGuard::hideBusyScreen()
{
    setTrayMenuEnabled(true);
    hideProgress();
    enableAllButtons();
    setExitButtonCancel(false);
    chooseCheckButtonPicture();
}

TMailGuard::TMailGuard(TPrompts &prompts, QObject *parent)
    : QObject(parent), m_prompts(prompts), m_launcher(StartDetached),
      m_defaultMailer(MailtoHandlerCommand)
{
    m_timer1.setInterval(60000);
    connect(&m_timer1, &QTimer::timeout, this, &TMailGuard::Timer1Timer);
    // The log reports a failure while a command runs; it is shown once the command is over.
    m_run.log.setErrorHandler([this](const QString &text) { m_pendingProblem = text; });
    m_run.ras.OnStatusChange = [this](QObject *, const QString &text) { setStatus(text); };
    m_run.ras.OnDisconnected = [this](QObject *) { setStatus(Said("Guard", "Disconnected")); };
    GetRemotePOPSettings(1);
}

TMailGuard::~TMailGuard()
{
    m_timer1.stop();
    if (m_mailbox->Busy())
        m_mailbox->Abort();
    m_run.log.close();
}

void TMailGuard::SetLauncher(std::function<bool(const QString &)> launcher)
{
    m_launcher = launcher ? std::move(launcher) : StartDetached;
}

void TMailGuard::SetDefaultMailProgram(std::function<QString()> find)
{
    m_defaultMailer = std::move(find);
}

void TMailGuard::SetTrayAvailable(bool available)
{
    m_trayAvailable = available;
    m_sysTrayMode = (m_run.general.sysTray || m_startInTray) && m_trayAvailable;
    if (!IsBusy())
        setExitButtonCancel(false);
}

bool TMailGuard::IsBusy() const
{
    return m_activity != Activity::None || m_mailbox->Busy();
}

bool TMailGuard::quiet() const
{
    return m_autoCheckRunning && !m_windowVisible;
}

// ---------------- start ----------------

void TMailGuard::FormCreate()
{
    const QStringList problems = m_run.Load();
    m_sysTrayMode = (m_run.general.sysTray || m_startInTray) && m_trayAvailable;
    m_minutesLeft = m_run.general.minutes;
    m_autoCheckRunning = false;
    m_checkInProgress = false;
    setIwhich(m_run.servers.which);
    GetRemotePOPSettings(m_Iwhich);
    CleanUpEMLFiles();

    setExitButtonCancel(false);
    enableAllButtons();
    chooseCheckButtonPicture();
    UpdateAutomaticCaptions(m_run.general.automatic, m_minutesLeft);
    emit buttonsChanged(m_buttons);
    emit progressChanged(m_progress);
    emit captionsChanged(m_captions);

    if (!problems.isEmpty())
        infoBox(problems.join(u'\n'));
}

TTaskResult TMailGuard::runTask(const std::function<TTaskResult()> &conversation)
{
    // A cancel that came before the client started would be forgotten by its log-in.
    if (m_cancelRequested) {
        TTaskResult out;
        out.ok = false;
        out.canceled = true;
        out.text = kCanceledText;
        return out;
    }
    m_errorReported = false;
    TTaskResult out = conversation();
    if (!out.ok && m_cancelRequested)
        out.canceled = true;
    return out;
}

void TMailGuard::noteQuietFailure(const TTaskResult &out)
{
    // The client's OnError has shown and logged what it raised itself; a refusal by the
    // server is only thrown, and a pass nobody watches must still leave a trace of it.
    if (out.ok || out.canceled || m_errorReported)
        return;
    setStatus(out.text);
    m_run.log.logError(out.text, clientUser(), clientServer());
}

TCheckParts TMailGuard::checkParts()
{
    return m_run.Check();
}

// ---------------- settings into the client ----------------

void TMailGuard::GetRemotePOPSettings(int n)
{
    if (n < 1 || n > kMailboxSlots)
        n = 1;
    // A conversation under way keeps its mailbox to the end.
    if (m_mailbox && m_mailbox->Busy())
        return;
    const MailboxSlot &slot = m_run.servers.slot(n);
    // The same mailbox stays, and with it the session its listing was made in.
    if (!m_mailbox || slot != m_loadedSlot) {
        TMailboxOptions options;
        options.timeOutSeconds = m_timeOutSeconds;
        options.ras = &m_run.ras;
        options.events = mailboxEvents();
        // An OAuth2 mailbox gets a fresh access token before each session, and one more
        // try with a new one when the server refuses it.
        options.slot = n;
        m_mailbox = MakeMailbox(slot, options);
        m_loadedSlot = slot;
    }
    m_clientSlot = n;
}

void TMailGuard::SetNetworkTimeOut(int seconds)
{
    m_timeOutSeconds = seconds;
    if (m_mailbox->Busy())
        return;
    m_mailbox.reset();
    GetRemotePOPSettings(m_clientSlot);
}

void TMailGuard::SelectMailbox(int n)
{
    if (IsBusy() || n < 1 || n > kMailboxSlots)
        return;
    setIwhich(n);
    GetRemotePOPSettings(n);
}

int TMailGuard::serverToIndex() const
{
    return MailboxNumber(m_run.servers, clientServer(), clientUser());
}

bool TMailGuard::checkSlotSettings()
{
    if (IsBlankText(clientUser())) {
        errorBox(Said("Guard", "You need to enter your e-mail username in the settings."));
        emit generalSettingsRequested();
        return false;
    }
    if (IsBlankText(clientServer())) {
        errorBox(Said("Guard", "You need to enter the name of your mail server in the settings."));
        emit generalSettingsRequested();
        return false;
    }
    return true;
}

// ---------------- the check ----------------

bool TMailGuard::btListClick()
{
    if (IsBusy())
        return false;
    // The mailbox choice turns the tick off; a check that stops there turns it on again.
    ActivityScope scope(*this, Activity::Check);
    GetRemotePOPSettings(m_Iwhich);
    playAlarmSound(false);
    if (!checkSlotSettings())
        return false;

    if (m_minutesLeft > 0 && !quiet()) {
        if (const QList<TMailboxEntry> entries = MailboxChoices(m_run.servers); !entries.isEmpty()) {
            BeginModal();
            const int chosen = m_prompts.ChooseMailbox(entries, m_Iwhich);
            EndModal();
            if (chosen < 1 || chosen > kMailboxSlots || m_cancelRequested || m_quitPending)
                return false;
            setIwhich(chosen);
            GetRemotePOPSettings(m_Iwhich);
            if (!checkSlotSettings())
                return false;
        }
    }
    return runCheck(false, false).ok;
}

TTaskResult TMailGuard::CheckUnattended(int n, bool deleteMarked)
{
    TTaskResult refused;
    refused.ok = false;
    if (IsBusy()) {
        refused.text = Said("Guard", "Another command is still running; try again when it has ended.");
        return refused;
    }
    ActivityScope scope(*this, Activity::Check);
    playAlarmSound(false);
    GetRemotePOPSettings(n == 0 ? m_Iwhich : n);
    if (!checkSlotSettings()) {
        refused.text = Said("Guard", "The mailbox is not set up.");
        return refused;
    }
    return runCheck(true, deleteMarked);
}

TTaskResult TMailGuard::runCheck(bool unattended, bool deleteInSession)
{
    setTimer1(false);
    m_run.messages.Clear();
    TTaskResult out;
    {
        BusyScreen screen(*this, kRetrievingTitle);
        out = listMailbox(deleteInSession);
    }
    // A log-in refused as too soon is no fault during the automatic pass: the pass shows the
    // mailbox as skipped and tries again after the pause.
    m_checkDelayed = noteLoginDelay(m_clientSlot, out) && m_autoCheckRunning;
    const bool quietFailure = !out.ok && (quiet() || m_checkDelayed);
    if (!out.ok && !quietFailure)
        reportFailure(out, m_clientSlot);
    restoreTimer1();

    if (out.ok || (quietFailure && !m_checkDelayed)) {
        m_run.log.logCheck(m_run.messages.Count(), clientUser(), clientServer());
        if (out.ok)
            recordDeletions(out.deleted);
        if (out.ok && !unattended && m_run.messages.IsEmpty() && !m_run.general.automatic && m_run.general.exitAfterCheck) {
            if (m_sysTrayMode)
                emit hideToTrayRequested();
            else
                requestQuit();
        }
        ShowTotalCount();
        if (out.ok && deleteInSession && !out.deleted.isEmpty())
            announceDeletions(int(out.deleted.size()), 0, out.notice);
    }
    if (quietFailure && !m_checkDelayed)
        noteQuietFailure(out);
    // The rows evaluated so far have added to the hit counts, also when the check failed.
    saveRuleLists();
    return out;
}

TTaskResult TMailGuard::listMailbox(bool deleteInSession)
{
    m_listSlot = m_clientSlot;
    m_listMailbox = serverToIndex();
    m_listIdentity = TMailboxIdentity::Of(m_run.servers.slot(m_clientSlot));
    m_checkInProgress = true;
    TCheckParts parts = checkParts();
    const auto rowAdded = [this](int row, int count) { messageListed(row, count); };
    const auto deleting = [this](const QList<int> &rows) {
        m_deleteTotal = int(rows.size());
        m_deleteCounter = 1;
        if (!rows.isEmpty() && m_progress.visible)
            showProgress(kDeletingTitle);
    };
    TTaskResult out = runTask([&] {
        // A conversation the automatic pass ran alongside others is told as it went.
        if (m_passReplay)
            return m_passReplay(parts, rowAdded, deleting);
        return CheckAndMark(*m_mailbox, parts, m_listSlot, m_listMailbox, deleteInSession, rowAdded, deleting);
    });
    m_checkInProgress = false;
    m_listing = out.listing;
    if (out.ok) {
        setStatus(QString::number(out.listed) + QStringLiteral(" msg(s) for ") + clientUser()
                  + QStringLiteral(" on ") + clientServer());
        enableAllButtons();
        hideProgress();
    }
    // A cancelled listing shows nothing: half a mailbox would look like all of it.
    if (out.canceled)
        m_run.messages.Clear();
    return out;
}

void TMailGuard::reportFailure(const TTaskResult &out, int slot)
{
    if (!out.fingerprint.isEmpty()) {
        if (askTrust(slot, out.text, out.fingerprint) && TrustCertificate(slot, out.fingerprint))
            infoBox(Said("Guard", "The certificate is now trusted for mailbox %1. "
                                   "Check e-mail again to connect.")
                        .arg(slot));
        return;
    }
    if (out.canceled) {
        // The user asked for it: nothing went wrong, so no error box.
        setStatus(out.text);
        return;
    }
    errorBox(FailureText(out, slot, clientServer(), m_run.ras.Service()));
}

void TMailGuard::MarkForDeletion(int index)
{
    m_run.evaluator.MarkForDeletion(index);
}

void TMailGuard::btRemarkClick()
{
    if (IsBusy())
        return;
    playAlarmSound(false);
    if (m_run.evaluator.Remark() == 0)
        infoBox(Said("Guard", "None of the messages matched any of the spam criteria."));
    ShowTotalCount();
}

void TMailGuard::ShowTotalCount()
{
    setStatus(Said("Guard", "Message Total: %1 Number Marked: %2")
                  .arg(m_run.messages.Count())
                  .arg(m_run.messages.MarkedCount()));
}

void TMailGuard::Cancel()
{
    if (!IsBusy())
        return;
    m_cancelRequested = true;
    if (m_autoCheckRunning)
        m_passCanceled = true;
    if (m_mailbox->Busy())
        m_mailbox->Abort();
}

// While a prompt is open the minute tick does nothing: a pass must not start inside a box
// that waits for the user.
class TMailGuard::PromptScope
{
public:
    explicit PromptScope(TMailGuard &guard) : m_guard(guard) { ++m_guard.m_modalDepth; }
    ~PromptScope() { --m_guard.m_modalDepth; }
    PromptScope(const PromptScope &) = delete;
    PromptScope &operator=(const PromptScope &) = delete;

private:
    TMailGuard &m_guard;
};

void TMailGuard::errorBox(const QString &text)
{
    PromptScope scope(*this);
    m_prompts.ErrorBox(text);
}

void TMailGuard::infoBox(const QString &text)
{
    PromptScope scope(*this);
    m_prompts.InfoBox(text);
}

bool TMailGuard::askYesNo(const QString &text)
{
    PromptScope scope(*this);
    return m_prompts.AskYesNo(text);
}

bool TMailGuard::askTrust(int slot, const QString &message, const QString &fingerprint)
{
    PromptScope scope(*this);
    return m_prompts.AskTrustCertificate(slot, message, fingerprint);
}

void TMailGuard::tell(const QString &error)
{
    if (quiet())
        setStatus(error);
    else
        errorBox(error);
}

void TMailGuard::saveRuleLists()
{
    if (const QString problem = SaveHitCounts(m_run.spam); !problem.isEmpty())
        m_pendingProblem = problem;
}

void TMailGuard::commandEnded()
{
    if (!m_pendingProblem.isEmpty()) {
        const QString text = m_pendingProblem;
        m_pendingProblem.clear();
        tell(text);
    }
    // A quit asked for during the command goes through once everything has unwound.
    if (m_quitPending && !m_autoCheckRunning && m_activity == Activity::None) {
        m_quitPending = false;
        emit quitRequested();
    }
}

void TMailGuard::requestQuit()
{
    if (m_autoCheckRunning || m_activity != Activity::None) {
        m_quitPending = true;
        return;
    }
    emit quitRequested();
}

// ---------------- deletion ----------------

void TMailGuard::btDeleteClick()
{
    if (IsBusy())
        return;
    {
        ActivityScope scope(*this, Activity::Delete);
        playAlarmSound(false);
        setTimer1(false);
        // Asked once: finding the desktop's default runs xdg-mime, which may take a while.
        const QString mailer = m_run.general.launch ? mailProgram() : QString();
        // Without a mail program there is nothing to start, and the deletion's own line stays.
        if (DeleteMessages(mailer) && !IsBlankText(mailer))
            launchMailProgram(mailer);
    }
    UpdateAutomaticCaptions(m_run.general.automatic, m_run.general.minutes);
    commandEnded();
}

bool TMailGuard::DeleteMessages(const QString &mailer)
{
    const int total = m_run.messages.Count();
    const QList<int> markedRows = m_run.messages.MarkedRows();
    const int marked = int(markedRows.size());
    const bool askFirst = !m_run.general.automatic && m_run.general.ask;
    if (marked == 0) {
        if (askFirst)
            infoBox(Said("Guard", "There were no messages marked to delete!"));
        return false;
    }
    if (askFirst && !askYesNo(Said("Guard", "Really delete %1 messages from server?").arg(marked)))
        return false;

    // The rows act on the mailbox they were listed from, whatever the client was given since.
    const int slot = m_run.messages.ListedSlot();
    if (const QString refusal = listingRefusal(slot, Said("Guard", "deleted")); !refusal.isEmpty()) {
        tell(refusal);
        return false;
    }
    GetRemotePOPSettings(slot);
    if (m_listing.messages.size() != total) {
        tell(Said("Guard", "The message list no longer matches what was listed from the server, so "
                            "nothing was deleted. Check e-mail again, then delete."));
        return false;
    }
    // A log-in the server would refuse as too soon is not tried.
    if (LoginDelayPending(slot)) {
        tell(Said("Guard", "The server %1 asks for a pause between log-ins to mailbox %2, so deleting is "
                            "possible from %3. The marks stay as they are: delete again then.")
                 .arg(clientServer(), QString::number(slot), m_loginDelays.Until(slot)));
        return false;
    }
    m_deleteTotal = marked;
    m_deleteCounter = 1;

    TTaskResult out;
    TTaskResult relisted;
    {
        BusyScreen screen(*this, kDeletingTitle);
        // Only what the user sees marked now is deleted.
        out = runTask([&] { return TDeleteTask(*m_mailbox).Run(m_listing, markedRows); });
        noteLoginDelay(slot, out);
        if (out.ok) {
            recordDeletions(out.deleted);
            // The list shows what is left on the server, unless a mail program is about to take it.
            const bool launchNext = total != int(out.deleted.size()) && !m_run.general.automatic && m_run.general.launch
                                    && !IsBlankText(mailer);
            // A server that wants a pause between log-ins would refuse the listing again: the
            // rows left stay as they were listed.
            if (launchNext || m_mailbox->LoginDelay() <= 0)
                m_run.messages.Clear();
            if (!launchNext && m_mailbox->LoginDelay() <= 0) {
                if (m_windowVisible || !m_autoCheckRunning)
                    showProgress(kRetrievingTitle);
                relisted = listMailbox();
                saveRuleLists();
            }
            announceDeletions(int(out.deleted.size()), int(out.changed.size()), out.notice);
        }
    }

    if (quiet()) {
        noteQuietFailure(out.ok ? relisted : out);
    } else {
        if (!out.ok)
            reportFailure(out, slot);
        else if (!relisted.ok)
            reportFailure(relisted, slot);
        if (!out.changed.isEmpty())
            infoBox(Said("Guard", "%1 of the marked messages were left on the server because "
                                   "the mailbox changed after it was listed. Check e-mail again "
                                   "to see what is waiting now.")
                        .arg(out.changed.size()));
    }
    return out.ok && total != int(out.deleted.size()) && (m_windowVisible || !m_autoCheckRunning) && m_run.general.launch;
}

void TMailGuard::recordDeletions(const QList<int> &deletedRows)
{
    TCheckParts parts = checkParts();
    if (const QString problem = RecordDeletions(parts, clientUser(), clientServer(), deletedRows);
        !problem.isEmpty())
        m_pendingProblem = problem;
    // The rows left can be deleted or viewed later, each checked again on the server where
    // it now is.
    DropFromListing(m_listing, deletedRows);
}

void TMailGuard::announceDeletions(int deleted, int skipped, const QString &notice)
{
    const QString count = Said("Guard", "There were %1 messages deleted").arg(deleted);
    setStatus(notice.isEmpty() ? count : tr("%1. %2").arg(count, notice));
    TCaptionState c = m_captions;
    c.trayHint = Said("Guard", "%1 spams deleted").arg(deleted);
    if (skipped > 0)
        c.trayHint += Said("Guard", ", %1 left alone").arg(skipped);
    setCaptions(c);
}

QString TMailGuard::listingRefusal(int slot, const QString &action) const
{
    if (slot < 1 || slot > kMailboxSlots || TMailboxIdentity::Of(m_run.servers.slot(slot)) == m_listIdentity)
        return {};
    return Said("Guard", "Mailbox %1 was changed in the settings after this list was made, so nothing was %2. "
                          "Check e-mail again to see what is waiting in the mailbox it names now.")
        .arg(QString::number(slot), action);
}

// ---------------- dialogs ----------------

TSettingsEdit TMailGuard::BeginGeneralSettings()
{
    BeginModal();
    return {m_run.general, m_run.servers};
}

void TMailGuard::EndGeneralSettings(const TSettingsEdit *stored)
{
    if (stored)
        if (const QString problem = AdoptSettingsEdit(m_run, *stored); !problem.isEmpty())
            errorBox(problem);
    if (m_modalDepth > 0)
        --m_modalDepth;
    m_startInTray = false; // the settings just made rule from now on
    m_sysTrayMode = m_run.general.sysTray && m_trayAvailable;
    m_run.log.setFileName(m_run.general.logFile);
    setIwhich(m_run.servers.which);
    GetRemotePOPSettings(m_Iwhich);
    m_minutesLeft = m_run.general.minutes;
    UpdateAutomaticCaptions(m_run.general.automatic, m_run.general.minutes);
    if (m_modalDepth > 0)
        setTimer1(false);
    if (!IsBusy())
        setExitButtonCancel(false);
}

void TMailGuard::BeginModal()
{
    if (m_modalDepth++ == 0)
        m_timerBeforeModal = m_timer1.isActive();
    playAlarmSound(false);
    setTimer1(false);
}

void TMailGuard::EndModal()
{
    if (m_modalDepth == 0)
        return;
    // A command that runs turns the tick back on when it ends.
    if (--m_modalDepth == 0 && !IsBusy())
        restoreTimer1();
}

bool TMailGuard::TrustCertificate(int n, const QString &fingerprint)
{
    const TTrustStored stored = StoreTrustedCertificate(m_run, n, fingerprint);
    if (stored.taken && m_clientSlot == n)
        GetRemotePOPSettings(n);
    if (stored.error.isEmpty())
        return true;
    errorBox(stored.error);
    return false;
}

// ---------------- commands on the rows ----------------

void TMailGuard::btMarkClick(const QList<int> &rows)
{
    playAlarmSound(false);
    for (int row : rows) {
        if (row < 0 || row >= m_run.messages.Count())
            continue;
        const int mark = m_run.messages.MessageMark(row);
        m_run.messages.SetMessageMark(row, TRuleEvaluator::IsMarkedForDeletion(mark) ? NoMark : CheckMark);
    }
    ShowTotalCount();
}

void TMailGuard::ResetButtonClick()
{
    for (int row = 0; row < m_run.messages.Count(); ++row)
        m_run.messages.SetMessageMark(row, NoMark);
    ShowTotalCount();
}

QString TMailGuard::RetrieveMessage(int row)
{
    if (IsBusy() || row < 0 || row >= m_run.messages.Count())
        return {};
    ActivityScope scope(*this, Activity::Retrieve);
    setTimer1(false);
    playAlarmSound(false);

    // Copies: the list may change while the question below waits for the user.
    const int slot = m_run.messages.Row(row).slot;
    const qint64 size = m_run.messages.Row(row).sizeText.toLongLong();
    if (size > kLargeMessage
        && !askYesNo(Said("Guard", "The message you have selected to view is quite large - %1 bytes. "
                                   "Are you sure you wish to download and view it?")
                         .arg(size)))
        return {};
    if (m_cancelRequested || row >= m_run.messages.Count())
        return {};

    if (const QString refusal = listingRefusal(slot, Said("Guard", "downloaded")); !refusal.isEmpty()) {
        errorBox(refusal);
        return {};
    }
    GetRemotePOPSettings(slot);
    if (m_listing.messages.size() != m_run.messages.Count()) {
        errorBox(Said("Guard", "The message list no longer matches what was listed from the "
                                "server. Check e-mail again, then view the message."));
        return {};
    }
    const QString path = ViewedMessageFile(row);
    // A file left from an earlier download must not pass for this message.
    QFile::remove(path);
    TTaskResult out;
    {
        BusyScreen screen(*this, kRetrievingTitle);
        out = runTask([&] { return TRetrieveTask(*m_mailbox).Run(m_listing, row, path); });
    }
    if (!out.ok) {
        reportFailure(out, slot);
        return {};
    }
    if (!out.changed.isEmpty()) {
        infoBox(Said("Guard", "This message is no longer on the server as it was listed: the "
                               "mailbox changed. Check e-mail again to see what is waiting now."));
        return {};
    }
    if (!QFileInfo(path).isFile()) {
        errorBox(Said("Guard", "The message was downloaded but could not be saved as %1. Check "
                                "that the data folder is writable and the disk has free space.")
                     .arg(path));
        return {};
    }
    return path;
}

void TMailGuard::CleanUpEMLFiles()
{
    RemoveViewedMessages();
}
