#include "settings.h"
#include "settingsstore.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The lines of the file as it is on disk, so that a test sees what was really written and
// not what a QSettings cache remembers.
QString diskText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

mode_t fileMode(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 0777;
}

class UmaskGuard
{
public:
    explicit UmaskGuard(mode_t mask) : m_old(::umask(mask)) {}
    ~UmaskGuard() { ::umask(m_old); }

private:
    mode_t m_old;
};

TEST(UserSettings, LivesInTarnwickHomeWhenSet)
{
    TempHome home;
    EXPECT_EQ(UserSettings::defaultFileName(), QDir(home.path()).filePath("settings.ini"));
    UserSettings settings;
    EXPECT_EQ(settings.fileName(), home.file("settings.ini"));
}

TEST(UserSettings, WithoutTarnwickHomeItIsThePerUserConfigFile)
{
    const QByteArray old = qgetenv("TARNWICK_HOME");
    qunsetenv("TARNWICK_HOME");
    const QString name = UserSettings::defaultFileName();
    qputenv("TARNWICK_HOME", old);
    if (old.isEmpty())
        qunsetenv("TARNWICK_HOME");
    EXPECT_TRUE(name.endsWith("/Ostrand Corporation/Tarnwick.ini")) << name.toStdString();
}

TEST(UserSettings, FreshUserHasNoFileUntilSomethingIsSaved)
{
    TempHome home;
    {
        UserSettings settings;
        EXPECT_FALSE(settings.isDamaged());
        EXPECT_TRUE(settings.warning().isEmpty());
        EXPECT_FALSE(settings.value("General", "Minutes").has_value());
        EXPECT_TRUE(settings.flush());
    }
    EXPECT_FALSE(QFileInfo::exists(home.file("settings.ini")));
}

TEST(UserSettings, NamesMatchWithoutRegardToCase)
{
    struct Case
    {
        const char *stored;  // the file as another tool left it
        const char *section; // what the program asks for
        const char *name;
    };
    const Case cases[] = {
        {"[10]\nGeneral\\AlarmFile=bell.wav\n", "General", "Alarmfile"},
        {"[10]\ngeneral\\alarmfile=bell.wav\n", "General", "AlarmFile"},
        {"[10]\nGENERAL\\ALARMFILE=bell.wav\n", "general", "alarmFILE"},
    };
    for (const Case &c : cases) {
        TempHome home;
        home.write("settings.ini", c.stored);
        UserSettings settings;
        EXPECT_EQ(settings.readString(c.section, c.name), "bell.wav") << c.stored;

        // Writing another spelling replaces the value; it does not add a second one.
        ASSERT_TRUE(settings.writeString(c.section, c.name, "harp.wav"));
        ASSERT_TRUE(settings.flush());
        const QString text = diskText(settings.fileName());
        EXPECT_EQ(text.count("=", Qt::CaseInsensitive), 1) << text.toStdString();
        EXPECT_TRUE(text.contains("harp.wav"));
        EXPECT_FALSE(text.contains("bell.wav"));
        UserSettings again;
        EXPECT_EQ(again.readString("General", "ALARMFILE"), "harp.wav");
    }
}

TEST(UserSettings, TwoSpellingsInAFileBecomeOneOnWrite)
{
    TempHome home;
    home.write("settings.ini", "[10]\nGeneral\\AlarmFile=exact.wav\nGeneral\\alarmfile=other.wav\n"
                               "general\\ALARMFILE=third.wav\n");
    UserSettings settings;
    EXPECT_EQ(settings.readString("General", "AlarmFile"), "exact.wav");
    ASSERT_TRUE(settings.writeString("General", "ALARMFILE", "new.wav"));
    ASSERT_TRUE(settings.flush());
    const QString text = diskText(settings.fileName());
    EXPECT_EQ(text.count("new.wav"), 1);
    EXPECT_FALSE(text.contains("exact.wav"));
    EXPECT_FALSE(text.contains("other.wav"));
    EXPECT_FALSE(text.contains("third.wav"));
    EXPECT_EQ(settings.readString("general", "alarmfile"), "new.wav");
}

