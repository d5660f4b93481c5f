// The POP3 client against scripted conversations: the exact command traffic, the event order,
// every command failing in turn, safe deletion, STLS refusals and re-entry.
#include "pop3_events.h"
#include "scripted_peer.h"

#include "pop3.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Pop3Script;

const QList<QByteArray> kHeaders1 = {"From: one@example.com", "Subject: first", "Message-ID: <1@x>"};
const QList<QByteArray> kHeaders2 = {"From: two@example.com", "Status: O", "Subject: second", " folded",
                                     "Message-ID: <2@x>"};

QStringList Lines(const QList<QByteArray> &lines)
{
    QStringList out;
    for (const QByteArray &l : lines)
        out << QString::fromLatin1(l);
    return out;
}

PeerScript CheckSession(bool uidl = false, const QByteArray &stat = "+OK 2 320\r\n")
{
    PeerScript s{Greeting()};
    s += Login(stat);
    if (uidl)
        s += PeerStep{"UIDL", "+OK\r\n1 id-1\r\n2 id-2\r\n.\r\n"};
    s += Info(1, 120, kHeaders1);
    s += Info(2, 200, kHeaders2);
    s += Quit();
    return s;
}

const QList<QByteArray> kCheckTraffic = {"USER alice", "PASS secret", "STAT",    "LIST 1",
                                         "TOP 1 1",    "LIST 2",      "TOP 2 1", "QUIT"};

void Configure(TmsRemotePOP &pop, const ScriptedPeer &peer, bool uidl = false, int timeOut = 2)
{
    pop.SetServer(peer.Server());
    pop.SetUserName("alice");
    pop.SetPassword("secret");
    pop.SetTimeOut(timeOut);
    pop.SetUseUidl(uidl);
}

TEST(Pop3Peer, CheckSendsTheExpectedCommandsAndFiresEventsInOrder)
{
    ScriptedPeer peer({CheckSession()});
    TmsRemotePOP pop;
    Configure(pop, peer);
    PopEvents log;
    log.Attach(pop);
    pop.UpdateInfo();

    EXPECT_EQ(peer.Received(), kCheckTraffic);
    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    EXPECT_EQ(log.WithoutProgress(), (QStringList{"Open", "UpdatingInfo", "NextInfoUpdated:0", "NextInfoUpdated:1",
                                                  "Closing", "Closed", "InfoUpdated"}));
    // Each header transfer reports progress before its item is announced.
    EXPECT_EQ(log.events.indexOf("Progress"), 2);
    EXPECT_EQ(log.events.at(log.events.indexOf("NextInfoUpdated:0") + 1), "Progress");

    EXPECT_EQ(pop.MessageCount(), 2);
    EXPECT_EQ(pop.TotalSize(), 320);
    ASSERT_EQ(pop.RemoteInfo().Count(), 2);
    EXPECT_EQ(pop.RemoteInfo()[0].Size, 120);
    EXPECT_EQ(pop.RemoteInfo()[1].Size, 200);
    EXPECT_EQ(pop.RemoteInfo()[0].Headers, Lines(kHeaders1));
    EXPECT_EQ(pop.RemoteInfo()[1].Headers, Lines(kHeaders2));
    EXPECT_FALSE(pop.Connected());
}

