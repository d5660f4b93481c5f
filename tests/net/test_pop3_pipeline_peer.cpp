// Capability discovery and the window of outstanding commands against scripted conversations:
// the exact traffic with and without PIPELINING, identical results and events in both modes,
// failures in the middle of a window, and LOGIN-DELAY.
#include "pop3_events.h"
#include "scripted_peer.h"

#include "pop3.h"
#include "pop3parse.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace Pop3Script;

QList<QByteArray> Headers(int n)
{
    return {"From: sender" + QByteArray::number(n) + "@example.com", "Subject: message " + QByteArray::number(n),
            "Message-ID: <" + QByteArray::number(n) + "@x>"};
}

PeerStep Capa(const QByteArray &lines)
{
    return {"CAPA", "+OK capability list follows\r\n" + lines + ".\r\n"};
}

const QByteArray kPipelining = "TOP\r\nUSER\r\nPIPELINING\r\nUIDL\r\n";

QByteArray UidlListing(int count)
{
    QByteArray block = "+OK\r\n";
    for (int n = 1; n <= count; ++n)
        block += QByteArray::number(n) + " id-" + QByteArray::number(n) + "\r\n";
    return block + ".\r\n";
}

// A check of count messages; capa is the CAPA step (none when its expect is empty).
PeerScript Check(int count, const PeerStep &capa, bool uidl)
{
    PeerScript s{Greeting()};
    if (!capa.expect.isEmpty())
        s += capa;
    s += Login("+OK " + QByteArray::number(count) + " " + QByteArray::number(count * 100) + "\r\n");
    if (uidl && count > 0)  // an empty mailbox has no ids to ask for
        s += PeerStep{"UIDL", UidlListing(count)};
    for (int n = 1; n <= count; ++n)
        s += Info(n, 100 + n, Headers(n));
    s += Quit();
    return s;
}

void Configure(TmsRemotePOP &pop, const ScriptedPeer &peer, bool pipelining, bool uidl)
{
    pop.SetServer(peer.Server());
    pop.SetUserName("alice");
    pop.SetPassword("secret");
    pop.SetTimeOut(2);
    pop.SetUseUidl(uidl);
    pop.SetUsePipelining(pipelining);
}

// What one listing produced, for comparing the two modes.
struct Listing {
    QStringList events;
    QStringList items;  // size, id and header lines of every item
    QString error;      // the EServerError's text, empty when the listing succeeded
    QString lastCommand;
    QList<QByteArray> received;
    int maxLinesPerRead = 0;
    bool pipelined = false;
};

QStringList Items(const TmsRemotePOP &pop)
{
    QStringList out;
    for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
        out << QString::number(item.Size) + "|" + item.Uidl + "|" + item.Headers.join("\n");
    return out;
}

Listing List(const PeerScript &script, bool pipelining, bool uidl)
{
    ScriptedPeer peer({script});
    TmsRemotePOP pop;
    Configure(pop, peer, pipelining, uidl);
    PopEvents log;
    log.Attach(pop);
    Listing out;
    try {
        pop.UpdateInfo();
    } catch (const EServerError &e) {
        out.error = e.Message();
    }
    out.events = log.WithoutRepeatedProgress();
    out.items = Items(pop);
    out.lastCommand = pop.LastCommand();
    out.received = peer.Received();
    out.maxLinesPerRead = peer.MaxLinesPerRead();
    out.pipelined = pop.Pipelining();
    EXPECT_FALSE(pop.Connected());
    return out;
}

QList<QByteArray> SequentialTraffic(int count, bool capa, bool uidl)
{
    QList<QByteArray> lines;
    if (capa)
        lines << "CAPA";
    lines << "USER alice" << "PASS secret" << "STAT";
    if (uidl && count > 0)
        lines << "UIDL";
    for (int n = 1; n <= count; ++n)
        lines << "LIST " + QByteArray::number(n) << "TOP " + QByteArray::number(n) + " 1";
    return lines << "QUIT";
}

TEST(Pop3Pipeline, PipelinedAndSequentialListingsAreIdentical)
{
    for (const int count : {0, 1, 7}) {
        for (const bool uidl : {false, true}) {
            SCOPED_TRACE(testing::Message() << count << " messages, uidl " << uidl);
            const Listing sequential = List(Check(count, {}, uidl), false, uidl);
            const Listing pipelined = List(Check(count, Capa(kPipelining), uidl), true, uidl);
            EXPECT_FALSE(sequential.pipelined);
            EXPECT_TRUE(pipelined.pipelined);
            EXPECT_TRUE(sequential.error.isEmpty()) << sequential.error.toStdString();
            EXPECT_TRUE(pipelined.error.isEmpty()) << pipelined.error.toStdString();
            EXPECT_EQ(sequential.items.size(), count);
            EXPECT_EQ(pipelined.items, sequential.items);
            EXPECT_EQ(pipelined.events, sequential.events);
            // The same commands in the same order; only CAPA comes in addition.
            EXPECT_EQ(sequential.received, SequentialTraffic(count, false, uidl));
            EXPECT_EQ(pipelined.received, SequentialTraffic(count, true, uidl));
            EXPECT_EQ(sequential.maxLinesPerRead, 1);
        }
    }
}

