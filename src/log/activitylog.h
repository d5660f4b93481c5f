#pragma once

#include "logformat.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <functional>

// The writer of the activity log. Each entry opens the file, appends and closes it again;
// a deletion run holds it open from the first deleted message to the last (see Batch).
//
// Logging never gets in the way of the mail work it records: nothing here throws, and a log
// that cannot be written (a blank name is simply "no log") is skipped. The first failure is
// handed to the error handler and kept in lastError() for the window to show; further
// failures of the same kind stay quiet until an entry has been written again.
class ActivityLog
{
public:
    explicit ActivityLog(const QString &fileName = {});
    ~ActivityLog();
    ActivityLog(const ActivityLog &) = delete;
    ActivityLog &operator=(const ActivityLog &) = delete;

    // A new name takes effect at the next entry; an open log is closed first.
    void setFileName(const QString &fileName);
    QString fileName() const { return m_fileName; }

    // Where the entries' time comes from (tests fix it); local time by default.
    void setClock(std::function<QDateTime()> clock);
    void setErrorHandler(std::function<void(const QString &)> handler);

    // Opens the file for appending (creating it) unless it is open already or the name is
    // blank. False when the log is not open afterwards.
    bool open();
    void close();
    bool isOpen() const { return m_file.isOpen(); }

    // Keeps the log open for as long as it lives, e.g. for one deletion run, and closes it
    // again even when the run ends early with an exception.
    class Batch
    {
    public:
        explicit Batch(ActivityLog &log) : m_log(log), m_opened(!log.isOpen() && log.open()) {}
        ~Batch()
        {
            if (m_opened)
                m_log.close();
        }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        ActivityLog &m_log;
        bool m_opened;
    };

    // "MAIL CHECK ..." after a check of a mailbox with count waiting messages.
    void logCheck(int count, const QString &user, const QString &server);
    // The five-line "DELETE SPAM on ..." block for one message about to be deleted.
    void logDeletion(const QString &user, const QString &server, const DeletedMessage &message);
    // "ERROR ..." for a failure the mail client reported.
    void logError(const QString &message, const QString &user, const QString &server);
    // "OPERATION CANCELED ..." when the user stopped the mail client.
    void logCancel(const QString &user, const QString &server);
    // "Automatic mode enabled/disabled at ...".
    void logAutomaticMode(bool enabled);
    // "FOLDER MOVE: ..." for files moved from the first builds' folders, or left there.
    void logFolderMove(const QString &text);

    // The last failure, for the user; empty when none since clearError().
    QString lastError() const { return m_lastError; }
    void clearError();

private:
    void writeLines(const QStringList &lines);
    void fail(const QString &reason);
    QString stamp() const;

    QString m_fileName;
    QFile m_file;
    std::function<QDateTime()> m_clock;
    std::function<void(const QString &)> m_errorHandler;
    QString m_lastError;
    bool m_failing = false; // a failure was reported and nothing has been written since
    bool m_needsLineBreak = false; // the file ended inside a line when it was opened
};
