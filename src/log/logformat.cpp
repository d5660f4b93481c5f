#include "logformat.h"

#include "files.h"

namespace {

const char *const kDayNames[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// The value of count decimal digits at from, or -1 when one of them is not a digit.
int digitsAt(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < u'0' || u > u'9')
            return -1;
        value = value * 10 + (u - u'0');
    }
    return value;
}

} // namespace

QString FormatLogStamp(const QDateTime &when)
{
    // An invalid time has no day of the week; the stamp must still be well formed.
    const QDateTime valid = when.isValid() ? when : QDateTime::currentDateTime();
    const QDate date = valid.date();
    const QTime time = valid.time();
    return QStringLiteral("%1 %2-%3-%4 %5:%6")
        .arg(QLatin1String(kDayNames[date.dayOfWeek() - 1]))
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(twoDigits(date.month()), twoDigits(date.day()), twoDigits(time.hour()),
             twoDigits(time.minute()));
}

std::optional<QDateTime> ParseLogStamp(QStringView text)
{
    const std::optional<LogStamp> stamp = ParseLogStampParts(text);
    if (!stamp)
        return std::nullopt;
    return QDateTime(stamp->date, stamp->time);
}

std::optional<LogStamp> ParseLogStampParts(QStringView text)
{
    if (text.size() != kLogStampLength || text.at(3) != u' ' || text.at(8) != u'-'
        || text.at(11) != u'-' || text.at(14) != u' ' || text.at(17) != u':')
        return std::nullopt;
    bool knownDay = false;
    for (const char *day : kDayNames)
        knownDay = knownDay || text.left(3) == QLatin1String(day);
    if (!knownDay)
        return std::nullopt;
    const int year = digitsAt(text, 4, 4);
    const int month = digitsAt(text, 9, 2);
    const int day = digitsAt(text, 12, 2);
    const int hour = digitsAt(text, 15, 2);
    const int minute = digitsAt(text, 18, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return LogStamp{date, time};
}

QString CleanLogField(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        // C0 controls (CR and LF among them) and DEL; also the C1 controls and the Unicode
        // line and paragraph separators, which some editors show as line breaks.
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029)
            c = u' ';
    }
    return out;
}

QString CheckEntry(int count, const QString &user, const QString &server, const QString &stamp)
{
    // One arg() call for all texts: a "%1" inside a subject or a name stays as it is.
    return QStringLiteral("MAIL CHECK %1 msg(s) for \"%2\" on server %3 at %4")
        .arg(QString::number(count), CleanLogField(user), CleanLogField(server), stamp);
}

QStringList DeletionEntry(const QString &user, const QString &server,
                          const DeletedMessage &message, const QString &stamp)
{
    return {QStringLiteral("DELETE SPAM on ") + stamp,
            QStringLiteral("   Server:  ") + CleanLogField(server) + QStringLiteral(" Mailbox: ")
                + CleanLogField(user),
            QStringLiteral("   Subject: ") + CleanLogField(message.subject),
            QStringLiteral("   Sender:  ") + CleanLogField(message.sender),
            QStringLiteral("   Size:    ") + CleanLogField(message.size)
                + QStringLiteral("  Date: ") + CleanLogField(message.date)};
}

QString ErrorEntry(const QString &message, const QString &user, const QString &server,
                   const QString &stamp)
{
    return QStringLiteral("ERROR %1 FOR %2 ON %3 AT %4")
        .arg(CleanLogField(message), CleanLogField(user), CleanLogField(server), stamp);
}

QString CancelEntry(const QString &user, const QString &server, const QString &stamp)
{
    return QStringLiteral("OPERATION CANCELED FOR %1 ON %2 AT %3")
        .arg(CleanLogField(user), CleanLogField(server), stamp);
}

QString AutomaticModeEntry(bool enabled, const QString &stamp)
{
    return QStringLiteral("Automatic mode %1 at %2")
        .arg(enabled ? QStringLiteral("enabled") : QStringLiteral("disabled"), stamp);
}

QString FolderMoveEntry(const QString &text, const QString &stamp)
{
    // The texts are sentences; the stamp follows without the last full stop.
    QString what = CleanLogField(text);
    if (what.endsWith(u'.'))
        what.chop(1);
    return QStringLiteral("FOLDER MOVE: %1 at %2").arg(what, stamp);
}

QString LogFolderOf(const QString &name)
{
    const qsizetype slash = name.lastIndexOf(u'/');
    return slash < 0 ? QString() : name.left(slash + 1);
}

QString JoinLogName(const QString &folder, const QString &file)
{
    if (folder.isEmpty())
        return file;
    if (folder.endsWith(u'/'))
        return folder + file;
    return folder + u'/' + file;
}

QString MonthLogFile(const QDate &date)
{
    return QLatin1String(kMonthNames[date.month() - 1]) + twoDigits(date.year() % 100)
           + QStringLiteral(".txt");
}

QString QuarterLogFile(const QDate &date)
{
    return QStringLiteral("Q%1_").arg((date.month() - 1) / 3 + 1) + twoDigits(date.year() % 100)
           + QStringLiteral(".txt");
}

QString LogFileName(const QString &current, LogNaming naming, const QDate &today,
                    const QString &defaultFolder)
{
    QString name = current;
    if (name.isEmpty())
        name = JoinLogName(defaultFolder, QStringLiteral("logfile.txt"));
    switch (naming) {
    case LogNaming::Month:
        return JoinLogName(LogFolderOf(name), MonthLogFile(today));
    case LogNaming::Quarter:
        return JoinLogName(LogFolderOf(name), QuarterLogFile(today));
    case LogNaming::AsIs:
        break;
    }
    return name;
}

QString DefaultLogFileName()
{
    return DataFile(QStringLiteral("logfile.txt"));
}
