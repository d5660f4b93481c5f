#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <optional>

// Reading the activity log back for the statistics: every "MAIL CHECK" entry becomes a check
// row, every "DELETE SPAM" block a deletion row. Error, cancel and automatic-mode entries are
// counted; a folder-move note passes; a line that is none of these is skipped and counted,
// whatever it holds.

struct CheckRow
{
    int count = 0;   // messages waiting at that check
    QString mailbox; // the user name on the server
    QString server;
    QDate date;
    QTime time;
};

struct DeletionRow
{
    QString mailbox;
    QString server;
    QDate date;
    QTime time;
    std::optional<qint64> size; // octets; nothing when the block ended before it
    QString sender;             // lower case
    QString domain;             // what follows the sender's first "@"; empty without one
    QString subject;
    QString messageDate;        // the message's own date as the list showed it
};

struct ActivityLogData
{
    QList<CheckRow> checks;
    QList<DeletionRow> deletions;
    // Mailboxes met in check entries, in order of first appearance, each once (case ignored).
    QStringList mailboxes;
    int errors = 0;
    int cancels = 0;
    int modeSwitches = 0;
    int skippedLines = 0;
    qint64 firstSkippedLine = 0; // 1-based line number of the first skipped line; 0 = none
};

// Parses a log line by line, so that a big log never has to be in memory at once.
class ActivityLogParser
{
public:
    // One line without its line break (a trailing CR is dropped here).
    void addLine(QString line);
    // A line too long to be an entry, counted as skipped without being looked at.
    void addOverlongLine();
    // Ends a deletion block that the log cut short.
    void finish();

    const ActivityLogData &data() const { return m_data; }
    ActivityLogData takeData();

private:
    void parseLine(const QString &line);
    bool parseCheck(const QString &line);
    void startDeletion(const QString &line);
    bool continueDeletion(const QString &line);
    void endDeletion();
    void skip();

    ActivityLogData m_data;
    qint64 m_lineNumber = 0;
    // The deletion block being read: the lines after "DELETE SPAM on" come one by one.
    std::optional<DeletionRow> m_deletion;
    bool m_deletionValid = false;
    int m_nextLabel = 0;
};

// The whole of a log held in memory (UTF-8, Latin-1 lines read as such; LF or CR LF).
ActivityLogData ParseActivityLog(const QByteArray &bytes);

struct ActivityLogReadResult
{
    bool ok = false;
    QString error;  // the message box text
    QString detail; // why, and what to do
    ActivityLogData data;
};

// Reads the log file; progress(bytes read, file size) is called now and then.
ActivityLogReadResult ReadActivityLog(const QString &fileName,
                                      const std::function<void(qint64, qint64)> &progress = {});
