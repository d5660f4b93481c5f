#include "inifile.h"
#include "temp_home.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(IniFile, ReadsValuesWithoutRegardToCase)
{
    TIniFile ini;
    ini.SetLines({QStringLiteral("; comment"), QStringLiteral("stray=before any section"),
                  QStringLiteral("[Smaller]"), QStringLiteral("  QSmaller = 1 "),
                  QStringLiteral("Num=abc"), QStringLiteral("Path=C:\\a b\\c=d"),
                  QStringLiteral("qsmaller=0"), QStringLiteral("[ known ]"),
                  QStringLiteral("QMonitor=0"), QStringLiteral("Big=99999999999"),
                  QStringLiteral("[Smaller]"), QStringLiteral("Check=0")});
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("SMALLER"), QStringLiteral("qsmaller"), false));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("smaller"), QStringLiteral("num"), 5), 5);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Smaller"), QStringLiteral("PATH")), QStringLiteral("C:\\a b\\c=d"));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Known"), QStringLiteral("qmonitor"), true));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Known"), QStringLiteral("Big"), 7), 7);
    // The first section of a name is the one that counts.
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Smaller"), QStringLiteral("Check"), true));
    EXPECT_EQ(ini.ReadString(QString(), QStringLiteral("stray"), QStringLiteral("none")), QStringLiteral("none"));
    EXPECT_EQ(ini.Keys(QStringLiteral("smaller")),
              (QStringList{QStringLiteral("QSmaller"), QStringLiteral("Num"), QStringLiteral("Path"),
                           QStringLiteral("qsmaller")}));
    EXPECT_EQ(ini.Sections(), (QStringList{QStringLiteral("Smaller"), QStringLiteral("known"),
                                           QStringLiteral("Smaller")}));
}

TEST(IniFile, WritingKeepsEverythingElseInPlace)
{
    TempHome home;
    home.write(QStringLiteral("tarnwick.ini"),
               "# kept\r\n[General]\r\nLogName=log file.txt\r\n\r\n[Smaller]\r\nqsmaller=0\r\n; note\r\n\r\n[Other]\r\nx=1\r\n");
    TIniFile ini;
    ASSERT_TRUE(ini.Load(home.file(QStringLiteral("tarnwick.ini"))));
    ini.WriteBool(QStringLiteral("SMALLER"), QStringLiteral("QSMALLER"), true);
    ini.WriteInteger(QStringLiteral("smaller"), QStringLiteral("Num"), 12);
    ini.WriteString(QStringLiteral("New"), QStringLiteral("Text"), QStringLiteral("two\r\nlines"));
    ini.DeleteKey(QStringLiteral("other"), QStringLiteral("X"));
    QString error;
    ASSERT_TRUE(ini.Save(home.file(QStringLiteral("tarnwick.ini")), &error)) << error.toStdString();
    EXPECT_EQ(home.read(QStringLiteral("tarnwick.ini")),
              QByteArray("# kept\n[General]\nLogName=log file.txt\n\n[Smaller]\nqsmaller=1\n; note\nNum=12\n\n"
                         "[Other]\n\n[New]\nText=two  lines\n"));
    TIniFile back;
    ASSERT_TRUE(back.Load(home.file(QStringLiteral("tarnwick.ini"))));
    EXPECT_EQ(back.ReadString(QStringLiteral("general"), QStringLiteral("logname")), QStringLiteral("log file.txt"));
    EXPECT_EQ(back.ReadInteger(QStringLiteral("Smaller"), QStringLiteral("num"), 0), 12);
}

TEST(IniFile, MissingFileIsEmptyAndLatin1IsRead)
{
    TempHome home;
    TIniFile ini;
    QString error;
    EXPECT_TRUE(ini.Load(home.file(QStringLiteral("absent.ini")), &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(ini.Lines().isEmpty());

    home.write(QStringLiteral("old.ini"), "[General]\r\nName=Ren\xe9\r\n");
    ASSERT_TRUE(ini.Load(home.file(QStringLiteral("old.ini"))));
    EXPECT_EQ(ini.ReadString(QStringLiteral("General"), QStringLiteral("Name")), QStringLiteral(u"René"));
    ASSERT_TRUE(ini.Save(home.file(QStringLiteral("old.ini"))));
    EXPECT_EQ(home.read(QStringLiteral("old.ini")), QByteArray("[General]\nName=Ren\xc3\xa9\n"));
}

TEST(IniFile, UnreadableFileIsReported)
{
    TempHome home;
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("dir.ini")));
    TIniFile ini;
    QString error;
    EXPECT_FALSE(ini.Load(home.file(QStringLiteral("dir.ini")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ini.Save(home.file(QStringLiteral("dir.ini")), &error));
}

} // namespace
