#include "automaticpass.h"
#include "wording.h"

#include <QTime>

bool TLoginDelays::Pending(int n) const
{
    return n >= 1 && n <= kMailboxSlots && !m_notBefore[size_t(n - 1)].hasExpired();
}

void TLoginDelays::Note(int n, int seconds)
{
    if (n >= 1 && n <= kMailboxSlots && seconds > 0)
        m_notBefore[size_t(n - 1)] = QDeadlineTimer(qint64(seconds) * 1000);
}

QString TLoginDelays::Until(int n) const
{
    const qint64 left = Pending(n) ? m_notBefore[size_t(n - 1)].remainingTime() : 0;
    return QTime::currentTime().addMSecs(int(qMin<qint64>(left, 24 * 3600 * 1000))).toString(QStringLiteral("HH:mm"));
}

QString TLoginDelays::SkipNote(int n, const QString &user) const
{
    if (!Pending(n))
        return Said("Guard", "MailBox %1 skipped: its server asks for a pause between checks").arg(user);
    return Said("Guard", "MailBox %1 skipped until %2").arg(user, Until(n));
}

TPassSummary RunAutomaticPass(const ServerSettings &servers, bool deleting, const TLoginDelays &delays,
                              const std::function<TPassCheck(int slot)> &check, const std::function<bool()> &stop,
                              const std::function<void(int slot)> &skipped)
{
    TPassSummary out;
    for (int n = 1; n <= kMailboxSlots && !stop(); ++n) {
        const MailboxSlot &slot = servers.slot(n);
        if (slot.server.trimmed().isEmpty() || slot.mailbox.isEmpty())
            continue;
        if (delays.Pending(n)) {
            out.skipped << delays.SkipNote(n, slot.mailbox);
            if (skipped)
                skipped(n);
            continue;
        }
        const TPassCheck checked = check(n);
        if (stop())
            break;
        if (checked.delayed) {
            out.skipped << delays.SkipNote(n, slot.mailbox);
            continue;
        }
        if (checked.rowsLeft > 0 && out.foundUser.isEmpty()) {
            out.foundUser = slot.mailbox;
            out.foundCount = checked.rowsLeft;
        }
        if (!deleting && !out.foundUser.isEmpty())
            break;
    }
    return out;
}
