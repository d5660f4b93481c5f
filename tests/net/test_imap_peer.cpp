// The IMAP response parser on its own, and the IMAP mailbox against scripted servers: what
// Dovecot will not do (no MOVE, no UIDPLUS, no LITERAL+, a BYE mid-command, oversized or
// stalled replies) and the exact command traffic.
#include "scripted_peer.h"

#include "imap.h"

#include <gtest/gtest.h>

namespace {

QString Describe(const QList<ImapValue> &values);

QString Describe(const ImapValue &value)
{
    switch (value.kind) {
    case ImapValue::Kind::Atom: return QString::fromLatin1(value.text);
    case ImapValue::Kind::Nil: return QStringLiteral("NIL");
    case ImapValue::Kind::String: return u'"' + QString::fromLatin1(value.text) + u'"';
    case ImapValue::Kind::List: return u'(' + Describe(value.items) + u')';
    }
    return {};
}

QString Describe(const QList<ImapValue> &values)
{
    QStringList parts;
    for (const ImapValue &value : values)
        parts << Describe(value);
    return parts.join(u' ');
}

// kind tag status number [code args] data | text
QString Describe(const ImapResponse &r)
{
    static const char *kinds[] = {"invalid", "*", "tagged", "+"};
    if (r.kind == ImapResponse::Kind::Invalid)
        return QStringLiteral("invalid");
    QString out = QLatin1String(kinds[int(r.kind)]);
    for (const QString &part : {QString::fromLatin1(r.tag), QString::fromLatin1(r.status),
                                r.number >= 0 ? QString::number(r.number) : QString()})
        if (!part.isEmpty())
            out += u' ' + part;
    if (!r.code.isEmpty())
        out += QStringLiteral(" [%1 %2]").arg(QString::fromLatin1(r.code), Describe(r.codeArgs));
    if (!r.data.isEmpty())
        out += u' ' + Describe(r.data);
    return out + QStringLiteral(" | ") + r.text;
}

TEST(ImapParse, Responses)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"* OK [CAPABILITY IMAP4rev1 LITERAL+ AUTH=PLAIN] Ready.", "* OK [CAPABILITY IMAP4rev1 LITERAL+ AUTH=PLAIN] | Ready."},
        {"* ok [uidvalidity 1700000000] UIDs valid", "* OK [UIDVALIDITY 1700000000] | UIDs valid"},
        {"* OK [PERMANENTFLAGS (\\Deleted \\Seen \\*)] Limited", "* OK [PERMANENTFLAGS (\\Deleted \\Seen \\*)] | Limited"},
        {"* OK [REFERRAL imap://h/;AUTH=*] {5}", "* OK [REFERRAL imap://h/;AUTH=*] | {5}"},
        {"* OK [ALERT]", "* OK [ALERT ] | "},
        {"A12 NO [TRYCREATE] No such folder", "tagged A12 NO [TRYCREATE ] | No such folder"},
        {"* 12 EXISTS", "* EXISTS 12 | "},
        {"* SEARCH 3 5 9", "* SEARCH 3 5 9 | "},
        {"* SEARCH", "* SEARCH | "},
        {"+ dGVzdA==", "+ | dGVzdA=="},
        {"+", "+ | "},
        {"* 1 FETCH (UID 5 RFC822.SIZE 120 BODY[HEADER] {6}\r\nAb\r\n\r\n)", "* FETCH 1 (UID 5 RFC822.SIZE 120 BODY[HEADER] \"Ab\r\n\r\n\") | "},
        // Literals in odd places: first in the list, holding what looks like syntax, empty.
        {"* 2 FETCH (BODY[HEADER] {7}\r\n){1}(\r\n UID 7 BODY[] {0}\r\n)", "* FETCH 2 (BODY[HEADER] \"){1}(\r\n\" UID 7 BODY[] \"\") | "},
        {"* LIST (\\HasNoChildren \\Junk) \"/\" {4}\r\nSpam", "* LIST (\\HasNoChildren \\Junk) \"/\" \"Spam\" | "},
        {"* LIST () NIL \"a \\\"b\\\" \\\\c\"", "* LIST () NIL \"a \"b\" \\c\" | "},
        {"* 3 FETCH (BODY[HEADER.FIELDS (FROM TO)] NIL FLAGS (\\Seen))", "* FETCH 3 (BODY[HEADER.FIELDS (FROM TO)] NIL FLAGS (\\Seen)) | "},
        {"* BYE Server shutting down", "* BYE | Server shutting down"},
        // Not IMAP: each is refused whole.
        {"* 1 FETCH (UID 5", "invalid"},
        {"* 1 FETCH (BODY[HEADER] {10}\r\nabc)", "invalid"},
        {"* 1 FETCH (BODY[HEADER] {3}abc)", "invalid"},
        {"* LIST (" + QByteArray(kImapMaxNesting + 1, '(') + ")", "invalid"},
        {"* 4294967296 EXISTS", "invalid"},
        {"* 1 OK fine", "invalid"},
        {"A1 PREAUTH x", "invalid"},
        {"A1 SEARCH 1", "invalid"},
        {"* LIST () \"a\nb\" x", "invalid"},
        {"", "invalid"},
        {"*", "invalid"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(Describe(ParseImapResponse(input)), expected) << input.toStdString();
}

