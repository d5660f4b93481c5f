#include "headers.h"

#include "codec.h"
#include "textutil.h"

#include <QStringDecoder>

namespace {

bool IsFoldBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

char16_t AsciiUpperUnit(char16_t u)
{
    return (u >= u'a' && u <= u'z') ? char16_t(u - 32) : u;
}

// True when line begins with prefix, comparing with ASCII-only case folding so that the
// result does not depend on the user's locale (a Turkish dotless i must not match "I").
bool StartsWithAsciiCI(const QString &line, const QString &prefix)
{
    if (line.size() < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i)
        if (AsciiUpperUnit(line.at(i).unicode()) != AsciiUpperUnit(prefix.at(i).unicode()))
            return false;
    return true;
}

QString FieldNameWithColon(const QString &fieldName)
{
    return fieldName.endsWith(u':') ? fieldName : fieldName + u':';
}

qsizetype FindField(const TmsHeaders &headers, const QString &fieldName)
{
    const QString name = FieldNameWithColon(fieldName);
    for (qsizetype i = 0; i < headers.size(); ++i)
        if (StartsWithAsciiCI(headers.at(i), name))
            return i;
    return -1;
}

// Fields whose values carry parameters that later steps parse themselves; decoding or
// cutting them would damage a MIME boundary or a server's message id.
bool IsRawField(const QString &fieldName)
{
    QString name = fieldName;
    if (name.endsWith(u':'))
        name.chop(1);
    return AsciiEqualsIgnoreCase(name, QStringLiteral("Content-Type"))
        || AsciiEqualsIgnoreCase(name, QStringLiteral("X-UIDL"));
}

// ---- encoded words ------------------------------------------------------------------------

struct EncodedWord
{
    QString charset; // without an RFC 2231 language suffix
    QByteArray bytes;
};

QString CharsetName(const QString &declared)
{
    const qsizetype star = declared.indexOf(u'*');
    return TrimControls(star >= 0 ? declared.left(star) : declared);
}

// Turns the text of a Q word into bytes. Escapes are ASCII; a literal 8-bit character in the
// word came either from a line that was valid UTF-8 (then it is the real character) or from
// a line read as Latin-1 (then its code is the original byte).
QByteArray WordTextBytes(const QString &text, bool utf8Charset)
{
    if (utf8Charset)
        return text.toUtf8();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() <= 0xFF) {
            out.append(char(c.unicode()));
        } else {
            // A character the declared charset cannot have held as one byte: keep it as
            // UTF-8 so that at least nothing is dropped silently.
            qsizetype len = 1;
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                len = 2;
            out.append(text.mid(i, len).toUtf8());
            i += len - 1;
        }
    }
    return out;
}

bool IsUtf8Name(const QString &charset)
{
    return AsciiEqualsIgnoreCase(charset, QStringLiteral("utf-8"))
        || AsciiEqualsIgnoreCase(charset, QStringLiteral("utf8"));
}

// Parses the inside of "=?charset?X?text?=". Empty when the word is malformed, uses an
// unknown encoding letter, or its base64 text holds a character outside the alphabet.
std::optional<EncodedWord> ParseWord(QStringView inside)
{
    const qsizetype q1 = inside.indexOf(u'?');
    if (q1 < 0 || q1 + 2 >= inside.size() || inside.at(q1 + 2) != u'?')
        return std::nullopt;
    EncodedWord word;
    word.charset = CharsetName(inside.left(q1).toString());
    const char16_t letter = AsciiUpperUnit(inside.at(q1 + 1).unicode());
    const QString text = inside.mid(q1 + 3).toString();
    if (letter == u'B') {
        std::optional<QByteArray> bytes = DecodeBase64Text(text.toLatin1());
        if (!bytes)
            return std::nullopt;
        word.bytes = std::move(*bytes);
    } else if (letter == u'Q') {
        word.bytes = DecodeQPText(WordTextBytes(text, IsUtf8Name(word.charset)));
    } else {
        return std::nullopt;
    }
    return word;
}

