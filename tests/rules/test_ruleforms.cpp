// The rule dialogs' forms: each kind of rule becomes the cells the evaluation reads, so a
// message that should match does; the dialogs' refusals; the editor's list operations.

#include "evaluator.h"
#include "ruleforms.h"

#include <gtest/gtest.h>
#include <functional>

namespace {

struct Fixture
{
    TSpamSettings s{"/nonexistent"};
    TKnownList known;
    TMessageRowList rows;

    Fixture() { s.SetGridHeadings(); }

    int mark(const TMessageRow &row)
    {
        rows.rows = {row};
        TRuleEvaluator ev(s, known, &rows);
        ev.MarkForDeletion(0);
        return rows.rows.at(0).mark;
    }
};

TMessageRow msg(const QString &subject, const QString &sender, const TmsHeaders &extra = {}, int mailbox = 1)
{
    TMessageRow r;
    r.subject = subject;
    r.sender = sender;
    r.sizeText = "1000";
    r.headers = TmsHeaders{QStringLiteral("From: ") + sender, QStringLiteral("Subject: ") + subject} + extra;
    r.mailbox = mailbox;
    return r;
}

struct RuleCase
{
    const char *name;
    std::function<void(TSpamSettings &)> add; // writes one rule through a form
    TMessageRow hit;
    TMessageRow miss;
    int hitMark;
    QStringList cells; // expected cells 0 ... 6 of row 1 of the list touched
    RuleTable::Kind kind;
};

template <typename Form, typename Check, typename Write>
void addRule(RuleTable &t, Form f, Check check, Write write)
{
    ASSERT_EQ(check(f), QString());
    write(t, InsertRuleRow(t, -1), f);
}

// What the dialogs themselves write (plain text rules, a predicate dropping the typed text):
// OptionsWindow.EachDialogMakesItsRuleAndTheEvaluationAgrees in tests/ui.
TEST(RuleForms, EachKindOfRuleIsWrittenAsTheEvaluationReadsIt)
{
    using K = RuleTable::Kind;
    const QList<RuleCase> cases{
        {"subject case matters", [](TSpamSettings &s) {
             TSubjectRuleForm f; f.op = "Starts with"; f.text = "ADV"; f.caseMatters = true;
             addRule(s.gridSubject, f, [](TSubjectRuleForm &x) { return CheckSubjectForm(x); }, WriteSubjectRule); },
         msg("ADV: cheap", "a@x.test"), msg("adv: cheap", "a@x.test"), 0,
         {"", "Starts with", "ADV", "Yes", "Yes", "0", ""}, K::Subject},
        {"header reply-to mismatch", [](TSpamSettings &s) {
             THeaderRuleForm f; f.choice = THeaderChoice::ReplyToMismatch; f.caseMatters = true; f.del = false;
             addRule(s.gridHeader, f, [](THeaderRuleForm &x) { return CheckHeaderForm(x); }, WriteHeaderRule); },
         msg("s", "a@x.test", {"Reply-To: b@y.test"}), msg("s", "a@x.test", {"Reply-To: a@x.test"}), 1,
         {"", "Sender", "does not match Reply-to", "No", "No", "0", ""}, K::Header},
        {"header sender equals to", [](TSpamSettings &s) {
             THeaderRuleForm f; f.choice = THeaderChoice::SenderEqualsTo;
             addRule(s.gridHeader, f, [](THeaderRuleForm &x) { return CheckHeaderForm(x); }, WriteHeaderRule); },
         msg("s", "a@x.test", {"To: a@x.test"}), msg("s", "a@x.test", {"To: me@home.test"}), 0,
         {"", "Sender", "equals To field", "No", "Yes", "0", ""}, K::Header},
        {"header to does not contain, typed mark replaced", [](TSpamSettings &s) {
             THeaderRuleForm f; f.choice = THeaderChoice::ToLacks; f.address = "me@home.test - MailBox #7"; f.mailbox = 3;
             addRule(s.gridHeader, f, [](THeaderRuleForm &x) { return CheckHeaderForm(x); }, WriteHeaderRule); },
         msg("s", "a@x.test", {"To: other@else.test"}, 3), msg("s", "a@x.test", {"To: me@home.test"}, 3), 0,
         {"", "To does not contain", "me@home.test - MailBox #3", "No", "Yes", "0", ""}, K::Header},
        {"sender domain equals", [](TSpamSettings &s) {
             TSenderRuleForm f; f.text = " spam.test ";
             addRule(s.gridFrom, f, [](TSenderRuleForm &x) { return CheckSenderForm(x); }, WriteSenderRule); },
         msg("s", "bob@SPAM.test"), msg("s", "bob@spam.test.org"), 0,
         {"", "Domain name", "Equals", "spam.test", "Yes", "0", ""}, K::From},
        {"sender address all numeric drops typed text", [](TSpamSettings &s) {
             TSenderRuleForm f; f.domain = false; f.op = "All numeric"; f.text = "left over"; f.del = false;
             addRule(s.gridFrom, f, [](TSenderRuleForm &x) { return CheckSenderForm(x); }, WriteSenderRule); },
         msg("s", "12345@host.test"), msg("s", "a1@host.test"), 1,
         {"", "E-mail address", "All numeric", "", "No", "0", ""}, K::From},
        {"exception address", [](TSpamSettings &s) {
             TExceptRuleForm f; f.address = "friend@home.test"; f.picture = 9;
             addRule(s.gridExcept, f, [](TExceptRuleForm &x) { return CheckExceptForm(x); }, WriteExceptRule); },
         msg("", "friend@home.test"), msg("", "stranger@home.test"), 9,
         {"E-mail address", "Equals", "friend@home.test", "No", "0", "", "9"}, K::Except},
        {"exception domain, picture out of range becomes 3", [](TSpamSettings &s) {
             TExceptRuleForm f; f.choice = TExceptChoice::Domain; f.domain = "home.test"; f.picture = 2;
             addRule(s.gridExcept, f, [](TExceptRuleForm &x) { return CheckExceptForm(x); }, WriteExceptRule); },
         msg("", "a@home.test"), msg("", "a@home.example"), 3,
         {"Domain name", "Equals", "home.test", "No", "0", "", "3"}, K::Except},
        {"exception on a header", [](TSpamSettings &s) {
             TExceptRuleForm f; f.choice = TExceptChoice::Header; f.header = "CC:"; f.op = "Contains";
             f.text = "club@list.test"; f.caseMatters = true; f.picture = 14;
             addRule(s.gridExcept, f, [](TExceptRuleForm &x) { return CheckExceptForm(x); }, WriteExceptRule); },
         msg("", "a@b.test", {"CC: club@list.test"}), msg("", "a@b.test", {"CC: CLUB@list.test"}), 14,
         {"CC:", "Contains", "club@list.test", "Yes", "0", "", "14"}, K::Except},
    };
    for (const RuleCase &c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.kind == K::Except) { // a blank subject marks every message: an exception shows
            TSubjectRuleForm all; all.op = "Is blank";
            WriteSubjectRule(f.s.gridSubject, InsertRuleRow(f.s.gridSubject, -1), all);
        }
        c.add(f.s);
        RuleTable &t = c.kind == K::Subject ? f.s.gridSubject
            : c.kind == K::Header             ? f.s.gridHeader
            : c.kind == K::From               ? f.s.gridFrom
                                              : f.s.gridExcept;
        QStringList cells;
        for (int col = 0; col < 7; ++col)
            cells << t.Cells(col, 1);
        EXPECT_EQ(cells, c.cells);
        EXPECT_EQ(f.mark(c.hit), c.hitMark);
        EXPECT_NE(f.mark(c.miss), c.hitMark);
        // Reading the row back gives a form that writes the same cells.
        RuleTable copy(t.kind());
        copy.SetRowCount(2);
        switch (c.kind) {
        case K::Subject: WriteSubjectRule(copy, 1, ReadSubjectRule(t, 1)); break;
        case K::Header: WriteHeaderRule(copy, 1, ReadHeaderRule(t, 1)); break;
        case K::From: WriteSenderRule(copy, 1, ReadSenderRule(t, 1)); break;
        case K::Except: WriteExceptRule(copy, 1, ReadExceptRule(t, 1)); break;
        }
        for (int col = 0; col < 7; ++col)
            if (col != t.HitColumn()) { // the evaluation above has counted hits
                EXPECT_EQ(copy.Cells(col, 1), t.Cells(col, 1)) << "column " << col;
            }
        EXPECT_EQ(copy.Picture(1), t.Picture(1));
    }
}

