#include "mailguard.h"

#include "files.h"
#include "imports.h"
#include "ruletext.h"
#include "rulewords.h"
#include "textutil.h"
#include "tls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTime>

namespace {

const QString kTarnwick = QStringLiteral("Tarnwick");
const QString kRetrievingTitle = QStringLiteral("Retrieving messages ... standby");
const QString kDeletingTitle = QStringLiteral("Deleting messages ... standby");
const QString kCanceledText = QStringLiteral("Operation has been canceled");

// The first 201 characters of the sound file name are all the alarm ever used.
constexpr int kAlarmNameLength = 201;
// Messages larger than this are only downloaded for viewing after a question.
constexpr qint64 kLargeMessage = 50000;

QString CountdownCaption(int minutes)
{
    return kTarnwick + QStringLiteral(" - next e-mail check in ") + QString::number(minutes)
         + QStringLiteral(" minute%1").arg(pluralS(minutes));
}

bool DefaultLauncher(const QString &command)
{
    QStringList parts = QProcess::splitCommand(command);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

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
        m_guard.m_cancelRequested = false;
        emit m_guard.busyChanged(m_guard.IsBusy());
        m_guard.commandEnded();
    }
    ActivityScope(const ActivityScope &) = delete;
    ActivityScope &operator=(const ActivityScope &) = delete;

private:
    TMailGuard &m_guard;
};

TMailGuard::TMailGuard(TPrompts &prompts, QObject *parent)
    : QObject(parent), m_prompts(prompts), m_settings(std::make_unique<UserSettings>()),
      m_evaluator(m_spam, m_known, &m_messages), m_launcher(DefaultLauncher),
      m_defaultMailer(MailtoHandlerCommand)
{
    m_timer1.setInterval(60000);
    connect(&m_timer1, &QTimer::timeout, this, &TMailGuard::Timer1Timer);
    m_pop.SetTimeOut(120);
    m_pop.SetRAS(&m_ras);
    // The log reports a failure while a command runs; it is shown once the command is over.
    m_log.setErrorHandler([this](const QString &text) { m_pendingProblem = text; });
    connectClientEvents();
}

TMailGuard::~TMailGuard()
{
    m_timer1.stop();
    if (m_pop.Busy())
        m_pop.Cancel();
    m_log.close();
}

void TMailGuard::SetLauncher(std::function<bool(const QString &)> launcher)
{
    m_launcher = launcher ? std::move(launcher) : DefaultLauncher;
}

void TMailGuard::SetDefaultMailProgram(std::function<QString()> find)
{
    m_defaultMailer = std::move(find);
}

void TMailGuard::SetTrayAvailable(bool available)
{
    m_trayAvailable = available;
    m_sysTrayMode = (m_general.sysTray || m_startInTray) && m_trayAvailable;
    if (!IsBusy())
        setExitButtonCancel(false);
}

bool TMailGuard::IsBusy() const
{
    return m_activity != Activity::None || m_deleteInProgress || m_checkInProgress || m_pop.Busy();
}

bool TMailGuard::quiet() const
{
    return m_autoCheckRunning && !m_windowVisible;
}

// ---------------- start ----------------

void TMailGuard::FormCreate()
{
    QStringList problems;
    if (!m_settings->warning().isEmpty())
        problems << m_settings->warning();
    m_general = ReadGeneralSettings(*m_settings);
    m_servers = readServerSettings(*m_settings, &problems);
    m_sysTrayMode = (m_general.sysTray || m_startInTray) && m_trayAvailable;
    m_minutesLeft = m_general.minutes;
    m_autoCheckRunning = false;
    m_checkInProgress = false;
    setIwhich(m_servers.which);
    m_log.setFileName(m_general.logFile);

    m_spam.readSettings();
    problems << m_spam.ReadProblems();
    QString knownError;
    m_known.LoadUpKnownList(QString(), &knownError);
    if (!knownError.isEmpty())
        problems << knownError;

    GetRemotePOPSettings(m_Iwhich);
    CleanUpEMLFiles();
    // The dial-up entry by its stored position in the phone book as listed now. A position
    // beyond the list (the phone book shrank, or there is no dial-up service) means "None".
    m_ras.Entries();
    if (const QString problem = m_ras.SetService(m_ras.EntryAt(m_general.ras)); !problem.isEmpty())
        problems << problem;

    setExitButtonCancel(false);
    enableAllButtons();
    chooseCheckButtonPicture();
    UpdateAutomaticCaptions(m_general.automatic, m_minutesLeft);
    emit buttonsChanged(m_buttons);
    emit progressChanged(m_progress);
    emit captionsChanged(m_captions);

    if (!problems.isEmpty())
        infoBox(problems.join(u'\n'));
}

// ---------------- published state ----------------

void TMailGuard::setStatus(const QString &text)
{
    m_status = text;
    emit statusChanged(text);
}

void TMailGuard::setButtons(const TButtonState &state)
{
    if (state == m_buttons)
        return;
    m_buttons = state;
    emit buttonsChanged(m_buttons);
}

void TMailGuard::setProgress(const TProgressState &state)
{
    if (state == m_progress)
        return;
    m_progress = state;
    emit progressChanged(m_progress);
}

void TMailGuard::setCaptions(const TCaptionState &state)
{
    if (state == m_captions)
        return;
    m_captions = state;
    emit captionsChanged(m_captions);
}

