#pragma once

#include "activitylog.h"
#include "automaticpass.h"
#include "checktask.h"
#include "concurrentchecks.h"
#include "mailboxes.h"
#include "runparts.h"
#include "slotcheck.h"
#include "evaluator.h"
#include "knownlist.h"
#include "mailboxsetup.h"
#include "messagelistmodel.h"
#include "ras.h"
#include "prompts.h"
#include "settings.h"
#include "spamsettings.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class TImapWatches;

// What the main window's buttons and tray menu show. The guard publishes a new state with
// buttonsChanged() whenever anything in it changes.
struct TButtonState
{
    bool checkEnabled = true;    // btList "Check e-mail"
    bool optionsEnabled = true;  // btOptions "Settings and more"
    // btMark, btResetAll, btLaunch, btDelete and btRemark; the banner lblAd shows instead
    // while they are hidden.
    bool messageButtonsVisible = false;
    bool bannerVisible = true;
    QString exitCaption = QStringLiteral("Goodbye"); // "Goodbye", "Hide" or "Cancel"
    bool exitIsCancel = false;   // the stop picture instead of the good-bye and door pictures
    QString trayExitCaption = QStringLiteral("Exit"); // "Exit", or "Cancel" while busy
    bool checkButtonUp = false;  // the "up" picture when the list has rows, else "down"
    // The tray icon's popup menu; off while the POP3 client is busy, so that no command of
    // it (check, launch, exit) can reach the client in the middle of an exchange.
    bool trayMenuEnabled = true;

    bool operator==(const TButtonState &) const = default;
};

// The progress window TfrmRetrieving.
struct TProgressState
{
    bool visible = false; // shown, with its animation running
    QString title;        // lblTitle
    QString server;       // lblServer
    QString mailbox;      // lblMailbox
    QString message;      // lblMsg
    bool barVisible = false; // progbar (minimum 1)
    int barMaximum = 1;
    int barPosition = 1;

    bool operator==(const TProgressState &) const = default;
};

// The automatic-mode texts and the tray icon's look.
struct TCaptionState
{
    QString windowCaption = QStringLiteral("Tarnwick");
    QString title = QStringLiteral("Tarnwick");    // the heading lblTitle
    QString trayHint = QStringLiteral("Tarnwick");
    bool tmLabelVisible = true; // the small "TM" label Label1 beside the heading
    bool automatic = false;     // tray radio items: "Enable ..." checked when true
    bool trayAnimated = false;  // tray state tsAnimated (2) when true, tsEnabled (0) when not

    bool operator==(const TCaptionState &) const = default;
};

// The mail guard: everything the main window does without being a window. It checks a
// mailbox and marks the waiting messages, deletes the marked ones, runs the automatic mode
// on a minute tick, decides about the alarm and the mail program, and writes the activity
// log. It owns the live settings (rule lists, blacklist, general and server settings), the
// POP3 client and the message list; the windows edit the live settings through the
// accessors and tell the guard when a dialog opens and closes.
//
// It talks to the user only through TPrompts and its signals: a window binds the signals
// to its widgets and implements the prompts with message boxes, a test or the command line
// with answers of their own. Nothing here needs a display; a whole check runs under a
// QCoreApplication.
//
// One thread. The POP3 client's waits run nested event loops, so window events, timers and
// signal handlers can call back into the guard in the middle of a command. Every command
// that would use the client (check, delete, body download, launch) is refused while one of
// them runs (IsBusy()); Cancel() and the exit button's cancel are what stay usable. After
// any failure of a command its clean-up still runs: the buttons, the progress window, the
// exit button, the flags and the timer return to idle, and the error is shown once, after
// the clean-up. The automatic pass is the one exception to the single thread: its
// conversations with several mailboxes run at once, each in a thread of its own
// (RunSlotChecks), while the guard waits in an event loop, busy as in a check; what each
// conversation told is then told again here, mailbox after mailbox, as if it had run here.
//
// The rows remember the mailbox slot they were listed from; a deletion or a body download
// loads that slot into the client first, so they always act on the mailbox the user sees,
// whatever the automatic pass gave the client since. When the slot names another mailbox
// now (server, port, user name or security changed in the settings), they are refused and
// nothing is sent. When nobody confirms (automatic pass with deletion, tarnwick-cli), the
// marked messages are deleted in the listing's own session. Deletions are logged
// and counted only for messages the server really removed (DELE accepted and the session
// ended by an accepted QUIT); messages the client left alone because the mailbox changed
// after the listing are reported to the user instead.
//
// Minute tick: Timer1 is on only in automatic mode and only while no command, pass, dialog
// or prompt runs.
class TMailGuard : public QObject
{
    Q_OBJECT

public:
    // prompts must outlive the guard. The settings come from UserSettings' default file
    // ($TARNWICK_HOME/settings.ini when set), the rule files from the data folder.
    explicit TMailGuard(TPrompts &prompts, QObject *parent = nullptr);
    ~TMailGuard() override;

