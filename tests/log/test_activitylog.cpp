#include "activitylog.h"
#include "logreader.h"
#include "temp_home.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A log whose clock moves on one minute per entry, and which collects its reports.
struct TestLog
{
    explicit TestLog(const QString &name) : log(name)
    {
        log.setClock([this] { return QDateTime(QDate(2026, 12, 6), QTime(14, 5)).addSecs(60 * ticks++); });
        log.setErrorHandler([this](const QString &message) { reports.append(message); });
    }
    ActivityLog log;
    int ticks = 0;
    QStringList reports;
};

const DeletedMessage kSpam{"Win!", "x@spam.example", "1500", "Sun, 6 Dec"};

TEST(ActivityLog, EachEntryAppendsItsExactLines)
{
    TempHome home;
    const QString path = home.file("log.txt");
    home.write("log.txt", "earlier entry\n");
    TestLog t(path);
    t.log.logCheck(2, "joe", "pop.example.org");
    EXPECT_FALSE(t.log.isOpen());
    t.log.logError("Operation timed out", "joe", "pop.example.org");
    t.log.logCancel("joe", "pop.example.org");
    t.log.logAutomaticMode(true);
    t.log.logAutomaticMode(false);
    t.log.logDeletion("joe", "pop.example.org", kSpam);
    t.log.logCheck(0, "", "");
    EXPECT_FALSE(t.log.isOpen());
    EXPECT_EQ(ReadTestFile(path), "earlier entry\n"
              "MAIL CHECK 2 msg(s) for \"joe\" on server pop.example.org at Sun 2026-12-06 14:05\n"
              "ERROR Operation timed out FOR joe ON pop.example.org AT Sun 2026-12-06 14:06\n"
              "OPERATION CANCELED FOR joe ON pop.example.org AT Sun 2026-12-06 14:07\n"
              "Automatic mode enabled at Sun 2026-12-06 14:08\n"
              "Automatic mode disabled at Sun 2026-12-06 14:09\n"
              "DELETE SPAM on Sun 2026-12-06 14:10\n"
              "   Server:  pop.example.org Mailbox: joe\n"
              "   Subject: Win!\n"
              "   Sender:  x@spam.example\n"
              "   Size:    1500  Date: Sun, 6 Dec\n"
              "MAIL CHECK 0 msg(s) for \"\" on server  at Sun 2026-12-06 14:11\n");
    EXPECT_TRUE(t.reports.isEmpty());
    EXPECT_TRUE(t.log.lastError().isEmpty());
}

TEST(ActivityLog, BatchKeepsTheFileOpenUntilItEnds)
{
    TempHome home;
    const QString path = home.file("log.txt");
    TestLog t(path);
    try {
        ActivityLog::Batch batch(t.log);
        EXPECT_TRUE(t.log.isOpen());
        t.log.logDeletion("joe", "pop", kSpam);
        // An error in the middle of the run does not end the batch.
        t.log.logError("-ERR no such message", "joe", "pop");
        EXPECT_TRUE(t.log.isOpen());
        t.log.logDeletion("joe", "pop", kSpam);
        // Entries reach the disk as they are made, not when the batch ends.
        EXPECT_EQ(ParseActivityLog(ReadTestFile(path)).deletions.size(), 2);
        throw std::runtime_error("connection lost");
    } catch (const std::runtime_error &) {
    }
    // Closed even though the run ended with an exception.
    EXPECT_FALSE(t.log.isOpen());
    const ActivityLogData data = ParseActivityLog(ReadTestFile(path));
    EXPECT_EQ(data.deletions.size(), 2);
    EXPECT_EQ(data.errors, 1);
}

TEST(ActivityLog, BlankNameMeansNoLogAndNoError)
{
    for (const char *name : {"", " ", "  \t"}) {
        TempHome home;
        TestLog t(QString::fromUtf8(name));
        ActivityLog::Batch batch(t.log);
        EXPECT_FALSE(t.log.isOpen());
        t.log.logCheck(1, "joe", "pop");
        t.log.logDeletion("joe", "pop", kSpam);
        EXPECT_TRUE(t.reports.isEmpty());
        EXPECT_TRUE(QDir(home.path()).entryList(QDir::Files).isEmpty());
    }
}

