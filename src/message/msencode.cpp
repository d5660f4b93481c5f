#include "msencode.h"

#include "codec.h"

#include <QBuffer>
#include <QFileDevice>
#include <QRandomGenerator>

namespace {

constexpr qsizetype kPieceLength = 65;
constexpr int kLongLine = 255;
constexpr int kUULineBytes = 45;
constexpr int kBase64BlockBytes = 57;

const char kHex[] = "0123456789ABCDEF";

// Header text never carries a line break: it would end the field and start another.
QString HeaderText(QString text)
{
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}

// A display name as a phrase: quoted when it holds any character that RFC 822 keeps for
// itself (a "." of an initial, the "," of "Smith, John"), unless it holds a double quote
// already and so was quoted by whoever wrote it.
QString DisplayName(const QString &name)
{
    const QString text = HeaderText(name);
    if (text.contains(u'"'))
        return text;
    static const QString specials = QStringLiteral("()<>@,;:\\.[]");
    for (QChar c : text) {
        if (specials.contains(c))
            return u'"' + text + u'"';
    }
    return text;
}

QString AddressEntry(const TmsMailAddress &address)
{
    const QString name = DisplayName(address.Name());
    const QString bracketed = u'<' + HeaderText(address.Address()) + u'>';
    return name.isEmpty() ? bracketed : name + u' ' + bracketed;
}

QString BaseName(const QString &fileName)
{
    const qsizetype cut = qMax(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    return fileName.mid(cut + 1);
}

// A file name inside a quoted parameter: no line breaks, quotes or backslashes.
QString ParameterText(const QString &text)
{
    QString out = HeaderText(text);
    for (QChar &c : out) {
        if (c == u'"' || c == u'\\')
            c = u'_';
    }
    return out;
}

bool IsBodyDocument(const TmsAttItem &item)
{
    const QString name = BaseName(item.FileName()).toLower();
    return name == u"_htmbody.htm" || name == u"_rtfbody.rtf";
}

bool IsAlternative(const TmsAttItem &item)
{
    return BaseName(item.FileName()).toLower().startsWith(u"_alt.");
}

// "7bit" rather than the "7 bit" of the kind's display name: the token MIME defines.
QString TransferEncodingToken(TmsAttEncoding kind)
{
    return kind == aeSevenBit ? QStringLiteral("7bit") : AttEncodingName(kind);
}

void AppendEscaped(QByteArray &out, uchar byte)
{
    out += '=';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}

// One paragraph (no line break inside) as quoted-printable lines.
void EncodeParagraph(const QByteArray &paragraph, bool softEnd, QList<QByteArray> &lines)
{
    if (paragraph.size() > TQuotedPrintable::kParagraphLimit)
        throw EMimeDecodeError(QString::fromLatin1(kParagraphTooLargeText));
    qsizetype start = 0;
    do {
        qsizetype length = paragraph.size() - start;
        if (length > kPieceLength) {
            length = kPieceLength;
            // A blank at the piece's first byte is no place to cut: the piece would be empty
            // and the same blank would begin the next one again, for ever.
            for (qsizetype i = kPieceLength - 1; i >= 1; --i) {
                if (paragraph[start + i] == ' ') {
                    length = i;
                    break;
                }
            }
        }
        const bool last = start + length >= paragraph.size();
        QByteArray line;
        line.reserve(length * 3 + 1);
        for (qsizetype i = 0; i < length; ++i) {
            const uchar byte = uchar(paragraph[start + i]);
            // A blank or tab at the end of a line is lost to many mail transports.
            const bool trailingBlank = last && i == length - 1 && (byte == ' ' || byte == '\t');
            if (byte < 32 || byte == '=' || byte >= 128 || trailingBlank)
                AppendEscaped(line, byte);
            else
                line += char(byte);
        }
        if (!last || softEnd)
            line += '=';
        lines << line;
        start += length;
    } while (start < paragraph.size());
}

// Text split at every line break, whether CR LF, LF or a lone CR: a line written out must never
// hold a break of its own, or a receiver would see a line the writer never checked (a lone "."
// would end an SMTP data phase early).
QList<QByteArray> SplitTextLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines << text.mid(start, end - start);
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

char UUChar(int value)
{
    return value == 0 ? '`' : char(value + 32);
}

} // namespace

QString EncoderMessageText(int id)
{
    switch (id) {
    case MsgText::kSenderRequired: return QStringLiteral("The address of sender is required");
    case MsgText::kRecipientRequired: return QStringLiteral("At least one Recipient, CC or BCC must be entered");
    case MsgText::kMultipartPreamble: return QStringLiteral("This is a multipart message in MIME format");
    default: return QString();
    }
}

void ValidateMessage(const TmsMessage &message)
{
    if (message.Sender().Address().isEmpty())
        throw EMessageError(EncoderMessageText(MsgText::kSenderRequired), MsgText::kSenderRequired);
    for (const TmsAddressList *list : {&message.Recipients(), &message.CC(), &message.BCC()}) {
        for (int i = 0; i < list->Count(); ++i) {
            if (!list->Item(i).Address().isEmpty())
                return;
        }
    }
    throw EMessageError(EncoderMessageText(MsgText::kRecipientRequired), MsgText::kRecipientRequired);
}

QString ComputedContentType(const TmsMessage &message)
{
    if (message.Encoding() == meUU)
        return QString();
    const TmsAttList &attachments = message.Attachments();
    const int count = attachments.Count();
    if (count > 0 && std::all_of(attachments.begin(), attachments.end(), IsAlternative))
        return QStringLiteral("multipart/alternative");
    const bool bodyEmpty = message.Body().isEmpty();
    if (bodyEmpty && count == 1) {
        const QString name = BaseName(attachments.Item(0).FileName()).toLower();
        if (name == u"_rtfbody.rtf")
            return QStringLiteral("text/rtf");
        if (name == u"_htmbody.htm")
            return QStringLiteral("text/html");
        return attachments.Item(0).ContentType();
    }
    if (!bodyEmpty && count == 0 && !message.ContentType().isEmpty())
        return message.ContentType();
    if ((!bodyEmpty && count >= 1) || (bodyEmpty && count >= 2))
        return QStringLiteral("multipart/mixed");
    return QStringLiteral("text/plain");
}

QList<QByteArray> EncodeQuotedPrintable(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        const bool broken = end >= 0;
        if (!broken)
            end = text.size();
        qsizetype stop = end;
        if (broken && stop > start && text[stop - 1] == '\r')
            --stop;
        EncodeParagraph(text.mid(start, stop - start), !broken, lines);
        start = broken ? end + 1 : end;
    }
    return lines;
}

