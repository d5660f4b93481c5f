#pragma once

#include "notifier.h"

#include <QDBusConnection>
#include <QObject>
#include <functional>

class TMailGuard;

// Tells the desktop what the automatic pass did while nobody watched: the guard's result for
// each mailbox goes through the notifier's policy, and what it decides to tell is sent to the
// desktop's notification server (org.freedesktop.Notifications). Without one, the fallback
// shows it (the tray icon's message).
class TNotifications : public QObject
{
    Q_OBJECT

public:
    TNotifications(TMailGuard &guard, QDBusConnection bus, QObject *parent = nullptr);

    void SetFallback(std::function<void(const TNotice &)> fallback) { m_fallback = std::move(fallback); }
    void Show(const TNotice &notice);

private:
    TMailGuard &m_guard;
    QDBusConnection m_bus;
    TNotifier m_notifier;
    std::function<void(const TNotice &)> m_fallback;
};
