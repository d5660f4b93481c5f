#include "mspars.h"

#include "codec.h"
#include "msparams.h"
#include "textutil.h"

#include <QBuffer>
#include <QFile>
#include <utility>

bool TLineStream::ReadLine(QByteArray &line)
{
    for (;;) {
        const qsizetype lf = m_buffer.indexOf('\n', m_scan);
        if (lf >= 0) {
            line = m_buffer.mid(m_pos, lf - m_pos);
            m_pos = m_scan = lf + 1;
            if (line.endsWith('\r'))
                line.chop(1);
            return true;
        }
        if (m_atEnd) {
            if (m_pos >= m_buffer.size())
                return false;
            line = m_buffer.mid(m_pos);
            m_pos = m_scan = m_buffer.size();
            if (line.endsWith('\r'))
                line.chop(1);
            return true;
        }
        // No line break in what is buffered: drop the lines handed out and read on, so that a
        // line of any length ends up whole in the buffer.
        m_buffer.remove(0, m_pos);
        m_pos = 0;
        m_scan = m_buffer.size();
        const QByteArray block = m_device.read(kBlockSize);
        if (block.isEmpty())
            m_atEnd = true;
        else
            m_buffer.append(block);
    }
}

void TLineStream::Reset()
{
    m_device.seek(0);
    m_buffer.clear();
    m_pos = m_scan = 0;
    m_atEnd = false;
}

namespace {

QString Lower(const QString &text)
{
    return AsciiLower(text);
}

QByteArray JoinLines(const QList<QByteArray> &lines, const char *separator)
{
    QByteArray out;
    for (const QByteArray &line : lines) {
        out += line;
        out += separator;
    }
    return out;
}

// Base64 over all the lines at once, so that a group split across lines still decodes and
// no line is cut; line breaks, blanks and tabs are not part of the data.
std::optional<QByteArray> DecodeBase64Lines(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        for (char c : line)
            if (c != '\r' && c != ' ' && c != '\t')
                text += c;
    return DecodeBase64Text(text);
}

// The name of a uuencoded file when line begins one: "begin", one blank, a mode of three or
// four octal digits, one blank and a name. Anything else is text (a line such as "Begin 2024
// plans" in a letter is not a file).
std::optional<QByteArray> UuBeginName(const QByteArray &line)
{
    if (!line.startsWith("begin "))
        return std::nullopt;
    qsizetype i = 6;
    qsizetype digits = 0;
    while (i < line.size() && line.at(i) >= '0' && line.at(i) <= '7') {
        ++i;
        ++digits;
    }
    if (digits < 3 || digits > 4 || i >= line.size() || line.at(i) != ' ')
        return std::nullopt;
    const QByteArray rest = line.mid(i + 1);
    if (rest.isEmpty())
        return std::nullopt;
    if (rest.startsWith('"')) {
        const qsizetype close = rest.indexOf('"', 1);
        return close < 0 ? QByteArray() : rest.mid(1, close - 1);
    }
    const qsizetype blank = rest.indexOf(' ');
    return blank < 0 ? rest : rest.left(blank);
}

int UuValue(char c)
{
    if (c == '`' || c == ' ')
        return 0;
    if (c >= '!' && c <= '_')
        return c - 32;
    return -1;
}

// One uuencoded line; empty optional for a character outside the alphabet.
std::optional<QByteArray> UudecodeLine(const QByteArray &line)
{
    if (line.isEmpty())
        return QByteArray();
    const int count = UuValue(line.at(0));
    if (count < 0)
        return std::nullopt;
    QByteArray out;
    for (qsizetype i = 1; i < line.size() && out.size() < count; i += 4) {
        quint32 bits = 0;
        for (qsizetype k = 0; k < 4; ++k) {
            int v = 0;
            if (i + k < line.size()) {
                v = UuValue(line.at(i + k));
                if (v < 0)
                    return std::nullopt;
            }
            bits = (bits << 6) | quint32(v);
        }
        out += char((bits >> 16) & 0xFF);
        out += char((bits >> 8) & 0xFF);
        out += char(bits & 0xFF);
    }
    out.truncate(count);
    return out;
}

bool IsUuEndLine(const QByteArray &line)
{
    return line == "`" || line.toUpper() == "END";
}

QString HeaderText(const QByteArray &line)
{
    return DecodeUtf8OrLatin1(line);
}

// A name for an attachment from a header or a begin line, reduced to a plain file name.
QString OutsideName(const QString &raw)
{
    // Decoding cuts to 255 characters, which would lose the extension of a long plain name.
    return SafeAttachmentFileName(raw.contains(QStringLiteral("=?")) ? DecodeEncodedWords(raw) : raw);
}

} // namespace

