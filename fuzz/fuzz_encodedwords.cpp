// Encoded words as a sender might write them into a subject or an address: any bytes.
// Besides not crashing, the decoder must give back what a well-formed word carries, however
// the word is encoded or split.
#include "codec.h"
#include "headers.h"
#include "textutil.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Stops the run at a broken expectation, naming its line (the inlined check has none).
void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

QByteArray QEncoded(const QByteArray &bytes)
{
    QByteArray out;
    for (const char c : bytes)
        out += '=' + QByteArray(1, c).toHex().toUpper();
    return out;
}

QString Word(const char *letter, const QByteArray &text)
{
    return QStringLiteral("=?utf-8?%1?%2?=").arg(QLatin1StringView(letter), QString::fromLatin1(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = DecodeUtf8OrLatin1(bytes);

    const QString decoded = DecodeEncodedWords(text);
    Check(CodePointCount(decoded) <= kMaxTextLength);
    // Without a word to decode the text stays as it is, only cut to length.
    if (!text.contains(QStringLiteral("=?")))
        Check(decoded == CutText(text));

    // The same text sent as one B word, one Q word, and as two B words split at a byte the
    // input chooses: each decodes to the text with underscores read as blanks. A leading
    // byte-order mark is left out: a decoder may take it for a mark and drop it.
    const QString plain = QString::fromUtf8(bytes.left(600));
    if (plain.isEmpty() || plain.startsWith(QChar(0xFEFF)))
        return 0;
    const QByteArray utf8 = plain.toUtf8();
    QString expected = plain;
    expected.replace(u'_', u' ');
    expected = CutText(expected);

    Check(DecodeEncodedWords(Word("B", EncodeBase64Text(utf8))) == expected);
    // A Q word's text ends at its first line break.
    if (!utf8.contains('\n') && !utf8.contains('\r'))
        Check(DecodeEncodedWords(Word("q", QEncoded(utf8))) == expected);
    if (utf8.size() >= 2) {
        const qsizetype cut = 1 + qsizetype(uint8_t(utf8.at(0))) % (utf8.size() - 1);
        const QString two = Word("b", EncodeBase64Text(utf8.left(cut))) + QStringLiteral(" \t ")
            + Word("B", EncodeBase64Text(utf8.mid(cut)));
        Check(DecodeEncodedWords(two) == expected);
    }
    return 0;
}
