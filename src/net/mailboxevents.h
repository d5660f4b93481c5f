#pragma once

#include "mailbox.h"
#include "netevents.h"

class TagSocket;

// The connection's own events (opening, closing, cancel, failures) of socket sent to events,
// whatever protocol runs over it.
void ConnectSocketEvents(TagSocket &socket, const TMailboxEvents &events);

// A client's sender-carrying event that calls handler; empty when handler is.
TNotifyEvent Notify(const std::function<void()> &handler);
TmsNumNotifyEvent NotifyIndex(const std::function<void(int index)> &handler);