    // Start-up (the main window's FormCreate without widgets): reads the settings, the rule
    // lists and the blacklist, loads slot Iwhich into the client, sets the captions and, in
    // automatic mode, starts Timer1. Problems reading the files are shown with InfoBox.
    void FormCreate();

    // --- live settings and parts (the windows edit these objects in place) ---
    UserSettings &Settings() { return m_run.settings; }
    GeneralSettings &General() { return m_run.general; }
    ServerSettings &Servers() { return m_run.servers; }
    TSpamSettings &SpamSettings() { return m_run.spam; }
    TKnownList &KnownList() { return m_run.known; }
    TRuleEvaluator &Evaluator() { return m_run.evaluator; }
    // The mailbox of the slot loaded last (GetRemotePOPSettings), and that slot as loaded.
    TMailbox &Mailbox() { return *m_mailbox; }
    const MailboxSlot &LoadedSlot() const { return m_loadedSlot; }
    // The IDLE sessions of the IMAP mailboxes; null until automatic mode first starts.
    TImapWatches *ImapWatches() const { return m_imapWatches; }
    // The dial-up component: the client dials its Service before it connects and hangs up
    // after. Its entry is chosen at start from the stored "RAS" position.
    TagRas &Ras() { return m_run.ras; }
    ActivityLog &Log() { return m_run.log; }
    TMessageListModel &Messages() { return m_run.messages; }
    const TMessageListModel &Messages() const { return m_run.messages; }

    // --- state ---
    int Iwhich() const { return m_Iwhich; }
    bool checkInProgress() const { return m_checkInProgress; }
    bool autoCheckRunning() const { return m_autoCheckRunning; }
    bool deleteInProgress() const { return m_activity == Activity::Delete; }
    int minutesLeft() const { return m_minutesLeft; }
    bool sysTrayMode() const { return m_sysTrayMode; }
    bool Timer1Enabled() const { return m_timer1.isActive(); }
    // A check, deletion or body download runs (or the client is still in an exchange).
    bool IsBusy() const;
    const TButtonState &Buttons() const { return m_buttons; }
    const TProgressState &Progress() const { return m_progress; }
    const TCaptionState &Captions() const { return m_captions; }
    QString StatusText() const { return m_status; }

    // The window reports whether it is on screen: an automatic pass with the window hidden
    // is quiet (errors dropped, no progress window, no mailbox choice).
    void SetMainWindowVisible(bool visible) { m_windowVisible = visible; }
    bool MainWindowVisible() const { return m_windowVisible; }
    // Without a notification area (QSystemTrayIcon::isSystemTrayAvailable() false) tray mode
    // is ignored, so the program never hides where the user cannot reach it.
    void SetTrayAvailable(bool available);
    // Tray mode for this run whatever the setting says ("tarnwick --hidden"), until the
    // general settings are next closed. Takes effect at FormCreate().
    void SetStartInTray(bool on) { m_startInTray = on; }
    // Seconds each network wait may take (120 by default).
    void SetNetworkTimeOut(int seconds);
    // How the mail program is started; true when it started. The default splits the command
    // line (QProcess::splitCommand) and starts it detached.
    void SetLauncher(std::function<bool(const QString &command)> launcher);
    // Where the mail program comes from when none is set: the desktop's default mail
    // program (xdg-mime's mailto handler, its desktop entry's command); empty for none.
    void SetDefaultMailProgram(std::function<QString()> find);