struct TmsMessageDecoder::Impl
{
    enum class End { Separator, Closing, EndOfData };

    struct Level
    {
        QByteArray marker;
        bool alternative = false;
    };

    TmsMessage &message;
    QIODevice &input;
    TLineStream reader;
    TmsHeaders headers;     // the message's
    TmsHeaders partHeaders; // the current part's
    QList<Level> levels;    // the multiparts we are inside, outermost first
    bool messageAlternative = false;
    int parts = 0;
    QString parserError;

    Impl(TmsMessage &m, QIODevice &in) : message(m), input(in), reader(in) {}

    void Decode();
    void Dispatch();
    void ReadHeader(TmsHeaders &into);
    void PlainParse();
    bool SingleTextParse(); // false: the text holds a uuencoded file, parse it as plain
    void SingleAttachmentParse(const QString &ct);
    void MultipartParse(const QString &ct);
    std::optional<QByteArray> ReadUuFile(const QByteArray &name);
    void AppendBodyText(const QList<QByteArray> &lines, const QString &charset, bool quotedPrintable);
    void CountPart();
    void EnterMultipart(const QString &ct);
    void DescendIntoMultiparts();
    bool LeaveLevel();
    bool InsideAlternative() const;
    QString GeneratedName(bool alternativeNames) const;
    TmsAttItem NewAttachment(bool alternativeNames);
    End DecodeAttachmentContent(TmsAttItem &item, bool untilDot);
    End Classify(const QByteArray &line) const;
};

TmsMessageDecoder::TmsMessageDecoder(TmsMessage &message, QIODevice &input)
    : d(new Impl(message, input))
{
}

TmsMessageDecoder::~TmsMessageDecoder()
{
    delete d;
}

void TmsMessageDecoder::Decode()
{
    d->Decode();
}

QString TmsMessageDecoder::ParserError() const
{
    return d->parserError;
}

void TmsMessageDecoder::Impl::ReadHeader(TmsHeaders &into)
{
    into.clear();
    QByteArray line;
    while (reader.ReadLine(line) && !line.isEmpty())
        into.append(HeaderText(line));
}

void TmsMessageDecoder::Impl::Decode()
{
    ReadHeader(headers);
    ReadHeaderFields(message, headers);
    try {
        if (IsMime10(GetFieldValue(headers, QStringLiteral("MIME-VERSION"))))
            Dispatch();
        else
            PlainParse();
    } catch (const EMessageParserError &error) {
        parserError = error.Message();
        message.Body().append(QStringLiteral("The following error has been occured while processing the message:"));
        message.Body().append(error.Message());
        message.Body().append(QStringLiteral("The original message will be stored as an attachment"));
        TmsAttItem original;
        original.SetFileName(QStringLiteral("original.eml"));
        original.SetContentType(QStringLiteral("message/rfc822"));
        original.SetEncoding(aeSevenBit);
        input.seek(0);
        original.SetData(input.readAll());
        message.Attachments().Append(original);
    }
    if (!message.Body().isEmpty() && message.Body().constLast() == u".")
        message.Body().removeLast();
}

void TmsMessageDecoder::Impl::Dispatch()
{
    if (GetFieldValue(headers, QStringLiteral("X-Mailer")) == u"V Mailsystem R #0001")
        RemoveField(headers, QStringLiteral("Content-Type"));
    const QString ct = GetFieldValue(headers, QStringLiteral("Content-type"));
    const QString lower = Lower(ct);
    if (lower.contains(u"multipart/alternative")) {
        messageAlternative = true;
        MultipartParse(ct);
    } else if (lower.contains(u"multipart")) {
        MultipartParse(ct);
    } else if (!lower.isEmpty() && !lower.contains(u"text/")) {
        SingleAttachmentParse(ct);
    } else if (const QString name = GetParam(QStringLiteral("name"), ct);
               !name.isEmpty() && name != u"cc:Mail") {
        SingleAttachmentParse(ct);
    } else if (!SingleTextParse()) {
        // The "text" holds a uuencoded file: start over and read the message as plain text.
        reader.Reset();
        message.Body().clear();
        // The header is read into the message a second time: its addresses must not be
        // appended twice.
        message.Recipients().Clear();
        message.CC().Clear();
        message.BCC().Clear();
        ReadHeader(headers);
        ReadHeaderFields(message, headers);
        RemoveField(headers, QStringLiteral("MIME-VERSION"));
        RemoveField(headers, QStringLiteral("CONTENT-TYPE"));
        RemoveField(headers, QStringLiteral("CONTENT-TRANSFER-ENCODING"));
        PlainParse();
    }
}

