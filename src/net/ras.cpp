#include "ras.h"
#include "wording.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>

namespace {
constexpr int kWakeCode = 0x5241;

bool NameLess(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}
} // namespace

TagRas::TagRas(QObject *parent) : TagRas(nullptr, parent) {}

TagRas::TagRas(std::unique_ptr<TagDialer> dialer, QObject *parent) : QObject(parent), m_dialer(std::move(dialer))
{
    if (!m_dialer)
        m_dialer = std::make_unique<TagNmDialer>();
    m_dialer->OnNotice = [this](int state, int error, const QString &text) { Notice(state, error, text); };
    Entries();
}

TagRas::~TagRas()
{
    m_dialer->OnNotice = nullptr;
    // A line this program dialed does not stay up after it.
    OnDisconnected = nullptr;
    OnStatusChange = nullptr;
    HangUp();
}

bool TagRas::Available() const
{
    return m_dialer->Available();
}

const QStringList &TagRas::Entries()
{
    m_entries.clear();
    if (!m_dialer->Available())
        return m_entries;
    try {
        QStringList names = m_dialer->ListEntries();
        std::sort(names.begin(), names.end(), NameLess);
        names.erase(std::unique(names.begin(), names.end()), names.end());
        m_entries = names;
    } catch (const ERASError &e) {
        m_lastError = e.Code();
        m_lastErrorText = e.Message();
    }
    return m_entries;
}

QString TagRas::EntryAt(int position) const
{
    if (position < 1 || position > m_entries.size())
        return QString();
    return m_entries.at(position - 1);
}

QString TagRas::SetService(const QString &service)
{
    if (service.isEmpty()) {
        m_service.clear();
        return QString();
    }
    if (m_entries.isEmpty())
        return Said("Net", "TagRas component was unable to detect\nRAS on your system.");
    if (m_connected)
        return Said("Net", "This property can be set only before\nestablishing the connection");
    if (Entries().contains(service)) {
        m_service = service;
        return QString();
    }
    m_service.clear();
    return Said("Net", "Invalid service name");
}

bool TagRas::FindConnection()
{
    const QList<TagActiveConnection> active = m_dialer->ListActive();
    for (const TagActiveConnection &c : active) {
        if (c.Name == m_service && c.Activated)
            return true;
    }
    if (!ForceService) {
        for (const TagActiveConnection &c : active) {
            if (c.Activated && c.Type != QLatin1String("loopback"))
                return true;
        }
    }
    return false;
}

void TagRas::FireStatus(const QString &text)
{
    if (OnStatusChange && !text.isEmpty())
        OnStatusChange(this, text);
}

void TagRas::Fail(int code, const QString &text)
{
    m_lastError = code;
    m_lastErrorText = text;
    throw ERASError(RasErrorText(code, text), code);
}

void TagRas::Connect()
{
    if (m_pendingError != 0) {
        // The line failed after it was up, while nobody was waiting for it.
        const int code = m_pendingError;
        const QString text = m_pendingErrorText;
        m_pendingError = 0;
        m_pendingErrorText.clear();
        Fail(code, text);
    }
    if (m_service.isEmpty()) {
        m_connected = true;
        m_dialedByUs = false;
        return;
    }
    if (!m_dialer->Available())
        return;
    try {
        if (FindConnection()) {
            m_connected = true;
            m_dialedByUs = false;
            return;
        }
    } catch (const ERASError &e) {
        m_lastError = e.Code();
        m_lastErrorText = e.Message();
        throw;
    }

    m_dialedByUs = true;
    m_connected = false;
    m_stopRequested = false;
    m_dialError = 0;
    m_dialErrorText.clear();
    m_pendingStatus.clear();
    m_inDial = true;
    const auto dialEnded = qScopeGuard([this] { m_inDial = false; });
    try {
        m_dialer->StartDial(m_service, Password, m_timeOut);
    } catch (const ERASError &e) {
        HangUp();
        Fail(e.Code(), e.Message());
    }

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(kWakeCode); });
    m_loop = &loop;
    const auto restore = qScopeGuard([this] { m_loop = nullptr; });
    const QDeadlineTimer deadline(qint64(m_timeOut) * 1000, Qt::PreciseTimer);
    bool timedOut = false;
    for (;;) {
        // Status texts reach the handler here, on this stack, never from the notice itself.
        const QStringList texts = std::exchange(m_pendingStatus, {});
        for (const QString &text : texts)
            FireStatus(text);
        if (m_connected || m_dialError != 0 || m_stopRequested)
            break;
        if (deadline.hasExpired()) {
            timedOut = true;
            break;
        }
        timer.start(int(qBound(qint64(1), deadline.remainingTime(), qint64(24 * 3600 * 1000))));
        if (loop.exec() != kWakeCode)
            m_stopRequested = true;  // someone ended every event loop: the program is closing
    }
    timer.stop();

    if (m_dialError == NmExit::kTimeout && !m_connected) {
        // The service gave up on its own time limit: the same as ours running out.
        m_dialError = 0;
        timedOut = true;
    }
    if (m_dialError != 0) {
        const int code = m_dialError;
        const QString text = m_dialErrorText;
        m_dialError = 0;
        HangUp();
        Fail(code, text);
    }
    if (m_stopRequested && !m_connected) {
        HangUp();
        throw ECanceledError(NetMessage(NetText::kCanceled));
    }
    if (timedOut) {
        // A half-made call is not left running (and costing) after the user was told it failed.
        HangUp();
        throw ETimedOutError(NetMessage(NetText::kTimedOut));
    }
}

void TagRas::Disconnect()
{
    HangUp();
    m_stopRequested = true;
    Wake();
}

void TagRas::HangUp()
{
    if (m_dialer->Dialing())
        m_dialer->AbortDial();
    const bool ours = m_dialedByUs;
    // Whatever happens below, a later close must not take down a connection someone else
    // brought up after this one.
    m_dialedByUs = false;
    m_connected = false;
    if (!ours || m_service.isEmpty() || m_entries.isEmpty() || !m_dialer->Available())
        return;
    try {
        m_dialer->HangUp(m_service);
    } catch (const ERASError &e) {
        m_lastError = e.Code();
        m_lastErrorText = e.Message();
        FireStatus(Said("Net", "Hanging up \"%1\" failed: %2").arg(m_service, e.Message()));
        return;
    }
    if (OnDisconnected)
        OnDisconnected(this);
}

void TagRas::Wake()
{
    if (m_loop)
        m_loop->exit(kWakeCode);
}

void TagRas::Notice(int state, int error, const QString &errorText)
{
    if (m_inDial) {
        m_pendingStatus << RasStatusText(state);
        if (!m_connected)
            m_connected = state == RasState::kConnected;
    }
    if (error != 0) {
        m_lastError = error;
        m_lastErrorText = errorText;
        if (m_inDial) {
            if (m_connected) {
                m_pendingError = error;
                m_pendingErrorText = errorText;
            } else {
                m_dialError = error;
                m_dialErrorText = errorText;
            }
        } else if (m_connected || m_dialedByUs) {
            m_pendingError = error;
            m_pendingErrorText = errorText;
        }
    }
    Wake();
}