    // --- Part of the check ---
    // The check of slot Iwhich ("Check e-mail", the tray's check, the automatic pass).
    // True when the mailbox was listed to the end; false when it was refused (busy), stopped
    // (missing settings, the mailbox choice cancelled) or failed (the error was shown).
    bool btListClick();
    // A check nobody watches or confirms (tarnwick-cli, the automatic pass): slot n (0: slot
    // Iwhich) is listed and marked and, with deleteMarked, its marked messages are deleted in
    // the same session. Logs, counts and keeps hit counts as the window's check and deletion
    // do; asks for no mailbox, starts no mail program and never ends the program. The result
    // holds the rows as listed and marked, and the listed indexes the server removed.
    TTaskResult CheckUnattended(int n, bool deleteMarked);
    // Makes slot n (1 ... 12) the one the next check uses, as the mailbox choice does, and
    // loads it into the client. Ignored while busy.
    void SelectMailbox(int n);
    // Makes slot n (1 ... 12) of the live server settings the mailbox the next conversation
    // talks to: server, user name, secret, security and trusted fingerprint. Nothing changes
    // while a conversation runs; every command loads its slot before it talks.
    void GetRemotePOPSettings(int n);
    // The first slot whose server and user name equal the loaded slot's (ASCII
    // case-insensitive), or 0.
    int serverToIndex() const;
    // Evaluates one row (or every row for -1) with the live rules.
    void MarkForDeletion(int index);
    // "Auto-mark messages": every mark cleared, every row evaluated again; then the count.
    void btRemarkClick();
    // "Message Total: n Number Marked: m" in the status panel.
    void ShowTotalCount();
    // The progress window's "Click to cancel" and the exit button while it reads "Cancel":
    // stops the running exchange. The command then unwinds through its clean-up; a check's
    // rows are cleared. Does nothing when nothing runs.
    void Cancel();

    // Whether the server of slot n asked for a pause between log-ins (LOGIN-DELAY) that has
    // not passed yet; the automatic pass leaves the slot alone until then.
    bool LoginDelayPending(int n) const;
    // Whether the automatic pass talks to its mailboxes all at once (on unless turned off; off,
    // one after another). What the pass shows, logs and deletes is the same either way; tests
    // and benchmarks compare the two.
    void SetConcurrentPass(bool on) { m_concurrentPass = on; }

    // --- deletion and automatic mode ---
    // "Delete marked messages", also called by the automatic pass.
    void btDeleteClick();
    // The minute tick of automatic mode. Timer1 calls it every 60 s; tests call it directly.
    void Timer1Timer();
    void UpdateAutomaticCaptions(bool automatic, int minutes);
    // The tray's "Enable automatic check" (true) / "Disable automatic check" (false).
    void EnableAutomatic(bool enable);
    // "Launch e-mail program" (button, tray, after a deletion). Refused while busy.
    void btLaunchClick();
    // Starts (true) or stops (false) the alarm; see alarmRequested / beepRequested.
    void playAlarmSound(bool play);
    // The exit button ("Goodbye", "Hide", "Cancel") and, with fromTray, the tray's "Exit".
    // While busy it cancels and the program stays.
    void btExitClick(bool fromTray = false);
    // The main window is about to close (FormCloseQuery). When nothing runs it ends an open
    // server connection and returns true. While a command runs it cancels it and returns
    // false; quitRequested() follows once the command has unwound.
    bool CloseQuery();

    // --- dialogs opened by the window ---
    // Around the general settings dialog (btGeneralClick): BeginGeneralSettings stops the
    // alarm and Timer1 and gives copies of the live settings to edit. EndGeneralSettings
    // takes back what the dialog stored (nothing when it was cancelled); then the captions
    // follow the mode, Iwhich becomes the selected slot, the countdown restarts and the log
    // file name is taken over.
    TSettingsEdit BeginGeneralSettings();
    void EndGeneralSettings(const TSettingsEdit *stored);
    // Held around every other modal window (spam settings, About, help, the inspection
    // viewers): the alarm stops and Timer1 is off while it is open and back on afterwards as
    // it was. Scopes nest.
    class ModalScope
    {
    public:
        explicit ModalScope(TMailGuard &guard) : m_guard(guard) { m_guard.BeginModal(); }
        ~ModalScope() { m_guard.EndModal(); }
        ModalScope(const ModalScope &) = delete;
        ModalScope &operator=(const ModalScope &) = delete;

    private:
        TMailGuard &m_guard;
    };
    // Stores fingerprint (64 hex digits) as the trusted certificate of slot n, in the live
    // settings and in the settings file. False (and the error shown) when it cannot be
    // stored.
    bool TrustCertificate(int n, const QString &fingerprint);

