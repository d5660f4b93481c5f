#include "tagsocket.h"

#include "linecodec.h"
#include "ras.h"
#include "textutil.h"
#include "winsock.h"
#include "wording.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostInfo>
#include <QIODevice>
#include <QScopeGuard>
#include <QSslCertificate>
#include <QSslError>
#include <QSslSocket>
#include <QTimer>

#include <optional>

#include <arpa/inet.h>
#include <netdb.h>

namespace {
// The exit code our own wake-ups give the local event loop; any other code means someone
// ended every loop of the thread (QCoreApplication::exit), which a wait takes as a cancel.
constexpr int kWakeCode = 0x7a4e;

constexpr qint64 kUnknownSizeBasis = 64 * 1024;
constexpr qint64 kUnknownSizeMaxBlock = 1024 * 1024;
constexpr qint64 kReadChunk = 64 * 1024;
constexpr int kMaxReplyLines = 1000;

int SocketCodeFor(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return SocketCode::kConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError: return SocketCode::kConnectionReset;
    case QAbstractSocket::HostNotFoundError: return SocketCode::kHostNotFound;
    case QAbstractSocket::SocketAccessError: return SocketCode::kAccessDenied;
    case QAbstractSocket::SocketResourceError: return SocketCode::kNoBuffers;
    case QAbstractSocket::SocketTimeoutError: return SocketCode::kTimedOut;
    case QAbstractSocket::NetworkError: return SocketCode::kNetworkUnreachable;
    case QAbstractSocket::AddressInUseError: return SocketCode::kAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError: return SocketCode::kAddressNotAvailable;
    case QAbstractSocket::UnsupportedSocketOperationError: return SocketCode::kUnsupported;
    default: return 0;
    }
}

bool IsTlsError(QAbstractSocket::SocketError error)
{
    return error == QAbstractSocket::SslHandshakeFailedError || error == QAbstractSocket::SslInternalError
        || error == QAbstractSocket::SslInvalidUserDataError;
}
} // namespace

TagSocket::TagSocket(QObject *parent) : QObject(parent) {}

