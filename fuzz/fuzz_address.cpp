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

    const QString stripped = StripQuotes(text);
    if (stripped.startsWith(u'"') || stripped.endsWith(u'"'))
        std::abort();
    return 0;
}