void TmsMessageDecoder::Impl::AppendBodyText(const QList<QByteArray> &lines, const QString &charset,
                                             bool quotedPrintable)
{
    QByteArray bytes;
    if (quotedPrintable) {
        QList<QByteArray> copy = lines;
        TQuotedPrintable(bytes, copy).Decode();
    } else {
        bytes = JoinLines(lines, "\n");
    }
    message.Body().append(SplitLines(DecodeText(bytes, charset)));
}

void TmsMessageDecoder::Impl::CountPart()
{
    if (++parts > kMaxParts)
        throw EMessageParserError(QStringLiteral("The message has more than %1 parts").arg(kMaxParts));
}

void TmsMessageDecoder::Impl::PlainParse()
{
    const QString charset = GetParam(QStringLiteral("charset"), GetFieldValue(headers, QStringLiteral("Content-Type")));
    QList<QByteArray> body;
    QByteArray line;
    std::optional<QByteArray> pending;
    while (pending || reader.ReadLine(line)) {
        if (pending)
            line = *std::exchange(pending, std::nullopt);
        if (const std::optional<QByteArray> name = UuBeginName(line)) {
            // The text so far goes to the body first, so that it stays when the file fails.
            AppendBodyText(body, charset, false);
            body.clear();
            message.SetEncoding(meUU);
            pending = ReadUuFile(*name);
        } else {
            body.append(line);
        }
    }
    AppendBodyText(body, charset, false);
}

// Reads a uuencoded file up to its end line. A file closed by the grave-accent line is
// normally followed by "end", which belongs to it; any other line after it is handed back.
std::optional<QByteArray> TmsMessageDecoder::Impl::ReadUuFile(const QByteArray &rawName)
{
    CountPart();
    TmsAttItem item;
    QString name = OutsideName(DecodeUtf8OrLatin1(rawName));
    if (name.isEmpty())
        name = QStringLiteral("att.") + QString::number(message.Attachments().Count());
    item.SetFileName(name);
    QByteArray data;
    QByteArray line;
    bool failed = false;
    bool graveEnd = false;
    while (reader.ReadLine(line)) {
        if (IsUuEndLine(line)) {
            graveEnd = line == "`";
            break;
        }
        if (failed)
            continue;
        if (const std::optional<QByteArray> bytes = UudecodeLine(line))
            data += *bytes;
        else
            failed = true;
    }
    if (failed)
        throw EMessageParserError(MsgText::kAttachmentDecoding);
    item.SetData(data);
    message.Attachments().Append(item);
    std::optional<QByteArray> next;
    if (graveEnd && reader.ReadLine(line) && line.toUpper() != "END")
        next = line;
    return next;
}

bool TmsMessageDecoder::Impl::SingleTextParse()
{
    const QString ct = GetFieldValue(headers, QStringLiteral("Content-type"));
    const QString media = Lower(MediaType(ct));
    if (media == u"text/html")
        message.SetContentType(QStringLiteral("text/html"));
    else if (media == u"text/rtf")
        message.SetContentType(QStringLiteral("text/rtf"));
    const QString charset = GetParam(QStringLiteral("charset"), ct);

    const QString enc = Lower(GetFieldValue(headers, QStringLiteral("Content-Transfer-Encoding")));
    message.Body().clear();
    const bool qp = enc == u"quoted-printable";
    if (qp)
        message.SetCharSet(csISO8859);

    QList<QByteArray> lines;
    QByteArray line;
    while (reader.ReadLine(line)) {
        if (enc != u"base64" && UuBeginName(line))
            return false;
        lines.append(line);
    }
    if (enc == u"base64") {
        const std::optional<QByteArray> bytes = DecodeBase64Lines(lines);
        if (!bytes)
            throw EMimeDecodeError(QString::fromLatin1(kInvalidCharacterText));
        message.Body().append(SplitLines(DecodeText(*bytes, charset)));
    } else {
        AppendBodyText(lines, charset, qp);
    }
    return true;
}

TmsMessageDecoder::Impl::End TmsMessageDecoder::Impl::Classify(const QByteArray &line) const
{
    const QByteArray &marker = levels.constLast().marker;
    if (line.size() == marker.size() + 2 && line.startsWith(marker) && line.endsWith("--"))
        return End::Closing;
    return End::Separator;
}