QString DecodeCharset(const QByteArray &bytes, const QString &charset)
{
    if (bytes.isEmpty())
        return {};
    const QByteArray name = charset.toLatin1();
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    // Unknown charsets are read as Latin-1, and so is US-ASCII: senders label 8-bit text as
    // ASCII often enough, and Latin-1 keeps every byte instead of replacing it.
    if (name.isEmpty() || !decoder.isValid()
        || qstrcmp(decoder.name(), "US-ASCII") == 0)
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

// The end of an encoded word that starts at p ("=?"): the first "?=" after it, except the
// "?Q?=" (or "?b?=", any case) right after the charset, which belongs to a word whose text
// begins with an "=" escape. Only that position is excluded, so a word whose whole text is
// the letter "b" or "Q" still ends where it should.
qsizetype FindWordEnd(const QString &s, qsizetype p, qsizetype end)
{
    const qsizetype charsetEnd = s.indexOf(u'?', p + 2);
    for (qsizetype e = p + 2; e + 1 < end; ++e) {
        if (s.at(e) != u'?' || s.at(e + 1) != u'=')
            continue;
        if (e - 2 == charsetEnd) {
            const char16_t letter = AsciiUpperUnit(s.at(e - 1).unicode());
            if (letter == u'B' || letter == u'Q')
                continue;
        }
        return e;
    }
    return -1;
}

// Bytes of adjacent words in one charset are collected and converted at once, so that a
// multi-byte character that a sender split across two words comes out whole.
class WordRun
{
public:
    bool Active() const { return m_active; }
    bool Accepts(const QString &charset) const
    {
        return m_active && AsciiEqualsIgnoreCase(charset, m_charset)
            && m_bytes.size() < kMaxRunBytes;
    }
    void Start(EncodedWord &&word)
    {
        m_active = true;
        m_charset = std::move(word.charset);
        m_bytes = std::move(word.bytes);
    }
    void Add(const QByteArray &bytes) { m_bytes += bytes; }
    void FlushInto(QString &out)
    {
        if (!m_active)
            return;
        out += DecodeCharset(m_bytes, m_charset);
        m_active = false;
        m_bytes.clear();
        m_charset.clear();
    }

private:
    // A long run is converted in parts so that the work stays bounded by the output limit.
    static constexpr qsizetype kMaxRunBytes = 4096;
    bool m_active = false;
    QString m_charset;
    QByteArray m_bytes;
};

} // namespace

QString DecodeEncodedWords(const QString &text)
{
    // Only the first kMaxTextLength characters of the result are kept; once the decoded
    // prefix is surely that long, the rest of the input cannot change it.
    constexpr qsizetype kEnoughUnits = 2 * kMaxTextLength;

    QString s = text;
    qsizetype end = s.size();
    qsizetype pos = 0;
    QString out;
    WordRun run;
    bool decodedAny = false;
    // The blanks after the last decoded word: dropped when another encoded word follows
    // them, kept before plain text, so that no word can be glued to a keyword.
    qsizetype gapStart = -1;

    const auto keepGap = [&] {
        if (gapStart < 0)
            return;
        run.FlushInto(out);
        out += QStringView(s).mid(gapStart, pos - gapStart);
        gapStart = -1;
    };

    while (pos < end && out.size() < kEnoughUnits) {
        const qsizetype p = s.indexOf(QStringLiteral("=?"), pos);
        if (p < 0 || p + 1 >= end) {
            keepGap();
            run.FlushInto(out);
            out += QStringView(s).mid(pos, qMin(end - pos, kEnoughUnits));
            pos = end;
            break;
        }
        if (p > pos) {
            keepGap();
            run.FlushInto(out);
            out += QStringView(s).mid(pos, qMin(p - pos, kEnoughUnits));
        }
        const qsizetype e = FindWordEnd(s, p, end);
        if (e < 0) {
            // An opened word that never closes: the value ends before it.
            pos = end;
            break;
        }
        std::optional<EncodedWord> word = ParseWord(QStringView(s).mid(p + 2, e - p - 2));
        if (!word) {
            // A word that does not decode stays as it was received.
            keepGap();
            run.FlushInto(out);
            pos = e + 2;
            out += QStringView(s).mid(p, pos - p);
            continue;
        }
        gapStart = -1;
        pos = e + 2;
        if (run.Accepts(word->charset)) {
            run.Add(word->bytes);
        } else {
            run.FlushInto(out);
            run.Start(std::move(*word));
        }
        gapStart = pos;
        while (pos < end && IsBlankOrControl(s.at(pos)))
            ++pos;
        while (end > pos && IsBlankOrControl(s.at(end - 1)))
            --end;
        if (pos == gapStart)
            gapStart = -1;
        // From the first decoded word on every underscore of the value stands for a blank.
        if (!decodedAny) {
            decodedAny = true;
            for (qsizetype i = pos; i < end; ++i)
                if (s.at(i) == u'_')
                    s[i] = u' ';
        }
    }
    run.FlushInto(out);
    if (decodedAny)
        out.replace(u'_', u' ');
    return CutText(out);
}

