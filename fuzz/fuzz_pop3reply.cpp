// POP3 replies and data blocks as a server might send them: any bytes.
#include "linecodec.h"
#include "pop3parse.h"
#include "textutil.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// What the block decoder makes of data fed in one piece, and how much of data it took.
QByteArray Decode(const QByteArray &data, qsizetype cut, qsizetype &taken, bool &done)
{
    TagDotDecoder decoder;
    QByteArray out;
    taken = decoder.Feed(data.left(cut), out);
    if (!decoder.Done())
        taken += decoder.Feed(data.mid(cut), out);
    done = decoder.Done();
    return out;
}

// The message as a server sends it: line ends kept, a dot doubled at the start of each line,
// the end line appended.
QByteArray Stuff(const QByteArray &message)
{
    QByteArray wire;
    bool lineStart = true;
    for (const char c : message) {
        if (lineStart && c == '.')
            wire += '.';
        wire += c;
        lineStart = c == '\n';
    }
    if (!lineStart)
        wire += "\r\n";
    return wire + ".\r\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // The decoder gives the same result wherever the network cuts the data.
    qsizetype takenWhole = 0, takenCut = 0;
    bool doneWhole = false, doneCut = false;
    const QByteArray whole = Decode(bytes, bytes.size(), takenWhole, doneWhole);
    const qsizetype cut = bytes.isEmpty() ? 0 : qsizetype(uint8_t(bytes[0])) % (bytes.size() + 1);
    const QByteArray pieces = Decode(bytes, cut, takenCut, doneCut);
    Check(whole == pieces && takenWhole == takenCut && doneWhole == doneCut);
    Check(whole.size() <= takenWhole && takenWhole <= bytes.size());
    Check(doneWhole || takenWhole == bytes.size());

    // Stuffing and decoding give the message back.
    {
        const QByteArray wire = Stuff(bytes);
        qsizetype taken = 0;
        bool done = false;
        const QByteArray back = Decode(wire, wire.size() / 2, taken, done);
        Check(done && taken == wire.size());
        Check(back == (bytes.isEmpty() || bytes.endsWith('\n') ? bytes : bytes + "\r\n"));
    }

    const QString text = DecodeUtf8OrLatin1(bytes);
    const QString line = text.section(u'\n', 0, 0);
    int count = -7;
    qint64 total = -7;
    if (ParseStatReply(line, count, total))
        Check(count >= 0 && total >= -1);
    Check(ParseListSize(line) >= 0);
    const QString id = ParseUidlReply(line, 1);
    Check(id.size() <= 70);
    for (const QString &uid : ParseUidlListing(bytes))
        Check(!uid.isEmpty() && uid.size() <= 70);
    const QHash<int, qint64> sizes = ParseListListing(bytes);
    for (auto it = sizes.begin(); it != sizes.end(); ++it)
        Check(it.key() > 0 && it.value() >= 0);
    Pop3ReplyCode(line);

    const TmsHeaders headers = HeadersFromBlock(bytes);
    Check(!headers.contains(QString()));
    Check(SameHeaders(headers, headers));

    const TagServerAddress server = SplitServer(line);
    Check(server.Host.size() <= line.size());
    return 0;
}
