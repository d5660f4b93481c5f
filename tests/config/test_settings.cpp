#include "settings.h"
#include "temp_home.h"

#include <gtest/gtest.h>

namespace {

QString diskText(const QString &path)
{
    return QString::fromUtf8(ReadTestFile(path));
}

TEST(GeneralSettings, FreshUserDefaults)
{
    TempHome home;
    UserSettings settings;
    const GeneralSettings expected{.logFile = "", .mailer = "", .alarmFile = "",
                                   .automatic = false, .ask = true, .kill = false,
                                   .minutes = 10, .launch = true, .exitAfterCheck = false,
                                   .alarm = true, .repeat = true, .ras = 0, .count = 0,
                                   .sysTray = false, .logNaming = LogNaming::AsIs, .notify = true};
    EXPECT_EQ(ReadGeneralSettings(settings), expected);
    EXPECT_EQ(ReadPoints(settings), 0);
    const ServerSettings servers = readServerSettings(settings);
    EXPECT_EQ(servers.which, 1);
    for (const MailboxSlot &slot : servers.mailboxes)
        EXPECT_EQ(slot, (MailboxSlot{"", "", "", TlsMode::Implicit, ""})) << "a new mailbox starts with TLS";
}

TEST(GeneralSettings, EveryValueRoundTripsUnderItsOwnName)
{
    TempHome home;
    const GeneralSettings g{.logFile = "/var/log/tarnwick: mine.txt", .mailer = "thunderbird",
                            .alarmFile = "/sounds/bell.wav", .automatic = true, .ask = false,
                            .kill = true, .minutes = 25, .launch = false, .exitAfterCheck = true,
                            .alarm = false, .repeat = false, .ras = 3, .count = 123456789012LL,
                            .sysTray = true, .logNaming = LogNaming::Quarter, .notify = false};
    {
        UserSettings settings;
        ASSERT_TRUE(SaveGeneralSettings(settings, g)) << settings.lastError().toStdString();
    }
    UserSettings settings;
    EXPECT_EQ(ReadGeneralSettings(settings), g);
    // Names and text forms on disk are what every version of the program reads.
    const QStringList lines = diskText(settings.fileName()).split('\n');
    for (const char *line :
         {"[10]", "General\\Logfile=/var/log/tarnwick: mine.txt", "General\\Mailer=thunderbird",
          "General\\AlarmFile=/sounds/bell.wav", "General\\Automatic=1", "General\\Ask=0",
          "General\\Kill=1", "General\\Minutes=25", "General\\Launch=0", "General\\Exit=1",
          "General\\Alarm=0", "General\\Repeat=0", "General\\RAS=3",
          "General\\Count=123456789012", "General\\SysTray=1", "General\\Notify=0", "Logfile\\Asis=0",
          "Logfile\\Month=0", "Logfile\\Quarter=1"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
}

TEST(Settings, UnusableValuesFallBack)
{
    struct Case
    {
        const char *file; // lines after "[10]"
        int minutes, ras;
        qint64 count;
        int which;
        TlsMode tls;
        bool pipelining = true;
        MailProtocol protocol = MailProtocol::Pop3;
        const char *folder = "INBOX";
        ImapDeletion imapDelete = ImapDeletion::Junk;
        int maxUnseen = kDefaultMaxUnseen;
        bool wholeFolder = false;
        const char *junkFolder = "Junk";
    };
    const Case cases[] = {
        {"", 10, 0, 0, 1, TlsMode::None},
        {"General\\Minutes=0", 10, 0, 0, 1, TlsMode::None},
        {"General\\Minutes=-5", 10, 0, 0, 1, TlsMode::None},
        {"General\\Minutes=1", 1, 0, 0, 1, TlsMode::None},
        {"General\\Minutes=ten", 10, 0, 0, 1, TlsMode::None},
        {"General\\RAS=-2\nGeneral\\Count=-3", 10, 0, 0, 1, TlsMode::None},
        {"General\\RAS=4\nGeneral\\Count=77", 10, 4, 77, 1, TlsMode::None},
        {"Server\\Which=12\nServer\\Tls1=1", 10, 0, 0, 12, TlsMode::Implicit},
        {"Server\\Which=0\nServer\\Tls1=2", 10, 0, 0, 1, TlsMode::StartTls},
        // A value that names no security is not taken for plain POP3.
        {"Server\\Which=13\nServer\\Tls1=3", 10, 0, 0, 1, TlsMode::Implicit},
        {"Server\\Which=six\nServer\\Tls1=-1", 10, 0, 0, 1, TlsMode::Implicit},
        {"Server\\Pipelining1=0", 10, 0, 0, 1, TlsMode::None, false},
        {"Server\\Pipelining1=1", 10, 0, 0, 1, TlsMode::None, true},
        {"Server\\Pipelining1=no", 10, 0, 0, 1, TlsMode::None, false},
        {"Server\\Protocol1=1\nServer\\Folder1=Spam", 10, 0, 0, 1, TlsMode::None, true, MailProtocol::Imap, "Spam"},
        {"Server\\Protocol1=2\nServer\\Folder1=\" \"", 10, 0, 0, 1, TlsMode::None},
        {"Server\\Protocol1=imap", 10, 0, 0, 1, TlsMode::None},
        {"Server\\ImapDelete1=Trash\nServer\\MaxUnseen1=1\nServer\\JunkFolder1=\nServer\\WholeFolder1=1", 10, 0, 0, 1,
         TlsMode::None, true, MailProtocol::Pop3, "INBOX", ImapDeletion::Trash, 1, true},
        // An unknown action is not taken for deleting for good; an absurd limit is bounded.
        {"Server\\ImapDelete1=purge\nServer\\MaxUnseen1=99999999999999999999\nServer\\JunkFolder1=Spam", 10, 0, 0, 1,
         TlsMode::None, true, MailProtocol::Pop3, "INBOX", ImapDeletion::Junk, kDefaultMaxUnseen, false, "Spam"},
        {"Server\\ImapDelete1=delete\nServer\\MaxUnseen1=-3", 10, 0, 0, 1, TlsMode::None, true, MailProtocol::Pop3,
         "INBOX", ImapDeletion::Delete},
        {"Server\\MaxUnseen1=100001", 10, 0, 0, 1, TlsMode::None, true, MailProtocol::Pop3, "INBOX", ImapDeletion::Junk,
         kMostMaxUnseen},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        TempHome home;
        // Slot 1 holds a mailbox: without "Tls1" it stays plain POP3, as it was stored.
        home.write("settings.ini", QByteArray("[10]\nServer\\Server1=h\n") + c.file + "\n");
        UserSettings settings;
        const GeneralSettings g = ReadGeneralSettings(settings);
        EXPECT_EQ(g.minutes, c.minutes);
        EXPECT_EQ(g.ras, c.ras);
        EXPECT_EQ(g.count, c.count);
        const ServerSettings s = readServerSettings(settings);
        EXPECT_EQ(s.which, c.which);
        EXPECT_EQ(s.slot(1).tls, c.tls);
        EXPECT_EQ(s.slot(1).pipelining, c.pipelining);
        EXPECT_EQ(s.slot(1).protocol, c.protocol);
        EXPECT_EQ(s.slot(1).folder, c.folder);
        EXPECT_EQ(s.slot(1).imapDelete, c.imapDelete);
        EXPECT_EQ(s.slot(1).maxUnseen, c.maxUnseen);
        EXPECT_EQ(s.slot(1).wholeFolder, c.wholeFolder);
        EXPECT_EQ(s.slot(1).junkFolder, c.junkFolder);
        EXPECT_EQ(s.slot(1).trashFolder, "Trash");
    }
}

TEST(GeneralSettings, LogNamingWhenSeveralOrNoneAreSet)
{
    struct Case { const char *file; LogNaming expected; };
    const Case cases[] = {
        {"", LogNaming::AsIs},
        {"Logfile\\Asis=1\nLogfile\\Month=0\nLogfile\\Quarter=0", LogNaming::AsIs},
        {"Logfile\\Asis=0\nLogfile\\Month=1\nLogfile\\Quarter=0", LogNaming::Month},
        {"Logfile\\Asis=0\nLogfile\\Month=0\nLogfile\\Quarter=1", LogNaming::Quarter},
        {"Logfile\\Asis=0\nLogfile\\Month=0\nLogfile\\Quarter=0", LogNaming::AsIs},
        // The dialog sets Asis, Quarter, Month in turn: the last one switched on wins.
        {"Logfile\\Asis=1\nLogfile\\Quarter=1", LogNaming::Quarter},
        {"Logfile\\Asis=1\nLogfile\\Month=1\nLogfile\\Quarter=1", LogNaming::Month},
    };
    for (const Case &c : cases) {
        TempHome home;
        home.write("settings.ini", QByteArray("[10]\n") + c.file + "\n");
        EXPECT_EQ(ReadGeneralSettings(UserSettings()).logNaming, c.expected) << c.file;
    }
}

ServerSettings twelveMailboxes()
{
    const QString passwords[kMailboxSlots] = {
        "plain", "Sesam-öffne-dich", "пароль", "密码",      "🔑🔑",      "a=b;c,d",
        "\"q\"", "back\\slash",      "ñ",      "tab\there", "line\nbreak", QString(255, 'z')};
    ServerSettings s;
    s.which = 7;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxLogin login = n % 5 ? MailboxLogin::Password : MailboxLogin::OAuth2;
        s.slot(n) = {QStringLiteral("pop%1.example.org").arg(n), QStringLiteral("user%1").arg(n),
                     passwords[n - 1], TlsMode(n % 3),
                     n % 2 ? QString(64, QLatin1Char("0123456789abcdef"[n])) : QString(), n % 4 != 0,
                     MailProtocol(n % 2), n % 2 ? QStringLiteral("Spam/Prüfung %1").arg(n) : QStringLiteral("INBOX"),
                     ImapDeletion(n % 3), QStringLiteral("Junk %1").arg(n), n % 2 ? QStringLiteral("Papierkorb") : QStringLiteral("Trash"),
                     n * 997, n % 4 == 1, login,
                     n % 3 ? SecretPlace::Unchosen : SecretPlace::File, QString(),
                     login == MailboxLogin::OAuth2 ? QStringLiteral("refresh-%1").arg(n) : QString()};
    }
    // Slot 6's password comes from a command each time the settings are read.
    s.slot(6).secrets = SecretPlace::Command;
    s.slot(6).secretCommand = QStringLiteral("echo 'a=b;c,d'; echo second line");
    return s;
}

TEST(ServerSettings, AllTwelveSlotsRoundTripWithScrambledPasswords)
{
    TempHome home;
    const ServerSettings written = twelveMailboxes();
    {
        UserSettings settings;
        const ServerSaveResult result = saveServerSettings(settings, written);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
    }
    UserSettings settings;
    QStringList warnings;
    EXPECT_EQ(readServerSettings(settings, &warnings), written);
    EXPECT_TRUE(warnings.isEmpty());
    const QString text = diskText(settings.fileName());
    EXPECT_TRUE(text.contains("Server\\Which=7"));
    EXPECT_TRUE(ReadMailboxSlot(settings, 6).password.isEmpty()) << "the command runs only with the lookup";
    // A form with only a password box saves what it shows; the rest stays as stored.
    ServerSettings shown = readServerSettings(settings);
    for (MailboxSlot &slot : shown.mailboxes)
        slot = {slot.server, slot.mailbox, slot.password, slot.tls, slot.fingerprint, slot.pipelining, slot.protocol, slot.folder,
                slot.imapDelete, slot.junkFolder, slot.trashFolder, slot.maxUnseen, slot.wholeFolder};
    ASSERT_TRUE(saveServerSettings(settings, shown).ok());
    EXPECT_EQ(readServerSettings(settings), written);
    EXPECT_TRUE(readServerSettings(settings, nullptr, SecretLookup::NoCommands).slot(6).password.isEmpty());
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = written.slot(n);
        if (n != 6) {
            EXPECT_EQ(ReadMailboxSlot(settings, n), slot) << "slot " << n;
        }
        EXPECT_FALSE(n != 6 && slot.password.size() > 2 && text.contains(slot.password)) << "slot " << n;
        EXPECT_TRUE(text.contains(QStringLiteral("Server\\Passwd%1=%2")
                                      .arg(n)
                                      .arg(n == 6 ? QString() : ScramblePassword(slot.password, n))));
        EXPECT_TRUE(text.contains(QStringLiteral("Server\\Pipelining%1=%2").arg(n).arg(n % 4 != 0 ? 1 : 0)));
        EXPECT_TRUE(text.contains(QStringLiteral("Server\\Login%1=%2").arg(n).arg(n % 5 ? "password" : "oauth2")));
        if (!slot.refreshToken.isEmpty()) {
            EXPECT_TRUE(text.contains(
                QStringLiteral("Server\\Refresh%1=%2").arg(n).arg(ScramblePassword(slot.refreshToken, n))));
        }
    }
}

TEST(ServerSettings, DamagedPasswordWarnsWithoutShowingIt)
{
    TempHome home;
    home.write("settings.ini", "[10]\nServer\\Server2=pop\nServer\\Mailbox2=joe\n"
                               "Server\\Passwd2=hunter2-not-hex\n");
    QStringList warnings;
    const ServerSettings servers = readServerSettings(UserSettings(), &warnings);
    EXPECT_TRUE(servers.slot(2).password.isEmpty());
    EXPECT_EQ(servers.slot(2).server, "pop");
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.first().contains("mailbox 2"));
    EXPECT_FALSE(warnings.first().contains("hunter2"));
}

