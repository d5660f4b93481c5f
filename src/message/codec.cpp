#include "codec.h"

namespace {

// 6-bit value of a base64 character, 0 for the padding "=", -1 for anything else.
int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    if (c == '=')
        return 0; // padding adds no bits; the padded bytes are dropped below
    return -1;
}

} // namespace

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}


std::optional<QByteArray> DecodeBase64Text(const QByteArray &text)
{
    QByteArray out;
    const qsizetype n = text.size();
    out.reserve(n / 4 * 3);
    // Only complete groups are decoded: a dangling group of one to three characters holds no
    // whole byte that a sender could have meant reliably.
    for (qsizetype i = 0; i + 4 <= n; i += 4) {
        quint32 bits = 0;
        for (qsizetype k = 0; k < 4; ++k) {
            const int v = Base64Value(text.at(i + k));
            if (v < 0)
                return std::nullopt;
            bits = (bits << 6) | quint32(v);
        }
        // Padding is counted per group, so that a padded group in the middle of a word
        // (two words glued together) adds no stray zero bytes.
        int padding = 0;
        while (padding < 3 && text.at(i + 3 - padding) == '=')
            ++padding;
        const char bytes[3] = {char((bits >> 16) & 0xFF), char((bits >> 8) & 0xFF),
                               char(bits & 0xFF)};
        out.append(bytes, 3 - padding);
    }
    // The characters of a dangling group are not decoded, but must still be valid text.
    for (qsizetype i = n - n % 4; i < n; ++i)
        if (Base64Value(text.at(i)) < 0)
            return std::nullopt;
    return out;
}

QByteArray EncodeBase64Text(const QByteArray &bytes)
{
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; i += 3) {
        const qsizetype take = qMin<qsizetype>(3, n - i);
        quint32 bits = quint32(quint8(bytes.at(i))) << 16;
        if (take > 1)
            bits |= quint32(quint8(bytes.at(i + 1))) << 8;
        if (take > 2)
            bits |= quint32(quint8(bytes.at(i + 2)));
        out.append(alphabet[(bits >> 18) & 0x3F]);
        out.append(alphabet[(bits >> 12) & 0x3F]);
        out.append(take > 1 ? alphabet[(bits >> 6) & 0x3F] : '=');
        out.append(take > 2 ? alphabet[bits & 0x3F] : '=');
    }
    return out;
}

QByteArray DecodeQPText(const QByteArray &text)
{
    QByteArray out;
    const qsizetype n = text.size();
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text.at(i);
        if (c == '=') {
            if (i == n - 1)
                break; // soft line break
            if (i + 2 < n) {
                const int hi = HexValue(text.at(i + 1));
                const int lo = HexValue(text.at(i + 2));
                if (hi >= 0 && lo >= 0) {
                    out.append(char(hi * 16 + lo));
                    i += 2;
                    continue;
                }
            }
        }
        out.append(c);
    }
    const qsizetype lineBreak = [&out] {
        for (qsizetype i = 0; i < out.size(); ++i)
            if (out.at(i) == '\r' || out.at(i) == '\n')
                return i;
        return out.size();
    }();
    out.truncate(lineBreak);
    return out;
}
