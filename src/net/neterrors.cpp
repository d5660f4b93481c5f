#include "neterrors.h"
#include "wording.h"

#include <cerrno>
#include <cstring>

QString NetMessage(int id)
{
    switch (id) {
    case NetText::kTimedOut: return Said("Net", "Operation timed out");
    case NetText::kCanceled: return Said("Net", "Operation has been canceled");
    case NetText::kServerRequired: return Said("Net", "Server property is required");
    case NetText::kInvalidWinsockVersion: return Said("Net", "Invalid Winsock version");
    case NetText::kErrorResolving: return Said("Net", "Error resolving remote host");
    case NetText::kServiceRequired: return Said("Net", "Service name is required");
    case NetText::kNotConnected: return Said("Net", "You have to connect to the server first");
    case NetText::kFunctionNotFound: return Said("Net", "Function %s not found");
    case NetText::kWinsockNotLoaded: return Said("Net", "Winsock is not loaded");
    case NetText::kWinsockNotFound: return Said("Net", "Winsock not found");
    case NetText::kUserNameRequired: return Said("Net", "UserName property is required");
    case NetText::kPasswordRequired: return Said("Net", "Password property is required");
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
    Said wording(systemText);
    if (wording.English().isEmpty()) {
        if (const int posix = PosixErrorFor(code))
            wording = Said(QString::fromLocal8Bit(std::strerror(posix)));
        else if (code == SocketCode::kHostNotFound)
            wording = Said("Net", "Host not found");
    }
    const Said prefix = Said("Net", "Error #%1").arg(code);
    return wording.English().isEmpty() ? prefix : prefix + Said(QStringLiteral(": ")) + wording;
}

QString RasErrorText(int code, const QString &systemText)
{
    const QString text = systemText.trimmed();
    return text.isEmpty() ? Said("Net", "RAS error no %1").arg(code) : Said(text);
}
