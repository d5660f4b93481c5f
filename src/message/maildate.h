#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

struct TmsMailDate
{
    QDateTime dateTime; // the sender's local time; the zone is not applied
    QString rest;       // what follows the time, normally the zone ("-0500")
};

// Parses an RFC 822 Date value; an empty optional when there is no valid date in it.
std::optional<TmsMailDate> ParseMailDate(const QString &text);
