#include "smtp.h"
#include "wording.h"

#include <QCoreApplication>

TmsSMTP::TmsSMTP(QObject *parent) : TmsMailBase(parent)
{
    SetServiceNames(QStringLiteral("smtp"), QStringLiteral("submissions"), 465);
    SetDefaultPort(25);
    SetTimeOut(60);
}

void TmsSMTP::Open()
{
    if (Server().trimmed().isEmpty())
        RaiseSocketError(NetText::kServerRequired);
    ResetState();
    TmsMailBase::Open();
}

int TmsSMTP::Command(const QString &line)
{
    SendLine(line);
    return ReadReply();
}

void TmsSMTP::RequireAccepted(int code)
{
    if (!Accepted(code))
        throw EServerError(LastReply());
}

void TmsSMTP::Login()
{
    RefuseWhileWaiting();
    try {
        ResetState();
        ConnectSocket();
        RequireAccepted(ReadReply());
        const QString host = LocalHostName();
        if (Tls().Mode == TmsTlsMode::StartTls) {
            // Servers want to be greeted before they discuss TLS; EHLO is the greeting that
            // may list STARTTLS.
            if (!Accepted(Command(QStringLiteral("EHLO ") + host)))
                RaiseTlsError(Said("Net", "The server refused EHLO, so STARTTLS cannot be asked for (it answered \"%1\")")
                                  .arg(LastReply()));
            if (Command(QStringLiteral("STARTTLS")) != 220)
                RaiseTlsError(Said("Net", "The server does not offer STARTTLS (it answered \"%1\")").arg(LastReply()));
            StartTls();
        }
        if (Accepted(Command(QStringLiteral("HELO ") + host)))
            return;
        // Some servers dislike the name they were given but take the bare command.
        RequireAccepted(Command(QStringLiteral("HELO")));
    } catch (...) {
        CloseSocket();
        throw;
    }
}

void TmsSMTP::Quit()
{
    RefuseWhileWaiting();
    if (!Connected())
        return;
    // Lets a Cancel or close request that is already queued act before the goodbye goes out.
    QCoreApplication::processEvents();
    if (!Connected())
        return;
    RequireAccepted(Command(QStringLiteral("QUIT")));
}