TEST(Pop3Pipeline, TheWindowReallySendsAhead)
{
    // The reply to LIST 1 comes only once TOP 1 1 has arrived: a client waiting for each
    // reply would time out here.
    PeerScript script = Check(3, Capa(kPipelining), false);
    for (PeerStep &step : script) {
        if (step.expect == "LIST 1")
            step.action = PeerAction::Withhold;
    }
    const Listing pipelined = List(script, true, false);
    EXPECT_TRUE(pipelined.error.isEmpty()) << pipelined.error.toStdString();
    EXPECT_EQ(pipelined.items.size(), 3);
    EXPECT_GT(pipelined.maxLinesPerRead, 1);
}

TEST(Pop3Pipeline, WithoutPipeliningTheTrafficIsExactlySequential)
{
    struct Case {
        const char *name;
        PeerStep capa;
    };
    const Case cases[] = {
        {"CapaWithoutPipelining", Capa("TOP\r\nUSER\r\nUIDL\r\n")},
        {"CapaRefused", {"CAPA", "-ERR unknown command\r\n"}},
        {"CapaEmpty", Capa("")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Listing listing = List(Check(4, c.capa, true), true, true);
        EXPECT_TRUE(listing.error.isEmpty()) << listing.error.toStdString();
        EXPECT_FALSE(listing.pipelined);
        EXPECT_EQ(listing.items.size(), 4);
        EXPECT_EQ(listing.received, SequentialTraffic(4, true, true));
        EXPECT_EQ(listing.maxLinesPerRead, 1);
    }
    // Switched off for the mailbox: not even CAPA is sent.
    const Listing off = List(Check(4, {}, true), false, true);
    EXPECT_EQ(off.received, SequentialTraffic(4, false, true));
    EXPECT_EQ(off.maxLinesPerRead, 1);
}

TEST(Pop3Pipeline, AFailureInTheMiddleOfAWindowIsReportedForItsMessage)
{
    struct Case {
        const char *name;
        QByteArray failing; // the command whose reply is negative
        int listedBefore;   // items listed before the failure
    };
    const Case cases[] = {
        {"FirstList", "LIST 1", 0},
        {"ThirdTop", "TOP 3 1", 2},
        {"FourthList", "LIST 4", 3},
        {"LastTop", "TOP 5 1", 4},
    };
    const QByteArray refusal = "-ERR no such message\r\n";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QList<Listing> results;
        for (const bool pipelining : {false, true}) {
            PeerScript script = Check(5, pipelining ? Capa(kPipelining) : PeerStep{}, false);
            for (PeerStep &step : script) {
                if (step.expect == c.failing)
                    step.reply = refusal;
            }
            results << List(script, pipelining, false);
        }
        const Listing &sequential = results[0];
        const Listing &pipelined = results[1];
        EXPECT_TRUE(pipelined.pipelined);
        EXPECT_EQ(sequential.error, "-ERR no such message");
        EXPECT_EQ(pipelined.error, sequential.error);
        EXPECT_EQ(pipelined.lastCommand, QString::fromLatin1(c.failing));
        EXPECT_EQ(sequential.lastCommand, QString::fromLatin1(c.failing));
        EXPECT_EQ(sequential.items.size(), c.listedBefore);
        EXPECT_EQ(pipelined.items, sequential.items);
        EXPECT_EQ(pipelined.events, sequential.events);
        EXPECT_FALSE(pipelined.events.contains("InfoUpdated"));
        EXPECT_EQ(pipelined.events.filter(QRegularExpression("^NextInfoUpdated")).size(), c.listedBefore);
        // Neither says goodbye: the server must keep the mailbox as it was.
        EXPECT_FALSE(pipelined.received.contains("QUIT"));
        EXPECT_FALSE(sequential.received.contains("QUIT"));
    }
}

