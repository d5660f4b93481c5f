// The POP3 client against scripted conversations, one command at a time and in a window
// (PIPELINING): what a real server will not do, and the exact traffic.
#include "scripted_peer.h"

#include "pop3.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace Pop3Script;

// The client's events in order, OnProgress as "Progress".
struct PopEvents {
    QStringList events;
    void Attach(TmsRemotePOP &pop)
    {
        const auto note = [this](const char *name) { return [this, name](QObject *) { events << name; }; };
        const auto noteNum = [this](const char *name) {
            return [this, name](QObject *, int n) { events << name + (":" + QString::number(n)); };
        };
        pop.OnOpen = note("Open"), pop.OnClosing = note("Closing"), pop.OnClosed = note("Closed");
        pop.OnError = [this](QObject *, QString &msg) { events << "Error:" + msg; };
        pop.OnProgress = [this](QObject *, int, qint64) { events << "Progress"; };
        pop.OnUpdatingInfo = note("UpdatingInfo"), pop.OnInfoUpdated = note("InfoUpdated");
        pop.OnNextInfoUpdated = noteNum("NextInfoUpdated"), pop.OnItemSkipped = noteNum("ItemSkipped");
        pop.OnTransferringData = note("TransferringData"), pop.OnDataTransfered = note("DataTransfered");
        pop.OnRetrieving = noteNum("Retrieving"), pop.OnRetrieved = noteNum("Retrieved");
        pop.OnDeleting = noteNum("Deleting"), pop.OnDeleted = noteNum("Deleted");
    }
    // Progress comes once per wake-up of a wait, which depends on how the bytes arrive; the
    // first one of each run is what every mode promises.
    QStringList WithoutRepeatedProgress() const
    {
        QStringList out;
        for (const QString &e : events) {
            if (e != "Progress" || out.isEmpty() || out.last() != "Progress")
                out << e;
        }
        return out;
    }
    QStringList WithoutProgress() const { return events.filter(QRegularExpression("^(?!Progress$)")); }
    int Errors() const { return int(events.filter(QRegularExpression("^Error:")).size()); }
};

QList<QByteArray> Headers(int n)
{
    return {"From: sender" + QByteArray::number(n) + "@example.com", "Status: O",
            "Subject: message " + QByteArray::number(n), " folded", "Message-ID: <" + QByteArray::number(n) + "@x>"};
}

PeerStep Capa(const QByteArray &lines)
{
    return {"CAPA", "+OK capability list follows\r\n" + lines + ".\r\n"};
}
const PeerStep kPipelining = Capa("TOP\r\nUSER\r\nPIPELINING\r\nUIDL\r\n");

// "n id" lines for the given numbers; id(n) names message n's id.
PeerStep UidlListing(const QList<int> &numbers, const std::function<QByteArray(int)> &id)
{
    QByteArray block = "+OK\r\n";
    for (const int n : numbers)
        block += QByteArray::number(n) + " " + id(n) + "\r\n";
    return {"UIDL", block + ".\r\n"};
}
QByteArray StableId(int n) { return "id-" + QByteArray::number(n); }

// Greeting, CAPA when pipelining, and the log-in with a STAT of count messages.
PeerScript Start(int count, bool pipelining)
{
    PeerScript s{Greeting()};
    if (pipelining)
        s += kPipelining;
    return s + Login("+OK " + QByteArray::number(count) + " " + QByteArray::number(qint64(count) * 100) + "\r\n");
}

// A check of count messages, message n of size 100 + n. Pipelined, UIDL and LIST come with the
// log-in, then TOP n 1 for each message; else LIST n and TOP n 1 one at a time, with UIDL
// first unless the mailbox is empty.
PeerScript Check(int count, bool pipelining, bool uidl, const std::function<QByteArray(int)> &id = StableId)
{
    PeerScript s = Start(count, pipelining);
    QList<int> numbers;
    QByteArray sizes = "+OK\r\n";
    for (int n = 1; n <= count; ++n) {
        numbers << n;
        sizes += QByteArray::number(n) + " " + QByteArray::number(100 + n) + "\r\n";
    }
    if (uidl && (count > 0 || pipelining))
        s += UidlListing(numbers, id);
    if (pipelining)
        s += PeerStep{"LIST", sizes + ".\r\n"};
    for (int n = 1; n <= count; ++n)
        s += Info(n, 100 + n, Headers(n)).mid(pipelining ? 1 : 0);
    return s << Quit();
}

