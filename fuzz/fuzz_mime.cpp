// A whole message file as it might come from a server: any bytes, parsed into a message.
#include "msmime.h"
#include "mspars.h"
#include "textutil.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') || name.contains(u'\\'))
        return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return name.toUtf8().size() <= 255;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    TmsMessage message;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QString parserError;
    try {
        LoadFromStream(message, buffer, &parserError);
    } catch (const EMimeDecodeError &) {
        // A single-part body that does not decode: reported to the caller, nothing else.
        return 0;
    }
    const TmsAttList &atts = message.Attachments();
    Check(atts.Count() <= TmsMessageDecoder::kMaxParts + 1);
    for (const TmsAttItem &item : atts) {
        Check(IsPlainFileName(item.FileName()));
        Check(CodePointCount(item.ContentType()) <= kMaxTextLength);
    }
    if (!parserError.isEmpty()) {
        // The structure was broken: the whole input is kept, and the body explains.
        Check(atts.Count() >= 1);
        Check(atts.Item(atts.Count() - 1).FileName() == u"original.eml");
        Check(atts.Item(atts.Count() - 1).Data() == bytes);
        Check(message.Body().contains(parserError));
    }

    // Names from anywhere: the cleaned name is a plain file name, and cleaning it again
    // changes nothing.
    const QString name = DecodeUtf8OrLatin1(bytes.left(600));
    const QString safe = SafeAttachmentFileName(name);
    Check(safe.isEmpty() || IsPlainFileName(safe));
    Check(SafeAttachmentFileName(safe) == safe);

    // Quoted-printable over the input's lines never grows past a paragraph's worth per line.
    QList<QByteArray> lines = bytes.split('\n');
    QByteArray decoded;
    try {
        TQuotedPrintable(decoded, lines).Decode();
        Check(decoded.size() <= bytes.size() + 2 * lines.size());
    } catch (const EMimeDecodeError &) {
    }
    return 0;
}
