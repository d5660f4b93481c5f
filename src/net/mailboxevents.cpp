#include "mailboxevents.h"

#include "tagsocket.h"

TNotifyEvent Notify(const std::function<void()> &handler)
{
    if (!handler)
        return {};
    return [handler](QObject *) { handler(); };
}

TmsNumNotifyEvent NotifyIndex(const std::function<void(int index)> &handler)
{
    if (!handler)
        return {};
    return [handler](QObject *, int index) { handler(index); };
}

void ConnectSocketEvents(TagSocket &socket, const TMailboxEvents &events)
{
    socket.OnOpen = Notify(events.connecting);
    socket.OnClosing = Notify(events.closing);
    socket.OnClosed = Notify(events.closed);
    socket.OnCancel = Notify(events.canceled);
    socket.OnError = {};
    if (events.failed)
        socket.OnError = [failed = events.failed](QObject *, QString &text) { failed(text); };
}
