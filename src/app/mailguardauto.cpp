// The guard's automatic mode: the minute tick, the pass over the mailboxes and its captions,
// the alarm, the mail program and leaving the program.
#include "mailguard.h"
#include "guardsteps.h"
#include "mailguardtexts.h"

#include "files.h"
#include "imapwatches.h"
#include "ruletext.h"
#include "textutil.h"
#include "wording.h"

#include <QFileInfo>
#include <QScopeGuard>

namespace {

const QString kTarnwick = QStringLiteral("Tarnwick");

QString CountdownCaption(int minutes)
{
    return minutes == 1 ? Said("Guard", "Tarnwick - next e-mail check in 1 minute")
                        : Said("Guard", "Tarnwick - next e-mail check in %1 minutes").arg(minutes);
}

} // namespace

// ---------------- the minute tick ----------------

void TMailGuard::restoreTimer1()
{
    // Only automatic mode runs the minute tick (a switch to manual mode during a command
    // stays), and never inside a pass or a dialog: those turn it on when they end.
    setTimer1(m_run.general.automatic && !m_autoCheckRunning && m_modalDepth == 0);
}

void TMailGuard::setTimer1(bool on)
{
    if (on)
        m_timer1.start();
    else
        m_timer1.stop();
}

// ---------------- automatic mode ----------------

void TMailGuard::Timer1Timer()
{
    // The tick never starts a pass inside a running command or a dialog.
    if (IsBusy() || m_autoCheckRunning || m_modalDepth > 0)
        return;
    --m_minutesLeft;
    UpdateAutomaticCaptions(m_run.general.automatic, m_run.general.minutes);
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
    setTimer1(m_run.general.automatic);
    commandEnded();
}

bool TMailGuard::LoginDelayPending(int n) const
{
    return m_loginDelays.Pending(n);
}

bool TMailGuard::noteLoginDelay(int slot, const TTaskResult &out)
{
    m_loginDelays.Note(slot, m_passReplay ? m_passLoginDelay : m_mailbox->LoginDelay());
    return out.loginDelay;
}

void TMailGuard::automaticPass()
{
    if (m_minutesLeft > 0) {
        TCaptionState c = m_captions;
        c.windowCaption = CountdownCaption(m_minutesLeft);
        setCaptions(c);
        return;
    }
    runPass(m_run.servers);
    m_minutesLeft = m_run.general.minutes;
    // The next manual check uses the slot selected in the settings again; the rows shown
    // keep the slot they came from.
    setIwhich(m_run.servers.which);
    GetRemotePOPSettings(m_Iwhich);
}

void TMailGuard::runPass(const ServerSettings &servers)
{
    setTimer1(false);
    const auto run = [this](const QList<int> &due, const TPassVisit &visit) {
        if (m_concurrentPass && due.size() > 1)
            return runPassTogether(due, visit);
        for (int n : due)
            if (!visit(n, [this, n] { return passCheck(n); }))
                break;
    };
    const TPassSummary pass = RunAutomaticPass(
        servers, m_run.general.kill, m_loginDelays, run, [this] { return m_passCanceled || m_quitPending; },
        [this](int n) { emit passMailboxResult(n, m_run.servers.slot(n).mailbox, {}, true); });
    TCaptionState c = m_captions;
    const QString skipNote =
        pass.skipped.isEmpty() ? QString() : QStringLiteral(" - ") + pass.skipped.join(QStringLiteral(", "));
    if (!pass.foundUser.isEmpty()) {
        c.windowCaption =
            Said("Guard", "Tarnwick - MailBox %1 - %2 messages").arg(pass.foundUser, QString::number(pass.foundCount))
            + skipNote;
        c.tmLabelVisible = false;
        setCaptions(c);
        emit showWindowRequested();
        if (m_run.general.alarm)
            playAlarmSound(true);
    } else {
        c.windowCaption = Said("Guard", "Tarnwick - No waiting messages found") + skipNote;
        c.title = c.windowCaption;
        c.trayHint = c.windowCaption;
        setCaptions(c);
    }
}

bool TMailGuard::imapNewMail(int n)
{
    if (!m_run.general.automatic || m_quitPending)
        return true;   // nobody waits for this check any more
    if (IsBusy() || m_autoCheckRunning || m_modalDepth > 0)
        return false;
    m_autoCheckRunning = true;
    m_passCanceled = false;
    {
        const auto reset = qScopeGuard([this] { m_autoCheckRunning = false; });
        ServerSettings one;
        one.which = m_run.servers.which;
        one.slot(n) = m_run.servers.slot(n);
        runPass(one);
    }
    TCaptionState c = m_captions;
    c.title = c.windowCaption;
    c.trayHint = c.windowCaption;
    setCaptions(c);
    setTimer1(m_run.general.automatic);
    setIwhich(m_run.servers.which);
    GetRemotePOPSettings(m_Iwhich);
    commandEnded();
    return true;
}

void TMailGuard::passWaiting(bool on)
{
    m_activity = on ? Activity::Check : Activity::None;
    if (on) {
        showBusyScreen(kRetrievingTitle);
    } else {
        hideBusyScreen();
        // The cancel is the pass's (m_passCanceled); what is told next is told in full.
        m_cancelRequested = false;
    }
    emit busyChanged(IsBusy());
}

