#include "settings.h"
#include "temp_home.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString diskText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(GeneralSettings, FreshUserDefaults)
{
    TempHome home;
    UserSettings settings;
    const GeneralSettings g = ReadGeneralSettings(settings);
    EXPECT_EQ(g.logFile, "");
    EXPECT_EQ(g.mailer, "");
    EXPECT_EQ(g.alarmFile, "");
    EXPECT_FALSE(g.automatic);
    EXPECT_TRUE(g.ask);
    EXPECT_FALSE(g.kill);
    EXPECT_EQ(g.minutes, 10);
    EXPECT_TRUE(g.launch);
    EXPECT_FALSE(g.exitAfterCheck);
    EXPECT_TRUE(g.alarm);
    EXPECT_TRUE(g.repeat);
    EXPECT_EQ(g.ras, 0);
    EXPECT_EQ(g.count, 0);
    EXPECT_FALSE(g.sysTray);
    EXPECT_EQ(g.logNaming, LogNaming::AsIs);
    EXPECT_EQ(ReadPoints(settings), 0);

    const ServerSettings servers = readServerSettings(settings);
    EXPECT_EQ(servers.which, 1);
    for (int n = 1; n <= kMailboxSlots; ++n) {
        EXPECT_TRUE(servers.slot(n).server.isEmpty());
        EXPECT_TRUE(servers.slot(n).mailbox.isEmpty());
        EXPECT_TRUE(servers.slot(n).password.isEmpty());
        EXPECT_EQ(servers.slot(n).tls, TlsMode::None);
        EXPECT_TRUE(servers.slot(n).fingerprint.isEmpty());
    }
}

TEST(GeneralSettings, EveryValueRoundTripsUnderItsOwnName)
{
    TempHome home;
    GeneralSettings g;
    g.logFile = "/var/log/tarnwick: mine.txt";
    g.mailer = "thunderbird -mail";
    g.alarmFile = "/usr/share/sounds/bell.wav";
    g.automatic = true;
    g.ask = false;
    g.kill = true;
    g.minutes = 25;
    g.launch = false;
    g.exitAfterCheck = true;
    g.alarm = false;
    g.repeat = false;
    g.ras = 3;
    g.count = 123456789012LL;
    g.sysTray = true;
    g.logNaming = LogNaming::Quarter;
    {
        UserSettings settings;
        ASSERT_TRUE(SaveGeneralSettings(settings, g)) << settings.lastError().toStdString();
    }
    UserSettings settings;
    EXPECT_EQ(ReadGeneralSettings(settings), g);

    // The names and the text form on disk are what other versions of the program read.
    const QString text = diskText(settings.fileName());
    const char *lines[] = {
        "[10]",
        "General\\Logfile=/var/log/tarnwick: mine.txt",
        "General\\Mailer=thunderbird -mail",
        "General\\AlarmFile=/usr/share/sounds/bell.wav",
        "General\\Automatic=1",
        "General\\Ask=0",
        "General\\Kill=1",
        "General\\Minutes=25",
        "General\\Launch=0",
        "General\\Exit=1",
        "General\\Alarm=0",
        "General\\Repeat=0",
        "General\\RAS=3",
        "General\\Count=123456789012",
        "General\\SysTray=1",
        "Logfile\\Asis=0",
        "Logfile\\Month=0",
        "Logfile\\Quarter=1",
    };
    for (const char *line : lines)
        EXPECT_TRUE(text.split('\n').contains(QString::fromUtf8(line)))
            << line << "\nin\n" << text.toStdString();
}

TEST(GeneralSettings, ImplausibleValuesFallBack)
{
    struct Case
    {
        const char *name;
        const char *text;
        int minutes;
        int ras;
        qint64 count;
    };
    const Case cases[] = {
        {"Minutes", "0", 10, 0, 0},    {"Minutes", "-5", 10, 0, 0}, {"Minutes", "1", 1, 0, 0},
        {"Minutes", "ten", 10, 0, 0},  {"RAS", "-2", 10, 0, 0},     {"RAS", "4", 10, 4, 0},
        {"Count", "-3", 10, 0, 0},     {"Count", "x", 10, 0, 0},    {"Count", "77", 10, 0, 77},
    };
    for (const Case &c : cases) {
        TempHome home;
        home.write("settings.ini", QByteArray("[10]\nGeneral\\") + c.name + "=" + c.text + "\n");
        const GeneralSettings g = ReadGeneralSettings(UserSettings());
        EXPECT_EQ(g.minutes, c.minutes) << c.name << "=" << c.text;
        EXPECT_EQ(g.ras, c.ras) << c.name << "=" << c.text;
        EXPECT_EQ(g.count, c.count) << c.name << "=" << c.text;
    }
}

