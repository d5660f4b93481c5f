#include "linecodec.h"

#include <QHostAddress>
#include <cstring>

namespace {
quint16 ParsePort(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return 0;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value >= 1 && value <= 65535 ? quint16(value) : 0;
}
} // namespace

TagServerAddress SplitServer(const QString &server)
{
    const QString text = server.trimmed();
    TagServerAddress result;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            result.Host = text.mid(1, close - 1);
            if (text.size() > close + 1 && text.at(close + 1) == u':')
                result.Port = ParsePort(text.mid(close + 2));
            return result;
        }
    }
    // A bare IPv6 address has colons of its own and no port.
    if (text.count(u':') > 1) {
        QHostAddress address;
        if (address.setAddress(text) && address.protocol() == QAbstractSocket::IPv6Protocol) {
            result.Host = text;
            return result;
        }
    }
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0) {
        result.Host = text;
        return result;
    }
    result.Host = text.left(colon);
    result.Port = ParsePort(text.mid(colon + 1));
    return result;
}

qsizetype TagDotDecoder::Feed(const char *data, qsizetype size, QByteArray &out)
{
    qsizetype i = 0;
    while (i < size && m_state != State::Finished) {
        switch (m_state) {
        case State::LineStart:
            if (data[i] == '.') {
                m_state = State::Dot;
                ++i;
            } else {
                m_state = State::InLine;
            }
            break;
        case State::InLine: {
            const void *lf = std::memchr(data + i, '\n', size_t(size - i));
            if (lf) {
                const qsizetype end = static_cast<const char *>(lf) - data + 1;
                out.append(data + i, end - i);
                i = end;
                m_state = State::LineStart;
            } else {
                out.append(data + i, size - i);
                i = size;
            }
            break;
        }
        case State::Dot:
            // The leading dot is dropped whatever follows, unless the line is the end line.
            if (data[i] == '\r') {
                m_state = State::DotCR;
                ++i;
            } else if (data[i] == '\n') {
                m_state = State::Finished;
                ++i;
            } else {
                m_state = State::InLine;
            }
            break;
        case State::DotCR:
            if (data[i] == '\n') {
                m_state = State::Finished;
                ++i;
            } else {
                out.append('\r');
                m_state = State::InLine;
            }
            break;
        case State::Finished:
            break;
        }
    }
    return i;
}

qint64 RoundHalfEven(qint64 numerator, qint64 denominator)
{
    const qint64 q = numerator / denominator;
    const qint64 twice = 2 * (numerator % denominator);
    if (twice > denominator || (twice == denominator && (q % 2) != 0))
        return q + 1;
    return q;
}
