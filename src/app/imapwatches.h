#pragma once

#include "imapwatch.h"
#include "settings.h"

#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

// While automatic mode is on, one watcher per IMAP mailbox: new mail in one asks for that
// mailbox's check at once instead of at the next minute tick. A check that cannot run now
// (another command or a dialog is open) is asked for again a little later, once per mailbox
// however much mail came meanwhile.
class TImapWatches : public QObject
{
    Q_OBJECT

public:
    // Runs the check of a slot; false when it cannot run now.
    using Check = std::function<bool(int slot)>;

    explicit TImapWatches(Check check, QObject *parent = nullptr);
    ~TImapWatches() override;

    // Watches every IMAP slot with a server and a user name (but a stored OAuth2 sign-in) while
    // on, none otherwise. A slot whose settings did not change keeps its session.
    void Update(const ServerSettings &servers, bool on, int timeOutSeconds);
    QList<int> Watched() const;
    void SetTiming(const TImapWatcher::Timing &timing) { m_timing = timing; }

    // How long a check asked for while the guard is busy waits before it is asked again.
    static constexpr int kRetryMs = 2000;

signals:
    // A slot's watcher lost its session; it tries again by itself.
    void problem(int slot, const QString &text);
    // A slot's watcher has its session open (by IDLE, or polling without it).
    void watching(int slot, bool idle);

private:
    struct Watch {
        TImapSettings settings;
        std::unique_ptr<TImapWatcher> watcher;
    };
    void Due(int slot);
    void RunDue();

    Check m_check;
    TImapWatcher::Timing m_timing;
    std::map<int, Watch> m_watches;
    QSet<int> m_due;
    QTimer m_retry;
};
