#pragma once

#include "neterrors.h"
#include "netevents.h"
#include "tls.h"

#include <QAbstractSocket>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QEventLoop;
class QIODevice;
class QSslError;
class QSslSocket;
class TagRas;

// One TCP (optionally TLS) connection to a mail server that sends command lines, reads reply
// lines and reads dot-terminated data blocks.
//
// Every wait runs a local event loop that sleeps until its condition, a Cancel, or its time-out
// (TimeOut whole seconds), so timers, windows and a Cancel button keep working while the
// network is slow. Cancel() may be called from any handler during a wait; the wait then ends
// with ECanceledError. Failures are reported first through OnError (which may reword the text)
// and then thrown, except EServerError and EWinsockDLLError, which are thrown without OnError.
// Exceptions are raised only on the caller's stack, after the wait's event loop has returned.
//
// While a wait runs, a second operation on the same object is refused (ESocketError): the
// connection can only serve one exchange at a time. Close() while busy acts as Cancel().
// The object must not be deleted while Busy(); use deleteLater().
class TagSocket : public QObject
{
    Q_OBJECT

public:
    explicit TagSocket(QObject *parent = nullptr);
    ~TagSocket() override;

    // "host", "host:port" or "[IPv6]:port".
    QString Server() const { return m_server; }
    void SetServer(const QString &server) { m_server = server; }
    // Used when Server names no port and the services database has none either.
    quint16 DefaultPort() const { return m_defaultPort; }
    void SetDefaultPort(quint16 port) { m_defaultPort = port; }
    // Seconds each wait may take; at least 1.
    int TimeOut() const { return m_timeOut; }
    void SetTimeOut(int seconds) { m_timeOut = seconds < 1 ? 1 : seconds; }
    // The shared socket layer (see TagWinsock); loaded unless someone unloaded it.
    bool WinsockLoaded() const;
    void SetWinsockLoaded(bool loaded);
    // The dial-up component that Open asks to connect first and every close asks to hang up;
    // none by default. Cleared by itself when that component is destroyed.
    TagRas *RAS() const;
    void SetRAS(TagRas *ras);
    const TmsTlsSettings &Tls() const { return m_tls; }
    void SetTls(const TmsTlsSettings &tls) { m_tls = tls; }

    // True from Open until Close: the connection exists (it may not have reached the server yet).
    bool Connected() const { return m_open; }
    // An operation or a wait is running.
    bool Busy() const { return m_waiting || m_operation; }
    // The last reply line read, without its line end.
    const QString &LastReply() const { return m_lastReply; }
    // The server's address and port chosen by the last Open.
    QString ServerAddress() const { return m_address.toString(); }
    quint16 Port() const { return m_port; }
    // This machine's name, for protocol greetings.
    QString LocalHostName() const { return m_localHostName; }
    // The TLS state of the current connection.
    bool Encrypted() const;
    // SHA-256 fingerprint of the certificate the server presented on the last TLS handshake.
    QString PeerFingerprint() const { return m_peerFingerprint; }
    // The round trips of the last connection so far: the connect, then every turn from sending
    // to reading (the greeting's turn follows the connect). Replies read one after another
    // without anything sent in between are one turn: this is what a slow link multiplies.
    int RoundTrips() const { return m_roundTrips; }

    TNotifyEvent OnOpen;
    TNotifyEvent OnClosing;
    TNotifyEvent OnClosed;
    TNotifyEvent OnCancel;
    TmsErrorEvent OnError;
    TmsProgressEvent OnProgress;

    // Clears the cancel, time-out and error notices of the last wait.
    virtual void ResetState();
    // Base rule: the first three characters as a decimal number, -1 when they are not one.
    virtual int ReplyCode(const QString &line) const;
    // Resolves Server and prepares the connection (not yet connected to the server).
    virtual void Open();
    // Ends the connection at once (no goodbye is sent). While busy it cancels instead.
    virtual void Close();
    // Ends the running wait with ECanceledError and closes the connection. Safe at any time.
    virtual void Cancel();

    // Sends line + CR LF. A line holding CR, LF or NUL is refused.
    void SendLine(const QString &line);
    // Reads one reply line (at most kMaxLineBytes including its end) into line and
    // LastReply and returns ReplyCode(line). A connection closed by the server before a whole
    // line arrived gives -1 and an empty line, without an exception.
    int ReadLine(QString &line);
    // Reads a numbered reply that may continue over several lines ("250-..." ... "250 ...")
    // into LastReply (its last line) and returns the first line's code. The whole reply must
    // arrive within TimeOut seconds.
    int ReadReply();
    // Reads a data block up to its "." line and writes it to stream, with the "." line removed
    // and doubled leading dots undone. ExpectedSize > 0 gives OnProgress a percentage.
    // maxSize bounds the decoded block (-1: twice ExpectedSize plus 64 KiB, or 1 MiB when the
    // size is not known); a longer block ends with ESocketError and closes the connection.
    void ReceiveToStream(QIODevice &stream, qint64 ExpectedSize, qint64 maxSize = -1);
    // The TCP connect (and the TLS handshake for implicit TLS); first step of a log-in.
    void ConnectSocket();

