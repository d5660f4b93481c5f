// The mail guard against a scripted POP3 peer, for what a real server does not do on request:
// a QUIT that does not commit, a pause asked for between log-ins (LOGIN-DELAY), a count of
// connections that shows that nothing was sent, and an IMAP slot's OAuth2 log-in.
#include "guard_test.h"
#include "mailboxes.h"
#include "oauth.h"
#include "scripted_peer.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Pop3Script;

const QList<QByteArray> kSpam = {"From: shop@pills.example", "Subject: Cheap pills", "Message-ID: <1@x>"};
const QList<QByteArray> kMail = {"From: mum@example.com", "Subject: Sunday", "Message-ID: <2@x>"};

PeerStep Capa(const QByteArray &lines) { return {"CAPA", "+OK\r\n" + lines + ".\r\n"}; }

// Greeting, optional CAPA, log-in and the listing of one spam and one mail, without QUIT.
PeerScript Listing(const QByteArray &capa = {})
{
    PeerScript s{Greeting()};
    if (!capa.isEmpty())
        s += Capa(capa);
    s += Login("+OK 2 320\r\n");
    s += PeerStep{"UIDL", "+OK\r\n1 id-1\r\n2 id-2\r\n.\r\n"};
    // In windows the sizes come in one LIST with the log-in, then the TOPs.
    const bool windows = capa.contains("PIPELINING");
    if (windows)
        s += PeerStep{"LIST", "+OK\r\n1 120\r\n2 200\r\n.\r\n"};
    s += Info(1, 120, kSpam).mid(windows ? 1 : 0);
    s += Info(2, 200, kMail).mid(windows ? 1 : 0);
    return s;
}

// tarnwick-cli as a user runs it; the peer answers while the test waits for it. Returns what
// it wrote to standard error.
QString RunCli(QProcess &cli, const QStringList &args)
{
    cli.start(QStringLiteral(CLI_BINARY), args);
    QEventLoop wait;
    QObject::connect(&cli, &QProcess::finished, &wait, &QEventLoop::quit);
    QTimer::singleShot(60000, &wait, &QEventLoop::quit);
    wait.exec();
    return QString::fromUtf8(cli.readAllStandardError());
}

struct Fixture
{
    explicit Fixture(const ScriptedPeer &peer, bool pipelining = false, bool automatic = false,
                     MailProtocol protocol = MailProtocol::Pop3)
    {
        h.servers.slot(1) = {peer.Server(), QStringLiteral("alice"), QStringLiteral("secret"), TlsMode::None,
                             QString(), pipelining};
        h.servers.slot(1).protocol = protocol;
        h.general.ask = false;
        h.general.automatic = h.general.kill = automatic;
        h.general.minutes = 1;
        h.write(TGuardHome::StandardRules());
        guard.SetNetworkTimeOut(2);
        guard.FormCreate();
    }
    TGuardHome h;
    TScriptedPrompts prompts;
    TMailGuard guard{prompts};
};

TEST(GuardPeer, DeletionNotCommittedByQuitIsNeitherLoggedNorCounted)
{
    const struct { const char *name; QByteArray reply; PeerAction action; } cases[] = {
        {"QuitRefused", "-ERR cannot commit changes\r\n", PeerAction::Reply},
        {"LineDroppedAtQuit", "", PeerAction::ReplyAndClose},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PeerScript deletion{Greeting()};
        deletion += Login("+OK 2 320\r\n");
        deletion += Info(1, 120, kSpam);
        deletion += PeerStep{"UIDL 1", "+OK 1 id-1\r\n"};
        deletion += PeerStep{"DELE 1", "+OK marked\r\n"};
        deletion += PeerStep{"QUIT", c.reply, c.action};
        ScriptedPeer peer({Listing() << Quit(), deletion});
        Fixture f(peer);
        ASSERT_TRUE(f.guard.btListClick());
        ASSERT_EQ(f.guard.Messages().MarkedCount(), 1);

        f.guard.btDeleteClick();

        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(peer.Received().count("DELE 1"), 1);
        EXPECT_EQ(f.prompts.texts(TPromptCall::Error).size(), 1);
        EXPECT_TRUE(LinesWith(f.h.readLog(), QStringLiteral("DELETE SPAM")).isEmpty());
        EXPECT_EQ(StoredGeneral().count, 0);
        EXPECT_FALSE(f.guard.StatusText().startsWith(QStringLiteral("There were")));
        // Nothing was deleted, so the rows stay as the user saw them, ready for another try.
        EXPECT_EQ(f.guard.Messages().Count(), 2);
        EXPECT_EQ(f.guard.Messages().MarkedCount(), 1);
        EXPECT_FALSE(f.guard.IsBusy());
        EXPECT_TRUE(f.guard.Buttons().checkEnabled && f.guard.Buttons().trayMenuEnabled);
        EXPECT_FALSE(f.guard.Progress().visible);
    }
}

