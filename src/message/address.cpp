#include "address.h"

#include "headers.h"
#include "textutil.h"

TmsMailAddress::TmsMailAddress(const QString &name, const QString &address)
    : m_name(CutText(name)), m_address(CutText(address))
{
}

void TmsMailAddress::SetName(const QString &name)
{
    m_name = CutText(name);
}

void TmsMailAddress::SetAddress(const QString &address)
{
    m_address = CutText(address);
}

void TmsMailAddress::Clear()
{
    m_name.clear();
    m_address.clear();
}

namespace {

bool IsWsp(QChar c)
{
    return c.unicode() <= 0x20;
}

// Where a quoted string that opens at i ends (the index after its closing quote), or -1.
qsizetype SkipQuoted(const QString &s, qsizetype i)
{
    for (++i; i < s.size(); ++i) {
        if (s.at(i) == u'\\')
            ++i;
        else if (s.at(i) == u'"')
            return i + 1;
    }
    return -1;
}

// Where a comment that opens at i ends (after its matching parenthesis), or -1. Comments nest.
qsizetype SkipComment(const QString &s, qsizetype i)
{
    int depth = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'\\')
            ++i;
        else if (c == u'(')
            ++depth;
        else if (c == u')' && --depth == 0)
            return i + 1;
    }
    return -1;
}

// Where an encoded word that starts at i ("=?charset?X?text?=", no blanks) ends, or -1. A
// name written as one may hold a comma or a bracket, which are its text, not delimiters.
qsizetype SkipEncodedWord(const QString &s, qsizetype i)
{
    if (i + 1 >= s.size() || s.at(i) != u'=' || s.at(i + 1) != u'?')
        return -1;
    int marks = 0;
    for (qsizetype k = i + 2; k < s.size(); ++k) {
        const QChar c = s.at(k);
        if (IsWsp(c))
            return -1;
        if (c != u'?')
            continue;
        if (marks == 2)
            return k + 1 < s.size() && s.at(k + 1) == u'=' ? k + 2 : -1;
        ++marks;
    }
    return -1;
}

// The parts of one mailbox found outside quoted strings and comments.
struct Scan
{
    bool broken = false;     // a quoted string that never closes
    bool haveComment = false;
    qsizetype open = -1;     // the first "<"
    qsizetype close = -1;    // the first ">" after it
    qsizetype end = 0;       // where this mailbox ends (",", ";" or the end)
    qsizetype groupColon = -1;
    QString firstComment;    // the text of the first comment, for "a@b (Name)"
};

Scan ScanMailbox(const QString &s, qsizetype from, bool allowGroup)
{
    Scan scan;
    bool sawAt = false;
    qsizetype i = from;
    while (i < s.size()) {
        const QChar c = s.at(i);
        if (c == u'"') {
            const qsizetype next = SkipQuoted(s, i);
            if (next < 0) {
                scan.broken = true;
                break;
            }
            i = next;
            continue;
        }
        if (c == u'(') {
            // A comment that never closes runs to the end: what stands before it is kept.
            const qsizetype next = SkipComment(s, i);
            const qsizetype stop = next < 0 ? s.size() : next;
            if (!scan.haveComment) {
                scan.haveComment = true;
                scan.firstComment = s.mid(i + 1, stop - i - (next < 0 ? 1 : 2));
            }
            i = stop;
            continue;
        }
        if (scan.open < 0) {
            if (const qsizetype next = SkipEncodedWord(s, i); next > 0) {
                i = next;
                continue;
            }
            if (c == u'<') {
                scan.open = i;
            } else if (c == u'@') {
                sawAt = true;
            } else if (c == u':' && allowGroup && !sawAt && scan.groupColon < 0) {
                // "Friends: a@b, c@d;": the mailboxes of a group follow its name.
                scan.groupColon = i;
                return scan;
            } else if (c == u',' || c == u';') {
                break;
            }
        } else if (scan.close < 0 && c == u'>') {
            scan.close = i;
        } else if (scan.close >= 0 && (c == u',' || c == u';')) {
            break;
        }
        ++i;
    }
    scan.end = i;
    return scan;
}

// A display name as the reader sees it: comments dropped, quotes and quoted pairs undone,
// blanks collapsed, encoded words decoded (inside quotes too, as mailers write them).
QString PhraseText(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'(') {
            const qsizetype next = SkipComment(s, i);
            i = (next < 0 ? s.size() : next) - 1;
            out += u' ';
        } else if (c == u'"') {
            for (++i; i < s.size() && s.at(i) != u'"'; ++i) {
                if (s.at(i) == u'\\' && i + 1 < s.size())
                    ++i;
                out += s.at(i);
            }
        } else {
            out += IsWsp(c) ? QChar(u' ') : c;
        }
    }
    return TrimControls(DecodeEncodedWords(out.simplified()));
}

// An address written without brackets: everything outside comments, blanks removed.
QString BareAddress(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'(') {
            const qsizetype next = SkipComment(s, i);
            i = (next < 0 ? s.size() : next) - 1;
        } else if (c == u'"') {
            const qsizetype next = SkipQuoted(s, i);
            const qsizetype stop = next < 0 ? s.size() : next;
            out += QStringView(s).mid(i, stop - i);
            i = stop - 1;
        } else if (!IsWsp(c)) {
            out += c;
        }
    }
    return StripQuotes(out);
}

} // namespace

void ParseMailAddress(const QString &value, TmsMailAddress &address)
{
    // Work is bounded: a field longer than this holds no sensible first mailbox beyond it.
    const QString text = value.left(4096);
    Scan scan = ScanMailbox(text, 0, true);
    qsizetype start = 0;
    if (scan.groupColon >= 0) {
        start = scan.groupColon + 1;
        scan = ScanMailbox(text, start, false);
    }
    const QString mailbox = text.mid(start, scan.end - start);
    if (scan.broken || (scan.open >= 0 && scan.close < 0)) {
        address.SetAddress(QString());
        address.SetName(StripQuotes(DecodeEncodedWords(text)));
        return;
    }
    if (scan.open >= 0) {
        address.SetAddress(StripQuotes(text.mid(scan.open + 1, scan.close - scan.open - 1)));
        QString name = PhraseText(text.mid(start, scan.open - start));
        if (name.isEmpty())
            name = PhraseText(text.mid(scan.close + 1, scan.end - scan.close - 1));
        if (name.isEmpty())
            name = PhraseText(scan.firstComment);
        address.SetName(name);
        return;
    }
    address.SetAddress(BareAddress(mailbox));
    address.SetName(PhraseText(scan.firstComment));
}

TmsMailAddress GetFieldAddress(const TmsHeaders &headers, const QString &fieldName)
{
    TmsMailAddress address;
    ParseMailAddress(GetFieldText(headers, fieldName), address);
    return address;
}

QString SenderAddress(const TmsHeaders &headers)
{
    return GetFieldAddress(headers, QStringLiteral("From")).Address();
}

SplitAddress SplitMailAddress(const QString &text)
{
    TmsMailAddress address;
    ParseMailAddress(text, address);
    return {address.Address(), address.Name()};
}
