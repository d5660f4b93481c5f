#pragma once

#include "imap.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <condition_variable>
#include <mutex>

class QThread;

// Holds a session of its own on an IMAP folder and says when new mail arrives: IDLE
// (RFC 2177) where the server offers it, else NOOP at a steady pace. A lost or refused session
// is opened again after a pause that doubles up to a ceiling, so a server that is down is
// never hammered.
//
// The session runs on a thread of its own: the line transport waits in nested event loops,
// and a wait that lasts for minutes must not hold the caller's stack (a check started
// meanwhile from the same loop would nest inside it). The thread owns its client; the
// signals reach the watcher's own thread queued. Every wait is bounded: the session's
// commands by the mailbox's time-out, IDLE by the refresh period, the pauses by Timing.
class TImapWatcher : public QObject
{
    Q_OBJECT

public:
    struct Timing {
        // IDLE is ended and sent again before servers drop it as idle (RFC 2177: 29 minutes).
        int idleRefreshMs = 28 * 60 * 1000;
        // Without IDLE, a NOOP this often.
        int pollMs = 60 * 1000;
        // The pause before reconnecting after a failure, doubled each failure up to the ceiling.
        int firstBackoffMs = 2 * 1000;
        int maxBackoffMs = 10 * 60 * 1000;
    };

    explicit TImapWatcher(TImapSettings settings, QObject *parent = nullptr);
    TImapWatcher(TImapSettings settings, Timing timing, QObject *parent = nullptr);
    // Stops and waits for the session's thread (at most a cancelled wait's end).
    ~TImapWatcher() override;

    void Start();
    void Stop();
    bool Running() const;

    // Connections opened so far; for tests and the log.
    int Connections() const { return m_connections.load(); }

signals:
    // The folder holds more messages than when last seen.
    void newMail();
    // A session is open and watching: by IDLE, or by polling where the server has none.
    void watching(bool idle);
    // The session failed; it is tried again after pauseMs.
    void problem(const QString &text, int pauseMs);

private:
    void Loop();
    void Session(int &backoffMs);
    // Notes a response; true when it shows that the folder grew.
    bool Grew(const ImapResponse &response);
    // Sleeps up to ms, or until Stop; false when stopped.
    bool Pause(int ms);
    bool Stopping() const { return m_stop.load(); }

    TImapSettings m_settings;
    Timing m_timing;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    TImapClient *m_client = nullptr;   // the session's client, guarded by m_mutex
    qint64 m_exists = 0;
};