QList<QByteArray> UUEncodeLines(const QByteArray &data)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < data.size(); start += kUULineBytes) {
        const QByteArray chunk = data.mid(start, kUULineBytes);
        QByteArray line;
        line += UUChar(int(chunk.size()));
        for (qsizetype i = 0; i < chunk.size(); i += 3) {
            const uint b0 = uchar(chunk[i]);
            const uint b1 = i + 1 < chunk.size() ? uchar(chunk[i + 1]) : 0;
            const uint b2 = i + 2 < chunk.size() ? uchar(chunk[i + 2]) : 0;
            const uint group = (b0 << 16) | (b1 << 8) | b2;
            line += UUChar(int(group >> 18) & 63);
            line += UUChar(int(group >> 12) & 63);
            line += UUChar(int(group >> 6) & 63);
            line += UUChar(int(group) & 63);
        }
        lines << line;
    }
    return lines;
}

// ---------------- TmsMessageEncoder ----------------

TmsMessageEncoder::TmsMessageEncoder(const TmsMessage &message, QRandomGenerator *random)
    : m_message(message), m_random(random ? random : QRandomGenerator::global())
{
}

QByteArray TmsMessageEncoder::Encode()
{
    m_out.clear();
    m_longLines = false;
    m_charset = m_message.CharSet() == csISO8859 ? TextCharset::Latin1 : TextCharset::Ascii;
    for (const QString &line : m_message.Body()) {
        // A line break inside a line can only travel escaped, as a long line does.
        if (line.size() > kLongLine || line.contains(u'\r') || line.contains(u'\n'))
            m_longLines = true;
        for (QChar c : line) {
            if (c.unicode() >= 256)
                m_charset = TextCharset::Utf8;
            else if (c.unicode() >= 128 && m_charset == TextCharset::Ascii)
                m_charset = TextCharset::Latin1;
        }
    }

    WriteHeader();
    if (m_message.Encoding() == meUU) {
        WriteUUBody();
        return m_out;
    }
    const QString type = ComputedContentType(m_message);
    const TmsAttList &attachments = m_message.Attachments();
    if (type == u"multipart/mixed" || type == u"multipart/alternative")
        WriteMultipartBody(type);
    else if (type == u"text/plain" && attachments.Count() == 0)
        WritePlainBody();
    else if ((type == u"text/html" || type == u"text/rtf")
             && (attachments.Count() == 0 || IsBodyDocument(attachments.Item(0))))
        WriteDocumentBody(type);
    else if (attachments.Count() == 1 && m_message.Body().isEmpty())
        WriteAttachmentPart(attachments.Item(0), false);
    else
        // A content type set on a message that has nothing but its text: the text is what
        // there is to send.
        WritePlainBody();
    return m_out;
}

