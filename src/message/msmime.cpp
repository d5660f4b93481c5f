#include "msmime.h"

#include "codec.h"
#include "textutil.h"

#include <QFileInfo>
#include <QMimeDatabase>

QString MessageTableText(int id)
{
    switch (id) {
    case MsgText::kMissingContentType:
        return QStringLiteral("Missing required field: Content-Type");
    case MsgText::kNoClosingBoundary:
        return QStringLiteral("Cannot find closing boundary");
    case MsgText::kNoBoundary:
        return QStringLiteral("Cannot find boundary");
    case MsgText::kAttachmentDecoding:
        return QStringLiteral("Error decoding the attachment");
    default:
        return {};
    }
}

QString AttEncodingName(TmsAttEncoding kind)
{
    switch (kind) {
    case aeSevenBit:
        return QStringLiteral("7 bit");
    case aeBase64:
        return QStringLiteral("Base64");
    case aeQuotedPrintable:
        return QStringLiteral("Quoted-Printable");
    }
    return {};
}

namespace {

// The last one or two extensions of a name (".gz", ".tar.gz") when they are plain ASCII
// letters, digits, "+", "-" or "_"; empty otherwise.
QString PlainExtensions(const QString &fileName)
{
    const QStringList parts = fileName.split(u'.');
    QString out;
    for (qsizetype i = parts.size() - 1; i >= 1 && parts.size() - i <= 2; --i) {
        const QString &part = parts.at(i);
        bool plain = !part.isEmpty();
        for (const QChar c : part)
            plain = plain && c.unicode() < 128 && (c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'_');
        if (!plain)
            break;
        out.prepend(u'.' + part);
    }
    return out;
}

} // namespace

QString MediaTypeForFileName(const QString &fileName)
{
    static const QMimeDatabase db;
    // By extension only: the name comes from a message and names no file of ours, and a
    // lookup that opened the file could read whatever a hostile name points at. Only plain
    // extensions reach Qt: its lookup walks the MIME cache by the name's characters and reads
    // past the cache on some of them (two NUL characters in a row do it in Qt 6.4).
    const QMimeType type =
        db.mimeTypeForFile(QStringLiteral("attachment") + PlainExtensions(fileName), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return QStringLiteral("application/octet-stream");
    return type.name();
}

namespace {

bool IsUnsafeChar(char32_t c)
{
    // Control characters (C0, DEL, C1) and the Unicode line and paragraph separators and
    // direction overrides, which could make a listed name read differently from the file.
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return true;
    if (c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069))
        return true;
    return false;
}

QString TrimBlanksAndDots(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto junk = [](QChar c) { return c == u' ' || c == u'.' || c.isSpace(); };
    while (begin < end && junk(text.at(begin)))
        ++begin;
    while (end > begin && junk(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// The longest start of text whose UTF-8 form fits maxBytes, never cutting a character.
QString CutToUtf8Bytes(const QString &text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype units = 0;
    while (units < text.size()) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size()
            && text.at(units + 1).isLowSurrogate();
        const char16_t u = text.at(units).unicode();
        const qsizetype size = pair ? 4 : u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

} // namespace

QString SafeAttachmentFileName(const QString &name)
{
    // Both separators count: a name made on another system may use either.
    QString base = name;
    const qsizetype cut = std::max(base.lastIndexOf(u'/'), base.lastIndexOf(u'\\'));
    if (cut >= 0)
        base = base.mid(cut + 1);

    QString clean;
    clean.reserve(base.size());
    for (char32_t c : base.toUcs4()) {
        if (IsUnsafeChar(c))
            continue;
        clean += QString::fromUcs4(&c, 1);
    }
    clean = TrimBlanksAndDots(clean);

    constexpr qsizetype kMaxBytes = 255;
    if (clean.toUtf8().size() > kMaxBytes) {
        const qsizetype dot = clean.lastIndexOf(u'.');
        const QString ext = dot > 0 ? clean.mid(dot) : QString();
        if (!ext.isEmpty() && ext.toUtf8().size() <= 16)
            clean = TrimBlanksAndDots(CutToUtf8Bytes(clean.left(dot), kMaxBytes - ext.toUtf8().size())) + ext;
        else
            clean = TrimBlanksAndDots(CutToUtf8Bytes(clean, kMaxBytes));
    }
    return clean;
}

void TmsAttItem::SetFileName(const QString &fileName)
{
    m_fileName = CutText(fileName);
    if (m_fileName.isEmpty())
        return;
    SetContentType(MediaTypeForFileName(m_fileName));
    const QString upper = AsciiUpper(m_contentType);
    if (upper == u"TEXT/PLAIN" || upper == u"TEXT/RTF" || upper == u"TEXT/HTML")
        m_encoding = aeQuotedPrintable;
    else if (upper == u"MESSAGE/RFC822")
        m_encoding = aeSevenBit;
    else
        m_encoding = aeBase64;
}

void TmsAttItem::SetContentType(const QString &contentType)
{
    m_contentType = CutText(contentType);
}

namespace {

// "=XX" escapes of one line; an "=" without two hex digits after it stays as it is.
void AppendDecodedLine(QByteArray &out, QByteArrayView line)
{
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = line.at(i);
        if (c == '=' && i + 2 < n) {
            const int hi = HexValue(line.at(i + 1));
            const int lo = HexValue(line.at(i + 2));
            if (hi >= 0 && lo >= 0) {
                out.append(char(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.append(c);
    }
}

} // namespace

void TQuotedPrintable::Decode()
{
    QByteArray paragraph;
    auto flush = [&] {
        m_stream.append(paragraph);
        paragraph.clear();
    };
    for (const QByteArray &raw : std::as_const(m_lines)) {
        // The soft break is decided on the line as sent, before any escape is decoded: a
        // line ending in "=3D" ends in a real "=" and keeps its line break.
        QByteArrayView line(raw);
        while (!line.isEmpty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.chop(1);
        const bool soft = !line.isEmpty() && line.back() == '=';
        if (soft)
            line.chop(1);
        else
            line = QByteArrayView(raw);
        const qsizetype start = paragraph.size();
        AppendDecodedLine(paragraph, line);
        const bool endsInEof = paragraph.size() > start && paragraph.back() == char(26);
        if (!soft && !endsInEof)
            paragraph.append("\r\n");
        if (paragraph.size() > kParagraphLimit)
            throw EMimeDecodeError(QString::fromLatin1(kParagraphTooLargeText));
        if (!soft)
            flush();
    }
    flush();
}