TEST(RuleForms, BlankValuesAreRefusedWithTheDialogsMessages)
{
    for (const QString &op : QStringList{"Contains", "Contains (whole word)", "Equals", "Starts with", "Ends with"}) {
        SCOPED_TRACE(op.toStdString());
        TSubjectRuleForm s; s.op = op; s.text = " \r\n\b";
        EXPECT_FALSE(CheckSubjectForm(s).isEmpty());
        TSenderRuleForm f; f.op = op; f.text = "  ";
        EXPECT_EQ(CheckSenderForm(f), "The Sender field cannot be left blank.");
    }
    TSubjectRuleForm upper; upper.op = "Is UPPERCASE";
    EXPECT_EQ(CheckSubjectForm(upper), QString());
    THeaderRuleForm h; h.text = "   ";
    EXPECT_EQ(CheckHeaderForm(h), "The header text cannot be blank");
    THeaderRuleForm to; to.choice = THeaderChoice::ToLacks; to.address = " - MailBox #2";
    EXPECT_EQ(CheckHeaderForm(to), "The TO field cannot be blank");
    TExceptRuleForm e;
    EXPECT_EQ(CheckExceptForm(e), "The email line cannot be blank");
    e.choice = TExceptChoice::Domain;
    EXPECT_EQ(CheckExceptForm(e), "The domain line cannot be blank");
    e.choice = TExceptChoice::Header; e.text = " ";
    EXPECT_EQ(CheckExceptForm(e), "The subject line cannot be blank");
}

