// tarnwick-cli as a user runs it: mailbox set-up (the password only through standard input),
// a check and a deletion against the Dovecot of the test fixture, failures, check --all and
// --json for scripts, the exit status by failure class, "rules" and "classify". Trusting a
// self-signed certificate is the guard's evidence (GuardDovecot).
#include "dovecot_test.h"
#include "guard_test.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPassword = QStringLiteral("s3cret-Pw!");

struct ToolRun { int exitCode = -1; QString out, err; };

// lang: the desktop's language, else the tests' English one.
ToolRun Tool(const char *binary, const QStringList &args, const QByteArray &input = {}, const QString &lang = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TARNWICK_HOME"));
    if (!lang.isEmpty()) {
        env.remove(QStringLiteral("LC_ALL"));
        env.insert(QStringLiteral("LANG"), lang);
    }
    p.setProcessEnvironment(env);
    p.start(QString::fromLocal8Bit(binary), args);
    if (!p.waitForStarted(10000))
        return {};
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

ToolRun Cli(const QString &data, const QStringList &args, const QByteArray &input = {}, const QString &lang = {})
{
    return Tool(CLI_BINARY, QStringList{"--data", data} + args, input, lang);
}

class CliDovecot : public DovecotTest
{
protected:
    int Waiting(const QString &user) const { return WaitingSubjects(Server(), user, env.Password).size(); }
    TGuardHome h;
};

QJsonObject ParseJson(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
    return document.object();
}

// What a check does (marks, log, hit counts, one session) is the guard's own evidence; here
// the command line: its output, one session for check --delete, and check --all through every
// configured mailbox, one failing not stopping the others, with an exit status that says
// whether trying again later can help: 75 for a server that cannot be reached, 77 when any
// log-in was refused.
TEST_F(CliDovecot, CheckAllGivesEachMailboxAndTheFailureClass)
{
    Seed("user23", StandardMailbox());
    h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
    const QString data = h.home.path();
    QTcpServer closed; // a port that was free a moment ago: nobody listens there
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString closedServer = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    const struct { const char *slot; QString server; QByteArray password; int alone; } boxes[] = {
        {"1", Server(), env.Password.toUtf8(), 0}, {"3", closedServer, "pw", 75}, {"4", Server(), "wrong", 77}};
    for (const auto &b : boxes) {
        const ToolRun set = Cli(data, {"mailbox", "set", b.slot, "--server", b.server, "--user", "user23", "--tls",
                                       "none", "--password-stdin", "--store", "file"}, b.password + "\n");
        ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
        const ToolRun check = Cli(data, {"check", "--slot", b.slot});
        EXPECT_EQ(check.exitCode, b.alone) << b.slot;
        if (b.alone == 0) {
            EXPECT_TRUE(set.err.isEmpty()) << "a server on this machine: no warning";
            EXPECT_EQ(check.out, QStringLiteral("0\tshop@pills.example\tCheap pills today\n"
                                                "2\tspammer@known-spam.example\tHello there\n"
                                                "5\tfriend@example.org\tCheap pills for you\n"
                                                "1\tsomeone@example.net\tMeeting\n"
                                                // The first-run rule of mailbox 1 (mail not addressed
                                                // to user23) only ever makes a message suspect.
                                                "1\tcolleague@example.com\tLunch\n"));
        }
    }

    const ToolRun all = Cli(data, {"check", "--all"});
    EXPECT_EQ(all.exitCode, 77);
    EXPECT_EQ(all.out.count(QStringLiteral("\n1\t")) + all.out.startsWith(QStringLiteral("1\t")), 5) << all.out.toStdString();
    EXPECT_TRUE(all.err.contains(QStringLiteral("mailbox 3: error: ")) && all.err.contains(QStringLiteral("mailbox 4: error: ")))
        << all.err.toStdString();

    const ToolRun json = Cli(data, {"check", "--all", "--delete", "--json"});
    EXPECT_EQ(json.exitCode, 77);
    const QJsonArray mailboxes = ParseJson(json.out)["mailboxes"].toArray();
    ASSERT_EQ(mailboxes.size(), 3);
    const QJsonObject first = mailboxes[0].toObject();
    EXPECT_TRUE(first["ok"].toBool());
    QList<int> marks;
    for (const QJsonValue &m : first["messages"].toArray()) {
        marks << m["mark"].toInt();
        EXPECT_EQ(m["number"].toInt(), marks.size());
        EXPECT_FALSE(m["uid"].toString().isEmpty() || m["sender"].toString().isEmpty() || m["date"].toString().isEmpty());
        EXPECT_GT(m["size"].toInt(), 0);
    }
    EXPECT_EQ(marks, (QList<int>{0, 2, 5, 1, 1}));
    EXPECT_EQ(first["deleted"].toArray(), (QJsonArray{1, 2}));
    EXPECT_EQ(first["changed"].toArray(), QJsonArray());
    EXPECT_EQ(Waiting("user23"), 3);
    // The log and the count of a deletion in the listing's session: GuardPeer.UnattendedDeletionNeedsOneLogIn.
    for (const auto &[index, failure] : {std::pair{1, "temporary"}, std::pair{2, "permanent"}}) {
        const QJsonObject box = mailboxes[index].toObject();
        EXPECT_EQ(box["slot"].toInt(), index + 2);
        EXPECT_FALSE(box["ok"].toBool());
        EXPECT_EQ(box["failure"].toString(), QString::fromLatin1(failure));
        EXPECT_FALSE(box["error"].toString().isEmpty());
    }

    // On a German desktop the messages for people are German; what scripts and the log read
    // stays as it is: the exit status, the --json document, the log's English.
    const QString german = QStringLiteral("de_DE.UTF-8");
    const QString unreachable = QStringLiteral("ERROR Error #10061: ");
    const qsizetype loggedBefore = LinesWith(h.readLog(), unreachable).size();
    const struct { QStringList args; int status; const char *said; } germanRuns[] = {
        {{"check", "--slot", "4"}, 77, "Der Server hat Benutzername oder Passwort abgelehnt"},
        {{"check", "--slot", "3"}, 75, "Fehler Nr. 10061"},
        {{"check", "--slot", "99"}, 2, "--slot braucht eine Postfachnummer von 1 bis 12"},
        {{"rules", "remove", "subject", "99"}, 2, "die Liste subject hat keine Regel 99"}};
    for (const auto &run : germanRuns) {
        const ToolRun said = Cli(data, run.args, {}, german);
        EXPECT_EQ(said.exitCode, run.status) << run.said;
        EXPECT_TRUE(said.err.contains(QString::fromUtf8(run.said))) << said.err.toStdString();
    }
    const ToolRun englishJson = Cli(data, {"check", "--slot", "4", "--json"});
    const ToolRun germanJson = Cli(data, {"check", "--slot", "4", "--json"}, {}, german);
    EXPECT_EQ(germanJson.exitCode, 77);
    EXPECT_EQ(germanJson.out.toStdString(), englishJson.out.toStdString());
    EXPECT_EQ(LinesWith(h.readLog(), unreachable).size(), loggedBefore + 1) << "the German run logs in English";
    EXPECT_FALSE(h.readLog().contains(QStringLiteral("Fehler"))) << h.readLog().toStdString();
}

// An IMAP mailbox over the same mail as a POP3 one: the same rows and marks, and a deletion
// that moves exactly the marked messages to Junk and changes no other message's flags.
TEST_F(CliDovecot, AnImapMailboxMarksAsPop3AndMovesTheMarkedToJunk)
{
    Seed("imap08", StandardMailbox());
    h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
    const QString data = h.home.path();
    ASSERT_EQ(Cli(data, {"mailbox", "set", "1", "--server", Server(), "--user", "imap08", "--tls", "none",
                         "--password-stdin", "--store", "file"}, env.Password.toUtf8() + "\n").exitCode, 0);
    const auto check = [&](const QStringList &more) {
        return ParseJson(Cli(data, QStringList{"check", "--slot", "1", "--json"} + more).out)["mailboxes"].toArray()[0].toObject();
    };
    const auto rows = [](const QJsonObject &checked) {
        QStringList rows;
        for (const QJsonValue &m : checked["messages"].toArray())
            rows << (QStringLiteral("%1 %2 %3").arg(m["mark"].toInt()).arg(m["sender"].toString(), m["subject"].toString()));
        return rows;
    };
    const QStringList pop3 = rows(check({}));
    ASSERT_EQ(pop3.size(), 5);
    // The same mailbox switched to IMAP keeps its user name, password and rules.
    ASSERT_EQ(Cli(data, {"mailbox", "set", "1", "--server", env.Server(env.ImapPort), "--protocol", "imap"}).exitCode, 0);
    const QJsonObject listed = ParseJson(Cli(data, {"mailbox", "list", "--json"}).out)["mailboxes"].toArray()[0].toObject();
    EXPECT_EQ(QStringList({listed["protocol"].toString(), listed["folder"].toString(), listed["imapDelete"].toString()}),
              QStringList({"imap", "INBOX", "junk"}));
    EXPECT_TRUE(Cli(data, {"mailbox", "list"}).out.endsWith("\timap\tINBOX\n"));

    const QStringList before = Folder("imap08");
    const QJsonObject imap = check({"--delete"});
    ASSERT_TRUE(imap["ok"].toBool()) << imap["error"].toString().toStdString();
    // Newest first: the same rows read backwards; the blacklisted and pills messages are 4 and 5.
    EXPECT_EQ(rows(imap), (QStringList{pop3.rbegin(), pop3.rend()}));
    EXPECT_EQ(imap["deleted"].toArray(), (QJsonArray{4, 5}));
    EXPECT_FALSE(imap.contains("notice")) << "Dovecot removes single messages (UIDPLUS)";
    const QStringList subjects = StandardSubjects();
    const QStringList moved{subjects[0] + " :", subjects[1] + " :"};
    EXPECT_EQ(Folder("imap08", "Junk"), moved);
    QStringList after = Folder("imap08") + moved;
    after.sort();
    EXPECT_EQ(after, before) << "nothing else moved, nothing marked read";
    EXPECT_EQ(WaitingSubjects(Server(), "imap08", env.Password), subjects.mid(2));
}

// The failure classes from a check's result, as the exit status reports them.
TEST(Cli, FailureClassOfACheck)
{
    const auto failed = [](const std::function<void(TTaskResult &)> &set) { TTaskResult r; r.ok = false; set(r); return r; };
    const auto login = [](const char *line) {
        return [line](TTaskResult &r) { r.serverRefused = r.loginRefused = true, r.text = QString::fromLatin1(line); };
    };
    const struct { const char *name; TTaskResult result; TFailureClass expected; } cases[] = {
        {"ok", TTaskResult{}, TFailureClass::None},
        {"port closed", failed([](TTaskResult &r) { r.socketCode = SocketCode::kConnectionRefused; }), TFailureClass::Temporary},
        {"no such host", failed([](TTaskResult &r) { r.socketCode = SocketCode::kHostNotFound; }), TFailureClass::Temporary},
        {"timed out", failed([](TTaskResult &r) { r.timedOut = true; }), TFailureClass::Temporary},
        {"dial-up", failed([](TTaskResult &r) { r.dialUp = true; }), TFailureClass::Temporary},
        {"login delay", failed([&](TTaskResult &r) { login("-ERR [LOGIN-DELAY] wait")(r), r.loginDelay = true; }), TFailureClass::Temporary},
        {"mailbox in use", failed(login("-ERR [IN-USE] locked")), TFailureClass::Temporary},
        {"IMAP server unavailable", failed(login("refused the log-in ([UNAVAILABLE] later)")), TFailureClass::Temporary},
        {"password", failed(login("-ERR [AUTH] Authentication failed.")), TFailureClass::Permanent},
        {"certificate", failed([](TTaskResult &r) { r.fingerprint = QStringLiteral("ab").repeated(32); }), TFailureClass::Permanent},
        {"command after log-in", failed([](TTaskResult &r) { r.serverRefused = true; }), TFailureClass::Other},
        {"garbled reply", failed([](TTaskResult &) {}), TFailureClass::Other},
        {"canceled", failed([](TTaskResult &r) { r.canceled = true; }), TFailureClass::Other},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClassifyFailure(c.result), c.expected) << c.name;
}

TEST(Cli, MailboxSetAndListKeepThePasswordOutOfSight)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("fresh"));
    QStringList everything;
    const ToolRun first = Cli(data, {"mailbox", "set", "1", "--server", "pop.example.org", "--user", "alice@example.org",
                                 "--password-stdin", "--store", "file"},
                          kPassword.toUtf8() + "\r\n");
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    // A new mailbox uses TLS unless told otherwise; the first one brings its header rule.
    EXPECT_EQ(first.out, QStringLiteral("Mailbox 1 stored: alice@example.org on pop.example.org, security implicit; "
                                        "header rule \"To does not contain alice@example.org - MailBox #1\" "
                                        "(suspect) added\n"));
    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();
    const QString fp = QStringLiteral("ab").repeated(32);
    const ToolRun third = Cli(data, {"mailbox", "set", "3", "--server", "mail.example.net:110", "--user", "bob", "--tls",
                                 "none", "--trust-fingerprint", fp, "--password-stdin", "--store", "file"},
                          "other-pw\n");
    ASSERT_EQ(third.exitCode, 0) << third.err.toStdString();
    EXPECT_TRUE(third.err.startsWith(QStringLiteral("tarnwick-cli: warning: Mailbox 3 uses plain POP3 without "
                                                    "encryption: the password and the mail cross the network to "
                                                    "mail.example.net")))
        << third.err.toStdString();
    const ToolRun list = Cli(data, {"mailbox", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, QStringLiteral("1*\tpop.example.org\talice@example.org\timplicit\tpassword set\t-\tpop3\t-\n"
                                       "3\tmail.example.net:110\tbob\tnone\tpassword set\t%1\tpop3\t-\n")
                            .arg(FormatFingerprint(fp)));
    const ToolRun listJson = Cli(data, {"mailbox", "list", "--json"});
    const QJsonArray boxes = ParseJson(listJson.out)["mailboxes"].toArray();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1].toObject(), (QJsonObject{{"slot", 3}, {"selected", false}, {"server", "mail.example.net:110"},
                                                {"user", "bob"}, {"tls", "none"}, {"passwordSet", true},
                                                {"fingerprint", fp}, {"pipelining", true}, {"protocol", "pop3"}}));
    EXPECT_TRUE(boxes[0]["selected"].toBool());
    for (const ToolRun &r : {first, third, list, listJson})
        everything << r.out << r.err;
    EXPECT_FALSE(everything.join(u'\n').contains(kPassword));
    EXPECT_FALSE(everything.join(u'\n').contains(QStringLiteral("other-pw")));

    QFile settings(data + QStringLiteral("/settings.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_FALSE(settings.readAll().contains(kPassword.toUtf8())) << "stored scrambled";
    EXPECT_EQ(settings.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    qputenv("TARNWICK_HOME", QFile::encodeName(data));
    {
        UserSettings stored;
        const ServerSettings servers = readServerSettings(stored);
        EXPECT_EQ(servers.slot(1).password, kPassword) << "the CR of a CR LF line end is not part of it";
    }
    qunsetenv("TARNWICK_HOME");

    // Changing the user keeps the stored password and security; the warning was given once.
    const ToolRun rename = Cli(data, {"mailbox", "set", "3", "--user", "robert"});
    EXPECT_EQ(rename.exitCode, 0) << rename.err.toStdString();
    EXPECT_TRUE(rename.err.isEmpty()) << rename.err.toStdString();
    EXPECT_TRUE(Cli(data, {"mailbox", "list"}).out.contains(QStringLiteral("3\tmail.example.net:110\trobert\tnone\tpassword set")));
}

struct UsageCase { const char *name; QStringList args; QByteArray input; int exitCode; const char *message; };

TEST(Cli, BadCommandLinesAreRefusedWithAReason)
{
    QTemporaryDir dir;
    const QString data = dir.path();
    const UsageCase cases[] = {
        {"PasswordOnCommandLine", {"mailbox", "set", "1", "--server", "h", "--user", "u", "--password", "pw"}, {}, 2,
         "never given on the command line"},
        {"SlotOutOfRange", {"mailbox", "set", "13", "--server", "h"}, {}, 2, "from 1 to 12"},
        {"UnknownTls", {"mailbox", "set", "1", "--tls", "ssl"}, {}, 2, "none, implicit or stls"},
        {"BadFingerprint", {"mailbox", "set", "1", "--trust-fingerprint", "12:34"}, {}, 2, "64 hex digits"},
        {"NewSlotWithoutPassword", {"mailbox", "set", "2", "--server", "h", "--user", "u"}, {}, 1,
         "Mailbox 2 - there is no password set"},
        {"EmptyPassword", {"mailbox", "set", "2", "--server", "h", "--user", "u", "--password-stdin"}, "\n", 1,
         "no password on standard input"},
        {"CheckSlot", {"check", "--slot", "0"}, {}, 2, "from 1 to 12"},
        {"UnknownCommand", {"fetch"}, {}, 2, "unknown command fetch"},
        {"SlotAndAll", {"check", "--slot", "1", "--all"}, {}, 2, "--slot or --all, not both"},
        {"OptionOfTheOtherSubcommand", {"mailbox", "list", "--server", "h"}, {}, 2, "mailbox list takes no --server"},
        {"NothingToCheck", {"check", "--all"}, {}, 1, "No mailbox is set up"},
        {"UnknownProtocol", {"mailbox", "set", "1", "--protocol", "smtp"}, {}, 2, "pop3 or imap"},
        {"UnknownImapAction", {"mailbox", "set", "1", "--imap-delete", "purge"}, {}, 2, "junk, trash or delete"},
        {"UnseenOutOfRange", {"mailbox", "set", "1", "--max-unseen", "100001"}, {}, 2, "from 1 to 100000"},
        {"BlankFolder", {"mailbox", "set", "1", "--folder", " "}, {}, 2, "the name of a folder"},
        {"UnknownAuth", {"mailbox", "set", "1", "--auth", "kerberos"}, {}, 2, "--auth takes password or oauth2"},
        {"TokenLogInWithPassword", {"mailbox", "set", "1", "--auth", "oauth2", "--password-stdin"}, "pw\n", 2,
         "--auth oauth2 does not go with that secret"},
        {"ProviderWithoutOAuth2", {"mailbox", "set", "1", "--provider", "google"}, {}, 2, "goes with --auth oauth2"},
        {"UnknownProvider", {"mailbox", "set", "1", "--auth", "oauth2", "--provider", "aol"}, {}, 2, "google or microsoft"},
        {"NoClientId", {"mailbox", "set", "1", "--user", "a@gmail.com", "--auth", "oauth2", "--store", "file"}, {}, 1,
         "settings.ini, section [OAuth2], as GoogleClientId"},
        {"NoKnownProvider", {"mailbox", "set", "1", "--user", "a@example.org", "--auth", "oauth2", "--store", "file"}, {}, 1,
         "give --provider google or --provider microsoft"},
        {"TestEmptySlot", {"mailbox", "test", "4"}, {}, 1, "mailbox 4 is not set up"},
        {"TestTakesNoOptions", {"mailbox", "test", "4", "--json"}, {}, 2, "mailbox test takes no --json"},
    };
    for (const UsageCase &c : cases) {
        const ToolRun r = Cli(data, c.args, c.input);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name;
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.message))) << c.name << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("pw\n"))) << c.name;
    }
    EXPECT_FALSE(Cli(data, {"mailbox", "list"}).out.contains(QStringLiteral("\th\t"))) << "no refused slot was stored";
    const ToolRun help = Tool(CLI_BINARY, {"check", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("  75  temporary failure")) && help.out.contains(QStringLiteral("  77  permanent")));
    EXPECT_TRUE(Tool(CLI_BINARY, {"--version"}).out.startsWith(QStringLiteral("tarnwick-cli 0.")));
    const ToolRun missing = Tool(CLI_BINARY, {"--data", dir.filePath(QStringLiteral("typo")), "check"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("typo"))));
}

