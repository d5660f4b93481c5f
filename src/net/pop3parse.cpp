#include "pop3parse.h"

#include "textutil.h"

#include <QList>
#include <QStringView>
#include <limits>

namespace {
QList<QStringView> Tokens(QStringView line)
{
    QList<QStringView> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != u' ' && line[i] != u'\t')
            ++i;
        if (i > start)
            tokens.append(line.mid(start, i - start));
    }
    return tokens;
}

// Plain decimal digits only (no sign, no blanks); false when the value does not fit in max.
bool ParseNumber(QStringView text, qint64 max, qint64 &value)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    qint64 v = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c.unicode() - u'0');
    }
    if (v > max)
        return false;
    value = v;
    return true;
}

bool ValidUniqueId(QStringView id)
{
    if (id.isEmpty() || id.size() > 70)
        return false;
    for (const QChar c : id) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

bool IsStatusField(const QString &line)
{
    return line.startsWith(QLatin1String("Status:"), Qt::CaseInsensitive)
        || line.startsWith(QLatin1String("X-Status:"), Qt::CaseInsensitive);
}

bool IsContinuation(const QString &line)
{
    return !line.isEmpty() && (line.at(0) == u' ' || line.at(0) == u'\t');
}

TmsHeaders WithoutStatusFields(const TmsHeaders &headers)
{
    TmsHeaders kept;
    bool skipping = false;
    for (const QString &line : headers) {
        if (skipping && IsContinuation(line))
            continue;
        skipping = IsStatusField(line);
        if (!skipping)
            kept.append(line);
    }
    return kept;
}
} // namespace

int Pop3ReplyCode(const QString &line)
{
    if (line.startsWith(u'+'))
        return 1;
    if (line.startsWith(u'-'))
        return -1;
    return 0;
}

bool ParseStatReply(const QString &line, int &count, qint64 &size)
{
    const QList<QStringView> tokens = Tokens(line);
    qint64 c = 0;
    if (tokens.size() < 2 || !ParseNumber(tokens[1], std::numeric_limits<int>::max(), c))
        return false;
    qint64 s = -1;
    if (tokens.size() >= 3 && !ParseNumber(tokens[2], std::numeric_limits<qint64>::max(), s))
        return false;
    count = int(c);
    size = s;
    return true;
}

qint64 ParseListSize(const QString &line)
{
    const QList<QStringView> tokens = Tokens(line);
    qint64 size = 0;
    if (tokens.size() < 3 || !ParseNumber(tokens[2], std::numeric_limits<qint64>::max(), size))
        return 0;
    return size;
}

QString ParseUidlReply(const QString &line, int messageNumber)
{
    const QList<QStringView> tokens = Tokens(line);
    qint64 n = 0;
    if (tokens.size() < 3 || !ParseNumber(tokens[1], std::numeric_limits<int>::max(), n) || n != messageNumber
        || !ValidUniqueId(tokens[2]))
        return QString();
    return tokens[2].toString();
}

QHash<int, QString> ParseUidlListing(const QByteArray &block)
{
    QHash<int, QString> ids;
    for (const QString &line : SplitLines(QString::fromLatin1(block))) {
        const QList<QStringView> tokens = Tokens(line);
        qint64 n = 0;
        if (tokens.size() >= 2 && ParseNumber(tokens[0], std::numeric_limits<int>::max(), n) && n > 0
            && ValidUniqueId(tokens[1]))
            ids.insert(int(n), tokens[1].toString());
    }
    return ids;
}

QHash<int, qint64> ParseListListing(const QByteArray &block)
{
    QHash<int, qint64> sizes;
    for (const QString &line : SplitLines(QString::fromLatin1(block))) {
        const QList<QStringView> tokens = Tokens(line);
        qint64 n = 0;
        qint64 size = 0;
        if (tokens.size() >= 2 && ParseNumber(tokens[0], std::numeric_limits<int>::max(), n) && n > 0
            && ParseNumber(tokens[1], std::numeric_limits<qint64>::max(), size))
            sizes.insert(int(n), size);
    }
    return sizes;
}

TmsHeaders HeadersFromBlock(const QByteArray &block)
{
    TmsHeaders headers = DecodeHeaderLines(block);
    TruncateAtBody(headers);
    return headers;
}

bool SameHeaders(const TmsHeaders &stored, const TmsHeaders &fresh)
{
    return WithoutStatusFields(stored) == WithoutStatusFields(fresh);
}

bool SameMessage(const Pop3MessageFacts &listed, const Pop3MessageFacts &fresh)
{
    if (!listed.Uidl.isEmpty() && !fresh.Uidl.isEmpty() && listed.Uidl != fresh.Uidl)
        return false;
    return listed.Size == fresh.Size && SameHeaders(listed.Headers, fresh.Headers);
}

int FindUniqueId(const QHash<int, QString> &ids, const QString &id)
{
    int found = 0;
    for (auto it = ids.cbegin(); it != ids.cend(); ++it) {
        if (it.value() != id)
            continue;
        if (found != 0)
            return 0;  // the same id twice: it names no message for sure
        found = it.key();
    }
    return found;
}

Pop3Capabilities ParseCapaListing(const QByteArray &block)
{
    Pop3Capabilities caps;
    const QList<QByteArray> rawLines = block.split('\n');
    for (QByteArray raw : rawLines) {
        while (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.isEmpty() || raw.size() > 512)
            continue;
        if (caps.Lines.size() >= kMaxCapaLines)
            break;
        const QString line = DecodeUtf8OrLatin1(raw);
        caps.Lines.append(line);
        const QList<QStringView> tokens = Tokens(line);
        if (tokens.isEmpty())
            continue;
        const QStringView tag = tokens.first();
        if (tag.compare(u"PIPELINING", Qt::CaseInsensitive) == 0) {
            caps.Pipelining = true;
        } else if (tag.compare(u"UIDL", Qt::CaseInsensitive) == 0) {
            caps.Uidl = true;
        } else if (tag.compare(u"LOGIN-DELAY", Qt::CaseInsensitive) == 0 && tokens.size() >= 2) {
            qint64 seconds = 0;
            // A day is more than any server asks for; a larger value would only park the
            // mailbox for ever.
            if (ParseNumber(tokens[1], 24 * 3600, seconds)) {
                caps.LoginDelay = int(seconds);
                caps.LoginDelayPerUser = tokens.size() >= 3 && tokens[2].compare(u"USER", Qt::CaseInsensitive) == 0;
            }
        }
    }
    return caps;
}

bool HasLoginDelayCode(const QString &line)
{
    // The response code comes first after the status indicator: "-ERR [LOGIN-DELAY] text".
    if (Pop3ReplyCode(line) != -1)
        return false;
    const qsizetype blank = line.indexOf(u' ');
    return blank > 0 && QStringView(line).mid(blank + 1).trimmed().startsWith(u"[LOGIN-DELAY]", Qt::CaseInsensitive);
}
