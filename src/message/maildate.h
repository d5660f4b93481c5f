#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

struct TmsMailDate
{
    // The sender's clock time as written, with the sender's offset from UTC (0 when the zone
    // is missing or unknown): one instant, to be shown with toLocalTime() and compared as is.
    QDateTime dateTime;
    QString rest; // what follows the time, upper-cased, normally the zone ("-0500")
};

// Parses an RFC 822 Date value ("Tue, 5 Jan 99 10:20:30 -0500", weekday optional); an empty
// optional when there is no valid date in it. Years 0-50 are 2000-2050, 51-99 1951-1999. A
// missing or malformed time keeps the date at midnight. The month is taken from the word
// after the day; only when that is no month name is the rest of the text searched.
std::optional<TmsMailDate> ParseMailDate(const QString &text);
