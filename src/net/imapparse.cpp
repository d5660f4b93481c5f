#include "imapparse.h"

#include "textutil.h"

#include <algorithm>
#include <limits>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits only, within max; nothing for an empty text, a sign or an overflow.
std::optional<qint64> ParseDigits(const QByteArray &text, qint64 max)
{
    if (text.isEmpty() || text.size() > 19)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        const int digit = c - '0';
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// Reads values from a response, from a position on. Every read either advances or fails.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes, qsizetype pos = 0) : m_bytes(bytes), m_pos(pos) {}

    bool AtEnd() const { return m_pos >= m_bytes.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_bytes[m_pos]; }
    qsizetype Pos() const { return m_pos; }
    bool Take(char c)
    {
        if (Peek() != c || AtEnd())
            return false;
        ++m_pos;
        return true;
    }
    void SkipSpaces()
    {
        while (!AtEnd() && m_bytes[m_pos] == ' ')
            ++m_pos;
    }
    QByteArray Rest() const { return m_bytes.mid(m_pos); }
    qsizetype Find(char c) const { return m_bytes.indexOf(c, m_pos); }
    void Seek(qsizetype pos) { m_pos = pos; }

    // An atom ends at a space, a parenthesis, a quote, a brace, a control byte, and inside a
    // response code at "]". A "[" opens a section that runs to its "]", spaces and all (the
    // fetch item BODY[HEADER.FIELDS (FROM)]).
    QByteArray Atom(bool inCode)
    {
        const qsizetype start = m_pos;
        while (!AtEnd()) {
            const char c = m_bytes[m_pos];
            if (c == '[' && !inCode) {
                // A "[" without its "]" is an ordinary atom character (a folder named "[x").
                // Once no "]" follows, none is looked for again: a line of "[" stays linear.
                const qsizetype close = m_pos < m_noCloseFrom ? m_bytes.indexOf(']', m_pos) : -1;
                if (close >= 0) {
                    m_pos = close + 1;
                    continue;
                }
                m_noCloseFrom = std::min(m_noCloseFrom, m_pos);
            }
            if (c == ' ' || c == '(' || c == ')' || c == '"' || c == '{' || uchar(c) < 0x20 || c == 0x7f
                || (inCode && c == ']'))
                break;
            ++m_pos;
        }
        return m_bytes.mid(start, m_pos - start);
    }

    std::optional<ImapValue> Value(bool inCode, int depth)
    {
        ImapValue value;
        const char c = Peek();
        if (AtEnd())
            return std::nullopt;
        if (c == '(') {
            if (depth >= kImapMaxNesting)
                return std::nullopt;
            ++m_pos;
            value.kind = ImapValue::Kind::List;
            for (;;) {
                SkipSpaces();
                if (Take(')'))
                    return value;
                std::optional<ImapValue> item = Value(inCode, depth + 1);
                if (!item)
                    return std::nullopt;
                value.items << std::move(*item);
            }
        }
        if (c == '"') {
            ++m_pos;
            value.kind = ImapValue::Kind::String;
            while (!AtEnd()) {
                char d = m_bytes[m_pos++];
                if (d == '"')
                    return value;
                if (d == '\r' || d == '\n')
                    return std::nullopt;
                if (d == '\\') {
                    if (AtEnd())
                        return std::nullopt;
                    d = m_bytes[m_pos++];
                    if (d != '\\' && d != '"')
                        return std::nullopt;
                }
                value.text += d;
            }
            return std::nullopt;
        }
        if (c == '{') {
            const qsizetype close = m_bytes.indexOf('}', m_pos);
            if (close < 0)
                return std::nullopt;
            const std::optional<qint64> size = ParseDigits(m_bytes.mid(m_pos + 1, close - m_pos - 1),
                                                           std::numeric_limits<qint64>::max());
            if (!size || m_bytes.mid(close + 1, 2) != "\r\n" || *size > m_bytes.size() - (close + 3))
                return std::nullopt;
            value.kind = ImapValue::Kind::String;
            value.text = m_bytes.mid(close + 3, *size);
            m_pos = close + 3 + *size;
            return value;
        }
        value.text = Atom(inCode);
        if (value.text.isEmpty())
            return std::nullopt;
        if (value.IsAtom("NIL")) {
            value.kind = ImapValue::Kind::Nil;
            value.text.clear();
        }
        return value;
    }

    // Values up to the end, or in a response code up to its "]".
    bool Values(QList<ImapValue> &values, bool inCode)
    {
        for (;;) {
            SkipSpaces();
            if (AtEnd() || (inCode && Peek() == ']'))
                return true;
            std::optional<ImapValue> value = Value(inCode, 0);
            if (!value)
                return false;
            values << std::move(*value);
        }
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos;
    qsizetype m_noCloseFrom = std::numeric_limits<qsizetype>::max();
};

bool IsStatusWord(const QByteArray &word)
{
    return word == "OK" || word == "NO" || word == "BAD" || word == "BYE" || word == "PREAUTH";
}

// "[CODE args] text" after a status word.
bool ReadStatusRest(Reader &reader, ImapResponse &response)
{
    reader.SkipSpaces();
    if (reader.Take('[')) {
        response.code = reader.Atom(true).toUpper();
        if (response.code.isEmpty())
            return false;
        Reader args(reader);
        if (!args.Values(response.codeArgs, true) || args.Peek() != ']') {
            // Free text (a referral's URL, a server's own code): not ours to read.
            response.codeArgs.clear();
            const qsizetype close = reader.Find(']');
            if (close < 0)
                return false;
            args.Seek(close);
        }
        reader.Seek(args.Pos() + 1);
        reader.SkipSpaces();
    }
    response.text = DecodeUtf8OrLatin1(reader.Rest());
    return true;
}

} // namespace

