#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <exception>

// The error family of the network clients. Every class carries the text that the window
// shows; ESocketError also the socket error code (a Winsock number such as 10061, or 0 when the
// failure has no socket code).
//
//   ENetError
//    +- ESocketError          socket-level or parameter error (OnError fires first)
//    |   +- EProtocolError    the server's reply could not be understood
//    |   +- ETlsError         TLS could not be set up
//    |       +- ECertificateError   the server's certificate was refused
//    +- EServerError          the server refused a command; text = the server's line
//    |   +- ELoginError       ... the log-in itself
//    +- ECanceledError        "Operation has been canceled" (OnError fires first)
//    +- ETimedOutError        "Operation timed out" (OnError fires first)
//    +- EWinsockDLLError      the socket layer or one of its functions is missing
//    +- ERASError             the dial-up connection could not be made (Code(): the dial-up
//                             layer's error number)
class ENetError : public std::exception
{
public:
    explicit ENetError(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}
    const QString &Message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

class ESocketError : public ENetError
{
public:
    explicit ESocketError(const QString &message, int code = 0) : ENetError(message), m_code(code) {}
    int Code() const noexcept { return m_code; }

private:
    int m_code;
};

class EProtocolError : public ESocketError
{
public:
    using ESocketError::ESocketError;
};

class ETlsError : public ESocketError
{
public:
    using ESocketError::ESocketError;
};

// The certificate the server presented failed the check against the system's CAs and the host
// name, and the user has not trusted it. Fingerprint() is its SHA-256 fingerprint (64 lower-case
// hex digits), which the window can offer to store as the mailbox's trusted certificate;
// Problems() names what failed, one text per problem.
class ECertificateError : public ETlsError
{
public:
    ECertificateError(const QString &message, const QString &fingerprint, const QStringList &problems)
        : ETlsError(message), m_fingerprint(fingerprint), m_problems(problems)
    {
    }
    const QString &Fingerprint() const noexcept { return m_fingerprint; }
    const QStringList &Problems() const noexcept { return m_problems; }

private:
    QString m_fingerprint;
    QStringList m_problems;
};

class EServerError : public ENetError
{
public:
    using ENetError::ENetError;
};

// The server refused the log-in itself (user name, password, or too soon after the last one),
// not a command after it: nothing changes that but a person or the time the server asks for.
class ELoginError : public EServerError
{
public:
    ELoginError(const QString &message, bool loginDelay) : EServerError(message), m_loginDelay(loginDelay) {}
    // Refused because the last log-in was too recent (POP3 [LOGIN-DELAY]).
    bool LoginDelay() const noexcept { return m_loginDelay; }

private:
    bool m_loginDelay;
};

class ECanceledError : public ENetError
{
public:
    using ENetError::ENetError;
};

class ETimedOutError : public ENetError
{
public:
    using ENetError::ENetError;
};

class EWinsockDLLError : public ENetError
{
public:
    using ENetError::ENetError;
};

class ERASError : public ENetError
{
public:
    ERASError(const QString &message, int code) : ENetError(message), m_code(code) {}
    int Code() const noexcept { return m_code; }

private:
    int m_code;
};

// The text of a dial-up error: the system's own wording when it gave one, else
// "RAS error no " followed by the code.
QString RasErrorText(int code, const QString &systemText = QString());

// The message table of the network clients, by the numbers the mail library has always used.
namespace NetText {
inline constexpr int kTimedOut = 57000;
inline constexpr int kCanceled = 57001;
inline constexpr int kServerRequired = 57002;
inline constexpr int kInvalidWinsockVersion = 57003;
inline constexpr int kErrorResolving = 57004;
inline constexpr int kServiceRequired = 57005;
inline constexpr int kNotConnected = 57008;
inline constexpr int kFunctionNotFound = 57010;
inline constexpr int kWinsockNotLoaded = 57011;
inline constexpr int kWinsockNotFound = 57012;
inline constexpr int kUserNameRequired = 57103;
inline constexpr int kPasswordRequired = 57104;
} // namespace NetText

// The text of a message table entry; empty for a number the table does not hold.
QString NetMessage(int id);

// The text of a socket error code: "Error #10061: Connection refused" for the Winsock codes
// the transport reports (with the system's own wording), a table entry for 57000 and up, and
// "Error #" followed by the code for anything else. systemText, when not empty, replaces the
// system's wording.
QString SocketErrorText(int code, const QString &systemText = QString());

// Socket error codes that the transport reports, by their Winsock numbers.
namespace SocketCode {
inline constexpr int kAccessDenied = 10013;
inline constexpr int kUnsupported = 10045;
inline constexpr int kAddressInUse = 10048;
inline constexpr int kAddressNotAvailable = 10049;
inline constexpr int kNetworkUnreachable = 10051;
inline constexpr int kNoBuffers = 10055;
inline constexpr int kConnectionReset = 10054;
inline constexpr int kTimedOut = 10060;
inline constexpr int kConnectionRefused = 10061;
inline constexpr int kHostUnreachable = 10065;
inline constexpr int kHostNotFound = 11001;
} // namespace SocketCode