// rules add and remove change what a check would mark, with the rule dialogs' checks: a row a
// dialog refuses is refused with its message and a usage status, and nothing is stored.
TEST(Cli, RulesChangeWhatClassifyGives)
{
    TGuardHome h;
    h.write({}, {QStringLiteral("placeholder.example")});
    const QString data = h.home.path();
    const QString mail = h.home.file(QStringLiteral("m.eml"));
    QFile file(mail);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(Mail("ann@shop.example", "Quarterly offer")) > 0);
    file.close();
    const struct { QStringList args; int exitCode; const char *mark; const char *message; } steps[] = {
        {{"add", "subject", "--op", "contains (whole word)", "offer"}, 0, "0", "Added subject rule 1"},
        {{"add", "except", "--kind", "domain", "--picture", "7", "shop.example"}, 0, "7", "Added except rule 1"},
        {{"remove", "except", "1"}, 0, "0", ""},
        {{"remove", "subject", "1"}, 0, "-1", ""},
        {{"add", "blacklist", "ann@shop.example"}, 0, "2", ""},
        {{"remove", "blacklist", "ANN@shop.example"}, 0, "-1", ""},
        {{"add", "header", "--kind", "to-lacks", "me@example.org"}, 2, "-1", "Choose the mailbox this rule is for."},
        {{"add", "sender", "--op", "Sounds like", "x"}, 2, "-1", "--op for sender rules takes one of"},
        {{"add", "except", "--picture", "2", "friend@example.org"}, 2, "-1", "from 3 to 14"},
        {{"add", "blacklist", "1234@shop.example"}, 2, "-1", "generated"},
        {{"remove", "subject", "1"}, 2, "-1", "has no rule 1"},
        {{"add", "filters", "x"}, 2, "-1", "no list filters"},
        {{"add", "subject", "--kind", "address", "offer"}, 2, "-1", "rules add subject takes no --kind"},
        {{"add", "subject", "--op", "Is blank", "offer"}, 2, "-1", "\"Is blank\" compares with no text"},
    };
    for (const auto &step : steps) {
        const QString name = step.args.join(u' ');
        const ToolRun r = Cli(data, QStringList{"rules"} + step.args);
        EXPECT_EQ(r.exitCode, step.exitCode) << name.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE((r.out + r.err).contains(QString::fromUtf8(step.message))) << name.toStdString();
        EXPECT_EQ(Cli(data, {"rules", "test", mail}).out, QStringLiteral("%1\t%2\n").arg(step.mark, mail))
            << name.toStdString();
    }
    EXPECT_EQ(Cli(data, {"rules", "list"}).out, QStringLiteral("blacklist\tplaceholder.example\n"));
    // classify reads the same rules (its output is tarnwick-classify's, tested with that tool).
    EXPECT_EQ(Cli(data, {"rules", "add", "blacklist", "shop.example"}).exitCode, 0);
    EXPECT_EQ(Cli(data, {"classify", mail}).out, QStringLiteral("2\t%1\n").arg(mail));
}


} // namespace