    // --- commands on the listed rows (Part of the main window's inspection) ---
    // "Mark messages": check mark and blacklist mark become none, anything else the check mark.
    void btMarkClick(const QList<int> &rows);
    // "Reset all marks".
    void ResetButtonClick();
    // Downloads message row (the whole message) from the slot it was listed from into the
    // data folder as "msg_<row>.eml" and returns that file's path; empty when refused or
    // failed (the reason was shown).
    QString RetrieveMessage(int row);
    // Removes every "msg_*.eml" left in the data folder by an earlier run.
    void CleanUpEMLFiles();

signals:
    void buttonsChanged(const TButtonState &state);
    void progressChanged(const TProgressState &state);
    void captionsChanged(const TCaptionState &state);
    // The second panel of the status bar (the first shows the fixed hint).
    void statusChanged(const QString &text);
    void busyChanged(bool busy);
    // Iwhich changed (mailbox choice, automatic pass, general settings); the general settings
    // window selects that slot's radio button.
    void IwhichChanged(int slot);
    // The check found no user name or server: open the general settings dialog.
    void generalSettingsRequested();
    // Play the sound file (it exists), once or looping until alarmStopped().
    void alarmRequested(const QString &file, bool repeat);
    void alarmStopped();
    // No sound file: the system's beep instead.
    void beepRequested();
    // Bring the program forward (show and raise the main window).
    void showWindowRequested();
    // Hide the program to the notification area.
    void hideToTrayRequested();
    // End the program.
    void quitRequested();
    // One mailbox's turn in an automatic pass ended: checked (result), or left out because
    // its server asked for a pause between log-ins (skipped; result says nothing then).
    void passMailboxResult(int slot, const QString &mailbox, const TTaskResult &result, bool skipped);

private:
    enum class Activity { None, Check, Delete, Retrieve };
    class ActivityScope;
    class BusyScreen;
    class PromptScope;

    // Paired by ModalScope.
    void BeginModal();
    void EndModal();

    // What the mailbox's conversations tell, bound to the status line, progress and log.
    TMailboxEvents mailboxEvents();
    QString clientServer() const { return m_loadedSlot.server.trimmed(); }
    QString clientUser() const { return m_loadedSlot.mailbox; }
    void messageListed(int num, int total);
    void messageDeleting(int num);
    void setStatus(const QString &text);
    void setButtons(const TButtonState &state);
    void setProgress(const TProgressState &state);
    void setCaptions(const TCaptionState &state);
    void disableAllButtons();
    void enableAllButtons();
    void setExitButtonCancel(bool cancel);
    void chooseCheckButtonPicture();
    void showProgress(const QString &title);
    void hideProgress();
    void setProgressMessage(const QString &message, bool barVisible, int maximum = 1, int position = 1);
    void setTrayMenuEnabled(bool on);
    void setTimer1(bool on);
    void restoreTimer1();
    void setIwhich(int slot);
    bool quiet() const;