void TMailGuard::disableAllButtons()
{
    TButtonState b = m_buttons;
    b.checkEnabled = false;
    b.optionsEnabled = false;
    b.messageButtonsVisible = false;
    b.bannerVisible = true;
    setButtons(b);
}

void TMailGuard::enableAllButtons()
{
    TButtonState b = m_buttons;
    b.checkEnabled = true;
    b.optionsEnabled = true;
    b.messageButtonsVisible = !m_messages.IsEmpty();
    b.bannerVisible = !b.messageButtonsVisible;
    setButtons(b);
}

void TMailGuard::setExitButtonCancel(bool cancel)
{
    TButtonState b = m_buttons;
    b.exitIsCancel = cancel;
    b.exitCaption = cancel ? QStringLiteral("Cancel")
                           : (m_sysTrayMode ? QStringLiteral("Hide") : QStringLiteral("Goodbye"));
    b.trayExitCaption = cancel ? QStringLiteral("Cancel") : QStringLiteral("Exit");
    setButtons(b);
}

void TMailGuard::chooseCheckButtonPicture()
{
    TButtonState b = m_buttons;
    b.checkButtonUp = !m_messages.IsEmpty();
    setButtons(b);
}

void TMailGuard::setTrayMenuEnabled(bool on)
{
    TButtonState b = m_buttons;
    b.trayMenuEnabled = on;
    setButtons(b);
}

void TMailGuard::showProgress(const QString &title)
{
    TProgressState p;
    p.visible = true;
    p.title = title;
    p.server = m_pop.Server();
    p.mailbox = m_pop.UserName();
    setProgress(p);
}

void TMailGuard::hideProgress()
{
    TProgressState p = m_progress;
    p.visible = false;
    p.barVisible = false;
    setProgress(p);
}

void TMailGuard::setProgressMessage(const QString &message, bool barVisible, int maximum, int position)
{
    TProgressState p = m_progress;
    p.message = message;
    p.barVisible = barVisible;
    if (barVisible) {
        p.barMaximum = qMax(1, maximum);
        p.barPosition = qBound(1, position, p.barMaximum);
    }
    setProgress(p);
}

void TMailGuard::restoreTimer1()
{
    // Only automatic mode runs the minute tick (a switch to manual mode during a command
    // stays), and never inside a pass or a dialog: those turn it on when they end.
    setTimer1(m_general.automatic && !m_autoCheckRunning && m_modalDepth == 0);
}

void TMailGuard::setTimer1(bool on)
{
    if (on)
        m_timer1.start();
    else
        m_timer1.stop();
}

void TMailGuard::setIwhich(int slot)
{
    if (slot < 1 || slot > kMailboxSlots)
        slot = 1;
    if (slot == m_Iwhich)
        return;
    m_Iwhich = slot;
    emit IwhichChanged(slot);
}

// ---------------- the POP3 client's events ----------------

void TMailGuard::connectClientEvents()
{
    m_pop.OnOpen = [this](QObject *) {
        setProgressMessage(QStringLiteral("Opening connection ... "), false);
        setStatus(QStringLiteral("Opening connection for %1 on %2").arg(m_pop.UserName(), m_pop.Server()));
    };
    m_pop.OnUpdatingInfo = [this](QObject *) {
        setProgressMessage(QStringLiteral("Updating headers ... "), false);
        setStatus(QStringLiteral("Updating headers"));
    };
    m_pop.OnNextInfoUpdated = [this](QObject *, int num) { messageListed(num); };
    m_pop.OnInfoUpdated = [this](QObject *) {
        setStatus(QString::number(m_pop.RemoteInfo().Count()) + QStringLiteral(" msg(s) for ")
                  + m_pop.UserName() + QStringLiteral(" on ") + m_pop.Server());
        MarkForDeletion(-1);
        enableAllButtons();
        hideProgress();
    };
    m_pop.OnTransferringData = [this](QObject *) {
        setProgressMessage(QStringLiteral("Transferring data ... "), m_progress.barVisible,
                           m_progress.barMaximum, m_progress.barPosition);
        setStatus(QStringLiteral("Transferring data"));
    };
    m_pop.OnDataTransfered = [this](QObject *) { setStatus(QStringLiteral("Data has been transfered")); };
    m_pop.OnRetrieving = [this](QObject *, int num) {
        setProgressMessage(QStringLiteral("Retrieving ... "), false);
        setStatus(QStringLiteral("Retrieving ") + QString::number(num + 1));
    };
    m_pop.OnRetrieved = [this](QObject *, int num) {
        setStatus(QStringLiteral("Message %1 retrieved").arg(num + 1));
    };
    m_pop.OnClosing = [this](QObject *) { setStatus(QStringLiteral("Closing connection")); };
    m_pop.OnClosed = [this](QObject *) { setStatus(QStringLiteral("Connection closed")); };
    m_pop.OnCancel = [this](QObject *) {
        setStatus(kCanceledText);
        setExitButtonCancel(false);
        chooseCheckButtonPicture();
        m_log.logCancel(m_pop.UserName(), m_pop.Server());
    };
    m_pop.OnError = [this](QObject *, QString &msg) {
        m_errorReported = true;
        setStatus(msg);
        chooseCheckButtonPicture();
        m_log.logError(msg, m_pop.UserName(), m_pop.Server());
    };
    m_pop.OnDeleting = [this](QObject *, int num) { messageDeleting(num); };
    m_ras.OnStatusChange = [this](QObject *, const QString &text) { setStatus(text); };
    m_ras.OnDisconnected = [this](QObject *) { setStatus(QStringLiteral("Disconnected")); };
    m_pop.OnDeleted = [this](QObject *, int num) { m_deletedRows.append(num); };
}