TEST(Pop3Pipeline, ADroppedConnectionInTheMiddleOfAWindow)
{
    PeerScript script = Check(4, Capa(kPipelining), false);
    for (PeerStep &step : script) {
        if (step.expect == "LIST 3") {
            step.reply = "+OK 3 1";  // cut in the middle of the line
            step.action = PeerAction::ReplyAndClose;
        }
    }
    const Listing listing = List(script, true, false);
    EXPECT_EQ(listing.items.size(), 2);
    EXPECT_EQ(listing.lastCommand, "LIST 3");
    EXPECT_FALSE(listing.events.contains("InfoUpdated"));
}

// The deletion of marked messages 1, 2 and 4 of four, where message 2 changed after the
// listing (another id); with ids or, without them, with sizes and header lines. One at a time
// each DELE follows its message's check; in a window the checks go out first and the DELEs
// after them.
PeerScript Deletion(const PeerStep &capa, bool uidl)
{
    const bool pipelined = !capa.expect.isEmpty();
    PeerScript s{Greeting()};
    if (pipelined)
        s += capa;
    s += Login("+OK 4 400\r\n");
    PeerScript deletes;
    for (const int n : {1, 2, 4}) {
        // Message 2 is another one now.
        s += Info(n, n == 2 ? 999 : 100 + n, n == 2 ? Headers(9) : Headers(n));
        if (uidl) {
            const QByteArray id = n == 2 ? "id-other" : "id-" + QByteArray::number(n);
            s += PeerStep{"UIDL " + QByteArray::number(n), "+OK " + QByteArray::number(n) + " " + id + "\r\n"};
        }
        if (n != 2)
            (pipelined ? deletes : s) += PeerStep{"DELE " + QByteArray::number(n), "+OK deleted\r\n"};
    }
    s += deletes;
    s += Quit();
    return s;
}

TEST(Pop3Pipeline, PipelinedDeletionMatchesTheSequentialOne)
{
    for (const bool uidl : {false, true}) {
        SCOPED_TRACE(testing::Message() << "uidl " << uidl);
        QList<QStringList> events;
        QList<QList<int>> skipped;
        QList<QList<QByteArray>> dele;
        for (const bool pipelining : {false, true}) {
            const PeerStep capa = pipelining ? Capa(kPipelining) : PeerStep{};
            ScriptedPeer peer({Check(4, capa, uidl), Deletion(capa, uidl)});
            TmsRemotePOP pop;
            Configure(pop, peer, pipelining, uidl);
            pop.UpdateInfo();
            for (const int index : {0, 1, 3})
                pop.MarkDelete(index);
            PopEvents log;
            log.Attach(pop);
            pop.TransferData();
            EXPECT_EQ(pop.Pipelining(), pipelining);
            EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
            events << log.WithoutRepeatedProgress();
            skipped << pop.SkippedItems();
            QList<QByteArray> deletes;
            for (const QByteArray &line : peer.Received()) {
                if (line.startsWith("DELE") || line == "QUIT")
                    deletes << line;
            }
            dele << deletes;
        }
        EXPECT_EQ(events[1], events[0]);
        EXPECT_EQ(skipped[0], QList<int>{1});
        EXPECT_EQ(skipped[1], skipped[0]);
        EXPECT_EQ(dele[0], (QList<QByteArray>{"QUIT", "DELE 1", "DELE 4", "QUIT"}));
        EXPECT_EQ(dele[1], dele[0]);
        EXPECT_TRUE(events[1].contains("Deleted:3"));
    }
}

TEST(Pop3Pipeline, ARefusedDeleInAWindowEndsTheRunAtThatMessage)
{
    PeerScript deletion = Deletion(Capa(kPipelining), true);
    for (PeerStep &step : deletion) {
        if (step.expect == "DELE 1")
            step.reply = "-ERR message locked\r\n";
    }
    ScriptedPeer peer({Check(4, Capa(kPipelining), true), deletion});
    TmsRemotePOP pop;
    Configure(pop, peer, true, true);
    pop.UpdateInfo();
    for (const int index : {0, 1, 3})
        pop.MarkDelete(index);
    PopEvents log;
    log.Attach(pop);
    try {
        pop.TransferData();
        ADD_FAILURE() << "the refused DELE went unnoticed";
    } catch (const EServerError &e) {
        EXPECT_EQ(e.Message(), "-ERR message locked");
    }
    EXPECT_EQ(pop.LastCommand(), "DELE 1");
    EXPECT_TRUE(log.events.contains("Deleting:0"));
    EXPECT_FALSE(log.events.contains("Deleted:0"));
    EXPECT_FALSE(log.events.contains("Deleting:3"));
    EXPECT_FALSE(peer.Received().mid(peer.Received().lastIndexOf("CAPA")).contains("QUIT"));
    EXPECT_FALSE(pop.Connected());
}

