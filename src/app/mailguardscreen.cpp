// What the main window shows of the guard: the buttons, the progress window, the captions and
// the status line, and how the client's events reach them.
#include "mailguard.h"
#include "mailguardtexts.h"
#include "wording.h"

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
    b.messageButtonsVisible = !m_run.messages.IsEmpty();
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
    b.checkButtonUp = !m_run.messages.IsEmpty();
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
    p.server = clientServer();
    p.mailbox = clientUser();
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

void TMailGuard::setIwhich(int slot)
{
    if (slot < 1 || slot > kMailboxSlots)
        slot = 1;
    if (slot == m_Iwhich)
        return;
    m_Iwhich = slot;
    emit IwhichChanged(slot);
}

// ---------------- the mailbox's events ----------------

TMailboxEvents TMailGuard::mailboxEvents()
{
    // Progress and status texts are never logged: they are handed on as shown (Shown()), so
    // that thousands of them do not push the English of a failure out of what the log can
    // still look up (LoggedWording).
    TMailboxEvents e;
    e.connecting = [this] {
        setProgressMessage(Said("Guard", "Opening connection ... ").Shown(), false);
        setStatus(Said("Guard", "Opening connection for %1 on %2").arg(clientUser(), clientServer()).Shown());
    };
    e.listing = [this] {
        setProgressMessage(Said("Guard", "Updating headers ... ").Shown(), false);
        setStatus(Said("Guard", "Updating headers").Shown());
    };
    e.transferring = [this] {
        setProgressMessage(Said("Guard", "Transferring data ... ").Shown(), m_progress.barVisible,
                           m_progress.barMaximum, m_progress.barPosition);
        setStatus(Said("Guard", "Transferring data").Shown());
    };
    e.transferred = [this] { setStatus(Said("Guard", "Data has been transfered").Shown()); };
    e.retrieving = [this](int num) {
        setProgressMessage(Said("Guard", "Retrieving ... ").Shown(), false);
        setStatus(Said("Guard", "Retrieving %1").arg(num + 1).Shown());
    };
    e.retrieved = [this](int num) { setStatus(Said("Guard", "Message %1 retrieved").arg(num + 1).Shown()); };
    e.closing = [this] { setStatus(Said("Guard", "Closing connection").Shown()); };
    e.closed = [this] { setStatus(Said("Guard", "Connection closed").Shown()); };
    e.canceled = [this] {
        setStatus(kCanceledText);
        setExitButtonCancel(false);
        chooseCheckButtonPicture();
        m_run.log.logCancel(clientUser(), clientServer());
    };
    e.failed = [this](QString &msg) {
        m_errorReported = true;
        setStatus(msg);
        chooseCheckButtonPicture();
        m_run.log.logError(msg, clientUser(), clientServer());
    };
    e.deleting = [this](int num) { messageDeleting(num); };
    return e;
}

void TMailGuard::messageListed(int num, int total)
{
    // Told at the first and the last message and at every hundredth of the listing between:
    // for each of thousands of messages, the texts cost more than the listing itself.
    const int step = qMax(1, total / 100);
    if (num != 0 && num + 1 != total && (num + 1) % step != 0)
        return;
    setStatus(Said("Guard", "Getting message %1 of %2 total waiting messages").arg(num + 1).arg(total).Shown());
    setProgressMessage(Said("Guard", "Message %1 of %2").arg(num + 1).arg(total).Shown(), true, total, num + 1);
}

void TMailGuard::messageDeleting(int num)
{
    if (num < 0 || num >= m_run.messages.Count())
        return;
    const TMessageListRow &row = m_run.messages.Row(num);
    setProgressMessage(Said("Guard", "Deleting %1").arg(row.subject).Shown(), true, m_deleteTotal, m_deleteCounter);
    ++m_deleteCounter;
    setStatus(Said("Guard", "Deleting %1 %2").arg(num + 1).arg(row.subject).Shown());
}