// A server that allows one log-in in ten minutes: when nobody confirms (tarnwick-cli's
// check --delete, the automatic pass with deletion) the spam goes in the listing's session.
TEST(GuardPeer, UnattendedDeletionNeedsOneLogIn)
{
    for (const bool automatic : {false, true}) {
        SCOPED_TRACE(automatic ? "automatic pass" : "check --delete");
        // The pass runs over a server that takes commands in windows, the CLI over one that does not.
        PeerScript session = Listing(automatic ? "PIPELINING\r\nUIDL\r\nLOGIN-DELAY 600\r\n" : "UIDL\r\nLOGIN-DELAY 600\r\n");
        session += PeerStep{"DELE 1", "+OK marked\r\n"};
        session += Quit();
        ScriptedPeer peer({session});
        Fixture f(peer, true, automatic);

        if (automatic) {
            f.guard.Timer1Timer();
        } else {
            QProcess cli;
            const QString err = RunCli(cli, {"--data", f.h.home.path(), "check", "--delete"});
            EXPECT_EQ(cli.exitCode(), 0) << err.toStdString();
            EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()),
                      QStringLiteral("0\tshop@pills.example\tCheap pills\n-1\tmum@example.com\tSunday\n"));
            EXPECT_TRUE(err.contains(QStringLiteral("Deleted 1 of 1 marked messages."))) << err.toStdString();
        }

        EXPECT_EQ(peer.Connections(), 1);
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        EXPECT_TRUE(f.prompts.calls.isEmpty());
        const QString log = f.h.readLog();
        EXPECT_EQ(LinesWith(log, QStringLiteral("MAIL CHECK 2 msg(s)")).size(), 1);
        EXPECT_EQ(LinesWith(log, QStringLiteral("   Subject: ")), QStringList{"   Subject: Cheap pills"});
        EXPECT_LT(log.indexOf(QStringLiteral("MAIL CHECK")), log.indexOf(QStringLiteral("DELETE SPAM")));
        EXPECT_EQ(StoredGeneral().count, 1);
        if (automatic) {
            ASSERT_EQ(f.guard.Messages().Count(), 1);
            EXPECT_EQ(f.guard.Messages().Row(0).subject, QStringLiteral("Sunday"));
        }
    }
}

// A refusal in a pass nobody watches is not dropped: it stays in the status panel and the log.
TEST(GuardPeer, RefusedDeletionInAQuietPassIsShownAndLogged)
{
    PeerScript session = Listing();
    session += PeerStep{"DELE 1", "-ERR message is locked\r\n"};
    ScriptedPeer peer({session});
    Fixture f(peer, false, true);

    f.guard.Timer1Timer();

    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    EXPECT_FALSE(peer.Received().contains("QUIT")) << "no QUIT: the server keeps every message";
    EXPECT_TRUE(f.prompts.calls.isEmpty());
    EXPECT_EQ(f.guard.StatusText(), QStringLiteral("-ERR message is locked"));
    const QString log = f.h.readLog();
    EXPECT_EQ(LinesWith(log, QStringLiteral("ERROR -ERR message is locked FOR alice ON ")).size(), 1);
    EXPECT_TRUE(LinesWith(log, QStringLiteral("DELETE SPAM")).isEmpty());
    EXPECT_EQ(StoredGeneral().count, 0);
    EXPECT_FALSE(f.guard.IsBusy());
}