TEST(Pop3Peer, DeletionSendsTheExpectedCommands)
{
    for (const bool uidl : {false, true}) {
        PeerScript deletion{Greeting()};
        deletion += Login("+OK 2 320\r\n");
        deletion += Info(2, 200, kHeaders2);
        if (uidl)
            deletion += PeerStep{"UIDL 2", "+OK 2 id-2\r\n"};
        deletion += PeerStep{"DELE 2", "+OK marked\r\n"};
        deletion += Quit();
        ScriptedPeer peer({CheckSession(uidl), deletion});
        TmsRemotePOP pop;
        Configure(pop, peer, uidl);
        pop.UpdateInfo();
        const qsizetype checkLines = peer.Received().size();
        EXPECT_EQ(pop.RemoteInfo()[1].Uidl, uidl ? "id-2" : "");

        PopEvents log;
        log.Attach(pop);
        ASSERT_TRUE(pop.MarkDelete(1));
        pop.TransferData();
        QList<QByteArray> expected = {"USER alice", "PASS secret", "STAT", "LIST 2", "TOP 2 1"};
        if (uidl)
            expected << "UIDL 2";
        expected << "DELE 2" << "QUIT";
        EXPECT_EQ(peer.Received().mid(checkLines), expected) << "uidl " << uidl;
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(log.WithoutProgress(), (QStringList{"Open", "TransferringData", "Deleting:1", "Deleted:1",
                                                      "DataTransfered", "Closing", "Closed"}));
        EXPECT_TRUE(pop.SkippedItems().isEmpty());
        EXPECT_EQ(pop.RemoteInfo()[1].Flags, 0) << "marks are cleared after the run";
    }
}

TEST(Pop3Peer, ListingAsksForUniqueIdsOnlyWhenAllowed)
{
    ScriptedPeer peer({CheckSession(true)});
    TmsRemotePOP pop;
    Configure(pop, peer, true);
    PopEvents log;
    log.Attach(pop);
    pop.UpdateInfo();
    QList<QByteArray> expected = kCheckTraffic;
    expected.insert(3, "UIDL");
    EXPECT_EQ(peer.Received(), expected);
    EXPECT_EQ(pop.RemoteInfo()[0].Uidl, "id-1");
    // The id listing is not a header transfer: no progress before the first LIST.
    EXPECT_EQ(log.events.mid(0, 3), (QStringList{"Open", "UpdatingInfo", "Progress"}));
    EXPECT_EQ(log.events.count("Progress"), 2);
}

TEST(Pop3Peer, EachCommandFailingInTurnLeavesTheClientReusable)
{
    struct Failure {
        const char *name;
        QByteArray reply;
        PeerAction action;
        QString message;
    };
    const Failure failures[] = {
        {"negative", "-ERR refused\r\n", PeerAction::Reply, "-ERR refused"},
        {"garbage", "HELLO THERE\r\n", PeerAction::Reply, "HELLO THERE"},
        {"closed mid-line", "+OK half", PeerAction::ReplyAndClose, ""},
    };
    const PeerScript good = CheckSession();
    for (int k = 0; k < good.size(); ++k) {
        for (const Failure &f : failures) {
            PeerScript broken = good.mid(0, k + 1);
            broken[k].reply = f.reply;
            broken[k].action = f.action;
            ScriptedPeer peer({broken, good});
            TmsRemotePOP pop;
            Configure(pop, peer);
            PopEvents log;
            log.Attach(pop);
            const std::string what = std::string(f.name) + " at step " + std::to_string(k);
            try {
                pop.UpdateInfo();
                ADD_FAILURE() << what << ": no error";
            } catch (const EServerError &e) {
                EXPECT_EQ(e.Message(), f.message) << what;
            } catch (const std::exception &e) {
                ADD_FAILURE() << what << ": " << e.what();
            }
            EXPECT_EQ(log.Errors(), 0) << what << ": a refusal is not reported through OnError";
            EXPECT_FALSE(log.events.contains("InfoUpdated")) << what;
            EXPECT_FALSE(pop.Connected()) << what;
            // Nothing was sent after the failing command (so no QUIT either).
            EXPECT_EQ(peer.Received(), kCheckTraffic.mid(0, k)) << what;

            pop.UpdateInfo();
            EXPECT_EQ(peer.Received().mid(k), kCheckTraffic) << what << ": the next check starts afresh";
            EXPECT_EQ(pop.RemoteInfo().Count(), 2) << what;
        }
    }
}

