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
                              const std::function<void(const QList<int> &due, const TPassVisit &visit)> &run,
                              const std::function<bool()> &stop, const std::function<void(int slot)> &skipped)
{
    TPassSummary out;
    const auto setUp = [&](int n) { return !servers.slot(n).server.trimmed().isEmpty() && !servers.slot(n).mailbox.isEmpty(); };
    // Decided once: a pause that ends while the pass runs does not bring its slot in.
    QList<int> due;
    for (int n = 1; n <= kMailboxSlots; ++n)
        if (setUp(n) && !delays.Pending(n))
            due << n;
    int next = 1;  // the first slot not taken up yet
    bool ended = false;
    const auto skipTo = [&](int n) {
        for (; next < n && !ended; ++next) {
            ended = stop();
            if (!ended && setUp(next) && !due.contains(next)) {
                out.skipped << delays.SkipNote(next, servers.slot(next).mailbox);
                if (skipped)
                    skipped(next);
            }
        }
    };
    const TPassVisit visit = [&](int n, const std::function<TPassCheck()> &check) {
        skipTo(n);
        ended = ended || n < next || stop();
        if (ended)
            return false;
        next = n + 1;
        const TPassCheck checked = check();
        ended = stop();
        if (ended)
            return false;
        if (checked.delayed) {
            out.skipped << delays.SkipNote(n, servers.slot(n).mailbox);
            return true;
        }
        if (checked.rowsLeft > 0 && out.foundUser.isEmpty()) {
            out.foundUser = servers.slot(n).mailbox;
            out.foundCount = checked.rowsLeft;
        }
        ended = !deleting && !out.foundUser.isEmpty();
        return !ended;
    };
    run(due, visit);
    skipTo(kMailboxSlots + 1);
    return out;
}
