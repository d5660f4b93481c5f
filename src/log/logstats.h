#pragma once

#include "logreader.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// The statistics drawn from the activity log: which rows a range and a mailbox select, the
// two tables, the counts by day of the week, by half hour and by day, the share of deleted
// spam and the senders and domains deleted most often. Everything is computed in one pass
// over the rows that the reader produced; the windows only show the result.

struct StatsSelection
{
    QDate start; // both ends included
    QDate end;
    QString mailbox; // empty = all mailboxes; otherwise compared without regard to case

    bool selects(const QString &rowMailbox, const QDate &date) const;
};

// The range a fresh window starts with: 1 January 1998 up to today.
StatsSelection DefaultStatsSelection(const QDate &today);

// "joe from 1998-01-01 thru 2026-12-06", or "All mailboxes from ..." when no mailbox is chosen.
QString StatsTitle(const StatsSelection &selection);

// One day of the day-by-day charts. Every day with any entry has all three values, so the
// three series share one date axis and a day with checks but no mail lines up with the rest.
struct StatsDay
{
    QDate date;
    int checks = 0;
    qint64 found = 0;
    qint64 deleted = 0;
};

// A bar of the top-ten charts.
struct StatsRank
{
    QString name;
    int count = 0;
    bool operator==(const StatsRank &) const = default;
};

// A straight line fitted through points (x, y) by least squares: y = intercept + slope * x.
struct TrendLine
{
    double intercept = 0;
    double slope = 0;
    double at(double x) const { return intercept + slope * x; }
};
TrendLine FitTrend(const QList<double> &xs, const QList<double> &ys);

struct LogStatistics
{
    // The rows of the two tables, in file order, as text: the "Email traffic" grid
    // (kHitsColumns) and the "Spam Deleted" grid (kDeletedColumns).
    QList<QStringList> hits;
    QList<QStringList> deleted;

    // Index 0 = Sunday ... 6 = Saturday.
    std::array<int, 7> checksByDay{};
    std::array<qint64, 7> foundByDay{};
    std::array<qint64, 7> deletedByDay{};

    // Index = hour * 2 + (1 from minute 30 on): 0 ... 47.
    std::array<int, 48> checksBySlot{};
    std::array<qint64, 48> foundBySlot{};
    std::array<qint64, 48> deletedBySlot{};

    QList<StatsDay> days; // ascending by date, only days with an entry

    // The pie: every message listed at every selected check, and the messages deleted. A
    // message seen at several checks counts several times, so it is a share of what was seen.
    qint64 totalMessages = 0;
    qint64 deletedMessages = 0;
    // The pie's "Normal E-mail" part; never below zero, even when a log holds deletions whose
    // checks were written to another file.
    qint64 normalMessages() const;

    QList<StatsRank> topSenders; // up to ten, the largest first
    QList<StatsRank> topDomains;
};

LogStatistics ComputeStatistics(const ActivityLogData &data, const StatsSelection &selection);

// The up to limit names met most often, the largest count first; ties in reverse order of
// the names. Empty names are not counted.
QList<StatsRank> RankNames(QStringList names, int limit = 10);

// The grid headings.
inline const QStringList kHitsColumns = {QStringLiteral("Date"), QStringLiteral("Time"),
                                         QStringLiteral("Server"), QStringLiteral("Mailbox"),
                                         QStringLiteral("# Mail")};
inline const QStringList kDeletedColumns = {
    QStringLiteral("Date"),    QStringLiteral("Time"),   QStringLiteral("Server"),
    QStringLiteral("Mailbox"), QStringLiteral("Size"),   QStringLiteral("Sender"),
    QStringLiteral("Domain")};

// Date and time as the tables and the charts show them: "2026-12-06", "14:05".
QString StatsDateText(const QDate &date);
QString StatsTimeText(const QTime &time);
// The label of a half-hour slot: "00:00", "00:30", ... "23:30".
QString SlotLabel(int slot);
// The abbreviated day names, Sunday first, in the user's language.
QStringList ShortDayNames();

// A table as comma-separated text (RFC 4180): the headings, then the rows, each line ended by
// CR LF; a field holding a comma, a quote or a line break is quoted, its quotes doubled. A field
// that a spreadsheet would take for a formula (=, +, -, @, tab, CR first) gets a leading
// apostrophe and quotes.
QString TableToCsv(const QStringList &headings, const QList<QStringList> &rows);

// The date-range dialog's two reckoned modes. The end of both is today.
// The same day of the month n months back; a day the month does not have becomes its last.
QDate PreviousMonthsStart(const QDate &today, int months);
QDate PreviousDaysStart(const QDate &today, int days);