TagSocket::~TagSocket()
{
    if (m_lookupId >= 0)
        QHostInfo::abortHostLookup(m_lookupId);
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

TagRas *TagSocket::RAS() const
{
    return m_ras;
}

void TagSocket::SetRAS(TagRas *ras)
{
    m_ras = ras;
}

bool TagSocket::WinsockLoaded() const
{
    return TagWinsock::Instance().Loaded();
}

void TagSocket::SetWinsockLoaded(bool loaded)
{
    if (loaded)
        TagWinsock::Instance().Load();
    else
        TagWinsock::Instance().Unload();
}

bool TagSocket::Encrypted() const
{
    return m_open && m_socket && m_socket->isEncrypted();
}

void TagSocket::SetServiceNames(const QString &plain, const QString &implicitTls, quint16 implicitTlsPort)
{
    m_serviceName = plain;
    m_tlsServiceName = implicitTls;
    m_tlsDefaultPort = implicitTlsPort;
}

// ---- operations and re-entry ----

TagSocket::Operation::Operation(TagSocket *socket) : m_socket(socket)
{
    if (socket->Busy())
        socket->RaiseErrorText(Said("Net", "Another operation is still running on this connection"), false);
    socket->m_operation = true;
}

TagSocket::Operation::~Operation()
{
    m_socket->m_operation = false;
}

void TagSocket::RefuseWhileWaiting()
{
    if (m_waiting)
        RaiseErrorText(Said("Net", "Another operation is still running on this connection"), false);
}

// ---- error reports ----

QString TagSocket::FireError(const QString &message)
{
    QString text = message;
    if (OnError)
        OnError(this, text);
    return text;
}

void TagSocket::RaiseSocketError(int code, const QString &systemText)
{
    const QString text = FireError(SocketErrorText(code, systemText));
    if (code == SocketCode::kConnectionReset)
        CloseSocket();
    throw ESocketError(text, code);
}

void TagSocket::RaiseErrorText(const QString &message, bool close)
{
    const QString text = FireError(message);
    if (close)
        CloseSocket();
    throw ESocketError(text);
}

void TagSocket::RaiseProtocolError(const QString &message)
{
    const QString text = FireError(message);
    CloseSocket();
    throw EProtocolError(text);
}

void TagSocket::RaiseTlsError(const QString &message)
{
    const QString text = FireError(message);
    CloseSocket();
    throw ETlsError(text);
}

void TagSocket::RaiseCanceled()
{
    const QString text = FireError(NetMessage(NetText::kCanceled));
    throw ECanceledError(text);
}

void TagSocket::RaiseTimedOut()
{
    const QString text = FireError(NetMessage(NetText::kTimedOut));
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    CloseSocket();
    throw ETimedOutError(text);
}

void TagSocket::RaiseSocketFailure()
{
    if (!m_certificateProblems.isEmpty()) {
        const QString message = Said("Net", "The server's certificate was refused: %1. Its SHA-256 fingerprint is %2.")
                                    .arg(m_certificateProblems.join(QStringLiteral("; ")),
                                         FormatFingerprint(m_refusedFingerprint));
        const QString text = FireError(message);
        CloseSocket();
        throw ECertificateError(text, m_refusedFingerprint, m_certificateProblems);
    }
    if (IsTlsError(m_error))
        RaiseTlsError(Said("Net", "TLS could not be set up: %1").arg(m_errorText));
    const int code = SocketCodeFor(m_error);
    if (code == 0)
        RaiseErrorText(m_errorText, true);
    // The system's wording when there is one for the code; Qt's own text otherwise.
    RaiseSocketError(code, SocketErrorText(code).contains(u':') ? QString() : m_errorText);
}

void TagSocket::RaiseWaitEnd(WaitEnd end)
{
    switch (end) {
    case WaitEnd::Canceled: RaiseCanceled();
    case WaitEnd::TimedOut: RaiseTimedOut();
    case WaitEnd::Failed: RaiseSocketFailure();
    case WaitEnd::PeerGone: RaiseSocketError(SocketCode::kConnectionReset);
    case WaitEnd::Done: break;
    }
    throw std::logic_error("RaiseWaitEnd without a failure");
}

// ---- waiting ----

QDeadlineTimer TagSocket::FreshDeadline() const
{
    return QDeadlineTimer(qint64(m_timeOut) * 1000, Qt::PreciseTimer);
}

void TagSocket::Wake()
{
    if (m_loop)
        m_loop->exit(kWakeCode);
}

TagSocket::WaitEnd TagSocket::WaitFor(const std::function<bool()> &condition, const QDeadlineTimer &idle,
                                      const QDeadlineTimer &total)
{
    m_waiting = true;
    // Most waits of a pipelined listing find their reply already read: the loop and the timer
    // are made when the first wait is needed.
    std::optional<QEventLoop> loop;
    std::optional<QTimer> timer;
    const auto restore = qScopeGuard([this] {
        m_loop = nullptr;
        m_waiting = false;
    });
    for (;;) {
        if (m_canceled)
            return WaitEnd::Canceled;
        if (condition())
            return WaitEnd::Done;
        if (m_errorNoticed)
            return WaitEnd::Failed;
        if (m_peerClosed)
            return WaitEnd::PeerGone;
        const QDeadlineTimer &first = idle.deadline() < total.deadline() ? idle : total;
        if (first.hasExpired()) {
            m_timedOut = true;
            return WaitEnd::TimedOut;
        }
        if (!loop) {
            loop.emplace();
            timer.emplace();
            timer->setSingleShot(true);
            timer->setTimerType(Qt::PreciseTimer);
            connect(&*timer, &QTimer::timeout, &*loop, [&loop] { loop->exit(kWakeCode); });
            m_loop = &*loop;
        }
        timer->start(int(qBound(qint64(1), first.remainingTime(), qint64(24 * 3600 * 1000))));
        if (loop->exec() != kWakeCode)
            Cancel();
    }
}

// ---- socket signals (they only note what happened and wake the wait; they never throw) ----

void TagSocket::CreateSocket()
{
    if (m_socket) {
        // A finished connection's socket goes once control is back in an event loop: it is
        // never deleted while one of its signals could still be on the stack.
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_socket = new QSslSocket(this);
    m_socket->setProtocol(QSsl::SecureProtocols);
    m_socket->setReadBufferSize(kReadBufferBytes);
    const auto wake = [this] { Wake(); };
    connect(m_socket, &QAbstractSocket::connected, this, wake);
    connect(m_socket, &QSslSocket::encrypted, this, wake);
    connect(m_socket, &QIODevice::readyRead, this, wake);
    connect(m_socket, &QIODevice::bytesWritten, this, wake);
    connect(m_socket, &QSslSocket::encryptedBytesWritten, this, wake);
    connect(m_socket, &QAbstractSocket::stateChanged, this, wake);
    connect(m_socket, &QAbstractSocket::disconnected, this, [this] {
        m_peerClosed = true;
        Wake();
    });
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &TagSocket::OnSocketError);
    connect(m_socket, &QSslSocket::sslErrors, this, &TagSocket::OnSslErrors);
}

void TagSocket::OnSocketError(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::RemoteHostClosedError) {
        m_peerClosed = true;
    } else if (!m_errorNoticed) {
        m_errorNoticed = true;
        m_error = error;
        m_errorText = m_socket ? m_socket->errorString() : QString();
    }
    Wake();
}

