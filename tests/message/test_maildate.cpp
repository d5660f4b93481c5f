#include "maildate.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

// expected: "yyyy-MM-dd HH:mm:ss", or nullptr for no date.
struct DateCase { const char *title; const char *in; const char *expected; const char *rest; };

const DateCase kDateCases[] = {
    // The usual forms
    {"weekday, 2-digit year, zone", "Tue, 5 Jan 99 10:20:30 -0500", "1999-01-05 10:20:30", "-0500"},
    {"date only", "5 Jan 2001", "2001-01-05 00:00:00", ""},
    {"no seconds", "Mon, 17 Mar 2003 08:05 +0100", "2003-03-17 08:05:00", "+0100"},
    {"lower case", "tue, 5 jan 2001 10:00:00 gmt", "2001-01-05 10:00:00", "GMT"},
    {"quoted", "\"Tue, 5 Jan 2001 10:00:00\"", "2001-01-05 10:00:00", ""},
    {"full month name", "5 January 2001 10:00", "2001-01-05 10:00:00", ""},
    {"comma after the year", "5 Jan 2001, 10:20:30 GMT", "2001-01-05 10:20:30", "GMT"},
    {"several blanks", "Tue,  5   Jan   2001   10:20   +0000", "2001-01-05 10:20:00", "+0000"},

    // Years
    {"year 50 is 2050", "1 Jan 50 10:00", "2050-01-01 10:00:00", ""},
    {"year 51 is 1951", "1 Jan 51 10:00", "1951-01-01 10:00:00", ""},
    {"leap day 2000", "29 Feb 00", "2000-02-29 00:00:00", ""},

    // Times that are not times keep the date
    {"bad time token", "Mon, 3 Dec 2001 12:5x +0100", "2001-12-03 00:00:00", "+0100"},
    {"hour out of range", "3 Dec 2001 25:00:00", "2001-12-03 00:00:00", ""},
    {"zone where the time should be", "3 Dec 2001 -0500", "2001-12-03 00:00:00", ""},

    // Month names in comments
    {"month name in a trailing comment", "Fri, 5 Sep 2003 10:00:00 +0000 (sent in Mar)", "2003-09-05 10:00:00", "+0000 (SENT IN MAR)"},
    {"January in a comment after December", "1 Dec 2003 10:00 (Jan)", "2003-12-01 10:00:00", "(JAN)"},
    {"month found later when not after the day", "5 of Mar 2003", "2003-03-05 00:00:00", ""},

    // No date
    {"empty", "", nullptr, ""},
    {"no digits", "yesterday", nullptr, ""},
    {"day 31 of April", "Sat, 31 Apr 2001 10:00:00", nullptr, ""},
    {"day 0", "0 Jan 2001", nullptr, ""},
    {"no month", "Tue, 5 Xyz 2001 10:00", nullptr, ""},
    {"text ends after day", "Tue, 5", nullptr, ""},
    {"no year", "5 Jan", nullptr, ""},
    {"day with letters", "5x Jan 2001", nullptr, ""},
    {"dashed RFC 850 form", "Tuesday, 05-Jan-99 10:20:30 GMT", nullptr, ""},
    {"day too long to be a number", "99999999999 Jan 2001", nullptr, ""},
    {"year beyond any date-time (found by fuzzing)", "5 Jan 999999199 10:00", nullptr, ""},
};

TEST(ParseMailDate, Table)
{
    for (const DateCase &c : kDateCases) {
        const std::optional<TmsMailDate> date = ParseMailDate(QString::fromUtf8(c.in));
        ASSERT_EQ(date.has_value(), c.expected != nullptr) << c.title;
        if (!date)
            continue;
        // The sender's clock as written, in the sender's own offset.
        EXPECT_EQ(date->dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), QString::fromLatin1(c.expected))
            << c.title;
        EXPECT_EQ(date->rest, QString::fromUtf8(c.rest)) << c.title;
    }
}

TEST(ParseMailDate, KeepsTheZoneAndSortsByTheInstant)
{
    const struct { const char *in; const char *utc; int offsetMinutes; } cases[] = {
        {"Mon, 4 Jan 2021 23:30:00 -0800", "2021-01-05T07:30:00Z", -480},
        {"Tue, 5 Jan 2021 08:00 +0100 (CET)", "2021-01-05T07:00:00Z", 60},
        {"5 Jan 2021 10:20:30 pdt", "2021-01-05T17:20:30Z", -420},
        {"5 Jan 2021 10:20:30 -0000", "2021-01-05T10:20:30Z", 0},
        {"5 Jan 2021 10:20:30 +2400", "2021-01-05T10:20:30Z", 0},  // no such offset
        {"5 Jan 2021 10:20:30 +01000", "2021-01-05T10:20:30Z", 0}, // nor this
        {"5 Jan 2021 10:20:30", "2021-01-05T10:20:30Z", 0},
    };
    for (const auto &c : cases) {
        const std::optional<TmsMailDate> date = ParseMailDate(QString::fromLatin1(c.in));
        ASSERT_TRUE(date.has_value()) << c.in;
        EXPECT_EQ(date->dateTime.toUTC().toString(Qt::ISODate), QString::fromLatin1(c.utc)) << c.in;
        EXPECT_EQ(date->dateTime.offsetFromUtc(), c.offsetMinutes * 60) << c.in;
    }
    // Written later in the day, sent earlier: the real instant decides the order.
    EXPECT_LT(ParseMailDate(QString::fromLatin1(cases[1].in))->dateTime,
              ParseMailDate(QString::fromLatin1(cases[0].in))->dateTime);
}

} // namespace
