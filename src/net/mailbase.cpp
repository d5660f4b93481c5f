#include "mailbase.h"

void TmsMailBase::Connect()
{
    Operation operation(this);
    DoConnect();
}

void TmsMailBase::Disconnect()
{
    if (Busy()) {
        Cancel();
        return;
    }
    Operation operation(this);
    DoDisconnect();
}

void TmsMailBase::DoConnect()
{
    if (Connected())
        return;
    Open();
    Login();
}

void TmsMailBase::DoDisconnect()
{
    if (!Connected())
        return;
    try {
        Quit();
    } catch (...) {
        CloseSocket();
        throw;
    }
    CloseSocket();
}
