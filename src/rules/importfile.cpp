#include "importfile.h"

#include "textutil.h"

#include <QStringDecoder>

namespace {

// Splits at CR LF, LF or a lone CR, so files from any system give the same lines.
QStringList splitAnyBreak(const QString &text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(line);
            line.clear();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            line.append(c);
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

QStringList decodeLines(const QByteArray &bytes)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")) {
        QStringDecoder decoder(bytes.startsWith("\xff\xfe") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        // Undecodable pairs become U+FFFD and make their line a broken one.
        return splitAnyBreak(decoder.decode(bytes.mid(2)));
    }
    QByteArray body = bytes;
    if (body.startsWith("\xef\xbb\xbf"))
        body.remove(0, 3);
    // Line by line, so one line of another encoding pasted into a UTF-8 list is still read.
    QStringList lines;
    QByteArray line;
    auto flush = [&lines, &line] {
        lines.append(DecodeUtf8OrLatin1(line));
        line.clear();
    };
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body.at(i);
        if (c == '\r' || c == '\n') {
            flush();
            if (c == '\r' && i + 1 < body.size() && body.at(i + 1) == '\n')
                ++i;
        } else {
            line.append(c);
        }
    }
    if (!line.isEmpty())
        flush();
    return lines;
}

bool isBroken(const QString &line)
{
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t') || (u >= 0x7f && u < 0xa0) || u == 0xfffd)
            return true;
    }
    return CodePointCount(TrimControls(line)) > kMaxTextLength;
}

} // namespace

TImportFile ParseImportFile(const QByteArray &bytes)
{
    TImportFile result;
    for (const QString &line : decodeLines(bytes)) {
        if (isBroken(line))
            ++result.skipped;
        else if (!TrimControls(line).isEmpty())
            result.lines.append(line);
    }
    return result;
}
