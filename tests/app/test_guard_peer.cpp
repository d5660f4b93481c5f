// The mail guard against a scripted POP3 peer, for what a real server does not do on request:
// a deletion whose session does not end with an accepted QUIT, so the server keeps every
// message although it accepted each DELE.
#include "guard_test.h"
#include "scripted_peer.h"

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
        h.servers.slot(1) = {peer.Server(), QStringLiteral("alice"), QStringLiteral("secret"), TlsMode::None, QString()};
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

} // namespace