// The lines a client following the check's script sends.
QList<QByteArray> CheckTraffic(int count, bool pipelining, bool uidl)
{
    QList<QByteArray> lines;
    for (const PeerStep &step : Check(count, pipelining, uidl).mid(1))
        lines << step.expect;
    return lines;
}

void Configure(TmsRemotePOP &pop, const ScriptedPeer &peer, bool pipelining = false, bool uidl = false,
               int timeOut = 2)
{
    pop.SetServer(peer.Server());
    pop.SetUserName("alice");
    pop.SetPassword("secret");
    pop.SetTimeOut(timeOut);
    pop.SetUseUidl(uidl);
    pop.SetUsePipelining(pipelining);
}

QStringList Items(const TmsRemotePOP &pop)
{
    QStringList out;
    for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
        out << QString::number(item.Size) + "|" + item.Uidl + "|" + item.Headers.join("\n");
    return out;
}

// What one listing produced, for comparing the two modes.
struct Listing {
    QStringList items, events; QList<QByteArray> received; int maxLinesPerRead = 0, roundTrips = 0; bool pipelined = false;
};

Listing List(const PeerScript &script, bool pipelining, bool uidl)
{
    ScriptedPeer peer({script});
    TmsRemotePOP pop;
    Configure(pop, peer, pipelining, uidl);
    PopEvents log;
    log.Attach(pop);
    pop.UpdateInfo();
    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    return {Items(pop), log.WithoutRepeatedProgress(), peer.Received(), peer.MaxLinesPerRead(), pop.RoundTrips(),
            pop.Pipelining()};
}

TEST(Pop3Peer, ListingsOneAtATimeAndInAWindowAreIdentical)
{
    for (const int count : {0, 1, 7}) {
        for (const bool uidl : {false, true}) {
            SCOPED_TRACE(testing::Message() << count << " messages, uidl " << uidl);
            const Listing sequential = List(Check(count, false, uidl), false, uidl);
            // The replies to USER, STAT and the last TOP come only once the next line has
            // arrived: a client waiting for each reply would time out.
            PeerScript ahead = Check(count, true, uidl);
            for (const qsizetype k : {qsizetype(2), qsizetype(4), count > 0 ? ahead.size() - 2 : 4})
                ahead[k].action = PeerAction::Withhold;
            const Listing pipelined = List(ahead, true, uidl);
            EXPECT_TRUE(pipelined.pipelined);
            ASSERT_EQ(sequential.items.size(), count);
            EXPECT_EQ(pipelined.items, sequential.items);
            EXPECT_EQ(pipelined.events, sequential.events);
            EXPECT_EQ(sequential.received, CheckTraffic(count, false, uidl));
            EXPECT_EQ(pipelined.received, CheckTraffic(count, true, uidl));
            EXPECT_EQ(sequential.maxLinesPerRead, 1);
            EXPECT_GT(pipelined.maxLinesPerRead, 1);
            // Connect, greeting, CAPA, the log-in's window, the TOP window with QUIT; one at
            // a time every command is one more.
            EXPECT_EQ(pipelined.roundTrips, 5);
            EXPECT_EQ(sequential.roundTrips, 2 + sequential.received.size());
        }
    }
    // A server without PIPELINING gets exactly the traffic of one command at a time.
    for (const PeerStep &capa : {Capa("TOP\r\nUIDL\r\n"), PeerStep{"CAPA", "-ERR unknown command\r\n"}, Capa("")}) {
        PeerScript script = Check(4, false, true);
        script.insert(1, capa);
        const Listing listing = List(script, true, true);
        EXPECT_FALSE(listing.pipelined);
        EXPECT_EQ(listing.received, QList<QByteArray>{"CAPA"} + CheckTraffic(4, false, true));
        EXPECT_EQ(listing.maxLinesPerRead, 1);
    }
}

