#include "logformat.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Under a German locale "Dez", "Mär", "So." would appear if the locale leaked in anywhere.
struct GermanLocale
{
    GermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~GermanLocale() { QLocale::setDefault(old); }
    QLocale old;
};

TEST(LogStamp, FixedEnglishFormReadsBack)
{
    struct Case { QDateTime when; const char *stamp; };
    const Case cases[] = {
        {QDateTime(QDate(2026, 12, 6), QTime(14, 5)), "Sun 2026-12-06 14:05"},
        {QDateTime(QDate(2026, 12, 7), QTime(0, 0)), "Mon 2026-12-07 00:00"},
        {QDateTime(QDate(1998, 3, 31), QTime(23, 59, 59)), "Tue 1998-03-31 23:59"},
        {QDateTime(QDate(2026, 5, 6), QTime(18, 45)), "Wed 2026-05-06 18:45"},
        {QDateTime(QDate(2026, 5, 7), QTime(9, 30)), "Thu 2026-05-07 09:30"},
        {QDateTime(QDate(2027, 1, 1), QTime(12, 0)), "Fri 2027-01-01 12:00"},
        {QDateTime(QDate(2026, 5, 2), QTime(7, 7)), "Sat 2026-05-02 07:07"},
    };
    GermanLocale german;
    for (const Case &c : cases) {
        EXPECT_EQ(FormatLogStamp(c.when), c.stamp);
        const std::optional<QDateTime> back = ParseLogStamp(QString::fromLatin1(c.stamp));
        ASSERT_TRUE(back.has_value()) << c.stamp;
        EXPECT_EQ(back->date(), c.when.date());
        EXPECT_EQ(back->time(), QTime(c.when.time().hour(), c.when.time().minute()));
    }
}

TEST(LogStamp, AnythingElseIsNoStamp)
{
    for (const char *text : {"", "Sun 2026-12-06 14:0", "Sun 2026-12-06 14:05 ", "Son 2026-12-06 14:05",
          "sun 2026-12-06 14:05", "Sun 2026-02-30 14:05", "Sun 2026-13-06 14:05",
          "Sun 2026-12-06 24:00", "Sun 2026-12-06 14:60", "Sun 06.12.2026 14:05",
          "Sun 2026-12-0a 14:05", "Sun 2026-12-06T14:05", "Sun -026-12-06 14:05",
          "Sun 2026-12-06 1４:05"})
        EXPECT_FALSE(ParseLogStamp(QString::fromUtf8(text)).has_value()) << text;
}

TEST(LogField, ControlCharactersBecomeBlanks)
{
    const std::pair<QString, QString> cases[] = {
        {"Grüße, 日本, 🙂", "Grüße, 日本, 🙂"},
        {"a\r\nb", "a  b"},
        {"tab\there", "tab here"},
        {QString("nul") + QChar(0) + "x", "nul x"},
        {QString("esc") + QChar(0x1B) + "[31m", "esc [31m"},
        {QString("del") + QChar(0x7F) + QChar(0x85), "del  "},
        {QString("ls") + QChar(0x2028) + "ps" + QChar(0x2029), "ls ps "},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(CleanLogField(in), out);
    // Placeholders in a field stay as they are.
    EXPECT_EQ(CheckEntry(1, "%1%2", "%4", "Sun 2026-12-06 14:05"),
              "MAIL CHECK 1 msg(s) for \"%1%2\" on server %4 at Sun 2026-12-06 14:05");
}

TEST(LogFileName, ThreeModesAcrossMonthAndQuarterEnds)
{
    struct Case { const char *current; LogNaming naming; QDate today; const char *expected; };
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
        {"/logs/x.txt", LogNaming::Month, QDate(2000, 6, 15), "/logs/Jun00.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 1, 1), "/logs/Q1_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 3, 31), "/logs/Q1_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 4, 1), "/logs/Q2_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 6, 30), "/logs/Q2_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 7, 1), "/logs/Q3_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 9, 30), "/logs/Q3_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 10, 1), "/logs/Q4_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2026, 12, 31), "/logs/Q4_26.txt"},
        {"/logs/x.txt", LogNaming::Quarter, QDate(2027, 1, 1), "/logs/Q1_27.txt"},
        // ":" is part of a Linux name, not a drive or folder separator.
        {"/logs/a:b/x.txt", LogNaming::Month, QDate(2026, 12, 6), "/logs/a:b/Dec26.txt"},
        {"c:log.txt", LogNaming::Quarter, QDate(2026, 12, 6), "Q4_26.txt"},
        {"/x.txt", LogNaming::Month, QDate(2026, 12, 6), "/Dec26.txt"},
        {"/logs/", LogNaming::Month, QDate(2026, 12, 6), "/logs/Dec26.txt"},
        // A blank name is how the user has no log; it is not replaced.
        {" ", LogNaming::AsIs, QDate(2026, 12, 6), " "},
    };
    GermanLocale german;
    for (const Case &c : cases)
        EXPECT_EQ(LogFileName(c.current, c.naming, c.today, folder), c.expected)
            << c.current << " " << c.today.toString(Qt::ISODate).toStdString();
}

} // namespace
