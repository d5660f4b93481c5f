// The mail guard against a scripted POP3 peer, for what a real server does not do on request:
// a deletion whose session does not end with an accepted QUIT, so the server keeps every
// message although it accepted each DELE.
#include "guard_test.h"
#include "scripted_peer.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace Pop3Script;

const QList<QByteArray> kSpam = {"From: shop@pills.example", "Subject: Cheap pills", "Message-ID: <1@x>"};
const QList<QByteArray> kMail = {"From: mum@example.com", "Subject: Sunday", "Message-ID: <2@x>"};

PeerScript CheckSession()
{
    PeerScript s{Greeting()};
    s += Login("+OK 2 320\r\n");
    s += PeerStep{"UIDL", "+OK\r\n1 id-1\r\n2 id-2\r\n.\r\n"};
    s += Info(1, 120, kSpam);
    s += Info(2, 200, kMail);
    s += Quit();
    return s;
}

struct QuitCase
{
    const char *name;
    QByteArray reply;
    PeerAction action;
};

TEST(GuardPeer, DeletionNotCommittedByQuitIsNeitherLoggedNorCounted)
{
    const QuitCase cases[] = {
        {"QuitRefused", "-ERR cannot commit changes\r\n", PeerAction::Reply},
        {"LineDroppedAtQuit", "", PeerAction::ReplyAndClose},
    };
    for (const QuitCase &c : cases) {
        PeerScript deletion{Greeting()};
        deletion += Login("+OK 2 320\r\n");
        deletion += Info(1, 120, kSpam);
        deletion += PeerStep{"UIDL 1", "+OK 1 id-1\r\n"};
        deletion += PeerStep{"DELE 1", "+OK marked\r\n"};
        deletion += PeerStep{"QUIT", c.reply, c.action};
        ScriptedPeer peer({CheckSession(), deletion});

        TGuardHome h;
        h.servers.slot(1) = {peer.Server(), QStringLiteral("alice"), QStringLiteral("secret"), TlsMode::None, QString(),
                             false};
        h.general.ask = false;
        h.write(TGuardHome::StandardRules());
        TScriptedPrompts prompts;
        TMailGuard guard(prompts);
        guard.SetNetworkTimeOut(2);
        guard.FormCreate();
        ASSERT_TRUE(guard.btListClick()) << c.name;
        ASSERT_EQ(guard.Messages().MarkedCount(), 1) << c.name;

        guard.btDeleteClick();

        EXPECT_TRUE(peer.Mismatches().isEmpty()) << c.name << ": " << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(peer.Received().count("DELE 1"), 1) << c.name;
        EXPECT_EQ(prompts.texts(TPromptCall::Error).size(), 1) << c.name;
        EXPECT_TRUE(LinesWith(h.readLog(), QStringLiteral("DELETE SPAM")).isEmpty()) << c.name;
        EXPECT_EQ(guard.General().count, 0) << c.name;
        EXPECT_EQ(StoredGeneral().count, 0) << c.name;
        EXPECT_FALSE(guard.StatusText().startsWith(QStringLiteral("There were"))) << c.name;
        // Nothing was deleted, so the rows stay as the user saw them, ready for another try.
        EXPECT_EQ(guard.Messages().Count(), 2) << c.name;
        EXPECT_EQ(guard.Messages().MarkedCount(), 1) << c.name;
        EXPECT_FALSE(guard.IsBusy()) << c.name;
        EXPECT_FALSE(guard.deleteInProgress()) << c.name;
        EXPECT_TRUE(guard.Buttons().checkEnabled) << c.name;
        EXPECT_TRUE(guard.Buttons().trayMenuEnabled) << c.name;
        EXPECT_FALSE(guard.Buttons().exitIsCancel) << c.name;
        EXPECT_FALSE(guard.Progress().visible) << c.name;
    }
}

PeerStep Capa(const QByteArray &lines)
{
    return {"CAPA", "+OK\r\n" + lines + ".\r\n"};
}