TEST(Pop3Peer, EachCommandFailingInTurnLeavesTheClientReusable)
{
    struct Failure { const char *name; QByteArray reply; PeerAction action; QString message; };
    const Failure failures[] = {
        {"negative", "-ERR refused\r\n", PeerAction::Reply, "-ERR refused"},
        {"garbage", "HELLO THERE\r\n", PeerAction::Reply, "HELLO THERE"},
        {"closed mid-line", "+OK half", PeerAction::ReplyAndClose, ""},
    };
    const QList<QByteArray> traffic = CheckTraffic(2, false, false);
    for (const bool pipelining : {false, true}) {
        // Pipelined, the log-in, STAT, UIDL and LIST share one window, the TOPs and QUIT the next.
        const PeerScript good = Check(2, pipelining, pipelining);
        for (int k = 0; k < good.size(); ++k) {
            if (good[k].expect == "CAPA")
                continue;  // a server without CAPA is only a server without capabilities
            for (const Failure &f : failures) {
                if (good[k].expect == "UIDL" && f.reply.startsWith("-ERR"))
                    continue;  // a server without UIDL gives a listing without ids
                PeerScript broken = good.mid(0, k + 1);
                broken[k].reply = f.reply;
                broken[k].action = f.action;
                ScriptedPeer peer({broken, Check(2, false, false)});
                TmsRemotePOP pop;
                Configure(pop, peer, pipelining, pipelining);
                PopEvents log;
                log.Attach(pop);
                SCOPED_TRACE(testing::Message() << f.name << " at " << good[k].expect.constData() << " " << pipelining);
                EXPECT_EQ(ErrorOf<EServerError>([&] { pop.UpdateInfo(); }), f.message);
                // The password stays out of it.
                EXPECT_EQ(pop.LastCommand(), QString::fromLatin1(good[k].expect == "PASS secret" ? "PASS" : good[k].expect));
                EXPECT_EQ(log.Errors(), 0) << "a refusal is not reported through OnError";
                EXPECT_FALSE(log.events.contains("InfoUpdated"));
                EXPECT_FALSE(pop.Connected());
                // Nothing is sent after the failing command one at a time; no QUIT in any case.
                if (!pipelining) {
                    EXPECT_EQ(peer.Received(), traffic.mid(0, k));
                }
                // QUIT goes out ahead only behind the TOP commands of a session that deletes
                // nothing; its reply is never taken after a failure.
                const bool quitSent = good[k].expect == "QUIT" || (pipelining && good[k].expect.startsWith("TOP"));
                EXPECT_EQ(peer.Received().contains("QUIT"), quitSent);
                pop.SetUsePipelining(false);
                pop.SetUseUidl(false);
                const qsizetype before = peer.Received().size();
                pop.UpdateInfo();
                EXPECT_EQ(peer.Received().mid(before), traffic) << "the next check starts afresh";
            }
        }
    }
}

// The deletion of message 2 of a listing of three, with the server's answers now.
// id: the ids of the listing, none when null; answers: after STAT, up to the decision; dele: the
// DELE sent, empty when the message is left.
struct DeletionCase { const char *name; std::function<QByteArray(int)> id; PeerScript answers; QByteArray dele; };

