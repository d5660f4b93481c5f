#include "evaluator.h"
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
    TSpamSettings s{QStringLiteral("/nonexistent")};
    TKnownList known;
    TMessageRowList rows;
    TRuleEvaluator ev{s, known, &rows};

    static void put(RuleTable &t, int row, const QStringList &cells)
    {
        for (int col = 0; col < cells.size(); ++col)
            t.SetCells(col, row, cells.at(col));
    }
    int subject(const QString &op, const QString &value, bool cs, bool del)
    {
        const int row = s.gridSubject.AppendRule();
        put(s.gridSubject, row, {QString(), op, value, yn(cs), yn(del), QStringLiteral("0")});
        return row;
    }
    int sender(const QString &what, const QString &cond, const QString &value, bool del)
    {
        const int row = s.gridFrom.AppendRule();
        put(s.gridFrom, row, {QString(), what, cond, value, yn(del), QStringLiteral("0")});
        return row;
    }
    int header(const QString &what, const QString &value, bool cs, bool del)
    {
        const int row = s.gridHeader.AppendRule();
        put(s.gridHeader, row, {QString(), what, value, yn(cs), yn(del), QStringLiteral("0")});
        return row;
    }
    int exception(const QString &what, const QString &op, const QString &value, bool cs,
                  const QString &picture = QString())
    {
        const int row = s.gridExcept.AppendRule();
        put(s.gridExcept, row, {what, op, value, yn(cs), QStringLiteral("0"), QString(), picture});
        return row;
    }
    int message(const QString &subj, const QString &from, const QString &size = QStringLiteral("1000"),
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
    const int subj = subject(QStringLiteral("Contains"), QStringLiteral("free"), false, true);
    known.SetEntries({QStringLiteral("friends.example")});
    const int exc = exception(QStringLiteral("Domain name"), QStringLiteral("Equals"),
                              QStringLiteral("FRIENDS.example"), false, QStringLiteral("7"));
    const int m = message(QStringLiteral("free stuff"), QStringLiteral("joe@friends.example"));
    EXPECT_EQ(markOf(m), 7);
    EXPECT_EQ(hits(s.gridSubject, subj), 0);
    EXPECT_EQ(hits(s.gridExcept, exc), 1);

    ev.whyMode = true;
    rows.rows[m].mark = -1;
    ev.MarkForDeletion(m);
    EXPECT_EQ(rows.rows[m].mark, 7);
    EXPECT_EQ(ev.memoWhy, QStringList{QStringLiteral("Exception :  Domain name Equals \"FRIENDS.example\" ")});
    EXPECT_EQ(hits(s.gridExcept, exc), 1);
}

struct ExceptionCase
{
    const char *name;
    const char *what;
    const char *op;
    const char *value;
    bool caseSensitive;
    const char *subject;
    const char *sender;
    bool matches;
};

class ExceptionKindTest : public EvaluatorTest, public ::testing::WithParamInterface<ExceptionCase> {};