bool ImapValue::IsAtom(const char *name) const
{
    return kind == Kind::Atom && text.compare(name, Qt::CaseInsensitive) == 0;
}

std::optional<quint32> ImapValue::Number() const
{
    if (kind != Kind::Atom)
        return std::nullopt;
    const std::optional<qint64> value = ParseDigits(text, 0xffffffffLL);
    if (!value)
        return std::nullopt;
    return quint32(*value);
}

std::optional<qint64> ImapValue::Size() const
{
    if (kind != Kind::Atom)
        return std::nullopt;
    return ParseDigits(text, std::numeric_limits<qint64>::max());
}

bool ImapResponse::IsStatus() const
{
    return IsStatusWord(status);
}

ImapResponse ParseImapResponse(const QByteArray &bytes)
{
    ImapResponse response;
    Reader reader(bytes);
    if (reader.Take('+')) {
        reader.SkipSpaces();
        response.kind = ImapResponse::Kind::Continuation;
        response.text = DecodeUtf8OrLatin1(reader.Rest());
        return response;
    }
    QByteArray tag;
    if (reader.Take('*')) {
        response.kind = ImapResponse::Kind::Untagged;
    } else {
        tag = reader.Atom(true);
        if (tag.isEmpty() || tag.contains('+') || tag.contains('['))
            return {};
        response.kind = ImapResponse::Kind::Tagged;
        response.tag = tag;
    }
    if (!reader.Take(' '))
        return {};
    QByteArray word = reader.Atom(true).toUpper();
    if (response.kind == ImapResponse::Kind::Untagged && !word.isEmpty() && IsDigit(word[0])) {
        const std::optional<qint64> number = ParseDigits(word, 0xffffffffLL);
        if (!number || !reader.Take(' '))
            return {};
        response.number = *number;
        word = reader.Atom(true).toUpper();
    }
    if (word.isEmpty())
        return {};
    response.status = word;
    if (IsStatusWord(word)) {
        if (response.number >= 0 || (response.kind == ImapResponse::Kind::Tagged && word == "PREAUTH"))
            return {};
        if (!ReadStatusRest(reader, response))
            return {};
        return response;
    }
    if (response.kind == ImapResponse::Kind::Tagged)
        return {};
    if (!reader.Values(response.data, false))
        return {};
    return response;
}

qint64 ImapLiteralAtEnd(const QByteArray &line)
{
    if (!line.endsWith('}'))
        return -1;
    const qsizetype open = line.lastIndexOf('{');
    if (open < 0)
        return -1;
    const std::optional<qint64> size =
        ParseDigits(line.mid(open + 1, line.size() - open - 2), std::numeric_limits<qint64>::max());
    return size ? *size : -1;
}

bool ImapCapabilities::Has(const char *name) const
{
    return names.contains(QString::fromLatin1(name), Qt::CaseInsensitive);
}

QStringList ImapCapabilities::AuthMechanisms() const
{
    QStringList mechanisms;
    for (const QString &name : names)
        if (name.startsWith(QLatin1String("AUTH=")))
            mechanisms << name.mid(5);
    return mechanisms;
}

ImapCapabilities ImapCapabilitiesFrom(const QList<ImapValue> &values)
{
    ImapCapabilities capabilities;
    for (const ImapValue &value : values)
        if (value.kind == ImapValue::Kind::Atom)
            capabilities.names << QString::fromLatin1(value.text).toUpper();
    return capabilities;
}

std::optional<QList<quint32>> ImapSearchResult(const ImapResponse &response)
{
    if (response.kind != ImapResponse::Kind::Untagged || response.status != "SEARCH")
        return std::nullopt;
    QList<quint32> uids;
    uids.reserve(response.data.size());
    for (const ImapValue &value : response.data) {
        // RFC 4731's and CONDSTORE's additions would come as a list at the end: not asked for.
        const std::optional<quint32> uid = value.Number();
        if (!uid || *uid == 0)
            return std::nullopt;
        uids << *uid;
    }
    return uids;
}

