// Date field values, well-formed or not.
#include "maildate.h"
#include "textutil.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        DecodeUtf8OrLatin1(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const std::optional<TmsMailDate> date = ParseMailDate(text);
    if (date && !date->dateTime.isValid())
        std::abort();
    return 0;
}
