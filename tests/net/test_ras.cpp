// The dial-up component over NetworkManager, against a scripted stand-in nmcli on the PATH:
// the phone book, dialing, hanging up, failures, time-outs, a missing nmcli, the password
// kept off the command line, and the transport dialing before it connects.
#include "fake_nmcli.h"

#include "ras.h"
#include "tagsocket.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <gtest/gtest.h>

// Readable failures for the tables below.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

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
    struct Case {
        const char *name;
        const char *scenario;
        QStringList entries;
        int lastError;
    };
    const QList<Case> cases = {
        {"sorted, case folded first, duplicates once, escaped colons read back",
         R"({"connections": [{"name": "Zeta"}, {"name": "alpha"}, {"name": "Beta:2\\x"},
                             {"name": "Alpha"}, {"name": "Zeta"}]})",
         {"Alpha", "alpha", "Beta:2\\x", "Zeta"}, 0},
        {"empty phone book", R"({"connections": []})", {}, 0},
        {"NetworkManager not running: no entries, the error kept",
         R"({"connections": [{"name": "Modem"}],
             "list": {"exit": 8, "stderr": "Error: NetworkManager is not running."}})",
         {}, 8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TFakeNmcli nmcli(Scenario(c.scenario));
        TagRas ras;
        EXPECT_TRUE(ras.Available());
        EXPECT_EQ(ras.EntryList(), c.entries);
        EXPECT_EQ(ras.Entries(), c.entries);
        EXPECT_EQ(ras.LastError(), c.lastError);
        if (c.lastError) {
            EXPECT_EQ(ras.LastErrorText(), "Error: NetworkManager is not running.");
        }
    }
}

TEST(RasEntries, StoredPositionBeyondTheListMeansNone)
{
    TFakeNmcli nmcli(Scenario(kModem));
    TagRas ras;
    const QList<std::pair<int, QString>> cases = {
        {0, ""}, {1, "Modem"}, {2, "Wired"}, {3, ""}, {-1, ""}, {99, ""}};
    for (const auto &[position, entry] : cases)
        EXPECT_EQ(ras.EntryAt(position), entry) << position;
}

TEST(RasEntries, ServiceSetterRefusesWhatItCannotDial)
{
    TFakeNmcli nmcli(Scenario(kModem));
    TagRas ras;
    EXPECT_EQ(ras.SetService("Modem"), "");
    EXPECT_EQ(ras.Service(), "Modem");
    EXPECT_EQ(ras.SetService("Nowhere"), "Invalid service name");
    EXPECT_EQ(ras.Service(), "");
    EXPECT_EQ(ras.SetService(""), "");

    TFakeNmcli none(QJsonObject(), true);
    TagRas without;
    EXPECT_FALSE(without.Available());
    EXPECT_EQ(without.SetService("Modem"), "TagRas component was unable to detect\nRAS on your system.");
    EXPECT_EQ(without.Service(), "");
}

