// Activity logs as the reader finds them: written by any version, edited by hand, cut short
// or damaged. The input is read as a whole log, and its pieces are also used as the fields
// of freshly written entries, which must read back as exactly those entries.
#include "logformat.h"
#include "logreader.h"
#include "textutil.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const ActivityLogData log = ParseActivityLog(bytes);
    const qsizetype lines = bytes.count('\n') + 1;
    if (log.skippedLines > lines || log.checks.size() > lines || log.deletions.size() > lines)
        std::abort();
    if (log.mailboxes.size() > log.checks.size())
        std::abort();
    if ((log.skippedLines == 0) != (log.firstSkippedLine == 0))
        std::abort();
    for (const CheckRow &row : log.checks)
        if (row.count < 0 || !row.date.isValid() || !row.time.isValid())
            std::abort();
    for (const DeletionRow &row : log.deletions)
        if (!row.date.isValid() || !row.time.isValid() || (row.size && *row.size < 0)
            || CodePointCount(row.subject) > kMaxTextLength
            || (!row.domain.isEmpty() && !row.sender.contains(u'@')))
            std::abort();

    // Fields separated by 0xFF bytes: user, server, subject, sender, size, date, error text.
    const QList<QByteArray> parts = bytes.split('\xff');
    auto field = [&parts](int i) {
        return i < parts.size() ? DecodeUtf8OrLatin1(parts.at(i)) : QString();
    };
    const QString stamp = QStringLiteral("Tue 2026-12-08 21:47");
    QStringList written;
    written << CheckEntry(int(size), field(0), field(1), stamp);
    written << DeletionEntry(field(0), field(1), {field(2), field(3), field(4), field(5)}, stamp);
    written << ErrorEntry(field(6), field(0), field(1), stamp);
    written << CancelEntry(field(0), field(1), stamp);
    const ActivityLogData back = ParseActivityLog(written.join(u'\n').toUtf8());
    if (back.checks.size() != 1 || back.deletions.size() != 1 || back.errors != 1
        || back.cancels != 1 || back.skippedLines != 0)
        std::abort();
    if (back.checks.first().count != int(size) || back.checks.first().time != QTime(21, 47))
        std::abort();
    if (back.deletions.first().subject != CutText(CleanLogField(field(2))))
        std::abort();
    return 0;
}