TEST(GuardPeer, AnnouncedLoginDelayHoldsBackTheNextLogInAndSaysUntilWhen)
{
    PeerScript session = Listing("UIDL\r\nLOGIN-DELAY 600\r\n");
    session += Quit();
    ScriptedPeer peer({session, session});
    Fixture f(peer, true);
    EXPECT_FALSE(f.guard.LoginDelayPending(1));
    ASSERT_TRUE(f.guard.btListClick());
    EXPECT_TRUE(f.guard.LoginDelayPending(1));

    // The pass leaves the slot alone ...
    f.guard.Timer1Timer();
    const QString caption = f.guard.Captions().windowCaption;
    EXPECT_TRUE(caption.contains(QRegularExpression(
        QStringLiteral("^Tarnwick - No waiting messages found - MailBox alice skipped until \\d\\d:\\d\\d$"))))
        << caption.toStdString();
    EXPECT_EQ(f.guard.Captions().trayHint, caption);

    // ... and the window's deletion, which logs in again, says when it will be possible.
    f.guard.btDeleteClick();
    const QStringList errors = f.prompts.texts(TPromptCall::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QRegularExpression(QStringLiteral("deleting is possible from \\d\\d:\\d\\d"))))
        << errors[0].toStdString();
    EXPECT_EQ(peer.Connections(), 1);
    EXPECT_EQ(f.guard.Messages().MarkedCount(), 1) << "the marks stay for later";

    // The user's own check is not held back.
    EXPECT_TRUE(f.guard.btListClick());
    EXPECT_EQ(peer.Connections(), 2);
    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
}

TEST(GuardPeer, LoginRefusedAsTooSoon)
{
    const PeerScript refused{Greeting(), Capa("UIDL\r\n"), {"USER alice", "+OK\r\n"},
                             {"PASS secret", "-ERR [LOGIN-DELAY] wait five minutes\r\n"}};
    for (const bool visible : {false, true}) {
        SCOPED_TRACE(visible ? "window shown" : "window hidden");
        ScriptedPeer peer({refused, refused});
        Fixture f(peer, true, true);
        f.guard.SetMainWindowVisible(visible);

        f.guard.Timer1Timer();
        // Not an error of the server: the pass shows the mailbox as skipped.
        EXPECT_TRUE(f.prompts.calls.isEmpty());
        EXPECT_EQ(f.guard.Captions().windowCaption,
                  QStringLiteral("Tarnwick - No waiting messages found - MailBox alice skipped: its server asks "
                                 "for a pause between checks"));
        EXPECT_TRUE(LinesWith(f.h.readLog(), QStringLiteral("MAIL CHECK")).isEmpty());
        EXPECT_FALSE(f.guard.IsBusy());
        EXPECT_TRUE(f.guard.Timer1Enabled());

        // Asked for by hand, the refusal is explained.
        EXPECT_FALSE(f.guard.btListClick());
        const QStringList errors = f.prompts.texts(TPromptCall::Error);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(QStringLiteral("checked only a short while ago"))) << errors[0].toStdString();
        EXPECT_TRUE(errors[0].contains(QStringLiteral("-ERR [LOGIN-DELAY] wait five minutes")));
        EXPECT_EQ(peer.Connections(), 2);
    }
}

// The rows belong to the mailbox they were listed from: when the settings make their slot
// name another one, deleting and viewing them are refused before anything is sent.
TEST(GuardPeer, RowsOfAMailboxTheSlotNoLongerNamesAreNotActedOn)
{
    const struct { const char *name; std::function<void(MailboxSlot &)> change; } cases[] = {
        {"user", [](MailboxSlot &s) { s.mailbox = QStringLiteral("bob"); }},
        {"server", [](MailboxSlot &s) { s.server = QStringLiteral("127.0.0.2:") + s.server.section(u':', -1); }},
        {"port", [](MailboxSlot &s) { s.server = s.server.section(u':', 0, 0) + QStringLiteral(":1"); }},
        {"security", [](MailboxSlot &s) { s.tls = TlsMode::StartTls; }},
        {"protocol", [](MailboxSlot &s) { s.protocol = MailProtocol::Imap; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer({Listing() << Quit()});
        Fixture f(peer);
        ASSERT_TRUE(f.guard.btListClick());
        c.change(f.guard.Servers().slot(1));

        f.guard.btDeleteClick();
        EXPECT_TRUE(f.guard.RetrieveMessage(1).isEmpty());

        const QStringList errors = f.prompts.texts(TPromptCall::Error);
        ASSERT_EQ(errors.size(), 2);
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Mailbox 1 was changed in the settings after this list was "
                                                        "made, so nothing was deleted. Check e-mail again")))
            << errors[0].toStdString();
        EXPECT_TRUE(errors[1].contains(QStringLiteral("nothing was downloaded"))) << errors[1].toStdString();
        EXPECT_EQ(peer.Connections(), 1);
        EXPECT_EQ(f.guard.Messages().Count(), 2);
        EXPECT_FALSE(f.guard.IsBusy());
    }
}

