// Header lines as a server might send them: any bytes, split into lines.
#include "address.h"
#include "codec.h"
#include "headers.h"
#include "message.h"
#include "textutil.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TmsHeaders headers = DecodeHeaderLines(bytes);
    // Each line is read by itself: a stray byte elsewhere changes nothing about it.
    const QList<QByteArray> rawLines = bytes.split('\n');
    Check(headers.size() == rawLines.size() - (bytes.endsWith('\n') || bytes.isEmpty() ? 1 : 0));
    for (qsizetype i = 0; i < headers.size(); ++i) {
        QByteArray line = rawLines.at(i);
        if (line.endsWith('\r'))
            line.chop(1);
        Check(headers.at(i) == DecodeUtf8OrLatin1(line));
    }
    Check(CodePointCount(SenderAddress(headers)) <= kMaxTextLength);

    for (const char *name : {"Subject", "From", "to:", "Date", "Message-ID"})
        Check(CodePointCount(GetFieldValue(headers, QString::fromLatin1(name))) <= kMaxTextLength);
    // The first line's own field name, whatever it is.
    if (!headers.isEmpty()) {
        const QString name = headers.first().section(u':', 0, 0);
        if (!name.isEmpty())
            Check(CodePointCount(GetFieldValue(headers, name)) <= kMaxTextLength);
    }
    GetFieldValue(headers, QStringLiteral("Content-Type"));

    // The list items stay as received (the address reader decodes each name); what is read
    // from them is bounded.
    QStringList list;
    GetFieldList(headers, QStringLiteral("TO"), list);

    Check(CodePointCount(DecodeEncodedWords(headers.join(u' '))) <= kMaxTextLength);

    TmsMessage message;
    ReadHeaderFields(message, headers);
    Check(CodePointCount(message.Subject()) <= kMaxTextLength);
    Check(message.Recipients().Count() == list.size());
    for (int i = 0; i < message.Recipients().Count(); ++i)
        Check(CodePointCount(message.Recipients().Item(i).Name()) <= kMaxTextLength
              && CodePointCount(message.Recipients().Item(i).Address()) <= kMaxTextLength);
    Check(message.Headers() == headers);

    TmsHeaders removed = headers;
    RemoveField(removed, QStringLiteral("Subject"));
    Check(removed.size() <= headers.size());
    TruncateAtBody(headers);
    Check(!headers.contains(QString()));

    // The codecs on the raw bytes.
    if (const std::optional<QByteArray> decoded = DecodeBase64Text(bytes))
        Check(decoded->size() <= bytes.size());
    Check(DecodeBase64Text(EncodeBase64Text(bytes)) == bytes);
    const QByteArray qp = DecodeQPText(bytes);
    Check(!qp.contains('\n') && !qp.contains('\r'));
    return 0;
}
