#include "neterrors.h"

#include <cerrno>
#include <cstring>

QString NetMessage(int id)
{
    switch (id) {
    case NetText::kTimedOut: return QStringLiteral("Operation timed out");
    case NetText::kCanceled: return QStringLiteral("Operation has been canceled");
    case NetText::kServerRequired: return QStringLiteral("Server property is required");
    case NetText::kInvalidWinsockVersion: return QStringLiteral("Invalid Winsock version");
    case NetText::kErrorResolving: return QStringLiteral("Error resolving remote host");
    case NetText::kServiceRequired: return QStringLiteral("Service name is required");
    case NetText::kNotConnected: return QStringLiteral("You have to connect to the server first");
    case NetText::kFunctionNotFound: return QStringLiteral("Function %s not found");
    case NetText::kWinsockNotLoaded: return QStringLiteral("Winsock is not loaded");
    case NetText::kWinsockNotFound: return QStringLiteral("Winsock not found");
    case NetText::kUserNameRequired: return QStringLiteral("UserName property is required");
    case NetText::kPasswordRequired: return QStringLiteral("Password property is required");
    default: return QString();
    }
}

namespace {
// The POSIX error whose wording the system uses for a Winsock code.
int PosixErrorFor(int code)
{
    switch (code) {
    case SocketCode::kAccessDenied: return EACCES;
    case SocketCode::kUnsupported: return EOPNOTSUPP;
    case SocketCode::kAddressInUse: return EADDRINUSE;
    case SocketCode::kAddressNotAvailable: return EADDRNOTAVAIL;
    case SocketCode::kNetworkUnreachable: return ENETUNREACH;
    case SocketCode::kNoBuffers: return ENOBUFS;
    case SocketCode::kConnectionReset: return ECONNRESET;
    case SocketCode::kTimedOut: return ETIMEDOUT;
    case SocketCode::kConnectionRefused: return ECONNREFUSED;
    case SocketCode::kHostUnreachable: return EHOSTUNREACH;
    default: return 0;
    }
}
} // namespace

QString SocketErrorText(int code, const QString &systemText)
{
    if (code >= 57000) {
        const QString text = NetMessage(code);
        if (!text.isEmpty())
            return text;
    }
    QString wording = systemText;
    if (wording.isEmpty()) {
        if (const int posix = PosixErrorFor(code))
            wording = QString::fromLocal8Bit(std::strerror(posix));
        else if (code == SocketCode::kHostNotFound)
            wording = QStringLiteral("Host not found");
    }
    const QString prefix = QStringLiteral("Error #") + QString::number(code);
    return wording.isEmpty() ? prefix : prefix + QStringLiteral(": ") + wording;
}

QString RasErrorText(int code, const QString &systemText)
{
    const QString text = systemText.trimmed();
    return text.isEmpty() ? QStringLiteral("RAS error no ") + QString::number(code) : text;
}
