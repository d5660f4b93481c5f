#include "autostart.h"
#include "imports.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// XDG_CONFIG_HOME pointed at a fresh folder for one test. (How that variable is read, a
// relative value included: OldFolders.NewPlacesFollowTheXdgVariables.)
class AutostartTest : public ::testing::Test
{
protected:
    QString entryFile() const { return dir.filePath("config/autostart/tarnwick.desktop"); }

    QTemporaryDir dir;
    EnvScope env{"XDG_CONFIG_HOME", dir.filePath("config")};
};

} // namespace

TEST_F(AutostartTest, SwitchingOnWritesTheEntryAndOffRemovesIt)
{
    const QString program = "/usr/bin/tarnwick";
    EXPECT_FALSE(IsAutostartEnabled());
    QString error;
    // Off when it is already off: nothing to do, no error.
    EXPECT_TRUE(SetAutostart(false, program, &error));
    EXPECT_TRUE(error.isEmpty());

    ASSERT_TRUE(SetAutostart(true, program, &error)) << error.toStdString();
    EXPECT_TRUE(IsAutostartEnabled());
    const QByteArray text = ReadTestFile(entryFile());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=/usr/bin/tarnwick\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));

    // On again replaces the entry whole, e.g. after the program moved.
    ASSERT_TRUE(SetAutostart(true, "/opt/tarnwick/bin/tarnwick", &error));
    EXPECT_TRUE(ReadTestFile(entryFile()).contains("\nExec=/opt/tarnwick/bin/tarnwick\n"));
    EXPECT_EQ(ReadTestFile(entryFile()).count("Exec="), 1);

    ASSERT_TRUE(SetAutostart(false, program, &error));
    EXPECT_FALSE(QFileInfo::exists(entryFile()));
    EXPECT_FALSE(IsAutostartEnabled());
}

TEST_F(AutostartTest, EntriesSwitchedOffByTheDesktopReadAsOff)
{
    struct Case { const char *what; QByteArray text; bool enabled; };
    const Case cases[] = {
        {"plain", "[Desktop Entry]\nType=Application\nExec=tarnwick\n", true},
        {"hidden", "[Desktop Entry]\nExec=tarnwick\nHidden=true\n", false},
        {"gnome off", "[Desktop Entry]\nExec=tarnwick\nX-GNOME-Autostart-enabled=false\n", false},
        {"gnome on", "[Desktop Entry]\nExec=tarnwick\nX-GNOME-Autostart-enabled=true\n", true},
        {"hidden in another group", "[Desktop Entry]\nExec=tarnwick\n[Desktop Action x]\nHidden=true\n", true},
        {"hidden false", "[Desktop Entry]\r\nHidden=false\r\n", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteTestFile(entryFile(), c.text);
        EXPECT_EQ(IsAutostartEnabled(), c.enabled);
    }
}

TEST_F(AutostartTest, AnyProgramPathSurvivesTheExecQuoting)
{
    // Read back by the desktop-entry reader the program uses for the mail program, and split
    // as a command line: the path must come back as one argument, unchanged.
    const QString paths[] = {
        "/usr/bin/tarnwick",
        "/home/jo/My Programs/tarnwick",
        "/opt/\"quoted\"/tarnwick",
        "/opt/$HOME/back\\slash/tarnwick",
        "/opt/100%/tarnwick %u",
        "/opt/it's `here`/tarnwick",
    };
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QString entry = AutostartEntry(path);
        const QString command = DesktopEntryCommand(entry, entryFile());
        EXPECT_EQ(QProcess::splitCommand(command), QStringList{path}) << entry.toStdString();
    }
}

TEST_F(AutostartTest, EntryPassesTheDesktopValidator)
{
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup installs it)";
    ASSERT_TRUE(SetAutostart(true, "/home/jo/My Programs/tarnwick"));
    QProcess run;
    run.start(validator, {entryFile()});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardOutput().toStdString();
    EXPECT_TRUE(run.readAllStandardOutput().trimmed().isEmpty());
}

TEST_F(AutostartTest, FailuresSayWhatToDo)
{
    // A file where the autostart folder should be: the entry cannot be written.
    WriteTestFile(dir.filePath("config/autostart"), "not a folder");
    QString error;
    EXPECT_FALSE(SetAutostart(true, "/usr/bin/tarnwick", &error));
    EXPECT_TRUE(error.contains("could not set itself to start")) << error.toStdString();
    EXPECT_TRUE(error.contains(dir.filePath("config/autostart"))) << error.toStdString();
    EXPECT_FALSE(IsAutostartEnabled());

    // A folder in place of the entry cannot be removed as a file.
    QFile::remove(dir.filePath("config/autostart"));
    ASSERT_TRUE(QDir().mkpath(entryFile()));
    EXPECT_FALSE(SetAutostart(false, "/usr/bin/tarnwick", &error));
    EXPECT_TRUE(error.contains("cannot be removed")) << error.toStdString();
    EXPECT_TRUE(error.contains(entryFile())) << error.toStdString();
}
