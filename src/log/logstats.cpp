#include "logstats.h"

#include "textutil.h"
#include "wording.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <map>

bool StatsSelection::selects(const QString &rowMailbox, const QDate &date) const
{
    // A row without a valid date can never lie within a range.
    if (!date.isValid() || date < start || date > end)
        return false;
    return mailbox.isEmpty() || AsciiEqualsIgnoreCase(mailbox, rowMailbox);
}

StatsSelection DefaultStatsSelection(const QDate &today)
{
    return {QDate(1998, 1, 1), today, QString()};
}

QString StatsTitle(const StatsSelection &selection)
{
    const QString start = StatsDateText(selection.start);
    const QString end = StatsDateText(selection.end);
    return selection.mailbox.isEmpty() ? Said("Data", "All mailboxes from %1 thru %2").arg(start, end)
                                       : Said("Data", "%1 from %2 thru %3").arg(selection.mailbox, start, end);
}

QString StatsDateText(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QString StatsTimeText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

QString SlotLabel(int slot)
{
    return StatsTimeText(QTime(slot / 2, slot % 2 ? 30 : 0));
}

QStringList ShortDayNames()
{
    const QLocale locale;
    QStringList names;
    // QLocale counts Monday as 1 and Sunday as 7.
    for (int day : {7, 1, 2, 3, 4, 5, 6})
        names << locale.dayName(day, QLocale::ShortFormat);
    return names;
}

qint64 LogStatistics::normalMessages() const
{
    return std::max<qint64>(0, totalMessages - deletedMessages);
}

TrendLine FitTrend(const QList<double> &xs, const QList<double> &ys)
{
    const qsizetype n = std::min(xs.size(), ys.size());
    if (n == 0)
        return {};
    double sx = 0, sy = 0;
    for (qsizetype i = 0; i < n; ++i) {
        sx += xs.at(i);
        sy += ys.at(i);
    }
    const double mx = sx / n, my = sy / n;
    double sxx = 0, sxy = 0;
    for (qsizetype i = 0; i < n; ++i) {
        sxx += (xs.at(i) - mx) * (xs.at(i) - mx);
        sxy += (xs.at(i) - mx) * (ys.at(i) - my);
    }
    // One point, or all points on one day: a flat line through their mean.
    if (sxx == 0)
        return {my, 0};
    const double slope = sxy / sxx;
    return {my - slope * mx, slope};
}

QList<StatsRank> RankNames(QStringList names, int limit)
{
    QHash<QString, int> counts;
    for (const QString &name : names)
        if (!name.isEmpty())
            ++counts[name];
    QList<StatsRank> ranks;
    ranks.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        ranks.append({it.key(), it.value()});
    const auto before = [](const StatsRank &a, const StatsRank &b) {
        return a.count != b.count ? a.count > b.count : a.name > b.name;
    };
    const qsizetype keep = std::min<qsizetype>(limit, ranks.size());
    std::partial_sort(ranks.begin(), ranks.begin() + keep, ranks.end(), before);
    ranks.resize(keep);
    return ranks;
}

namespace {

int dayIndex(const QDate &date)
{
    return date.dayOfWeek() % 7; // Sunday (7) first
}

int slotOf(const QTime &time)
{
    return time.isValid() ? time.hour() * 2 + (time.minute() >= 30 ? 1 : 0) : 0;
}

} // namespace

LogStatistics ComputeStatistics(const ActivityLogData &data, const StatsSelection &selection)
{
    LogStatistics stats;
    // Ordered by date whatever the order of the file: logs put together from several files,
    // or a clock set back, still give one point per day.
    std::map<QDate, StatsDay> days;
    auto dayOf = [&days](const QDate &date) -> StatsDay & {
        StatsDay &day = days[date];
        day.date = date;
        return day;
    };

    // A year of log has a few hundred dates and at most 1440 times: their texts are made once
    // and shared by the rows.
    QDate lastDate;
    QString lastDateText;
    const auto dateText = [&](const QDate &date) {
        if (date != lastDate) {
            lastDate = date;
            lastDateText = StatsDateText(date);
        }
        return lastDateText;
    };
    QList<QString> times(24 * 60);
    const auto timeText = [&times](const QTime &time) {
        if (!time.isValid())
            return QString();
        QString &text = times[time.hour() * 60 + time.minute()];
        if (text.isEmpty())
            text = StatsTimeText(time);
        return text;
    };

    stats.hits.reserve(data.checks.size());
    for (const CheckRow &row : data.checks) {
        if (!selection.selects(row.mailbox, row.date))
            continue;
        stats.hits.append({dateText(row.date), timeText(row.time), row.server,
                           row.mailbox, QString::number(row.count)});
        const int d = dayIndex(row.date), s = slotOf(row.time);
        ++stats.checksByDay[d];
        stats.foundByDay[d] += row.count;
        ++stats.checksBySlot[s];
        stats.foundBySlot[s] += row.count;
        StatsDay &day = dayOf(row.date);
        ++day.checks;
        day.found += row.count;
        stats.totalMessages += row.count;
    }

    QStringList senders, domains;
    for (const DeletionRow &row : data.deletions) {
        if (!selection.selects(row.mailbox, row.date))
            continue;
        stats.deleted.append({dateText(row.date), timeText(row.time), row.server,
                              row.mailbox, row.size ? QString::number(*row.size) : QString(),
                              row.sender, row.domain});
        senders.append(row.sender);
        domains.append(row.domain);
        const int d = dayIndex(row.date), s = slotOf(row.time);
        ++stats.deletedByDay[d];
        ++stats.deletedBySlot[s];
        ++dayOf(row.date).deleted;
        ++stats.deletedMessages;
    }

    stats.days.reserve(qsizetype(days.size()));
    for (const auto &entry : days)
        stats.days.append(entry.second);
    stats.topSenders = RankNames(std::move(senders));
    stats.topDomains = RankNames(std::move(domains));
    return stats;
}

QString TableToCsv(const QStringList &headings, const QList<QStringList> &rows)
{
    const auto line = [](const QStringList &fields) {
        QStringList out;
        for (const QString &field : fields) {
            // Senders and domains come from spam. A spreadsheet takes a field that begins
            // with one of these for a formula, so such a field is opened with an apostrophe
            // and stays text.
            const bool formula = !field.isEmpty()
                                 && QStringLiteral("=+-@\t\r").contains(field.front());
            if (formula || field.contains(u',') || field.contains(u'"') || field.contains(u'\n')
                || field.contains(u'\r')) {
                QString quoted = formula ? u'\'' + field : field;
                quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
                out << u'"' + quoted + u'"';
            } else {
                out << field;
            }
        }
        return out.join(u',') + QStringLiteral("\r\n");
    };
    QString text = line(headings);
    for (const QStringList &row : rows)
        text += line(row);
    return text;
}

QDate PreviousMonthsStart(const QDate &today, int months)
{
    int year = today.year();
    int month = today.month() - months;
    while (month < 1) {
        month += 12;
        --year;
    }
    int day = today.day();
    while (day > 1 && !QDate(year, month, day).isValid())
        --day;
    return QDate(year, month, day);
}

QDate PreviousDaysStart(const QDate &today, int days)
{
    return today.addDays(-days);
}
