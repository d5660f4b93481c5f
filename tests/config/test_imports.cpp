#include "imports.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const ImportedMailbox &box, std::ostream *os)
{
    *os << "{server \"" << box.server.toStdString() << "\", mailbox \"" << box.mailbox.toStdString()
        << "\", tls " << int(box.tls) << "}";
}

namespace {

// A machine store with fixed values, as a Windows registry would hold them.
class FakeMachine final : public SettingsReader
{
public:
    QHash<QString, QString> values; // "section|name" -> text
    std::optional<QString> value(const QString &section, const QString &name) const override
    {
        const auto it = values.constFind(section + u'|' + name);
        return it == values.cend() ? std::nullopt : std::optional<QString>(*it);
    }
};

// ---- Thunderbird ----

TEST(ThunderbirdProfiles, InstallDefaultThenMarkedDefaultThenTheRest)
{
    const QString ini = QStringLiteral("[Profile2]\nName=old\nIsRelative=0\nPath=/srv/mail/old\n\n"
        "[Install4F96D1932A9F858E]\nDefault=ab12.default-release\nLocked=1\n\n"
        "[Profile1]\nName=default\nIsRelative=1\nPath=zz99.default\nDefault=1\n\n"
        "[Profile0]\nName=default-release\nIsRelative=1\nPath=ab12.default-release\n\n"
        "[General]\nStartWithLastProfile=1\nVersion=2\n");
    const QList<ThunderbirdProfile> expected{
        {"ab12.default-release", true}, {"zz99.default", true}, {"/srv/mail/old", false}};
    EXPECT_EQ(ParseThunderbirdProfiles(ini), expected);
}

TEST(ThunderbirdProfiles, NothingUsable)
{
    for (const char *text : {"", "[General]\nVersion=2\n", "[Profile0]\nName=x\n", "garbage\n=\n["})
        EXPECT_TRUE(ParseThunderbirdProfiles(QString::fromUtf8(text)).isEmpty()) << text;
}

TEST(PrefsJs, ValuesOfEveryKindAndBrokenLinesSkipped)
{
    const QString prefs = QString::fromUtf8("// Mozilla User Preferences\n"
        "user_pref(\"mail.server.server1.hostname\", \"pop.example.org\");\n"
        "user_pref(\"mail.server.server1.port\", 995);\n"
        "user_pref(\"mail.server.server1.check_new_mail\", true);\n"
        "user_pref(\"quoted\", \"say \\\"hi\\\" \\\\ \\u00e9\");\n"
        "  user_pref( 'single' ,  'x' ) ;\n"
        "user_pref(\"unterminated\", \"abc);\n"
        "user_pref(\"noclose\", 5;\n"
        "pref(\"other\", 1);\n");
    const QHash<QString, QString> parsed = ParsePrefsJs(prefs);
    const QHash<QString, QString> expected{
        {"mail.server.server1.hostname", "pop.example.org"},
        {"mail.server.server1.port", "995"},
        {"mail.server.server1.check_new_mail", "true"},
        {"quoted", QString::fromUtf8("say \"hi\" \\ \u00e9")},
        {"single", "x"}};
    EXPECT_EQ(parsed, expected);
}

// Thunderbird's preferences as prefs.js gives them (reading that file: PrefsJs above), with
// "mail.server.serverN." written as "N.".
QHash<QString, QString> prefsOf(std::initializer_list<std::pair<const char *, const char *>> values)
{
    QHash<QString, QString> prefs;
    for (const auto &[key, value] : values) {
        const QString k = QString::fromUtf8(key);
        prefs.insert(k.front().isDigit() ? QStringLiteral("mail.server.server") + k : QStringLiteral("mail.") + k,
                     QString::fromUtf8(value));
    }
    return prefs;
}

TEST(FirstPop3Account, Cases)
{
    struct Case { const char *name; QHash<QString, QString> prefs; std::optional<ImportedMailbox> expected; };
    const Case cases[] = {
        {"first POP3 account in account-manager order, IMAP skipped",
         prefsOf({{"accountmanager.accounts", "account3,account1,account2"},
                  {"account.account3.server", "server3"}, {"3.type", "imap"}, {"3.hostname", "imap.example.org"},
                  {"account.account1.server", "server1"}, {"1.type", "pop3"}, {"1.hostname", "pop.one.example"},
                  {"1.userName", "alice"}, {"account.account2.server", "server2"}, {"2.type", "pop3"},
                  {"2.hostname", "pop.two.example"}, {"2.userName", "bob"}}),
         ImportedMailbox{"pop.one.example", "alice", TlsMode::None}},
        {"implicit TLS on its usual port keeps the bare host",
         prefsOf({{"1.type", "pop3"}, {"1.hostname", "pop.example.org"}, {"1.userName", "alice@example.org"},
                  {"1.port", "995"}, {"1.socketType", "3"}}),
         ImportedMailbox{"pop.example.org", "alice@example.org", TlsMode::Implicit}},
        {"STARTTLS on an unusual port carries the port",
         prefsOf({{"7.type", "pop3"}, {"7.hostname", "mail.example.org"}, {"7.userName", "carol"},
                  {"7.port", "1110"}, {"7.socketType", "2"}}),
         ImportedMailbox{"mail.example.org:1110", "carol", TlsMode::StartTls}},
        {"opportunistic STARTTLS is taken as required",
         prefsOf({{"1.type", "pop3"}, {"1.hostname", "h.example"}, {"1.socketType", "1"}}),
         ImportedMailbox{"h.example", "", TlsMode::StartTls}},
        {"renamed host and user win; IPv6 host with port gets brackets",
         prefsOf({{"1.type", "pop3"}, {"1.hostname", "old.example"}, {"1.realhostname", "2001:db8::5"},
                  {"1.userName", "old"}, {"1.realuserName", "new"}, {"1.port", "2110"}}),
         ImportedMailbox{"[2001:db8::5]:2110", "new", TlsMode::None}},
        {"without an account list the lowest server number wins (numerically)",
         prefsOf({{"10.type", "pop3"}, {"10.hostname", "ten.example"}, {"9.type", "pop3"},
                  {"9.hostname", "nine.example"}}),
         ImportedMailbox{"nine.example", "", TlsMode::None}},
        {"a host with a line break or blank is not taken over",
         prefsOf({{"1.type", "pop3"}, {"1.hostname", "evil.example\nServer2=x"}, {"2.type", "pop3"},
                  {"2.hostname", "good.example"}}),
         ImportedMailbox{"good.example", "", TlsMode::None}},
        {"POP3 account without a host", prefsOf({{"1.type", "pop3"}}), std::nullopt},
        {"only IMAP and local folders",
         prefsOf({{"1.type", "imap"}, {"1.hostname", "imap.example"}, {"2.type", "none"}}), std::nullopt},
        {"no prefs at all", {}, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FirstPop3Account(c.prefs), c.expected) << c.name;
}

TEST(ThunderbirdImport, ReadsTheDefaultProfileFromDisk)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString root = home.path() + "/.thunderbird";
    WriteTestFile(root + "/profiles.ini", "[Profile0]\nName=empty\nIsRelative=1\nPath=e0.empty\n\n"
              "[Profile1]\nName=main\nIsRelative=1\nPath=m1.main\nDefault=1\n");
    // The default profile has no POP3 account; the next one does.
    WriteTestFile(root + "/m1.main/prefs.js", "user_pref(\"mail.server.server1.type\", \"imap\");\n"
              "user_pref(\"mail.server.server1.hostname\", \"imap.example\");\n");
    WriteTestFile(root + "/e0.empty/prefs.js", "user_pref(\"mail.server.server2.type\", \"pop3\");\r\n"
              "user_pref(\"mail.server.server2.hostname\", \"pop.example\");\r\n"
              "user_pref(\"mail.server.server2.userName\", \"dave\");\r\n");
    EXPECT_EQ(ImportThunderbirdMailbox(home.path()), (ImportedMailbox{"pop.example", "dave", TlsMode::None}));

    QTemporaryDir empty;
    EXPECT_EQ(ImportThunderbirdMailbox(empty.path()), std::nullopt);
}

// ---- desktop entries ----

TEST(DesktopEntryCommand, FieldCodesDroppedQuotingKept)
{
    struct Case { const char *name; const char *file; const char *expected; };
    const Case cases[] = {
        {"plain program with URL code", "[Desktop Entry]\nName=Thunderbird\nExec=/usr/bin/thunderbird %u\n",
         "/usr/bin/thunderbird"},
        {"several codes, upper and lower case",
         "[Desktop Entry]\nExec=evolution %U %F --component=mail %f\n", "evolution --component=mail"},
        {"literal percent stays", "[Desktop Entry]\nExec=mailer --ratio=50%% %u\n", "mailer --ratio=50%"},
        {"quoted path with a blank",
         "[Desktop Entry]\nExec=\"/opt/My Mail/mail\" -compose %u\n", "\"/opt/My Mail/mail\" -compose"},
        {"escaped quote inside quotes", "[Desktop Entry]\nExec=\"/opt/a\\\"b/mail\" %u\n",
         "\"/opt/a\"\"\"b/mail\""},
        {"general escapes: \\s is a blank", "[Desktop Entry]\nExec=\"/opt/x\\sy/mail\"\n", "\"/opt/x y/mail\""},
        {"%c becomes the name, %i the icon option",
         "[Desktop Entry]\nName=KMail\nIcon=kmail\nExec=kmail -qwindowtitle %c %i %u\n",
         "kmail -qwindowtitle KMail --icon kmail"},
        {"%i without an Icon key gives nothing", "[Desktop Entry]\nExec=mail %i\n", "mail"},
        {"Exec of an action group is not the program",
         "[Desktop Action Compose]\nExec=mail --compose\n\n[Desktop Entry]\nExec=mail --inbox %u\n",
         "mail --inbox"},
        {"CR LF file and comments", "# comment\r\n[Desktop Entry]\r\nExec=claws-mail %u\r\n", "claws-mail"},
        {"no Exec key", "[Desktop Entry]\nName=Nothing\n", ""},
        {"broken quoting", "[Desktop Entry]\nExec=\"/usr/bin/mail %u\n", ""},
        {"nothing but a field code", "[Desktop Entry]\nExec=%u\n", ""},
        {"not a desktop file", "Exec=mail\n", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DesktopEntryCommand(QString::fromUtf8(c.file)), QString::fromUtf8(c.expected)) << c.name;
}

TEST(DesktopEntryCommand, ResultSplitsBackIntoTheArguments)
{
    const QString command = DesktopEntryCommand(QStringLiteral(
        "[Desktop Entry]\nName=Odd Mail\nExec=\"/opt/odd mail/bin\" --title=%c \"a\\\"q\" %k %U\n"),
        "/usr/share/applications/odd.desktop");
    EXPECT_EQ(QProcess::splitCommand(command), (QStringList{"/opt/odd mail/bin", "--title=Odd Mail", "a\"q",
                           "/usr/share/applications/odd.desktop"}));
}

TEST(DesktopFileCandidates, FoldersSubFoldersAndUnsafeIds)
{
    EXPECT_EQ(DesktopFileCandidates("kde4-kmail.desktop", {"/home/u/.local/share", "/usr/share"}),
              (QStringList{"/home/u/.local/share/applications/kde4-kmail.desktop",
                           "/home/u/.local/share/applications/kde4/kmail.desktop",
                           "/usr/share/applications/kde4-kmail.desktop",
                           "/usr/share/applications/kde4/kmail.desktop"}));
    EXPECT_EQ(DesktopFileCandidates(" thunderbird.desktop\n", {"/usr/share"}),
              QStringList{"/usr/share/applications/thunderbird.desktop"});
    for (const char *id : {"", ".desktop", "mail", "../../etc/passwd.desktop", "a/b.desktop",
                           "..desktop", ".hidden.desktop"})
        EXPECT_TRUE(DesktopFileCandidates(QString::fromUtf8(id), {"/usr/share"}).isEmpty()) << id;
}

// ---- the Windows programs' settings ----

TEST(TrimMailLinkCommand, Cases)
{
    const std::pair<const char *, const char *> cases[] = {
        {"rundll32.exe url.dll,MailToProtocolHandler %1", "rundll32.exe url.dll,MailToProtocolHandler"},
        {"\"C:\\Program Files\\Mail\\mail.exe\" /compose \"%1\"", "\"C:\\Program Files\\Mail\\mail.exe"},
        {"C:\\MAIL\\MAIL.EXE -mailto %1", "C:\\MAIL\\MAIL.EXE"},
        {"mailer %1", "mailer %1"},
        {"", ""},
        {"RUN", "RUN"},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(TrimMailLinkCommand(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(GetMailPath, EudoraThenMailLinkThenDesktopHandler)
{
    QTemporaryDir dir;
    const QString eudora = dir.filePath("Eudora.exe");
    WriteTestFile(eudora, "x");
    const auto handler = [] { return "/usr/bin/thunderbird"; };

    FakeMachine machine;
    EXPECT_EQ(GetMailPath(machine, handler), "/usr/bin/thunderbird");
    EXPECT_EQ(GetMailPath(machine, {}), "");

    machine.values.insert(MachineKeys::MailtoCommand + "|", "C:\\MAIL\\MAIL.EXE %1");
    EXPECT_EQ(GetMailPath(machine, handler), "C:\\MAIL\\MAIL.EXE");

    // A registered Eudora that is not on disk is passed over.
    machine.values.insert(MachineKeys::EudoraAppPath + "|Path", dir.filePath("gone.exe"));
    EXPECT_EQ(GetMailPath(machine, handler), "C:\\MAIL\\MAIL.EXE");
    machine.values.insert(MachineKeys::EudoraAppPath + "|Path", eudora);
    EXPECT_EQ(GetMailPath(machine, handler), eudora);
}

TEST(OldClients, EudoraAndNetscapeAccounts)
{
    QTemporaryDir dir;
    FakeMachine machine;
    EXPECT_EQ(CheckEudora(machine), std::nullopt);
    EXPECT_EQ(CheckNetscape(machine), std::nullopt);
    EXPECT_EQ(CheckEudora(MachineSettings()), std::nullopt);
    EXPECT_EQ(CheckNetscape(MachineSettings()), std::nullopt);

    machine.values.insert(MachineKeys::EudoraAppPath + "|Path", dir.path());
    EXPECT_EQ(CheckEudora(machine), std::nullopt); // no Eudora.ini there
    WriteTestFile(dir.filePath("Eudora.ini"), "[Settings]\r\nPOPAccount=erin@pop.example.net\r\n");
    EXPECT_EQ(CheckEudora(machine), (ImportedMailbox{"pop.example.net", "erin", TlsMode::None}));
    WriteTestFile(dir.filePath("Eudora.ini"), "[Settings]\nPOPAccount=pop.only.example\n");
    EXPECT_EQ(CheckEudora(machine), (ImportedMailbox{"pop.only.example", "", TlsMode::None}));

    machine.values.insert(MachineKeys::NetscapeMail + "|POP Name", "frank");
    EXPECT_EQ(CheckNetscape(machine), (ImportedMailbox{"", "frank", TlsMode::None}));
    machine.values.insert(MachineKeys::NetscapeServices + "|POP_Server", "pop.netscape.example");
    EXPECT_EQ(CheckNetscape(machine), (ImportedMailbox{"pop.netscape.example", "frank", TlsMode::None}));
}

} // namespace