TEST(ActivityLog, UnwritableLogIsReportedOnceAndNeverStopsTheCaller)
{
    TempHome home;
    home.write("plainfile", "x");
    const std::pair<const char *, QString> cases[] = {
        {"missing folder", home.file("no/such/folder/log.txt")},
        {"folder as name", home.path()},
        {"file as folder", home.file("plainfile/log.txt")},
        {"full disk", "/dev/full"},
    };
    for (const auto &[what, name] : cases) {
        SCOPED_TRACE(what);
        if (name == "/dev/full" && !QFileInfo::exists(name))
            continue;
        TestLog t(name);
        t.log.logCheck(1, "joe", "pop");
        {
            ActivityLog::Batch batch(t.log);
            for (int i = 0; i < 5; ++i)
                t.log.logDeletion("joe", "pop", kSpam);
            // The failure closed the file and cleared the open state.
            EXPECT_FALSE(t.log.isOpen());
        }
        t.log.logAutomaticMode(true);
        ASSERT_EQ(t.reports.size(), 1);
        EXPECT_EQ(t.log.lastError(), t.reports.first());
        EXPECT_TRUE(t.reports.first().contains(name)) << t.reports.first().toStdString();
    }
    EXPECT_EQ(ReadTestFile(home.file("plainfile")), "x");
}

TEST(ActivityLog, RecoveryThenANewFailureIsReportedAgain)
{
    TempHome home;
    TestLog t(home.file("missing/log.txt"));
    t.log.logCheck(1, "joe", "pop");
    ASSERT_EQ(t.reports.size(), 1);
    ASSERT_TRUE(QDir(home.path()).mkdir("missing"));
    t.log.logCheck(2, "joe", "pop");
    EXPECT_EQ(t.reports.size(), 1);
    EXPECT_EQ(ParseActivityLog(ReadTestFile(home.file("missing/log.txt"))).checks.size(), 1);
    ASSERT_TRUE(QDir(home.file("missing")).removeRecursively());
    t.log.logCheck(3, "joe", "pop");
    EXPECT_EQ(t.reports.size(), 2);
}

TEST(ActivityLog, ForgedLineBreaksInASubjectStayInsideTheBlock)
{
    TempHome home;
    const QString path = home.file("log.txt");
    TestLog t(path);
    const QString forged = QStringLiteral(
        "Hello\r\nMAIL CHECK 999 msg(s) for \"victim\" on server evil at Sun 2026-12-06 14:05\n"
        "DELETE SPAM on Sun 2026-12-06 14:05\n   Server:  evil Mailbox: victim");
    t.log.logDeletion("joe\n", "pop", {forged, "Spammer@Example.COM\n   Size:    1", "12", "d\r"});
    t.log.logError("-ERR\r\nMAIL CHECK 5 msg(s) for \"x\" on server y at Sun 2026-12-06 14:05", "joe", "pop");
    t.log.logCheck(4, "joe", "pop");
    const QByteArray bytes = ReadTestFile(path);
    EXPECT_EQ(bytes.count('\n'), 7);
    const ActivityLogData data = ParseActivityLog(bytes);
    ASSERT_EQ(data.checks.size(), 1);
    EXPECT_EQ(data.checks.first().count, 4);
    ASSERT_EQ(data.deletions.size(), 1);
    EXPECT_EQ(data.deletions.first().server, "pop");
    EXPECT_EQ(data.deletions.first().mailbox, "joe ");
    EXPECT_EQ(data.deletions.first().size, 12);
    EXPECT_EQ(data.mailboxes, QStringList{"joe"});
    EXPECT_EQ(data.errors, 1);
    EXPECT_EQ(data.skippedLines, 0);
}

TEST(ActivityLog, EntryAfterAFragmentStartsOnItsOwnLine)
{
    TempHome home;
    const QString path = home.file("log.txt");
    // An earlier run stopped in the middle of a block.
    home.write("log.txt", "DELETE SPAM on Sun 2026-12-06 14:00\n   Server:  pop Mail");
    TestLog t(path);
    t.log.logCheck(8, "joe", "pop");
    t.log.logCheck(9, "joe", "pop");
    const ActivityLogData data = ParseActivityLog(ReadTestFile(path));
    ASSERT_EQ(data.checks.size(), 2);
    EXPECT_EQ(data.checks[0].count, 8);
    EXPECT_EQ(data.deletions.size(), 1);
    EXPECT_EQ(ReadTestFile(path).count("\n\n"), 0);
}

TEST(ActivityLog, ChangingTheNameClosesTheOldFile)
{
    TempHome home;
    TestLog t(home.file("a.txt"));
    ActivityLog::Batch batch(t.log);
    t.log.logDeletion("joe", "pop", kSpam);
    t.log.setFileName(home.file("b.txt"));
    EXPECT_FALSE(t.log.isOpen());
    t.log.logCheck(1, "joe", "pop");
    EXPECT_EQ(ParseActivityLog(ReadTestFile(home.file("a.txt"))).deletions.size(), 1);
    EXPECT_EQ(ParseActivityLog(ReadTestFile(home.file("b.txt"))).checks.size(), 1);
}

} // namespace
