#include "logformat.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// The locale must not change a single character of what is written or found.
class GermanLocale
{
public:
    GermanLocale() : m_old(QLocale()) { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~GermanLocale() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};

TEST(LogStamp, FixedEnglishForm)
{
    struct Case
    {
        QDateTime when;
        const char *stamp;
    };
    const Case cases[] = {
        {QDateTime(QDate(2026, 12, 6), QTime(14, 5)), "Sun 2026-12-06 14:05"},
        {QDateTime(QDate(2026, 12, 7), QTime(0, 0)), "Mon 2026-12-07 00:00"},
        {QDateTime(QDate(1998, 3, 31), QTime(23, 59, 59)), "Tue 1998-03-31 23:59"},
        {QDateTime(QDate(2000, 2, 29), QTime(9, 30)), "Tue 2000-02-29 09:30"},
        {QDateTime(QDate(2027, 1, 1), QTime(12, 0)), "Fri 2027-01-01 12:00"},
        {QDateTime(QDate(2026, 5, 2), QTime(7, 7)), "Sat 2026-05-02 07:07"},
        {QDateTime(QDate(2026, 5, 6), QTime(18, 45)), "Wed 2026-05-06 18:45"},
        {QDateTime(QDate(2026, 5, 7), QTime(18, 45)), "Thu 2026-05-07 18:45"},
    };
    GermanLocale german;
    for (const Case &c : cases) {
        const QString stamp = FormatLogStamp(c.when);
        EXPECT_EQ(stamp, c.stamp);
        EXPECT_EQ(stamp.size(), kLogStampLength);
        const std::optional<QDateTime> back = ParseLogStamp(stamp);
        ASSERT_TRUE(back.has_value()) << c.stamp;
        EXPECT_EQ(back->date(), c.when.date());
        EXPECT_EQ(back->time(), QTime(c.when.time().hour(), c.when.time().minute()));
    }
}

TEST(LogStamp, AnythingElseIsNoStamp)
{
    const char *bad[] = {
        "",
        "Sun 2026-12-06 14:0",   // short
        "Sun 2026-12-06 14:05 ", // long
        "Son 2026-12-06 14:05",  // not an English day
        "sun 2026-12-06 14:05",
        "Sun 2026-02-30 14:05", // no such day
        "Sun 2026-13-06 14:05",
        "Sun 2026-12-06 24:00",
        "Sun 2026-12-06 14:60",
        "Sun 06.12.2026 14:05",
        "Sun 2026-12-0a 14:05",
        "Sun 2026/12/06 14:05",
        "Sun 2026-12-06T14:05",
        "Sun -026-12-06 14:05",
        "Sun 2026-12-06 1４:05",
    };
    for (const char *text : bad)
        EXPECT_FALSE(ParseLogStamp(QString::fromUtf8(text)).has_value()) << text;
}

TEST(LogField, ControlCharactersBecomeBlanks)
{
    struct Case
    {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {"plain subject", "plain subject"},
        {"Grüße, 日本, 🙂", "Grüße, 日本, 🙂"},
        {"a\r\nb", "a  b"},
        {"tab\there", "tab here"},
        {QString("nul") + QChar(0) + "x", "nul x"},
        {QString("esc") + QChar(0x1B) + "[31m", "esc [31m"},
        {QString("del") + QChar(0x7F), "del "},
        {QString("nel") + QChar(0x85) + "x", "nel x"},
        {QString("ls") + QChar(0x2028) + "ps" + QChar(0x2029), "ls ps "},
        {"\n", " "},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CleanLogField(c.in), c.out);
}

const QString kStamp = QStringLiteral("Sun 2026-12-06 14:05");

TEST(LogEntries, ExactTexts)
{
    EXPECT_EQ(CheckEntry(3, "joe", "pop.example.org", kStamp),
              "MAIL CHECK 3 msg(s) for \"joe\" on server pop.example.org at Sun 2026-12-06 14:05");
    EXPECT_EQ(CheckEntry(0, "", "", kStamp), "MAIL CHECK 0 msg(s) for \"\" on server  at Sun 2026-12-06 14:05");
    EXPECT_EQ(ErrorEntry("Operation timed out", "joe", "pop.example.org", kStamp),
              "ERROR Operation timed out FOR joe ON pop.example.org AT Sun 2026-12-06 14:05");
    EXPECT_EQ(CancelEntry("joe", "pop.example.org", kStamp),
              "OPERATION CANCELED FOR joe ON pop.example.org AT Sun 2026-12-06 14:05");
    EXPECT_EQ(AutomaticModeEntry(true, kStamp), "Automatic mode enabled at Sun 2026-12-06 14:05");
    EXPECT_EQ(AutomaticModeEntry(false, kStamp), "Automatic mode disabled at Sun 2026-12-06 14:05");
    const QStringList block =
        DeletionEntry("joe", "pop.example.org",
                      {"Cheap pills", "spam@example.com", "2048", "06.12.2026 13:59"}, kStamp);
    const QStringList expected = {
        "DELETE SPAM on Sun 2026-12-06 14:05",
        "   Server:  pop.example.org Mailbox: joe",
        "   Subject: Cheap pills",
        "   Sender:  spam@example.com",
        "   Size:    2048  Date: 06.12.2026 13:59",
    };
    EXPECT_EQ(block, expected);
}

TEST(LogEntries, FieldsCannotBreakOrRewriteTheLine)
{
    // Placeholders in a field stay as they are; line breaks do not survive.
    EXPECT_EQ(CheckEntry(1, "%1%2", "%4", kStamp),
              "MAIL CHECK 1 msg(s) for \"%1%2\" on server %4 at Sun 2026-12-06 14:05");
    EXPECT_EQ(ErrorEntry("-ERR bad\r\nMAIL CHECK 9", "u\n", "s\r", kStamp),
              "ERROR -ERR bad  MAIL CHECK 9 FOR u  ON s  AT Sun 2026-12-06 14:05");
    const QStringList block = DeletionEntry(
        "joe\n", "pop\r\n", {"Hi\r\nDELETE SPAM on x", "a@b\n", "1\n2", "d\r"}, kStamp);
    ASSERT_EQ(block.size(), 5);
    for (const QString &line : block) {
        EXPECT_FALSE(line.contains('\n'));
        EXPECT_FALSE(line.contains('\r'));
    }
    EXPECT_EQ(block.at(2), "   Subject: Hi  DELETE SPAM on x");
}

TEST(LogFileName, ThreeModesAcrossMonthAndQuarterEnds)
{
    struct Case
    {
        const char *current;
        LogNaming naming;
        QDate today;
        const char *expected;
    };
    const char *folder = "/home/ann/.local/share/Tarnwick";
    const Case cases[] = {
        {"/logs/mine.log", LogNaming::AsIs, QDate(2026, 12, 6), "/logs/mine.log"},
        {"", LogNaming::AsIs, QDate(2026, 12, 6), "/home/ann/.local/share/Tarnwick/logfile.txt"},
        {"", LogNaming::Month, QDate(2026, 12, 6), "/home/ann/.local/share/Tarnwick/Dec26.txt"},
        {"", LogNaming::Quarter, QDate(2026, 12, 6), "/home/ann/.local/share/Tarnwick/Q4_26.txt"},
        {"/logs/Nov26.txt", LogNaming::Month, QDate(2026, 12, 1), "/logs/Dec26.txt"},
        {"/logs/Dec26.txt", LogNaming::Month, QDate(2027, 1, 1), "/logs/Jan27.txt"},
        {"/logs/x.txt", LogNaming::Month, QDate(2026, 1, 31), "/logs/Jan26.txt"},
        {"/logs/x.txt", LogNaming::Month, QDate(2026, 2, 1), "/logs/Feb26.txt"},
        {"/logs/x.txt", LogNaming::Month, QDate(2026, 3, 15), "/logs/Mar26.txt"},
        {"/logs/x.txt", LogNaming::Month, QDate(2026, 5, 15), "/logs/May26.txt"},
        {"/logs/x.txt", LogNaming::Month, QDate(2026, 10, 15), "/logs/Oct26.txt"},
        {"/logs/x.txt", LogNaming::Month, QDate(1998, 1, 15), "/logs/Jan98.txt"},
        {"/logs/x.txt", LogNaming::Month, QDate(2000, 6, 15), "/logs/Jun00.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 1, 1), "/logs/Q1_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 3, 31), "/logs/Q1_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 4, 1), "/logs/Q2_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 6, 30), "/logs/Q2_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 7, 1), "/logs/Q3_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 8, 15), "/logs/Q3_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 9, 30), "/logs/Q3_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 10, 1), "/logs/Q4_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 12, 31), "/logs/Q4_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2027, 1, 1), "/logs/Q1_27.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2009, 2, 1), "/logs/Q1_09.txt"},
        // ":" is part of a Linux name, not a drive or folder separator.
        {"/logs/a:b/x.txt", LogNaming::Month, QDate(2026, 12, 6), "/logs/a:b/Dec26.txt"},
        {"c:log.txt", LogNaming::Quarter, QDate(2026, 12, 6), "Q4_26.txt"},
        {"log.txt", LogNaming::Month, QDate(2026, 12, 6), "Dec26.txt"},
        {"/x.txt", LogNaming::Month, QDate(2026, 12, 6), "/Dec26.txt"},
        {"/logs/", LogNaming::Month, QDate(2026, 12, 6), "/logs/Dec26.txt"},
        // A blank name is the user's way to have no log; it is not replaced.
        {" ", LogNaming::AsIs, QDate(2026, 12, 6), " "},
    };
    GermanLocale german; // "Dez", "Mär" and "Mai" would be the German names
    for (const Case &c : cases)
        EXPECT_EQ(LogFileName(c.current, c.naming, c.today, folder), c.expected)
            << c.current << " " << c.today.toString(Qt::ISODate).toStdString();
}

TEST(LogFileName, JoinAndFolder)
{
    EXPECT_EQ(LogFolderOf("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(LogFolderOf("c.txt"), "");
    EXPECT_EQ(LogFolderOf("a:b\\c.txt"), "");
    EXPECT_EQ(JoinLogName("", "f.txt"), "f.txt");
    EXPECT_EQ(JoinLogName("/a/", "f.txt"), "/a/f.txt");
    EXPECT_EQ(JoinLogName("/a", "f.txt"), "/a/f.txt");
}

} // namespace