void TMailGuard::messageListed(int num)
{
    // The list was cleared when the listing began, so row and message index stay equal; a
    // row that would break that is not added.
    if (num != m_messages.Count() || num >= m_pop.RemoteInfo().Count())
        return;
    const int total = m_pop.MessageCount();
    m_messages.Append(TMessageListRow::FromRemoteInfo(m_pop.RemoteInfo()[num], m_listSlot, m_listMailbox));
    setStatus(QStringLiteral("Getting message %1 of %2 total waiting messages").arg(num + 1).arg(total));
    MarkForDeletion(m_messages.Count() - 1);
    setProgressMessage(QStringLiteral("Message %1 of %2").arg(num + 1).arg(total), true, total, num + 1);
}

void TMailGuard::messageDeleting(int num)
{
    if (num < 0 || num >= m_messages.Count())
        return;
    const TMessageListRow &row = m_messages.Row(num);
    setProgressMessage(QStringLiteral("Deleting ") + row.subject, true, m_deleteTotal, m_deleteCounter);
    ++m_deleteCounter;
    setStatus(QStringLiteral("Deleting %1 %2").arg(num + 1).arg(row.subject));
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
    m_log.logError(out.text, m_pop.UserName(), m_pop.Server());
}

TTaskResult TMailGuard::runClient(const std::function<void()> &operation)
{
    return runTask([&operation] { return RunConversation(operation); });
}

// ---------------- settings into the client ----------------

void TMailGuard::GetRemotePOPSettings(int n)
{
    if (n < 1 || n > kMailboxSlots)
        n = 1;
    const MailboxSlot &slot = m_servers.slot(n);
    m_pop.SetServer(slot.server.trimmed());
    m_pop.SetUserName(slot.mailbox);
    m_pop.SetPassword(slot.password);
    m_pop.SetTls({TlsModeFromInt(int(slot.tls)), slot.fingerprint});
    m_pop.SetUsePipelining(slot.pipelining);
    m_clientSlot = n;
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
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = m_servers.slot(n);
        if (AsciiEqualsIgnoreCase(slot.server.trimmed(), m_pop.Server())
            && AsciiEqualsIgnoreCase(slot.mailbox, m_pop.UserName()))
            return n;
    }
    return 0;
}