TEST(Pop3Peer, DeletionActsOnlyOnTheListedMessage)
{
    const QList<QByteArray> rewritten = {"From: sender2@example.com", "Status: RO", "X-Status: A",
                                         "Subject: message 2", " folded", "Message-ID: <2@x>"};
    const auto numberId = [](int n) { return QByteArray::number(n); };
    const PeerScript gone{{"LIST 2", "-ERR no such message\r\n"}, {"TOP 2 1", "-ERR no such message\r\n"}};
    const PeerScript goneWithId = gone + PeerScript{{"UIDL 2", "-ERR no such message\r\n"}};
    const auto uidl2 = [](const QByteArray &id) { return PeerStep{"UIDL 2", "+OK 2 " + id + "\r\n"}; };
    // Message 1 went away: message n + 1 of the listing is number n now.
    const auto shifted = [](int n) { return "id-" + QByteArray::number(n + 1); };
    const DeletionCase cases[] = {
        {"unchanged", nullptr, Info(2, 102, Headers(2)), "DELE 2"},
        {"status fields rewritten", nullptr, Info(2, 102, rewritten), "DELE 2"},
        {"another message in its place", nullptr, Info(2, 103, Headers(3)), ""},
        {"same headers, other size", nullptr, Info(2, 150, Headers(2)), ""},
        {"number gone, no ids", nullptr, gone, ""},
        {"same id, same message", StableId, Info(2, 102, Headers(2)) << uidl2("id-2"), "DELE 2"},
        {"id refused, same message", StableId, Info(2, 102, Headers(2)) << PeerStep{"UIDL 2", "-ERR no\r\n"}, "DELE 2"},
        {"other id, same headers", StableId,
         Info(2, 102, Headers(2)) << uidl2("id-9") << UidlListing({1, 2, 3}, [](int n) { return "id-" + QByteArray::number(n + 7); }), ""},
        // A server that reuses ids: the id matches, the message does not.
        {"reused id, other message", StableId,
         Info(2, 150, Headers(7)) << uidl2("id-2") << UidlListing({1, 2, 3}, StableId), ""},
        {"reused id, moved elsewhere", StableId,
         (Info(2, 103, Headers(3)) << uidl2("id-3") << UidlListing({1, 2}, shifted)) + Info(1, 150, Headers(7)), ""},
        // Ids that are message numbers, message 1 removed after the listing: number 2 is old
        // message 3 and carries the id "2".
        {"number ids, message 1 removed", numberId,
         Info(2, 103, Headers(3)) << uidl2("2") << UidlListing({1, 2}, numberId), ""},
        // Stable ids, message 1 removed: the listed message 2 is number 1 now.
        {"moved, stable ids", StableId,
         (Info(2, 103, Headers(3)) << uidl2("id-3") << UidlListing({1, 2}, shifted)) + Info(1, 102, rewritten),
         "DELE 1"},
        {"moved, its old number gone", StableId, (PeerScript(goneWithId) << UidlListing({1}, shifted)) + Info(1, 102, Headers(2)),
         "DELE 1"},
        {"moved, one id twice", StableId, PeerScript(goneWithId) << UidlListing({1, 2}, [](int) { return QByteArray("id-2"); }), ""},
    };
    for (const DeletionCase &c : cases) {
        QList<QStringList> events;
        for (const bool pipelining : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << ", pipelining " << pipelining);
            const bool uidl = bool(c.id);
            PeerScript deletion = Start(3, pipelining) + c.answers;
            if (!c.dele.isEmpty())
                deletion += PeerStep{c.dele, "+OK\r\n"};
            deletion += Quit();
            ScriptedPeer peer({uidl ? Check(3, pipelining, true, c.id) : Check(3, pipelining, false), deletion});
            TmsRemotePOP pop;
            Configure(pop, peer, pipelining, uidl);
            pop.UpdateInfo();
            PopEvents log;
            log.Attach(pop);
            pop.MarkDelete(1);
            pop.TransferData();
            EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
            QList<QByteArray> deletes;
            for (const QByteArray &line : peer.Received()) {
                if (line.startsWith("DELE"))
                    deletes << line;
            }
            EXPECT_EQ(deletes, c.dele.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{c.dele});
            EXPECT_EQ(peer.Received().last(), "QUIT");
            EXPECT_EQ(pop.SkippedItems(), c.dele.isEmpty() ? QList<int>{1} : QList<int>{});
            EXPECT_EQ(log.events.contains("ItemSkipped:1"), c.dele.isEmpty());
            EXPECT_EQ(log.events.contains("Deleted:1"), !c.dele.isEmpty());
            EXPECT_EQ(pop.RemoteInfo()[1].Flags, 0) << "marks are cleared after the run";
            events << log.WithoutRepeatedProgress();
        }
        EXPECT_EQ(events[1], events[0]) << c.name;
    }
}

TEST(Pop3Peer, ARefusedDeleEndsTheRunAtThatMessage)
{
    for (const bool pipelining : {false, true}) {
        // In a window the check of message 2 goes out before DELE 1.
        PeerScript deletion = Start(2, pipelining) + Info(1, 101, Headers(1));
        if (pipelining)
            deletion += Info(2, 102, Headers(2));
        deletion += PeerStep{"DELE 1", "-ERR message is locked\r\n"};
        ScriptedPeer peer({Check(2, pipelining, false), deletion});
        TmsRemotePOP pop;
        Configure(pop, peer, pipelining);
        pop.UpdateInfo();
        pop.MarkDelete(0);
        pop.MarkDelete(1);
        PopEvents log;
        log.Attach(pop);
        EXPECT_EQ(ErrorOf<EServerError>([&] { pop.TransferData(); }), "-ERR message is locked");
        EXPECT_EQ(pop.LastCommand(), "DELE 1");
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(log.WithoutProgress(), (QStringList{"Open", "TransferringData", "Deleting:0", "Closing", "Closed"}));
        EXPECT_EQ(peer.Received().count("QUIT"), 1) << "only the listing said goodbye";
        for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
            EXPECT_EQ(item.Flags, 0);
    }
}

// A client that deletes the first message in the listing's own session, before its goodbye.
class DeletingInSession : public TmsRemotePOP
{
public:
    void Quit() override
    {
        DoDelete(0);
        TmsRemotePOP::Quit();
    }

protected:
    bool ListingEndsSession() const override { return false; }
};

