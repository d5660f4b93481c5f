#include "ruletext.h"

#include "rulewords.h"
#include "textutil.h"

#include <algorithm>
#include <array>

const QString WordDelimiters = QStringLiteral("\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*");

namespace {

constexpr std::array<bool, 128> makeDelimiterTable()
{
    std::array<bool, 128> table{};
    const char *chars = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";
    for (const char *p = chars; *p; ++p)
        table[size_t(*p)] = true;
    return table;
}
constexpr std::array<bool, 128> kDelimiter = makeDelimiterTable();

inline char16_t fold(char16_t u)
{
    return char16_t(u - (unsigned(u - u'a') < 26u ? 32 : 0));
}

inline bool sameUnit(QChar a, QChar b, bool caseSensitive)
{
    return caseSensitive ? a == b : fold(a.unicode()) == fold(b.unicode());
}

bool sameText(QStringView a, QStringView b, bool caseSensitive)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!sameUnit(a[i], b[i], caseSensitive))
            return false;
    return true;
}

// Position of value in text, or -1, without allocating. Candidates are found with Qt's
// vectorised search for the first character (in both ASCII cases) and then compared.
qsizetype findText(QStringView text, QStringView value, bool caseSensitive)
{
    if (value.isEmpty())
        return 0;
    if (value.size() > text.size())
        return -1;
    const char16_t *t = text.utf16();
    const char16_t *v = value.utf16();
    const qsizetype m = value.size();
    const qsizetype last = text.size() - m;
    if (caseSensitive) {
        // Qt's general substring search hashes every character of these short texts; the
        // vectorised search for the first character is several times faster here.
        const QStringView starts = text.first(last + 1);
        for (qsizetype i = starts.indexOf(QChar(v[0])); i >= 0;
             i = starts.indexOf(QChar(v[0]), i + 1)) {
            if (std::equal(v + 1, v + m, t + i + 1))
                return i;
        }
        return -1;
    }
    const char16_t upper = fold(v[0]);
    const char16_t lower = (upper >= u'A' && upper <= u'Z') ? char16_t(upper + 32) : upper;
    auto next = [&](char16_t c, qsizetype from) {
        const qsizetype at = from <= last ? text.first(last + 1).indexOf(QChar(c), from) : -1;
        return at < 0 ? last + 1 : at;
    };
    qsizetype atUpper = next(upper, 0);
    qsizetype atLower = lower == upper ? last + 1 : next(lower, 0);
    while (true) {
        const qsizetype i = qMin(atUpper, atLower);
        if (i > last)
            return -1;
        qsizetype j = 1;
        while (j < m && fold(t[i + j]) == fold(v[j]))
            ++j;
        if (j == m)
            return i;
        if (i == atUpper)
            atUpper = next(upper, i + 1);
        else
            atLower = next(lower, i + 1);
    }
}

// Code points, without copying the text.
qsizetype codePoints(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        ++count;
    }
    return count;
}

inline bool isOp(QStringView op, const QString &name)
{
    return sameText(op, name, false);
}

} // namespace

bool isWordDelimiter(QChar c)
{
    return c.unicode() < 128 && kDelimiter[c.unicode()];
}

bool isBlank(QStringView text)
{
    for (const QChar c : text)
        if (c != u' ' && c != u'\r' && c != u'\n' && c.unicode() != 8)
            return false;
    return true;
}

bool containsText(QStringView text, QStringView value, bool caseSensitive)
{
    if (value.isEmpty() || text.isEmpty())
        return false;
    return findText(text, value, caseSensitive) >= 0;
}

bool equalsText(QStringView text, QStringView value, bool caseSensitive)
{
    return sameText(text, value, caseSensitive);
}

bool startsWithText(QStringView text, QStringView value, bool caseSensitive)
{
    if (value.size() > text.size())
        return false;
    return sameText(text.left(value.size()), value, caseSensitive);
}

bool endsWithText(QStringView text, QStringView value, bool caseSensitive)
{
    // Only a value of more than 255 code units can have more than 255 characters.
    if (value.size() > text.size()
        || (value.size() > kMaxTextLength && codePoints(value) > kMaxTextLength))
        return false;
    return sameText(text.right(value.size()), value, caseSensitive);
}

bool WholeWordCheck(QStringView text, QStringView word, bool caseSensitive)
{
    if (isBlank(text) || isBlank(word))
        return false;
    if (findText(text, word, caseSensitive) < 0)
        return false;
    // Pieces between delimiters, left to right; the first one equal to the word decides.
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isWordDelimiter(text[i]))
            continue;
        if (i > start && sameText(text.mid(start, i - start), word, caseSensitive))
            return true;
        start = i + 1;
    }
    return false;
}

bool isDigitChar(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int countDigits(QStringView text)
{
    int count = 0;
    for (const QChar c : text)
        if (isDigitChar(c) || c == u'_')
            ++count;
    return count;
}

QString stripDigits(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!isDigitChar(c))
            out.append(c);
    return out;
}

bool isUpperCaseText(QStringView text)
{
    if (isBlank(text))
        return false;
    for (const QChar c : text)
        if (c >= u'a' && c <= u'z')
            return false;
    return true;
}

bool isAllNumeric(QStringView text)
{
    return countDigits(text) == codePoints(text);
}

bool isHalfNumeric(QStringView text)
{
    return countDigits(text) >= codePoints(text) / 2;
}

bool isFirstCharNumeric(QStringView text)
{
    return !text.isEmpty() && isDigitChar(text[0]);
}

QString boolToYN(bool flag)
{
    return flag ? QStringLiteral("Y") : QStringLiteral("N");
}

QString pluralS(int count)
{
    return count == 1 ? QString() : QStringLiteral("s");
}

TextOp ParseTextOp(QStringView op)
{
    using namespace RuleWords;
    // The five names differ in length, so one comparison settles it.
    switch (op.size()) {
    case 8: return isOp(op, Contains) ? TextOp::Contains : TextOp::None;
    case 21: return isOp(op, ContainsWholeWord) ? TextOp::ContainsWholeWord : TextOp::None;
    case 6: return isOp(op, EqualsOp) ? TextOp::Equals : TextOp::None;
    case 11: return isOp(op, StartsWith) ? TextOp::StartsWith : TextOp::None;
    case 9: return isOp(op, EndsWith) ? TextOp::EndsWith : TextOp::None;
    default: return TextOp::None;
    }
}

bool matchTextOp(TextOp op, QStringView text, QStringView value, bool caseSensitive)
{
    switch (op) {
    case TextOp::Contains: return containsText(text, value, caseSensitive);
    case TextOp::ContainsWholeWord: return WholeWordCheck(text, value, caseSensitive);
    case TextOp::Equals: return equalsText(text, value, caseSensitive);
    case TextOp::StartsWith: return startsWithText(text, value, caseSensitive);
    case TextOp::EndsWith: return endsWithText(text, value, caseSensitive);
    case TextOp::None: break;
    }
    return false;
}

QString foldAsciiCase(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    const char16_t *t = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i)
        o[i] = fold(t[i]);
    return out;
}