// An OAuth2 IMAP slot: the standard mechanism where both are offered, the token as the
// initial response or after an empty challenge, and a refusal in the provider's words.
TEST(ImapSlot, OAuth2LogsInWithWhatTheServerOffers)
{
    const QByteArray bearer = QByteArray("n,a=alice,\x01" "auth=Bearer tok\x01\x01").toBase64();
    const QByteArray xoauth = QByteArray("user=alice\x01" "auth=Bearer tok\x01\x01").toBase64();
    const QByteArray expired = QByteArray(R"({"status":"401","schemes":"bearer"})").toBase64();
    const QByteArray scope = QByteArray(R"({"status":"403","scope":"https://mail.example/"})").toBase64();
    const PeerStep examine{"A2 CAPABILITY", "* CAPABILITY IMAP4rev1\r\nA2 OK\r\n"};
    struct Case {
        QByteArray caps;
        PeerScript steps;
        const char *error; // nullptr: logged in
    };
    const Case cases[] = {
        {"SASL-IR AUTH=PLAIN AUTH=XOAUTH2 AUTH=OAUTHBEARER",
         {{"A1 AUTHENTICATE OAUTHBEARER " + bearer, "+ " + expired + "\r\n"}, {"AQ==", "A1 NO Failed\r\n"}},
         "it has expired or was revoked"},
        {"SASL-IR AUTH=XOAUTH2",
         {{"A1 AUTHENTICATE XOAUTH2 " + xoauth, "+ " + scope + "\r\n"}, {"", "A1 NO [AUTHENTICATIONFAILED] No\r\n"}},
         "needs the scope https://mail.example/"},
        {"AUTH=XOAUTH2",
         {{"A1 AUTHENTICATE XOAUTH2", "+ \r\n"}, {xoauth, "A1 OK in\r\n"}, examine,
          {"A3 EXAMINE INBOX", "* OK [UIDVALIDITY 7] x\r\nA3 OK\r\n"}, {"A4 UID SEARCH UNSEEN UNDELETED", "* SEARCH\r\nA4 OK\r\n"}},
         nullptr},
        {"AUTH=PLAIN", {}, "does not offer the log-in method OAUTHBEARER"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caps.toStdString());
        ScriptedPeer peer{PeerScript{{"", "* OK [CAPABILITY IMAP4rev1 " + c.caps + "] hi\r\n"}} + c.steps};
        MailboxSlot slot{peer.Server(), "alice", "tok", TlsMode::None, {}};
        slot.protocol = MailProtocol::Imap;
        slot.login = MailboxLogin::OAuth2;
        TMailboxOptions options;
        options.timeOutSeconds = 5;
        const std::unique_ptr<TMailbox> mailbox = MakeMailbox(slot, options);
        QString error;
        try {
            mailbox->LogIn();
        } catch (const ENetError &e) {
            error = e.Message();
        }
        EXPECT_EQ(error.isEmpty(), !c.error) << error.toStdString();
        EXPECT_TRUE(!c.error || error.contains(QLatin1String(c.error))) << error.toStdString();
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    }
    // A stored sign-in: the token comes from the refresh token's source, not from the slot.
    TGuardHome h;
    UserSettings settings;
    ASSERT_TRUE(RememberSlotProvider(settings, 1, "google") && settings.flush());
    TOAuthTokenSource::Remember("refresh", "tok", QDateTime::currentDateTimeUtc().addSecs(3600));
    ScriptedPeer peer{PeerScript{{"", "* OK [CAPABILITY IMAP4rev1 AUTH=XOAUTH2] hi\r\n"}} + cases[2].steps};
    MailboxSlot slot{peer.Server(), "alice", {}, TlsMode::None, {}};
    slot.protocol = MailProtocol::Imap;
    slot.login = MailboxLogin::OAuth2;
    slot.refreshToken = "refresh";
    TMailboxOptions options;
    options.slot = 1;
    EXPECT_NO_THROW(MakeMailbox(slot, options)->LogIn());
    EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    TOAuthTokenSource::ForgetAll();
}

// An IMAP session of commands and their untagged replies; tags run on from next, LOGOUT closes.
using ImapSteps = QList<std::pair<QByteArray, QByteArray>>;
PeerScript ImapSession(const ImapSteps &steps, int &next)
{
    PeerScript s{{"", "* OK [CAPABILITY IMAP4rev1] hi\r\n"}};
    for (const auto &[command, untagged] : steps) {
        const QByteArray tag = 'A' + QByteArray::number(next++);
        s << PeerStep{tag + ' ' + command, untagged + tag + " OK\r\n",
                      command == "LOGOUT" ? PeerAction::ReplyAndClose : PeerAction::Reply};
    }
    return s;
}

QByteArray ImapHeader(int uid, const QList<QByteArray> &lines)
{
    const QByteArray header = lines.join("\r\n") + "\r\n\r\n", n = QByteArray::number(uid);
    return "* " + n + " FETCH (UID " + n + " RFC822.SIZE 200 BODY[HEADER] {" + QByteArray::number(header.size())
           + "}\r\n" + header + ")\r\n";
}

// Without UIDPLUS the spam is copied to Junk and flagged (and no longer listed), and the user
// learns that the mail program finishes it: in the window's status line, from check --delete.
TEST(ImapSlot, FlagOnlyDeletionIsToldToTheUser)
{
    const QByteArray items = " (UID RFC822.SIZE BODY.PEEK[HEADER])";
    const auto login = [](const QByteArray &found) {
        return ImapSteps{{"LOGIN alice secret", ""}, {"CAPABILITY", "* CAPABILITY IMAP4rev1\r\n"},
                         {"EXAMINE INBOX", "* OK [UIDVALIDITY 42] x\r\n"},
                         {"UID SEARCH UNSEEN UNDELETED", "* SEARCH " + found + "\r\n"}};
    };
    const ImapSteps both =
        login("7 9") << std::pair{"UID FETCH 7,9" + items, ImapHeader(7, kMail) + ImapHeader(9, kSpam)};
    const ImapSteps deletion = {
        {"SELECT INBOX", "* OK [UIDVALIDITY 42] x\r\n"}, {"LIST \"\" \"*\"", "* LIST (\\Junk) \"/\" Junk\r\n"},
        {"UID FETCH 9" + items, ImapHeader(9, kSpam)}, {"UID COPY 9 Junk", ""},
        {"UID STORE 9 +FLAGS.SILENT (\\Deleted)", ""}, {"LOGOUT", "* BYE bye\r\n"}};
    const std::pair<QByteArray, QByteArray> logout{"LOGOUT", "* BYE bye\r\n"};
    const QString notice = QStringLiteral("your mail program will finish the deletion");
    for (const bool cli : {false, true}) {
        SCOPED_TRACE(cli ? "check --delete" : "window");
        int tag = 1;
        // The window lists, deletes in a session of its own and lists again.
        const ImapSteps rest = login("7") << std::pair{"UID FETCH 7" + items, ImapHeader(7, kMail)} << logout;
        ScriptedPeer peer = cli ? ScriptedPeer{ImapSession(both + deletion, tag)}
                                : ScriptedPeer{ImapSession(ImapSteps(both) << logout, tag),
                                               ImapSession(login("7 9") + deletion, tag), ImapSession(rest, tag)};
        Fixture f(peer, false, false, MailProtocol::Imap);
        QString told;
        if (cli) {
            QProcess run;
            told = RunCli(run, {"--data", f.h.home.path(), "check", "--delete", "--json"});
            EXPECT_EQ(run.exitCode(), 0) << told.toStdString();
            EXPECT_TRUE(told.contains(QStringLiteral("Deleted 1 of 1 marked messages.\n"))) << told.toStdString();
            const QJsonObject box =
                QJsonDocument::fromJson(run.readAllStandardOutput()).object()["mailboxes"].toArray()[0].toObject();
            EXPECT_TRUE(box["notice"].toString().contains(notice)) << box["notice"].toString().toStdString();
        } else {
            ASSERT_TRUE(f.guard.btListClick());
            f.guard.btDeleteClick();
            told = f.guard.StatusText();
            EXPECT_TRUE(told.startsWith(QStringLiteral("There were 1 messages deleted. "))) << told.toStdString();
            EXPECT_EQ(f.guard.Messages().Count(), 1);
        }
        EXPECT_TRUE(told.contains(notice)) << told.toStdString();
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(peer.Connections(), cli ? 1 : 3);
    }
}

} // namespace