TEST(Pop3Peer, AListingSessionThatDeletesSendsQuitOnlyAfterItsDele)
{
    PeerScript script = Check(2, true, true);
    script.insert(script.size() - 1, PeerStep{"DELE 1", "+OK\r\n"});
    ScriptedPeer peer({script});
    DeletingInSession pop;
    Configure(pop, peer, true, true);
    pop.UpdateInfo();
    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    EXPECT_EQ(peer.Received().mid(peer.Received().size() - 2), (QList<QByteArray>{"DELE 1", "QUIT"}));
    EXPECT_EQ(pop.RemoteInfo().Count(), 2);
}

// What a server sends is never the measure of what the client holds: each hostile reply is
// refused with an error that names the limit, the session ends without DELE or QUIT, and the
// next check starts afresh. (Stalls and dropped connections: Transport and EachCommandFailing.)
TEST(Pop3Peer, FailuresEndWithAClearErrorAndTouchNothing)
{
    const auto padded = [](int n, qint64 bytes) {
        return Info(n, 100 + n, {"Subject: padded", "X-Pad: " + QByteArray(bytes, 'x')});
    };
    PeerScript giantHeaders = Start(40, false);
    for (int n = 1; n <= 40; ++n)
        giantHeaders += padded(n, 1000 * 1000);
    const QByteArray hugeUidl = "+OK\r\n1 " + QByteArray(70, 'u') + "\r\n" + QByteArray(300000, '9') + "\r\n.\r\n";
    // deletion: mark every listed message and delete (after an honest listing of 3)
    struct Case { const char *name; PeerScript script; bool deletion; QString message; bool uidl = false; };
    const Case cases[] = {
        {"STAT without a count", Start(1, false).mid(0, 3) << PeerStep{"STAT", "+OK many\r\n"}, false,
         "The server's reply to STAT holds no message count"},
        {"a STAT count beyond the listing limit", Start(2000000000, false), false, "more than the 100000"},
        {"a UIDL listing beyond its bound", Start(2, false) << PeerStep{"UIDL", hugeUidl}, false,
         "larger than 65728 bytes", true},
        {"one header block beyond its bound", Start(1, false) + padded(1, 1100 * 1000), false, "larger than 1048576"},
        {"header lines beyond the listing's bound", giantHeaders, false, "more than the 32 MiB"},
        // Listed small, padded to 1 MB when checked before deletion.
        {"a check's header block beyond the listed size", Start(3, true) + padded(1, 1000 * 1000), true,
         "larger than 65637 bytes"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer = c.deletion ? ScriptedPeer({Check(3, true, false), c.script, Check(2, false, false)})
                                       : ScriptedPeer({c.script, Check(2, false, false)});
        TmsRemotePOP pop;
        Configure(pop, peer, c.deletion, c.uidl, 1);
        const QString error = ErrorOf<ENetError>([&] {
            pop.UpdateInfo();
            for (int index = 0; index < pop.RemoteInfo().Count(); ++index)
                pop.MarkDelete(index);
            pop.TransferData();
        });
        EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
        EXPECT_FALSE(pop.Connected());
        const QList<QByteArray> last = peer.Received().mid(peer.Received().lastIndexOf("PASS secret"));
        EXPECT_FALSE(last.contains("QUIT"));
        for (const QByteArray &line : last)
            EXPECT_FALSE(line.startsWith("DELE")) << line.constData();
        pop.SetUsePipelining(false);
        pop.SetUseUidl(false);
        pop.UpdateInfo();
        EXPECT_EQ(pop.RemoteInfo().Count(), 2);
    }
}

TEST(Pop3Peer, ATricklingDownloadEndsWithATimeOut)
{
    // The size claimed (a gigabyte) buys the server no time: one byte every 150 ms ends after
    // the time-out.
    PeerScript retrieval = Start(1, false) + Info(1, 101, Headers(1));
    retrieval << PeerStep{"LIST 1", "+OK 1 1000000000\r\n"}
              << PeerStep{"RETR 1", "+OK\r\n" + QByteArray(100000, 'x'), PeerAction::Trickle};
    ScriptedPeer peer({Check(1, false, false), retrieval});
    TmsRemotePOP pop;
    Configure(pop, peer, false, false, 1);
    pop.UpdateInfo();
    pop.MarkRetrieve(0);
    EXPECT_THROW(pop.TransferData(), ETimedOutError);
    EXPECT_EQ(peer.Received().last(), "RETR 1");
}

// Nothing that could pass as a command of its own reaches the server, and no credentials go
// in the clear when STLS is refused or compromised.
TEST(Pop3Peer, CredentialsAreSentOnlyWhenSafe)
{
    const std::pair<QString, QString> credentials[] = {
        {"alice\r\nDELE 1", "secret"}, {"alice", "secret\nDELE 1"}, {"alice", QString("sec") + QChar(0) + "ret"},
        {"al\rice", "secret"},         {"", "secret"},               {"alice", ""},
    };
    for (const auto &[user, password] : credentials) {
        ScriptedPeer peer({Check(2, false, false)});
        TmsRemotePOP pop;
        Configure(pop, peer);
        pop.SetUserName(user);
        pop.SetPassword(password);
        PopEvents log;
        log.Attach(pop);
        EXPECT_THROW(pop.UpdateInfo(), ESocketError);
        EXPECT_EQ(log.Errors(), 1);
        EXPECT_EQ(peer.Connections(), 0);
    }
    for (const QByteArray &reply : {QByteArray("-ERR unknown command\r\n"), QByteArray("+OK begin TLS\r\n+OK injected\r\n")}) {
        ScriptedPeer peer({{Greeting(), {"STLS", reply}}});
        TmsRemotePOP pop;
        Configure(pop, peer);
        pop.SetTls({TmsTlsMode::StartTls, {}});
        PopEvents log;
        log.Attach(pop);
        EXPECT_THROW(pop.UpdateInfo(), ETlsError) << reply.constData();
        EXPECT_EQ(log.Errors(), 1);
        EXPECT_EQ(peer.Received(), QList<QByteArray>{"STLS"});
        EXPECT_FALSE(pop.Connected());
    }
}

// A cancel from a handler during the listing: GuardDovecot.CancelDuringTheListing...
TEST(Pop3Peer, AnExceptionFromAnEventHandlerEndsTheSessionWithoutQuit)
{
    ScriptedPeer peer({Check(2, false, false), Check(2, false, false)});
    TmsRemotePOP pop;
    Configure(pop, peer);
    pop.OnNextInfoUpdated = [](QObject *, int) { throw std::runtime_error("the window failed"); };
    EXPECT_THROW(pop.UpdateInfo(), std::runtime_error);
    EXPECT_EQ(peer.Received(), CheckTraffic(2, false, false).mid(0, 5));
    EXPECT_FALSE(pop.Connected());
    pop.OnNextInfoUpdated = nullptr;
    pop.UpdateInfo();
    EXPECT_EQ(pop.RemoteInfo().Count(), 2);
}

TEST(Pop3Peer, LoginDelayFromTheServer)
{
    struct Case { const char *name; PeerScript script; bool refused; int delay; };
    const auto atPass = [](const QByteArray &reply) {
        return PeerScript{Greeting(), Capa("LOGIN-DELAY 600\r\n"), {"USER alice", "+OK\r\n"}, {"PASS secret", reply}};
    };
    // After the log-in the server tells this user's own value, or nothing.
    const auto perUser = [](const PeerStep &capa) {
        return PeerScript{Greeting(), Capa("PIPELINING\r\nLOGIN-DELAY 900 USER\r\n")} + Login("+OK 0 0\r\n") << capa
               << PeerStep{"LIST", "+OK\r\n.\r\n"} << Quit();
    };
    const Case cases[] = {
        {"RefusedAtPass", atPass("-ERR [LOGIN-DELAY] too soon\r\n"), true, 600},
        {"WrongPassword", atPass("-ERR [AUTH] wrong password\r\n"), false, 600},
        {"PerUserValueAfterLogin", perUser(Capa("PIPELINING\r\nLOGIN-DELAY 1800\r\n")), false, 1800},
        {"PerUserValueNotTold", perUser({"CAPA", "-ERR not now\r\n"}), false, 900},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer({c.script});
        TmsRemotePOP pop;
        Configure(pop, peer, true);
        if (c.delay == 600) {
            EXPECT_THROW(pop.UpdateInfo(), EServerError);
        } else {
            pop.UpdateInfo();
        }
        EXPECT_EQ(pop.LoginDelayRefused(), c.refused);
        EXPECT_EQ(pop.LoginDelay(), c.delay);
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    }
}

} // namespace
