#include "inifile.h"
#include "temp_home.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(IniFile, ReadsValuesWithoutRegardToCase)
{
    TIniFile ini;
    ini.SetLines({"; comment", "stray=before any section", "[Smaller]", "  QSmaller = 1 ", "Num=abc",
                  "Path=C:\\a b\\c=d", "qsmaller=0", "[ known ]", "QMonitor=0", "Big=99999999999",
                  "[Smaller]", "Check=0"});
    EXPECT_TRUE(ini.ReadBool("SMALLER", "qsmaller", false));
    EXPECT_EQ(ini.ReadInteger("smaller", "num", 5), 5);
    EXPECT_EQ(ini.ReadString("Smaller", "PATH"), "C:\\a b\\c=d");
    EXPECT_FALSE(ini.ReadBool("Known", "qmonitor", true));
    EXPECT_EQ(ini.ReadInteger("Known", "Big", 7), 7);
    // The first section of a name is the one that counts.
    EXPECT_TRUE(ini.ReadBool("Smaller", "Check", true));
    EXPECT_EQ(ini.ReadString(QString(), "stray", "none"), "none");
    EXPECT_EQ(ini.Keys("smaller"), (QStringList{"QSmaller", "Num", "Path", "qsmaller"}));
    EXPECT_EQ(ini.Sections(), (QStringList{"Smaller", "known", "Smaller"}));
}

TEST(IniFile, WritingKeepsEverythingElseInPlace)
{
    TempHome home;
    home.write("tarnwick.ini", "# kept\r\n[General]\r\nLogName=log file.txt\r\n\r\n[Smaller]\r\nqsmaller=0\r\n"
                               "; note\r\n\r\n[Other]\r\nx=1\r\n");
    TIniFile ini;
    ASSERT_TRUE(ini.Load(home.file("tarnwick.ini")));
    ini.WriteBool("SMALLER", "QSMALLER", true);
    ini.WriteInteger("smaller", "Num", 12);
    ini.WriteString("New", "Text", "two\r\nlines");
    ini.DeleteKey("other", "X");
    QString error;
    ASSERT_TRUE(ini.Save(home.file("tarnwick.ini"), &error)) << error.toStdString();
    EXPECT_EQ(home.read("tarnwick.ini"),
              QByteArray("# kept\n[General]\nLogName=log file.txt\n\n[Smaller]\nqsmaller=1\n; note\nNum=12\n\n"
                         "[Other]\n\n[New]\nText=two  lines\n"));
    TIniFile back;
    ASSERT_TRUE(back.Load(home.file("tarnwick.ini")));
    EXPECT_EQ(back.ReadString("general", "logname"), "log file.txt");
    EXPECT_EQ(back.ReadInteger("Smaller", "num", 0), 12);
}

TEST(IniFile, Latin1IsReadAndAFolderIsReported)
{
    TempHome home;
    TIniFile ini;
    home.write("old.ini", "[General]\r\nName=Ren\xe9\r\n");
    ASSERT_TRUE(ini.Load(home.file("old.ini")));
    EXPECT_EQ(ini.ReadString("General", "Name"), QStringLiteral(u"René"));
    ASSERT_TRUE(ini.Save(home.file("old.ini")));
    EXPECT_EQ(home.read("old.ini"), QByteArray("[General]\nName=Ren\xc3\xa9\n"));

    ASSERT_TRUE(QDir(home.path()).mkdir("dir.ini"));
    QString error;
    EXPECT_FALSE(ini.Load(home.file("dir.ini"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ini.Save(home.file("dir.ini"), &error));
}

} // namespace