// One dial from Connect to HangUp, per scenario.
TEST(RasDial, Scenarios)
{
    enum class Ends { Connected, RasError, TimedOut, Canceled };
    struct Case {
        const char *name;
        const char *scenario;
        bool forceService;
        int timeOut;
        bool cancelWhileUp;
        Ends ends;
        QString errorText;
        int errorCode;
        QStringList verbsOfConnect; // nmcli calls made by Connect
        QStringList status;
        QStringList verbsOfHangUp;  // calls made by the HangUp after a successful Connect
        int disconnected;           // OnDisconnected after Connect and HangUp
    };
    const QList<Case> cases = {
        {"dials, then hangs up its own connection", kModem, true, 10, false, Ends::Connected, "", 0,
         {"active", "up"}, {"Initializing...", "Dialing...", "Successfully connected"}, {"down"}, 1},
        {"an entry already up is used and left up",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": "activated"}]})", true, 10, false,
         Ends::Connected, "", 0, {"active"}, {}, {}, 0},
        {"an entry still coming up is dialed",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": "activating"}]})", true, 10, false,
         Ends::Connected, "", 0, {"active", "up"}, {"Initializing...", "Dialing...", "Successfully connected"},
         {"down"}, 1},
        {"without ForceService any connection that is up will do",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""},
                             {"name": "Wired", "type": "802-3-ethernet", "state": "activated"}]})",
         false, 10, false, Ends::Connected, "", 0, {"active"}, {}, {}, 0},
        {"with ForceService another connection does not count",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""},
                             {"name": "Wired", "type": "802-3-ethernet", "state": "activated"}]})",
         true, 10, false, Ends::Connected, "", 0, {"active", "up"},
         {"Initializing...", "Dialing...", "Successfully connected"}, {"down"}, 1},
        {"activation fails: nmcli's text, then hang-up",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}],
             "up": {"exit": 4, "stderr": "Error: Connection activation failed: No carrier"}})",
         true, 10, false, Ends::RasError, "Error: Connection activation failed: No carrier", 4,
         {"active", "up", "down"}, {"Initializing...", "Dialing..."}, {}, 0},
        {"a failure without a text gives the error number",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}], "up": {"exit": 4}})", true, 10,
         false, Ends::RasError, "RAS error no 4", 4, {"active", "up", "down"}, {"Initializing...", "Dialing..."},
         {}, 0},
        {"the list of active connections fails",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}],
             "active": {"exit": 8, "stderr": "Error: NetworkManager is not running."}})",
         true, 10, false, Ends::RasError, "Error: NetworkManager is not running.", 8, {"active"}, {}, {}, 0},
        {"our time-out kills the dial and hangs up before it raises",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}], "up": {"sleep": 30}})", true, 1,
         false, Ends::TimedOut, "Operation timed out", 0, {"active", "up", "down"},
         {"Initializing...", "Dialing..."}, {}, 0},
        {"nmcli's own time-out is a time-out too",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}],
             "up": {"exit": 3, "stderr": "Error: Timeout expired, 1 seconds"}})",
         true, 10, false, Ends::TimedOut, "Operation timed out", 0, {"active", "up", "down"},
         {"Initializing...", "Dialing..."}, {}, 0},
        {"a cancel (Disconnect) ends the dial and hangs up",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}], "up": {"sleep": 30}})", true, 20,
         true, Ends::Canceled, "Operation has been canceled", 0, {"active", "up", "down"},
         {"Initializing...", "Dialing..."}, {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TFakeNmcli nmcli(Scenario(c.scenario));
        TagRas ras;
        ASSERT_EQ(ras.SetService("Modem"), "");
        ras.ForceService = c.forceService;
        ras.SetTimeOut(c.timeOut);
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

        QElapsedTimer clock;
        clock.start();
        Ends ended = Ends::Connected;
        QString text;
        int code = 0;
        try {
            ras.Connect();
        } catch (const ERASError &e) {
            ended = Ends::RasError;
            text = e.Message();
            code = e.Code();
        } catch (const ETimedOutError &e) {
            ended = Ends::TimedOut;
            text = e.Message();
        } catch (const ECanceledError &e) {
            ended = Ends::Canceled;
            text = e.Message();
        }
        EXPECT_EQ(int(ended), int(c.ends));
        EXPECT_EQ(text, c.errorText);
        EXPECT_EQ(code, c.errorCode);
        // The stand-in's sleeping "up" is never waited out.
        EXPECT_LT(clock.elapsed(), 15000);
        EXPECT_EQ(nmcli.Verbs(), c.verbsOfConnect);
        EXPECT_EQ(log.status, c.status);
        if (ended != Ends::Connected) {
            EXPECT_FALSE(ras.DialedByUs());
            EXPECT_FALSE(ras.IsConnected());
            continue;
        }
        EXPECT_TRUE(ras.IsConnected());
        nmcli.ClearCalls();
        ras.HangUp();
        EXPECT_EQ(nmcli.Verbs(), c.verbsOfHangUp);
        EXPECT_EQ(log.disconnected, c.disconnected);
        EXPECT_FALSE(ras.DialedByUs());
        // Hanging up again touches nothing: a connection brought up meanwhile by someone else
        // is not ours to take down.
        nmcli.ClearCalls();
        ras.HangUp();
        ras.Disconnect();
        EXPECT_EQ(nmcli.Verbs(), QStringList());
        EXPECT_EQ(log.disconnected, c.disconnected);
    }
}