    // Runs one conversation unless a cancel came first; a failure after a cancel counts as
    // cancelled.
    TTaskResult runTask(const std::function<TTaskResult()> &conversation);
    TCheckParts checkParts();
    bool checkSlotSettings();
    // The check once the slot is chosen; unattended: no leaving after an empty check; deleteInSession:
    // the marked messages are deleted before the listing's QUIT.
    TTaskResult runCheck(bool unattended, bool deleteInSession);
    // The listing with checkInProgress set, for a check and for the listing after a deletion.
    TTaskResult listMailbox(bool deleteInSession = false);
    // After a deletion the server committed: logs and counts the deleted rows, takes them off
    // the list, and shows the count.
    void recordDeletions(const QList<int> &deletedRows);
    // "There were n messages deleted" and the tray's "n spams deleted".
    // notice: what the server could not do as asked (TTaskResult::notice), shown with the count.
    void announceDeletions(int deleted, int skipped, const QString &notice);
    // Why the rows of the list must not be acted on in slot's mailbox now; empty when they may.
    QString listingRefusal(int slot, const QString &action) const;
    // Confirms, deletes, logs, counts and lists again; true when the mail program should be
    // started now. mailer: the one that would take over afterwards, blank for none.
    bool DeleteMessages(const QString &mailer);
    void automaticPass();
    // The automatic pass over the mailboxes servers names (the others left empty).
    void runPass(const ServerSettings &servers);
    // New mail reported by the IMAP watcher of slot n: that mailbox's check as the tick runs
    // it; false when it cannot run now.
    bool imapNewMail(int n);
    // One slot of the automatic pass: the captions, the check, the mail program after it. With
    // told, the check ran alongside the others (rows: its rows, marked) and is only told here,
    // as it went, in place of a conversation of the client.
    TPassCheck passCheck(int n, const TConcurrentCheck *told = nullptr, const TMessageListModel *rows = nullptr);
    // The due slots of a pass with their conversations all at once, each taken up by visit in
    // slot order.
    void runPassTogether(const QList<int> &due, const TPassVisit &visit);
    // While the conversations of a pass run at once: busy as in a check, the exit button
    // cancels, the progress window up unless the pass is quiet; off before each slot is told.
    void passWaiting(bool on);
    // The window while a conversation runs (see BusyScreen), on and off.
    void showBusyScreen(const QString &title);
    void hideBusyScreen();
    // After a listing of slot: remembers the server's LOGIN-DELAY; true when the listing was
    // refused because of it.
    bool noteLoginDelay(int slot, const TTaskResult &out);
    void reportFailure(const TTaskResult &out, int slot);
    // A failure in a pass nobody watches: the status panel and the log, unless the client
    // reported it already.
    void noteQuietFailure(const TTaskResult &out);
    // The mail program set in the general settings, else the desktop's default one.
    QString mailProgram() const;
    // Starts mailer (blank: says in the status line that there is none) and clears the list.
    void launchMailProgram(const QString &mailer);
    void saveRuleLists();
    // An error of the guard's own: a box, or the status panel during a quiet pass.
    void tell(const QString &error);
    void errorBox(const QString &text);
    void infoBox(const QString &text);
    bool askYesNo(const QString &text);
    bool askTrust(int slot, const QString &message, const QString &fingerprint);
    // The end of every command: a problem noted meanwhile is shown, a pending quit goes out.
    void commandEnded();
    void requestQuit();

    TPrompts &m_prompts;
    TRunParts m_run;
    std::unique_ptr<TMailbox> m_mailbox;
    MailboxSlot m_loadedSlot; // what m_mailbox was made from
    int m_timeOutSeconds = 120;
    QTimer m_timer1;
    std::function<bool(const QString &)> m_launcher;
    std::function<QString()> m_defaultMailer;

    int m_Iwhich = 1;
    bool m_checkInProgress = false;
    bool m_autoCheckRunning = false;
    TImapWatches *m_imapWatches = nullptr;   // a child, made when automatic mode first starts
    int m_minutesLeft = 10;
    bool m_sysTrayMode = false;
    bool m_startInTray = false;
    bool m_windowVisible = false;
    bool m_trayAvailable = true;
    int m_clientSlot = 1;  // the slot m_mailbox talks to
    int m_listSlot = 1;    // the slot and mailbox number of the listing that runs
    int m_listMailbox = 0;
    TMailboxIdentity m_listIdentity; // the mailbox the rows were listed from
    TMailboxListing m_listing;       // what the rows were listed from

    Activity m_activity = Activity::None;
    bool m_cancelRequested = false;
    bool m_passCanceled = false;
    bool m_quitPending = false;
    int m_modalDepth = 0;
    bool m_timerBeforeModal = false;
    int m_deleteTotal = 0;
    int m_deleteCounter = 1;
    TLoginDelays m_loginDelays;
    bool m_concurrentPass = true;
    // While the pass tells a check that ran alongside others: the listing's conversation,
    // replayed, and the pause between log-ins its server announced.
    std::function<TTaskResult(TCheckParts &parts, const std::function<void(int row, int count)> &rowAdded,
                              const std::function<void(const QList<int> &rows)> &deleting)>
        m_passReplay;
    int m_passLoginDelay = 0;
    // The last check was a log-in the server refused as too soon during an automatic pass.
    bool m_checkDelayed = false;
    // The client's OnError fired during the running conversation.
    bool m_errorReported = false;
    // A log or settings file problem met during a command, shown when the command ends.
    QString m_pendingProblem;

    TButtonState m_buttons;
    TProgressState m_progress;
    TCaptionState m_captions;
    QString m_status;
};
