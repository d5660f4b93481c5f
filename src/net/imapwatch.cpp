#include "imapwatch.h"
#include "wording.h"

#include <QDeadlineTimer>
#include <QScopeGuard>
#include <QThread>

#include <algorithm>

TImapWatcher::TImapWatcher(TImapSettings settings, QObject *parent) : TImapWatcher(std::move(settings), Timing{}, parent) {}

TImapWatcher::TImapWatcher(TImapSettings settings, Timing timing, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_timing(timing)
{
}

TImapWatcher::~TImapWatcher()
{
    Stop();
}

bool TImapWatcher::Running() const
{
    return m_thread && m_thread->isRunning();
}

void TImapWatcher::Start()
{
    if (m_thread)
        return;
    m_stop = false;
    m_thread = QThread::create([this] { Loop(); });
    m_thread->start();
}

void TImapWatcher::Stop()
{
    if (!m_thread)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        // The cancel runs in the session's thread, inside whatever wait it is in.
        if (m_client)
            QMetaObject::invokeMethod(m_client, [client = m_client] { client->Cancel(); }, Qt::QueuedConnection);
    }
    m_wake.notify_all();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

bool TImapWatcher::Pause(int ms)
{
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop.load(); });
}

void TImapWatcher::Loop()
{
    int backoffMs = std::max(1, m_timing.firstBackoffMs);
    while (!Stopping()) {
        QString failure;
        try {
            Session(backoffMs);
        } catch (const ENetError &e) {
            failure = e.Message();
        } catch (const std::exception &e) {
            // Nothing may leave the thread: whatever went wrong, the session is tried again.
            failure = QString::fromLocal8Bit(e.what());
        }
        if (Stopping())
            break;
        if (failure.isEmpty())
            failure = Said("Net", "The server closed the connection");
        emit problem(failure, backoffMs);
        if (!Pause(backoffMs))
            break;
        backoffMs = std::min(backoffMs * 2, std::max(m_timing.maxBackoffMs, m_timing.firstBackoffMs));
    }
}

bool TImapWatcher::Grew(const ImapResponse &response)
{
    if (response.kind != ImapResponse::Kind::Untagged || response.number < 0)
        return false;
    if (response.status == "EXPUNGE") {
        m_exists = std::max<qint64>(0, m_exists - 1);
    } else if (response.status == "EXISTS") {
        const bool grew = response.number > m_exists;
        m_exists = response.number;
        return grew;
    }
    // RECENT is not counted: a new message always raises EXISTS too, and one arrival must
    // bring one check, not two.
    return false;
}

void TImapWatcher::Session(int &backoffMs)
{
    TImapClient client;
    client.SetServer(m_settings.server);
    client.SetTls(m_settings.tls);
    client.SetTimeOut(m_settings.timeOutSeconds);
    client.SetUserName(m_settings.user);
    client.SetPassword(m_settings.password);
    client.SetSasl(m_settings.sasl);
    {
        std::lock_guard lock(m_mutex);
        if (m_stop)
            return;
        m_client = &client;
    }
    const auto forget = qScopeGuard([this] {
        std::lock_guard lock(m_mutex);
        m_client = nullptr;
    });
    ++m_connections;
    client.Greet();
    const TImapClient::Ticket login = client.QueueLogIn();
    const TImapClient::Ticket examine =
        client.Queue(ImapCommand{{"EXAMINE "}, ImapString(ImapMailboxName(m_settings.folder))});
    client.TakeLogIn(login);
    const ImapReply opened = client.TakeOk(
        examine, Said("Net", "The folder \"%1\" cannot be opened").arg(m_settings.folder));
    m_exists = 0;
    for (const ImapResponse &response : opened.untagged)
        Grew(response);
    // The session works: the next failure starts its pauses from the shortest again.
    backoffMs = std::max(1, m_timing.firstBackoffMs);
    bool idle = client.Capabilities().Has("IDLE");
    emit watching(idle);
    while (!Stopping()) {
        bool grew = false;
        if (idle) {
            const TImapClient::Ticket ticket = client.Queue("IDLE");
            if (!client.WaitForContinuation(ticket)) {
                // Refused after all: polling works on every server.
                client.Take(ticket);
                idle = false;
                emit watching(false);
                continue;
            }
            const QDeadlineTimer refresh(m_timing.idleRefreshMs, Qt::PreciseTimer);
            bool ended = false;
            while (!Stopping() && !ended) {
                const std::optional<ImapResponse> response = client.Listen(refresh);
                if (!response)
                    break;   // time to renew IDLE
                ended = response->kind == ImapResponse::Kind::Tagged;
                if (Grew(*response))
                    emit newMail();
            }
            if (Stopping())
                break;
            if (!ended)
                client.SendContinuation("DONE");
            const ImapReply reply = client.TakeOk(ticket, Said("Net", "The server ended waiting for new mail"));
            for (const ImapResponse &response : reply.untagged)
                grew = Grew(response) || grew;
        } else {
            if (!Pause(m_timing.pollMs))
                break;
            const ImapReply reply =
                client.TakeOk(client.Queue("NOOP"), Said("Net", "The server refused to say whether mail arrived"));
            for (const ImapResponse &response : reply.untagged)
                grew = Grew(response) || grew;
        }
        if (grew)
            emit newMail();
    }
    client.LogOut();
}