TEST(UserSettings, ValueReadingRules)
{
    struct Case
    {
        const char *text; // nullptr = no such value
        bool truthDefault;
        bool truth;
        int integer; // read with default -7
    };
    const Case cases[] = {
        {nullptr, true, true, -7},  {nullptr, false, false, -7}, {"1", false, true, 1},
        {"0", true, false, 0},      {"2", false, true, 2},       {"-1", false, true, -1},
        {"", true, false, -7},      {"yes", true, false, -7},    {"true", true, false, -7},
        {"12abc", true, false, -7}, {" 5 ", false, true, 5},     {"00", true, false, 0},
    };
    for (const Case &c : cases) {
        TempHome home;
        if (c.text)
            home.write("settings.ini", QByteArray("[10]\nGeneral\\V=\"") + c.text + "\"\n");
        UserSettings settings;
        ASSERT_FALSE(settings.isDamaged());
        EXPECT_EQ(settings.readBool("General", "V", c.truthDefault), c.truth)
            << (c.text ? c.text : "(missing)");
        EXPECT_EQ(settings.readInteger("General", "V", -7), c.integer)
            << (c.text ? c.text : "(missing)");
    }
}

TEST(UserSettings, TextValuesSurviveTheFileWhateverTheyHold)
{
    TempHome home;
    const QString texts[] = {
        QStringLiteral("/home/ä ö/log, with comma.txt"),
        QStringLiteral("@Variant(not really)"),
        QStringLiteral("\"quoted\" and ;semicolon #hash"),
        QStringLiteral("line\nbreak"),
        QStringLiteral(" leading and trailing "),
        QStringLiteral("[10]"),
        QStringLiteral("back\\slash\\"),
    };
    {
        UserSettings settings;
        int i = 0;
        for (const QString &text : texts)
            ASSERT_TRUE(settings.writeString("General", QStringLiteral("T%1").arg(i++), text));
        ASSERT_TRUE(settings.flush());
    }
    UserSettings settings;
    ASSERT_FALSE(settings.isDamaged()) << settings.warning().toStdString();
    int i = 0;
    for (const QString &text : texts)
        EXPECT_EQ(settings.readString("General", QStringLiteral("T%1").arg(i++)), text);
}

TEST(UserSettings, FileIsOwnerOnlyAndStaysSo)
{
    UmaskGuard umask(022);
    TempHome home;
    const QString path = home.file("settings.ini");
    UserSettings settings;
    ASSERT_TRUE(SaveSpamCount(settings, 1));
    EXPECT_EQ(fileMode(path), 0600u);

    // Someone opened it up: the next save closes it again.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    ASSERT_TRUE(SaveSpamCount(settings, 2));
    EXPECT_EQ(fileMode(path), 0600u);

    // Deleted while the program runs: created anew, owner-only again.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(SaveSpamCount(settings, 3));
    EXPECT_EQ(fileMode(path), 0600u);
    EXPECT_EQ(ReadGeneralSettings(UserSettings()).count, 3);
}

