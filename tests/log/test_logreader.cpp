#include "activitylog.h"
#include "logreader.h"
#include "temp_home.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int month, int day, int hour, int minute)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, minute));
}

TEST(LogReader, WhatTheWriterWroteReadsBack)
{
    TempHome home;
    const QString path = home.file("log.txt");
    ActivityLog log(path);
    QDateTime now;
    log.setClock([&now] { return now; });

    now = at(11, 30, 8, 0);
    log.logAutomaticMode(true);
    now = at(11, 30, 8, 1);
    log.logCheck(3, "joe", "pop.example.org");
    {
        ActivityLog::Batch batch(log);
        now = at(11, 30, 8, 2);
        log.logDeletion("joe", "pop.example.org",
                        {"Cheap pills", "Pills@Spam.Example", "2048", "Mon, 30 Nov 2026"});
        now = at(11, 30, 8, 3);
        log.logDeletion("ghost", "pop.example.org", {"", "no-at-sign", "17", ""});
    }
    now = at(11, 30, 23, 59);
    log.logError("Operation has been canceled", "ann", "mail.example.net");
    log.logCancel("ann", "mail.example.net");
    now = at(12, 1, 0, 0);
    log.logCheck(0, "ann", "mail.example.net");
    log.logError("Error #10061: Connection refused", "JOE", "pop.example.org");
    log.logCheck(12, "JOE", "pop.example.org");
    log.logAutomaticMode(false);

    const ActivityLogReadResult result = ReadActivityLog(path);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    const ActivityLogData &data = result.data;
    EXPECT_EQ(data.skippedLines, 0);
    EXPECT_EQ(data.errors, 2);
    EXPECT_EQ(data.cancels, 1);
    EXPECT_EQ(data.modeSwitches, 2);

    // Mailboxes of check entries only, each once whatever its case, in order of appearance.
    EXPECT_EQ(data.mailboxes, QStringList({"joe", "ann"}));
    QStringList checks, deletions;
    for (const CheckRow &c : data.checks)
        checks << QStringLiteral("%1 %2 %3 ").arg(c.count).arg(c.mailbox, c.server)
                      + QDateTime(c.date, c.time).toString(Qt::ISODate);
    for (const DeletionRow &d : data.deletions)
        deletions << QStringLiteral("%1 %2 %3 %4 [%5] [%6] [%7] [%8]")
                         .arg(d.mailbox, d.server, QDateTime(d.date, d.time).toString(Qt::ISODate))
                         .arg(d.size.value_or(-1))
                         .arg(d.sender, d.domain, d.subject, d.messageDate);
    EXPECT_EQ(checks, (QStringList{"3 joe pop.example.org 2026-11-30T08:01:00",
                                   "0 ann mail.example.net 2026-12-01T00:00:00",
                                   "12 JOE pop.example.org 2026-12-01T00:00:00"}));
    EXPECT_EQ(deletions, (QStringList{
        "joe pop.example.org 2026-11-30T08:02:00 2048 [pills@spam.example] [spam.example] [Cheap pills] [Mon, 30 Nov 2026]",
        "ghost pop.example.org 2026-11-30T08:03:00 17 [no-at-sign] [] [] []"}));
}

TEST(LogReader, GarbageLinesAreSkippedAndCounted)
{
    const QByteArray check = "MAIL CHECK 1 msg(s) for \"joe\" on server pop at Sun 2026-12-06 14:05\n";
    QByteArray log = check;
    log += "complete nonsense\n";                                                  // 2
    log += QByteArray("\0\x01\xff binary\n", 11);                                  // 3
    log += "\n   \r\n";                                                            // blank
    log += "MAIL CHECK x msg(s) for \"joe\" on server pop at Sun 2026-12-06 14:05\n"; // 6
    log += "MAIL CHECK 1 msg(s) for \"joe\" on server pop at 06.12.2026 14:05\n";    // 7
    log += "MAIL CHECK 1 msg(s) for joe on server pop at Sun 2026-12-06 14:05\n";    // 8
    log += "MAIL CHECK at Sun 2026-12-06 14:05\n";                                 // 9
    log += "   Subject: a block line without its block\n";                         // 10
    log += QByteArray(70000, 'A') + "\n";                                          // 11
    log += "Caf\xe9 in Latin-1\n";                                                 // 12
    log += "DELETE SPAM on Sun 2026-02-30 14:05\n   Server:  pop Mailbox: joe\n";  // 13, 14
    log += "mail check 1 msg(s) for \"joe\" on server pop at Sun 2026-12-06 14:05\n"; // 15
    log += "DELETE SPAM on Sun 2026-12-06 14:06\r\n   Server:  pop Mailbox: joe\r\n"
           "   Subject: s\r\n   Sender:  a@b\r\n   Size:    5  Date: d\r\n";
    log += "MAIL CHECK 2 msg(s) for \"ann\" on server pop2 at Mon 2026-12-07 09:00";
    const ActivityLogData data = ParseActivityLog(log);
    EXPECT_EQ(data.skippedLines, 12);
    EXPECT_EQ(data.firstSkippedLine, 2);
    ASSERT_EQ(data.checks.size(), 2);
    EXPECT_EQ(data.checks[1].mailbox, "ann");
    ASSERT_EQ(data.deletions.size(), 1);
    EXPECT_EQ(data.deletions[0].size, 5);
    EXPECT_EQ(data.deletions[0].sender, "a@b");
}