TEST(Pop3Peer, OtherFailuresHaveTheirOwnClasses)
{
    const PeerScript good = CheckSession();
    PeerScript badStat = good.mid(0, 4);
    badStat[3].reply = "+OK many\r\n";
    PeerScript droppedBlock = good.mid(0, 6);
    droppedBlock[5].reply = "+OK\r\nFrom: one@example.com\r\nSubj";
    droppedBlock[5].action = PeerAction::ReplyAndClose;
    PeerScript stall = good.mid(0, 7);
    stall[6].action = PeerAction::Stall;
    struct Case {
        const char *name;
        PeerScript script;
        std::function<void(TmsRemotePOP &)> run;
    };
    const Case cases[] = {
        {"STAT without a count", badStat,
         [](TmsRemotePOP &pop) { EXPECT_THROW(pop.UpdateInfo(), EProtocolError); }},
        {"connection dropped inside a header block", droppedBlock,
         [](TmsRemotePOP &pop) {
             try {
                 pop.UpdateInfo();
                 ADD_FAILURE() << "no error";
             } catch (const ESocketError &e) {
                 EXPECT_EQ(e.Code(), 10054);
             }
         }},
        {"stall", stall, [](TmsRemotePOP &pop) { EXPECT_THROW(pop.UpdateInfo(), ETimedOutError); }},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({c.script, good});
        TmsRemotePOP pop;
        Configure(pop, peer, false, 1);
        PopEvents log;
        log.Attach(pop);
        c.run(pop);
        EXPECT_EQ(log.Errors(), 1) << c.name;
        EXPECT_FALSE(pop.Connected()) << c.name;
        EXPECT_FALSE(peer.Received().contains("QUIT")) << c.name;
        const qsizetype before = peer.Received().size();
        pop.UpdateInfo();
        EXPECT_EQ(peer.Received().mid(before), kCheckTraffic) << c.name;
    }
}

TEST(Pop3Peer, AnExceptionFromAHandlerEndsTheSessionWithoutQuit)
{
    ScriptedPeer peer({CheckSession(), CheckSession()});
    TmsRemotePOP pop;
    Configure(pop, peer);
    pop.OnNextInfoUpdated = [](QObject *, int) { throw std::runtime_error("the window failed"); };
    EXPECT_THROW(pop.UpdateInfo(), std::runtime_error);
    EXPECT_FALSE(pop.Connected());
    EXPECT_EQ(peer.Received(), kCheckTraffic.mid(0, 5));
    pop.OnNextInfoUpdated = nullptr;
    pop.UpdateInfo();
    EXPECT_EQ(pop.RemoteInfo().Count(), 2);
}

TEST(Pop3Peer, RefusedDeleIsAnErrorAndMarksAreCleared)
{
    PeerScript deletion{Greeting()};
    deletion += Login("+OK 2 320\r\n");
    deletion += Info(1, 120, kHeaders1);
    deletion += PeerStep{"DELE 1", "-ERR message is locked\r\n"};
    ScriptedPeer peer({CheckSession(), deletion});
    TmsRemotePOP pop;
    Configure(pop, peer);
    pop.UpdateInfo();
    pop.MarkDelete(0);
    pop.MarkRetrieve(1);
    pop.MarkDelete(1);
    PopEvents log;
    log.Attach(pop);
    try {
        pop.TransferData();
        ADD_FAILURE() << "a refused DELE went unnoticed";
    } catch (const EServerError &e) {
        EXPECT_EQ(e.Message(), "-ERR message is locked");
    }
    EXPECT_FALSE(log.events.contains("Deleted:0"));
    EXPECT_FALSE(log.events.contains("DataTransfered"));
    EXPECT_EQ(peer.Received().count("QUIT"), 1) << "only the listing said goodbye";
    EXPECT_EQ(peer.Received().last(), "DELE 1");
    for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
        EXPECT_EQ(item.Flags, 0);
}

TEST(Pop3Peer, EmptyMailbox)
{
    for (const bool uidl : {false, true}) {
        PeerScript empty{Greeting()};
        empty += Login("+OK 0 0\r\n");
        empty += Quit();
        ScriptedPeer peer({empty});
        TmsRemotePOP pop;
        Configure(pop, peer, uidl);
        PopEvents log;
        log.Attach(pop);
        pop.UpdateInfo();
        EXPECT_EQ(peer.Received(), (QList<QByteArray>{"USER alice", "PASS secret", "STAT", "QUIT"}));
        EXPECT_EQ(log.events, (QStringList{"Open", "UpdatingInfo", "Closing", "Closed", "InfoUpdated"}));
        EXPECT_EQ(pop.RemoteInfo().Count(), 0);
        EXPECT_EQ(pop.MessageCount(), 0);
    }
}

