#pragma once

#include "headers.h"

#include <QByteArray>
#include <QHash>
#include <QString>

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

// The header lines of a TOP block: one entry per line, cut at the first empty line.
TmsHeaders HeadersFromBlock(const QByteArray &block);

// Whether two header lists are those of the same message. "Status:" and "X-Status:" fields
// (with their continuation lines) are left out of the comparison: some servers rewrite them
// when a message has been read.
bool SameHeaders(const TmsHeaders &stored, const TmsHeaders &fresh);
