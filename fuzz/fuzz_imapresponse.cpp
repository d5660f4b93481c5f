// IMAP responses as a server might send them: any bytes, literals and all.
#include "imapparse.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

int Depth(const ImapValue &value)
{
    int deepest = 0;
    for (const ImapValue &item : value.items)
        deepest = std::max(deepest, Depth(item));
    return value.kind == ImapValue::Kind::List ? deepest + 1 : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ImapResponse response = ParseImapResponse(bytes);
    if (response.kind != ImapResponse::Kind::Invalid) {
        Check(!response.status.isEmpty() || response.kind == ImapResponse::Kind::Continuation);
        Check(response.number <= 0xffffffffLL);
        for (const ImapValue &value : response.data)
            Check(Depth(value) <= kImapMaxNesting);
    }
    if (const std::optional<ImapFetchItems> fetch = ImapFetchFrom(response)) {
        Check(fetch->size >= -1);
        Check(!fetch->header || fetch->header->size() <= bytes.size());
    }
    if (const std::optional<QList<quint32>> uids = ImapSearchResult(response)) {
        // The set of the UIDs names each of them once.
        qint64 named = 0;
        for (const QByteArray &run : ImapUidSet(*uids).split(',')) {
            if (run.isEmpty())
                continue;
            const QList<QByteArray> ends = run.split(':');
            named += ends.size() == 2 ? ends[1].toLongLong() - ends[0].toLongLong() + 1 : 1;
        }
        QList<quint32> unique = *uids;
        std::sort(unique.begin(), unique.end());
        Check(named == std::unique(unique.begin(), unique.end()) - unique.begin());
    }
    if (const std::optional<ImapListEntry> entry = ImapListFrom(response)) {
        Check(!entry->name.isEmpty() && entry->delimiter.size() <= 1);
        // A name we send back is read back as the same name.
        if (const std::optional<QByteArray> quoted = ImapQuoted(entry->name)) {
            const std::optional<ImapListEntry> again = ImapListFrom(ParseImapResponse("* LIST () NIL " + *quoted));
            Check(again && again->name == entry->name);
        }
    }
    ImapCapabilitiesFrom(response.codeArgs).AuthMechanisms();
    const QString text = QString::fromUtf8(bytes);
    Check(ImapMailboxText(ImapMailboxName(text)) == text);
    ImapMailboxText(bytes);
    Check(ImapLiteralAtEnd(bytes.left(bytes.indexOf('\n'))) >= -1);
    return 0;
}