TEST(Pop3Peer, LenientStatAndListReplies)
{
    PeerScript session{Greeting()};
    session += Login("+OK 1\r\n");
    session += PeerStep{"LIST 1", "+OK 1 4321 octets\r\n"};
    session += PeerStep{"TOP 1 1", "+OK\r\nFrom: a@b\r\nbody line\r\n.\r\n"};
    session += Quit();
    PeerScript refused{Greeting()};
    refused += Login("+OK 1\r\n").mid(0, 1);
    refused += PeerStep{"PASS secret", "-ERR wrong password\r\n"};
    ScriptedPeer peer({session, refused});
    TmsRemotePOP pop;
    Configure(pop, peer);
    pop.UpdateInfo();
    EXPECT_EQ(pop.MessageCount(), 1);
    EXPECT_EQ(pop.TotalSize(), -1);
    ASSERT_EQ(pop.RemoteInfo().Count(), 1);
    EXPECT_EQ(pop.RemoteInfo()[0].Size, 4321);
    // No empty line: the body line stays, the end line does not.
    EXPECT_EQ(pop.RemoteInfo()[0].Headers, (QStringList{"From: a@b", "body line"}));

    EXPECT_THROW(pop.UpdateInfo(), EServerError);
    EXPECT_EQ(pop.MessageCount(), -1) << "a new log-in forgets the old count";
    EXPECT_EQ(pop.TotalSize(), -1);
}

TEST(Pop3Peer, LineBreaksInCredentialsAreRefusedBeforeConnecting)
{
    struct Case {
        QString user;
        QString password;
    };
    const Case cases[] = {
        {"alice\r\nDELE 1", "secret"},
        {"alice", "secret\nDELE 1"},
        {"alice", QString("sec") + QChar(0) + "ret"},
        {"al\rice", "secret"},
        {"", "secret"},
        {"alice", ""},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({CheckSession()});
        TmsRemotePOP pop;
        Configure(pop, peer);
        pop.SetUserName(c.user);
        pop.SetPassword(c.password);
        PopEvents log;
        log.Attach(pop);
        EXPECT_THROW(pop.UpdateInfo(), ESocketError);
        EXPECT_EQ(log.Errors(), 1);
        EXPECT_EQ(peer.Connections(), 0);
    }
}

TEST(Pop3Peer, RetrieveSavesTheMessageItself)
{
    const QByteArray wire = "+OK 60 octets\r\nFrom: one@example.com\r\n\r\n..leading dot\r\n..\r\nend\r\n.\r\n";
    const QByteArray message = "From: one@example.com\r\n\r\n.leading dot\r\n.\r\nend\r\n";
    for (const bool handler : {false, true}) {
        PeerScript transfer{Greeting()};
        transfer += Login("+OK 2 320\r\n");
        transfer += Info(1, 120, kHeaders1);
        transfer += PeerStep{"LIST 1", "+OK 1 120\r\n"};
        transfer += PeerStep{"RETR 1", wire};
        transfer += Quit();
        ScriptedPeer peer({CheckSession(), transfer});
        TempHome home;
        TmsRemotePOP pop;
        Configure(pop, peer);
        pop.SetMessageDirectory(home.path());
        EXPECT_EQ(pop.MessageDirectory(), home.path() + "/");
        QByteArray handed;
        if (handler)
            pop.OnUserMessageSave = [&](QObject *, int num, const QByteArray &contents) {
                EXPECT_EQ(num, 0);
                handed = contents;
            };
        pop.UpdateInfo();
        PopEvents log;
        log.Attach(pop);
        if (handler)
            pop.OnUserMessageSave = [&](QObject *, int, const QByteArray &contents) { handed = contents; };
        pop.MarkRetrieve(0);
        pop.TransferData();
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(log.WithoutProgress(), (QStringList{"Open", "TransferringData", "Retrieving:0", "Retrieved:0",
                                                      "DataTransfered", "Closing", "Closed"}));
        if (handler) {
            EXPECT_EQ(handed, message);
            EXPECT_FALSE(QFile::exists(home.file("msg_0.eml")));
        } else {
            EXPECT_EQ(home.read("msg_0.eml"), message);
        }
    }
}

