#include "logreader.h"

#include "logformat.h"
#include "textutil.h"
#include "wording.h"

#include <QFile>
#include <QFileInfo>

namespace {

// No entry comes near this; a longer line is not read into memory as a whole.
constexpr qint64 kMaxLineLength = 64 * 1024;

const QString kCheckStart = QStringLiteral("MAIL CHECK ");
const QString kDeletionStart = QStringLiteral("DELETE SPAM on ");
const QString kCheckMiddle = QStringLiteral(" msg(s) for \"");
const QString kCheckServer = QStringLiteral("\" on server ");
const QString kMailboxLabel = QStringLiteral(" Mailbox: ");
const QString kDateLabel = QStringLiteral("  Date: ");

// The labels of lines 2 to 5 of a deletion block, each with the blanks that follow it.
const QString kBlockLabels[4] = {QStringLiteral("   Server:  "), QStringLiteral("   Subject: "),
                                 QStringLiteral("   Sender:  "), QStringLiteral("   Size:    ")};

// The stamp that ends a line after separator (" at " or " AT "), or nothing.
std::optional<LogStamp> trailingStamp(const QString &line, QLatin1String separator)
{
    const qsizetype tail = kLogStampLength + separator.size();
    if (line.size() < tail || QStringView(line).right(tail).left(separator.size()) != separator)
        return std::nullopt;
    return ParseLogStampParts(QStringView(line).right(kLogStampLength));
}

QString firstWord(const QString &text)
{
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? text : text.left(blank);
}

bool containsIgnoringCase(const QStringList &list, const QString &text)
{
    for (const QString &item : list)
        if (AsciiEqualsIgnoreCase(item, text))
            return true;
    return false;
}

} // namespace

ActivityLogData ActivityLogParser::takeData()
{
    finish();
    ActivityLogData data = std::move(m_data);
    m_data = {};
    m_lineNumber = 0;
    return data;
}

void ActivityLogParser::skip()
{
    if (m_data.skippedLines++ == 0)
        m_data.firstSkippedLine = m_lineNumber;
}

void ActivityLogParser::addOverlongLine()
{
    ++m_lineNumber;
    endDeletion();
    skip();
}

void ActivityLogParser::addLine(QString line)
{
    ++m_lineNumber;
    if (line.endsWith(u'\r'))
        line.chop(1);
    if (m_deletion && continueDeletion(line))
        return;
    endDeletion();
    parseLine(line);
}

void ActivityLogParser::finish()
{
    endDeletion();
}

void ActivityLogParser::parseLine(const QString &line)
{
    // Entries are recognised at the start of a line only. Every field written after the
    // start is cleaned of line breaks, so a subject or a server's error text can mention
    // "MAIL CHECK" or "DELETE SPAM" without being taken for an entry.
    if (line.startsWith(kCheckStart)) {
        if (!parseCheck(line))
            skip();
    } else if (line.startsWith(kDeletionStart)) {
        startDeletion(line);
    } else if (line.startsWith(QLatin1String("ERROR ")) && trailingStamp(line, QLatin1String(" AT "))) {
        ++m_data.errors;
    } else if (line.startsWith(QLatin1String("OPERATION CANCELED FOR "))
               && trailingStamp(line, QLatin1String(" AT "))) {
        ++m_data.cancels;
    } else if ((line.startsWith(QLatin1String("Automatic mode enabled at "))
                || line.startsWith(QLatin1String("Automatic mode disabled at ")))
               && trailingStamp(line, QLatin1String(" at "))) {
        ++m_data.modeSwitches;
    } else if (line.startsWith(QLatin1String("FOLDER MOVE: ")) && trailingStamp(line, QLatin1String(" at "))) {
        // Housekeeping of the program's own: nothing for the statistics, and not a stray line.
    } else if (!TrimControls(line).isEmpty()) {
        skip();
    }
}

bool ActivityLogParser::parseCheck(const QString &line)
{
    // MAIL CHECK <count> msg(s) for "<mailbox>" on server <server> at <stamp>
    const std::optional<LogStamp> when = trailingStamp(line, QLatin1String(" at "));
    if (!when || line.size() < kCheckStart.size() + 4 + kLogStampLength)
        return false;
    const QString middle =
        line.mid(kCheckStart.size(), line.size() - kCheckStart.size() - kLogStampLength - 4);
    const QString countText = firstWord(middle);
    bool ok = false;
    const int count = countText.toInt(&ok, 10);
    if (!ok || count < 0 || countText.startsWith(u'+'))
        return false;
    const QString rest = middle.mid(countText.size());
    if (!rest.startsWith(kCheckMiddle))
        return false;
    // The mailbox may hold quotes or " on server "; the server comes after the last one.
    const qsizetype serverAt = rest.lastIndexOf(kCheckServer);
    if (serverAt < kCheckMiddle.size())
        return false;
    CheckRow row;
    row.count = count;
    row.mailbox = rest.mid(kCheckMiddle.size(), serverAt - kCheckMiddle.size());
    row.server = rest.mid(serverAt + kCheckServer.size());
    row.date = when->date;
    row.time = when->time;
    if (!containsIgnoringCase(m_data.mailboxes, row.mailbox))
        m_data.mailboxes.append(row.mailbox);
    m_data.checks.append(row);
    return true;
}

