// Desktop notifications: which results of the automatic pass are told, and that they reach a
// notification server (one of the test's own, on a private bus).

#include "mailguard.h"
#include "neterrors.h"
#include "notifications.h"
#include "ui_test.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

enum class Outcome { Clean, Deleted, Unreachable, LoginRefused, CertRefused, InUse, Skipped, Canceled };

TTaskResult ResultOf(Outcome outcome)
{
    TTaskResult r;
    r.ok = outcome == Outcome::Clean || outcome == Outcome::Deleted;
    r.deleted = outcome == Outcome::Deleted ? QList<int>{2, 5, 7} : QList<int>{};
    r.canceled = outcome == Outcome::Canceled;
    r.socketCode = outcome == Outcome::Unreachable ? SocketCode::kConnectionRefused : 0;
    r.loginRefused = outcome == Outcome::LoginRefused || outcome == Outcome::InUse;
    r.text = outcome == Outcome::InUse ? "-ERR [IN-USE] Mailbox locked" : "The server's reply";
    r.fingerprint = outcome == Outcome::CertRefused ? "AB:CD" : "";
    return r;
}

TEST(Notifier, TellsNewsAndEachTroubleOnceUntilTheMailboxWorksAgain)
{
    const struct
    {
        int slot;
        Outcome outcome;
        bool enabled;
        const char *told; // the summary; nullptr: nothing told
    } steps[] = {
        {1, Outcome::Clean, true, nullptr},
        {1, Outcome::Deleted, true, "Mailbox ann: spam deleted"},
        {1, Outcome::Deleted, true, "Mailbox ann: spam deleted"},
        {1, Outcome::Unreachable, true, "Mailbox ann: server unreachable"},
        {1, Outcome::Unreachable, true, nullptr},
        {1, Outcome::LoginRefused, true, nullptr}, // still failing: told once
        {2, Outcome::LoginRefused, true, "Mailbox ann: log-in refused"},
        {1, Outcome::Canceled, true, nullptr},     // says nothing about the mailbox
        {1, Outcome::Unreachable, true, nullptr},
        {1, Outcome::Clean, true, nullptr},
        {1, Outcome::CertRefused, true, "Mailbox ann: certificate refused"},
        {1, Outcome::Skipped, true, "Mailbox ann skipped"},
        {1, Outcome::Skipped, true, nullptr},
        {1, Outcome::InUse, true, "Mailbox ann: check failed"},
        {3, Outcome::Unreachable, false, nullptr}, // off: not told ...
        {3, Outcome::Unreachable, true, nullptr},  // ... nor later, the trouble is old
        {0, Outcome::Deleted, true, nullptr},
        {kMailboxSlots + 1, Outcome::Deleted, true, nullptr},
    };
    TNotifier notifier;
    for (const auto &step : steps) {
        SCOPED_TRACE(&step - steps);
        notifier.SetEnabled(step.enabled);
        const auto notice =
            notifier.MailboxResult(step.slot, "ann", ResultOf(step.outcome), step.outcome == Outcome::Skipped);
        ASSERT_EQ(notice.has_value(), step.told != nullptr);
        if (notice) {
            EXPECT_EQ(notice->summary, step.told);
            EXPECT_EQ(notice->trouble, step.outcome != Outcome::Deleted);
        }
    }
}

TEST(Notifications, TheAutomaticPassResultReachesTheDesktopsNotificationServer)
{
    TempHome home;
    QProcess server;
    server.start("/usr/bin/python3", {TARNWICK_SOURCE_DIR "/tests/ui/notification_server.py"});
    const auto cleanUp = qScopeGuard([&] {
        QDBusConnection::disconnectFromBus("notifications-test");
        server.terminate();
        server.waitForFinished();
    });
    const auto nextLine = [&] { return WaitUntil([&] { return server.canReadLine(); }, 20000) ? server.readLine() : ""; };
    const QString address = QString::fromUtf8(nextLine()).trimmed();
    ASSERT_TRUE(address.startsWith("unix:")) << "no bus (python3-dbus, python3-gi?): " << server.readAllStandardError().constData();
    TTestPrompts prompts;
    TMailGuard guard(prompts);
    TNotifications notifications(guard, QDBusConnection::connectToBus(address, "notifications-test"));
    QList<TNotice> fallback;
    notifications.SetFallback([&](const TNotice &n) { fallback << n; });

    guard.General().notify = false;
    emit guard.passMailboxResult(1, "ann", ResultOf(Outcome::Deleted), false);
    guard.General().notify = true;
    emit guard.passMailboxResult(2, "bob", ResultOf(Outcome::Deleted), false);
    // Only the second was told.
    const QJsonObject got = QJsonDocument::fromJson(nextLine()).object();
    EXPECT_EQ(got["summary"].toString(), "Mailbox bob: spam deleted");
    EXPECT_EQ(got["body"].toString(), "Messages deleted before your mail program downloaded them: 3");
    EXPECT_EQ(got["app"].toString(), "Tarnwick");
    EXPECT_EQ(got["urgency"].toInt(), 1);
    EXPECT_TRUE(fallback.isEmpty());

    // Without a server the tray icon's message tells it.
    server.terminate();
    ASSERT_TRUE(server.waitForFinished(10000));
    emit guard.passMailboxResult(3, "cy", ResultOf(Outcome::LoginRefused), false);
    ASSERT_TRUE(WaitUntil([&] { return !fallback.isEmpty(); }, 20000));
    EXPECT_EQ(fallback.at(0).summary, "Mailbox cy: log-in refused");
}

} // namespace
