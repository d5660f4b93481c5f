#include "notifications.h"

#include "mailguard.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// The server's own default time on screen.
constexpr int kServerTimeout = -1;
} // namespace

TNotifications::TNotifications(TMailGuard &guard, QDBusConnection bus, QObject *parent)
    : QObject(parent), m_guard(guard), m_bus(std::move(bus))
{
    connect(&guard, &TMailGuard::passMailboxResult, this,
            [this](int slot, const QString &mailbox, const TTaskResult &result, bool skipped) {
                // The setting is read at each result: the General settings may have changed it.
                m_notifier.SetEnabled(m_guard.General().notify);
                if (const auto notice = m_notifier.MailboxResult(slot, mailbox, result, skipped))
                    Show(*notice);
            });
}

void TNotifications::Show(const TNotice &notice)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tarnwick"));
    // Normal, never critical: critical notifications stay until clicked away.
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    call << QStringLiteral("Tarnwick") << uint(0) << QStringLiteral("tarnwick") << notice.summary << notice.body
         << QStringList() << hints << kServerTimeout;
    // Asynchronous: a notification server that hangs must not hang the automatic pass.
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, notice](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        if (QDBusPendingReply<uint>(*w).isError() && m_fallback)
            m_fallback(notice);
    });
}
