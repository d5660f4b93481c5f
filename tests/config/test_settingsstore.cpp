#include "settings.h"
#include "settingsstore.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The file as it is on disk, not as a QSettings cache remembers it.
QString diskText(const QString &path)
{
    return QString::fromUtf8(ReadTestFile(path));
}

mode_t fileMode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

struct UmaskGuard
{
    explicit UmaskGuard(mode_t mask) : old(::umask(mask)) {}
    ~UmaskGuard() { ::umask(old); }
    mode_t old;
};

TEST(UserSettings, NamesMatchWithoutRegardToCase)
{
    struct Case
    {
        const char *stored; // the file as another tool left it
        const char *section, *name;
    };
    const Case cases[] = {
        {"[10]\nGeneral\\AlarmFile=bell.wav\n", "General", "Alarmfile"},
        {"[10]\ngeneral\\alarmfile=bell.wav\n", "General", "AlarmFile"},
        {"[10]\nGENERAL\\ALARMFILE=bell.wav\n", "general", "alarmFILE"},
        // Two spellings side by side: the exact one is read, and a write leaves only one.
        {"[10]\nGeneral\\AlarmFile=bell.wav\nGeneral\\alarmfile=x\ngeneral\\ALARMFILE=y\n",
         "General", "AlarmFile"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        TempHome home;
        home.write("settings.ini", c.stored);
        UserSettings settings;
        EXPECT_EQ(settings.readString(c.section, c.name), "bell.wav");
        ASSERT_TRUE(settings.writeString(c.section, c.name, "harp.wav"));
        ASSERT_TRUE(settings.flush());
        const QString text = diskText(settings.fileName());
        EXPECT_EQ(text.count('='), 1) << text.toStdString();
        EXPECT_TRUE(text.contains("harp.wav"));
        EXPECT_EQ(UserSettings().readString("General", "ALARMFILE"), "harp.wav");
    }
}

TEST(UserSettings, ValueReadingRules)
{
    struct Case
    {
        const char *text; // nullptr = no such value
        bool truthDefault, truth;
        int integer; // read with default -7
    };
    const Case cases[] = {
        {nullptr, true, true, -7}, {nullptr, false, false, -7}, {"1", false, true, 1},
        {"0", true, false, 0},     {"2", false, true, 2},       {"-1", false, true, -1},
        {"", true, false, -7},     {"yes", true, false, -7},    {"12abc", true, false, -7},
        {" 5 ", false, true, 5},   {"00", true, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(missing)");
        TempHome home;
        if (c.text)
            home.write("settings.ini", QByteArray("[10]\nGeneral\\V=\"") + c.text + "\"\n");
        UserSettings settings;
        EXPECT_EQ(settings.readBool("General", "V", c.truthDefault), c.truth);
        EXPECT_EQ(settings.readInteger("General", "V", -7), c.integer);
    }
}

TEST(UserSettings, TextValuesSurviveTheFileWhateverTheyHold)
{
    TempHome home;
    const QStringList texts = {"/home/ä ö/log, with comma.txt", "@Variant(not really)",
                               "\"quoted\" ;semicolon #hash", "line\nbreak",
                               " leading and trailing ", "[10]", "back\\slash\\"};
    {
        UserSettings settings;
        for (int i = 0; i < texts.size(); ++i)
            ASSERT_TRUE(settings.writeString("General", QStringLiteral("T%1").arg(i), texts[i]));
        ASSERT_TRUE(settings.flush());
    }
    UserSettings settings;
    ASSERT_FALSE(settings.isDamaged()) << settings.warning().toStdString();
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(settings.readString("General", QStringLiteral("T%1").arg(i)), texts[i]);
}

TEST(UserSettings, FileIsOwnerOnlyAndStaysSo)
{
    const UmaskGuard umask(022);
    TempHome home;
    const QString path = home.file("settings.ini");
    UserSettings settings;
    ASSERT_TRUE(SaveSpamCount(settings, 1));
    EXPECT_EQ(fileMode(path), 0600u);
    // Opened up by someone: the next save closes it again.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    ASSERT_TRUE(SaveSpamCount(settings, 2));
    EXPECT_EQ(fileMode(path), 0600u);
    // Deleted while the program runs: made anew, owner-only again.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(SaveSpamCount(settings, 3));
    EXPECT_EQ(fileMode(path), 0600u);
    EXPECT_EQ(ReadGeneralSettings(UserSettings()).count, 3);
}

TEST(UserSettings, DamagedFileGivesDefaultsAWarningAndIsKept)
{
    struct Case { const char *what; QByteArray bytes; bool damaged; };
    const QByteArray good = "[10]\nGeneral\\Minutes=25\n";
    const Case cases[] = {
        {"binary", good + QByteArray(1, '\0') + "\x01\x02", true},
        {"not UTF-8", good + "General\\Mailer=mutt \xff\xfe\n", true},
        {"open section", "[10\nGeneral\\Minutes=25\n", true},
        {"stray text", good + "this is not a setting\n", true},
        // QSettings reads these but cannot write the file back: every save would fail.
        {"hash comment", "# note\n" + good, true},
        {"vertical tab", good + "\v\n", true},
        {"indented text", good + "  stray\n", true},
        {"edited by hand", "; mine\r\n\r\n \t \r\n[10]\r\nGeneral\\Minutes=25\r\n", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home;
        home.write("settings.ini", c.bytes);
        UserSettings settings;
        EXPECT_EQ(settings.isDamaged(), c.damaged);
        EXPECT_EQ(ReadGeneralSettings(settings).minutes, c.damaged ? 10 : 25);
        if (!c.damaged) {
            // A file that reads well also saves.
            EXPECT_TRUE(SaveSpamCount(settings, 9)) << settings.lastError().toStdString();
            continue;
        }
        EXPECT_TRUE(settings.warning().contains(settings.fileName()));
        // Neither the program's own updates nor the save at exit may touch the file.
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
    home.write("settings.ini.damaged", "an older copy");
    UserSettings settings;
    EXPECT_TRUE(settings.isDamaged());
    EXPECT_TRUE(settings.warning().contains("folder"));
    EXPECT_FALSE(SaveSpamCount(settings, 4));
    EXPECT_TRUE(QFileInfo(home.file("settings.ini")).isDir());
    ASSERT_TRUE(settings.replaceDamagedFile());
    EXPECT_TRUE(QFileInfo(home.file("settings.ini.damaged-2")).isDir());
    EXPECT_EQ(home.read("settings.ini.damaged"), "an older copy");
    EXPECT_TRUE(SaveSpamCount(settings, 4));
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
    // The program goes on with the change and writes it once the place can be written.
    EXPECT_EQ(settings.readInteger("General", "Minutes", 10), 42);
    EXPECT_FALSE(settings.flush());
    ASSERT_TRUE(QFile::remove(home.file("blocker")));
    EXPECT_TRUE(settings.flush()) << settings.lastError().toStdString();
    EXPECT_TRUE(diskText(path).contains("Minutes=42"));
}

} // namespace