TEST(LogReader, BlocksCutShort)
{
    struct Case
    {
        const char *what; QByteArray log; qsizetype checks; const char *server, *mailbox, *sender;
        std::optional<qint64> size;
    };
    const QByteArray start = "DELETE SPAM on Sun 2026-12-06 14:05\n";
    const QByteArray server = "   Server:  pop Mailbox: joe\n";
    const QByteArray check = "MAIL CHECK 7 msg(s) for \"joe\" on server pop at Sun 2026-12-06 14:09\n";
    const Case cases[] = {
        {"log ends after the first line", start, 0, "", "", "", std::nullopt},
        {"log ends inside the server line", start + "   Server:  pop Mailbox: jo", 0, "pop", "jo", "", std::nullopt},
        {"log ends after the sender", start + server + "   Subject: s\n   Sender:  X@Y\n", 0, "pop", "joe", "x@y", std::nullopt},
        {"a check follows a cut block", start + server + check, 1, "pop", "joe", "", std::nullopt},
        {"a line is missing inside", start + server + "   Sender:  a@b\n   Size:    9  Date: d\n" + check, 1, "pop", "joe", "a@b", 9},
        {"server line without mailbox", start + "   Server:  pop.x more\n", 0, "pop.x", "", "", std::nullopt},
        {"size is not a number", start + server + "   Size:    -3  Date: d\n", 0, "pop", "joe", "", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ActivityLogData data = ParseActivityLog(c.log);
        EXPECT_EQ(data.checks.size(), c.checks);
        EXPECT_EQ(data.skippedLines, 0);
        ASSERT_EQ(data.deletions.size(), 1);
        const DeletionRow &row = data.deletions.first();
        EXPECT_EQ(row.date, QDate(2026, 12, 6));
        EXPECT_EQ(row.server, c.server);
        EXPECT_EQ(row.mailbox, c.mailbox);
        EXPECT_EQ(row.sender, c.sender);
        EXPECT_EQ(row.size, c.size);
    }
}

TEST(LogReader, EntryWordsInsideFieldsAreNotEntries)
{
    QByteArray log;
    log += "ERROR -ERR DELETE SPAM on Sun 2026-12-06 14:05 refused FOR joe ON pop AT Sun 2026-12-06 14:05\n";
    log += "MAIL CHECK 1 msg(s) for \"joe\" on server pop at Sun 2026-12-06 14:06\n";
    log += "OPERATION CANCELED FOR MAIL CHECK 5 ON pop AT Sun 2026-12-06 14:07\n";
    const ActivityLogData data = ParseActivityLog(log);
    EXPECT_EQ(data.errors, 1);
    EXPECT_EQ(data.cancels, 1);
    ASSERT_EQ(data.checks.size(), 1);
    EXPECT_EQ(data.checks.first().time, QTime(14, 6));
    EXPECT_TRUE(data.deletions.isEmpty());
    EXPECT_EQ(data.skippedLines, 0);
}

TEST(LogReader, MailboxAndServerWithAwkwardCharacters)
{
    const std::pair<QString, QString> cases[] = {
        {"say \"hi\"", "pop"}, {"a\" on server b", "pop"}, {"joe at home", "pop"},
        {"", ""},              {"日本", "mail.例え.jp"},
    };
    for (const auto &[user, server] : cases) {
        const QString line = CheckEntry(5, user, server, "Wed 2026-12-09 10:30");
        const ActivityLogData data = ParseActivityLog(line.toUtf8());
        ASSERT_EQ(data.checks.size(), 1) << line.toStdString();
        EXPECT_EQ(data.checks.first().mailbox, user);
        EXPECT_EQ(data.checks.first().server, server);
        EXPECT_EQ(data.checks.first().time, QTime(10, 30));
    }
}

TEST(LogReader, FileProblemsGiveTheirMessages)
{
    TempHome home;
    const ActivityLogReadResult missing = ReadActivityLog(home.file("nothing.txt"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "The activity log file does not exist!  Either you have "
                             "cleared/deleted the activity log or you have not yet begun to use "
                             "Tarnwick.");
    EXPECT_TRUE(missing.detail.contains(home.file("nothing.txt")));
    EXPECT_FALSE(ReadActivityLog(QString()).ok);

    const ActivityLogReadResult folder = ReadActivityLog(home.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.error, "Could not open Activity log file for reading!");
    EXPECT_FALSE(folder.detail.isEmpty());

    home.write("empty.txt", "");
    EXPECT_TRUE(ReadActivityLog(home.file("empty.txt")).ok);
}

TEST(LogReader, FileReadingMatchesParsingAndReportsProgress)
{
    TempHome home;
    QByteArray log;
    for (int i = 0; i < 1000; ++i) {
        log += CheckEntry(i, "joe", "pop", "Sun 2026-12-06 14:05").toUtf8() + "\r\n";
        if (i % 100 == 0)
            log += QByteArray(100000, 'x') + "\n"; // longer than any entry
        log += DeletionEntry("joe", "pop", {"s", "a@b", "1", "d"}, "Sun 2026-12-06 14:06")
                   .join('\n').toUtf8() + "\n";
    }
    log += "MAIL CHECK 5 msg(s) for \"end\" on server pop at Sun 2026-12-06 14:05"; // no final break
    home.write("log.txt", log);
    qint64 lastDone = -1;
    bool forward = true;
    const ActivityLogReadResult result = ReadActivityLog(home.file("log.txt"), [&](qint64 done, qint64 total) {
        forward = forward && done >= lastDone && total == log.size();
        lastDone = done;
    });
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(forward);
    EXPECT_EQ(lastDone, log.size());
    EXPECT_EQ(result.data.checks.size(), 1001);
    EXPECT_EQ(result.data.deletions.size(), 1000);
    EXPECT_EQ(result.data.skippedLines, 10);
    EXPECT_EQ(result.data.checks.last().mailbox, "end");
}

} // namespace
