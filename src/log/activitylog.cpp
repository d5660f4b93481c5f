#include "activitylog.h"

#include "textutil.h"
#include "wording.h"

#include <QFileInfo>

ActivityLog::ActivityLog(const QString &fileName)
    : m_fileName(fileName), m_clock([] { return QDateTime::currentDateTime(); })
{
}

ActivityLog::~ActivityLog()
{
    close();
}

void ActivityLog::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    close();
    m_fileName = fileName;
    m_failing = false;
}

void ActivityLog::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

void ActivityLog::setErrorHandler(std::function<void(const QString &)> handler)
{
    m_errorHandler = std::move(handler);
}

void ActivityLog::clearError()
{
    m_lastError.clear();
    m_failing = false;
}

QString ActivityLog::stamp() const
{
    return FormatLogStamp(m_clock ? m_clock() : QDateTime::currentDateTime());
}

bool ActivityLog::open()
{
    if (m_file.isOpen())
        return true;
    // A blank name is how the user switches the log off.
    if (TrimControls(m_fileName).isEmpty())
        return false;
    m_file.setFileName(m_fileName);
    if (QFileInfo(m_fileName).isDir()) {
        fail(Said("Data", "it is a folder"));
        return false;
    }
    // A log that ends inside a line (a crash or a full disk during an earlier write) would
    // glue the next entry onto that fragment, where the reader no longer finds it.
    m_needsLineBreak = false;
    QFile existing(m_fileName);
    if (existing.open(QIODevice::ReadOnly) && !existing.isSequential() && existing.size() > 0
        && existing.seek(existing.size() - 1))
        m_needsLineBreak = existing.read(1) != "\n";
    existing.close();
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fail(m_file.errorString());
        return false;
    }
    return true;
}

void ActivityLog::close()
{
    if (!m_file.isOpen())
        return;
    const bool flushed = m_file.flush();
    const QString reason = m_file.errorString();
    m_file.close();
    if (!flushed)
        fail(reason);
}

void ActivityLog::fail(const QString &reason)
{
    // Close without flushing again: what could not be written will not be written now.
    if (m_file.isOpen())
        m_file.close();
    if (m_failing)
        return;
    m_failing = true;
    m_lastError = Said("Data", "The activity log \"%1\" cannot be written: %2. Mail is checked "
                                 "and deleted as usual, but nothing is logged until this is "
                                 "put right: check the log file name in the General settings, "
                                 "that its folder exists and that the disk has free space.")
                      .arg(m_fileName, reason);
    if (m_errorHandler)
        m_errorHandler(m_lastError);
}

void ActivityLog::writeLines(const QStringList &lines)
{
    const bool openedHere = !m_file.isOpen();
    if (!open())
        return;
    QByteArray bytes;
    if (m_needsLineBreak)
        bytes += '\n';
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    // Flushed at once, also inside a batch: a full disk shows at the entry that hit it, and
    // a crash later in the run cannot take entries already made with it.
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        fail(m_file.errorString());
        return;
    }
    m_needsLineBreak = false;
    m_failing = false;
    if (openedHere)
        close();
}

void ActivityLog::logCheck(int count, const QString &user, const QString &server)
{
    writeLines({CheckEntry(count, user, server, stamp())});
}

void ActivityLog::logDeletion(const QString &user, const QString &server,
                              const DeletedMessage &message)
{
    writeLines(DeletionEntry(user, server, message, stamp()));
}

void ActivityLog::logError(const QString &message, const QString &user, const QString &server)
{
    // The log reads the same in every language: the English of a translated message.
    writeLines({ErrorEntry(LoggedWording(message), user, server, stamp())});
}

void ActivityLog::logCancel(const QString &user, const QString &server)
{
    writeLines({CancelEntry(user, server, stamp())});
}

void ActivityLog::logAutomaticMode(bool enabled)
{
    writeLines({AutomaticModeEntry(enabled, stamp())});
}

void ActivityLog::logFolderMove(const QString &text)
{
    writeLines({FolderMoveEntry(LoggedWording(text), stamp())});
}
