#include "msparams.h"

#include "textutil.h"

#include <QList>
#include <QMap>
#include <QStringDecoder>

namespace {

// One "name=value" of a parameter list: a plain value, an RFC 2231 extended one
// ("name*=charset'lang'%xx"), or a numbered section of a continued one ("name*0*=",
// "name*1=").
struct ParamPiece
{
    QString name;
    int section = -1;
    bool extended = false;
    QString value;
};

// Splits a header value at the semicolons outside quoted strings; quotes and quoted pairs
// of a value are undone. The piece before the first semicolon (the media type) is skipped.
QList<ParamPiece> ParamPieces(const QString &value)
{
    QList<ParamPiece> pieces;
    qsizetype i = 0;
    const qsizetype n = value.size();
    while (i < n && value.at(i) != u';') {
        if (value.at(i) == u'"') {
            const qsizetype close = value.indexOf(u'"', i + 1);
            i = close < 0 ? n : close;
        }
        ++i;
    }
    while (i < n && pieces.size() < 1000) {
        ++i; // the semicolon
        // Scanned once, character by character: a hostile value of many semicolons must not
        // make each piece look ahead to the end.
        qsizetype eq = i;
        while (eq < n && value.at(eq) != u'=' && value.at(eq) != u';')
            ++eq;
        if (eq >= n)
            break;
        if (value.at(eq) == u';') {
            i = eq;
            continue;
        }
        ParamPiece piece;
        QString name = value.mid(i, eq - i).trimmed();
        if (name.endsWith(u'*')) {
            piece.extended = true;
            name.chop(1);
        }
        const qsizetype star = name.indexOf(u'*');
        if (star >= 0) {
            bool ok = false;
            const int section = name.mid(star + 1).toInt(&ok);
            if (!ok || section < 0 || section > 999 || name.size() - star - 1 > 3)
                piece.section = -2; // not a section this reader knows: ignored
            else
                piece.section = section;
            name.truncate(star);
        }
        piece.name = name;
        i = eq + 1;
        while (i < n && value.at(i).unicode() <= 0x20)
            ++i;
        if (i < n && value.at(i) == u'"') {
            for (++i; i < n && value.at(i) != u'"'; ++i) {
                if (value.at(i) == u'\\' && i + 1 < n)
                    ++i;
                piece.value += value.at(i);
            }
            while (i < n && value.at(i) != u';')
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && value.at(i) != u';')
                ++i;
            // A bare value ends at its first blank, as it always has.
            const QString text = value.mid(start, i - start).trimmed();
            const qsizetype blank = text.indexOf(u' ');
            piece.value = blank < 0 ? text : text.left(blank);
        }
        if (piece.section != -2)
            pieces.append(piece);
    }
    return pieces;
}

QByteArray PercentBytes(const QString &text)
{
    // The bytes of an extended value are %xx escapes and ASCII; any other character is
    // kept as its UTF-8.
    return QByteArray::fromPercentEncoding(text.toUtf8());
}

} // namespace

QString MediaType(const QString &contentType)
{
    qsizetype end = 0;
    while (end < contentType.size() && contentType.at(end) != u' ' && contentType.at(end) != u';')
        ++end;
    return contentType.left(end).trimmed();
}

bool IsMime10(const QString &value)
{
    QString bare;
    int depth = 0;
    for (QChar c : value) {
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        else if (depth == 0)
            bare += c;
    }
    return bare.trimmed() == u"1.0";
}

QString DecodeText(const QByteArray &bytes, const QString &charset)
{
    const QString name = AsciiLower(charset.trimmed());
    if (name.isEmpty() || name == u"us-ascii" || name == u"ascii")
        return DecodeUtf8OrLatin1(bytes);
    QStringDecoder decoder(name.toLatin1().constData());
    if (!decoder.isValid())
        return DecodeUtf8OrLatin1(bytes);
    return decoder.decode(bytes);
}

QString GetParam(const QString &name, const QString &value)
{
    const QList<ParamPiece> pieces = ParamPieces(value);
    QString plain;
    bool havePlain = false;
    QMap<int, const ParamPiece *> sections;
    const ParamPiece *extended = nullptr;
    for (const ParamPiece &piece : pieces) {
        if (!AsciiEqualsIgnoreCase(piece.name, name))
            continue;
        if (piece.section >= 0) {
            if (!sections.contains(piece.section))
                sections.insert(piece.section, &piece);
        } else if (piece.extended) {
            if (!extended)
                extended = &piece;
        } else if (!havePlain) {
            plain = piece.value;
            havePlain = true;
        }
    }
    QString charset;
    QByteArray bytes;
    const auto addEncoded = [&](const QString &text, bool first) {
        QString data = text;
        if (first) {
            // charset'language'data; a value without both quotes is taken as data only.
            const qsizetype q1 = text.indexOf(u'\'');
            const qsizetype q2 = q1 < 0 ? -1 : text.indexOf(u'\'', q1 + 1);
            if (q2 >= 0) {
                charset = text.left(q1);
                data = text.mid(q2 + 1);
            }
        }
        bytes += PercentBytes(data);
    };
    if (sections.contains(0)) {
        // Sections count from 0 without gaps; a missing number ends the value.
        for (int k = 0; sections.contains(k); ++k) {
            const ParamPiece *piece = sections.value(k);
            if (piece->extended)
                addEncoded(piece->value, k == 0);
            else
                bytes += piece->value.toUtf8();
        }
        return DecodeText(bytes, charset).trimmed();
    }
    if (extended) {
        addEncoded(extended->value, true);
        return DecodeText(bytes, charset).trimmed();
    }
    return plain.trimmed();
}