// The second session of a deletion of message 2, as the server answers it now.
struct VerifyCase {
    const char *name;
    bool uidl;
    PeerScript verify;        // the server's answers after STAT, up to the decision
    bool deleted;
};

TEST(Pop3Peer, DeletionSkipsAMessageThatChangedSinceTheListing)
{
    const QList<QByteArray> rewritten = {"From: two@example.com", "Status: RO", "X-Status: A", "Subject: second",
                                         " folded", "Message-ID: <2@x>"};
    const QList<QByteArray> other = {"From: three@example.com", "Subject: third", "Message-ID: <3@x>"};
    const VerifyCase cases[] = {
        {"unchanged", false, Info(2, 200, kHeaders2), true},
        {"status fields rewritten", false, Info(2, 200, rewritten), true},
        {"another message in its place", false, Info(2, 150, other), false},
        {"same headers, other size", false, Info(2, 201, kHeaders2), false},
        {"message number gone", false, {{"LIST 2", "-ERR no such message\r\n"}}, false},
        {"same id, headers differ", true, Info(2, 150, other) + PeerScript{{"UIDL 2", "+OK 2 id-2\r\n"}}, true},
        {"other id, same headers", true, Info(2, 200, kHeaders2) + PeerScript{{"UIDL 2", "+OK 2 id-9\r\n"}}, false},
        {"id refused, headers same", true, Info(2, 200, kHeaders2) + PeerScript{{"UIDL 2", "-ERR no\r\n"}}, true},
    };
    for (const VerifyCase &c : cases) {
        PeerScript deletion{Greeting()};
        deletion += Login("+OK 2 320\r\n");
        deletion += c.verify;
        if (c.deleted)
            deletion += PeerStep{"DELE 2", "+OK\r\n"};
        deletion += Quit();
        ScriptedPeer peer({CheckSession(c.uidl), deletion});
        TmsRemotePOP pop;
        Configure(pop, peer, c.uidl);
        pop.UpdateInfo();
        PopEvents log;
        log.Attach(pop);
        pop.MarkDelete(1);
        pop.TransferData();
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << c.name << ": " << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(peer.Received().contains("DELE 2"), c.deleted) << c.name;
        EXPECT_EQ(peer.Received().last(), "QUIT") << c.name;
        EXPECT_EQ(pop.SkippedItems(), c.deleted ? QList<int>{} : QList<int>{1}) << c.name;
        EXPECT_EQ(log.events.contains("ItemSkipped:1"), !c.deleted) << c.name;
        EXPECT_TRUE(log.events.contains("DataTransfered")) << c.name;
    }
}

TEST(Pop3Peer, StlsRefusals)
{
    struct Case {
        const char *name;
        QByteArray reply;
    };
    const Case cases[] = {
        {"not offered", "-ERR unknown command\r\n"},
        {"data before the handshake", "+OK begin TLS\r\n+OK injected\r\n"},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer({{Greeting(), {"STLS", c.reply}}});
        TmsRemotePOP pop;
        Configure(pop, peer);
        pop.SetTls({TmsTlsMode::StartTls, {}});
        PopEvents log;
        log.Attach(pop);
        EXPECT_THROW(pop.UpdateInfo(), ETlsError) << c.name;
        EXPECT_EQ(log.Errors(), 1) << c.name;
        EXPECT_EQ(peer.Received(), QList<QByteArray>{"STLS"}) << c.name << ": no credentials in the clear";
        EXPECT_FALSE(pop.Connected()) << c.name;
    }
}

