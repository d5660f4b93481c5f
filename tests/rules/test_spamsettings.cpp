#include "rule_test.h"
#include "spamsettings.h"
#include "rulewords.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

TEST(SpamSettingsFiles, MissingFilesGiveEmptyListsAndDefaults)
{
    TempHome home;
    TSpamSettings s;
    s.smaller = {true, 1, false};
    s.knownOn = false;
    s.gridSubject.SetCells(1, 1, "Contains");
    s.readSettings();
    EXPECT_TRUE(s.ReadProblems().isEmpty());
    for (const RuleTable *t : {&s.gridSubject, &s.gridHeader, &s.gridFrom, &s.gridExcept})
        EXPECT_TRUE(t->IsEmptyList());
    EXPECT_EQ(s.gridSubject.Cells(1, 0), "What");
    EXPECT_FALSE(s.smaller.on);
    EXPECT_EQ(s.smaller.limit, 5);
    EXPECT_TRUE(s.smaller.check);
    EXPECT_FALSE(s.larger.on);
    EXPECT_EQ(s.larger.limit, 20000);
    EXPECT_TRUE(s.larger.check);
    EXPECT_TRUE(s.knownOn);
}

TEST(SpamSettingsFiles, SaveAndReadBackEveryList)
{
    TempHome home;
    {
        TSpamSettings s;
        s.ImportKeywords(QStringList({"  casino  ", "", " \t ", "buy, sell"}));
        s.AddSenderForDeletion("spam@bulk.example");
        s.gridHeader.SetCells(1, 1, "Contains");
        s.gridHeader.SetCells(2, 1, "X-Mailer: Floodgate\r\nsecond");
        s.gridHeader.SetCells(4, 1, "No");
        s.ImportAddresses(QStringList({"friend@home.example"}));
        s.larger = {true, 12345, false};
        s.knownOn = false;
        QString error;
        ASSERT_TRUE(s.Savesettings(&error)) << error.toStdString();
    }
    TSpamSettings s;
    s.readSettings();
    EXPECT_TRUE(s.ReadProblems().isEmpty()) << s.ReadProblems().join(u'\n').toStdString();
    ASSERT_EQ(s.gridSubject.RowCount(), 3);
    EXPECT_EQ(rowCells(s.gridSubject, 1), QStringList({"", "Contains (whole word)", "casino", "No", "Yes", "0"}));
    EXPECT_EQ(s.gridSubject.Cells(2, 2), "buy, sell");
    EXPECT_EQ(s.gridSubject.Picture(1), 0);
    EXPECT_EQ(rowCells(s.gridFrom, 1), QStringList({"", "E-mail address", "Equals", "spam@bulk.example", "Yes", "1"}));
    EXPECT_EQ(s.gridHeader.Cells(2, 1), "X-Mailer: Floodgate\r\nsecond");
    EXPECT_EQ(s.gridHeader.Picture(1), 1);
    EXPECT_EQ(rowCells(s.gridExcept, 1), QStringList({"E-mail address", "Equals", "friend@home.example", "No", "0", "", "3"}));
    EXPECT_EQ(s.gridExcept.Picture(1), 3);
    EXPECT_TRUE(s.larger.on);
    EXPECT_EQ(s.larger.limit, 12345);
    EXPECT_FALSE(s.larger.check);
    EXPECT_FALSE(s.knownOn);
}

struct ExceptFileCase { const char *name; QByteArray file; int expectedPicture; };

class ExceptFileTest : public ::testing::TestWithParam<ExceptFileCase> {};

TEST_P(ExceptFileTest, GainsSevenColumnsAndAPicture)
{
    TempHome home;
    home.write("except.lst", GetParam().file);
    TSpamSettings s;
    s.readSettings();
    const RuleTable &t = s.gridExcept;
    EXPECT_EQ(t.ColCount(), 7);
    ASSERT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.Cells(0, 1), "Domain name");
    EXPECT_EQ(t.Cells(4, 1), "5");
    EXPECT_EQ(t.Picture(1), GetParam().expectedPicture);
    ASSERT_TRUE(s.Savesettings());
    EXPECT_TRUE(home.read("except.lst").startsWith("7,2\n"));
}