void TagSocket::OnSslErrors(const QList<QSslError> &errors)
{
    QSslCertificate certificate = m_socket->peerCertificate();
    if (certificate.isNull()) {
        for (const QSslError &e : errors) {
            if (!e.certificate().isNull()) {
                certificate = e.certificate();
                break;
            }
        }
    }
    const QString fingerprint = CertificateFingerprint(certificate);
    const QString trusted = NormalizeFingerprint(m_tls.TrustedFingerprint);
    if (!fingerprint.isEmpty() && !trusted.isEmpty() && fingerprint == trusted) {
        // The user accepted this very certificate for this mailbox.
        m_socket->ignoreSslErrors(errors);
        return;
    }
    m_refusedFingerprint = fingerprint;
    m_certificateProblems.clear();
    for (const QSslError &e : errors)
        m_certificateProblems.append(e.errorString());
    Wake();
}

// ---- the virtual operations ----

void TagSocket::ResetState()
{
    m_canceled = false;
    m_timedOut = false;
    m_peerClosed = false;
    m_errorNoticed = false;
    m_error = QAbstractSocket::UnknownSocketError;
    m_errorText.clear();
    m_certificateProblems.clear();
    m_refusedFingerprint.clear();
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
}

int TagSocket::ReplyCode(const QString &line) const
{
    if (line.size() < 3)
        return -1;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        const QChar c = line.at(i);
        if (c < u'0' || c > u'9')
            return -1;
        code = code * 10 + (c.unicode() - u'0');
    }
    return code;
}

void TagSocket::Open()
{
    RefuseWhileWaiting();
    TagWinsock::Instance().RequireFunction(QStringLiteral("WSAStartup"));
    CloseSocket();  // a connection still open from before ends properly, with its events
    DialUp();
    if (OnOpen)
        OnOpen(this);
    if (m_server.trimmed().isEmpty())
        RaiseSocketError(NetText::kServerRequired);

    // Notices about an earlier connection's socket do not concern this one.
    m_peerClosed = false;
    m_errorNoticed = false;
    m_certificateProblems.clear();
    m_refusedFingerprint.clear();
    m_peerFingerprint.clear();

    const TagServerAddress server = SplitServer(m_server);
    m_hostPart = server.Host;
    m_localHostName = QHostInfo::localHostName();
    if (m_localHostName.isEmpty())
        m_localHostName = m_hostPart;

    ResolveHost(server.Host);
    m_port = ResolvePort(server.Port);
    CreateSocket();
    m_open = true;
}