void TMailGuard::runPassTogether(const QList<int> &due, const TPassVisit &visit)
{
    // A copy: the settings must not change under the conversations.
    const ServerSettings servers = m_run.servers;
    bool ended = false;
    bool canceledTold = false;
    const auto canceled = [this] { return m_passCanceled || m_quitPending; };
    TSlotCheckSteps steps;
    steps.alone = [&](int n) {
        passWaiting(false);
        ended = ended || !visit(n, [this, n] { return passCheck(n); });
        passWaiting(!ended);
    };
    steps.together = [&](int n, TConcurrentCheck &check, const TMessageListModel &rows) {
        passWaiting(false);
        bool told = false;
        const auto tell = [&] {
            told = true;
            return passCheck(n, &check, &rows);
        };
        if (!ended)
            ended = !visit(n, tell);
        // After the pass ended, a session that deleted has still deleted: that is recorded.
        // The first conversation a cancel stopped is told as a cancelled check is; the rest
        // of the pass is dropped, as one after another would not have reached it.
        const TTaskResult &result = check.result;
        // A dropped conversation still logged in: the server's pause between log-ins runs
        // from now, and the next pass must not log in before it has passed.
        if (!told && check.loginDelay > 0)
            m_loginDelays.Note(n, check.loginDelay);
        if (!told && ended
            && ((result.ok && !result.deleted.isEmpty())
                || (result.canceled && canceled() && !canceledTold && !check.told.isEmpty()))) {
            canceledTold = canceledTold || result.canceled;
            tell();
        }
        passWaiting(!ended);
    };
    passWaiting(true);
    const auto idle = qScopeGuard([this] {
        if (m_activity != Activity::None)
            passWaiting(false);
    });
    RunSlotChecks(servers, due, m_run.general.kill, !m_run.ras.Service().isEmpty(), m_run.spam, m_run.known, steps,
                  [&] { return ended || canceled(); }, m_timeOutSeconds);
}

TPassCheck TMailGuard::passCheck(int n, const TConcurrentCheck *told, const TMessageListModel *rows)
{
    setIwhich(n);
    TCaptionState c = m_captions;
    c.windowCaption = Said("Guard", "Tarnwick - Now checking e-mail for %1").arg(m_run.servers.slot(n).mailbox);
    c.title = c.windowCaption;
    c.trayHint = c.windowCaption;
    setCaptions(c);
    m_checkDelayed = false;
    TPassCheck out;
    if (told) {
        m_passReplay = [this, told, rows](TCheckParts &parts, const std::function<void(int, int)> &rowAdded,
                                          const std::function<void(const QList<int> &)> &deleting) {
            TCheckReplay to;
            to.events = mailboxEvents();
            to.listed = rowAdded;
            to.picking = deleting;
            return ReplayCheck(*told, *rows, parts.messages, to);
        };
        m_passLoginDelay = told->loginDelay;
    }
    {
        const auto replayed = qScopeGuard([this] { m_passReplay = nullptr; });
        // With deletion on, nobody confirms: the spam goes in the listing's own session.
        out.result = CheckUnattended(n, m_run.general.kill);
    }
    out.delayed = m_checkDelayed;
    if (m_passCanceled || m_quitPending)
        return out;
    emit passMailboxResult(n, m_run.servers.slot(n).mailbox, out.result, out.delayed);
    if (out.delayed)
        return out;
    const TTaskResult &result = out.result;
    if (m_run.general.kill && result.ok && result.listed != result.deleted.size() && m_windowVisible && m_run.general.launch)
        launchMailProgram(mailProgram());
    out.rowsLeft = m_run.messages.Count();
    return out;
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
    // IMAP mailboxes are watched while automatic mode is on: new mail is checked at once.
    if (!m_imapWatches && automatic)
        m_imapWatches = new TImapWatches([this](int n) { return imapNewMail(n); }, this);
    if (m_imapWatches)
        m_imapWatches->Update(m_run.servers, automatic, m_timeOutSeconds);
    c.tmLabelVisible = true;
    c.automatic = automatic;
    c.trayAnimated = automatic;
    setCaptions(c);
}

void TMailGuard::EnableAutomatic(bool enable)
{
    m_run.general.automatic = enable;
    if (!SaveAutomatic(m_run.settings, enable))
        m_pendingProblem = Said("Guard", "The automatic mode could not be stored for the next start: %1")
                               .arg(m_run.settings.lastError());
    if (!enable)
        m_minutesLeft = m_run.general.minutes;
    UpdateAutomaticCaptions(m_run.general.automatic, m_run.general.minutes);
    m_run.log.logAutomaticMode(enable);
    if (!IsBusy())
        commandEnded();
}

void TMailGuard::playAlarmSound(bool play)
{
    if (!play) {
        emit alarmStopped();
        return;
    }
    const QString name = AlarmSoundFile(m_run.general.alarmFile);
    if (name.isEmpty())
        emit beepRequested();
    else
        emit alarmRequested(name, m_run.general.repeat);
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
        setStatus(Said("Guard", "No mail program was started: none is set on the Mail program tab of "
                                 "the General settings and the desktop has no default one."));
        return;
    }
    if (m_launcher(mailer)) {
        m_run.messages.Clear();
        enableAllButtons();
        chooseCheckButtonPicture();
    } else {
        errorBox(Said("Guard", "Unable to launch mail program. Check the mail program "
                                "path/name on the Mail program tab of the General settings."));
    }
}

QString TMailGuard::mailProgram() const
{
    if (!IsBlankText(m_run.general.mailer))
        return m_run.general.mailer;
    return m_defaultMailer ? m_defaultMailer() : QString();
}

void TMailGuard::btExitClick(bool fromTray)
{
    playAlarmSound(false);
    if (IsBusy()) {
        Cancel();
        return;
    }
    m_run.log.close();
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
    if (m_mailbox->Connected()) {
        try {
            // Nothing is left to commit: a session that deleted has ended with its commit.
            m_mailbox->LogOut();
        } catch (const std::exception &) {
            // Leaving anyway: the connection is closed whether the goodbye worked or not.
        }
    }
    m_run.log.close();
    return true;
}
