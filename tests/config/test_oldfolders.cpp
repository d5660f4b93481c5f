#include "activitylog.h"
#include "files.h"
#include "logreader.h"
#include "oldfolders.h"
#include "settingsstore.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A home folder of the test's own with HOME, the XDG variables and TARNWICK_HOME as given
// (null = unset), all put back afterwards.
class ScopedHome
{
public:
    ScopedHome(const QString &configHome, const QString &dataHome, const QString &tarnwickHome = {})
    {
        const auto inHome = [this](const QString &name) { return name.isNull() ? name : path(name); };
        m_env.set("HOME", m_dir.path());
        m_env.set("XDG_CONFIG_HOME", inHome(configHome));
        m_env.set("XDG_DATA_HOME", inHome(dataHome));
        m_env.set("TARNWICK_HOME", inHome(tarnwickHome));
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    EnvScope m_env;
};

} // namespace

TEST(OldFolders, NewPlacesFollowTheXdgVariables)
{
    struct Case
    {
        const char *what;
        QString configHome, dataHome, tarnwickHome; // relative to the home folder; null = unset
        QString settings, data, oldSettings, oldData;
    };
    const Case cases[] = {
        {"defaults", {}, {}, {}, ".config/tarnwick/settings.ini", ".local/share/tarnwick",
         ".config/Ostrand Corporation/Tarnwick.ini", ".local/share/Ostrand Corporation/Tarnwick"},
        {"XDG variables", "cfg", "dat", {}, "cfg/tarnwick/settings.ini", "dat/tarnwick",
         "cfg/Ostrand Corporation/Tarnwick.ini", "dat/Ostrand Corporation/Tarnwick"},
        // The rules say a relative value is to be ignored.
        {"relative XDG variables", "", "", {}, ".config/tarnwick/settings.ini", ".local/share/tarnwick",
         ".config/Ostrand Corporation/Tarnwick.ini", ".local/share/Ostrand Corporation/Tarnwick"},
        {"TARNWICK_HOME", {}, {}, "own", "own/settings.ini", "own",
         ".config/Ostrand Corporation/Tarnwick.ini", ".local/share/Ostrand Corporation/Tarnwick"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScopedHome home(c.configHome, c.dataHome, c.tarnwickHome);
        if (c.configHome == "") {
            qputenv("XDG_CONFIG_HOME", "cfg");
            qputenv("XDG_DATA_HOME", "dat");
        }
        EXPECT_EQ(UserSettings::defaultFileName(), home.path(c.settings));
        EXPECT_EQ(DataFolder(), home.path(c.data));
        EXPECT_EQ(OldSettingsFile(), home.path(c.oldSettings));
        EXPECT_EQ(OldDataFolder(), home.path(c.oldData));
    }
}

// The old places as the first builds left them, and what each start finds afterwards.
TEST(OldFolders, AreMovedOnceWithoutOverwriting)
{
    struct Case
    {
        const char *what;
        QString tarnwickHome;
        QStringList presentInNew; // files already in the new data folder
        bool settingsInNew;       // a settings file is in the new place already
        bool dataPlaceBlocked;    // a file stands where the new data folder would be
        int moved;                // report lines
        QStringList problemWords; // one problem for each, holding that word
        QStringList leftBehind;   // in the old data folder afterwards
    };
    const Case cases[] = {
        {"everything moves", {}, {}, false, false, 2, {}, {}},
        {"files there already are kept", {}, {"known.lst"}, true, false, 1,
         {"settings file", "known.lst"}, {"known.lst"}},
        {"a failed move leaves the files", {}, {}, false, true, 1,
         {"could not be moved"}, {"known.lst", "logfile.txt", "msg_1.eml"}},
        {"TARNWICK_HOME holds everything already", "own", {}, false, false, 0, {},
         {"known.lst", "logfile.txt", "msg_1.eml"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScopedHome home({}, {}, c.tarnwickHome);
        const QString oldData = OldDataFolder();
        const QString newData = home.path(".local/share/tarnwick");
        const QString newSettings = home.path(".config/tarnwick/settings.ini");
        // The log and the alarm sound as the old settings name them; another file stays.
        const QByteArray settings = "[10]\nGeneral\\Logfile=" + oldData.toUtf8()
                                    + "/logfile.txt\nGeneral\\AlarmFile=\"" + oldData.toUtf8()
                                    + "/bell, loud.wav\"\nGeneral\\Mailer=/usr/bin/mail\n";
        WriteTestFile(OldSettingsFile(), settings);
        for (const char *name : {"known.lst", "logfile.txt", "msg_1.eml"})
            WriteTestFile(oldData + "/" + name, QByteArray("old ") + name);
        for (const QString &name : c.presentInNew)
            WriteTestFile(newData + "/" + name, "new");
        if (c.settingsInNew)
            WriteTestFile(newSettings, "[10]\n");
        if (c.dataPlaceBlocked)
            WriteTestFile(newData, "in the way");

        const FolderMove result = MoveOldFolders();
        EXPECT_EQ(result.moved.size(), c.moved) << result.moved.join('\n').toStdString();
        ASSERT_EQ(result.problems.size(), c.problemWords.size()) << result.problems.join('\n').toStdString();
        for (qsizetype i = 0; i < c.problemWords.size(); ++i)
            EXPECT_TRUE(result.problems.at(i).contains(c.problemWords.at(i))) << result.problems.at(i).toStdString();

        const QStringList left = QDir(oldData).entryList(QDir::Files, QDir::Name);
        EXPECT_EQ(left, c.leftBehind);
        for (const QString &name : c.presentInNew)
            EXPECT_EQ(ReadTestFile(newData + "/" + name), "new") << "overwritten: " << name.toStdString();
        for (const char *name : {"known.lst", "logfile.txt", "msg_1.eml"}) {
            if (!c.leftBehind.contains(name) && !c.presentInNew.contains(name)) {
                EXPECT_EQ(ReadTestFile(newData + "/" + name), QByteArray("old ") + name);
            }
        }
        if (c.leftBehind.isEmpty()) {
            EXPECT_FALSE(QFileInfo::exists(home.path(".local/share/Ostrand Corporation")));
            EXPECT_FALSE(QFileInfo::exists(home.path(".config/Ostrand Corporation")));
        }
        if (!c.settingsInNew && c.tarnwickHome.isNull()) {
            // Moved, kept private, and naming the files where they are now.
            const UserSettings moved(newSettings);
            const QString newFolder = c.dataPlaceBlocked ? oldData : newData;
            EXPECT_EQ(moved.readString("General", "Logfile"), newFolder + "/logfile.txt");
            EXPECT_EQ(moved.readString("General", "AlarmFile"), newFolder + "/bell, loud.wav");
            EXPECT_EQ(moved.readString("General", "Mailer"), "/usr/bin/mail");
            EXPECT_EQ(QFile::permissions(newSettings),
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                          | QFileDevice::WriteUser);
        }
        if (c.dataPlaceBlocked)
            continue;
        // Once: the next start finds nothing new to report about what it moved.
        const FolderMove again = MoveOldFolders();
        EXPECT_TRUE(again.moved.isEmpty()) << again.moved.join('\n').toStdString();
    }
}

// The note goes to the activity log, and the statistics do not count it as a stray line.
TEST(OldFolders, TheMoveIsLogged)
{
    ScopedHome home({}, {});
    const QString name = home.path("logfile.txt");
    {
        ActivityLog log(name);
        log.logFolderMove(QStringLiteral("Moved 3 files from \"a\" to \"b\".\nforged line."));
    }
    const QByteArray text = ReadTestFile(name);
    EXPECT_TRUE(text.startsWith("FOLDER MOVE: Moved 3 files from \"a\" to \"b\". forged line at ")) << text.data();
    EXPECT_EQ(text.count('\n'), 1);
    const ActivityLogData data = ParseActivityLog(text);
    EXPECT_EQ(data.skippedLines, 0);
    EXPECT_EQ(data.errors, 0);
}
