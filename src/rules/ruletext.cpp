#include "ruletext.h"

#include "rulewords.h"
#include "textutil.h"

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
    return (u >= u'a' && u <= u'z') ? char16_t(u - 32) : u;
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

// Position of value in text, or -1. Rule texts and header lines are short, so a plain scan
// is fast enough and never allocates.
qsizetype findText(QStringView text, QStringView value, bool caseSensitive)
{
    if (value.isEmpty())
        return 0;
    if (value.size() > text.size())
        return -1;
    const qsizetype last = text.size() - value.size();
    const char16_t first = caseSensitive ? value[0].unicode() : fold(value[0].unicode());
    for (qsizetype i = 0; i <= last; ++i) {
        const char16_t u = caseSensitive ? text[i].unicode() : fold(text[i].unicode());
        if (u == first && sameText(text.mid(i + 1, value.size() - 1), value.mid(1), caseSensitive))
            return i;
    }
    return -1;
}

inline bool isOp(QStringView op, const QString &name)
{
    return sameText(op, name, false);
}

// The five operators every family has; known is false for any other name.
bool matchCommon(QStringView op, QStringView text, QStringView value, bool caseSensitive,
                 bool &known)
{
    using namespace RuleWords;
    known = true;
    if (isOp(op, Contains))
        return containsText(text, value, caseSensitive);
    if (isOp(op, ContainsWholeWord))
        return WholeWordCheck(text, value, caseSensitive);
    if (isOp(op, EqualsOp))
        return equalsText(text, value, caseSensitive);
    if (isOp(op, StartsWith))
        return startsWithText(text, value, caseSensitive);
    if (isOp(op, EndsWith))
        return endsWithText(text, value, caseSensitive);
    known = false;
    return false;
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
    if (value.size() > text.size() || CodePointCount(value.toString()) > kMaxTextLength)
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
    return countDigits(text) == CodePointCount(text.toString());
}

bool isHalfNumeric(QStringView text)
{
    return countDigits(text) >= CodePointCount(text.toString()) / 2;
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

bool matchException(QStringView op, QStringView text, QStringView value, bool caseSensitive)
{
    bool known = false;
    return matchCommon(op, text, value, caseSensitive, known);
}

bool matchHeader(QStringView op, QStringView text, QStringView value, bool caseSensitive)
{
    bool known = false;
    return matchCommon(op, text, value, caseSensitive, known);
}

bool matchSubject(QStringView op, QStringView text, QStringView value, bool caseSensitive)
{
    bool known = false;
    const bool matched = matchCommon(op, text, value, caseSensitive, known);
    if (known)
        return matched;
    if (isOp(op, RuleWords::IsBlank))
        return isBlank(text);
    if (isOp(op, RuleWords::IsUppercase))
        return isUpperCaseText(text);
    return false;
}

bool matchSender(QStringView op, QStringView text, QStringView value)
{
    using namespace RuleWords;
    bool known = false;
    const bool matched = matchCommon(op, text, value, false, known);
    if (known)
        return matched;
    if (isOp(op, IsBlank))
        return isBlank(text);
    if (isOp(op, IsUppercase))
        return isUpperCaseText(text);
    if (isOp(op, AllNumeric))
        return isAllNumeric(text);
    if (isOp(op, HalfNumeric))
        return isHalfNumeric(text);
    if (isOp(op, FirstCharNumeric))
        return isFirstCharNumeric(text);
    return false;
}

bool isPredicateOperator(QStringView op)
{
    using namespace RuleWords;
    return isOp(op, IsBlank) || isOp(op, IsUppercase) || isOp(op, AllNumeric)
           || isOp(op, HalfNumeric) || isOp(op, FirstCharNumeric);
}
