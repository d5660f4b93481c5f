// The dial-up component over NetworkManager, against a scripted stand-in nmcli on the PATH:
// the phone book, dialing, hanging up, failures, time-outs, a missing nmcli, the password
// kept off the command line, and the transport dialing before it connects.
#include "fake_nmcli.h"

#include "ras.h"
#include "tagsocket.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QJsonObject Scenario(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

QStringList Argv(const QJsonObject &call)
{
    QStringList argv;
    for (const QJsonValue &v : call.value(QStringLiteral("argv")).toArray())
        argv << v.toString();
    return argv;
}

// What the component told its owner, in order.
struct RasLog
{
    QStringList status;
    int disconnected = 0;
    void Attach(TagRas &ras)
    {
        ras.OnStatusChange = [this](QObject *, const QString &text) { status << text; };
        ras.OnDisconnected = [this](QObject *) { ++disconnected; };
    }
};

const char kModem[] = R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""},
                                          {"name": "Wired", "type": "802-3-ethernet", "state": ""}]})";

TEST(RasEntries, ListedSortedByNameOnceEach)
{
    // Sorted, case folded first, duplicates once, escaped colons read back; an empty phone
    // book; NetworkManager not running: no entries, the error kept.
    const std::tuple<const char *, QStringList, int> cases[] = {
        {R"({"connections": [{"name": "Zeta"}, {"name": "alpha"}, {"name": "Beta:2\\x"}, {"name": "Alpha"},
                             {"name": "Zeta"}]})",
         {"Alpha", "alpha", "Beta:2\\x", "Zeta"}, 0},
        {R"({"connections": [{"name": "Modem"}],
             "list": {"exit": 8, "stderr": "Error: NetworkManager is not running."}})", {}, 8},
    };
    for (const auto &[scenario, entries, lastError] : cases) {
        TFakeNmcli nmcli(Scenario(scenario));
        TagRas ras;
        EXPECT_TRUE(ras.Available());
        EXPECT_EQ(ras.EntryList(), entries);
        EXPECT_EQ(ras.Entries(), entries);
        EXPECT_EQ(ras.LastError(), lastError);
        EXPECT_EQ(ras.LastErrorText(), lastError ? "Error: NetworkManager is not running." : "");
    }
}

TEST(RasEntries, PositionsServicesAndAMissingNmcli)
{
    TFakeNmcli nmcli(Scenario(kModem));
    TagRas ras;
    const QList<std::pair<int, QString>> cases = {{0, ""}, {1, "Modem"}, {2, "Wired"}, {3, ""}, {-1, ""}, {99, ""}};
    for (const auto &[position, entry] : cases)
        EXPECT_EQ(ras.EntryAt(position), entry) << position;
    EXPECT_EQ(ras.SetService("Modem"), "");
    EXPECT_EQ(ras.Service(), "Modem");
    EXPECT_EQ(ras.SetService("Nowhere"), "Invalid service name");
    EXPECT_EQ(ras.Service(), "");
    // No service: no call at all.
    nmcli.ClearCalls();
    ras.Connect();
    ras.HangUp();
    EXPECT_FALSE(ras.IsConnected());
    EXPECT_EQ(nmcli.Verbs(), QStringList());

    TFakeNmcli none(QJsonObject(), true);
    TagRas without;
    EXPECT_FALSE(without.Available());
    EXPECT_TRUE(without.Entries().isEmpty());
    EXPECT_EQ(without.SetService("Modem"), "TagRas component was unable to detect\nRAS on your system.");
    RasLog log;
    log.Attach(without);
    EXPECT_NO_THROW(without.Connect());
    EXPECT_NO_THROW(without.HangUp());
    EXPECT_TRUE(log.status.isEmpty());
    EXPECT_EQ(log.disconnected, 0);
}

// The stand-in's answers for a modem entry in the given state.
QByteArray Modem(const char *state, const char *extra = "")
{
    return QByteArray(R"({"connections": [{"name": "Modem", "type": "gsm", "state": ")") + state + "\"}]" + extra
           + "}";
}
QByteArray Down(const char *extra = "") { return Modem("", extra); }

