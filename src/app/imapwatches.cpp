#include "imapwatches.h"

#include "mailboxes.h"
#include "tls.h"

namespace {

bool SameLogIn(const TImapSettings &a, const TImapSettings &b)
{
    return a.server == b.server && a.tls.Mode == b.tls.Mode && a.tls.TrustedFingerprint == b.tls.TrustedFingerprint
           && a.user == b.user && a.password == b.password && a.folder == b.folder
           && a.timeOutSeconds == b.timeOutSeconds;
}

} // namespace

TImapWatches::TImapWatches(Check check, QObject *parent) : QObject(parent), m_check(std::move(check))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &TImapWatches::RunDue);
}

TImapWatches::~TImapWatches() = default;

void TImapWatches::Update(const ServerSettings &servers, bool on, int timeOutSeconds)
{
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        // A stored OAuth2 sign-in renews its token in the watch's own thread (the token source
        // hands a rotated refresh token back to this thread to store).
        const bool wanted = on && slot.protocol == MailProtocol::Imap && !slot.server.trimmed().isEmpty()
                            && !slot.mailbox.isEmpty();
        const auto it = m_watches.find(n);
        if (!wanted) {
            if (it != m_watches.end())
                m_watches.erase(it);
            m_due.remove(n);
            continue;
        }
        TImapSettings settings = ImapSettingsOf(slot, timeOutSeconds, n);
        if (it != m_watches.end() && SameLogIn(it->second.settings, settings))
            continue;
        auto watcher = std::make_unique<TImapWatcher>(settings, m_timing);
        connect(watcher.get(), &TImapWatcher::newMail, this, [this, n] { Due(n); });
        connect(watcher.get(), &TImapWatcher::problem, this,
                [this, n](const QString &text, int) { emit problem(n, text); });
        connect(watcher.get(), &TImapWatcher::watching, this, [this, n](bool idle) { emit watching(n, idle); });
        watcher->Start();
        // The old session (if any) ends as the new one starts.
        m_watches[n] = Watch{std::move(settings), std::move(watcher)};
    }
    if (m_due.isEmpty())
        m_retry.stop();
}

QList<int> TImapWatches::Watched() const
{
    QList<int> out;
    for (const auto &[n, watch] : m_watches)
        out << n;
    return out;
}

void TImapWatches::Due(int slot)
{
    if (!m_watches.count(slot))
        return;   // a signal from a watcher stopped meanwhile
    m_due.insert(slot);
    RunDue();
}

void TImapWatches::RunDue()
{
    for (int n = 1; n <= kMailboxSlots; ++n) {
        // The check runs the event loop: a slot may be stopped, or fall due again, meanwhile.
        if (!m_due.contains(n))
            continue;
        m_due.remove(n);
        if (!m_check(n))
            m_due.insert(n);
    }
    if (!m_due.isEmpty() && !m_retry.isActive())
        m_retry.start(kRetryMs);
}