// Rows as a hand-edited or older file may hold them, read once for the dialog and for the
// evaluation: the dialog shows the rule the evaluation applies. The evaluation's reading
// decides: kinds ignore ASCII case; "Sender" with any text but "does not match Reply-to"
// is the equals-To rule while a text operator with that text stays a header text rule; a
// "To does not contain" row without " - MailBox #" and a number 1 ... 12 belongs to no
// mailbox; the exception's picture comes from its hidden picture-index column.
TEST(RuleForms, OneReadingOfEachRowForTheDialogAndTheEvaluation)
{
    using K = RuleTable::Kind;
    struct Case
    {
        const char *name;
        K kind;
        QStringList cells;
        std::function<void(const RuleTable &)> form; // checks what the dialog is given
        TMessageRow first;
        int firstMark;
        TMessageRow second;
        int secondMark;
    };
    const QList<Case> cases{
        {"operator with the reply-to words is a text rule", K::Header,
         {"", "Contains", "does not match Reply-to", "No", "Yes", "0"},
         [](const RuleTable &t) {
             const THeaderRuleForm f = ReadHeaderRule(t, 1);
             EXPECT_EQ(f.choice, THeaderChoice::MessageHeader);
             EXPECT_EQ(f.text, "does not match Reply-to");
         },
         msg("s", "a@x.test", {"X-Note: does not match Reply-to"}), 0,
         msg("s", "a@x.test", {"Reply-To: b@y.test"}), -1},
        {"sender with another text is the equals-To rule", K::Header,
         {"", "sender", "anything", "No", "Yes", "0"},
         [](const RuleTable &t) { EXPECT_EQ(ReadHeaderRule(t, 1).choice, THeaderChoice::SenderEqualsTo); },
         msg("s", "a@x.test", {"To: a@x.test"}), 0, msg("s", "a@x.test", {"To: b@y.test"}), -1},
        {"to-lacks in other case, blanks around the number", K::Header,
         {"", "to does not contain", "me@home.test - MailBox # 3 ", "No", "Yes", "0"},
         [](const RuleTable &t) {
             const THeaderRuleForm f = ReadHeaderRule(t, 1);
             EXPECT_EQ(f.choice, THeaderChoice::ToLacks);
             EXPECT_EQ(f.address, "me@home.test");
             EXPECT_EQ(f.mailbox, 3);
         },
         msg("s", "a@x.test", {"To: other@else.test"}, 3), 0,
         msg("s", "a@x.test", {"To: other@else.test"}, 1), -1},
        {"to-lacks without the mailbox mark", K::Header,
         {"", "To does not contain", "me@home.test", "No", "Yes", "0"},
         [](const RuleTable &t) {
             const THeaderRuleForm f = ReadHeaderRule(t, 1);
             EXPECT_EQ(f.address, "me@home.test");
             EXPECT_EQ(f.mailbox, 0);
             THeaderRuleForm edited = f;
             EXPECT_FALSE(CheckHeaderForm(edited).isEmpty()); // the dialog asks for a mailbox
         },
         msg("s", "a@x.test", {"To: other@else.test"}, 0), -1,
         msg("s", "a@x.test", {"To: other@else.test"}, 1), -1},
        {"to-lacks for a mailbox beyond 12", K::Header,
         {"", "To does not contain", "me@home.test - MailBox #13", "No", "Yes", "0"},
         [](const RuleTable &t) { EXPECT_EQ(ReadHeaderRule(t, 1).mailbox, 0); },
         msg("s", "a@x.test", {"To: other@else.test"}, 0), -1,
         msg("s", "a@x.test", {"To: other@else.test"}, 12), -1},
        {"sender rule of an unknown kind tests the domain", K::From,
         {"", "Sender", "Contains", "example", "Yes", "0"},
         [](const RuleTable &t) { EXPECT_TRUE(ReadSenderRule(t, 1).domain); },
         msg("s", "x@example.test"), 0, msg("s", "example@host.test"), -1},
        {"e-mail address in other case", K::From, {"", "e-mail ADDRESS", "Starts with", "bob", "No", "0"},
         [](const RuleTable &t) { EXPECT_FALSE(ReadSenderRule(t, 1).domain); },
         msg("s", "bob@host.test"), 1, msg("s", "x@bob.test"), -1},
        {"exception on the subject without the colon", K::Except,
         {"subject", "ends with", "[club]", "No", "0", "", ""},
         [](const RuleTable &t) {
             const TExceptRuleForm f = ReadExceptRule(t, 1);
             EXPECT_EQ(f.choice, TExceptChoice::Header);
             EXPECT_EQ(f.header, "Subject:");
             EXPECT_EQ(f.op, "ends with");
             EXPECT_EQ(f.picture, 3);
         },
         msg("news [club]", "a@x.test"), 3, msg("news", "a@x.test"), -1},
        {"exception domain in other case, picture from the hidden column", K::Except,
         {"DOMAIN NAME", "Equals", "home.test", "No", "0", "", "9"},
         [](const RuleTable &t) {
             const TExceptRuleForm f = ReadExceptRule(t, 1);
             EXPECT_EQ(f.choice, TExceptChoice::Domain);
             EXPECT_EQ(f.domain, "home.test");
             EXPECT_EQ(f.picture, 9);
         },
         msg("s", "a@home.test"), 9, msg("s", "a@home.example"), -1},
        {"exception on a header the dialog does not list, blacklist picture number", K::Except,
         {"X-List:", "Contains", "club", "Yes", "0", "", "2"},
         [](const RuleTable &t) {
             const TExceptRuleForm f = ReadExceptRule(t, 1);
             EXPECT_EQ(f.header, "Subject:");
             EXPECT_EQ(f.what, "X-List:");
             EXPECT_EQ(f.picture, 3);
         },
         msg("s", "a@x.test", {"X-List: club"}), 3, msg("s", "a@x.test", {"X-List: CLUB"}), -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        RuleTable &t = c.kind == K::Header ? f.s.gridHeader : c.kind == K::From ? f.s.gridFrom : f.s.gridExcept;
        for (int col = 0; col < c.cells.size(); ++col)
            t.SetCells(col, 1, c.cells.at(col));
        // The picture shown in the list is not what the evaluation returns.
        t.SetPicture(1, 12);
        c.form(t);
        EXPECT_EQ(f.mark(c.first), c.firstMark);
        EXPECT_EQ(f.mark(c.second), c.secondMark);
    }
    EXPECT_EQ(MailboxItemNumber(MailboxItemText(11, "me", "pop.home.test")), 11);
    EXPECT_EQ(MailboxItemNumber("none"), 0);
    EXPECT_EQ(OperatorWord(SenderOperators(), "Is at least 1/2 numeric"), "50% numeric");
    EXPECT_EQ(OperatorItem(SubjectOperators(), "Equals"), "Equals (exact match)");
}

QStringList matches(const RuleTable &t)
{
    QStringList out;
    for (int row = 1; row < t.RowCount(); ++row)
        out << t.Cells(2, row);
    return out;
}

void addSubject(RuleTable &t, int row, const QString &text, const QString &hits = "0")
{
    TSubjectRuleForm f; f.text = text;
    WriteSubjectRule(t, row, f);
    t.SetCells(5, row, hits);
}

TEST(RuleForms, InsertDeleteMoveAndSortActOnTheRulesThemselves)
{
    RuleTable t(RuleTable::Kind::Subject);
    t.SetRowCount(2);
    addSubject(t, InsertRuleRow(t, 1), "a", "10");
    EXPECT_EQ(t.RowCount(), 2);
    addSubject(t, InsertRuleRow(t, -1), "c", "9");   // no current row: at the end
    addSubject(t, InsertRuleRow(t, 2), "B", "100");  // at the selected row
    EXPECT_EQ(matches(t), (QStringList{"a", "B", "c"}));
    addSubject(t, InsertRuleRow(t, 99), "d", "1");
    EXPECT_EQ(matches(t), (QStringList{"a", "B", "c", "d"}));

    SwapRules(t, 1, 2);
    EXPECT_EQ(matches(t), (QStringList{"B", "a", "c", "d"}));
    SwapRules(t, 4, 5); // beyond the last rule: nothing
    EXPECT_EQ(matches(t), (QStringList{"B", "a", "c", "d"}));

    SortRules(t, 5, Qt::AscendingOrder); // numbers, not text: 9 before 10
    EXPECT_EQ(matches(t), (QStringList{"d", "c", "a", "B"}));
    SortRules(t, 2, Qt::AscendingOrder); // text without regard to case
    EXPECT_EQ(matches(t), (QStringList{"a", "B", "c", "d"}));
    EXPECT_EQ(t.Picture(2), 0);

    DeleteRule(t, 0);
    DeleteRule(t, 9);
    EXPECT_EQ(t.RowCount(), 5);
    DeleteRule(t, 2);
    DeleteRule(t, 1);
    DeleteRule(t, 1);
    DeleteRule(t, 1);
    EXPECT_TRUE(t.IsEmptyList());
    EXPECT_EQ(t.Cells(1, 0), QString()); // headings were never set here; row 0 is untouched
}

TEST(RuleForms, InPlaceEditsAreChecked)
{
    RuleTable t(RuleTable::Kind::Subject);
    t.SetRowCount(3);
    TSubjectRuleForm f; f.op = "Starts with"; f.text = "x";
    WriteSubjectRule(t, 1, f);
    f.op = "Is blank";
    WriteSubjectRule(t, 2, f);
    struct Case { int col; int row; QString text; bool ok; };
    const QList<Case> cases{
        {5, 1, "17", true}, {5, 1, "", false}, {5, 1, "1a", false}, {5, 1, "-1", false},
        {5, 1, "+1", false}, {5, 1, "99999999999999999999", false},
        {2, 1, "free", true}, {2, 1, "  ", false}, {2, 1, "", false},
        {2, 2, "", true}, // "Is blank" compares with no text
        {1, 1, "Equals", false}, {2, 0, "x", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CheckCellEdit(t, c.col, c.row, c.text).isEmpty(), c.ok) << c.col << "," << c.row << " " << c.text.toStdString();

    RuleTable h(RuleTable::Kind::Header);
    h.SetRowCount(2);
    EXPECT_FALSE(CheckCellEdit(h, 2, 1, "X-1").isEmpty()); // headers: only the hits
    RuleTable e(RuleTable::Kind::Except);
    e.SetRowCount(2);
    e.SetCells(0, 1, "E-mail address");
    EXPECT_FALSE(CheckCellEdit(e, 2, 1, " ").isEmpty());
    EXPECT_TRUE(CheckCellEdit(e, 4, 1, "3").isEmpty());
}

} // namespace
