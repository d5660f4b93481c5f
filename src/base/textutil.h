#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text helpers shared by every layer. Mail and rule texts are compared with plain ASCII
// case folding so that a rule behaves the same whatever the user's locale is.

// The longest text a header value, address field or subject may hold, in characters.
constexpr int kMaxTextLength = 255;

// Cuts text to at most maxChars code points, never inside a surrogate pair.
QString CutText(const QString &text, int maxChars = kMaxTextLength);

// Number of code points (a surrogate pair counts once).
int CodePointCount(const QString &text);

// Only a-z change; accented and other letters stay as they are.
QString AsciiUpper(const QString &text);
QString AsciiLower(const QString &text);
bool AsciiEqualsIgnoreCase(const QString &a, const QString &b);
// <0, 0, >0 like strcmp, after ASCII upper-casing; independent of the locale.
int AsciiCompareIgnoreCase(const QString &a, const QString &b);

// Trims characters with codes up to 0x20 (blanks and control characters) at both ends.
QString TrimControls(const QString &text);

// Bytes from a file or a server: UTF-8 when they are valid UTF-8, else Latin-1, so that
// text from an old installation or an 8-bit header is never lost.
QString DecodeUtf8OrLatin1(const QByteArray &bytes);

// Calls visit with each line of bytes, without its LF or CR LF (the last one may lack a line
// break), until visit returns false. The lines point into bytes: no copies are made.
template <typename Visit>
void ForEachLine(const QByteArray &bytes, Visit &&visit)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        if (!visit(QByteArray::fromRawData(bytes.constData() + start, stop - start)))
            return;
        start = end + 1;
    }
}

// Splits text into lines at LF, dropping a CR before each LF. A final line break does not
// make an extra empty line.
QStringList SplitLines(const QString &text);