bool TmsMessageDecoder::Impl::InsideAlternative() const
{
    for (const Level &level : levels)
        if (level.alternative)
            return true;
    return messageAlternative;
}

QString TmsMessageDecoder::Impl::GeneratedName(bool alternativeNames) const
{
    return (alternativeNames ? QStringLiteral("_alt.") : QStringLiteral("att."))
        + QString::number(message.Attachments().Count());
}

TmsAttItem TmsMessageDecoder::Impl::NewAttachment(bool alternativeNames)
{
    TmsAttItem item;
    const QString ct = GetFieldValue(partHeaders, QStringLiteral("Content-type"));
    item.SetContentType(MediaType(ct));
    // The name the Content-Disposition gives wins over the Content-Type's name. The field is
    // read whole: a name continued over many sections must not be cut.
    QString name = OutsideName(GetParam(QStringLiteral("filename"),
                                        GetFieldText(partHeaders, QStringLiteral("Content-Disposition"))));
    if (name.isEmpty())
        name = OutsideName(GetParam(QStringLiteral("name"), ct));
    if (!name.isEmpty())
        item.SetFileName(name);

    const QString enc = Lower(GetFieldValue(partHeaders, QStringLiteral("Content-Transfer-Encoding")));
    TmsAttEncoding kind = aeSevenBit;
    if (enc == u"base64" || enc.startsWith(u"x-uue"))
        kind = aeBase64;
    else if (enc == u"quoted-printable")
        kind = aeQuotedPrintable;
    item.SetEncoding(kind);

    if (name.isEmpty()) {
        // A made-up name says nothing about the type: the part's own type stays.
        const QString type = item.ContentType();
        item.SetFileName(GeneratedName(alternativeNames));
        item.SetContentType(type);
        item.SetEncoding(kind);
    }
    return item;
}

// Reads the part's content into item up to the next line that begins with the current marker
// (or, untilDot, up to a line "."), and says what ended it.
TmsMessageDecoder::Impl::End TmsMessageDecoder::Impl::DecodeAttachmentContent(TmsAttItem &item, bool untilDot)
{
    const bool uu = Lower(GetFieldValue(partHeaders, QStringLiteral("Content-Transfer-Encoding"))).startsWith(u"x-uue");
    QList<QByteArray> lines;
    End end = End::EndOfData;
    QByteArray line;
    while (reader.ReadLine(line)) {
        if (untilDot ? line == "." : line.startsWith(levels.constLast().marker)) {
            end = untilDot ? End::EndOfData : Classify(line);
            break;
        }
        lines.append(line);
    }

    QByteArray data;
    switch (item.Encoding()) {
    case aeBase64:
        if (uu) {
            for (const QByteArray &l : std::as_const(lines)) {
                if (l.isEmpty() || IsUuEndLine(l) || l.toLower().startsWith("begin "))
                    continue;
                const std::optional<QByteArray> bytes = UudecodeLine(l);
                if (!bytes)
                    throw EMessageParserError(MsgText::kAttachmentDecoding);
                data += *bytes;
            }
        } else {
            const std::optional<QByteArray> bytes = DecodeBase64Lines(lines);
            if (!bytes)
                throw EMessageParserError(MsgText::kAttachmentDecoding);
            data = *bytes;
        }
        break;
    case aeQuotedPrintable:
        try {
            TQuotedPrintable(data, lines).Decode();
        } catch (const EMimeDecodeError &) {
            throw EMessageParserError(MsgText::kAttachmentDecoding);
        }
        break;
    case aeSevenBit:
        data = JoinLines(lines, "\r\n");
        break;
    }
    item.SetData(data);
    return end;
}

void TmsMessageDecoder::Impl::SingleAttachmentParse(const QString &ct)
{
    if (ct.isEmpty())
        throw EMessageParserError(MsgText::kMissingContentType);
    CountPart();
    partHeaders = headers;
    // The whole body is one part; a marker that no line can begin with keeps it whole.
    levels.append({QByteArray(), false});
    TmsAttItem item = NewAttachment(false);
    DecodeAttachmentContent(item, true);
    levels.clear();
    message.Attachments().Append(item);
}

// Steps into a multipart whose boundary line is marker: skips to its first boundary line.
void TmsMessageDecoder::Impl::EnterMultipart(const QString &ct)
{
    if (levels.size() >= kMaxDepth)
        throw EMessageParserError(QStringLiteral("The message's parts are nested more than %1 deep").arg(kMaxDepth));
    const QByteArray marker = "--" + GetParam(QStringLiteral("Boundary"), ct).toUtf8();
    levels.append({marker, Lower(ct).contains(u"multipart/alternative")});
    QByteArray line;
    for (;;) {
        if (!reader.ReadLine(line))
            throw EMessageParserError(MsgText::kNoBoundary);
        if (line == marker)
            return;
    }
}

