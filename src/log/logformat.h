#pragma once

#include "lognaming.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The activity log's text: its file name, its time stamp and the lines of every entry. The
// writer and the reader both use these, so what one writes the other finds.

// The time stamp of every entry, the same in every locale so that a log written under one
// language reads back under another: English day abbreviation, ISO date, 24-hour time,
// e.g. "Sun 2026-12-06 14:05". Always kLogStampLength characters.
constexpr int kLogStampLength = 20;
QString FormatLogStamp(const QDateTime &when);
// The local date and time of a stamp of exactly that form; nothing for anything else.
std::optional<QDateTime> ParseLogStamp(QStringView text);
// The same as a plain date and time. Much cheaper when a whole log is read: a local
// QDateTime looks up the time zone each time one is made.
struct LogStamp
{
    QDate date;
    QTime time;
};
std::optional<LogStamp> ParseLogStampParts(QStringView text);

// A field taken from a message or a server (subject, sender, an error text) as it may go
// into the log: every control character becomes a blank, so a field can never end a line
// and start a forged entry.
QString CleanLogField(const QString &text);

// The entries, fields cleaned. A deletion is a block of five lines.
struct DeletedMessage
{
    QString subject;
    QString sender; // bare address
    QString size;   // octets, decimal text as the message list shows it
    QString date;   // as the message list shows it
};
QString CheckEntry(int count, const QString &user, const QString &server, const QString &stamp);
QStringList DeletionEntry(const QString &user, const QString &server,
                          const DeletedMessage &message, const QString &stamp);
QString ErrorEntry(const QString &message, const QString &user, const QString &server,
                   const QString &stamp);
QString CancelEntry(const QString &user, const QString &server, const QString &stamp);
QString AutomaticModeEntry(bool enabled, const QString &stamp);
// "FOLDER MOVE: <what> at <stamp>": files moved from the first builds' folders, or left there.
QString FolderMoveEntry(const QString &text, const QString &stamp);

// The log file name. An empty name becomes defaultFolder + "/logfile.txt"; with Month or
// Quarter naming the file part becomes the name for today ("Dec26.txt", "Q4_26.txt") in the
// folder of the current name. Month names are English whatever the locale, and only "/"
// separates folders (":" is an ordinary character in a Linux file name).
QString LogFileName(const QString &current, LogNaming naming, const QDate &today,
                    const QString &defaultFolder);
// The data folder's "logfile.txt".
QString DefaultLogFileName();
// Everything up to and including the last "/", or empty.
QString LogFolderOf(const QString &name);
QString JoinLogName(const QString &folder, const QString &file);
QString MonthLogFile(const QDate &date);   // "Jan98.txt"
QString QuarterLogFile(const QDate &date); // "Q1_98.txt"
