// Address texts as they come out of From, To and Reply-To fields.
#include "address.h"
#include "headers.h"
#include "textutil.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        DecodeUtf8OrLatin1(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    TmsMailAddress address;
    ParseMailAddress(text, address);
    if (CodePointCount(address.Name()) > kMaxTextLength
        || CodePointCount(address.Address()) > kMaxTextLength)
        std::abort();
    const SplitAddress split = SplitMailAddress(text);
    if (split.address != address.Address() || split.name != address.Name())
        std::abort();

    // Whatever a display name holds, quoted or encoded, the angle address after it wins.
    QString quoted = text;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    const QString real = QStringLiteral("real@example.net");
    if (SplitMailAddress(u'"' + quoted + QStringLiteral("\" <") + real + u'>').address != real)
        std::abort();
    const QByteArray utf8 = text.toUtf8().left(600);
    const QString encoded = QStringLiteral("=?utf-8?B?") + QString::fromLatin1(utf8.toBase64()) + QStringLiteral("?=");
    if (SplitMailAddress(encoded + QStringLiteral(" <") + real + u'>').address != real)
        std::abort();

    const QString stripped = StripQuotes(text);
    if (stripped.startsWith(u'"') || stripped.endsWith(u'"'))
        std::abort();
    return 0;
}