void TagSocket::DialUp()
{
    if (!m_ras)
        return;
    try {
        m_ras->Connect();
    } catch (const ECanceledError &) {
        RaiseCanceled();
    } catch (const ETimedOutError &) {
        RaiseTimedOut();
    } catch (const ERASError &e) {
        const QString text = FireError(e.Message());
        throw ERASError(text, e.Code());
    }
    // A Cancel that came while the line was being dialed ends the operation here.
    if (m_canceled)
        RaiseCanceled();
}

void TagSocket::ResolveHost(const QString &host)
{
    if (host.isEmpty())
        RaiseSocketError(NetText::kServerRequired);
    QHostAddress literal;
    if (literal.setAddress(host)) {
        m_address = literal;
        return;
    }
    if (m_canceled)
        RaiseCanceled();
    m_lookupDone = false;
    m_lookupAddresses.clear();
    m_lookupError.clear();
    m_lookupId = QHostInfo::lookupHost(host, this, [this](const QHostInfo &info) {
        m_lookupDone = true;
        m_lookupId = -1;
        if (info.error() == QHostInfo::NoError)
            m_lookupAddresses = info.addresses();
        else
            m_lookupError = info.errorString();
        Wake();
    });
    const QDeadlineTimer deadline = FreshDeadline();
    const WaitEnd end = WaitFor([this] { return m_lookupDone; }, deadline, deadline);
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    if (end != WaitEnd::Done)
        RaiseWaitEnd(end);
    if (!m_lookupError.isEmpty() || m_lookupAddresses.isEmpty())
        RaiseSocketError(SocketCode::kHostNotFound, m_lookupError);
    // The mail servers of old were reached over IPv4; prefer it when a name has both.
    m_address = QHostAddress();
    for (const QHostAddress &a : std::as_const(m_lookupAddresses)) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            m_address = a;
            break;
        }
    }
    if (m_address.isNull())
        m_address = m_lookupAddresses.first();
    if (m_address.isNull())
        RaiseSocketError(NetText::kErrorResolving);
}

quint16 TagSocket::ResolvePort(quint16 given)
{
    if (given != 0)
        return given;
    const bool implicitTls = m_tls.Mode == TmsTlsMode::Implicit;
    const QString service = implicitTls ? m_tlsServiceName : m_serviceName;
    const quint16 fallback = implicitTls && m_tlsDefaultPort != 0 ? m_tlsDefaultPort : m_defaultPort;
    if (service.isEmpty()) {
        if (fallback != 0)
            return fallback;
        RaiseSocketError(NetText::kServiceRequired);
    }
    if (m_canceled)
        RaiseCanceled();
    // The services database is a local file: reading it does not need a wait.
    struct servent entry;
    struct servent *found = nullptr;
    char buffer[1024];
    const QByteArray name = service.left(63).toLatin1();
    if (getservbyname_r(name.constData(), "tcp", &entry, buffer, sizeof buffer, &found) == 0 && found)
        return ntohs(quint16(found->s_port));
    return fallback;
}

void TagSocket::CloseSocket()
{
    if (m_open) {
        if (OnClosing)
            OnClosing(this);
        m_open = false;
        if (m_socket)
            m_socket->abort();
        if (OnClosed)
            OnClosed(this);
    }
    if (m_ras)
        m_ras->Disconnect();
}

void TagSocket::Close()
{
    if (Busy()) {
        Cancel();
        return;
    }
    CloseSocket();
}

void TagSocket::Cancel()
{
    m_canceled = true;
    if (OnCancel)
        OnCancel(this);
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    CloseSocket();
    Wake();
}

// ---- connecting ----

void TagSocket::RequireOpen()
{
    // A Cancel from an event handler between two waits closed the connection: the operation
    // ends as canceled, not as "not connected".
    if (m_canceled)
        RaiseCanceled();
    if (!m_open || !m_socket)
        RaiseSocketError(NetText::kNotConnected);
}

