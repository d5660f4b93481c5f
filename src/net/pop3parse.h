#pragma once

#include "headers.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// Pure readers of POP3 replies (RFC 1939): no sockets, no event loop.

// 1 for a positive status line ("+OK ..."), -1 for a negative one ("-ERR ..."), 0 for an
// empty or any other line.
int Pop3ReplyCode(const QString &line);

// "+OK count size": false when there is no message count. A reply with a count alone is
// accepted; size is then -1.
bool ParseStatReply(const QString &line, int &count, qint64 &size);

// "+OK n size [more]": the size, 0 when it is missing or not a number. Text after the size is
// allowed (RFC 1939 lets the server add it).
qint64 ParseListSize(const QString &line);

// "+OK n unique-id": the unique-id, empty when the line does not hold one for message n.
QString ParseUidlReply(const QString &line, int messageNumber);

// The lines "n unique-id" of a UIDL listing, by message number. Malformed lines are left out.
QHash<int, QString> ParseUidlListing(const QByteArray &block);

// The lines "n size" of a LIST listing, by message number. Malformed lines are left out.
QHash<int, qint64> ParseListListing(const QByteArray &block);

// The header lines of a TOP block: one entry per line, cut at the first empty line.
TmsHeaders HeadersFromBlock(const QByteArray &block);

// Whether two header lists are those of the same message. "Status:" and "X-Status:" fields
// (with their continuation lines) are left out of the comparison: some servers rewrite them
// when a message has been read.
bool SameHeaders(const TmsHeaders &stored, const TmsHeaders &fresh);

// What the client learns of one message when it lists it, or looks at it again before acting
// on it.
struct Pop3MessageFacts {
    qint64 Size = 0;     // octets from LIST
    TmsHeaders Headers;  // the header lines from TOP n 1
    QString Uidl;        // the unique id from UIDL; empty when the server gave none
};

// Whether fresh facts describe the listed message: the same size, the same header lines (see
// SameHeaders) and, when both carry a unique id, the same id. Any difference means another
// message: servers that reuse ids or number them by position give a matching id to a different
// message, so an id never outweighs a different size or different header lines.
bool SameMessage(const Pop3MessageFacts &listed, const Pop3MessageFacts &fresh);

// The message number that carries id in a UIDL listing; 0 when no message or more than one does.
int FindUniqueId(const QHash<int, QString> &ids, const QString &id);

// What a server announced in its CAPA listing (RFC 2449). Tags are compared without regard
// to case; unknown ones are kept in Lines only.
struct Pop3Capabilities {
    QStringList Lines;        // every capability line as sent
    bool Pipelining = false;  // PIPELINING: commands may be sent without waiting for replies
    bool Uidl = false;
    // LOGIN-DELAY: the seconds the server wants between two log-ins; -1 when not announced.
    int LoginDelay = -1;
    // LOGIN-DELAY ... USER: the value may differ per user, and the server tells the real
    // one after the log-in.
    bool LoginDelayPerUser = false;
};

// The lines of a CAPA data block. Over-long lines and more than kMaxCapaLines lines are left
// out; a LOGIN-DELAY whose argument is not a number counts as not announced.
Pop3Capabilities ParseCapaListing(const QByteArray &block);
inline constexpr int kMaxCapaLines = 100;

// Whether a negative reply carries the response code [LOGIN-DELAY] (RFC 2449): the server
// refused the log-in because the last one was too recent.
bool HasLoginDelayCode(const QString &line);