TEST(UserSettings, DamagedFileGivesDefaultsAWarningAndIsKept)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"binary", QByteArray("[10]\nGeneral\\Minutes=25\n").append('\0').append("\x01\x02")},
        {"not UTF-8", QByteArray("[10]\nGeneral\\Minutes=25\nGeneral\\Mailer=mutt \xff\xfe\n")},
        {"open section", QByteArray("[10\nGeneral\\Minutes=25\n")},
        {"stray text", QByteArray("[10]\nGeneral\\Minutes=25\nthis is not a setting\n")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home;
        home.write("settings.ini", c.bytes);
        UserSettings settings;
        EXPECT_TRUE(settings.isDamaged());
        EXPECT_TRUE(settings.warning().contains(settings.fileName()));
        EXPECT_EQ(ReadGeneralSettings(settings).minutes, 10);

        // Neither the program's own updates nor the save at exit may touch it.
        GeneralSettings general;
        general.minutes = 30;
        EXPECT_FALSE(SaveGeneralSettings(settings, general));
        EXPECT_FALSE(settings.lastError().isEmpty());
        EXPECT_FALSE(SaveSpamCount(settings, 9));
        EXPECT_EQ(home.read("settings.ini"), c.bytes);

        // The user saves: the old file is kept aside, the new one holds only what was saved.
        ASSERT_TRUE(settings.replaceDamagedFile());
        ASSERT_TRUE(SaveGeneralSettings(settings, general));
        EXPECT_EQ(home.read("settings.ini.damaged"), c.bytes);
        UserSettings reopened;
        EXPECT_FALSE(reopened.isDamaged());
        EXPECT_EQ(ReadGeneralSettings(reopened).minutes, 30);
        EXPECT_FALSE(diskText(reopened.fileName()).contains("Minutes=25"));
    }
}

TEST(UserSettings, FolderInPlaceOfTheFileIsReportedNotRemoved)
{
    TempHome home;
    ASSERT_TRUE(QDir(home.path()).mkdir("settings.ini"));
    UserSettings settings;
    EXPECT_TRUE(settings.isDamaged());
    EXPECT_TRUE(settings.warning().contains("folder"));
    EXPECT_FALSE(SaveSpamCount(settings, 4));
    EXPECT_TRUE(QFileInfo(home.file("settings.ini")).isDir());
    // A second damaged file does not push the first one's copy away.
    home.write("settings.ini.damaged", "older");
    ASSERT_TRUE(settings.replaceDamagedFile());
    EXPECT_TRUE(QFileInfo(home.file("settings.ini.damaged-2")).isDir());
    EXPECT_EQ(home.read("settings.ini.damaged"), "older");
    EXPECT_TRUE(SaveSpamCount(settings, 4));
}

TEST(UserSettings, HandEditedFileWithCommentsIsNotDamaged)
{
    TempHome home;
    home.write("settings.ini", "; written by hand\r\n\r\n# another comment\r\n[10]\r\n"
                               "General\\Minutes=25\r\nGeneral\\Mailer=\"thunder, bird\"\r\n");
    UserSettings settings;
    EXPECT_FALSE(settings.isDamaged()) << settings.warning().toStdString();
    EXPECT_EQ(ReadGeneralSettings(settings).minutes, 25);
    EXPECT_EQ(ReadGeneralSettings(settings).mailer, "thunder, bird");
}

TEST(UserSettings, UnwritableLocationIsReportedAndKeepsTheChange)
{
    TempHome home;
    home.write("blocker", "a file where a folder should be");
    const QString path = home.file("blocker/settings.ini");
    UserSettings settings(path);
    ASSERT_TRUE(settings.writeInteger("General", "Minutes", 42));
    EXPECT_FALSE(settings.flush());
    EXPECT_TRUE(settings.lastError().contains(path)) << settings.lastError().toStdString();
    // The change is not lost: the program still works with it, and it is written once the
    // location can be written.
    EXPECT_EQ(settings.readInteger("General", "Minutes", 10), 42);
    EXPECT_FALSE(settings.flush());
    ASSERT_TRUE(QFile::remove(home.file("blocker")));
    EXPECT_TRUE(settings.flush()) << settings.lastError().toStdString();
    EXPECT_TRUE(diskText(path).contains("Minutes=42"));
}

TEST(MachineSettings, IsEmptyOnLinux)
{
    const MachineSettings machine;
    const SettingsReader &reader = machine;
    EXPECT_FALSE(reader.value("SOFTWARE\\Classes\\mailto\\shell\\open\\command", "").has_value());
    EXPECT_EQ(reader.readString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Eudora.exe",
                                "Path", "none"),
              "none");
    EXPECT_EQ(ReadGeneralSettings(machine).minutes, 10);
}

} // namespace