void Automatic(TGuardHome &h, const ScriptedPeer &peer)
{
    h.servers.slot(1) = {peer.Server(), QStringLiteral("alice"), QStringLiteral("secret"), TlsMode::None, QString(),
                         true};
    h.general.automatic = true;
    h.general.minutes = 1;
    h.write(TGuardHome::StandardRules());
}

TEST(GuardPeer, AnnouncedLoginDelaySkipsTheSlotInTheAutomaticPass)
{
    PeerScript emptyBox{Greeting(), Capa("PIPELINING\r\nLOGIN-DELAY 600\r\n")};
    emptyBox += Login("+OK 0 0\r\n") << PeerStep{"UIDL", "+OK\r\n.\r\n"} << PeerStep{"LIST", "+OK\r\n.\r\n"};
    emptyBox += Quit();
    ScriptedPeer peer({emptyBox, emptyBox});
    TGuardHome h;
    Automatic(h, peer);
    TScriptedPrompts prompts;
    TMailGuard guard(prompts);
    guard.SetNetworkTimeOut(2);
    guard.FormCreate();
    EXPECT_FALSE(guard.LoginDelayPending(1));

    guard.Timer1Timer();
    EXPECT_EQ(peer.Connections(), 1);
    EXPECT_TRUE(guard.LoginDelayPending(1));
    EXPECT_EQ(guard.Captions().windowCaption, QStringLiteral("Tarnwick - No waiting messages found"));

    guard.Timer1Timer();
    EXPECT_EQ(peer.Connections(), 1) << "the server asked for ten minutes between log-ins";
    const QString caption = guard.Captions().windowCaption;
    EXPECT_TRUE(caption.contains(QRegularExpression(
        QStringLiteral("^Tarnwick - No waiting messages found - MailBox alice skipped until \\d\\d:\\d\\d$"))))
        << caption.toStdString();
    EXPECT_EQ(guard.Captions().trayHint, caption);
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK")).size(), 1);

    // The user's own check is not held back.
    EXPECT_TRUE(guard.btListClick());
    EXPECT_EQ(peer.Connections(), 2);
    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    EXPECT_TRUE(prompts.calls.isEmpty());
}

TEST(GuardPeer, LoginRefusedAsTooSoon)
{
    const PeerScript refused{Greeting(), Capa("UIDL\r\n"), {"USER alice", "+OK\r\n"},
                             {"PASS secret", "-ERR [LOGIN-DELAY] wait five minutes\r\n"}};
    for (const bool visible : {false, true}) {
        SCOPED_TRACE(visible ? "window shown" : "window hidden");
        ScriptedPeer peer({refused, refused});
        TGuardHome h;
        Automatic(h, peer);
        TScriptedPrompts prompts;
        TMailGuard guard(prompts);
        guard.SetNetworkTimeOut(2);
        guard.FormCreate();
        guard.SetMainWindowVisible(visible);

        guard.Timer1Timer();
        // Not an error of the server: the pass shows the mailbox as skipped.
        EXPECT_TRUE(prompts.calls.isEmpty());
        EXPECT_EQ(guard.Captions().windowCaption,
                  QStringLiteral("Tarnwick - No waiting messages found - MailBox alice skipped: its server asks "
                                 "for a pause between checks"));
        EXPECT_TRUE(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK")).isEmpty());
        EXPECT_FALSE(guard.IsBusy());
        EXPECT_TRUE(guard.Timer1Enabled());

        // Asked for by hand, the refusal is explained.
        EXPECT_FALSE(guard.btListClick());
        const QStringList errors = prompts.texts(TPromptCall::Error);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(QStringLiteral("checked only a short while ago"))) << errors[0].toStdString();
        EXPECT_TRUE(errors[0].contains(QStringLiteral("-ERR [LOGIN-DELAY] wait five minutes")));
        EXPECT_EQ(peer.Connections(), 2);
    }
}

} // namespace