// How Connect ended: "connected", "ras <code>: <text>", or the text of a time-out or cancel.
template <typename F>
QString Outcome(F &&connect)
{
    try {
        connect();
        return QStringLiteral("connected");
    } catch (const ERASError &e) {
        return QStringLiteral("ras %1: %2").arg(e.Code()).arg(e.Message());
    } catch (const ENetError &e) {
        return e.Message();
    }
}

// One dial from Connect to HangUp, per scenario. A plain dial and a refused activation with
// nmcli's text: MainWindow.CheckDialsTheStoredConnectionEntry.
TEST(RasDial, Scenarios)
{
    const QStringList dialing{"Initializing...", "Dialing..."};
    const QStringList dialed = dialing + QStringList{"Successfully connected"};
    const char *wiredUp = R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""},
                                              {"name": "Wired", "type": "802-3-ethernet", "state": "activated"}]})";
    // verbs: nmcli calls made by Connect; hangUpVerbs: by the HangUp after a successful Connect.
    struct Case {
        const char *name; QByteArray scenario; bool forceService; bool cancelWhileUp; QString outcome; QString verbs;
        QStringList status; QString hangUpVerbs;
    };
    const QList<Case> cases = {
        {"an entry already up is used and left up", Modem("activated"), true, false, "connected", "active", {}, ""},
        {"an entry coming up is dialed", Modem("activating"), true, false, "connected", "active up", dialed, "down"},
        {"without ForceService any connection up will do", wiredUp, false, false, "connected", "active", {}, ""},
        {"with ForceService another connection does not count", wiredUp, true, false, "connected", "active up", dialed,
         "down"},
        {"a failure without a text gives the error number", Down(R"(, "up": {"exit": 4})"), true, false,
         "ras 4: RAS error no 4", "active up down", dialing, ""},
        {"the list of active connections fails",
         Down(R"(, "active": {"exit": 8, "stderr": "Error: NetworkManager is not running."})"), true, false,
         "ras 8: Error: NetworkManager is not running.", "active", {}, ""},
        {"our time-out kills the dial and hangs up before it raises", Down(R"(, "up": {"sleep": 30})"), true, false,
         "Operation timed out", "active up down", dialing, ""},
        {"nmcli's own time-out is a time-out too",
         Down(R"(, "up": {"exit": 3, "stderr": "Error: Timeout expired, 1 seconds"})"), true, false,
         "Operation timed out", "active up down", dialing, ""},
        {"a cancel (Disconnect) ends the dial and hangs up", Down(R"(, "up": {"sleep": 30})"), true, true,
         "Operation has been canceled", "active up down", dialing, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TFakeNmcli nmcli(QJsonDocument::fromJson(c.scenario).object());
        TagRas ras;
        ASSERT_EQ(ras.SetService("Modem"), "");
        ras.ForceService = c.forceService;
        // Only the dial that sleeps is meant to run out of time.
        ras.SetTimeOut(c.cancelWhileUp ? 20 : c.scenario.contains("sleep") ? 1 : 10);
        RasLog log;
        log.Attach(ras);
        nmcli.ClearCalls();
        // The cancel comes once the stand-in is in the middle of its "up".
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            if (nmcli.Verbs().contains("up")) {
                cancel.stop();
                ras.Disconnect();
            }
        });
        if (c.cancelWhileUp)
            cancel.start(50);
        EXPECT_EQ(Outcome([&] { ras.Connect(); }), c.outcome);
        EXPECT_EQ(nmcli.Verbs().join(' '), c.verbs);
        EXPECT_EQ(log.status, c.status);
        EXPECT_EQ(ras.IsConnected(), c.outcome == "connected");
        nmcli.ClearCalls();
        ras.HangUp();
        EXPECT_EQ(nmcli.Verbs().join(' '), c.hangUpVerbs);
        EXPECT_EQ(log.disconnected, (c.verbs + c.hangUpVerbs).contains("down") ? 1 : 0);
        EXPECT_FALSE(ras.DialedByUs());
        // Hanging up again touches nothing: a connection someone else brought up is not ours.
        nmcli.ClearCalls();
        ras.HangUp();
        ras.Disconnect();
        EXPECT_EQ(nmcli.Verbs(), QStringList());
    }
}