void TmsMessageEncoder::WriteLine(const QByteArray &line)
{
    // The data phase of SMTP ends at a line holding a single ".", and a receiver takes the
    // first dot of every other line that begins with one away.
    if (line.startsWith('.'))
        m_out += '.';
    m_out += line;
    m_out += "\r\n";
}

void TmsMessageEncoder::WriteLines(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        WriteLine(line);
}

void TmsMessageEncoder::WriteHeader()
{
    WriteLine(QStringLiteral("From:     ") + AddressEntry(m_message.Sender()));
    WriteAddressBlock(QStringLiteral("To"), m_message.Recipients());
    WriteAddressBlock(QStringLiteral("CC"), m_message.CC());
    if (m_message.ReturnReceipt())
        WriteLine(QStringLiteral("Return-Receipt-To: <") + HeaderText(m_message.Sender().Address()) + u'>');
    if (m_message.Priority() == ptHigh)
        WriteLine(QByteArray("X-Priority: 1"));
    else if (m_message.Priority() == ptLow)
        WriteLine(QByteArray("X-Priority: 5"));

    // The message's other header lines, without the fields written here from its properties
    // (every copy of them: a second Content-Type would contradict ours).
    TmsHeaders headers = m_message.Headers();
    static const char *const kOwnFields[] = {"From", "To", "CC", "BCC", "Return-Receipt-To", "X-Priority",
                                             "Subject", "Mime-Version", "Content-Type", "X-Encoding",
                                             "Content-Transfer-Encoding"};
    for (const char *field : kOwnFields) {
        for (;;) {
            const qsizetype before = headers.size();
            RemoveField(headers, QString::fromLatin1(field));
            if (headers.size() == before)
                break;
        }
    }
    for (const QString &line : std::as_const(headers)) {
        // An empty line would end the header here and push the rest into the body.
        if (line.trimmed().isEmpty())
            continue;
        WriteLine(HeaderText(line));
    }

    if (!m_message.Subject().isEmpty())
        WriteLine(QStringLiteral("Subject:  ") + HeaderText(m_message.Subject()));
    if (m_message.Encoding() == meMIME)
        WriteLine(QByteArray("Mime-Version: 1.0"));
}

void TmsMessageEncoder::WriteAddressBlock(const QString &name, const TmsAddressList &list)
{
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        const QString lead = i == 0 ? (name + u':').leftJustified(10, u' ') : QString(10, u' ');
        WriteLine(lead + AddressEntry(list.Item(i)) + (i + 1 < count ? QStringLiteral(",") : QString()));
    }
}

