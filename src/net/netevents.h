#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QObject;

// Events of the network clients. Each is one handler that the owner assigns (an empty handler
// is simply not called), called with the client as Sender. Handlers run on the caller's stack,
// never inside a Qt slot, so an exception a handler throws ends the running operation and
// reaches its caller. In every event that carries Num, Num is the 0-based index into
// RemoteInfo, not the POP3 message number.
using TNotifyEvent = std::function<void(QObject *Sender)>;
// The handler may reword Msg; the exception that follows carries the reworded text.
using TmsErrorEvent = std::function<void(QObject *Sender, QString &Msg)>;
using TmsNumNotifyEvent = std::function<void(QObject *Sender, int Num)>;
// Perc is the share of the expected size received so far, or -1 when the size is not known.
using TmsProgressEvent = std::function<void(QObject *Sender, int Perc, qint64 Transferred)>;
using TmsUserMsgSaveEvent = std::function<void(QObject *Sender, int Num, const QByteArray &Contents)>;
// A dial-up status text for the user ("Dialing...", "Successfully connected").
using TRASNotifyEvent = std::function<void(QObject *Sender, const QString &RASStatusStr)>;