void TagSocket::ConnectSocket()
{
    RefuseWhileWaiting();
    if (m_canceled)
        RaiseCanceled();
    RequireOpen();
    const bool implicitTls = m_tls.Mode == TmsTlsMode::Implicit;
    // The handshake is one round trip (a TLS handshake one more); the first reply is another.
    m_roundTrips = implicitTls ? 2 : 1;
    m_sentSinceRead = true;
    if (implicitTls)
        m_socket->connectToHostEncrypted(m_address.toString(), m_port, m_hostPart);
    else
        m_socket->connectToHost(m_address, m_port);
    const QDeadlineTimer deadline = FreshDeadline();
    const WaitEnd end = WaitFor(
        [this, implicitTls] {
            return implicitTls ? m_socket->isEncrypted() : m_socket->state() == QAbstractSocket::ConnectedState;
        },
        deadline, deadline);
    if (end != WaitEnd::Done)
        RaiseWaitEnd(end);
    if (implicitTls)
        m_peerFingerprint = CertificateFingerprint(m_socket->peerCertificate());
}

void TagSocket::StartTls()
{
    RefuseWhileWaiting();
    RequireOpen();
    if (m_socket->bytesAvailable() > 0)
        RaiseTlsError(Said("Net", "The server sent data before the TLS handshake"));
    m_socket->setPeerVerifyName(m_hostPart);
    m_socket->startClientEncryption();
    ++m_roundTrips;
    const QDeadlineTimer deadline = FreshDeadline();
    const WaitEnd end = WaitFor([this] { return m_socket->isEncrypted(); }, deadline, deadline);
    if (end != WaitEnd::Done)
        RaiseWaitEnd(end);
    m_peerFingerprint = CertificateFingerprint(m_socket->peerCertificate());
}

// ---- lines and blocks ----

void TagSocket::SendLine(const QString &line)
{
    RefuseWhileWaiting();
    RequireOpen();
    if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0)))
        RaiseErrorText(Said("Net", "A command line must not contain CR, LF or NUL"), false);
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        RaiseSocketError(SocketCode::kConnectionReset);
    const QByteArray bytes = line.toUtf8() + "\r\n";
    if (m_socket->write(bytes) != bytes.size())
        RaiseSocketFailure();
    m_sentSinceRead = true;
    const QDeadlineTimer deadline = FreshDeadline();
    const WaitEnd end = WaitFor(
        [this] { return m_socket->bytesToWrite() == 0 && m_socket->encryptedBytesToWrite() == 0; }, deadline,
        deadline);
    if (end != WaitEnd::Done)
        RaiseWaitEnd(end);
}

void TagSocket::WriteAhead(const QByteArray &bytes)
{
    RefuseWhileWaiting();
    RequireOpen();
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        RaiseSocketError(SocketCode::kConnectionReset);
    if (m_socket->write(bytes) != bytes.size())
        RaiseSocketFailure();
    m_sentSinceRead = true;
}

void TagSocket::NoteRead()
{
    if (m_sentSinceRead) {
        ++m_roundTrips;
        m_sentSinceRead = false;
    }
}

int TagSocket::ReadLine(QString &line)
{
    // One deadline for the whole line: a server that sends a byte now and then cannot
    // stretch the wait.
    return ReadLineUntil(line, FreshDeadline());
}