TEST(GeneralSettings, LogNamingWhenSeveralOrNoneAreSet)
{
    struct Case
    {
        const char *asis, *month, *quarter; // nullptr = missing
        LogNaming expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, LogNaming::AsIs}, {"1", "0", "0", LogNaming::AsIs},
        {"0", "1", "0", LogNaming::Month},            {"0", "0", "1", LogNaming::Quarter},
        {"0", "0", "0", LogNaming::AsIs},             {"1", "0", "1", LogNaming::Quarter},
        {"1", "1", "1", LogNaming::Month},            {nullptr, "1", nullptr, LogNaming::Month},
    };
    for (const Case &c : cases) {
        TempHome home;
        QByteArray file = "[10]\n";
        if (c.asis)
            file += QByteArray("Logfile\\Asis=") + c.asis + "\n";
        if (c.month)
            file += QByteArray("Logfile\\Month=") + c.month + "\n";
        if (c.quarter)
            file += QByteArray("Logfile\\Quarter=") + c.quarter + "\n";
        home.write("settings.ini", file);
        EXPECT_EQ(ReadGeneralSettings(UserSettings()).logNaming, c.expected) << file.constData();
    }
}

ServerSettings twelveMailboxes()
{
    const QString passwords[kMailboxSlots] = {
        "plain",   "Sesam-öffne-dich", "пароль",        "密码",    "🔑🔑",     "a=b;c,d",
        "\"q\"",   "back\\slash",      QString(255, 'z'), "ñ",      "tab\there", "€uro"};
    ServerSettings s;
    s.which = 7;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        MailboxSlot &slot = s.slot(n);
        slot.server = QStringLiteral("pop%1.example.org").arg(n);
        slot.mailbox = QStringLiteral("user%1").arg(n);
        slot.password = passwords[n - 1];
        slot.tls = TlsMode(n % 3);
        slot.fingerprint = n % 2 ? QString(64, QLatin1Char("0123456789abcdef"[n])) : QString();
    }
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
    for (int n = 1; n <= kMailboxSlots; ++n)
        EXPECT_EQ(ReadMailboxSlot(settings, n), written.slot(n)) << "slot " << n;

    const QString text = diskText(settings.fileName());
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const QString password = written.slot(n).password;
        if (password.size() > 2) {
            EXPECT_FALSE(text.contains(password)) << "slot " << n;
        }
        EXPECT_TRUE(text.contains(QStringLiteral("Server\\Passwd%1=%2")
                                      .arg(n)
                                      .arg(ScramblePassword(password, n))));
        EXPECT_TRUE(text.contains(QStringLiteral("Server\\Tls%1=%2").arg(n).arg(n % 3)));
    }
    EXPECT_TRUE(text.contains("Server\\Which=7"));
}