std::optional<ImapFetchItems> ImapFetchFrom(const ImapResponse &response)
{
    if (response.kind != ImapResponse::Kind::Untagged || response.status != "FETCH" || response.number <= 0
        || response.data.size() != 1 || response.data[0].kind != ImapValue::Kind::List)
        return std::nullopt;
    const QList<ImapValue> &items = response.data[0].items;
    if (items.size() % 2 != 0)
        return std::nullopt;
    ImapFetchItems fetched;
    for (qsizetype i = 0; i < items.size(); i += 2) {
        const ImapValue &name = items[i];
        const ImapValue &value = items[i + 1];
        if (name.kind != ImapValue::Kind::Atom)
            return std::nullopt;
        if (name.IsAtom("UID")) {
            const std::optional<quint32> uid = value.Number();
            if (!uid || *uid == 0)
                return std::nullopt;
            fetched.uid = *uid;
        } else if (name.IsAtom("RFC822.SIZE")) {
            const std::optional<qint64> size = value.Size();
            if (!size)
                return std::nullopt;
            fetched.size = *size;
        } else if (name.IsAtom("BODY[HEADER]") || name.IsAtom("BODY[]")) {
            if (value.kind != ImapValue::Kind::String && value.kind != ImapValue::Kind::Nil)
                return std::nullopt;
            (name.IsAtom("BODY[]") ? fetched.body : fetched.header) = value.text;
        }
        // FLAGS and anything else a server adds on its own are not ours to read.
    }
    return fetched;
}

std::optional<ImapListEntry> ImapListFrom(const ImapResponse &response)
{
    if (response.kind != ImapResponse::Kind::Untagged || (response.status != "LIST" && response.status != "LSUB"))
        return std::nullopt;
    const QList<ImapValue> &data = response.data;
    if (data.size() < 3 || data[0].kind != ImapValue::Kind::List
        || (data[1].kind != ImapValue::Kind::String && data[1].kind != ImapValue::Kind::Nil)
        || (data[2].kind != ImapValue::Kind::String && data[2].kind != ImapValue::Kind::Atom))
        return std::nullopt;
    ImapListEntry entry;
    for (const ImapValue &attribute : data[0].items) {
        if (attribute.kind != ImapValue::Kind::Atom)
            return std::nullopt;
        entry.attributes << QString::fromLatin1(attribute.text).toUpper();
    }
    entry.delimiter = data[1].text;
    entry.name = data[2].text;
    if (entry.name.isEmpty() || entry.delimiter.size() > 1)
        return std::nullopt;
    return entry;
}

std::optional<QByteArray> ImapQuoted(const QByteArray &text)
{
    bool atom = !text.isEmpty() && text.compare("NIL", Qt::CaseInsensitive) != 0;
    QByteArray quoted = "\"";
    for (const char c : text) {
        const uchar u = uchar(c);
        if (u >= 0x80 || u < 0x20 || u == 0x7f)
            return std::nullopt;
        // "[" may be in an atom, but quoted it cannot be taken for the start of a section.
        if (c == ' ' || c == '(' || c == ')' || c == '{' || c == '%' || c == '*' || c == '"' || c == '\\'
            || c == ']' || c == '[')
            atom = false;
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    if (atom)
        return text;
    return quoted + '"';
}

QByteArray ImapUidSet(QList<quint32> uids)
{
    std::sort(uids.begin(), uids.end());
    uids.erase(std::unique(uids.begin(), uids.end()), uids.end());
    QByteArray set;
    for (qsizetype i = 0; i < uids.size();) {
        qsizetype j = i;
        while (j + 1 < uids.size() && uids[j + 1] == uids[j] + 1)
            ++j;
        if (!set.isEmpty())
            set += ',';
        set += QByteArray::number(uids[i]);
        if (j > i)
            set += ':' + QByteArray::number(uids[j]);
        i = j + 1;
    }
    return set;
}

QByteArray ImapMailboxName(const QString &name)
{
    QByteArray out;
    QByteArray pending;   // UTF-16 big-endian bytes of a run of other characters
    const auto flush = [&] {
        if (pending.isEmpty())
            return;
        QByteArray encoded = pending.toBase64(QByteArray::OmitTrailingEquals);
        encoded.replace('/', ',');
        out += '&' + encoded + '-';
        pending.clear();
    };
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u >= 0x20 && u <= 0x7e) {
            flush();
            out += u == '&' ? QByteArray("&-") : QByteArray(1, char(u));
        } else {
            pending += char(u >> 8);
            pending += char(u & 0xff);
        }
    }
    flush();
    return out;
}

QString ImapMailboxText(const QByteArray &name)
{
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c != '&') {
            if (uchar(c) >= 0x80)
                return DecodeUtf8OrLatin1(name);   // a server that sends UTF-8 names
            out += QLatin1Char(c);
            continue;
        }
        const qsizetype end = name.indexOf('-', i + 1);
        if (end < 0)
            return DecodeUtf8OrLatin1(name);
        if (end == i + 1) {
            out += u'&';
        } else {
            QByteArray encoded = name.mid(i + 1, end - i - 1);
            encoded.replace(',', '/');
            const auto decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded || decoded.decoded.size() % 2 != 0)
                return DecodeUtf8OrLatin1(name);
            for (qsizetype k = 0; k < decoded.decoded.size(); k += 2)
                out += QChar(ushort(uchar(decoded.decoded[k]) << 8 | uchar(decoded.decoded[k + 1])));
        }
        i = end;
    }
    return out;
}
