#include "winsock.h"

#include "neterrors.h"

#include <QStringList>

TagWinsock &TagWinsock::Instance()
{
    static TagWinsock instance;
    return instance;
}

void TagWinsock::Load()
{
    m_loaded = true;
}

void TagWinsock::Unload()
{
    m_loaded = false;
}

void TagWinsock::RequireFunction(const QString &name) const
{
    // The calls the transport makes; Qt Network provides each of them.
    static const QStringList known = {
        QStringLiteral("WSAStartup"), QStringLiteral("WSACleanup"), QStringLiteral("socket"),
        QStringLiteral("connect"),    QStringLiteral("send"),       QStringLiteral("recv"),
        QStringLiteral("closesocket"), QStringLiteral("gethostname"),
        QStringLiteral("getservbyname"), QStringLiteral("gethostbyname"),
    };
    if (!m_loaded)
        throw EWinsockDLLError(NetMessage(NetText::kWinsockNotLoaded));
    if (!known.contains(name))
        throw EWinsockDLLError(NetMessage(NetText::kFunctionNotFound).replace(QStringLiteral("%s"), name));
}