TEST(ServerSettings, PasswordMovedToAnotherSlotByHandDoesNotRead)
{
    TempHome home;
    home.write("settings.ini",
               "[10]\nServer\\Server4=pop\nServer\\Mailbox4=joe\nServer\\Passwd4="
                   + ScramblePassword("letmein", 3).toLatin1() + "\n");
    EXPECT_NE(ReadMailboxSlot(UserSettings(), 4).password, "letmein");
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

TEST(ServerSettings, WhichAndTlsOutOfRange)
{
    struct Case
    {
        const char *which;
        const char *tls;
        int expectedWhich;
        TlsMode expectedTls;
    };
    const Case cases[] = {
        {"1", "0", 1, TlsMode::None},    {"12", "1", 12, TlsMode::Implicit},
        {"0", "2", 1, TlsMode::StartTls}, {"13", "3", 1, TlsMode::None},
        {"-1", "-1", 1, TlsMode::None},  {"six", "tls", 1, TlsMode::None},
    };
    for (const Case &c : cases) {
        TempHome home;
        home.write("settings.ini", QByteArray("[10]\nServer\\Which=") + c.which
                                       + "\nServer\\Tls1=" + c.tls + "\n");
        const ServerSettings s = readServerSettings(UserSettings());
        EXPECT_EQ(s.which, c.expectedWhich) << c.which;
        EXPECT_EQ(s.slot(1).tls, c.expectedTls) << c.tls;
    }
}

TEST(ServerSettings, IncompleteSlotsAreRefusedWithTheirMessage)
{
    struct Case
    {
        QString server, mailbox, password;
        std::optional<SlotField> field;
        QString message;
    };
    const Case cases[] = {
        {"", "", "", std::nullopt, ""},
        {"pop.x", "joe", "pw", std::nullopt, ""},
        {"pop.x", "", "pw", SlotField::Mailbox, "Mailbox 5 has a server pop.x but no mailbox"},
        {"pop.x", " \r\n\b", "", SlotField::Mailbox, "Mailbox 5 has a server pop.x but no mailbox"},
        {"", "joe", "pw", SlotField::Server, "Mailbox 5 joe has a blank server"},
        {"  ", "joe", "", SlotField::Server, "Mailbox 5 joe has a blank server"},
        {"pop.x", "joe", "", SlotField::Password, "Mailbox 5 - there is no password set"},
        // A tab is not blank: the slot counts as having a server.
        {"\t", "", "", SlotField::Mailbox, "Mailbox 5 has a server \t but no mailbox"},
        // A password alone is not a mailbox; there is nothing to check it against.
        {"", "", "orphan", std::nullopt, ""},
    };
    for (const Case &c : cases) {
        const std::optional<SlotProblem> problem =
            CheckMailboxSlot(MailboxSlot{c.server, c.mailbox, c.password, {}, {}}, 5);
        ASSERT_EQ(problem.has_value(), c.field.has_value()) << c.message.toStdString();
        if (!problem)
            continue;
        EXPECT_EQ(problem->slot, 5);
        EXPECT_EQ(problem->field, *c.field);
        EXPECT_EQ(problem->message, c.message);
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
    edited.slot(4).mailbox.clear(); // server but no user name
    edited.slot(7).server.clear();  // invalid too, but never reached
    UserSettings settings;
    const ServerSaveResult result = saveServerSettings(settings, edited);
    ASSERT_TRUE(result.problem.has_value());
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_EQ(result.problem->slot, 4);
    EXPECT_EQ(result.problem->field, SlotField::Mailbox);
    EXPECT_EQ(result.problem->message, "Mailbox 4 has a server pop4.example.org but no mailbox");
    EXPECT_FALSE(result.problem->message.contains("secret"));

    const ServerSettings stored = readServerSettings(UserSettings());
    EXPECT_EQ(stored.which, 2);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(stored.slot(n), edited.slot(n)) << "slot " << n;
    // The refused slot keeps what it had; it is not half overwritten.
    for (int n = 4; n <= kMailboxSlots; ++n)
        EXPECT_EQ(stored.slot(n), before.slot(n)) << "slot " << n;
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

TEST(SingleValues, CountAutomaticPointsAndColumnWidths)
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
    const GeneralSettings g = ReadGeneralSettings(settings);
    EXPECT_EQ(g.count, 41);
    EXPECT_TRUE(g.automatic);
    EXPECT_EQ(ReadPoints(settings), 17);
    EXPECT_EQ(ReadColumnWidths(settings, SettingsSection::Subject, {1, 2, 3, 50}),
              QList<int>({120, 40, 60, 50}));
    // A zero or absurd width would hide a column or push it off screen.
    EXPECT_EQ(ReadColumnWidths(settings, SettingsSection::Exceptions, {30, 30, 30}),
              QList<int>({30, 30, 70}));
    EXPECT_EQ(ReadColumnWidths(settings, SettingsSection::Headers, {30}), QList<int>({30}));
}

} // namespace
