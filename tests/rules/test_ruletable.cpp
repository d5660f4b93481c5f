#include "rule_test.h"
#include "spamsettings.h"

#include <gtest/gtest.h>

namespace {

TEST(RuleTableFile, WritesTheDocumentedExampleAndReadsItBack)
{
    TSpamSettings settings("/nonexistent");
    RuleTable &t = settings.gridSubject;
    setRow(t, 1, QStringList({"", "Contains", "free", "No", "Yes", "0"}));
    const QStringList expected = QStringList({"6,2", "1,0,What", "2,0,Matches", "3,0,Case", "4,0,Del?",
                                    "5,0,Hits", "1,1,Contains", "2,1,free", "3,1,No", "4,1,Yes",
                                    "5,1,0"});
    EXPECT_EQ(t.WriteLines(), expected);

    RuleTable back(RuleTable::Kind::Subject);
    QStringList problems;
    back.ReadLines(expected, &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    EXPECT_EQ(back.RowCount(), 2);
    EXPECT_EQ(rowCells(back, 1), rowCells(t, 1));
    EXPECT_EQ(back.Cells(4, 0), "Del?");
}

TEST(RuleTableFile, CellTextWithCommasAndLineBreaksSurvives)
{
    RuleTable t(RuleTable::Kind::Header);
    t.SetRowCount(3);
    setRow(t, 1, QStringList({"", "Contains", "buy, sell, , now", "No", "Yes", "3"}));
    t.SetCells(2, 2, "line one\r\nline two\nthree\rfour");
    const QStringList lines = t.WriteLines();
    EXPECT_TRUE(lines.contains("2,2,line one\t\bline two\bthree\tfour"));
    for (const QString &line : lines)
        EXPECT_FALSE(line.contains(u'\n') || line.contains(u'\r'));

    RuleTable back(RuleTable::Kind::Header);
    back.ReadLines(lines);
    EXPECT_EQ(back.Cells(2, 1), "buy, sell, , now");
    EXPECT_EQ(back.Cells(2, 2), "line one\r\nline two\nthree\rfour");
    EXPECT_EQ(back.RowCount(), 3);
}

TEST(RuleTableFile, EmptyListWritesHeadingsOnlyAndReadsBackEmpty)
{
    TSpamSettings settings("/nonexistent");
    const QStringList lines = settings.gridFrom.WriteLines();
    EXPECT_EQ(lines, QStringList({"6,2", "1,0,What", "2,0,Condition", "3,0,Matches", "4,0,Del?", "5,0,Hits"}));
    EXPECT_EQ(settings.gridExcept.WriteLines().first(), "7,2");

    RuleTable back(RuleTable::Kind::From);
    back.ReadLines(lines);
    EXPECT_TRUE(back.IsEmptyList());
    EXPECT_EQ(back.rowCount(), 1);
}

struct DamagedCase
{
    const char *name;
    QStringList lines;
    int expectedRows;
    // Cells (col,row,text) that must be there after reading.
    QList<std::tuple<int, int, QString>> cells;
    bool problemsExpected;
};

class DamagedFileTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedFileTest, ReadsWhatIsSound)
{
    const DamagedCase &c = GetParam();
    RuleTable t(RuleTable::Kind::Subject);
    QStringList problems;
    t.ReadLines(c.lines, &problems);
    EXPECT_EQ(t.ColCount(), 6);
    EXPECT_EQ(t.RowCount(), c.expectedRows);
    for (const auto &[col, row, text] : c.cells)
        EXPECT_EQ(t.Cells(col, row), text) << col << "," << row;
    EXPECT_EQ(!problems.isEmpty(), c.problemsExpected) << problems.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedFileTest, ::testing::Values(
        DamagedCase{"EmptyFile", {}, 2, {}, false},
        DamagedCase{"CellBeyondDeclaredRows",
                    QStringList({"6,2", "1,1,Contains", "2,1,free", "1,2,Equals", "2,5,x"}), 2,
                    {{1, 1, "Contains"}, {2, 1, "free"}, {1, 2, ""}}, true},
        DamagedCase{"CellBeyondDeclaredColumns", QStringList({"3,2", "1,1,Contains", "4,1,Yes"}), 2,
                    {{1, 1, "Contains"}, {4, 1, ""}}, true},
        DamagedCase{"FewerThanTwoRowsDeclared", QStringList({"6,1", "1,1,Contains", "2,1,free"}), 2,
                    {{1, 1, "Contains"}, {2, 1, "free"}}, true},
        DamagedCase{"AbsurdRowCount", QStringList({"6,999999999", "1,1,Contains", "1,3,Equals"}), 4,
                    {{1, 1, "Contains"}, {1, 3, "Equals"}}, true},
        DamagedCase{"RowCountFarBeyondTheLastCell", QStringList({"6,500", "1,1,Contains", "1,3,Equals"}), 4,
                    {{1, 1, "Contains"}, {1, 3, "Equals"}}, false},
        DamagedCase{"SomeTrailingBlankRowsKept", QStringList({"6,50", "1,1,Contains", "1,3,Equals"}), 50,
                    {{1, 1, "Contains"}, {1, 3, "Equals"}}, false},
        DamagedCase{"CellBeyondTheSaneMaximum", QStringList({"6,200000", "1,1,Contains", "1,150000,Equals"}), 2,
                    {{1, 1, "Contains"}}, true},
        DamagedCase{"TrailingBlankRowsKept", QStringList({"6,4", "1,1,Contains", "2,1,x", "3,1,No"}), 4,
                    {{1, 1, "Contains"}}, false},
        DamagedCase{"NegativeCounts", QStringList({"-6,-2", "1,1,Contains"}), 2, {{1, 1, "Contains"}}, true},
        DamagedCase{"CountTooBigForAnInt", QStringList({"6,99999999999999999999", "1,1,Equals"}), 2,
                    {{1, 1, "Equals"}}, true},
        DamagedCase{"NonNumericIndices",
                    QStringList({"6,3", "x,1,bad", "1,y,bad", "1,1", "-1,1,bad", "1,1,Contains", "2,2,ok"}),
                    3, {{1, 1, "Contains"}, {2, 2, "ok"}}, true},
        DamagedCase{"HeaderLineMissing", QStringList({"1,1,Contains", "2,1,free"}), 2,
                    {{1, 1, "Contains"}, {2, 1, "free"}}, true},
        DamagedCase{"SevenColumnsTrimmedToSix", QStringList({"7,2", "1,1,Contains", "6,1,extra"}), 2,
                    {{1, 1, "Contains"}}, false},
        DamagedCase{"ByteOrderMarkAndBlankLines", QStringList({"\xEF\xBB\xBF" "6,2", "", "1,1,Contains", "  "}),
                    2, {{1, 1, "Contains"}}, false},
        // An empty cell is never written, so it must not make rows either: the next save
        // would declare rows that the reading after it throws away.
        DamagedCase{"EmptyCellMakesNoRows", QStringList({"6,999,", "1,1,Contains", "2,700,"}), 2,
                    {{1, 1, "Contains"}}, true},
        DamagedCase{"HugeRowIndexInSmallFile", QStringList({"6,2", "1,2000000000,x", "1,1,Equals"}), 2,
                    {{1, 1, "Equals"}}, true}),
    [](const ::testing::TestParamInfo<DamagedCase> &info) { return std::string(info.param.name); });

// Rules added from outside the editor land in the blank row of an empty list, then in the
// trailing blank rows (a scan would stop before a rule behind them); deleting the only rule
// leaves the blank row; pictures never go outside the rules.
TEST(RuleTableRows, WhereRulesAreAddedAndRemoved)
{
    RuleTable t(RuleTable::Kind::Subject);
    EXPECT_EQ(t.AppendRule(), 1);
    t.SetCells(1, 1, "Contains");
    EXPECT_EQ(t.AppendRule(), 2);
    EXPECT_EQ(t.RowCount(), 3);
    t.SetRowCount(5);
    EXPECT_EQ(t.AppendRule(), 2);
    EXPECT_EQ(t.RowCount(), 5);

    RuleTable top(RuleTable::Kind::Subject);
    EXPECT_EQ(top.InsertRuleAtTop(), 1);
    setRow(top, 1, {"", "Equals", "first"});
    EXPECT_EQ(top.InsertRuleAtTop(), 1);
    EXPECT_TRUE(top.IsRowBlank(1));
    EXPECT_EQ(top.Cells(2, 2), "first");

    RuleTable one(RuleTable::Kind::From);
    one.SetCells(1, 1, "E-mail address");
    for (int row : {-1, 0, 2})
        TSpamSettings::CheckGridAdv(one, row, true);
    EXPECT_EQ(one.Picture(0), -1);
    TSpamSettings::CheckGridAdv(one, 1, false);
    EXPECT_EQ(one.Picture(1), 1);
    one.DeleteRow(1);
    EXPECT_TRUE(one.IsEmptyList());
    EXPECT_EQ(one.Picture(1), -1);
}

TEST(RuleTableRows, DeleteDupsMergesOnlyNeighbours)
{
    RuleTable t(RuleTable::Kind::Subject);
    t.SetRowCount(6);
    const QStringList a = QStringList({"", "Contains", "free", "No", "Yes", "0"});
    const QStringList b = QStringList({"", "Contains", "cash", "No", "Yes", "0"});
    setRow(t, 1, a);
    setRow(t, 2, a);
    setRow(t, 3, b);
    setRow(t, 4, a);
    setRow(t, 5, QStringList({"", "Contains", "free", "No", "Yes", "7"})); // hit count differs
    TSpamSettings::DeleteDupsFromGrid(t);
    ASSERT_EQ(t.RowCount(), 5);
    EXPECT_EQ(t.Cells(2, 1), "free");
    EXPECT_EQ(t.Cells(2, 2), "cash");
    EXPECT_EQ(t.Cells(2, 3), "free");
    EXPECT_EQ(t.Cells(5, 4), "7");
}

TEST(RuleTableModel, RulesAreModelRowsAndHeadingsAreHeaderData)
{
    TSpamSettings settings("/nonexistent");
    RuleTable &t = settings.gridExcept;
    setRow(t, 1, QStringList({"E-mail address", "Equals", "a@b", "No", "0", "", "7"}));
    t.SetPicture(1, 7);
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.columnCount(), 6);
    EXPECT_EQ(t.headerData(3, Qt::Horizontal).toString(), "Case?");
    EXPECT_EQ(t.data(t.index(0, 2)).toString(), "a@b");
    EXPECT_EQ(t.data(t.index(0, 5), RuleTable::PictureRole).toInt(), 7);
    EXPECT_FALSE(t.data(t.index(0, 6)).isValid());
}

} // namespace