TEST(ImapParse, ItemsOfFetchSearchAndList)
{
    const std::optional<ImapFetchItems> fetch =
        ImapFetchFrom(ParseImapResponse("* 2 FETCH (FLAGS () BODY[HEADER] {4}\r\nA\r\n\r UID 7 RFC822.SIZE 4294967296)"));
    ASSERT_TRUE(fetch);
    EXPECT_EQ(fetch->uid, 7u);
    EXPECT_EQ(fetch->size, 4294967296LL);
    EXPECT_EQ(fetch->header, QByteArray("A\r\n\r"));
    EXPECT_FALSE(fetch->body);
    for (const QByteArray bad : {"* 2 FETCH (UID 0)", "* 2 FETCH (UID)", "* 2 FETCH (RFC822.SIZE -1)",
                                 "* 2 FETCH (BODY[HEADER] (x))", "* 2 EXPUNGE"})
        EXPECT_FALSE(ImapFetchFrom(ParseImapResponse(bad))) << bad.toStdString();

    EXPECT_EQ(ImapSearchResult(ParseImapResponse("* SEARCH 9 4294967295")), (QList<quint32>{9, 4294967295u}));
    EXPECT_FALSE(ImapSearchResult(ParseImapResponse("* SEARCH 9 0")));
    const std::optional<ImapListEntry> list = ImapListFrom(ParseImapResponse("* LIST (\\Junk) \".\" \"Spam box\""));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->attributes, QStringList{"\\JUNK"});
    EXPECT_EQ(list->name, "Spam box");

    const std::pair<QByteArray, qint64> literals[] = {
        {"* 1 FETCH (BODY[] {12}", 12}, {"{0}", 0}, {"x {99999999999999999999}", -1}, {"x {1a}", -1}, {"x {}", -1}, {"x 12}", -1}};
    for (const auto &[line, size] : literals)
        EXPECT_EQ(ImapLiteralAtEnd(line), size) << line.toStdString();
    EXPECT_EQ(ImapUidSet({9, 3, 4, 5, 7, 4, 8}), "3:5,7:9");
    EXPECT_EQ(ImapQuoted("INBOX"), QByteArray("INBOX"));
    EXPECT_EQ(ImapQuoted("a \"b\\"), QByteArray("\"a \\\"b\\\\\""));
    EXPECT_EQ(ImapQuoted("nil"), QByteArray("\"nil\""));
    EXPECT_FALSE(ImapQuoted("p\xc3\xa4ss"));
    const std::pair<QString, QByteArray> names[] = {{"INBOX", "INBOX"}, {QString::fromUtf8("Entw\xc3\xbcrfe"), "Entw&APw-rfe"},
        {"A&B", "A&-B"}, {QString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"), "&ZeVnLIqe-"}};
    for (const auto &[name, encoded] : names) {
        EXPECT_EQ(ImapMailboxName(name), encoded);
        EXPECT_EQ(ImapMailboxText(encoded), name);
    }
}

// ---- the mailbox against scripted servers ----

const QByteArray kHeader7 = "Subject: seven\r\n\r\n";
const QByteArray kHeader9 = "Subject: nine\r\n\r\n";

QByteArray Literal(const QByteArray &bytes)
{
    return '{' + QByteArray::number(bytes.size()) + "}\r\n" + bytes;
}

// Greeting, log-in with an 8-bit password (a literal), the folder, a listing of UIDs 9 and 7.
PeerScript Listing(const QByteArray &caps, int &tag)
{
    const auto t = [&tag] { return "A" + QByteArray::number(tag++); };
    PeerScript s;
    s << PeerStep{"", "* OK [CAPABILITY IMAP4rev1 " + caps + "] ready\r\n"};
    const QByteArray login = t();
    if (caps.contains("LITERAL+")) {
        s << PeerStep{login + " LOGIN alice {7+}", ""};
    } else {
        s << PeerStep{login + " LOGIN alice {7}", "+ go ahead\r\n"};
    }
    s << PeerStep{"p\xc3\xa4sswd", login + " OK Logged in\r\n"};
    const QByteArray capability = t();
    s << PeerStep{capability + " CAPABILITY", "* CAPABILITY IMAP4rev1 " + caps + "\r\n" + capability + " OK\r\n"};
    const QByteArray examine = t();
    s << PeerStep{examine + " EXAMINE INBOX", "* 2 EXISTS\r\n* OK [UIDVALIDITY 42] ok\r\n" + examine + " OK [READ-ONLY]\r\n"};
    const QByteArray search = t();
    s << PeerStep{search + " UID SEARCH UNSEEN UNDELETED", "* SEARCH 7 9\r\n" + search + " OK\r\n"};
    const QByteArray fetch = t();
    // The literal of one message comes before its UID.
    s << PeerStep{fetch + " UID FETCH 7,9 (UID RFC822.SIZE BODY.PEEK[HEADER])",
                  "* 1 FETCH (UID 7 RFC822.SIZE 40 BODY[HEADER] " + Literal(kHeader7) + ")\r\n* 2 FETCH (BODY[HEADER] "
                      + Literal(kHeader9) + " UID 9 RFC822.SIZE 50)\r\n" + fetch + " OK\r\n"};
    return s;
}

TImapSettings PeerSettings(const ScriptedPeer &peer)
{
    TImapSettings settings;
    settings.server = peer.Server();
    settings.tls = {};
    settings.user = "alice";
    settings.password = QString::fromUtf8("p\xc3\xa4sswd");
    settings.timeOutSeconds = 5;
    return settings;
}

TEST(ImapPeer, DeletionUsesWhatTheServerOffersAndNeverAPlainExpunge)
{
    struct Case {
        const char *name;
        QByteArray caps;
        TImapSettings::Action action;
        QByteArray listed;   // the LIST responses
        QList<PeerStep> commit;
        bool notice;
        const char *error;
        // Connect, greeting, log-in with the search (the literal's invitation is one more),
        // fetch, the deletion's check, a COPY, and the last commands with LOGOUT.
        int roundTrips;
    };
    const QByteArray junk = "* LIST (\\HasNoChildren \\Junk) \"/\" \"Spam mail\"\r\n* LIST () \"/\" INBOX\r\n";
    const Case cases[] = {
        {"move", "MOVE UIDPLUS LITERAL+", TImapSettings::Action::MoveToJunk, junk,
         {{"A9 UID MOVE 9 \"Spam mail\"", "* 2 EXPUNGE\r\nA9 OK\r\n"}}, false, nullptr, 6},
        {"uidplus", "UIDPLUS", TImapSettings::Action::MoveToTrash, "* LIST () \"/\" INBOX\r\n",
         {{"A9 UID COPY 9 Bin", "A9 OK\r\n"}, {"A10 UID STORE 9 +FLAGS.SILENT (\\Deleted)", "A10 OK\r\n"},
          {"A11 UID EXPUNGE 9", "* 2 EXPUNGE\r\nA11 OK\r\n"}}, false, nullptr, 8},
        {"neither", "", TImapSettings::Action::MoveToJunk, junk,
         {{"A9 UID COPY 9 \"Spam mail\"", "A9 OK\r\n"}, {"A10 UID STORE 9 +FLAGS.SILENT (\\Deleted)", "A10 OK\r\n"}},
         true, nullptr, 8},
        {"for good", "MOVE", TImapSettings::Action::DeleteForGood, "",
         {{"A8 UID STORE 9 +FLAGS.SILENT (\\Deleted)", "A8 OK\r\n"}}, true, nullptr, 7},
        {"copy refused", "UIDPLUS", TImapSettings::Action::MoveToJunk, junk,
         {{"A9 UID COPY 9 \"Spam mail\"", "A9 NO [TRYCREATE] no such folder\r\n"}}, false, "Spam mail", 7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        int tag = 1;
        PeerScript script = Listing(c.caps, tag);
        script << PeerStep{"A6 SELECT INBOX", "* OK [UIDVALIDITY 42] ok\r\nA6 OK [READ-WRITE]\r\n"};
        if (c.action != TImapSettings::Action::DeleteForGood)
            script << PeerStep{"A7 LIST \"\" \"*\"", c.listed + "A7 OK\r\n"};
        const QByteArray fetch = c.action == TImapSettings::Action::DeleteForGood ? "A7" : "A8";
        script << PeerStep{fetch + " UID FETCH 9 (UID RFC822.SIZE BODY.PEEK[HEADER])",
                           "* 2 FETCH (UID 9 RFC822.SIZE 50 BODY[HEADER] " + Literal(kHeader9) + ")\r\n" + fetch + " OK\r\n"};
        script << c.commit;
        if (!c.error) {
            const QByteArray logout = "A" + QByteArray::number(8 + (c.action != TImapSettings::Action::DeleteForGood) + c.commit.size());
            script << PeerStep{logout + " LOGOUT", "* BYE bye\r\n" + logout + " OK\r\n", PeerAction::ReplyAndClose};
        }
        ScriptedPeer peer{script};
        TImapSettings settings = PeerSettings(peer);
        settings.action = c.action;
        settings.trashFolder = "Bin";
        TImapMailbox mailbox(settings);
        mailbox.LogIn();
        const TMailboxListing listing = mailbox.List();
        ASSERT_EQ(listing.messages.size(), 2);
        EXPECT_EQ(listing.messages[0].uid, "42:9");
        EXPECT_EQ(listing.messages[0].size, 50);
        EXPECT_EQ(listing.messages[1].headers, QStringList{"Subject: seven"});
        const TMailboxDeletion deletion = mailbox.Delete(listing, {0});
        EXPECT_EQ(deletion.deleted, QList<int>{0});
        if (c.error) {
            EXPECT_TRUE(ErrorOf<EServerError>([&] { mailbox.Commit(); }).contains(c.error));
            EXPECT_FALSE(mailbox.Client().Connected());
        } else {
            mailbox.Commit();
        }
        EXPECT_EQ(!mailbox.Notice().isEmpty(), c.notice);
        EXPECT_EQ(mailbox.Client().RoundTrips(), c.roundTrips);
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        EXPECT_EQ(peer.Received().size(), script.size() - 1);
    }
}

TEST(ImapPeer, AFaultyServerEndsTheSessionWithAMessage)
{
    struct Case {
        const char *name;
        PeerStep step;   // the reply to the search
        const char *error;
    };
    const Case cases[] = {
        {"bye", {"A4 UID SEARCH UNSEEN UNDELETED", "* SEARCH 7\r\n* BYE Shutting down\r\n", PeerAction::ReplyAndClose},
         "The server ended the session: Shutting down"},
        {"oversized literal", {"A4 UID SEARCH UNSEEN UNDELETED", "* SEARCH 7\r\nA4 OK\r\n"}, "accepts at most 1048576"},
        {"closed mid-line", {"A4 UID SEARCH UNSEEN UNDELETED", "* SEARCH 7", PeerAction::ReplyAndClose}, "Error #10054"},
        {"stalled", {"A4 UID SEARCH UNSEEN UNDELETED", "", PeerAction::Stall}, "Operation timed out"},
        // Each response comes within the wait for it, but the command never ends.
        {"dribbled", {"A4 UID SEARCH UNSEEN UNDELETED", QByteArray("* OK\r\n").repeated(12) + "A4 OK\r\n", PeerAction::Trickle},
         "Operation timed out"},
        {"garbage", {"A4 UID SEARCH UNSEEN UNDELETED", "* SEARCH 7 (\r\nA4 OK\r\n"}, "cannot read: * SEARCH 7 ("},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        int tag = 1;
        PeerScript script = Listing("LITERAL+", tag).mid(0, 5);
        script << c.step;
        script << PeerStep{"A5 UID FETCH 7 (UID RFC822.SIZE BODY.PEEK[HEADER])", "* 1 FETCH (UID 7 BODY[HEADER] {2000000}\r\n"};
        ScriptedPeer peer{script};
        TImapSettings settings = PeerSettings(peer);
        // Each short response trickles in within the wait for it (six bytes, 150 ms apart).
        settings.timeOutSeconds = 2;
        TImapMailbox mailbox(settings);
        mailbox.LogIn();
        QString error;
        try {
            mailbox.List();
            error = "no error";
        } catch (const ENetError &e) {
            error = e.Message();
        }
        EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
        EXPECT_FALSE(mailbox.Client().Connected());
    }
}

// A listing that ends its session: the search goes with the log-in, the goodbye with the
// fetch. A refusal in the log-in's batch names the command refused, not one queued behind it.
TEST(ImapPeer, AListingTakesFourRoundTripsAndARefusalIsReportedForItsCommand)
{
    struct Case {
        const char *name;
        int refused;        // the step of Listing() answered NO, or -1
        const char *error;  // what the user is told
    };
    const Case cases[] = {
        {"all accepted", -1, nullptr},
        {"log-in refused", 2, "refused the log-in (no)"},
        {"folder refused", 4, "\"INBOX\" cannot be opened (no)"},
        {"search refused", 5, "refused to search the folder: no"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        int tag = 1;
        PeerScript script = Listing("LITERAL+", tag);
        // Every command of the batch after the refused one fails as well.
        for (int i = c.refused; i > 0 && i < 6; ++i)
            script[i].reply = "A" + QByteArray::number(i - 1) + " NO no\r\n";
        script.resize(c.error ? 6 : 7);
        if (!c.error)
            script << PeerStep{"A6 LOGOUT", "* BYE bye\r\nA6 OK\r\n", PeerAction::ReplyAndClose};
        ScriptedPeer peer{script};
        TImapMailbox mailbox(PeerSettings(peer));
        const QString error = ErrorOf<EServerError>([&] {
            mailbox.LogIn();
            mailbox.EndAfterList();
            EXPECT_EQ(mailbox.List().messages.size(), 2);
            mailbox.LogOut();
        });
        EXPECT_TRUE(error.contains(c.error ? c.error : "no error")) << error.toStdString();
        EXPECT_FALSE(mailbox.Client().Connected());
        // Connect, greeting, the log-in's batch with the search, the fetch with the goodbye.
        EXPECT_EQ(mailbox.Client().RoundTrips(), c.error ? 3 : 4);
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
        // Nothing but the log-in's batch was sent after a refusal: the folder is as it was.
        EXPECT_EQ(peer.Received().size(), c.error ? 5 : 7);
    }
}

TEST(ImapPeer, LogsInWithAuthenticatePlainWhereLoginIsDisabled)
{
    const QByteArray plain = QByteArray("\0alice\0p\xc3\xa4sswd", 14).toBase64();
    for (const bool initialResponse : {true, false}) {
        SCOPED_TRACE(initialResponse);
        const QByteArray caps = "IMAP4rev1 LOGINDISABLED AUTH=PLAIN" + QByteArray(initialResponse ? " SASL-IR" : "");
        PeerScript script{{"", "* OK [CAPABILITY " + caps + "] ready\r\n"}};
        if (initialResponse)
            script << PeerStep{"A1 AUTHENTICATE PLAIN " + plain, "A1 OK [CAPABILITY IMAP4rev1 MOVE] in\r\n"};
        else
            script << PeerStep{"A1 AUTHENTICATE PLAIN", "+ \r\n"} << PeerStep{plain, "A1 OK in\r\n"};
        script << PeerStep{"A2 CAPABILITY", "* CAPABILITY IMAP4rev1 MOVE\r\nA2 OK\r\n"}
               << PeerStep{"A3 EXAMINE INBOX", "* OK [UIDVALIDITY 1] x\r\nA3 OK\r\n"}
               << PeerStep{"A4 UID SEARCH UNSEEN UNDELETED", "* SEARCH\r\nA4 OK\r\n"};
        ScriptedPeer peer{script};
        TImapMailbox mailbox(PeerSettings(peer));
        mailbox.LogIn();
        EXPECT_EQ(mailbox.UidValidity(), 1u);
        EXPECT_TRUE(mailbox.Client().Capabilities().Has("MOVE"));
        EXPECT_TRUE(peer.Mismatches().isEmpty()) << peer.Mismatches().join("\n").toStdString();
    }
}

} // namespace

namespace {

TEST(ImapPeer, RefusesToSendThePasswordWhereItCannotBeProtected)
{
    struct Case {
        const char *name;
        QByteArray greeting;
        TmsTlsMode mode;
        const char *error;
    };
    const Case cases[] = {
        {"no STARTTLS", "* OK [CAPABILITY IMAP4rev1 AUTH=PLAIN] hi\r\n", TmsTlsMode::StartTls, "does not offer STARTTLS"},
        {"LOGINDISABLED", "* OK [CAPABILITY IMAP4rev1 LOGINDISABLED STARTTLS] hi\r\n", TmsTlsMode::None,
         "choose TLS or STARTTLS"},
        {"PREAUTH", "* PREAUTH [CAPABILITY IMAP4rev1] hi\r\n", TmsTlsMode::None, "without asking"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPeer peer{PeerScript{{"", c.greeting}}};
        TImapSettings settings = PeerSettings(peer);
        settings.tls = {c.mode, {}};
        TImapMailbox mailbox(settings);
        const QString error = ErrorOf<ESocketError>([&] { mailbox.LogIn(); });
        EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
        EXPECT_TRUE(peer.Received().isEmpty()) << "nothing is sent";
        EXPECT_FALSE(mailbox.Client().Connected());
    }
}

} // namespace
