#include "logstats.h"

#include <gtest/gtest.h>

#include <array>

// Every table of the statistics computed from one hand-written log whose answers are known:
// entries on both sides of a month boundary, a day without entries (2 November), a day with a
// check but no mail, mailboxes differing only in case, and damaged lines that must be skipped
// (which lines count as damaged: test_logreader.cpp).

namespace {

const char kLog[] =
    "Automatic mode enabled at Sat 2026-10-31 23:40\r\n"
    "MAIL CHECK 3 msg(s) for \"joe\" on server pop.a at Sat 2026-10-31 23:45\r\n"
    "DELETE SPAM on Sat 2026-10-31 23:46\r\n"
    "   Server:  pop.a Mailbox: joe\r\n"
    "   Subject: Pills\r\n"
    "   Sender:  Pills@Spam.Example\r\n"
    "   Size:    2048  Date: Sat, 31 Oct 2026\r\n"
    "MAIL CHECK 2 msg(s) for \"ann\" on server pop.b at Sun 2026-11-01 00:10\r\n"
    "DELETE SPAM on Sun 2026-11-01 00:11\r\n"
    "   Server:  pop.b Mailbox: ann\r\n"
    "   Subject: More pills\r\n"
    "   Sender:  pills@spam.example\r\n"
    "   Size:    100  Date: Sun, 1 Nov 2026\r\n"
    "MAIL CHECK 0 msg(s) for \"JOE\" on server pop.a at Sun 2026-11-01 08:30\r\n"
    "ERROR Operation timed out FOR joe ON pop.a AT Sun 2026-11-01 08:31\r\n"
    "this line is not an entry\r\n"
    "MAIL CHECK x msg(s) for \"joe\" on server pop.a at Sun 2026-11-01 09:00\r\n"
    "MAIL CHECK 5 msg(s) for \"joe\" on server pop.a at Sun 2026-13-01 09:00\r\n"
    "MAIL CHECK 5 msg(s) for \"joe\" on server pop.a at Sun 11/01/2026 9:00 AM\r\n"
    "MAIL CHECK 4 msg(s) for \"joe\" on server pop.a at Tue 2026-11-03 12:29\r\n"
    "DELETE SPAM on Tue 2026-11-03 12:30\r\n"
    "   Server:  pop.a Mailbox: joe\r\n"
    "   Subject: Offer\r\n"
    "   Sender:  bob@other.example\r\n"
    "   Size:    5  Date: Tue, 3 Nov 2026\r\n"
    "DELETE SPAM on Tue 2026-11-03 12:31\r\n"
    "   Server:  pop.a Mailbox: joe\r\n"
    "   Subject: Pills again\r\n"
    "   Sender:  pills@spam.example\r\n";
// (the log ends inside the last block: its size is missing)

const QDate kOct31(2026, 10, 31), kNov1(2026, 11, 1), kNov2(2026, 11, 2), kNov3(2026, 11, 3);

ActivityLogData sample()
{
    return ParseActivityLog(QByteArray(kLog));
}

StatsSelection all()
{
    return {QDate(1998, 1, 1), QDate(2026, 12, 6), QString()};
}

TEST(LogStats, EveryTableOfTheWholeLog)
{
    const LogStatistics s = ComputeStatistics(sample(), all());

    EXPECT_EQ(s.hits, (QList<QStringList>{{"2026-10-31", "23:45", "pop.a", "joe", "3"},
                                          {"2026-11-01", "00:10", "pop.b", "ann", "2"},
                                          {"2026-11-01", "08:30", "pop.a", "JOE", "0"},
                                          {"2026-11-03", "12:29", "pop.a", "joe", "4"}}));
    EXPECT_EQ(s.deleted, (QList<QStringList>{
                  {"2026-10-31", "23:46", "pop.a", "joe", "2048", "pills@spam.example", "spam.example"},
                  {"2026-11-01", "00:11", "pop.b", "ann", "100", "pills@spam.example", "spam.example"},
                  {"2026-11-03", "12:30", "pop.a", "joe", "5", "bob@other.example", "other.example"},
                  {"2026-11-03", "12:31", "pop.a", "joe", "", "pills@spam.example", "spam.example"}}));

    // Sunday first: Sat 31 Oct, Sun 1 Nov (two checks), Tue 3 Nov.
    EXPECT_EQ(s.checksByDay, (std::array<int, 7>{2, 0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(s.foundByDay, (std::array<qint64, 7>{2, 0, 4, 0, 0, 0, 3}));
    EXPECT_EQ(s.deletedByDay, (std::array<qint64, 7>{1, 0, 2, 0, 0, 0, 1}));

    std::array<int, 48> checks{};
    std::array<qint64, 48> found{}, deleted{};
    checks[0] = 1, found[0] = 2, deleted[0] = 1;      // 00:10, 00:11
    checks[17] = 1;                                  // 08:30 falls in the second half hour
    checks[24] = 1, found[24] = 4;                   // 12:29
    deleted[25] = 2;                                 // 12:30, 12:31
    checks[47] = 1, found[47] = 3, deleted[47] = 1;  // 23:45, 23:46
    EXPECT_EQ(s.checksBySlot, checks);
    EXPECT_EQ(s.foundBySlot, found);
    EXPECT_EQ(s.deletedBySlot, deleted);

    // 2 November has no entry and no point; every other day has all three values.
    ASSERT_EQ(s.days.size(), 3);
    const StatsDay days[] = {{kOct31, 1, 3, 1}, {kNov1, 2, 2, 1}, {kNov3, 1, 4, 2}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s.days[i].date, days[i].date);
        EXPECT_EQ(s.days[i].checks, days[i].checks);
        EXPECT_EQ(s.days[i].found, days[i].found);
        EXPECT_EQ(s.days[i].deleted, days[i].deleted);
    }

    EXPECT_EQ(s.totalMessages, 9);
    EXPECT_EQ(s.deletedMessages, 4);
    EXPECT_EQ(s.normalMessages(), 5);
    EXPECT_EQ(s.topSenders, (QList<StatsRank>{{"pills@spam.example", 3}, {"bob@other.example", 1}}));
    EXPECT_EQ(s.topDomains, (QList<StatsRank>{{"spam.example", 3}, {"other.example", 1}}));
}

TEST(LogStats, SelectionByRangeAndMailbox)
{
    const ActivityLogData data = sample();
    const struct
    {
        const char *name;
        StatsSelection selection;
        int hits, deleted;
        qint64 total;
        QList<QDate> days;
        QList<qint64> found; // per day, on the shared axis
        QList<StatsRank> senders;
    } cases[] = {
        {"mailbox joe, any case", {QDate(1998, 1, 1), kNov3, "Joe"}, 3, 3, 7,
         {kOct31, kNov1, kNov3}, {3, 0, 4},
         {{"pills@spam.example", 2}, {"bob@other.example", 1}}},
        {"mailbox ann", {QDate(1998, 1, 1), kNov3, "ann"}, 1, 1, 2, {kNov1}, {2},
         {{"pills@spam.example", 1}}},
        {"unknown mailbox", {QDate(1998, 1, 1), kNov3, "nobody"}, 0, 0, 0, {}, {}, {}},
        {"across the month boundary", {kOct31, kNov1, ""}, 3, 2, 5, {kOct31, kNov1}, {3, 2},
         {{"pills@spam.example", 2}}},
        {"one day, both ends included", {kNov3, kNov3, ""}, 1, 2, 4, {kNov3}, {4},
         {{"pills@spam.example", 1}, {"bob@other.example", 1}}},
        {"a day without entries", {kNov2, kNov2, ""}, 0, 0, 0, {}, {}, {}},
        {"a range that excludes everything", {QDate(2027, 1, 1), QDate(2027, 12, 31), ""}, 0,
         0, 0, {}, {}, {}},
        {"a reversed range", {kNov3, kOct31, ""}, 0, 0, 0, {}, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const LogStatistics s = ComputeStatistics(data, c.selection);
        EXPECT_EQ(s.hits.size(), c.hits);
        EXPECT_EQ(s.deleted.size(), c.deleted);
        EXPECT_EQ(s.totalMessages, c.total);
        EXPECT_EQ(s.deletedMessages, c.deleted);
        QList<QDate> days;
        QList<qint64> found;
        for (const StatsDay &d : s.days) {
            days << d.date;
            found << d.found;
        }
        EXPECT_EQ(days, c.days);
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(s.topSenders, c.senders);
    }
}

TEST(LogStats, EmptyAndOddLogs)
{
    const LogStatistics empty = ComputeStatistics(ParseActivityLog({}), all());
    EXPECT_TRUE(empty.hits.isEmpty());
    EXPECT_TRUE(empty.deleted.isEmpty());
    EXPECT_TRUE(empty.days.isEmpty());
    EXPECT_TRUE(empty.topSenders.isEmpty());
    EXPECT_EQ(empty.normalMessages(), 0);

    // Deletions whose checks went to another file: the pie has no negative part.
    const LogStatistics onlyDeleted = ComputeStatistics(
        ParseActivityLog("DELETE SPAM on Sun 2026-11-01 00:11\n" "   Server:  pop.b Mailbox: ann\n"
                         "   Subject: x\n"
                         "   Sender:  nobody\n"),
        all());
    EXPECT_EQ(onlyDeleted.deletedMessages, 1);
    EXPECT_EQ(onlyDeleted.normalMessages(), 0);
    // A sender without an at sign has no domain, and an empty domain makes no bar.
    EXPECT_EQ(onlyDeleted.topSenders, (QList<StatsRank>{{"nobody", 1}}));
    EXPECT_TRUE(onlyDeleted.topDomains.isEmpty());

    // Days out of file order (two logs put together) still give one point per day, in order.
    const LogStatistics shuffled = ComputeStatistics(
        ParseActivityLog("MAIL CHECK 1 msg(s) for \"a\" on server s at Tue 2026-11-03 10:00\n"
                         "MAIL CHECK 2 msg(s) for \"a\" on server s at Sun 2026-11-01 10:00\n"
                         "MAIL CHECK 3 msg(s) for \"a\" on server s at Tue 2026-11-03 11:00\n"),
        all());
    ASSERT_EQ(shuffled.days.size(), 2);
    EXPECT_EQ(shuffled.days[0].date, kNov1);
    EXPECT_EQ(shuffled.days[0].found, 2);
    EXPECT_EQ(shuffled.days[1].date, kNov3);
    EXPECT_EQ(shuffled.days[1].found, 4);
    EXPECT_EQ(shuffled.days[1].checks, 2);
}

TEST(LogStats, RankingKeepsTenLargestFirst)
{
    // Ties fall in reverse order of the names; empty names are not counted.
    EXPECT_EQ(RankNames({"b", "a", "c", "a", "b", "", ""}), (QList<StatsRank>{{"b", 2}, {"a", 2}, {"c", 1}}));
    QStringList many;
    for (int i = 0; i < 12; ++i)
        for (int k = 0; k <= i; ++k)
            many << QStringLiteral("s%1").arg(i, 2, 10, QLatin1Char('0'));
    const QList<StatsRank> top = RankNames(many);
    ASSERT_EQ(top.size(), 10);
    EXPECT_EQ(top.front(), (StatsRank{"s11", 12}));
    EXPECT_EQ(top.back(), (StatsRank{"s02", 3}));
    EXPECT_EQ(RankNames({"x", "x", "x", "y"}), (QList<StatsRank>{{"x", 3}, {"y", 1}}));
}

TEST(LogStats, TextsOfTitleSlotsAndCsv)
{
    EXPECT_EQ(StatsTitle(all()), "All mailboxes from 1998-01-01 thru 2026-12-06");
    EXPECT_EQ(StatsTitle({kOct31, kNov3, "joe"}), "joe from 2026-10-31 thru 2026-11-03");
    EXPECT_EQ(SlotLabel(0), "00:00");
    EXPECT_EQ(SlotLabel(17), "08:30");
    EXPECT_EQ(SlotLabel(47), "23:30");
    // Sunday first, as the day tables count.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(ShortDayNames(), (QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    QLocale::setDefault(saved);

    EXPECT_EQ(TableToCsv({"Date", "# Mail"}, {}), "Date,# Mail\r\n");
    EXPECT_EQ(TableToCsv(kDeletedColumns,
                         {{"2026-11-03", "12:30", "pop.a", "joe", "5", "\"Bob\", x@y.z", "y.z"},
                          {"2026-11-03", "12:31", "pop.a", "joe", "", "=cmd|'/c calc'!A1", "-1"},
                          {"2026-11-03", "12:32", "pop.a", "a\nb", "7", "@x", "+x"}}),
              "Date,Time,Server,Mailbox,Size,Sender,Domain\r\n"
              "2026-11-03,12:30,pop.a,joe,5,\"\"\"Bob\"\", x@y.z\",y.z\r\n"
              "2026-11-03,12:31,pop.a,joe,,\"'=cmd|'/c calc'!A1\",\"'-1\"\r\n"
              "2026-11-03,12:32,pop.a,\"a\nb\",7,\"'@x\",\"'+x\"\r\n");
}

TEST(LogStats, ReckonedRanges)
{
    const struct { QDate today; int months; QDate start; } monthCases[] = {
        {QDate(2027, 3, 31), 1, QDate(2027, 2, 28)},
        {QDate(2028, 3, 31), 1, QDate(2028, 2, 29)},
        {QDate(2026, 1, 15), 1, QDate(2025, 12, 15)},
        {QDate(2026, 5, 31), 12, QDate(2025, 5, 31)},
        {QDate(2026, 12, 31), 10, QDate(2026, 2, 28)},
        {QDate(2026, 7, 31), 1, QDate(2026, 6, 30)},
    };
    for (const auto &c : monthCases)
        EXPECT_EQ(PreviousMonthsStart(c.today, c.months), c.start)
            << c.today.toString(Qt::ISODate).toStdString() << " minus " << c.months;
    EXPECT_EQ(PreviousDaysStart(QDate(2026, 3, 1), 1), QDate(2026, 2, 28));
    EXPECT_EQ(PreviousDaysStart(QDate(2026, 12, 31), 365), QDate(2025, 12, 31));
}

TEST(LogStats, TrendLines)
{
    const TrendLine rising = FitTrend({0, 1, 2}, {1, 3, 5});
    EXPECT_DOUBLE_EQ(rising.slope, 2);
    EXPECT_DOUBLE_EQ(rising.intercept, 1);
    const TrendLine noisy = FitTrend({0, 1, 2, 3}, {1, 3, 2, 4});
    EXPECT_DOUBLE_EQ(noisy.slope, 0.8);
    EXPECT_DOUBLE_EQ(noisy.at(0), 1.3);
    const TrendLine one = FitTrend({5}, {4});
    EXPECT_DOUBLE_EQ(one.slope, 0);
    EXPECT_DOUBLE_EQ(one.at(100), 4);
    EXPECT_DOUBLE_EQ(FitTrend({}, {}).at(3), 0);
}

} // namespace
