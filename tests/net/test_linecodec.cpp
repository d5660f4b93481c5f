// The pure readers under the POP3 client: server addresses, dot-terminated blocks and replies.
#include "linecodec.h"
#include "pop3parse.h"

#include <gtest/gtest.h>

namespace {

struct ServerCase { const char *server; const char *host; quint16 port; };

TEST(SplitServer, TakesHostAndPortApart)
{
    const ServerCase cases[] = {
        {"mail.example.com", "mail.example.com", 0},
        {"mail.example.com:pop3s", "mail.example.com", 0},   // letters: the services database decides
        {"mail.example.com:70000", "mail.example.com", 0},   // not a 16-bit port
        {"mail.example.com:-5", "mail.example.com", 0},
        {"mail.example.com:+5", "mail.example.com", 0},
        {"10.0.0.1:110:7", "10.0.0.1", 0},                   // only the first colon counts
        {"[::1]:2110", "::1", 2110},
        {"[2001:db8::5]", "2001:db8::5", 0},
        {"2001:db8::5", "2001:db8::5", 0},                   // a bare IPv6 address has no port
        {"  pop.example.org:110 ", "pop.example.org", 110},
    };
    for (const ServerCase &c : cases) {
        const TagServerAddress a = SplitServer(QString::fromLatin1(c.server));
        EXPECT_EQ(a.Host, QString::fromLatin1(c.host)) << c.server;
        EXPECT_EQ(a.Port, c.port) << c.server;
    }
}

// Stuffing and decoding giving the message back, wherever the network cuts it, is checked by
// the POP3 reply fuzz target on every input; these are blocks that no stuffing writes.
TEST(DotDecoder, StopsAtTheEndLineAndTakesNothingAfterIt)
{
    // consumed: bytes of wire that belong to the block, -1 = all.
    struct Case { const char *name; QByteArray wire; QByteArray message; qsizetype consumed; };
    const Case cases[] = {
        {"lone doubled dot line", "a\r\n..\r\n.\r\n", "a\r\n.\r\n", -1},
        {"bare LF lines", "a\n..b\n.\n", "a\n.b\n", -1},
        {"dot CR not followed by LF", ".\rx\r\n.\r\n", "\rx\r\n", -1},
        {"bytes after the end line are not taken", "a\r\n.\r\n+OK next", "a\r\n", 6},
        {"end line needs a line start", "a.\r\n.\r\n", "a.\r\n", -1},
    };
    for (const Case &c : cases) {
        TagDotDecoder decoder;
        QByteArray out;
        EXPECT_EQ(decoder.Feed(c.wire, out), c.consumed < 0 ? c.wire.size() : c.consumed) << c.name;
        EXPECT_TRUE(decoder.Done()) << c.name;
        EXPECT_EQ(out, c.message) << c.name;
    }
}

TEST(Pop3Replies, StatListAndUidlLines)
{
    // STAT: "count size" as read, "-" when the line is refused.
    const std::pair<const char *, const char *> stat[] = {
        {"+OK 2 320", "2 320"}, {"+OK 0 0", "0 0"}, {"+OK 7", "7 -1"},  // a count alone
        {"+OK 3 4096 messages follow", "3 4096"}, {"+OK  5\t100", "5 100"}, {"+OK", "-"}, {"+OK lots 100", "-"},
        {"+OK -1 100", "-"}, {"+OK 99999999999 1", "-"},  // more messages than a count can hold
        {"+OK 3 big", "-"},
    };
    for (const auto &[line, expected] : stat) {
        int count = -1;
        qint64 size = -2;
        const bool ok = ParseStatReply(QString::fromLatin1(line), count, size);
        EXPECT_EQ(ok ? QString("%1 %2").arg(count).arg(size) : QString("-"), expected) << line;
    }
    // LIST n: the size, 0 when there is none; more text after it is allowed.
    const std::pair<const char *, qint64> list[] = {
        {"+OK 2 1200", 1200}, {"+OK 2 1200 octets", 1200}, {"+OK 2 1200\tsomething", 1200}, {"+OK 2", 0},
        {"+OK 2 lots", 0},    {"+OK", 0},                  {"+OK 2 3000000000", 3000000000LL},
    };
    for (const auto &[line, size] : list)
        EXPECT_EQ(ParseListSize(QString::fromLatin1(line)), size) << line;

    EXPECT_EQ(ParseUidlReply(QStringLiteral("+OK 3 00000003abc"), 3), QStringLiteral("00000003abc"));
    EXPECT_EQ(ParseUidlReply(QStringLiteral("+OK 4 00000003abc"), 3), QString());  // another message
    EXPECT_EQ(ParseUidlReply(QStringLiteral("+OK 3"), 3), QString());
    EXPECT_EQ(ParseUidlReply(QStringLiteral("+OK 3 ") + QString(71, u'x'), 3), QString());
    const QHash<int, QString> ids = ParseUidlListing("1 aa\r\n2 bb\r\nthree cc\r\n4\r\n5 \x01x\r\n6 ff extra\r\n");
    EXPECT_EQ(ids, (QHash<int, QString>{{1, "aa"}, {2, "bb"}, {6, "ff"}}));
    EXPECT_EQ(ParseListListing("1 120\r\n2 3000000000 octets\r\nthree 5\r\n4\r\n5 -1\r\n0 9\r\n"),
              (QHash<int, qint64>{{1, 120}, {2, 3000000000LL}}));
}

TEST(Pop3Replies, HeaderLinesOfATopBlock)
{
    // Without an empty line everything stays, the body line included.
    EXPECT_EQ(HeadersFromBlock("From: a@b\r\nbody\r\n"), (QStringList{"From: a@b", "body"}));
    // 8-bit header bytes that are not UTF-8 are read as Latin-1, not lost.
    EXPECT_EQ(HeadersFromBlock("Subject: caf\xe9\r\n\r\n"), QStringList{QStringLiteral("Subject: caf\u00e9")});
}

TEST(Pop3Replies, SameHeadersIgnoresOnlyStatusFields)
{
    const QStringList stored = {"From: a@b", "Status: O", "Subject: one", "X-Status: ", "Message-ID: <1@b>"};
    struct Case { const char *name; QStringList fresh; bool same; };
    const Case cases[] = {
        {"identical", stored, true},
        {"status rewritten", {"From: a@b", "Status: RO", "Subject: one", "X-Status: A", "Message-ID: <1@b>"}, true},
        {"status removed", {"From: a@b", "Subject: one", "Message-ID: <1@b>"}, true},
        {"status folded", {"From: a@b", "status: RO", " x", "Subject: one", "Message-ID: <1@b>"}, true},
        {"other message", {"From: a@b", "Status: O", "Subject: two", "X-Status: ", "Message-ID: <2@b>"}, false},
        {"line added", {"From: a@b", "Status: O", "Subject: one", "X-Status: ", "Message-ID: <1@b>", "X-New: 1"}, false},
        {"a Status-like name", {"From: a@b", "Status-Report: 1", "Subject: one", "Message-ID: <1@b>"}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SameHeaders(stored, c.fresh), c.same) << c.name;
}

TEST(Pop3Replies, SameMessageNeedsEveryFactToAgree)
{
    const Pop3MessageFacts listed{1200, {"From: a@b", "Status: O", "Subject: one"}, "id-1"};
    struct Case { const char *name; Pop3MessageFacts fresh; bool same; };
    const Case cases[] = {
        {"identical", listed, true},
        {"status rewritten, no id now", {1200, {"From: a@b", "Status: RO", "Subject: one"}, ""}, true},
        {"other size, same id", {1201, listed.Headers, "id-1"}, false},
        {"other headers, same id", {1200, {"From: a@b", "Subject: two"}, "id-1"}, false},
        {"other id, same size and headers", {1200, listed.Headers, "id-2"}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SameMessage(listed, c.fresh), c.same) << c.name;
    // Without an id in the listing, size and header lines decide.
    EXPECT_TRUE(SameMessage({1200, listed.Headers, ""}, {1200, listed.Headers, "id-9"}));

    const QHash<int, QString> ids{{1, "a"}, {2, "b"}, {3, "b"}};
    EXPECT_EQ(FindUniqueId(ids, "a"), 1);
    EXPECT_EQ(FindUniqueId(ids, "b"), 0) << "an id held twice names no message";
    EXPECT_EQ(FindUniqueId(ids, "c"), 0);
}

TEST(Pop3Replies, CapabilityListings)
{
    struct Case { const char *name; QByteArray block; bool pipelining; int loginDelay; bool perUser; };
    const Case cases[] = {
        {"Empty", "", false, -1, false},
        {"LowerCase", "pipelining\r\nlogin-delay 300\r\n", true, 300, false},
        {"PerUser", "LOGIN-DELAY 900 USER\r\n", false, 900, true},
        {"BareLf", "PIPELINING\nLOGIN-DELAY 60\n", true, 60, false},
        {"DelayNotANumber", "LOGIN-DELAY soon\r\n", false, -1, false},
        {"DelayMissing", "LOGIN-DELAY\r\n", false, -1, false},
        {"DelayNegative", "LOGIN-DELAY -5\r\n", false, -1, false},
        {"DelayHuge", "LOGIN-DELAY 99999999999\r\n", false, -1, false},
        {"PipeliningAsArgument", "X-PIPELINING\r\nSASL PIPELINING\r\n", false, -1, false},
    };
    for (const Case &c : cases) {
        const Pop3Capabilities caps = ParseCapaListing(c.block);
        EXPECT_EQ(caps.Pipelining, c.pipelining) << c.name;
        EXPECT_EQ(caps.LoginDelay, c.loginDelay) << c.name;
        EXPECT_EQ(caps.LoginDelayPerUser, c.perUser) << c.name;
    }
    QByteArray many;
    for (int i = 0; i < 500; ++i)
        many += "X-CAP-" + QByteArray::number(i) + "\r\n";
    EXPECT_EQ(ParseCapaListing(many + "PIPELINING\r\n").Lines.size(), kMaxCapaLines);

    const std::pair<const char *, bool> codes[] = {
        {"-ERR [LOGIN-DELAY] wait a while", true}, {"-ERR [login-delay] wait", true},
        {"-ERR [IN-USE] mailbox locked", false},   {"-ERR wrong password [LOGIN-DELAY]", false},
        {"+OK [LOGIN-DELAY]", false},              {"", false},
    };
    for (const auto &[line, expected] : codes)
        EXPECT_EQ(HasLoginDelayCode(QString::fromLatin1(line)), expected) << line;
}

} // namespace