TEST(Pop3Pipeline, CapabilityListings)
{
    struct Case {
        const char *name;
        QByteArray block;
        bool pipelining;
        int loginDelay;
        bool perUser;
    };
    const Case cases[] = {
        {"Empty", "", false, -1, false},
        {"Dovecot", "CAPA\r\nTOP\r\nUIDL\r\nRESP-CODES\r\nPIPELINING\r\nAUTH-RESP-CODE\r\nUSER\r\nSASL PLAIN\r\n", true, -1,
         false},
        {"LowerCase", "pipelining\r\nlogin-delay 300\r\n", true, 300, false},
        {"PerUser", "LOGIN-DELAY 900 USER\r\n", false, 900, true},
        {"BareLf", "PIPELINING\nLOGIN-DELAY 60\n", true, 60, false},
        {"DelayNotANumber", "LOGIN-DELAY soon\r\n", false, -1, false},
        {"DelayMissing", "LOGIN-DELAY\r\n", false, -1, false},
        {"DelayNegative", "LOGIN-DELAY -5\r\n", false, -1, false},
        {"DelayHuge", "LOGIN-DELAY 99999999999\r\n", false, -1, false},
        {"PipeliningAsArgument", "X-PIPELINING\r\nSASL PIPELINING\r\n", false, -1, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Pop3Capabilities caps = ParseCapaListing(c.block);
        EXPECT_EQ(caps.Pipelining, c.pipelining);
        EXPECT_EQ(caps.LoginDelay, c.loginDelay);
        EXPECT_EQ(caps.LoginDelayPerUser, c.perUser);
    }
    QByteArray many;
    for (int i = 0; i < 500; ++i)
        many += "X-CAP-" + QByteArray::number(i) + "\r\n";
    EXPECT_EQ(ParseCapaListing(many + "PIPELINING\r\n").Lines.size(), kMaxCapaLines);
}

TEST(Pop3Pipeline, LoginDelayResponseCode)
{
    const std::pair<const char *, bool> cases[] = {
        {"-ERR [LOGIN-DELAY] wait a while", true},
        {"-ERR [login-delay] wait", true},
        {"-ERR [IN-USE] mailbox locked", false},
        {"-ERR wrong password [LOGIN-DELAY]", false},
        {"+OK [LOGIN-DELAY]", false},
        {"-ERR", false},
        {"", false},
    };
    for (const auto &[line, expected] : cases)
        EXPECT_EQ(HasLoginDelayCode(QString::fromLatin1(line)), expected) << line;
}

TEST(Pop3Pipeline, LoginDelayFromTheServer)
{
    struct Case {
        const char *name;
        PeerScript script;
        bool refused;
        int delay;
    };
    PeerScript refusedAtPass{Greeting(), Capa("LOGIN-DELAY 600\r\n"), {"USER alice", "+OK\r\n"},
                             {"PASS secret", "-ERR [LOGIN-DELAY] too soon\r\n"}};
    PeerScript wrongPassword{Greeting(), Capa("LOGIN-DELAY 600\r\n"), {"USER alice", "+OK\r\n"},
                             {"PASS secret", "-ERR [AUTH] wrong password\r\n"}};
    PeerScript perUser{Greeting(), Capa("PIPELINING\r\nLOGIN-DELAY 900 USER\r\n")};
    perUser += Login("+OK 0 0\r\n");
    perUser += Capa("PIPELINING\r\nLOGIN-DELAY 1800\r\n");
    perUser += Quit();
    PeerScript perUserUntold{Greeting(), Capa("PIPELINING\r\nLOGIN-DELAY 900 USER\r\n")};
    perUserUntold += Login("+OK 0 0\r\n");
    perUserUntold += PeerStep{"CAPA", "-ERR not now\r\n"};
    perUserUntold += Quit();
    const Case cases[] = {
        {"RefusedAtPass", refusedAtPass, true, 600},
        {"WrongPassword", wrongPassword, false, 600},
        {"PerUserValueAfterLogin", perUser, false, 1800},
        {"PerUserValueNotTold", perUserUntold, false, 900},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer({c.script});
        TmsRemotePOP pop;
        Configure(pop, peer, true, false);
        try {
            pop.UpdateInfo();
            EXPECT_FALSE(c.refused);
        } catch (const EServerError &e) {
            EXPECT_TRUE(c.refused || QString(c.name) == "WrongPassword") << e.Message().toStdString();
        }
        EXPECT_EQ(pop.LoginDelayRefused(), c.refused);
        EXPECT_EQ(pop.LoginDelay(), c.delay);
        // What the server announced before the log-in stays when it says nothing new after it.
        if (QString(c.name).startsWith("PerUser")) {
            EXPECT_TRUE(pop.Pipelining());
        }
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    }
}

} // namespace