void TmsMessageEncoder::WriteUUBody()
{
    WriteLine(QByteArray());
    for (const QString &line : m_message.Body()) {
        const QList<QByteArray> pieces = SplitTextLines(line.toUtf8());
        if (pieces.isEmpty())
            WriteLine(QByteArray());
        WriteLines(pieces);
    }
    for (const TmsAttItem &item : m_message.Attachments()) {
        WriteLine(QByteArray());
        WriteLine(QStringLiteral("begin 600 ") + HeaderText(BaseName(item.FileName())));
        WriteLines(UUEncodeLines(item.Data()));
        WriteLine(QByteArray("`"));
        WriteLine(QByteArray("end"));
    }
}

// Text beyond ASCII is never sent as 7bit us-ascii, and text beyond Latin-1 never squeezed into
// it: each goes out in the character set that holds it.
QByteArray TmsMessageEncoder::CharsetParameter() const
{
    switch (m_charset) {
    case TextCharset::Latin1: return "; charset=\"iso-8859-1\"";
    case TextCharset::Utf8: return "; charset=\"utf-8\"";
    case TextCharset::Ascii: break;
    }
    return "; charset=\"us-ascii\"";
}

bool TmsMessageEncoder::UsesQuotedPrintable() const
{
    return m_charset != TextCharset::Ascii || m_longLines;
}

QByteArray TmsMessageEncoder::BodyBytes() const
{
    QByteArray bytes;
    for (const QString &line : m_message.Body()) {
        bytes += m_charset == TextCharset::Utf8 ? line.toUtf8() : line.toLatin1();
        bytes += "\r\n";
    }
    return bytes;
}

void TmsMessageEncoder::WriteTextPartHeader()
{
    if (m_charset != TextCharset::Ascii) {
        WriteLine("Content-Type: text/plain" + CharsetParameter());
        WriteLine(QByteArray("Content-Transfer-Encoding: quoted-printable"));
    } else {
        WriteLine(QByteArray("Content-Type: text/plain; charset=\"us-ascii\""));
        WriteLine(QByteArray(m_longLines ? "Content-Transfer-Encoding: quoted-printable"
                                         : "Content-Transfer-Encoding: 7bit"));
    }
}

void TmsMessageEncoder::WriteTextLines()
{
    if (UsesQuotedPrintable()) {
        WriteLines(EncodeQuotedPrintable(BodyBytes()));
        return;
    }
    for (const QString &line : m_message.Body())
        WriteLine(line.toLatin1());
}

void TmsMessageEncoder::WritePlainBody()
{
    WriteTextPartHeader();
    WriteLine(QByteArray());
    WriteTextLines();
}

void TmsMessageEncoder::WriteDocumentBody(const QString &type)
{
    WriteLine("Content-Type: " + type.toLatin1() + (m_charset != TextCharset::Ascii ? CharsetParameter() : QByteArray()));
    WriteLine(QByteArray("Content-Transfer-Encoding: quoted-printable"));
    WriteLine(QByteArray());
    // A message that is only "_htmbody.htm" or "_rtfbody.rtf" has its text there, not in Body.
    const TmsAttList &attachments = m_message.Attachments();
    if (m_message.Body().isEmpty() && attachments.Count() == 1)
        WriteLines(EncodeQuotedPrintable(attachments.Item(0).Data()));
    else
        WriteLines(EncodeQuotedPrintable(BodyBytes()));
}

bool TmsMessageEncoder::ContainsText(const QByteArray &needle) const
{
    const QString text = QString::fromLatin1(needle);
    for (const QString &line : m_message.Body()) {
        if (line.contains(text))
            return true;
    }
    for (const TmsAttItem &item : m_message.Attachments()) {
        if (item.Data().contains(needle))
            return true;
    }
    return false;
}

QString TmsMessageEncoder::NewBoundary(const QString &avoid)
{
    QString boundary;
    for (int attempt = 0;; ++attempt) {
        boundary.clear();
        for (int i = 0; i < 8; ++i)
            boundary += QChar(u'0' + char16_t(m_random->bounded(9)));
        // Give up looking for text free of it only when the message is made of such lines.
        if (boundary != avoid && (attempt >= 1000 || !ContainsText("--" + boundary.toLatin1())))
            return boundary;
    }
}

