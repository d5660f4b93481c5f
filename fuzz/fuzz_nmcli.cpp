// NetworkManager's terse listings as nmcli might print them: any bytes.
#include "dialup.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The terse form of one field: backslash and colon escaped.
QString Escape(const QString &field)
{
    QString out = field;
    out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u':', QStringLiteral("\\:"));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    for (const QString &name : TagNmDialer::ParseEntries(bytes)) {
        Check(!name.trimmed().isEmpty() && !name.contains(u'\n'));
        // A name escaped and split again is the same name.
        Check(TagNmDialer::SplitTerse(Escape(name)) == QStringList{name});
    }
    for (const TagActiveConnection &c : TagNmDialer::ParseActive(bytes))
        Check(!c.Name.trimmed().isEmpty() && !c.Name.contains(u'\n'));

    // Fields escaped and joined split back into the same fields.
    const QStringList fields = QString::fromUtf8(bytes).split(u'\x1f');
    QStringList escaped;
    for (const QString &f : fields)
        escaped << Escape(f);
    Check(TagNmDialer::SplitTerse(escaped.join(u':')) == fields);
    return 0;
}