INSTANTIATE_TEST_SUITE_P(OldForms, ExceptFileTest, ::testing::Values(
        ExceptFileCase{"FiveColumns", "5,2\r\n0,1,Domain name\r\n1,1,Equals\r\n2,1,friends.example\r\n4,1,5\r\n", 3},
        ExceptFileCase{"SixColumns", "6,2\r\n0,1,Domain name\r\n2,1,friends.example\r\n4,1,5\r\n", 3},
        ExceptFileCase{"SevenColumns", "7,2\n0,1,Domain name\n4,1,5\n6,1,9\n", 9},
        ExceptFileCase{"EightColumns", "8,2\n0,1,Domain name\n4,1,5\n6,1,11\n7,1,dropped\n", 11},
        // A picture index that is not an exception picture would mark an accepted message
        // for deletion.
        ExceptFileCase{"PictureZero", "7,2\n0,1,Domain name\n4,1,5\n6,1,0\n", 3},
        ExceptFileCase{"PictureTwo", "7,2\n0,1,Domain name\n4,1,5\n6,1,2\n", 3},
        ExceptFileCase{"PictureText", "7,2\n0,1,Domain name\n4,1,5\n6,1,seven\n", 3},
        ExceptFileCase{"PictureFifteen", "7,2\n0,1,Domain name\n4,1,5\n6,1,15\n", 3}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SpamSettingsFiles, Latin1FileIsReadAndWrittenBackAsUtf8)
{
    TempHome home;
    home.write("subj.lst", "6,2\r\n1,1,Contains\r\n2,1,caf\xe9 cr\xe8me\r\n");
    TSpamSettings s;
    s.readSettings();
    EXPECT_EQ(s.gridSubject.Cells(2, 1), QStringLiteral(u"café crème"));
    ASSERT_TRUE(s.Savesettings());
    EXPECT_TRUE(home.read("subj.lst").contains("2,1,caf\xc3\xa9 cr\xc3\xa8me\n"));
}

TEST(SpamSettingsFiles, DamagedFileIsKeptBesideTheCleanedOne)
{
    TempHome home;
    const QByteArray damaged = "6,999999999\n1,1,Contains\n2,1,free\n4,1,Yes\nrubbish\n1,x,y\n";
    home.write("subj.lst", damaged);
    home.write("from.lst", "6,2\n1,1,E-mail address\n");
    TSpamSettings s;
    s.readSettings();
    EXPECT_FALSE(s.ReadProblems().isEmpty());
    for (const QString &p : s.ReadProblems())
        EXPECT_TRUE(p.startsWith("subj.lst")) << p.toStdString();
    EXPECT_EQ(s.gridSubject.Cells(2, 1), "free");
    EXPECT_EQ(s.gridFrom.Cells(1, 1), "E-mail address");
    ASSERT_TRUE(s.Savesettings());
    EXPECT_EQ(home.read("subj.lst.damaged"), damaged);
    EXPECT_EQ(home.read("subj.lst"), QByteArray("6,2\n1,1,Contains\n2,1,free\n4,1,Yes\n"));
    EXPECT_FALSE(QFile::exists(home.file("from.lst.damaged")));
}

TEST(SpamSettingsFiles, UnreadableListIsNotOverwrittenButTheOthersAreSaved)
{
    TempHome home;
    ASSERT_TRUE(QDir(home.path()).mkdir("header.lst"));
    TSpamSettings s;
    s.readSettings();
    ASSERT_EQ(s.ReadProblems().size(), 1);
    EXPECT_TRUE(s.ReadProblems().first().contains("header.lst"));
    s.ImportKeywords(QStringList({"casino"}));
    QString error;
    EXPECT_FALSE(s.Savesettings(&error));
    EXPECT_TRUE(error.contains("header.lst")) << error.toStdString();
    EXPECT_FALSE(error.contains("subj.lst")) << error.toStdString();
    EXPECT_TRUE(home.read("subj.lst").contains("2,1,casino"));
    EXPECT_TRUE(QFileInfo(home.file("header.lst")).isDir());
}

// A write that fails half-way (here: the file-size limit, which binds root too) must leave
// the old list whole.
TEST(SpamSettingsFiles, FailedWriteLeavesTheOldFileWhole)
{
    TempHome home;
    const QByteArray old = "6,2\n1,1,Contains\n2,1,old rule\n4,1,Yes\n";
    home.write("subj.lst", old);
    TSpamSettings s;
    s.readSettings();
    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many.append(QStringLiteral("keyword number %1").arg(i));
    s.ImportKeywords(many);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool ok = s.Savesettings(&error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains("subj.lst")) << error.toStdString();
    EXPECT_EQ(home.read("subj.lst"), old);
    const QStringList leftovers = QDir(home.path()).entryList(QDir::Files);
    for (const QString &name : leftovers)
        EXPECT_FALSE(name.startsWith("subj.lst.") && name != "subj.lst.damaged")
            << name.toStdString();
}

TEST(SpamSettingsIni, KeepsForeignKeysAndMatchesNamesWithoutCase)
{
    TempHome home;
    home.write("tarnwick.ini", "; settings shared by several windows\r\n" "[General]\r\n"
               "LogName=C:\\Tarnwick\\log file.txt\r\n"
               "\r\n"
               "[smaller]\r\n"
               "qsmaller=1\r\n"
               "NUM = 10\r\n"
               "Other=kept\r\n"
               "\r\n"
               "[KNOWN]\r\n"
               "qmonitor=0\r\n");
    TSpamSettings s;
    s.readSettings();
    EXPECT_TRUE(s.smaller.on);
    EXPECT_EQ(s.smaller.limit, 10);
    EXPECT_TRUE(s.smaller.check);
    EXPECT_FALSE(s.knownOn);
    s.smaller.limit = 42;
    s.knownOn = true;
    ASSERT_TRUE(s.Savesettings());
    EXPECT_EQ(home.read("tarnwick.ini"), QByteArray("; settings shared by several windows\n" "[General]\n"
                         "LogName=C:\\Tarnwick\\log file.txt\n"
                         "\n"
                         "[smaller]\n"
                         "qsmaller=1\n"
                         "NUM =42\n"
                         "Other=kept\n"
                         "Check=1\n"
                         "\n"
                         "[KNOWN]\n"
                         "qmonitor=1\n"
                         "\n"
                         "[Larger]\n"
                         "QLarger=0\n"
                         "Num=20000\n"
                         "Check=1\n"));
}

TEST(SpamSettingsAdditions, SenderToExceptionsIsAppended)
{
    TSpamSettings s("/nonexistent");
    EXPECT_TRUE(s.AddSenderToExceptions("a@b.example"));
    EXPECT_TRUE(s.AddSenderToExceptions("c@d.example"));
    EXPECT_FALSE(s.AddSenderToExceptions("  "));
    ASSERT_EQ(s.gridExcept.RowCount(), 3);
    EXPECT_EQ(rowCells(s.gridExcept, 1), QStringList({"E-mail address", "Equals", "a@b.example", "No", "0", "", "3"}));
    EXPECT_EQ(s.gridExcept.Cells(2, 2), "c@d.example");
}

TEST(SpamSettingsAdditions, MarkForDeletionPutsRulesAtTheTopInReverseOrder)
{
    TSpamSettings s("/nonexistent");
    const QList<std::pair<QString, QString>> messages = {
        {"one", "1@x"}, {"", "skipped@x"}, {"two", "2@x"}, {"three", "3@x"}};
    for (const auto &[subject, sender] : messages)
        s.addToList(subject, sender, true, true);
    ASSERT_EQ(s.gridSubject.RowCount(), 4);
    ASSERT_EQ(s.gridFrom.RowCount(), 4);
    EXPECT_EQ(rowCells(s.gridSubject, 1), QStringList({"", "Equals", "three", "Yes", "Yes", "1"}));
    EXPECT_EQ(s.gridSubject.Cells(2, 3), "one");
    EXPECT_EQ(rowCells(s.gridFrom, 1), QStringList({"", "E-mail address", "Equals", "3@x", "Yes", "1"}));
    EXPECT_EQ(s.gridFrom.Cells(3, 3), "1@x");
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(s.gridSubject.Picture(row), 0);

    s.addToList("four", "4@x", false, true);
    EXPECT_EQ(s.gridSubject.RowCount(), 4);
    EXPECT_EQ(s.gridFrom.Cells(3, 1), "4@x");
}

// Importing keywords (repeated neighbours dropped): ImportSpam.LinesBecomeRulesOfTheNamedList
// in tests/ui, which drives it through its dialog.
TEST(SpamSettingsAdditions, FirstRunHeaderRuleIsOnTopSavedAndNotAddedTwice)
{
    TempHome home;
    TSpamSettings s;
    s.readSettings();
    s.gridHeader.SetCells(1, 1, "Contains");
    ASSERT_TRUE(s.AddFirstRunHeaderRule("alice"));
    EXPECT_EQ(rowCells(s.gridHeader, 1), QStringList({"", "To does not contain", "alice - MailBox #1", "No", "No", "0"}));
    EXPECT_EQ(s.gridHeader.Picture(1), int(QuestionMark));
    EXPECT_EQ(s.gridHeader.Cells(1, 2), "Contains");
    EXPECT_TRUE(home.read("header.lst").contains("2,1,alice - MailBox #1\n"));
    // The user made it a deleting rule meanwhile; a later first run leaves it as it is.
    s.gridHeader.SetCells(4, 1, "Yes");
    ASSERT_TRUE(s.AddFirstRunHeaderRule("ALICE"));
    EXPECT_EQ(s.gridHeader.Cells(4, 1), "Yes");
    EXPECT_EQ(s.gridHeader.RowCount(), 3);
    ASSERT_TRUE(s.AddFirstRunHeaderRule("bob"));
    EXPECT_EQ(s.gridHeader.Cells(2, 1), "bob - MailBox #1");
    EXPECT_EQ(s.gridHeader.Cells(2, 2), "alice - MailBox #1");
}

} // namespace