TEST_P(ExceptionKindTest, Matches)
{
    const ExceptionCase &c = GetParam();
    exception(QString::fromUtf8(c.what), QString::fromUtf8(c.op), QString::fromUtf8(c.value),
              c.caseSensitive);
    const QString from = QString::fromUtf8(c.sender);
    const int m = message(QString::fromUtf8(c.subject), from, QStringLiteral("1000"),
                          {QStringLiteral("Return-Path: <") + from + u'>',
                           QStringLiteral("From: Joe <") + from + u'>',
                           QStringLiteral("To: Alice <alice@home.example>"),
                           QStringLiteral("CC: team@work.example"),
                           QStringLiteral("Subject: ") + QString::fromUtf8(c.subject),
                           QStringLiteral("X-Last: final line")});
    EXPECT_EQ(markOf(m), c.matches ? 3 : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ExceptionKindTest,
    ::testing::Values(
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
    put(s.gridExcept, 2, {QStringLiteral("Subject"), QStringLiteral("Contains"), QStringLiteral("zzz"),
                          QStringLiteral("No"), QStringLiteral("0"), QString(), QStringLiteral("12")});
    put(s.gridExcept, 3, {QStringLiteral("Subject"), QStringLiteral("Contains"), QStringLiteral("a"),
                          QStringLiteral("No"), QStringLiteral("x"), QString(), QStringLiteral("0")});
    put(s.gridExcept, 4, {QStringLiteral("Subject"), QStringLiteral("Contains"), QStringLiteral("abc"),
                          QStringLiteral("No"), QStringLiteral("0"), QString(), QStringLiteral("9")});
    EXPECT_EQ(markOf(message(QStringLiteral("zzz"), QStringLiteral("x@y"))), 12);
    // Picture "0" would be the check mark: an accepted message gets picture 3 instead.
    EXPECT_EQ(markOf(message(QStringLiteral("abc"), QStringLiteral("x@y"))), 3);
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
        const int m = message(QStringLiteral("s"), QStringLiteral("a@b"), QString::fromUtf8(c.size));
        EXPECT_EQ(markOf(m), c.mark) << c.size;
    }
}

TEST_F(EvaluatorTest, CheckMarkStopsLaterFamiliesOutsideReasonMode)
{
    s.smaller = {true, 5000, true};
    const int subj = subject(QStringLiteral("Contains"), QStringLiteral("x"), false, false);
    const int from = sender(QStringLiteral("E-mail address"), QStringLiteral("Contains"), QStringLiteral("a"), true);
    const int head = header(QStringLiteral("Contains"), QStringLiteral("From"), false, true);
    known.SetEntries({QStringLiteral("b.example")});
    const int m = message(QStringLiteral("x"), QStringLiteral("a@b.example"));
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

TEST_F(EvaluatorTest, ReasonModeNeverLowersACheckMark)
{
    subject(QStringLiteral("Contains"), QStringLiteral("offer"), false, true);
    sender(QStringLiteral("E-mail address"), QStringLiteral("Contains"), QStringLiteral("shop"), false);
    header(QStringLiteral("Contains"), QStringLiteral("Subject"), false, false);
    const int m = message(QStringLiteral("offer"), QStringLiteral("shop@x.example"));
    const QStringList why = ev.WhyMarked(m);
    EXPECT_EQ(why.size(), 7);
    ev.whyMode = true;
    ev.MarkForDeletion(m);
    EXPECT_EQ(rows.rows[m].mark, 0);
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
        subject(QStringLiteral("Contains"), QStringLiteral("deal"), false, c.subjDel);
        known.SetEntries(c.listed ? QStringList{QStringLiteral("spam@bulk.example")} : QStringList());
        const int m = message(QStringLiteral("great deal"), QStringLiteral("spam@bulk.example"));
        EXPECT_EQ(markOf(m), c.mark) << c.sizeCheck << c.subjDel << c.listed;
    }
}

TEST_F(EvaluatorTest, BlacklistSwitchAndEmptySender)
{
    known.SetEntries({QString(), QStringLiteral("host")});
    EXPECT_EQ(markOf(message(QStringLiteral("a"), QStringLiteral("joe@HOST"))), 2);
    EXPECT_EQ(markOf(message(QStringLiteral("a"), QString())), -1);
    s.knownOn = false;
    EXPECT_EQ(markOf(message(QStringLiteral("a"), QStringLiteral("joe@host"))), -1);
}

TEST_F(EvaluatorTest, SubjectYesAfterNoCountsBothRows)
{
    const int no = subject(QStringLiteral("Contains"), QStringLiteral("cheap"), false, false);
    const int yes = subject(QStringLiteral("Contains"), QStringLiteral("pills"), false, true);
    EXPECT_EQ(markOf(message(QStringLiteral("cheap pills"), QStringLiteral("a@b"))), 0);
    EXPECT_EQ(hits(s.gridSubject, no), 1);
    EXPECT_EQ(hits(s.gridSubject, yes), 1);
}

TEST_F(EvaluatorTest, SubjectYesFirstStopsTheScan)
{
    const int yes = subject(QStringLiteral("Contains"), QStringLiteral("pills"), false, true);
    const int no = subject(QStringLiteral("Contains"), QStringLiteral("cheap"), false, false);
    EXPECT_EQ(markOf(message(QStringLiteral("cheap pills"), QStringLiteral("a@b"))), 0);
    EXPECT_EQ(hits(s.gridSubject, yes), 1);
    EXPECT_EQ(hits(s.gridSubject, no), 0);
}

TEST_F(EvaluatorTest, OnlyNoRowsGiveAQuestionMark)
{
    const int a = subject(QStringLiteral("Contains"), QStringLiteral("cheap"), false, false);
    const int b = subject(QStringLiteral("Is UPPERCASE"), QString(), false, false);
    EXPECT_EQ(markOf(message(QStringLiteral("CHEAP"), QStringLiteral("a@b"))), 1);
    EXPECT_EQ(hits(s.gridSubject, a), 1);
    EXPECT_EQ(hits(s.gridSubject, b), 1);
}

TEST_F(EvaluatorTest, EmptyOperatorStopsTheSubjectScan)
{
    subject(QStringLiteral("Contains"), QStringLiteral("nothing"), false, true);
    s.gridSubject.SetRowCount(4); // row 2 stays blank
    put(s.gridSubject, 3, {QString(), QStringLiteral("Contains"), QStringLiteral("free"),
                           QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("0")});
    EXPECT_EQ(markOf(message(QStringLiteral("free"), QStringLiteral("a@b"))), -1);
    EXPECT_EQ(hits(s.gridSubject, 3), 0);
}

TEST_F(EvaluatorTest, EmptyWhatStopsTheSenderAndHeaderScans)
{
    s.gridFrom.SetRowCount(3);
    put(s.gridFrom, 2, {QString(), QStringLiteral("E-mail address"), QStringLiteral("Contains"),
                        QStringLiteral("a"), QStringLiteral("Yes"), QStringLiteral("0")});
    s.gridHeader.SetRowCount(3);
    put(s.gridHeader, 2, {QString(), QStringLiteral("Contains"), QStringLiteral("From"),
                          QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("0")});
    EXPECT_EQ(markOf(message(QStringLiteral("s"), QStringLiteral("a@b"))), -1);
}

struct SenderRuleCase
{
    const char *what;
    const char *cond;
    const char *value;
    const char *sender;
    bool matches;
};

class SenderRuleTest : public EvaluatorTest, public ::testing::WithParamInterface<SenderRuleCase> {};

TEST_P(SenderRuleTest, TestsLocalPartOrDomain)
{
    const SenderRuleCase &c = GetParam();
    sender(QString::fromUtf8(c.what), QString::fromUtf8(c.cond), QString::fromUtf8(c.value), false);
    EXPECT_EQ(markOf(message(QStringLiteral("s"), QString::fromUtf8(c.sender))), c.matches ? 1 : -1)
        << c.what << " " << c.cond << " " << c.sender;
}

INSTANTIATE_TEST_SUITE_P(
    Senders, SenderRuleTest,
    ::testing::Values(
        SenderRuleCase{"E-mail address", "All numeric", "", "12345@host", true},
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
    const TmsHeaders h{QStringLiteral("Received: from a"), QStringLiteral("Received: from b"),
                       QStringLiteral("Subject: x"), QStringLiteral("Received: from c")};
    const int q = header(QStringLiteral("Starts with"), QStringLiteral("received:"), false, false);
    EXPECT_EQ(markOf(message(QStringLiteral("x"), QStringLiteral("a@b"), QStringLiteral("1"), h)), 1);
    EXPECT_EQ(hits(s.gridHeader, q), 3);

    s.gridHeader.ClearRules();
    const int d = header(QStringLiteral("Starts with"), QStringLiteral("Received:"), true, true);
    const int after = header(QStringLiteral("Contains"), QStringLiteral("Subject"), false, false);
    EXPECT_EQ(markOf(message(QStringLiteral("x"), QStringLiteral("a@b"), QStringLiteral("1"), h)), 0);
    EXPECT_EQ(hits(s.gridHeader, d), 1);
    EXPECT_EQ(hits(s.gridHeader, after), 0);
}

struct SpecialHeaderCase
{
    const char *name;
    const char *what;
    const char *value;
    QStringList headers;
    int mailbox;
    bool matches;
};

class SpecialHeaderTest : public EvaluatorTest, public ::testing::WithParamInterface<SpecialHeaderCase> {};

TEST_P(SpecialHeaderTest, Matches)
{
    const SpecialHeaderCase &c = GetParam();
    const int row = header(QString::fromUtf8(c.what), QString::fromUtf8(c.value), false, true);
    const int m = message(QStringLiteral("s"), QStringLiteral("joe@spam.example"), QStringLiteral("1"),
                          c.headers, c.mailbox);
    EXPECT_EQ(markOf(m), c.matches ? 0 : -1);
    EXPECT_EQ(hits(s.gridHeader, row), c.matches ? 1 : 0);
}

QStringList H(std::initializer_list<const char *> lines)
{
    QStringList out;
    for (const char *l : lines)
        out.append(QString::fromUtf8(l));
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Specials, SpecialHeaderTest,
    ::testing::Values(
        SpecialHeaderCase{"ToLacksUser", "To does not contain", "alice - MailBox #1",
                          H({"From: joe@spam.example", "To: friends@list.example"}), 1, true},
        SpecialHeaderCase{"ToHasUserAnyCase", "To does not contain", "alice - MailBox #1",
                          H({"From: joe@spam.example", "To: Alice <ALICE@home.example>"}), 1, false},
        SpecialHeaderCase{"OtherMailbox", "To does not contain", "alice - MailBox #3",
                          H({"From: joe@spam.example", "To: friends@list.example"}), 1, false},
        SpecialHeaderCase{"NoMailbox", "To does not contain", "alice - MailBox #0",
                          H({"From: joe@spam.example", "To: friends@list.example"}), 0, false},
        SpecialHeaderCase{"NoToField", "To does not contain", "alice - MailBox #1",
                          H({"From: joe@spam.example"}), 1, false},
        SpecialHeaderCase{"MissingMailboxMark", "To does not contain", "alice",
                          H({"From: joe@spam.example", "To: friends@list.example"}), 1, false},
        SpecialHeaderCase{"NonNumericMailbox", "To does not contain", "alice - MailBox #one",
                          H({"From: joe@spam.example", "To: friends@list.example"}), 1, false},
        SpecialHeaderCase{"EmptyAddress", "To does not contain", " - MailBox #1",
                          H({"From: joe@spam.example", "To: friends@list.example"}), 1, false},
        SpecialHeaderCase{"ReplyToDiffers", "Sender", "does not match Reply-to",
                          H({"From: Joe <joe@spam.example>", "Reply-To: other@elsewhere.example"}), 0, true},
        SpecialHeaderCase{"ReplyToSame", "Sender", "does not match Reply-to",
                          H({"From: Joe <joe@spam.example>", "Reply-To: <JOE@spam.example>"}), 0, false},
        SpecialHeaderCase{"NoReplyTo", "Sender", "does not match Reply-to",
                          H({"From: Joe <joe@spam.example>"}), 0, false},
        SpecialHeaderCase{"SenderEqualsTo", "Sender", "equals To field",
                          H({"From: Joe <joe@spam.example>", "To: Joe <Joe@Spam.example>"}), 0, true},
        SpecialHeaderCase{"SenderNotTo", "Sender", "equals To field",
                          H({"From: Joe <joe@spam.example>", "To: alice@home.example"}), 0, false},
        SpecialHeaderCase{"NoSenderIsNotTo", "Sender", "equals To field",
                          H({"To: alice@home.example"}), 0, false},
        SpecialHeaderCase{"NoTo", "Sender", "equals To field",
                          H({"From: Joe <joe@spam.example>"}), 0, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EvaluatorTest, HitCountsGrowPerPassAndNotInReasonMode)
{
    const int row = subject(QStringLiteral("Contains"), QStringLiteral("win"), false, false);
    s.gridSubject.SetCells(5, row, QStringLiteral("seven"));
    message(QStringLiteral("win"), QStringLiteral("a@b"));
    message(QStringLiteral("you win"), QStringLiteral("c@d"));
    message(QStringLiteral("lose"), QStringLiteral("e@f"));
    ev.MarkForDeletion(-1);
    EXPECT_EQ(s.gridSubject.Cells(5, row), QStringLiteral("2"));
    ev.MarkForDeletion(-1);
    EXPECT_EQ(s.gridSubject.Cells(5, row), QStringLiteral("4"));
    ev.WhyMarked(0);
    EXPECT_EQ(s.gridSubject.Cells(5, row), QStringLiteral("4"));
    EXPECT_FALSE(ev.whyMode);
}

TEST_F(EvaluatorTest, RulesChangedBetweenPassesCountInTheNextPass)
{
    const int row = subject(QStringLiteral("Contains"), QStringLiteral("win"), false, true);
    const int m = message(QStringLiteral("Cheap pills"), QStringLiteral("a@b"));
    auto markNow = [&] { return rows.rows.at(m).mark; };
    ev.MarkForDeletion(-1);
    EXPECT_EQ(markNow(), NoMark);

    // A changed operator and value, then a new rule in another list.
    s.gridSubject.SetCells(1, row, QStringLiteral("Starts with"));
    s.gridSubject.SetCells(2, row, QStringLiteral("CHEAP"));
    ev.MarkForDeletion(-1);
    EXPECT_EQ(markNow(), CheckMark);

    s.gridSubject.SetCells(4, row, QStringLiteral("No"));
    rows.rows[m].mark = NoMark;
    exception(QStringLiteral("E-mail address"), QStringLiteral("Equals"), QStringLiteral("A@"), false,
              QStringLiteral("7"));
    ev.MarkForDeletion(-1);
    EXPECT_EQ(markNow(), 7);
}

TEST_F(EvaluatorTest, ReasonsTextIsExact)
{
    s.smaller = {true, 5000, false};
    exception(QStringLiteral("Subject"), QStringLiteral("Equals"), QStringLiteral("never"), true);
    subject(QStringLiteral("Contains"), QStringLiteral("FREE"), true, false);
    subject(QStringLiteral("Is UPPERCASE"), QStringLiteral("ignored"), false, true);
    sender(QStringLiteral("Domain name"), QStringLiteral("First char numeric"), QString(), true);
    sender(QStringLiteral("E-mail address"), QStringLiteral("Contains"), QStringLiteral("Bulk"), false);
    header(QStringLiteral("To does not contain"), QStringLiteral("alice - MailBox #2"), false, true);
    header(QStringLiteral("Contains"), QStringLiteral("x-mailer"), false, false);
    header(QStringLiteral("Sender"), QStringLiteral("does not match Reply-to"), false, true);
    known.SetEntries({QStringLiteral("123.example")});
    const int m = message(QStringLiteral("FREE OFFER"), QStringLiteral("bulk@123.example"), QStringLiteral("300"),
                          {QStringLiteral("From: Bulk <bulk@123.example>"), QStringLiteral("To: bob@work.example"),
                           QStringLiteral("Reply-To: x@y.example"), QStringLiteral("X-Mailer: Floodgate"),
                           QStringLiteral("Subject: FREE OFFER")},
                          2);
    const QStringList why = ev.WhyMarked(m);
    const QStringList expected{
        QStringLiteral("Message from bulk@123.example"),
        QStringLiteral("Subject of   FREE OFFER"),
        QString(),
        QStringLiteral("Question :  Size smaller than \"5000\" "),
        QStringLiteral("Question :  Subject Contains \"FREE\"  (Case Sensitive)"),
        QStringLiteral("Delete   :  Subject Is UPPERCASE"),
        QStringLiteral("Delete   :  Domain name First char numeric"),
        QStringLiteral("Question :  E-mail address Contains \"Bulk\" "),
        QStringLiteral("Delete   :  Header \"bob@work.example\" To does not contain \"alice\" "),
        QStringLiteral("Question :  Header Contains \"x-mailer\" "),
        QStringLiteral("Delete   :  Header Sender \"x@y.example does not match Reply-to bulk@123.example\" "),
        QStringLiteral("Delete   :  Domain \"123.example\" is on the KNOWN SPAMMER BLACKLIST (you may edit if this is in error)"),
        QStringLiteral("** You un-marked this message **"),
    };
    EXPECT_EQ(why, expected);
    EXPECT_EQ(rows.rows[m].mark, -1);
}

TEST_F(EvaluatorTest, WhyMarkedNotesWhatTheUserChanged)
{
    subject(QStringLiteral("Contains"), QStringLiteral("maybe"), false, false);
    const int plain = message(QStringLiteral("hello"), QStringLiteral("a@b"));
    rows.rows[plain].mark = 0;
    QStringList why = ev.WhyMarked(plain);
    ASSERT_EQ(why.size(), 5);
    EXPECT_EQ(why.at(3), QStringLiteral("Message was neither on the exception list nor on the list of matching criteria"));
    EXPECT_EQ(why.at(4), QStringLiteral("** You marked this message **"));
    EXPECT_EQ(rows.rows[plain].mark, 0);

    const int suspect = message(QStringLiteral("maybe"), QStringLiteral("a@b"));
    rows.rows[suspect].mark = 1;
    why = ev.WhyMarked(suspect);
    EXPECT_EQ(why.size(), 4);
    EXPECT_EQ(rows.rows[suspect].mark, 1);
}

TEST_F(EvaluatorTest, RemarkCountsCheckAndBlacklistMarks)
{
    subject(QStringLiteral("Contains"), QStringLiteral("spam"), false, true);
    subject(QStringLiteral("Contains"), QStringLiteral("maybe"), false, false);
    known.SetEntries({QStringLiteral("bad.example")});
    message(QStringLiteral("spam"), QStringLiteral("a@b"));
    message(QStringLiteral("maybe"), QStringLiteral("a@b"));
    message(QStringLiteral("hello"), QStringLiteral("x@bad.example"));
    message(QStringLiteral("hello"), QStringLiteral("a@b"));
    rows.rows[3].mark = 0; // set by hand earlier; re-marking starts clean
    EXPECT_EQ(ev.Remark(), 2);
    EXPECT_EQ(rows.rows[0].mark, 0);
    EXPECT_EQ(rows.rows[1].mark, 1);
    EXPECT_EQ(rows.rows[2].mark, 2);
    EXPECT_EQ(rows.rows[3].mark, -1);
    ev.MarkForDeletion(99); // no such row: nothing happens
}

TEST_F(EvaluatorTest, RuleAddedToTheLiveTablesCountsAtOnce)
{
    const int m = message(QStringLiteral("hello"), QStringLiteral("joe@x.example"));
    EXPECT_EQ(markOf(m), -1);
    s.AddSenderForDeletion(QStringLiteral("joe@x.example"));
    EXPECT_EQ(markOf(m), 0);
    EXPECT_EQ(s.gridFrom.Cells(5, 1), QStringLiteral("2"));
    s.AddSenderToExceptions(QStringLiteral("joe@x.example"));
    EXPECT_EQ(markOf(m), 3);
}

} // namespace
