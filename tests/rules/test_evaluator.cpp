#include "evaluator.h"
#include "rule_test.h"
#include "rulewords.h"

#include <gtest/gtest.h>

namespace {

QString yn(bool b)
{
    return b ? QStringLiteral("Yes") : QStringLiteral("No");
}

class EvaluatorTest : public ::testing::Test
{
protected:
    // No folder is ever touched: nothing here reads or saves.
    TSpamSettings s{"/nonexistent"};
    TKnownList known;
    TMessageRowList rows;
    TRuleEvaluator ev{s, known, &rows};

    static int add(RuleTable &t, const QStringList &cells)
    {
        const int row = t.AppendRule();
        setRow(t, row, cells);
        return row;
    }
    int subject(const QString &op, const QString &value, bool cs, bool del)
    { return add(s.gridSubject, {QString(), op, value, yn(cs), yn(del), "0"}); }
    int sender(const QString &what, const QString &cond, const QString &value, bool del)
    { return add(s.gridFrom, {QString(), what, cond, value, yn(del), "0"}); }
    int header(const QString &what, const QString &value, bool cs, bool del)
    { return add(s.gridHeader, {QString(), what, value, yn(cs), yn(del), "0"}); }
    int exception(const QString &what, const QString &op, const QString &value, bool cs,
                  const QString &picture = QString())
    { return add(s.gridExcept, {what, op, value, yn(cs), "0", QString(), picture}); }
    int message(const QString &subj, const QString &from, const QString &size = "1000",
                const TmsHeaders &headers = {}, int mailbox = 0)
    {
        TmsHeaders h = headers;
        if (h.isEmpty())
            h = {QStringLiteral("From: ") + from, QStringLiteral("Subject: ") + subj};
        rows.rows.append({subj, from, size, h, mailbox, -1});
        return int(rows.rows.size()) - 1;
    }
    int markOf(int index)
    {
        ev.MarkForDeletion(index);
        return rows.rows.at(index).mark;
    }
    static int hits(const RuleTable &t, int row) { return t.Cells(t.HitColumn(), row).toInt(); }
};

TEST_F(EvaluatorTest, ExceptionWinsOverEveryOtherFamily)
{
    s.smaller = {true, 100000, true};
    const int subj = subject("Contains", "free", false, true);
    known.SetEntries({"friends.example"});
    const int exc = exception("Domain name", "Equals", "FRIENDS.example", false, "7");
    const int m = message("free stuff", "joe@friends.example");
    EXPECT_EQ(markOf(m), 7);
    EXPECT_EQ(hits(s.gridSubject, subj), 0);
    EXPECT_EQ(hits(s.gridExcept, exc), 1);

    ev.whyMode = true;
    rows.rows[m].mark = -1;
    ev.MarkForDeletion(m);
    EXPECT_EQ(rows.rows[m].mark, 7);
    EXPECT_EQ(ev.memoWhy, QStringList{"Exception :  Domain name Equals \"FRIENDS.example\" "});
    EXPECT_EQ(hits(s.gridExcept, exc), 1);
}

struct ExceptionCase
{
    const char *name; const char *what; const char *op; const char *value; bool caseSensitive;
    const char *subject; const char *sender; bool matches;
};

class ExceptionKindTest : public EvaluatorTest, public ::testing::WithParamInterface<ExceptionCase> {};

TEST_P(ExceptionKindTest, Matches)
{
    const ExceptionCase &c = GetParam();
    exception(QString::fromUtf8(c.what), QString::fromUtf8(c.op), QString::fromUtf8(c.value),
              c.caseSensitive);
    const QString from = QString::fromUtf8(c.sender);
    const int m = message(QString::fromUtf8(c.subject), from, "1000",
                          {QStringLiteral("Return-Path: <") + from + u'>',
                           QStringLiteral("From: Joe <") + from + u'>',
                           "To: Alice <alice@home.example>",
                           "CC: team@work.example",
                           QStringLiteral("Subject: ") + QString::fromUtf8(c.subject),
                           "X-Last: final line"});
    EXPECT_EQ(markOf(m), c.matches ? 3 : -1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExceptionKindTest, ::testing::Values(
        ExceptionCase{"DomainIsASuffix", "Domain name", "Equals", "example.org", false, "hi", "a@b.example.org", true},
        ExceptionCase{"DomainTailOfLongerName", "Domain name", "Equals", "ple.org", false, "hi", "a@example.org", true},
        ExceptionCase{"DomainIgnoresCaseFlag", "Domain name", "Equals", "EXAMPLE.ORG", true, "hi", "a@example.org", true},
        ExceptionCase{"DomainOther", "Domain name", "Equals", "example.org", false, "hi", "a@example.com", false},
        ExceptionCase{"AddressIsAPrefix", "E-mail address", "Equals", "Boss@", false, "hi", "boss@work.example", true},
        ExceptionCase{"AddressOther", "E-mail address", "Equals", "boss@", false, "hi", "bob@work.example", false},
        ExceptionCase{"EmptyAddressAcceptsEveryone", "E-mail address", "Equals", "", false, "hi", "bob@work.example", true},
        ExceptionCase{"EmptyDomainAcceptsEveryone", "Domain name", "Equals", "", false, "hi", "bob@work.example", true},
        ExceptionCase{"SubjectCaseOn", "Subject", "Contains", "Invoice", true, "Your invoice", "x@y", false},
        ExceptionCase{"SubjectCaseOff", "Subject", "Contains", "Invoice", false, "Your invoice", "x@y", true},
        ExceptionCase{"SubjectWithColonIsAField", "Subject:", "Starts with", "your", false, "Your invoice", "x@y", true},
        ExceptionCase{"NamedField", "CC:", "Equals", "team@work.example", false, "hi", "x@y", true},
        ExceptionCase{"NamedFieldWithoutColon", "To", "Contains", "alice@home", false, "hi", "x@y", true},
        ExceptionCase{"AbsentFieldEqualsEmpty", "Reply-To:", "Equals", "", false, "hi", "x@y", true},
        ExceptionCase{"AbsentFieldContains", "Reply-To:", "Contains", "x", false, "hi", "x@y", false},
        ExceptionCase{"AnyHeaderWholeLine", "Any Header", "Starts with", "CC: team", false, "hi", "x@y", true},
        ExceptionCase{"AnyHeaderLastLine", "Any Header", "Equals", "X-Last: final line", true, "hi", "x@y", true},
        ExceptionCase{"AnyHeaderCase", "Any Header", "Contains", "x-last", true, "hi", "x@y", false},
        ExceptionCase{"UnknownOperator", "Subject", "Is blank", "", false, "", "x@y", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EvaluatorTest, ExceptionPictureAndScanOrder)
{
    s.gridExcept.SetRowCount(5);
    // Row 1 has no "What": skipped, the scan goes on.
    setRow(s.gridExcept, 2, {"Subject", "Contains", "zzz", "No", "0", QString(), "12"});
    setRow(s.gridExcept, 3, {"Subject", "Contains", "a", "No", "x", QString(), "0"});
    setRow(s.gridExcept, 4, {"Subject", "Contains", "abc", "No", "0", QString(), "9"});
    EXPECT_EQ(markOf(message("zzz", "x@y")), 12);
    // Picture "0" would be the check mark: an accepted message gets picture 3 instead.
    EXPECT_EQ(markOf(message("abc", "x@y")), 3);
    EXPECT_EQ(hits(s.gridExcept, 3), 1); // "x" counted as 0
    EXPECT_EQ(hits(s.gridExcept, 4), 0); // the first match ends the scan
}

TEST_F(EvaluatorTest, SizeRules)
{
    struct Case { TSizeRule smaller, larger; const char *size; int mark; };
    const Case cases[] = {
        {{true, 100, true}, {false, 0, true}, "99", 0},
        {{true, 100, true}, {false, 0, true}, "100", -1},
        {{true, 100, false}, {false, 0, true}, "5", 1},
        {{false, 100, true}, {true, 200, true}, "201", 0},
        {{false, 100, true}, {true, 200, false}, "201", 1},
        {{false, 100, true}, {true, 200, true}, "200", -1},
        {{true, 100, false}, {true, 10, true}, "50", 1}, // smaller wins, larger not tested
        {{true, 100, true}, {true, 0, true}, "abc", -1},
        {{true, 100, true}, {true, 0, true}, "-5", -1},
        {{true, 100, true}, {true, 0, true}, "", -1},
        {{false, 0, true}, {true, 2000000000, true}, "5000000000", 0},
    };
    for (const Case &c : cases) {
        s.smaller = c.smaller;
        s.larger = c.larger;
        const int m = message("s", "a@b", QString::fromUtf8(c.size));
        EXPECT_EQ(markOf(m), c.mark) << c.size;
    }
}

TEST_F(EvaluatorTest, CheckMarkStopsLaterFamiliesOutsideReasonMode)
{
    s.smaller = {true, 5000, true};
    const int subj = subject("Contains", "x", false, false);
    const int from = sender("E-mail address", "Contains", "a", true);
    const int head = header("Contains", "From", false, true);
    known.SetEntries({"b.example"});
    const int m = message("x", "a@b.example");
    EXPECT_EQ(markOf(m), 0);
    EXPECT_EQ(hits(s.gridSubject, subj), 0);
    EXPECT_EQ(hits(s.gridFrom, from), 0);
    EXPECT_EQ(hits(s.gridHeader, head), 0);

    // Reason mode evaluates every family, counts nothing, and the blacklist never lowers
    // a check mark.
    ev.whyMode = true;
    rows.rows[m].mark = -1;
    ev.MarkForDeletion(m);
    EXPECT_EQ(rows.rows[m].mark, 0);
    EXPECT_EQ(ev.memoWhy.size(), 5);
    EXPECT_EQ(hits(s.gridSubject, subj), 0);
}

TEST_F(EvaluatorTest, QuestionMarkIsRaisedByLaterFamilies)
{
    struct Case { bool sizeCheck; bool subjDel; bool listed; int mark; };
    const Case cases[] = {
        {false, true, false, 0},  // size question, subject check mark
        {false, false, false, 1}, // both question
        {false, false, true, 2},  // question then blacklist
        {true, false, true, 0},   // check mark stays; blacklist not consulted
    };
    for (const Case &c : cases) {
        s.gridSubject.ClearRules();
        s.smaller = {true, 5000, c.sizeCheck};
        subject("Contains", "deal", false, c.subjDel);
        known.SetEntries(c.listed ? QStringList{"spam@bulk.example"} : QStringList());
        const int m = message("great deal", "spam@bulk.example");
        EXPECT_EQ(markOf(m), c.mark) << c.sizeCheck << c.subjDel << c.listed;
    }
}

TEST_F(EvaluatorTest, BlacklistSwitchAndEmptySender)
{
    known.SetEntries({QString(), "host"});
    EXPECT_EQ(markOf(message("a", "joe@HOST")), 2);
    EXPECT_EQ(markOf(message("a", QString())), -1);
    s.knownOn = false;
    EXPECT_EQ(markOf(message("a", "joe@host")), -1);
}

// Subject rows in order: a matching "Yes" row stops the scan, "No" rows only suspect, and
// the first row without an operator ends the list.
TEST_F(EvaluatorTest, SubjectScan)
{
    struct Row { const char *op, *value; bool del; int hits; };
    struct Case { QList<Row> rows; const char *subject; int mark; };
    const Case cases[] = {
        {{{"Contains", "cheap", false, 1}, {"Contains", "pills", true, 1}}, "cheap pills", 0},
        {{{"Contains", "pills", true, 1}, {"Contains", "cheap", false, 0}}, "cheap pills", 0},
        {{{"Contains", "cheap", false, 1}, {"Is UPPERCASE", "", false, 1}}, "CHEAP", 1},
        {{{"Contains", "nothing", true, 0}, {"", "", false, 0}, {"Contains", "free", true, 0}}, "free", -1},
    };
    for (const Case &c : cases) {
        s.gridSubject.ClearRules();
        s.gridSubject.SetRowCount(int(c.rows.size()) + 1);
        for (int i = 0; i < c.rows.size(); ++i)
            setRow(s.gridSubject, i + 1, {QString(), c.rows[i].op, c.rows[i].value, "No", yn(c.rows[i].del), "0"});
        EXPECT_EQ(markOf(message(c.subject, "a@b")), c.mark) << c.subject;
        for (int i = 0; i < c.rows.size(); ++i)
            EXPECT_EQ(hits(s.gridSubject, i + 1), c.rows[i].hits) << c.subject << " row " << i + 1;
    }
}

TEST_F(EvaluatorTest, EmptyWhatStopsTheSenderAndHeaderScans)
{
    s.gridFrom.SetRowCount(3);
    setRow(s.gridFrom, 2, {QString(), "E-mail address", "Contains", "a", "Yes", "0"});
    s.gridHeader.SetRowCount(3);
    setRow(s.gridHeader, 2, {QString(), "Contains", "From", "No", "Yes", "0"});
    EXPECT_EQ(markOf(message("s", "a@b")), -1);
}

struct SenderRuleCase
{
    const char *what; const char *cond; const char *value; const char *sender; bool matches;
};

class SenderRuleTest : public EvaluatorTest, public ::testing::WithParamInterface<SenderRuleCase> {};

TEST_P(SenderRuleTest, TestsLocalPartOrDomain)
{
    const SenderRuleCase &c = GetParam();
    sender(QString::fromUtf8(c.what), QString::fromUtf8(c.cond), QString::fromUtf8(c.value), false);
    EXPECT_EQ(markOf(message("s", QString::fromUtf8(c.sender))), c.matches ? 1 : -1)
        << c.what << " " << c.cond << " " << c.sender;
}

INSTANTIATE_TEST_SUITE_P(Senders, SenderRuleTest, ::testing::Values(
        SenderRuleCase{"E-mail address", "All numeric", "", "12345@host", true},
        SenderRuleCase{"E-mail address", "All numeric", "", "12_45@host", true},
        SenderRuleCase{"E-mail address", "First char numeric", "", "_1abc@x", false},
        SenderRuleCase{"Domain name", "All numeric", "", "12345@host", false},
        SenderRuleCase{"Domain name", "All numeric", "", "joe@12345", true},
        SenderRuleCase{"E-mail address", "50% numeric", "", "ab_1@x.example", true},
        SenderRuleCase{"E-mail address", "50% numeric", "", "abc1@x.example", false},
        SenderRuleCase{"E-mail address", "First char numeric", "", "9lives@x", true},
        SenderRuleCase{"Domain name", "First char numeric", "", "nine@9x.example", true},
        SenderRuleCase{"E-mail address", "Is UPPERCASE", "", "JOE@lower.example", true},
        SenderRuleCase{"Domain name", "Is UPPERCASE", "", "JOE@lower.example", false},
        SenderRuleCase{"E-mail address", "Is blank", "", "", true},
        SenderRuleCase{"E-mail address", "Is blank", "", "a@b", false},
        SenderRuleCase{"E-mail address", "Ends with", "@B.EXAMPLE", "joe@b.example", true},
        SenderRuleCase{"E-mail address", "Contains (whole word)", "joe", "joe.smith@b.example", true},
        SenderRuleCase{"Domain name", "Equals", "B.Example", "joe@b.example", true},
        SenderRuleCase{"Domain name", "Starts with", "joe", "joe@b.example", false},
        SenderRuleCase{"Domain name", "Equals", "nodomain", "nodomain", true},
        SenderRuleCase{"E-mail address", "Sounds like", "joe", "joe@b", false}));

TEST_F(EvaluatorTest, HeaderOperatorRuleCountsEveryMatchingLine)
{
    const TmsHeaders h{"Received: from a", "Received: from b", "Subject: x", "Received: from c"};
    const int q = header("Starts with", "received:", false, false);
    EXPECT_EQ(markOf(message("x", "a@b", "1", h)), 1);
    EXPECT_EQ(hits(s.gridHeader, q), 3);

    s.gridHeader.ClearRules();
    const int d = header("Starts with", "Received:", true, true);
    const int after = header("Contains", "Subject", false, false);
    EXPECT_EQ(markOf(message("x", "a@b", "1", h)), 0);
    EXPECT_EQ(hits(s.gridHeader, d), 1);
    EXPECT_EQ(hits(s.gridHeader, after), 0);
}

struct SpecialHeaderCase
{
    const char *name; const char *what; const char *value; const char *line; int mailbox; bool matches;
    bool withFrom = true; // "From: Joe <joe@spam.example>" before the line
};

class SpecialHeaderTest : public EvaluatorTest, public ::testing::WithParamInterface<SpecialHeaderCase> {};

TEST_P(SpecialHeaderTest, Matches)
{
    const SpecialHeaderCase &c = GetParam();
    const int row = header(QString::fromUtf8(c.what), QString::fromUtf8(c.value), false, true);
    TmsHeaders h{"Subject: s"};
    if (c.withFrom)
        h << "From: Joe <joe@spam.example>";
    if (*c.line)
        h << QString::fromUtf8(c.line);
    const int m = message("s", "joe@spam.example", "1", h, c.mailbox);
    EXPECT_EQ(markOf(m), c.matches ? 0 : -1);
    EXPECT_EQ(hits(s.gridHeader, row), c.matches ? 1 : 0);
}

using SH = SpecialHeaderCase;
const char kToLacks[] = "To does not contain";
const char kReplyTo[] = "does not match Reply-to";
const char kEqualsTo[] = "equals To field";

INSTANTIATE_TEST_SUITE_P(Specials, SpecialHeaderTest, ::testing::Values(
        SH{"ToLacksUser", kToLacks, "alice - MailBox #1", "To: friends@list.example", 1, true},
        SH{"ToHasUserAnyCase", kToLacks, "alice - MailBox #1", "To: Alice <ALICE@home.example>", 1, false},
        SH{"OtherMailbox", kToLacks, "alice - MailBox #3", "To: friends@list.example", 1, false},
        SH{"NoMailbox", kToLacks, "alice - MailBox #0", "To: friends@list.example", 0, false},
        SH{"NoToField", kToLacks, "alice - MailBox #1", "", 1, false},
        SH{"MissingMailboxMark", kToLacks, "alice", "To: friends@list.example", 1, false},
        SH{"NonNumericMailbox", kToLacks, "alice - MailBox #one", "To: friends@list.example", 1, false},
        SH{"EmptyAddress", kToLacks, " - MailBox #1", "To: friends@list.example", 1, false},
        SH{"ReplyToDiffers", "Sender", kReplyTo, "Reply-To: other@elsewhere.example", 0, true},
        SH{"ReplyToSame", "Sender", kReplyTo, "Reply-To: <JOE@spam.example>", 0, false},
        SH{"NoReplyTo", "Sender", kReplyTo, "", 0, false},
        SH{"SenderEqualsTo", "Sender", kEqualsTo, "To: Joe <Joe@Spam.example>", 0, true},
        SH{"SenderNotTo", "Sender", kEqualsTo, "To: alice@home.example", 0, false},
        SH{"NoSenderIsNotTo", "Sender", kEqualsTo, "To: alice@home.example", 0, false, false},
        SH{"NoTo", "Sender", kEqualsTo, "", 0, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EvaluatorTest, HitCountsGrowPerPassAndNotInReasonMode)
{
    const int row = subject("Contains", "win", false, false);
    s.gridSubject.SetCells(5, row, "seven");
    message("win", "a@b");
    message("you win", "c@d");
    message("lose", "e@f");
    ev.MarkForDeletion(-1);
    EXPECT_EQ(s.gridSubject.Cells(5, row), "2");
    ev.MarkForDeletion(-1);
    EXPECT_EQ(s.gridSubject.Cells(5, row), "4");
    ev.WhyMarked(0);
    EXPECT_EQ(s.gridSubject.Cells(5, row), "4");
    EXPECT_FALSE(ev.whyMode);
}

TEST_F(EvaluatorTest, RulesChangedBetweenPassesCountInTheNextPass)
{
    const int row = subject("Contains", "win", false, true);
    const int m = message("Cheap pills", "a@b");
    auto markNow = [&] { return rows.rows.at(m).mark; };
    ev.MarkForDeletion(-1);
    EXPECT_EQ(markNow(), NoMark);

    // A changed operator and value, then a new rule in another list.
    s.gridSubject.SetCells(1, row, "Starts with");
    s.gridSubject.SetCells(2, row, "CHEAP");
    ev.MarkForDeletion(-1);
    EXPECT_EQ(markNow(), CheckMark);

    s.gridSubject.SetCells(4, row, "No");
    rows.rows[m].mark = NoMark;
    exception("E-mail address", "Equals", "A@", false, "7");
    ev.MarkForDeletion(-1);
    EXPECT_EQ(markNow(), 7);
}

TEST_F(EvaluatorTest, ReasonsTextIsExact)
{
    s.smaller = {true, 5000, false};
    exception("Subject", "Equals", "never", true);
    subject("Contains", "FREE", true, false);
    subject("Is UPPERCASE", "ignored", false, true);
    sender("Domain name", "First char numeric", QString(), true);
    sender("E-mail address", "Contains", "Bulk", false);
    header("To does not contain", "alice - MailBox #2", false, true);
    header("Contains", "x-mailer", false, false);
    header("Sender", "does not match Reply-to", false, true);
    known.SetEntries({"123.example"});
    const int m = message("FREE OFFER", "bulk@123.example", "300",
                          {"From: Bulk <bulk@123.example>", "To: bob@work.example",
                           "Reply-To: x@y.example", "X-Mailer: Floodgate",
                           "Subject: FREE OFFER"},
                          2);
    const QStringList why = ev.WhyMarked(m);
    const QStringList expected{
        "Message from bulk@123.example",
        "Subject of   FREE OFFER",
        QString(),
        "Question :  Size smaller than \"5000\" ",
        "Question :  Subject Contains \"FREE\"  (Case Sensitive)",
        "Delete   :  Subject Is UPPERCASE",
        "Delete   :  Domain name First char numeric",
        "Question :  E-mail address Contains \"Bulk\" ",
        "Delete   :  Header \"bob@work.example\" To does not contain \"alice\" ",
        "Question :  Header Contains \"x-mailer\" ",
        "Delete   :  Header Sender \"x@y.example does not match Reply-to bulk@123.example\" ",
        "Delete   :  Domain \"123.example\" is on the KNOWN SPAMMER BLACKLIST (you may edit if this is in error)",
        "** You un-marked this message **",
    };
    EXPECT_EQ(why, expected);
    EXPECT_EQ(rows.rows[m].mark, -1);
}

TEST_F(EvaluatorTest, WhyMarkedNotesWhatTheUserChanged)
{
    subject("Contains", "maybe", false, false);
    const int plain = message("hello", "a@b");
    rows.rows[plain].mark = 0;
    QStringList why = ev.WhyMarked(plain);
    ASSERT_EQ(why.size(), 5);
    EXPECT_EQ(why.at(3), "Message was neither on the exception list nor on the list of matching criteria");
    EXPECT_EQ(why.at(4), "** You marked this message **");
    EXPECT_EQ(rows.rows[plain].mark, 0);

    const int suspect = message("maybe", "a@b");
    rows.rows[suspect].mark = 1;
    why = ev.WhyMarked(suspect);
    EXPECT_EQ(why.size(), 4);
    EXPECT_EQ(rows.rows[suspect].mark, 1);
}

TEST_F(EvaluatorTest, RemarkCountsCheckAndBlacklistMarks)
{
    subject("Contains", "spam", false, true);
    subject("Contains", "maybe", false, false);
    known.SetEntries({"bad.example"});
    message("spam", "a@b");
    message("maybe", "a@b");
    message("hello", "x@bad.example");
    message("hello", "a@b");
    rows.rows[3].mark = 0; // set by hand earlier; re-marking starts clean
    EXPECT_EQ(ev.Remark(), 2);
    EXPECT_EQ(rows.rows[0].mark, 0);
    EXPECT_EQ(rows.rows[1].mark, 1);
    EXPECT_EQ(rows.rows[2].mark, 2);
    EXPECT_EQ(rows.rows[3].mark, -1);
    ev.MarkForDeletion(99); // no such row: nothing happens
}

} // namespace
