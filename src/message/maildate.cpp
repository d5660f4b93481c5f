#include "maildate.h"

#include "headers.h"
#include "textutil.h"

#include <QStringList>

namespace {

// Reads text as a decimal number made of ASCII digits only (no sign, no blanks); long
// digit strings are refused rather than overflowing.
std::optional<int> ParseNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "HH:MM" or "HH:MM:SS"; anything else is no time.
QTime ParseClock(QStringView token)
{
    const QList<QStringView> parts = token.split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return {};
    int fields[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts.at(i).size() > 2)
            return {};
        const std::optional<int> v = ParseNumber(parts.at(i));
        if (!v)
            return {};
        fields[i] = *v;
    }
    return QTime(fields[0], fields[1], fields[2]); // invalid when out of range
}

constexpr const char16_t *kMonths[12] = {u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN",
                                         u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC"};

int MonthIn(QStringView text)
{
    for (int m = 0; m < 12; ++m)
        if (text.contains(QStringView(kMonths[m])))
            return m + 1;
    return 0;
}

// The token that starts at pos after any blanks, up to the next blank (or end).
QStringView NextToken(QStringView s, qsizetype &pos)
{
    while (pos < s.size() && s.at(pos) == u' ')
        ++pos;
    const qsizetype start = pos;
    while (pos < s.size() && s.at(pos) != u' ')
        ++pos;
    return s.mid(start, pos - start);
}

// The zone at the start of rest, in seconds east of UTC: "+hhmm"/"-hhmm" or one of the
// names mail has always used. Anything else (a military letter, garbage, nothing) counts as
// UTC, which is what "-0000" means: the sender did not say.
int ZoneOffset(QStringView rest)
{
    qsizetype pos = 0;
    const QStringView token = NextToken(rest, pos);
    if (token.size() >= 5 && (token.at(0) == u'+' || token.at(0) == u'-')) {
        const std::optional<int> hours = ParseNumber(token.mid(1, 2));
        const std::optional<int> minutes = ParseNumber(token.mid(3, 2));
        if (hours && minutes && *hours <= 23 && *minutes <= 59
            && (token.size() == 5 || !IsDigit(token.at(5)))) {
            const int seconds = *hours * 3600 + *minutes * 60;
            return token.at(0) == u'-' ? -seconds : seconds;
        }
        return 0;
    }
    static const struct
    {
        const char16_t *name;
        int hours;
    } kNames[] = {{u"UT", 0},   {u"GMT", 0},  {u"UTC", 0},  {u"Z", 0},    {u"EST", -5},
                  {u"EDT", -4}, {u"CST", -6}, {u"CDT", -5}, {u"MST", -7}, {u"MDT", -6},
                  {u"PST", -8}, {u"PDT", -7}};
    for (const auto &zone : kNames)
        if (token == QStringView(zone.name))
            return zone.hours * 3600;
    return 0;
}

} // namespace

std::optional<TmsMailDate> ParseMailDate(const QString &text)
{
    const QString upper = AsciiUpper(StripQuotes(text));
    const QStringView s(upper);
    if (s.isEmpty())
        return std::nullopt;

    // Day: the first number, whatever precedes it (an optional weekday).
    qsizetype pos = 0;
    while (pos < s.size() && !IsDigit(s.at(pos)))
        ++pos;
    if (pos == s.size())
        return std::nullopt;
    const std::optional<int> day = ParseNumber(TrimControls(NextToken(s, pos).toString()));
    if (!day)
        return std::nullopt;

    // Month: normally the token right after the day. Only when that is no month name is the
    // rest searched, so that a trailing comment such as "(sent in Mar)" cannot override it.
    qsizetype afterMonth = pos;
    int month = MonthIn(NextToken(s, afterMonth));
    if (month == 0)
        month = MonthIn(s.mid(pos));
    if (month == 0)
        return std::nullopt;

    // Year: the next number, up to a blank or a comma.
    while (pos < s.size() && !IsDigit(s.at(pos)))
        ++pos;
    if (pos == s.size())
        return std::nullopt;
    const qsizetype yearStart = pos;
    while (pos < s.size() && s.at(pos) != u' ' && s.at(pos) != u',')
        ++pos;
    std::optional<int> year = ParseNumber(s.mid(yearStart, pos - yearStart));
    if (!year)
        return std::nullopt;
    if (pos < s.size())
        ++pos; // the blank or comma that ended the year
    if (*year <= 50)
        *year += 2000;
    else if (*year <= 99)
        *year += 1900;

    const QDate date(*year, month, *day);
    if (!date.isValid())
        return std::nullopt;

    // Time: a missing or malformed clock keeps the date at midnight.
    QStringView timeToken = NextToken(s, pos);
    if (timeToken.endsWith(u','))
        timeToken.chop(1);
    QTime time = ParseClock(timeToken);
    if (!time.isValid())
        time = QTime(0, 0);

    TmsMailDate result;
    result.rest = TrimControls(s.mid(pos).toString());
    // The sender's clock with the sender's offset: one real instant, shown in the user's zone
    // and sorted by it. A fixed offset has no daylight-saving gap that could make it invalid.
    result.dateTime = QDateTime(date, time, Qt::OffsetFromUTC, ZoneOffset(result.rest));
    if (!result.dateTime.isValid())
        return std::nullopt; // a year beyond what a date-time can count
    return result;
}