QString GetFieldText(const TmsHeaders &headers, const QString &fieldName)
{
    const qsizetype first = FindField(headers, fieldName);
    if (first < 0)
        return {};
    const QString &line = headers.at(first);
    QString value = TrimControls(line.mid(line.indexOf(u':') + 1));
    for (qsizetype i = first + 1; i < headers.size(); ++i) {
        const QString &next = headers.at(i);
        if (next.isEmpty() || !IsFoldBlank(next.at(0)))
            break;
        value += u' ';
        value += TrimControls(next);
    }
    // A field folded right after its colon (or ending in a blank line) would otherwise
    // keep the joining blank at its start or end.
    return TrimControls(value);
}

QString GetFieldValue(const TmsHeaders &headers, const QString &fieldName)
{
    const QString value = GetFieldText(headers, fieldName);
    if (IsRawField(fieldName))
        return value;
    return CutText(DecodeEncodedWords(value));
}

TmsHeaders DecodeHeaderLines(const QByteArray &bytes)
{
    TmsHeaders lines;
    // Each line by itself: one stray Latin-1 byte must not turn the UTF-8 of every other line
    // into mojibake.
    ForEachLine(bytes, [&lines](const QByteArray &line) {
        lines.append(DecodeUtf8OrLatin1(line));
        return true;
    });
    return lines;
}

namespace {

// Appends the comma-separated items of one line of an address list. A comma inside a quoted
// name does not split; the position of each quote decides, so no character of the text is
// ever borrowed as a marker.
void SplitListLine(const QString &text, QStringList &list)
{
    bool inQuotes = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"') {
            inQuotes = !inQuotes;
        } else if (c == u'\\' && inQuotes) {
            ++i; // a quoted pair: the next character is plain text, even a quote
        } else if (c == u',' && !inQuotes) {
            list.append(TrimControls(text.mid(start, i - start)));
            start = i + 1;
        }
    }
    const QString rest = text.mid(start);
    if (!rest.isEmpty())
        list.append(TrimControls(rest));
}

} // namespace

void GetFieldList(const TmsHeaders &headers, const QString &fieldName, QStringList &list)
{
    list.clear();
    const qsizetype n = headers.size();
    qsizetype i = 0;
    while (i < n) {
        const QString &line = headers.at(i);
        if (!StartsWithAsciiCI(line, fieldName)) {
            ++i;
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            return;
        SplitListLine(line.mid(colon + 1), list);
        // A line without a colon continues the field, and so does a folded line that begins
        // with a blank even when a quoted name in it holds a colon.
        for (++i; i < n; ++i) {
            const QString &next = headers.at(i);
            const bool folded = !next.isEmpty() && IsFoldBlank(next.at(0));
            if (!folded && next.contains(u':'))
                break;
            SplitListLine(next, list);
        }
    }
}

void RemoveField(TmsHeaders &headers, const QString &fieldName)
{
    const qsizetype first = FindField(headers, fieldName);
    if (first < 0)
        return;
    qsizetype last = first + 1;
    while (last < headers.size() && !headers.at(last).isEmpty()
           && IsFoldBlank(headers.at(last).at(0)))
        ++last;
    headers.remove(first, last - first);
}

void TruncateAtBody(TmsHeaders &headers)
{
    for (qsizetype i = 0; i < headers.size(); ++i) {
        if (headers.at(i).isEmpty()) {
            headers.resize(i);
            return;
        }
    }
}

QString StripQuotes(const QString &text)
{
    const QString trimmed = TrimControls(text);
    qsizetype start = 0;
    qsizetype end = trimmed.size();
    while (start < end && trimmed.at(start) == u'"')
        ++start;
    while (end > start && trimmed.at(end - 1) == u'"')
        --end;
    return trimmed.mid(start, end - start);
}