bool TMailGuard::checkSlotSettings()
{
    if (IsBlankText(m_pop.UserName())) {
        errorBox(QStringLiteral("You need to enter your e-mail username in the settings."));
        emit generalSettingsRequested();
        return false;
    }
    if (IsBlankText(m_pop.Server())) {
        errorBox(QStringLiteral("You need to enter the name of your mail server in the settings."));
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
    ActivityScope scope(*this, Activity::Check);
    // The mailbox choice turned the tick off; a check that stops there turns it on again.
    const auto timerBack = qScopeGuard([this] { restoreTimer1(); });

    GetRemotePOPSettings(m_Iwhich);
    playAlarmSound(false);
    if (!checkSlotSettings())
        return false;

    if (m_minutesLeft > 0 && !quiet()) {
        QList<TMailboxEntry> entries;
        bool otherSlot = false;
        for (int n = 1; n <= kMailboxSlots; ++n) {
            const MailboxSlot &slot = m_servers.slot(n);
            if (slot.server.isEmpty())
                continue;
            otherSlot = otherSlot || n >= 2;
            entries.append({n, QStringLiteral("%1) Mailbox %2 - Server %3").arg(n).arg(slot.mailbox, slot.server)});
        }
        if (otherSlot) {
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
        refused.text = QStringLiteral("Another command is still running; try again when it has ended.");
        return refused;
    }
    ActivityScope scope(*this, Activity::Check);
    const auto timerBack = qScopeGuard([this] { restoreTimer1(); });
    playAlarmSound(false);
    GetRemotePOPSettings(n == 0 ? m_Iwhich : n);
    if (!checkSlotSettings()) {
        refused.text = QStringLiteral("The mailbox is not set up.");
        return refused;
    }
    TTaskResult out = runCheck(true, deleteMarked);
    out.rows = m_lastRows;
    return out;
}

TTaskResult TMailGuard::runCheck(bool unattended, bool deleteInSession)
{
    setTimer1(false);
    m_messages.Clear();
    setExitButtonCancel(true);
    disableAllButtons();
    if (m_windowVisible || !m_autoCheckRunning)
        showProgress(kRetrievingTitle);

    TTaskResult out = listMailbox(deleteInSession);
    // The rows as listed and marked, before deleted ones leave the list.
    m_lastRows.clear();
    for (int i = 0; i < m_messages.Count(); ++i)
        m_lastRows.append(m_messages.Row(i));

    setTrayMenuEnabled(true);
    hideProgress();
    enableAllButtons();
    setExitButtonCancel(false);
    chooseCheckButtonPicture();
    // A log-in refused as too soon is no fault during the automatic pass: the pass shows the
    // mailbox as skipped and tries again after the pause.
    m_checkDelayed = noteLoginDelay(m_clientSlot, out) && m_autoCheckRunning;
    const bool quietFailure = !out.ok && (quiet() || m_checkDelayed);
    if (!out.ok && !quietFailure)
        reportFailure(out, m_clientSlot);
    restoreTimer1();

    if (out.ok || (quietFailure && !m_checkDelayed)) {
        m_log.logCheck(m_messages.Count(), m_pop.UserName(), m_pop.Server());
        if (out.ok && deleteInSession)
            recordDeletions(out.deleted);
        if (out.ok && !unattended && m_messages.IsEmpty() && !m_general.automatic && m_general.exitAfterCheck) {
            if (m_sysTrayMode)
                emit hideToTrayRequested();
            else
                requestQuit();
        }
        ShowTotalCount();
        if (out.ok && deleteInSession && !out.deleted.isEmpty())
            announceDeletions(int(out.deleted.size()), 0);
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
    m_listIdentity = TMailboxIdentity::Of(m_servers.slot(m_clientSlot));
    m_checkInProgress = true;
    setTrayMenuEnabled(false);
    std::function<QList<int>()> pick;
    if (deleteInSession) {
        // Asked when the whole mailbox is listed and marked, before the session's QUIT.
        pick = [this] {
            const QList<int> rows = m_messages.MarkedRows();
            m_deleteTotal = int(rows.size());
            m_deleteCounter = 1;
            if (!rows.isEmpty() && m_progress.visible)
                showProgress(kDeletingTitle);
            return rows;
        };
    }
    TTaskResult out = runTask([this, &pick] { return TCheckTask(m_pop).Run(pick); });
    m_checkInProgress = false;
    // A cancelled listing shows nothing: half a mailbox would look like all of it.
    if (out.canceled)
        m_messages.Clear();
    return out;
}

void TMailGuard::reportFailure(const TTaskResult &out, int slot)
{
    if (!out.fingerprint.isEmpty()) {
        if (askTrust(slot, out.text, out.fingerprint) && TrustCertificate(slot, out.fingerprint))
            infoBox(QStringLiteral("The certificate is now trusted for mailbox %1. "
                                   "Check e-mail again to connect.")
                        .arg(slot));
        return;
    }
    if (out.canceled) {
        // The user asked for it: nothing went wrong, so no error box.
        setStatus(out.text);
        return;
    }
    QString text = out.text;
    if (out.dialUp)
        text = QStringLiteral("The dial-up connection \"%1\" could not be made: %2\nCheck the connection "
                              "and the entry chosen on the Connection tab of the General settings, then "
                              "try again.")
                   .arg(m_ras.Service(), out.text);
    else if (out.serverRefused && m_pop.LoginDelayRefused())
        text = QStringLiteral("The server %1 refused the log-in because mailbox %2 was checked only a "
                              "short while ago: %3\nTry again later.")
                   .arg(m_pop.Server(), QString::number(slot), out.text);
    else if (out.serverRefused)
        text = QStringLiteral("The server %1 refused the request: %2\nIf it refused the log-in, check the "
                              "user name and password of mailbox %3 in the General settings.")
                   .arg(m_pop.Server(), out.text, QString::number(slot));
    else
        text += QStringLiteral("\nCheck the settings of mailbox %1 (server, user name, password, "
                               "security) in the General settings and the connection to the internet, "
                               "then try again.")
                    .arg(slot);
    errorBox(text);
}

void TMailGuard::MarkForDeletion(int index)
{
    m_evaluator.MarkForDeletion(index);
}

void TMailGuard::btRemarkClick()
{
    if (IsBusy())
        return;
    playAlarmSound(false);
    if (m_evaluator.Remark() == 0)
        infoBox(QStringLiteral("None of the messages matched any of the spam criteria."));
    ShowTotalCount();
}

void TMailGuard::ShowTotalCount()
{
    setStatus(QStringLiteral("Message Total: ") + QString::number(m_messages.Count())
              + QStringLiteral(" Number Marked: ") + QString::number(m_messages.MarkedCount()));
}

void TMailGuard::Cancel()
{
    if (!IsBusy())
        return;
    m_cancelRequested = true;
    if (m_autoCheckRunning)
        m_passCanceled = true;
    if (m_pop.Busy())
        m_pop.Cancel();
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
    QString error;
    if (!m_spam.Savesettings(&error))
        m_pendingProblem = QStringLiteral("The rule lists could not be saved, so the hit counts of this "
                                          "check are not kept: %1")
                               .arg(error);
}

void TMailGuard::commandEnded()
{
    if (!m_pendingProblem.isEmpty()) {
        const QString text = m_pendingProblem;
        m_pendingProblem.clear();
        tell(text);
    }
    // A quit asked for during the command goes through once everything has unwound.
    if (m_quitPending && !m_autoCheckRunning && m_activity == Activity::None && !m_deleteInProgress) {
        m_quitPending = false;
        emit quitRequested();
    }
}

void TMailGuard::requestQuit()
{
    if (m_autoCheckRunning || m_activity != Activity::None || m_deleteInProgress) {
        m_quitPending = true;
        return;
    }
    emit quitRequested();
}

// ---------------- deletion ----------------

void TMailGuard::btDeleteClick()
{
    if (m_deleteInProgress || IsBusy())
        return;
    m_deleteInProgress = true;
    emit busyChanged(true);
    playAlarmSound(false);
    setTimer1(false);
    // Asked once: finding the desktop's default runs xdg-mime, which may take a while.
    const QString mailer = m_general.launch ? mailProgram() : QString();
    const bool launch = DeleteMessages(mailer);
    m_deleteInProgress = false;
    emit busyChanged(IsBusy());
    // Without a mail program there is nothing to start, and the deletion's own line stays.
    if (launch && !IsBlankText(mailer))
        launchMailProgram(mailer);
    UpdateAutomaticCaptions(m_general.automatic, m_general.minutes);
    commandEnded();
}

bool TMailGuard::DeleteMessages(const QString &mailer)
{
    const int total = m_messages.Count();
    const QList<int> markedRows = m_messages.MarkedRows();
    const int marked = int(markedRows.size());
    const bool askFirst = !m_general.automatic && m_general.ask;
    if (marked == 0) {
        if (askFirst)
            infoBox(QStringLiteral("There were no messages marked to delete!"));
        return false;
    }
    if (askFirst && !askYesNo(QStringLiteral("Really delete %1 messages from server?").arg(marked)))
        return false;

    ActivityScope scope(*this, Activity::Delete);
    // The rows act on the mailbox they were listed from, whatever the client was given since.
    const int slot = m_messages.ListedSlot();
    if (const QString refusal = listingRefusal(slot, QStringLiteral("deleted")); !refusal.isEmpty()) {
        tell(refusal);
        return false;
    }
    GetRemotePOPSettings(slot);
    if (m_pop.RemoteInfo().Count() != total) {
        tell(QStringLiteral("The message list no longer matches what was listed from the server, so "
                            "nothing was deleted. Check e-mail again, then delete."));
        return false;
    }
    // A log-in the server would refuse as too soon is not tried.
    if (LoginDelayPending(slot)) {
        const QDeadlineTimer &until = m_loginNotBefore[size_t(slot - 1)];
        const QTime at = QTime::currentTime().addMSecs(int(qMin<qint64>(until.remainingTime(), 24 * 3600 * 1000)));
        tell(QStringLiteral("The server %1 asks for a pause between log-ins to mailbox %2, so deleting is "
                            "possible from %3. The marks stay as they are: delete again then.")
                 .arg(m_pop.Server(), QString::number(slot), at.toString(QStringLiteral("HH:mm"))));
        return false;
    }
    // Only what the user sees marked now is deleted: no request left over from earlier.
    for (int i = 0; i < m_pop.RemoteInfo().Count(); ++i)
        m_pop.Unmark(i);
    for (int row : markedRows)
        m_pop.MarkDelete(row);
    m_deleteTotal = marked;
    m_deleteCounter = 1;
    m_deletedRows.clear();

    disableAllButtons();
    setExitButtonCancel(true);
    setTrayMenuEnabled(false);
    if (m_windowVisible || !m_autoCheckRunning)
        showProgress(kDeletingTitle);

    TTaskResult out = runClient([this] { m_pop.TransferData(); });
    noteLoginDelay(slot, out);
    // The server removes messages only when the session ended with an accepted QUIT, which
    // is when TransferData returned normally; only those messages are logged and counted.
    out.changed = m_pop.SkippedItems();
    if (out.ok)
        out.deleted = m_deletedRows;
    const QList<int> &skipped = out.changed;
    const int deleted = int(out.deleted.size());
    TTaskResult relisted;
    if (out.ok) {
        recordDeletions(out.deleted);
        // The list shows what is left on the server, unless a mail program is about to take it.
        const bool launchNext =
            total != deleted && !m_general.automatic && m_general.launch && !IsBlankText(mailer);
        // A server that wants a pause between log-ins would refuse the listing again: the
        // rows left stay as they were listed.
        if (launchNext || m_pop.LoginDelay() <= 0)
            m_messages.Clear();
        if (!launchNext && m_pop.LoginDelay() <= 0) {
            if (m_windowVisible || !m_autoCheckRunning)
                showProgress(kRetrievingTitle);
            relisted = listMailbox();
            saveRuleLists();
        }
    }

    setTrayMenuEnabled(true);
    enableAllButtons();
    setExitButtonCancel(false);
    if (out.ok)
        announceDeletions(deleted, int(skipped.size()));
    chooseCheckButtonPicture();
    hideProgress();

    if (quiet()) {
        noteQuietFailure(out.ok ? relisted : out);
    } else {
        if (!out.ok)
            reportFailure(out, slot);
        else if (!relisted.ok)
            reportFailure(relisted, slot);
        if (!skipped.isEmpty())
            infoBox(QStringLiteral("%1 of the marked messages were left on the server because "
                                   "the mailbox changed after it was listed. Check e-mail again "
                                   "to see what is waiting now.")
                        .arg(skipped.size()));
    }
    return out.ok && total != deleted && (m_windowVisible || !m_autoCheckRunning) && m_general.launch;
}

void TMailGuard::recordDeletions(const QList<int> &deletedRows)
{
    {
        ActivityLog::Batch batch(m_log);
        for (int row : deletedRows) {
            const TMessageListRow &r = m_messages.Row(row);
            m_log.logDeletion(m_pop.UserName(), m_pop.Server(), {r.subject, r.sender, r.sizeText, r.date});
        }
    }
    if (!deletedRows.isEmpty()) {
        m_general.count += deletedRows.size();
        if (!SaveSpamCount(*m_settings, m_general.count))
            m_pendingProblem = QStringLiteral("The count of deleted spam could not be stored: %1")
                                   .arg(m_settings->lastError());
    }
    // What is gone from the server leaves the list; the rest keep their marks.
    QList<TMessageListRow> kept;
    for (int row = 0; row < m_messages.Count(); ++row)
        if (!deletedRows.contains(row))
            kept.append(m_messages.Row(row));
    if (kept.size() != m_messages.Count()) {
        m_messages.Clear();
        for (const TMessageListRow &r : std::as_const(kept))
            m_messages.Append(r);
    }
}

void TMailGuard::announceDeletions(int deleted, int skipped)
{
    setStatus(QStringLiteral("There were %1 messages deleted").arg(deleted));
    TCaptionState c = m_captions;
    c.trayHint = QStringLiteral("%1 spams deleted").arg(deleted);
    if (skipped > 0)
        c.trayHint += QStringLiteral(", %1 left alone").arg(skipped);
    setCaptions(c);
}

QString TMailGuard::listingRefusal(int slot, const QString &action) const
{
    if (slot < 1 || slot > kMailboxSlots || TMailboxIdentity::Of(m_servers.slot(slot)) == m_listIdentity)
        return {};
    return QStringLiteral("Mailbox %1 was changed in the settings after this list was made, so nothing was %2. "
                          "Check e-mail again to see what is waiting in the mailbox it names now.")
        .arg(QString::number(slot), action);
}

// ---------------- automatic mode ----------------

void TMailGuard::Timer1Timer()
{
    // The tick never starts a pass inside a running command or a dialog.
    if (IsBusy() || m_autoCheckRunning || m_modalDepth > 0)
        return;
    --m_minutesLeft;
    UpdateAutomaticCaptions(m_general.automatic, m_general.minutes);
    m_autoCheckRunning = true;
    m_passCanceled = false;
    {
        const auto reset = qScopeGuard([this] { m_autoCheckRunning = false; });
        automaticPass();
    }
    TCaptionState c = m_captions;
    c.title = c.windowCaption;
    c.trayHint = c.windowCaption;
    setCaptions(c);
    // Only automatic mode runs the tick: a switch to manual mode during the pass stays.
    setTimer1(m_general.automatic);
    commandEnded();
}

bool TMailGuard::LoginDelayPending(int n) const
{
    return n >= 1 && n <= kMailboxSlots && !m_loginNotBefore[size_t(n - 1)].hasExpired();
}

bool TMailGuard::noteLoginDelay(int slot, const TTaskResult &out)
{
    if (slot < 1 || slot > kMailboxSlots)
        return false;
    // Counted from the end of the check, a little later than the log-in the server counts
    // from, so the next one is never early.
    if (m_pop.LoginDelay() > 0)
        m_loginNotBefore[size_t(slot - 1)] = QDeadlineTimer(qint64(m_pop.LoginDelay()) * 1000);
    return !out.ok && out.serverRefused && m_pop.LoginDelayRefused();
}

QString TMailGuard::loginDelayNote(int slot, const QString &user) const
{
    const QDeadlineTimer &until = m_loginNotBefore[size_t(slot - 1)];
    if (until.hasExpired())
        return QStringLiteral("MailBox %1 skipped: its server asks for a pause between checks").arg(user);
    const QTime at = QTime::currentTime().addMSecs(int(qMin<qint64>(until.remainingTime(), 24 * 3600 * 1000)));
    return QStringLiteral("MailBox %1 skipped until %2").arg(user, at.toString(QStringLiteral("HH:mm")));
}

void TMailGuard::automaticPass()
{
    if (m_minutesLeft > 0) {
        TCaptionState c = m_captions;
        c.windowCaption = CountdownCaption(m_minutesLeft);
        setCaptions(c);
        return;
    }
    setTimer1(false);
    bool found = false;
    QString foundUser;
    int foundCount = 0;
    QStringList skipped;
    for (int n = 1; n <= kMailboxSlots && !m_passCanceled && !m_quitPending; ++n) {
        setIwhich(n);
        GetRemotePOPSettings(n);
        if (m_pop.Server().isEmpty() || m_pop.UserName().isEmpty())
            continue;
        const QString user = m_pop.UserName();
        if (LoginDelayPending(n)) {
            skipped << loginDelayNote(n, user);
            emit passMailboxResult(n, user, {}, true);
            continue;
        }
        TCaptionState c = m_captions;
        c.windowCaption = QStringLiteral("Tarnwick - Now checking e-mail for ") + user;
        c.title = c.windowCaption;
        c.trayHint = c.windowCaption;
        setCaptions(c);
        m_checkDelayed = false;
        // With deletion on, nobody confirms: the spam goes in the listing's own session.
        const TTaskResult result = CheckUnattended(n, m_general.kill);
        if (m_passCanceled || m_quitPending)
            break;
        emit passMailboxResult(n, user, result, m_checkDelayed);
        if (m_checkDelayed) {
            skipped << loginDelayNote(n, user);
            continue;
        }
        if (m_general.kill) {
            if (result.ok && result.listed != result.deleted.size() && m_windowVisible && m_general.launch)
                btLaunchClick();
            // What is left after the spam went is mail for the user: the pass goes on to the
            // other mailboxes, and tells about the first one with mail when it is done.
            if (!found && !m_messages.IsEmpty()) {
                found = true;
                foundUser = user;
                foundCount = m_messages.Count();
            }
            continue;
        }
        if (!m_messages.IsEmpty()) {
            found = true;
            foundUser = user;
            foundCount = m_messages.Count();
            break;
        }
    }
    TCaptionState c = m_captions;
    const QString skipNote = skipped.isEmpty() ? QString() : QStringLiteral(" - ") + skipped.join(QStringLiteral(", "));
    if (found) {
        c.windowCaption = QStringLiteral("Tarnwick - MailBox %1 - %2 messages").arg(foundUser, QString::number(foundCount))
                          + skipNote;
        c.tmLabelVisible = false;
        setCaptions(c);
        emit showWindowRequested();
        if (m_general.alarm)
            playAlarmSound(true);
    } else {
        c.windowCaption = QStringLiteral("Tarnwick - No waiting messages found") + skipNote;
        c.title = c.windowCaption;
        c.trayHint = c.windowCaption;
        setCaptions(c);
    }
    m_minutesLeft = m_general.minutes;
    // The next manual check uses the slot selected in the settings again; the rows shown
    // keep the slot they came from.
    setIwhich(m_servers.which);
    GetRemotePOPSettings(m_Iwhich);
}

void TMailGuard::UpdateAutomaticCaptions(bool automatic, int minutes)
{
    TCaptionState c = m_captions;
    c.windowCaption = kTarnwick;
    if (automatic) {
        // A command or dialog that runs turns the tick on when it ends.
        setTimer1(!IsBusy() && m_modalDepth == 0);
        c.windowCaption = CountdownCaption(minutes);
        c.title = c.windowCaption;
        c.trayHint = c.windowCaption;
    } else {
        setTimer1(false);
        c.title = kTarnwick;
        c.trayHint = kTarnwick;
    }
    c.tmLabelVisible = true;
    c.automatic = automatic;
    c.trayAnimated = automatic;
    setCaptions(c);
}

void TMailGuard::EnableAutomatic(bool enable)
{
    m_general.automatic = enable;
    if (!SaveAutomatic(*m_settings, enable))
        m_pendingProblem = QStringLiteral("The automatic mode could not be stored for the next start: %1")
                               .arg(m_settings->lastError());
    if (!enable)
        m_minutesLeft = m_general.minutes;
    UpdateAutomaticCaptions(m_general.automatic, m_general.minutes);
    m_log.logAutomaticMode(enable);
    if (!IsBusy())
        commandEnded();
}

void TMailGuard::playAlarmSound(bool play)
{
    if (!play) {
        emit alarmStopped();
        return;
    }
    QString name = m_general.alarmFile.left(kAlarmNameLength);
    if (IsBlankText(name))
        name = DataFile(QStringLiteral("harptune.wav"));
    if (!QFileInfo(name).isFile())
        emit beepRequested();
    else
        emit alarmRequested(name, m_general.repeat);
}

void TMailGuard::btLaunchClick()
{
    // Launching clears the list, which a running command still relies on.
    if (!IsBusy())
        launchMailProgram(mailProgram());
}

void TMailGuard::launchMailProgram(const QString &mailer)
{
    setTimer1(false);
    playAlarmSound(false);
    const auto timerBack = qScopeGuard([this] { restoreTimer1(); });
    if (IsBlankText(mailer)) {
        // Launching after a deletion is on by default; with no mail program anywhere that
        // is nothing to stop the user for.
        setStatus(QStringLiteral("No mail program was started: none is set on the Mail program tab of "
                                 "the General settings and the desktop has no default one."));
        return;
    }
    if (m_launcher(mailer)) {
        m_messages.Clear();
        enableAllButtons();
        chooseCheckButtonPicture();
    } else {
        errorBox(QStringLiteral("Unable to launch mail program. Check the mail program "
                                "path/name on the Mail program tab of the General settings."));
    }
}

QString TMailGuard::mailProgram() const
{
    if (!IsBlankText(m_general.mailer))
        return m_general.mailer;
    return m_defaultMailer ? m_defaultMailer() : QString();
}

void TMailGuard::btExitClick(bool fromTray)
{
    playAlarmSound(false);
    if (IsBusy()) {
        Cancel();
        return;
    }
    m_log.close();
    if (!fromTray && m_sysTrayMode)
        emit hideToTrayRequested();
    else
        emit quitRequested();
}

bool TMailGuard::CloseQuery()
{
    if (IsBusy() || m_autoCheckRunning) {
        m_quitPending = true;
        Cancel();
        return false;
    }
    if (m_pop.Connected()) {
        try {
            m_pop.Disconnect();
        } catch (const std::exception &) {
            // Leaving anyway: the connection is closed whether the goodbye worked or not.
        }
    }
    m_log.close();
    return true;
}

// ---------------- dialogs ----------------

TSettingsEdit TMailGuard::BeginGeneralSettings()
{
    BeginModal();
    return {m_general, m_servers};
}

void TMailGuard::EndGeneralSettings(const TSettingsEdit *stored)
{
    if (stored) {
        const qint64 counted = m_general.count;
        m_general = stored->general;
        m_servers = stored->servers;
        // The dialog stored the count it was shown; a deletion since has counted on.
        if (!stored->countReset && counted != m_general.count) {
            m_general.count = counted;
            if (!SaveSpamCount(*m_settings, counted))
                errorBox(QStringLiteral("The count of deleted spam could not be stored: %1")
                             .arg(m_settings->lastError()));
        }
    }
    if (m_modalDepth > 0)
        --m_modalDepth;
    m_startInTray = false; // the settings just made rule from now on
    m_sysTrayMode = m_general.sysTray && m_trayAvailable;
    m_log.setFileName(m_general.logFile);
    setIwhich(m_servers.which);
    GetRemotePOPSettings(m_Iwhich);
    m_minutesLeft = m_general.minutes;
    UpdateAutomaticCaptions(m_general.automatic, m_general.minutes);
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
    const QString normalized = NormalizeFingerprint(fingerprint);
    if (n < 1 || n > kMailboxSlots || normalized.isEmpty()) {
        errorBox(QStringLiteral("\"%1\" is not a certificate fingerprint: it must be 64 hex digits "
                                "(SHA-256), with or without colons.")
                     .arg(fingerprint));
        return false;
    }
    m_servers.slot(n).fingerprint = normalized;
    if (m_clientSlot == n && !m_pop.Busy())
        GetRemotePOPSettings(n);
    if (!m_settings->writeString(SettingsSection::Server, QStringLiteral("Fingerprint%1").arg(n), normalized)
        || !m_settings->flush()) {
        errorBox(QStringLiteral("The trusted certificate of mailbox %1 is used until Tarnwick ends, "
                                "but it could not be stored: %2")
                     .arg(n)
                     .arg(m_settings->lastError()));
        return false;
    }
    return true;
}

// ---------------- commands on the rows ----------------

void TMailGuard::btMarkClick(const QList<int> &rows)
{
    playAlarmSound(false);
    for (int row : rows) {
        if (row < 0 || row >= m_messages.Count())
            continue;
        const int mark = m_messages.MessageMark(row);
        m_messages.SetMessageMark(row, TRuleEvaluator::IsMarkedForDeletion(mark) ? NoMark : CheckMark);
    }
    ShowTotalCount();
}

void TMailGuard::ResetButtonClick()
{
    for (int row = 0; row < m_messages.Count(); ++row)
        m_messages.SetMessageMark(row, NoMark);
    ShowTotalCount();
}

QString TMailGuard::RetrieveMessage(int row)
{
    if (IsBusy() || row < 0 || row >= m_messages.Count())
        return {};
    ActivityScope scope(*this, Activity::Retrieve);
    setTimer1(false);
    const auto timerBack = qScopeGuard([this] { restoreTimer1(); });
    playAlarmSound(false);

    // Copies: the list may change while the question below waits for the user.
    const int slot = m_messages.Row(row).slot;
    const qint64 size = m_messages.Row(row).sizeText.toLongLong();
    if (size > kLargeMessage
        && !askYesNo(QStringLiteral("The message you have selected to view is quite large - ")
                     + QString::number(size) + QStringLiteral(" bytes. ")
                     + QStringLiteral("Are you sure you wish to download and view it?")))
        return {};
    if (m_cancelRequested || row >= m_messages.Count())
        return {};

    if (const QString refusal = listingRefusal(slot, QStringLiteral("downloaded")); !refusal.isEmpty()) {
        errorBox(refusal);
        return {};
    }
    GetRemotePOPSettings(slot);
    if (m_pop.RemoteInfo().Count() != m_messages.Count()) {
        errorBox(QStringLiteral("The message list no longer matches what was listed from the "
                                "server. Check e-mail again, then view the message."));
        return {};
    }
    m_pop.SetMessageDirectory(DataFolder());
    const QString path = m_pop.MessageDirectory() + QStringLiteral("msg_%1.eml").arg(row);
    // A file left from an earlier download must not pass for this message.
    QFile::remove(path);
    for (int i = 0; i < m_pop.RemoteInfo().Count(); ++i)
        m_pop.Unmark(i);
    m_pop.MarkRetrieve(row);

    disableAllButtons();
    setExitButtonCancel(true);
    setTrayMenuEnabled(false);
    showProgress(kRetrievingTitle);
    const TTaskResult out = runClient([this] { m_pop.TransferData(); });
    const bool skipped = m_pop.SkippedItems().contains(row);
    hideProgress();
    setTrayMenuEnabled(true);
    enableAllButtons();
    setExitButtonCancel(false);
    m_pop.Unmark(row);

    if (!out.ok) {
        reportFailure(out, slot);
        return {};
    }
    if (skipped) {
        infoBox(QStringLiteral("This message is no longer on the server as it was listed: the "
                               "mailbox changed. Check e-mail again to see what is waiting now."));
        return {};
    }
    if (!QFileInfo(path).isFile()) {
        errorBox(QStringLiteral("The message was downloaded but could not be saved as %1. Check "
                                "that the data folder is writable and the disk has free space.")
                     .arg(path));
        return {};
    }
    return path;
}

void TMailGuard::CleanUpEMLFiles()
{
    // Every downloaded message, whatever its row was: a mailbox of more than a hundred
    // messages leaves "msg_101.eml" and beyond, and those must not pile up either.
    QDir folder(DataFolder());
    for (const QString &name : folder.entryList({QStringLiteral("msg_*.eml")}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}