    static constexpr int kMaxLineBytes = 1024;
    // A data block must keep arriving at this rate at least, so a server that trickles data
    // cannot hold a wait open for ever: the whole block may take TimeOut seconds plus one second
    // per kMinBytesPerSecond it has brought so far (what the server says it will send counts
    // for nothing) ...
    static constexpr qint64 kMinBytesPerSecond = 1024;
    // ... and never more than this in all.
    static constexpr int kMaxBlockSeconds = 3600;
    // The connection takes at most this much from the network ahead of what is read; the rest
    // waits with the server.
    static constexpr qint64 kReadBufferBytes = 1024 * 1024;

protected:
    // The services database name and fallback port, for plain and for implicit-TLS connections.
    void SetServiceNames(const QString &plain, const QString &implicitTls, quint16 implicitTlsPort);

    // Upgrades the open plain connection to TLS (after the protocol's STLS / STARTTLS was
    // accepted). Data the server sent before the handshake is refused: it would be taken as
    // having come through TLS.
    void StartTls();

    // Closes without the busy check; for the clients' own clean-up paths. Connected or not,
    // an attached dial-up component is told to hang up.
    void CloseSocket();

    // Public operations of the clients hold one of these for their whole run: a second
    // operation started meanwhile (from an event handler or a timer) is refused.
    class Operation
    {
    public:
        explicit Operation(TagSocket *socket);
        ~Operation();
        Operation(const Operation &) = delete;
        Operation &operator=(const Operation &) = delete;

    private:
        TagSocket *m_socket;
    };
    // Refuses a call made while a wait runs (a re-entrant call from the event loop).
    void RefuseWhileWaiting();

    // The error report: OnError, then the exception. Socket errors with code 10054 (and every
    // failure that leaves the stream unusable) close the connection first.
    [[noreturn]] void RaiseSocketError(int code, const QString &systemText = QString());
    [[noreturn]] void RaiseErrorText(const QString &message, bool close);
    [[noreturn]] void RaiseProtocolError(const QString &message);
    [[noreturn]] void RaiseTlsError(const QString &message);
    [[noreturn]] void RaiseCanceled();
    [[noreturn]] void RaiseTimedOut();
    // Fires OnError and returns the text as the handler left it.
    QString FireError(const QString &message);

    void ReceiveBlock(QIODevice &stream, qint64 expectedSize, qint64 maxSize, bool reportProgress);
    // For protocols whose replies carry counted data (IMAP literals): one line of raw bytes
    // without its line end, at most maxBytes long, and exactly count bytes. Both may take as
    // long as a data block of their size (see kMinBytesPerSecond); a longer line ends with
    // ESocketError and closes the connection, and so does a connection closed before the end.
    QByteArray ReadRawLine(qint64 maxBytes);
    // Waits until the server sends something (true) or the deadline passes (false), for a
    // session that stays quiet until the server speaks. A cancel or a lost connection raises.
    bool WaitReadable(const QDeadlineTimer &deadline);
    QByteArray ReadExact(qint64 count);
    // Hands bytes (whole command lines, each checked by the caller) to the connection without
    // waiting until they are sent: the replies are read while the rest still goes out. The
    // socket buffers what the network does not take yet.
    void WriteAhead(const QByteArray &bytes);
    // For replies read ahead of their turn: LastReply is the reply of the command handled now.
    void SetLastReply(const QString &line) { m_lastReply = line; }
    QString HostPart() const { return m_hostPart; }

private:
    enum class WaitEnd { Done, Canceled, TimedOut, Failed, PeerGone };
    WaitEnd WaitFor(const std::function<bool()> &condition, const QDeadlineTimer &idle,
                    const QDeadlineTimer &total);
    [[noreturn]] void RaiseWaitEnd(WaitEnd end);
    [[noreturn]] void RaiseSocketFailure();
    int ReadLineUntil(QString &line, const QDeadlineTimer &deadline);
    // Reads raw bytes until done(buffer) or count bytes are in, within the rate rule of blocks.
    QByteArray ReadCounted(qint64 count, bool toLineEnd);
    // The buffer ReceiveBlock and ReadCounted read through (kReadChunk bytes).
    QByteArray &ReadBuffer();
    // Counts a round trip when a reply is read after something was sent.
    void NoteRead();
    void Wake();
    void CreateSocket();
    void OnSocketError(QAbstractSocket::SocketError error);
    void OnSslErrors(const QList<QSslError> &errors);
    QDeadlineTimer FreshDeadline() const;
    void RequireOpen();
    void ResolveHost(const QString &host);
    void DialUp();
    quint16 ResolvePort(quint16 given);

    QString m_server;
    quint16 m_defaultPort = 0;
    int m_timeOut = 60;
    TmsTlsSettings m_tls;
    QPointer<TagRas> m_ras;
    QString m_serviceName;
    QString m_tlsServiceName;
    quint16 m_tlsDefaultPort = 0;

    QSslSocket *m_socket = nullptr;
    bool m_open = false;
    QHostAddress m_address;
    quint16 m_port = 0;
    QString m_hostPart;
    QString m_localHostName;
    QString m_lastReply;
    QByteArray m_readChunk;  // see ReadBuffer
    QString m_peerFingerprint;
    int m_roundTrips = 0;
    bool m_sentSinceRead = false;

    // Notices of the current wait, cleared by ResetState.
    bool m_canceled = false;
    bool m_timedOut = false;
    bool m_peerClosed = false;
    bool m_errorNoticed = false;
    QAbstractSocket::SocketError m_error = QAbstractSocket::UnknownSocketError;
    QString m_errorText;
    QStringList m_certificateProblems;
    QString m_refusedFingerprint;
    int m_lookupId = -1;
    bool m_lookupDone = false;
    QList<QHostAddress> m_lookupAddresses;
    QString m_lookupError;

    QEventLoop *m_loop = nullptr;
    bool m_waiting = false;
    bool m_operation = false;
};