TEST(RasDial, PasswordGoesThroughAPrivateFileNeverTheCommandLine)
{
    const QString password = QStringLiteral("s3cr:et w0rd");
    const std::pair<const char *, const char *> cases[] = {
        {"gsm", "gsm.password"}, {"pppoe", "pppoe.password"}, {"cdma", "cdma.password"}, {"gsm", nullptr},
        {"vpn", "vpn.secrets.password"}, {"802-11-wireless", "802-11-wireless-security.psk"}};
    for (const auto &[type, setting] : cases) {
        SCOPED_TRACE(type);
        TFakeNmcli nmcli(QJsonDocument::fromJson(QByteArray(R"({"connections": [{"name": "Modem", "type": ")") + type
                                                 + R"(", "state": ""}]})").object());
        TagRas ras;
        ASSERT_EQ(ras.SetService("Modem"), "");
        // No password: no file at all.
        ras.Password = setting ? password : QString();
        ras.Connect();
        ras.HangUp();
        QString fileName;
        for (const QJsonObject &call : nmcli.Calls()) {
            const QStringList argv = Argv(call);
            EXPECT_FALSE(argv.join(' ').contains("s3cr"));
            if (TFakeNmcli::Verb(call) != "up" || !setting)
                continue;
            EXPECT_EQ(call.value("passwd").toString(), QString(setting) + ":" + password + "\n");
            EXPECT_EQ(call.value("mode").toString(), "600");
            fileName = argv.at(argv.indexOf("passwd-file") + 1);
        }
        // Gone once the dial is over.
        EXPECT_EQ(fileName.isEmpty(), !setting);
        EXPECT_FALSE(!fileName.isEmpty() && QFile::exists(fileName));
        // A password that would break the file's line is refused.
        ras.Password = QStringLiteral("two\nlines");
        EXPECT_THROW(ras.Connect(), ERASError);
        EXPECT_FALSE(ras.DialedByUs());
    }
}

// A dial-up service that reports what the test says, when the test says it: for notices that
// NetworkManager's command line never gives after a dial has ended.
class TScriptedDialer : public TagDialer
{
public:
    bool Available() const override { return true; }
    QStringList ListEntries() override { return {"Modem"}; }
    QList<TagActiveConnection> ListActive() override { return {}; }
    void StartDial(const QString &, const QString &, int) override
    {
        ++dials;
        dialing = true;
        QTimer::singleShot(10, [this] {
            dialing = false;
            OnNotice(RasState::kConnected, 0, QString());
        });
    }
    void AbortDial() override { dialing = false; }
    bool Dialing() const override { return dialing; }
    void HangUp(const QString &) override { ++hangUps; }

    int dials = 0;
    int hangUps = 0;
    bool dialing = false;
};

TEST(RasDial, AnErrorNoticeAfterConnectingFailsTheNextConnect)
{
    auto owned = std::make_unique<TScriptedDialer>();
    TScriptedDialer *dialer = owned.get();
    TagRas ras(std::move(owned));
    ASSERT_EQ(ras.SetService("Modem"), "");
    ras.Connect();
    EXPECT_TRUE(ras.IsConnected());
    // The line drops while the mail session runs: no exception out of the notice.
    EXPECT_NO_THROW(dialer->OnNotice(-1, 628, QStringLiteral("The connection was terminated by the remote computer")));
    ras.HangUp();
    EXPECT_EQ(Outcome([&] { ras.Connect(); }), "ras 628: The connection was terminated by the remote computer");
    EXPECT_EQ(dialer->dials, 1);
    // Reported once: the connect after it dials again.
    ras.Connect();
    EXPECT_EQ(dialer->dials, 2);
    EXPECT_TRUE(ras.IsConnected());
}

// The transport dialing before it connects and hanging up after: MainWindow.CheckDials...
// against Dovecot. A component destroyed meanwhile is forgotten.
TEST(RasTransport, ADestroyedComponentIsForgotten)
{
    TagSocket socket;
    socket.SetServer("127.0.0.1:9");
    {
        TagRas gone;
        socket.SetRAS(&gone);
    }
    EXPECT_EQ(socket.RAS(), nullptr);
    EXPECT_NO_THROW(socket.Open());
    socket.Close();
}

} // namespace
