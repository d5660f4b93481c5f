#pragma once

#include <QByteArray>
#include <QString>

// Pure pieces of the line transport: no sockets, no event loop.

// A "Server" setting taken apart: "host", "host:port", "[v6 address]:port" or a bare IPv6
// address. Port is 0 when the text has no usable port (none, letters, 0 or above 65535): the
// port then comes from the services database or the default.
struct TagServerAddress {
    QString Host;
    quint16 Port = 0;
};
TagServerAddress SplitServer(const QString &server);

// Decodes a POP3 multi-line data block as it arrives (RFC 1939, 3): the block ends with a line
// holding a single "." and a line that begins with "." has that first dot removed (so ".."
// becomes "."). Input may be cut anywhere; the decoder keeps what it needs across calls. Line
// ends are passed on as received. A "." line with a bare LF also ends the block.
class TagDotDecoder
{
public:
    // Appends the decoded bytes of data to out and returns how many bytes of data belong to
    // the block: all of them, or fewer when the end line was found before the end of data.
    qsizetype Feed(const char *data, qsizetype size, QByteArray &out);
    qsizetype Feed(const QByteArray &data, QByteArray &out) { return Feed(data.constData(), data.size(), out); }
    bool Done() const { return m_state == State::Finished; }

private:
    enum class State { LineStart, InLine, Dot, DotCR, Finished };
    State m_state = State::LineStart;
};

// Rounds numerator / denominator (both non-negative, denominator > 0) to the nearest integer,
// halves to the even neighbour.
qint64 RoundHalfEven(qint64 numerator, qint64 denominator);