void TmsMessageEncoder::WriteMultipartBody(const QString &type)
{
    const QString outer = NewBoundary();
    const QByteArray dashOuter = "--" + outer.toLatin1();
    WriteLine(QStringLiteral("Content-Type: ") + type + QStringLiteral("; boundary=\"") + outer + u'"');
    WriteLine(QByteArray());
    WriteLine(EncoderMessageText(MsgText::kMultipartPreamble));
    WriteLine(QByteArray());

    QList<const TmsAttItem *> alternatives;
    QList<const TmsAttItem *> others;
    for (const TmsAttItem &item : m_message.Attachments())
        (IsAlternative(item) ? alternatives : others) << &item;

    auto textPart = [this] {
        WriteTextPartHeader();
        WriteLine(QByteArray());
        WriteTextLines();
        WriteLine(QByteArray());
    };

    // An empty body whose first attachment is the message's document puts that document in the
    // text's place.
    const bool documentFirst = alternatives.isEmpty() && m_message.Body().isEmpty() && !others.isEmpty()
                               && IsBodyDocument(*others.first());
    if (!alternatives.isEmpty()) {
        const QString inner = NewBoundary(outer);
        const QByteArray dashInner = "--" + inner.toLatin1();
        WriteLine(dashOuter);
        WriteLine(QStringLiteral("Content-Type:  multipart/alternative; boundary=\"") + inner + u'"');
        WriteLine(QByteArray("Content-Transfer-Encoding: 7bit"));
        WriteLine(QByteArray());
        WriteLine(dashInner);
        textPart();
        for (const TmsAttItem *item : std::as_const(alternatives)) {
            WriteLine(dashInner);
            WriteAttachmentPart(*item, true);
        }
        WriteLine(dashInner + "--");
    } else if (!documentFirst) {
        WriteLine(dashOuter);
        textPart();
    }
    for (qsizetype i = 0; i < others.size(); ++i) {
        WriteLine(dashOuter);
        WriteAttachmentPart(*others[i], documentFirst && i == 0);
        WriteLine(QByteArray());
    }
    WriteLine(dashOuter + "--");
}

void TmsMessageEncoder::WriteAttachmentPart(const TmsAttItem &item, bool carriesBody)
{
    QString type = HeaderText(item.ContentType());
    if (type.isEmpty())
        type = QStringLiteral("application/octet-stream");
    const QString name = ParameterText(BaseName(item.FileName()));
    if (carriesBody)
        WriteLine(QStringLiteral("Content-Type: ") + type);
    else
        WriteLine(QStringLiteral("Content-Type: ") + type + QStringLiteral("; name=\"") + name + u'"');
    WriteLine(QStringLiteral("Content-Transfer-Encoding: ") + TransferEncodingToken(item.Encoding()));
    if (!carriesBody)
        WriteLine(QStringLiteral("Content-Disposition: attachment; filename=\"") + name + u'"');
    WriteLine(QByteArray());
    WriteAttachmentData(item);
}

void TmsMessageEncoder::WriteAttachmentData(const TmsAttItem &item)
{
    const QByteArray &data = item.Data();
    switch (item.Encoding()) {
    case aeBase64:
        for (qsizetype start = 0; start < data.size(); start += kBase64BlockBytes)
            WriteLine(EncodeBase64Text(data.mid(start, kBase64BlockBytes)));
        return;
    case aeQuotedPrintable:
        WriteLines(EncodeQuotedPrintable(data));
        return;
    case aeSevenBit:
        break;
    }
    WriteLines(SplitTextLines(data));
}

void SaveToStream(const TmsMessage &message, QIODevice &stream)
{
    const QByteArray text = TmsMessageEncoder(message).Encode();
    if (!stream.isSequential())
        stream.seek(0);
    if (stream.write(text) != text.size())
        throw EMessageFileError(QStringLiteral("The message could not be written: %1").arg(stream.errorString()));
    // A longer text saved there before must not trail behind this one.
    if (auto *file = qobject_cast<QFileDevice *>(&stream))
        file->resize(text.size());
    else if (auto *buffer = qobject_cast<QBuffer *>(&stream))
        buffer->buffer().truncate(text.size());
}