TEST(Pop3Peer, ASecondOperationDuringAWaitIsRefusedAndDisconnectCancels)
{
    PeerScript stall = CheckSession().mid(0, 5);
    stall[4].action = PeerAction::Stall;
    ScriptedPeer peer({stall});
    TmsRemotePOP pop;
    Configure(pop, peer, false, 5);
    int refusals = 0;
    // Acts once the client waits for the stalled reply, however slow the machine is: a fixed
    // delay could fire while the client still connects.
    QTimer act;
    act.setInterval(5);
    QObject::connect(&act, &QTimer::timeout, &pop, [&] {
        if (!peer.Received().contains("LIST 1"))
            return;
        act.stop();
        for (const auto &op : std::initializer_list<std::function<void()>>{
                 [&] { pop.UpdateInfo(); }, [&] { pop.TransferData(); }, [&] { pop.Connect(); },
                 [&] { pop.Retrieve(0); }}) {
            try {
                op();
            } catch (const ESocketError &) {
                ++refusals;
            }
        }
        pop.Disconnect();
    });
    act.start();
    EXPECT_THROW(pop.UpdateInfo(), ECanceledError);
    EXPECT_EQ(refusals, 4);
    EXPECT_EQ(peer.Connections(), 1);
    ASSERT_FALSE(peer.Received().isEmpty());
    EXPECT_EQ(peer.Received().last(), "LIST 1");
    EXPECT_FALSE(pop.Busy());
}

TEST(Pop3Peer, CancelOrDisconnectFromAnEventHandlerEndsTheOperationAsCanceled)
{
    for (const bool disconnect : {false, true}) {
        ScriptedPeer peer({CheckSession()});
        TmsRemotePOP pop;
        Configure(pop, peer);
        pop.OnNextInfoUpdated = [&](QObject *, int) {
            if (disconnect)
                pop.Disconnect();
            else
                pop.Cancel();
        };
        EXPECT_THROW(pop.UpdateInfo(), ECanceledError) << "disconnect " << disconnect;
        EXPECT_EQ(peer.Received(), kCheckTraffic.mid(0, 5)) << "disconnect " << disconnect;
        EXPECT_EQ(pop.RemoteInfo().Count(), 1);
        EXPECT_FALSE(pop.Connected());
    }
}

TEST(Pop3Peer, CancelledDeletionIsNotReplayed)
{
    PeerScript stalled{Greeting()};
    stalled += Login("+OK 2 320\r\n");
    stalled += Info(2, 200, kHeaders2);
    stalled += PeerStep{"DELE 2", "", PeerAction::Stall};
    PeerScript again{Greeting()};
    again += Login("+OK 2 320\r\n");
    again += Quit();
    ScriptedPeer peer({CheckSession(), stalled, again});
    TmsRemotePOP pop;
    Configure(pop, peer, false, 5);
    pop.UpdateInfo();
    pop.MarkDelete(1);
    QTimer::singleShot(100, &pop, [&pop] { pop.Cancel(); });
    EXPECT_THROW(pop.TransferData(), ECanceledError);
    EXPECT_EQ(pop.RemoteInfo()[1].Flags, 0);
    pop.TransferData();
    EXPECT_EQ(peer.Received().count("DELE 2"), 1);
    EXPECT_EQ(peer.Received().last(), "QUIT");
    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
}

TEST(Pop3Peer, MarksOutsideTheListChangeNothing)
{
    ScriptedPeer peer({CheckSession()});
    TmsRemotePOP pop;
    Configure(pop, peer);
    EXPECT_FALSE(pop.MarkDelete(0));
    pop.UpdateInfo();
    EXPECT_FALSE(pop.MarkDelete(2));
    EXPECT_FALSE(pop.MarkRetrieve(-1));
    EXPECT_TRUE(pop.MarkRetrieve(1));
    EXPECT_TRUE(pop.MarkDelete(1));
    EXPECT_TRUE(pop.RemoteInfo()[1].MarkedForRetrieval() && pop.RemoteInfo()[1].MarkedForDeletion());
    EXPECT_TRUE(pop.Unmark(1));
    EXPECT_EQ(pop.RemoteInfo()[1].Flags, 0);
}

} // namespace