TEST(RasDial, PasswordGoesThroughAPrivateFileNeverTheCommandLine)
{
    struct Case {
        const char *type;
        const char *setting;
    };
    const QList<Case> cases = {{"gsm", "gsm.password"},
                               {"pppoe", "pppoe.password"},
                               {"cdma", "cdma.password"},
                               {"vpn", "vpn.secrets.password"},
                               {"802-11-wireless", "802-11-wireless-security.psk"}};
    const QString password = QStringLiteral("s3cr:et w0rd");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        QJsonObject scenario = Scenario(kModem);
        QJsonArray connections = scenario.value("connections").toArray();
        QJsonObject modem = connections.at(0).toObject();
        modem["type"] = c.type;
        connections[0] = modem;
        scenario["connections"] = connections;
        TFakeNmcli nmcli(scenario);
        TagRas ras;
        ASSERT_EQ(ras.SetService("Modem"), "");
        ras.Password = password;
        ras.Connect();
        ras.HangUp();

        QString fileName;
        bool sawPasswordFile = false;
        for (const QJsonObject &call : nmcli.Calls()) {
            const QStringList argv = Argv(call);
            for (const QString &arg : argv)
                EXPECT_FALSE(arg.contains("s3cr")) << arg.toStdString();
            if (TFakeNmcli::Verb(call) != "up")
                continue;
            sawPasswordFile = true;
            EXPECT_EQ(call.value("passwd").toString(), QString(c.setting) + ":" + password + "\n");
            EXPECT_EQ(call.value("mode").toString(), "600");
            fileName = argv.at(argv.indexOf("passwd-file") + 1);
        }
        EXPECT_TRUE(sawPasswordFile);
        // Gone once the dial is over.
        EXPECT_FALSE(fileName.isEmpty());
        EXPECT_FALSE(QFile::exists(fileName));
    }

    // No password: no file at all; a password that would break the file's line is refused.
    TFakeNmcli nmcli(Scenario(kModem));
    TagRas ras;
    ASSERT_EQ(ras.SetService("Modem"), "");
    ras.Connect();
    for (const QJsonObject &call : nmcli.Calls())
        EXPECT_FALSE(Argv(call).contains("passwd-file"));
    ras.HangUp();
    ras.Password = QStringLiteral("two\nlines");
    EXPECT_THROW(ras.Connect(), ERASError);
    EXPECT_FALSE(ras.DialedByUs());
}

TEST(RasDial, WithoutNmcliNothingHappens)
{
    TFakeNmcli nmcli(QJsonObject(), true);
    TagRas ras;
    EXPECT_FALSE(ras.Available());
    EXPECT_TRUE(ras.Entries().isEmpty());
    EXPECT_EQ(ras.EntryAt(1), "");
    RasLog log;
    log.Attach(ras);
    EXPECT_NO_THROW(ras.Connect());
    EXPECT_NO_THROW(ras.HangUp());
    EXPECT_TRUE(log.status.isEmpty());
    EXPECT_EQ(log.disconnected, 0);
}

TEST(RasDial, NoServiceMeansNoCallAtAll)
{
    TFakeNmcli nmcli(Scenario(kModem));
    TagRas ras;
    nmcli.ClearCalls();
    ras.Connect();
    ras.HangUp();
    EXPECT_TRUE(ras.IsConnected() == false);
    EXPECT_EQ(nmcli.Verbs(), QStringList());
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
    try {
        ras.Connect();
        ADD_FAILURE() << "the stored error did not fail the next connect";
    } catch (const ERASError &e) {
        EXPECT_EQ(e.Code(), 628);
        EXPECT_EQ(e.Message(), "The connection was terminated by the remote computer");
    }
    EXPECT_EQ(dialer->dials, 1);
    // Reported once: the connect after it dials again.
    ras.Connect();
    EXPECT_EQ(dialer->dials, 2);
    EXPECT_TRUE(ras.IsConnected());
}