// A part that is itself a multipart (an alternative, or a multipart with a boundary of its
// own) is entered: its first part takes its place, as deep as it goes.
void TmsMessageDecoder::Impl::DescendIntoMultiparts()
{
    for (;;) {
        const QString ct = GetFieldValue(partHeaders, QStringLiteral("Content-Type"));
        const QString lower = Lower(ct);
        const bool enter = lower.contains(u"multipart/alternative")
            || (lower.contains(u"multipart/") && !GetParam(QStringLiteral("boundary"), ct).isEmpty());
        if (!enter)
            return;
        EnterMultipart(ct);
        ReadHeader(partHeaders);
        CountPart();
    }
}

// After the closing line of the innermost multipart: back to the one around it, skipping to
// its next boundary line. False when the outermost one was closed (the parse is done).
bool TmsMessageDecoder::Impl::LeaveLevel()
{
    for (;;) {
        if (levels.size() <= 1)
            return false;
        levels.removeLast();
        QByteArray line;
        for (;;) {
            if (!reader.ReadLine(line))
                throw EMessageParserError(MsgText::kNoClosingBoundary);
            if (line.startsWith(levels.constLast().marker))
                break;
        }
        if (Classify(line) != End::Closing)
            return true;
    }
}

void TmsMessageDecoder::Impl::MultipartParse(const QString &ct)
{
    EnterMultipart(ct);

    // The first part: the text body, unless it travels in base64.
    ReadHeader(partHeaders);
    CountPart();
    DescendIntoMultiparts();
    bool headerRead = false;
    const QString enc = Lower(GetFieldValue(partHeaders, QStringLiteral("Content-Transfer-Encoding")));
    if (enc == u"base64") {
        partHeaders.append(QStringLiteral("Content-Transfer-Encoding: Base64"));
        headerRead = true;
    } else {
        const bool qp = enc == u"quoted-printable";
        if (qp)
            message.SetCharSet(csISO8859);
        const QString charset = GetParam(QStringLiteral("charset"), GetFieldValue(partHeaders, QStringLiteral("Content-Type")));
        QList<QByteArray> lines;
        End end = End::EndOfData;
        QByteArray line;
        const QByteArray &marker = levels.constLast().marker;
        while (reader.ReadLine(line)) {
            if (line == marker) {
                end = End::Separator;
                break;
            }
            if (Classify(line) == End::Closing) {
                end = End::Closing;
                break;
            }
            lines.append(line);
        }
        if (lines.isEmpty())
            lines.append(QByteArray());
        AppendBodyText(lines, charset, qp);
        if (end == End::EndOfData)
            return;
        if (end == End::Closing && !LeaveLevel())
            return;
    }

    // Every further part is an attachment.
    for (;;) {
        if (!headerRead) {
            ReadHeader(partHeaders);
            CountPart();
            DescendIntoMultiparts();
        }
        headerRead = false;
        TmsAttItem item = NewAttachment(InsideAlternative());
        const End end = DecodeAttachmentContent(item, false);
        message.Attachments().Append(item);
        if (end == End::EndOfData)
            return;
        if (end == End::Closing && !LeaveLevel())
            return;
    }
}

void LoadFromStream(TmsMessage &message, QIODevice &stream, QString *parserError)
{
    QBuffer buffer;
    QIODevice *input = &stream;
    if (stream.isSequential()) {
        // The parser goes back to the start (a uuencoded file in a MIME text, the original
        // kept when the structure is broken), which a pipe or socket cannot do.
        buffer.setData(stream.readAll());
        buffer.open(QIODevice::ReadOnly);
        input = &buffer;
    } else {
        stream.seek(0);
    }
    TmsMessageDecoder decoder(message, *input);
    decoder.Decode();
    if (parserError)
        *parserError = decoder.ParserError();
}

void LoadFromFile(TmsMessage &message, const QString &fileName, QString *parserError)
{
    message.Clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EMessageFileError(QStringLiteral("Cannot open the message file \"%1\": %2. Check that the file "
                                               "exists and that you may read it.")
                                    .arg(fileName, file.errorString()));
    LoadFromStream(message, file, parserError);
    if (file.error() != QFileDevice::NoError)
        throw EMessageFileError(QStringLiteral("Cannot read the message file \"%1\": %2.")
                                    .arg(fileName, file.errorString()));
}
