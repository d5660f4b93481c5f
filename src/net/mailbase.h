#pragma once

#include "tagsocket.h"

// The common base of the mail clients: a connection that logs in and says goodbye in the
// client's protocol.
class TmsMailBase : public TagSocket
{
    Q_OBJECT

public:
    using TagSocket::TagSocket;

    // Open and Login, unless already connected.
    void Connect();
    // Quit and Close when connected; while an operation runs it cancels that operation instead.
    // The connection is closed even when the goodbye fails.
    void Disconnect();

    // The protocol's greeting and log-in, after Open.
    virtual void Login() = 0;
    // The protocol's goodbye.
    virtual void Quit() = 0;

protected:
    void DoConnect();
    void DoDisconnect();
};