void ActivityLogParser::startDeletion(const QString &line)
{
    const std::optional<LogStamp> when =
        ParseLogStampParts(QStringView(line).mid(kDeletionStart.size()));
    m_deletion = DeletionRow{};
    m_deletionValid = when.has_value();
    if (when) {
        m_deletion->date = when->date;
        m_deletion->time = when->time;
    }
    m_nextLabel = 0;
    if (!m_deletionValid)
        skip();
}

bool ActivityLogParser::continueDeletion(const QString &line)
{
    // A line belongs to the block only when it carries one of the block's labels, so a block
    // cut short by a failed write does not swallow the entries that follow it.
    int label = -1;
    for (int i = m_nextLabel; i < 4 && label < 0; ++i)
        if (line.startsWith(kBlockLabels[i]))
            label = i;
    if (label < 0)
        return false;
    m_nextLabel = label + 1;
    if (!m_deletionValid) {
        skip();
        if (m_nextLabel == 4)
            endDeletion();
        return true;
    }
    DeletionRow &row = *m_deletion;
    const QString value = line.mid(kBlockLabels[label].size());
    switch (label) {
    case 0: {
        const qsizetype mailboxAt = value.indexOf(kMailboxLabel);
        if (mailboxAt < 0) {
            row.server = firstWord(value);
        } else {
            row.server = value.left(mailboxAt);
            row.mailbox = CutText(value.mid(mailboxAt + kMailboxLabel.size()));
        }
        break;
    }
    case 1:
        row.subject = CutText(value);
        break;
    case 2:
        row.sender = CutText(value.toLower());
        row.domain = row.sender.mid(row.sender.indexOf(u'@') + 1);
        if (!row.sender.contains(u'@'))
            row.domain.clear();
        break;
    case 3: {
        const QString sizeText = firstWord(value);
        bool ok = false;
        const qint64 size = sizeText.toLongLong(&ok, 10);
        if (ok && size >= 0 && !sizeText.startsWith(u'+'))
            row.size = size;
        const qsizetype dateAt = value.indexOf(kDateLabel);
        if (dateAt >= 0)
            row.messageDate = CutText(value.mid(dateAt + kDateLabel.size()));
        break;
    }
    }
    if (m_nextLabel == 4)
        endDeletion();
    return true;
}

void ActivityLogParser::endDeletion()
{
    if (m_deletion && m_deletionValid)
        m_data.deletions.append(*m_deletion);
    m_deletion.reset();
    m_deletionValid = false;
}

ActivityLogData ParseActivityLog(const QByteArray &bytes)
{
    ActivityLogParser parser;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        if (end - start > kMaxLineLength)
            parser.addOverlongLine();
        else
            parser.addLine(DecodeUtf8OrLatin1(bytes.mid(start, end - start)));
        start = end + 1;
    }
    return parser.takeData();
}

ActivityLogReadResult ReadActivityLog(const QString &fileName,
                                      const std::function<void(qint64, qint64)> &progress)
{
    ActivityLogReadResult result;
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists()) {
        result.error = Said("Data",
            "The activity log file does not exist!  Either you have cleared/deleted the "
            "activity log or you have not yet begun to use Tarnwick.");
        result.detail = Said("Data", "No file \"%1\" was found. Choose the log file named "
                                       "under Activity Log in the General settings.")
                            .arg(fileName);
        return result;
    }
    const QString cannotRead = Said("Data", "Could not open Activity log file for reading!");
    QFile file(fileName);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.error = cannotRead;
        result.detail = Said("Data", "\"%1\": %2. Check that it is a file you may read.")
                            .arg(fileName, info.isDir() ? Said("Data", "it is a folder")
                                                        : Said(file.errorString()));
        return result;
    }
    const qint64 total = file.size();
    ActivityLogParser parser;
    QByteArray line;
    bool overlong = false;
    qint64 lines = 0;
    while (!file.atEnd()) {
        // Read in pieces so that a line without end costs no more memory than a piece.
        const QByteArray piece = file.readLine(kMaxLineLength + 1);
        if (piece.isEmpty() && file.error() != QFileDevice::NoError) {
            result.error = cannotRead;
            result.detail = Said("Data", "\"%1\" could not be read to its end: %2.")
                                .arg(fileName, file.errorString());
            return result;
        }
        const bool complete = piece.endsWith('\n') || file.atEnd();
        if (!overlong) {
            line += piece;
            if (line.size() > kMaxLineLength + 1)
                overlong = true;
        }
        if (!complete)
            continue;
        if (line.endsWith('\n'))
            line.chop(1);
        if (overlong || line.size() > kMaxLineLength)
            parser.addOverlongLine();
        else
            parser.addLine(DecodeUtf8OrLatin1(line));
        line.clear();
        overlong = false;
        if (progress && ++lines % 256 == 0)
            progress(file.pos(), total);
    }
    if (progress)
        progress(total, total);
    result.data = parser.takeData();
    result.ok = true;
    return result;
}