TEST(ServerSettings, IncompleteSlotsAreRefusedWithTheirMessage)
{
    struct Case { QString server, mailbox, password; std::optional<SlotField> field; QString message; };
    const Case cases[] = {
        {"", "", "", std::nullopt, ""},
        {"pop.x", "joe", "pw", std::nullopt, ""},
        {"", "", "orphan", std::nullopt, ""}, // no mailbox to check a password against
        {"pop.x", "", "pw", SlotField::Mailbox, "Mailbox 5 has a server pop.x but no mailbox"},
        {"pop.x", " \r\n\b", "", SlotField::Mailbox, "Mailbox 5 has a server pop.x but no mailbox"},
        {"", "joe", "pw", SlotField::Server, "Mailbox 5 joe has a blank server"},
        {"  ", "joe", "", SlotField::Server, "Mailbox 5 joe has a blank server"},
        {"pop.x", "joe", "", SlotField::Password, "Mailbox 5 - there is no password set"},
        // A tab is not blank: the slot counts as having a server.
        {"\t", "", "", SlotField::Mailbox, "Mailbox 5 has a server \t but no mailbox"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const std::optional<SlotProblem> problem =
            CheckMailboxSlot({c.server, c.mailbox, c.password, {}, {}}, 5);
        ASSERT_EQ(problem.has_value(), c.field.has_value());
        if (problem) {
            EXPECT_EQ(problem->slot, 5);
            EXPECT_EQ(problem->field, *c.field);
            EXPECT_EQ(problem->message, c.message);
        }
    }
}

TEST(ServerSettings, FirstIncompleteSlotStopsTheSaveAndIsNotStored)
{
    TempHome home;
    const ServerSettings before = twelveMailboxes();
    {
        UserSettings settings;
        ASSERT_TRUE(saveServerSettings(settings, before).ok());
    }
    ServerSettings edited = before;
    edited.which = 2;
    for (int n = 1; n <= kMailboxSlots; ++n)
        edited.slot(n).password = QStringLiteral("changed-secret-%1").arg(n);
    edited.slot(4).mailbox.clear(); // a server but no user name
    edited.slot(7).server.clear();  // wrong too, but never reached
    UserSettings settings;
    const ServerSaveResult result = saveServerSettings(settings, edited);
    ASSERT_TRUE(result.problem.has_value());
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_EQ(result.problem->slot, 4);
    EXPECT_EQ(result.problem->field, SlotField::Mailbox);
    EXPECT_EQ(result.problem->message, "Mailbox 4 has a server pop4.example.org but no mailbox");

    const ServerSettings stored = readServerSettings(UserSettings());
    EXPECT_EQ(stored.which, 2);
    for (int n = 1; n <= kMailboxSlots; ++n)
        EXPECT_EQ(stored.slot(n), n < 4 ? edited.slot(n) : before.slot(n)) << "slot " << n;
}

TEST(ServerSettings, PasswordsNeverAppearInErrors)
{
    TempHome home;
    home.write("blocker", "");
    UserSettings settings(home.file("blocker/settings.ini"));
    ServerSettings servers = twelveMailboxes();
    servers.slot(1).password = "TopSecretPassword";
    const ServerSaveResult result = saveServerSettings(settings, servers);
    ASSERT_FALSE(result.error.isEmpty());
    EXPECT_FALSE(result.error.contains("TopSecretPassword"));
    EXPECT_FALSE(result.error.contains(ScramblePassword("TopSecretPassword", 1)));
}

TEST(Settings, CountAutomaticPointsAndColumnWidths)
{
    TempHome home;
    {
        UserSettings settings;
        ASSERT_TRUE(SaveSpamCount(settings, 41));
        ASSERT_TRUE(SaveAutomatic(settings, true));
        ASSERT_TRUE(SavePoints(settings, 17));
        ASSERT_TRUE(SaveColumnWidths(settings, SettingsSection::Subject, {120, 40, 60}));
        ASSERT_TRUE(SaveColumnWidths(settings, SettingsSection::Exceptions, {0, 99999, 70}));
    }
    UserSettings settings;
    EXPECT_EQ(ReadGeneralSettings(settings).count, 41);
    EXPECT_TRUE(ReadGeneralSettings(settings).automatic);
    EXPECT_EQ(ReadPoints(settings), 17);
    EXPECT_EQ(ReadColumnWidths(settings, SettingsSection::Subject, {1, 2, 3, 50}),
              QList<int>({120, 40, 60, 50}));
    // A zero or absurd width would hide a column or push it off the screen.
    EXPECT_EQ(ReadColumnWidths(settings, SettingsSection::Exceptions, {30, 30, 30}),
              QList<int>({30, 30, 70}));
}

// A secret command's first output line is the secret; a failing one is named in the warning.
TEST(ServerSettings, SecretCommandsGiveTheirFirstLineOrSayWhatFailed)
{
    struct Case { const char *command; const char *password; QStringList warning; };
    const Case cases[] = {
        {"printf 'pw one\\r\\nsecond\\n'", "pw one", {}},
        {"echo oops >&2 && exit 3", "", {"password command of mailbox 2 (echo oops >&2 && exit 3) failed with exit "
                                         "status 3: oops"}},
        {"true", "", {"printed no secret"}},
    };
    for (const Case &c : cases) {
        TempHome home;
        home.write("settings.ini", QByteArray("[10]\nServer\\Server2=pop\nServer\\Mailbox2=joe\nServer\\Secrets2=command\n"
                                              "Server\\SecretCommand2=")
                                       + c.command + "\n");
        QStringList warnings;
        const ServerSettings servers = readServerSettings(UserSettings(), &warnings);
        EXPECT_EQ(servers.slot(2).password, QString::fromUtf8(c.password)) << c.command;
        EXPECT_EQ(warnings.size(), c.warning.isEmpty() ? 0 : 1) << c.command;
        for (const QString &part : c.warning)
            EXPECT_TRUE(warnings.value(0).contains(part)) << warnings.value(0).toStdString();
    }
}

} // namespace
