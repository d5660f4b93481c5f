#include "textutil.h"

#include <QStringDecoder>
#include <algorithm>

QString CutText(const QString &text, int maxChars)
{
    if (maxChars <= 0)
        return {};
    if (text.size() <= maxChars)
        return text;
    int units = 0;
    for (int chars = 0; units < text.size() && chars < maxChars; ++chars)
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size()
                  && text.at(units + 1).isLowSurrogate()) ? 2 : 1;
    return text.left(units);
}

int CodePointCount(const QString &text)
{
    int count = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        ++count;
    }
    return count;
}

QString AsciiUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - 32));
    }
    return out;
}

QString AsciiLower(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + 32));
    }
    return out;
}

static inline char16_t upperUnit(char16_t u)
{
    return (u >= u'a' && u <= u'z') ? char16_t(u - 32) : u;
}

int AsciiCompareIgnoreCase(const QString &a, const QString &b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = upperUnit(a.at(i).unicode());
        const char16_t y = upperUnit(b.at(i).unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool AsciiEqualsIgnoreCase(const QString &a, const QString &b)
{
    return a.size() == b.size() && AsciiCompareIgnoreCase(a, b) == 0;
}

QString TrimControls(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start).unicode() <= 0x20)
        ++start;
    while (end > start && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(start, end - start);
}

QString DecodeUtf8OrLatin1(const QByteArray &bytes)
{
    // Most lines of mail are plain ASCII, which reads the same either way without a decoder.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QStringList SplitLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}
