#include "notifier.h"

namespace {

// The failure in the words of someone who did not watch the check, with what to do about it.
TNotice FailureNotice(const QString &mailbox, const TTaskResult &result)
{
    TNotice notice;
    notice.trouble = true;
    const TFailureClass kind = ClassifyFailure(result);
    if (!result.fingerprint.isEmpty()) {
        notice.summary = TNotifier::tr("Mailbox %1: certificate refused").arg(mailbox);
        notice.body = TNotifier::tr("The server's certificate is not trusted, so Tarnwick did not log in. "
                                    "Check the mailbox from the main window to look at the certificate.");
    } else if (kind == TFailureClass::Permanent) {
        notice.summary = TNotifier::tr("Mailbox %1: log-in refused").arg(mailbox);
        notice.body = TNotifier::tr("The server refused the user name or password. "
                                    "Correct them in the General settings.");
    } else if (kind == TFailureClass::Temporary && !result.loginRefused) {
        // (A log-in refused for a while, a mailbox in use: the server was there.)
        notice.summary = TNotifier::tr("Mailbox %1: server unreachable").arg(mailbox);
        notice.body = TNotifier::tr("%1\nTarnwick tries again at the next automatic check.").arg(result.text);
    } else {
        notice.summary = TNotifier::tr("Mailbox %1: check failed").arg(mailbox);
        notice.body = TNotifier::tr("%1\nTarnwick tries again at the next automatic check.").arg(result.text);
    }
    return notice;
}

} // namespace

std::optional<TNotice> TNotifier::MailboxResult(int slot, const QString &mailbox, const TTaskResult &result,
                                                bool skipped)
{
    if (slot < 1 || slot > kMailboxSlots)
        return std::nullopt;
    State &state = m_state[size_t(slot - 1)];
    const State before = state;
    std::optional<TNotice> notice;
    if (skipped) {
        state = State::Skipped;
        if (before != State::Skipped)
            notice = TNotice{TNotifier::tr("Mailbox %1 skipped").arg(mailbox),
                             TNotifier::tr("Its server asks for a pause between log-ins. "
                                "Tarnwick tries again at the next automatic check."),
                             true};
    } else if (result.canceled) {
        // The user stopped the check: nothing is known about the mailbox.
    } else if (!result.ok) {
        state = State::Failing;
        if (before != State::Failing)
            notice = FailureNotice(mailbox, result);
    } else {
        state = State::Fine;
        if (const int n = int(result.deleted.size()); n > 0)
            notice = TNotice{TNotifier::tr("Mailbox %1: spam deleted").arg(mailbox),
                             TNotifier::tr("Messages deleted before your mail program downloaded them: %1").arg(n)
                                 + (result.notice.isEmpty() ? QString() : u'\n' + result.notice),
                             false};
    }
    if (!m_enabled)
        return std::nullopt;
    return notice;
}
