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
    if (outcome == Outcome::Deleted)
        r.deleted = {2, 5, 7};
    r.text = QStringLiteral("The server's reply");
    r.canceled = outcome == Outcome::Canceled;
    r.socketCode = outcome == Outcome::Unreachable ? SocketCode::kConnectionRefused : 0;
    r.loginRefused = outcome == Outcome::LoginRefused || outcome == Outcome::InUse;
    if (outcome == Outcome::InUse)
        r.text = QStringLiteral("-ERR [IN-USE] Mailbox locked");
    if (outcome == Outcome::CertRefused)
        r.fingerprint = QStringLiteral("AB:CD");
    return r;
}

TEST(Notifier, TellsNewsAndEachTroubleOnceUntilTheMailboxWorksAgain)
{
    struct Step
    {
        int slot;
        Outcome outcome;
        bool enabled;
        const char *told; // the summary; nullptr: nothing told
    };
    const Step steps[] = {
        {1, Outcome::Clean, true, nullptr},
        {1, Outcome::Deleted, true, "Mailbox ann: spam deleted"},
        {1, Outcome::Deleted, true, "Mailbox ann: spam deleted"},
        {1, Outcome::Unreachable, true, "Mailbox ann: server unreachable"},
        {1, Outcome::Unreachable, true, nullptr},
        {1, Outcome::LoginRefused, true, nullptr},  // still failing: told once
        {2, Outcome::LoginRefused, true, "Mailbox ann: log-in refused"}, // another mailbox
        {1, Outcome::Canceled, true, nullptr},      // says nothing about the mailbox
        {1, Outcome::Unreachable, true, nullptr},
        {1, Outcome::Clean, true, nullptr},
        {1, Outcome::CertRefused, true, "Mailbox ann: certificate refused"},
        {1, Outcome::Skipped, true, "Mailbox ann skipped"},
        {1, Outcome::Skipped, true, nullptr},
        {1, Outcome::InUse, true, "Mailbox ann: check failed"},
        {3, Outcome::Unreachable, false, nullptr},  // off: not told ...
        {3, Outcome::Unreachable, true, nullptr},   // ... nor later, the trouble is old
        {3, Outcome::Deleted, false, nullptr},
        {0, Outcome::Deleted, true, nullptr},
        {kMailboxSlots + 1, Outcome::Deleted, true, nullptr},
    };
    TNotifier notifier;
    int i = 0;
    for (const Step &step : steps) {
        notifier.SetEnabled(step.enabled);
        const auto notice = notifier.MailboxResult(step.slot, QStringLiteral("ann"), ResultOf(step.outcome),
                                                   step.outcome == Outcome::Skipped);
        ASSERT_EQ(notice.has_value(), step.told != nullptr) << "step " << i;
        if (notice) {
            EXPECT_EQ(notice->summary, step.told) << "step " << i;
            EXPECT_EQ(notice->trouble, step.outcome != Outcome::Deleted) << "step " << i;
            EXPECT_FALSE(notice->body.isEmpty()) << "step " << i;
        }
        ++i;
    }
    EXPECT_EQ(notifier.MailboxResult(1, "ann", ResultOf(Outcome::Deleted), false)->body,
              "Messages deleted before your mail program downloaded them: 3");
}

// A session bus of the test's own, with the notification server on it.
class PrivateBus
{
public:
    PrivateBus()
    {
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (!WaitUntil([this] { return m_daemon.canReadLine(); }, 20000))
            return;
        address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        server.setProcessEnvironment(env);
        server.start("/usr/bin/python3", {TARNWICK_SOURCE_DIR "/tests/ui/notification_server.py"});
        if (WaitUntil([this] { return server.canReadLine(); }, 20000) && server.readLine() == "ready\n")
            ready = true;
        else
            problem = server.readAllStandardError();
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus("tarnwick-test");
        for (QProcess *p : {&server, &m_daemon}) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
            p->waitForFinished();
        }
    }
    QDBusConnection Connect() const { return QDBusConnection::connectToBus(address, "tarnwick-test"); }
    // The next notification the server got.
    QJsonObject Next()
    {
        if (!WaitUntil([this] { return server.canReadLine(); }, 20000))
            return {};
        return QJsonDocument::fromJson(server.readLine()).object();
    }

    QString address;
    QProcess server;
    bool ready = false;
    QByteArray problem;

private:
    QProcess m_daemon;
};

TEST(Notifications, TheAutomaticPassResultReachesTheDesktopsNotificationServer)
{
    TempHome home;
    PrivateBus bus;
    ASSERT_TRUE(bus.ready) << "no notification server (python3-dbus, python3-gi): " << bus.problem.constData();
    TTestPrompts prompts;
    TMailGuard guard(prompts);
    TNotifications notifications(guard, bus.Connect());
    QList<TNotice> fallback;
    notifications.SetFallback([&](const TNotice &n) { fallback << n; });

    guard.General().notify = false;
    emit guard.passMailboxResult(1, "ann", ResultOf(Outcome::Deleted), false);
    guard.General().notify = true;
    emit guard.passMailboxResult(2, "bob", ResultOf(Outcome::LoginRefused), false);
    // Only the second was told.
    const QJsonObject got = bus.Next();
    EXPECT_EQ(got["summary"].toString(), "Mailbox bob: log-in refused");
    EXPECT_EQ(got["body"].toString(),
              "The server refused the user name or password. Correct them in the General settings.");
    EXPECT_EQ(got["app"].toString(), "Tarnwick");
    EXPECT_EQ(got["urgency"].toInt(), 1);
    EXPECT_TRUE(fallback.isEmpty());

    // Without a server on the bus the message goes to the fallback.
    bus.server.terminate();
    ASSERT_TRUE(bus.server.waitForFinished(10000));
    emit guard.passMailboxResult(3, "cy", ResultOf(Outcome::Deleted), false);
    ASSERT_TRUE(WaitUntil([&] { return !fallback.isEmpty(); }, 20000));
    EXPECT_EQ(fallback.at(0).summary, "Mailbox cy: spam deleted");
}

} // namespace
