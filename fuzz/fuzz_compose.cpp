// Messages built from arbitrary bytes, written out and read back: the text must always be safe
// to hand to an SMTP data phase, quoted-printable must give back what it was given, and the
// parser must read whatever the writer wrote without failing outside its own error family.
#include "msencode.h"
#include "mspars.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray CrlfLines(const QByteArray &text)
{
    QByteArray out;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            return out + text.mid(start);
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        out += text.mid(start, stop - start) + "\r\n";
        start = end + 1;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const quint8 flags = data[0];
    const QList<QByteArray> fields =
        QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).split('\x01');

    // Quoted-printable of the whole input gives it back, line ends as CR LF.
    const QByteArray all = fields.join('\x01');
    try {
        QList<QByteArray> lines = EncodeQuotedPrintable(all);
        for (const QByteArray &line : lines)
            Check(!line.contains('\n') && !line.contains('\r') && line.size() <= 196);
        QByteArray decoded;
        TQuotedPrintable(decoded, lines).Decode();
        // (The decoder keeps a paragraph whose last byte is the old end-of-file mark 26 open.)
        if (!all.contains('\x1a'))
            Check(decoded == CrlfLines(all));
    } catch (const EMimeDecodeError &) {
    }

    TmsMessage m;
    auto field = [&](int i) { return i < fields.size() ? QString::fromUtf8(fields[i]) : QString(); };
    TmsMailAddress sender;
    sender.SetName(field(0));
    sender.SetAddress(field(1));
    m.Sender() = sender;
    TmsMailAddress to;
    to.SetName(field(2));
    to.SetAddress(QStringLiteral("to@example.com"));
    m.Recipients().Append(to);
    m.SetSubject(field(3));
    m.Body() = field(4).split(u'\n');
    if (field(4).isEmpty())
        m.Body().clear();
    m.SetHeaders(field(5).split(u'\n'));
    m.SetContentType(field(6));
    m.SetEncoding(flags & 1 ? meUU : meMIME);
    m.SetCharSet(flags & 2 ? csISO8859 : csUSASCII);
    m.SetPriority(TPriority((flags >> 2) % 3));
    for (int i = 7; i + 1 < fields.size() && i < 13; i += 2) {
        TmsAttItem item;
        item.SetFileName(QString::fromUtf8(fields[i]));
        item.SetEncoding(TmsAttEncoding(((flags >> 4) + i) % 3));
        item.SetData(fields[i + 1]);
        m.Attachments().Append(item);
    }

    QRandomGenerator random(flags);
    QByteArray text;
    try {
        text = TmsMessageEncoder(m, &random).Encode();
    } catch (const EMimeDecodeError &) {
        return 0;
    }
    // Every line ends in CR LF, none holds a line break of its own, none would end the data phase.
    Check(text.isEmpty() || text.endsWith("\r\n"));
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf("\r\n", start);
        Check(end >= 0);
        const QByteArray line = text.mid(start, end - start);
        Check(!line.contains('\n') && !line.contains('\r'));
        Check(line != ".");
        start = end + 2;
    }

    // Read back as a server would store it.
    QByteArray stored;
    for (const QByteArray &line : text.split('\n'))
        stored += (line.startsWith('.') ? line.mid(1) : line) + '\n';
    QBuffer buffer(&stored);
    buffer.open(QIODevice::ReadOnly);
    TmsMessage parsed;
    try {
        LoadFromStream(parsed, buffer);
    } catch (const EMessageError &) {
    }
    return 0;
}