int TagSocket::ReadLineUntil(QString &line, const QDeadlineTimer &deadline)
{
    RefuseWhileWaiting();
    RequireOpen();
    line.clear();
    NoteRead();
    const WaitEnd end = WaitFor(
        [this] { return m_socket->canReadLine() || m_socket->bytesAvailable() >= kMaxLineBytes; }, deadline,
        deadline);
    if (end != WaitEnd::Done && end != WaitEnd::PeerGone)
        RaiseWaitEnd(end);
    if (end == WaitEnd::PeerGone && !m_socket->canReadLine()) {
        m_socket->readAll();
        m_lastReply.clear();
        return -1;
    }
    // readLine keeps one byte of its limit for a terminating NUL.
    char buffer[kMaxLineBytes + 1];
    const qint64 length = m_socket->canReadLine() ? m_socket->readLine(buffer, sizeof buffer) : 0;
    QByteArray raw = QByteArray::fromRawData(buffer, length > 0 ? length : 0);
    if (!raw.endsWith('\n'))
        RaiseErrorText(Said("Net", "The server sent a reply line longer than %1 bytes").arg(kMaxLineBytes), true);
    while (raw.endsWith('\n') || raw.endsWith('\r'))
        raw.chop(1);
    line = DecodeUtf8OrLatin1(raw);
    m_lastReply = line;
    return ReplyCode(line);
}

int TagSocket::ReadReply()
{
    // The whole reply shares one deadline, however many lines it has.
    const QDeadlineTimer deadline = FreshDeadline();
    QString line;
    const int code = ReadLineUntil(line, deadline);
    if (code < 1 || line.indexOf(u'-') != 3)
        return code;
    for (int count = 0;; ++count) {
        if (count >= kMaxReplyLines)
            RaiseProtocolError(Said("Net", "The server's reply has too many lines"));
        const int next = ReadLineUntil(line, deadline);
        if (next == -1 && line.isEmpty() && m_peerClosed)
            break;
        // The last line has the same code and then a blank, or nothing after the code.
        if (next == code && (line.size() == 3 || line.indexOf(u' ') == 3))
            break;
    }
    return code;
}

void TagSocket::ReceiveToStream(QIODevice &stream, qint64 ExpectedSize, qint64 maxSize)
{
    ReceiveBlock(stream, ExpectedSize, maxSize, true);
}

void TagSocket::ReceiveBlock(QIODevice &stream, qint64 expectedSize, qint64 maxSize, bool reportProgress)
{
    RefuseWhileWaiting();
    RequireOpen();
    if (maxSize < 0)
        maxSize = expectedSize > 0 ? 2 * expectedSize + kUnknownSizeBasis : kUnknownSizeMaxBlock;
    NoteRead();
    QElapsedTimer elapsed;
    elapsed.start();
    QDeadlineTimer idle = FreshDeadline();

    TagDotDecoder decoder;
    QByteArray &chunk = ReadBuffer();
    QByteArray decoded;
    qint64 received = 0;
    while (!decoder.Done()) {
        const qint64 allowed = qMin(qint64(m_timeOut) * 1000 + received * 1000 / kMinBytesPerSecond,
                                    qint64(kMaxBlockSeconds) * 1000);
        const QDeadlineTimer total(qMax(qint64(0), allowed - elapsed.elapsed()), Qt::PreciseTimer);
        const WaitEnd end = WaitFor([this] { return m_socket->bytesAvailable() > 0; }, idle, total);
        if (end != WaitEnd::Done)
            RaiseWaitEnd(end);
        if (reportProgress && OnProgress) {
            const int perc = expectedSize > 0 ? int(RoundHalfEven(received * 100, expectedSize)) : -1;
            OnProgress(this, perc, received);
        }
        // What the lines decode to goes to the stream in pieces of up to a chunk, not line by
        // line: a header block is a dozen lines.
        const auto store = [&] {
            if (!decoded.isEmpty() && stream.write(decoded) != decoded.size())
                RaiseErrorText(Said("Net", "The received data could not be stored: %1").arg(stream.errorString()), true);
            decoded.resize(0);  // keeps its room
        };
        // Whole lines where possible, so nothing after the end line is taken from the socket.
        while (!decoder.Done() && m_socket->bytesAvailable() > 0) {
            const qint64 length = m_socket->canReadLine() ? m_socket->readLine(chunk.data(), chunk.size())
                                                          : m_socket->read(chunk.data(), chunk.size());
            if (length <= 0)
                break;
            const qsizetype before = decoded.size();
            decoder.Feed(chunk.constData(), length, decoded);
            received += decoded.size() - before;
            if (received > maxSize)
                RaiseErrorText(Said("Net", "The server sent a data block larger than %1 bytes").arg(maxSize), true);
            if (decoded.size() >= kReadChunk)
                store();
        }
        store();
        idle = FreshDeadline();
    }
}

