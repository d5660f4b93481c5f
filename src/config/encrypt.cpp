#include "encrypt.h"

#include "textutil.h"

quint16 ScrambleStartKey(int slot)
{
    return quint16(slot + kScrambleKeyOffset);
}

static inline quint16 advance(quint16 key, quint8 scrambled)
{
    // The arithmetic is done in 32 bits and cut back, which is the mod 65536 of the scheme.
    return quint16((quint32(quint16(key + scrambled)) * kScrambleMultiplier + kScrambleAddend)
                   & 0xFFFFu);
}

QByteArray ScrambleBytes(const QByteArray &plain, quint16 startKey)
{
    QByteArray out(plain.size(), Qt::Uninitialized);
    quint16 key = startKey;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const quint8 s = quint8(plain.at(i)) ^ quint8(key >> 8);
        out[i] = char(s);
        key = advance(key, s);
    }
    return out;
}

QByteArray UnscrambleBytes(const QByteArray &scrambled, quint16 startKey)
{
    QByteArray out(scrambled.size(), Qt::Uninitialized);
    quint16 key = startKey;
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        const quint8 s = quint8(scrambled.at(i));
        out[i] = char(s ^ quint8(key >> 8));
        key = advance(key, s);
    }
    return out;
}

QString ScramblePassword(const QString &password, int slot)
{
    return QString::fromLatin1(ScrambleBytes(password.toUtf8(), ScrambleStartKey(slot)).toHex());
}

static bool isHexText(const QString &text)
{
    if (text.size() % 2 != 0)
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')))
            return false;
    }
    return true;
}

std::optional<QString> UnscramblePassword(const QString &stored, int slot)
{
    if (!isHexText(stored))
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(stored.toLatin1());
    return DecodeUtf8OrLatin1(UnscrambleBytes(bytes, ScrambleStartKey(slot)));
}