// The transport asks the component to dial when it opens and to hang up whenever it closes.
TEST(RasTransport, OpenDialsAndCloseHangsUp)
{
    struct Case {
        const char *name;
        const char *scenario;
        bool cancel;
        QStringList verbs;   // nmcli calls of Open and Close together
        QStringList events;  // the transport's and the component's events in order
        QString error;       // what Open raised, empty when it opened
    };
    const QList<Case> cases = {
        {"dial, open, close, hang up", kModem, false, {"active", "up", "down"},
         {"ras:Initializing...", "ras:Dialing...", "ras:Successfully connected", "Open", "Closing", "Closed",
          "ras:Disconnected"},
         ""},
        {"a failed dial: the error reported, no connection",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}],
             "up": {"exit": 4, "stderr": "Error: Connection activation failed: No carrier"}})",
         false, {"active", "up", "down"},
         {"ras:Initializing...", "ras:Dialing...", "ras:Disconnected",
          "Error:Error: Connection activation failed: No carrier"},
         "Error: Connection activation failed: No carrier"},
        {"a cancel of the client during the dial",
         R"({"connections": [{"name": "Modem", "type": "gsm", "state": ""}], "up": {"sleep": 30}})", true,
         {"active", "up", "down"},
         {"ras:Initializing...", "ras:Dialing...", "Cancel", "ras:Disconnected", "Error:Operation has been canceled"},
         "Operation has been canceled"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TFakeNmcli nmcli(Scenario(c.scenario));
        TagRas ras;
        ASSERT_EQ(ras.SetService("Modem"), "");
        TagSocket socket;
        socket.SetServer("127.0.0.1:9");
        socket.SetRAS(&ras);
        QStringList events;
        ras.OnStatusChange = [&](QObject *, const QString &text) { events << "ras:" + text; };
        ras.OnDisconnected = [&](QObject *) { events << "ras:Disconnected"; };
        socket.OnOpen = [&](QObject *) { events << "Open"; };
        socket.OnClosing = [&](QObject *) { events << "Closing"; };
        socket.OnClosed = [&](QObject *) { events << "Closed"; };
        socket.OnCancel = [&](QObject *) { events << "Cancel"; };
        socket.OnError = [&](QObject *, QString &msg) { events << "Error:" + msg; };
        nmcli.ClearCalls();
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            if (nmcli.Verbs().contains("up")) {
                cancel.stop();
                socket.Cancel();
            }
        });
        if (c.cancel)
            cancel.start(50);
        QString error;
        try {
            socket.Open();
            socket.Close();
        } catch (const ENetError &e) {
            error = e.Message();
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(nmcli.Verbs(), c.verbs);
        EXPECT_EQ(events, c.events);
        EXPECT_FALSE(ras.DialedByUs());
    }
}

TEST(RasTransport, DestroyedComponentIsForgotten)
{
    TFakeNmcli nmcli(Scenario(kModem));
    TagSocket socket;
    socket.SetServer("127.0.0.1:9");
    {
        TagRas ras;
        socket.SetRAS(&ras);
        EXPECT_EQ(socket.RAS(), &ras);
    }
    EXPECT_EQ(socket.RAS(), nullptr);
    EXPECT_NO_THROW(socket.Open());
    socket.Close();
}

TEST(RasTerse, SplitsAtUnescapedColons)
{
    const QList<std::pair<QString, QStringList>> cases = {
        {"a:b:c", {"a", "b", "c"}},
        {"a\\:b:c", {"a:b", "c"}},
        {"a\\\\:b", {"a\\", "b"}},
        {"", {""}},
        {"end\\", {"end\\"}},
    };
    for (const auto &[line, fields] : cases)
        EXPECT_EQ(TagNmDialer::SplitTerse(line), fields) << line.toStdString();
}

TEST(RasTerse, ListingsSkipLinesThatDoNotFit)
{
    EXPECT_EQ(TagNmDialer::ParseEntries("Home DSL\n\nZeta\\:1\n  \nbroken:line\nlast"),
              (QStringList{"Home DSL", "Zeta:1", "last"}));
    const QList<TagActiveConnection> active = TagNmDialer::ParseActive(
        "Wired:802-3-ethernet:activated\nModem:gsm:activating\nshort:line\n:gsm:activated\nA\\:B:vpn:activated\n");
    ASSERT_EQ(active.size(), 3);
    EXPECT_EQ(active.at(0).Name, "Wired");
    EXPECT_TRUE(active.at(0).Activated);
    EXPECT_EQ(active.at(1).Type, "gsm");
    EXPECT_FALSE(active.at(1).Activated);
    EXPECT_EQ(active.at(2).Name, "A:B");
}

} // namespace