QByteArray TagSocket::ReadRawLine(qint64 maxBytes)
{
    QByteArray line = ReadCounted(maxBytes + 2, true);
    if (!line.endsWith('\n'))
        RaiseErrorText(Said("Net", "The server sent a reply line longer than %1 bytes").arg(maxBytes), true);
    line.chop(line.endsWith("\r\n") ? 2 : 1);
    m_lastReply = DecodeUtf8OrLatin1(line.left(kMaxLineBytes));
    return line;
}

bool TagSocket::WaitReadable(const QDeadlineTimer &deadline)
{
    RefuseWhileWaiting();
    RequireOpen();
    const WaitEnd end = WaitFor([this] { return m_socket->bytesAvailable() > 0; }, deadline, deadline);
    if (end == WaitEnd::Done)
        return true;
    if (end == WaitEnd::TimedOut) {
        // Quiet until the deadline is what was waited for, not a failure.
        m_timedOut = false;
        return false;
    }
    if (end == WaitEnd::PeerGone)
        RaiseSocketError(SocketCode::kConnectionReset);
    RaiseWaitEnd(end);
}

QByteArray &TagSocket::ReadBuffer()
{
    // Kept from read to read: a listing reads thousands of small blocks and lines, and a fresh
    // 64 KiB buffer for each cost more than what it held.
    if (m_readChunk.size() != kReadChunk)
        m_readChunk = QByteArray(kReadChunk, Qt::Uninitialized);
    return m_readChunk;
}

QByteArray TagSocket::ReadExact(qint64 count)
{
    return ReadCounted(count, false);
}

QByteArray TagSocket::ReadCounted(qint64 count, bool toLineEnd)
{
    RefuseWhileWaiting();
    RequireOpen();
    NoteRead();
    QElapsedTimer elapsed;
    elapsed.start();
    QDeadlineTimer idle = FreshDeadline();
    QByteArray data;
    // A counted block's size is already within the caller's bound; a line grows as it comes,
    // read through the read buffer.
    if (!toLineEnd)
        data.reserve(count);
    while (data.size() < count && !(toLineEnd && data.endsWith('\n'))) {
        if (m_socket->bytesAvailable() == 0) {
            const qint64 allowed = qMin(qint64(m_timeOut) * 1000 + data.size() * 1000 / kMinBytesPerSecond,
                                        qint64(kMaxBlockSeconds) * 1000);
            const QDeadlineTimer total(qMax(qint64(0), allowed - elapsed.elapsed()), Qt::PreciseTimer);
            const WaitEnd end = WaitFor([this] { return m_socket->bytesAvailable() > 0; }, idle, total);
            if (end == WaitEnd::PeerGone && m_socket->bytesAvailable() == 0)
                RaiseSocketError(SocketCode::kConnectionReset);
            if (end != WaitEnd::Done && end != WaitEnd::PeerGone)
                RaiseWaitEnd(end);
            idle = FreshDeadline();
        }
        qint64 length = 0;
        if (toLineEnd) {
            // readLine keeps one byte of its limit for a terminating NUL.
            const qint64 want = qMin(count - data.size(), qint64(kReadChunk) - 1);
            char *buffer = ReadBuffer().data();
            // A line is read up to its end only, so nothing of the next reply is taken.
            length = m_socket->canReadLine() ? m_socket->readLine(buffer, want + 1) : m_socket->read(buffer, want);
            if (length > 0)
                data.append(buffer, length);
        } else {
            const qsizetype before = data.size();
            data.resize(before + qMin(count - before, qint64(kReadChunk)));
            length = m_socket->read(data.data() + before, data.size() - before);
            data.resize(before + qMax(qint64(0), length));
        }
        if (length < 0)
            RaiseSocketFailure();
    }
    return data;
}
