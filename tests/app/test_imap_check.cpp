// An IMAP mailbox set up and checked with tarnwick-cli against the fixture's Dovecot, which
// serves the same mail over POP3 and IMAP: the same rows and marks, and a deletion that moves
// exactly the marked messages to Junk and changes no other message's flags.
#include "dovecot_test.h"
#include "guard_test.h"
#include "mailboxes.h"
#include "scripted_peer.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliRun { int exitCode = -1; QString out, err; };

CliRun Cli(const QString &data, const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TARNWICK_HOME"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CLI_BINARY), QStringList{"--data", data} + args);
    if (!p.waitForStarted(10000))
        return {};
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QJsonObject Json(const CliRun &run)
{
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// "mark sender subject" per row of a check's --json, in the order listed.
QStringList Rows(const QJsonObject &check)
{
    QStringList rows;
    for (const QJsonValue &m : check["messages"].toArray())
        rows << QStringLiteral("%1 %2 %3").arg(m["mark"].toInt()).arg(m["sender"].toString(), m["subject"].toString());
    return rows;
}

class ImapCheck : public DovecotTest
{
protected:
    // The subjects in a folder of the user's maildir (INBOX for none) with the flags in their
    // file names, sorted.
    QStringList Folder(const QString &user, const QString &folder = {}) const
    {
        QStringList found;
        const QString root = env.MailDir + u'/' + user + (folder.isEmpty() ? QString() : "/." + folder);
        for (const char *sub : {"/cur", "/new"}) {
            for (const QFileInfo &info : QDir(root + QLatin1String(sub)).entryInfoList(QDir::Files)) {
                QFile file(info.filePath());
                EXPECT_TRUE(file.open(QIODevice::ReadOnly));
                found << GetFieldValue(DecodeHeaderLines(file.readAll()), "Subject") + " :"
                             + info.fileName().section(QStringLiteral(":2,"), 1);
            }
        }
        found.sort();
        return found;
    }

    TGuardHome h;
};

TEST_F(ImapCheck, AnImapSlotMarksAsPop3AndMovesTheMarkedToJunk)
{
    Seed("imap08", StandardMailbox());
    h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
    const QString data = h.home.path();
    const QByteArray password = env.Password.toUtf8() + "\n";
    ASSERT_EQ(Cli(data, {"mailbox", "set", "1", "--server", Server(), "--user", "imap08", "--tls", "none",
                         "--password-stdin", "--store", "file"}, password).exitCode, 0);
    const QStringList pop3 = Rows(Json(Cli(data, {"check", "--slot", "1", "--json"}))["mailboxes"].toArray()[0].toObject());
    ASSERT_EQ(pop3.size(), 5);

    // Options an IMAP mailbox cannot use are refused before anything is stored.
    for (const QStringList &bad : {QStringList{"--protocol", "smtp"}, {"--imap-delete", "purge"}, {"--max-unseen", "0"},
                                   {"--max-unseen", "100001"}, {"--folder", " "}, {"--whole-folder", "--unseen-only"}}) {
        const CliRun refused = Cli(data, QStringList{"mailbox", "set", "1"} + bad);
        EXPECT_EQ(refused.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_FALSE(refused.err.isEmpty());
    }
    // The same mailbox switched to IMAP keeps its user name, password and rules.
    const CliRun set = Cli(data, {"mailbox", "set", "1", "--server", env.Server(env.ImapPort), "--protocol", "imap"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const QJsonObject listed = Json(Cli(data, {"mailbox", "list", "--json"}))["mailboxes"].toArray()[0].toObject();
    EXPECT_EQ(listed["protocol"].toString(), "imap");
    EXPECT_EQ(listed["folder"].toString(), "INBOX");
    EXPECT_EQ(listed["imapDelete"].toString(), "junk");
    EXPECT_EQ(listed["maxUnseen"].toInt(), 500);
    EXPECT_TRUE(Cli(data, {"mailbox", "list"}).out.endsWith("\timap\tINBOX\n"));

    const QStringList before = Folder("imap08");
    const QJsonObject check = Json(Cli(data, {"check", "--slot", "1", "--json", "--delete"}))["mailboxes"].toArray()[0].toObject();
    ASSERT_TRUE(check["ok"].toBool()) << check["error"].toString().toStdString();
    QStringList imap = Rows(check);
    // IMAP lists the newest first.
    std::reverse(imap.begin(), imap.end());
    EXPECT_EQ(imap, pop3);
    // Newest first: the blacklisted (mark 2) and pills (mark 0) messages are numbers 4 and 5.
    EXPECT_EQ(check["deleted"].toArray(), (QJsonArray{4, 5}));
    const QStringList subjects = StandardSubjects();
    EXPECT_EQ(Folder("imap08", "Junk"), (QStringList{subjects[0] + " :", subjects[1] + " :"}));
    QStringList kept = before;
    kept.removeAll(subjects[0] + " :");
    kept.removeAll(subjects[1] + " :");
    EXPECT_EQ(Folder("imap08"), kept) << "nothing else moved, nothing marked read";
    EXPECT_EQ(WaitingSubjects(Server(), "imap08", env.Password), subjects.mid(2));
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
          {"A3 EXAMINE INBOX", "* OK [UIDVALIDITY 7] x\r\nA3 OK\r\n"}},
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
}

} // namespace
