#include "ruletext.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct OperatorCase
{
    const char *op; const char *text; const char *value; bool caseSensitive; bool expected;
};

void PrintTo(const OperatorCase &c, std::ostream *os)
{
    *os << c.op << " text=\"" << c.text << "\" value=\"" << c.value << "\" case="
        << c.caseSensitive;
}

class OperatorTest : public ::testing::TestWithParam<OperatorCase> {};

// The text operators as the evaluator resolves them, and the two predicates a subject rule
// may use instead (they ignore the value).
TEST_P(OperatorTest, Matches)
{
    const OperatorCase &c = GetParam();
    const QString op = QString::fromUtf8(c.op), text = QString::fromUtf8(c.text);
    const bool matched = op == "Is blank"       ? isBlank(text)
                         : op == "Is UPPERCASE" ? isUpperCaseText(text)
                                                : matchTextOp(ParseTextOp(op), text, QString::fromUtf8(c.value),
                                                              c.caseSensitive);
    EXPECT_EQ(matched, c.expected);
}

INSTANTIATE_TEST_SUITE_P(TextOperators, OperatorTest, ::testing::Values(
        // Contains
        OperatorCase{"Contains", "Cheap Viagra now", "viagra", false, true},
        OperatorCase{"Contains", "Cheap Viagra now", "viagra", true, false},
        OperatorCase{"Contains", "Cheap Viagra now", "Viagra", true, true},
        OperatorCase{"Contains", "anything", "", false, false},
        OperatorCase{"Contains", "", "x", false, false},
        OperatorCase{"Contains", "short", "shorter", false, false},
        // Candidates in either case, overlapping starts, a match at the very end.
        OperatorCase{"Contains", "aAbab", "AB", false, true},
        OperatorCase{"Contains", "xXxXy", "xy", false, true},
        OperatorCase{"Contains", "XxXx", "xy", false, false},
        OperatorCase{"Contains", "a--X", "--x", false, true},
        OperatorCase{"Contains", "a--X", "--x", true, false},
        OperatorCase{"Contains", "ends in Zq", "zQ", false, true},
        // ASCII folding only: accented letters compare as they are.
        OperatorCase{"Contains", "CAFÉ", "café", false, false},
        OperatorCase{"Contains", "CAFÉ", "cafÉ", false, true},
        // Equals
        OperatorCase{"Equals", "Hello", "hello", false, true},
        OperatorCase{"Equals", "Hello", "hello", true, false},
        OperatorCase{"Equals", "Hello", "Hello ", false, false},
        OperatorCase{"Equals", "", "", false, true},
        OperatorCase{"Equals", "x", "", false, false},
        // Starts with
        OperatorCase{"Starts with", "ADV: offer", "adv:", false, true},
        OperatorCase{"Starts with", "ADV: offer", "adv:", true, false},
        OperatorCase{"Starts with", "anything", "", true, true},
        OperatorCase{"Starts with", "", "", true, true},
        OperatorCase{"Starts with", "AD", "ADV", false, false},
        // Ends with
        OperatorCase{"Ends with", "offer ADV", "adv", false, true},
        OperatorCase{"Ends with", "offer ADV", "adv", true, false},
        OperatorCase{"Ends with", "anything", "", false, true},
        OperatorCase{"Ends with", "V", "ADV", false, false},
        // Predicates ignore the value
        OperatorCase{"Is blank", "", "", false, true},
        OperatorCase{"Is blank", " \r\n\b ", "", false, true},
        OperatorCase{"Is blank", "\t\t", "", false, false},
        OperatorCase{"Is blank", "x", "", false, false},
        OperatorCase{"Is UPPERCASE", "123 !!!", "", false, true},
        OperatorCase{"Is UPPERCASE", "FREE MONEY 4 U", "", false, true},
        OperatorCase{"Is UPPERCASE", "FREE money", "", false, false},
        OperatorCase{"Is UPPERCASE", "", "", false, false},
        OperatorCase{"Is UPPERCASE", "   ", "", false, false},
        OperatorCase{"Is UPPERCASE", "ÉTÉ é", "", false, true},
        // Operator names fold ASCII case; unknown names never match.
        OperatorCase{"CONTAINS", "abc", "b", false, true},
        OperatorCase{"starts WITH", "abc", "a", false, true},
        OperatorCase{"Contains ", "abc", "b", false, false},
        OperatorCase{"Matches", "abc", "abc", false, false},
        OperatorCase{"All numeric", "123", "", false, false}));

TEST(RuleText, EndsWithValueOfMoreThan255CharactersNeverMatches)
{
    const QString value255(255, u'a');
    const QString value256(256, u'a');
    EXPECT_TRUE(endsWithText(QString(300, u'a'), value255, true));
    EXPECT_FALSE(endsWithText(QString(300, u'a'), value256, true));
}

struct WholeWordCase { const char *text; const char *word; bool caseSensitive; bool expected; };

class WholeWordTest : public ::testing::TestWithParam<WholeWordCase> {};

TEST_P(WholeWordTest, Matches)
{
    const WholeWordCase &c = GetParam();
    EXPECT_EQ(WholeWordCheck(QString::fromUtf8(c.text), QString::fromUtf8(c.word), c.caseSensitive),
              c.expected)
        << c.text << " / " << c.word;
}

INSTANTIATE_TEST_SUITE_P(Edges, WholeWordTest, ::testing::Values(
        WholeWordCase{"Get FREE stuff!", "free", false, true},
        WholeWordCase{"Get FREE stuff!", "free", true, false},
        WholeWordCase{"free", "free", false, true},
        WholeWordCase{"freedom", "free", false, false},
        WholeWordCase{"get free money now", "free money", false, false},
        WholeWordCase{"carefree free", "free", false, true},
        WholeWordCase{"carefree", "free", false, false},
        WholeWordCase{"", "free", false, false},
        WholeWordCase{"   ", " ", false, false},
        WholeWordCase{"free", "", false, false},
        WholeWordCase{"café crème", "café", true, true},
        WholeWordCase{"CAFÉ", "café", false, false}));

TEST(RuleText, EveryWordDelimiterSeparatesWords)
{
    ASSERT_EQ(WordDelimiters.size(), 35);
    for (const QChar d : WordDelimiters) {
        const QString text = QStringLiteral("x") + d + QStringLiteral("free") + d + QStringLiteral("y");
        EXPECT_TRUE(WholeWordCheck(text, u"free", true)) << int(d.unicode());
    }
    for (const QChar c : QStringLiteral("_aZ09\u00a0")) {
        EXPECT_FALSE(isWordDelimiter(c)) << int(c.unicode());
        const QString text = QStringLiteral("x") + c + QStringLiteral("free");
        EXPECT_FALSE(WholeWordCheck(text, u"free", true)) << int(c.unicode());
    }
}

TEST(RuleText, DigitHelpers)
{
    EXPECT_EQ(countDigits(u"a1_2b"), 3);
    EXPECT_EQ(stripDigits(u"a1_2b3"), "a_b");
    EXPECT_EQ(pluralS(1), QString());
    EXPECT_EQ(pluralS(2), "s");
}

TEST(RuleText, FoldingChangesOnlyAsciiLetters)
{
    EXPECT_EQ(foldAsciiCase(u"abz ABZ 09_@"), "ABZ ABZ 09_@");
    EXPECT_EQ(foldAsciiCase(u"\u00e9\u00df\u00c9"), "\u00e9\u00df\u00c9");
    EXPECT_EQ(foldAsciiCase(u"x\U0001F600y"), "X\U0001F600Y");
    EXPECT_EQ(foldAsciiCase(u""), QString());
}

// A rule that ignores case is tested on folded text with a folded value; every operator
// must give the same answer that way as on the texts as they are.
TEST(RuleText, FoldedTextsGiveTheCaseInsensitiveAnswer)
{
    const QStringList texts{QString(), "Free Offer", "fREE-offer!", "caf\u00e9 CAF\u00c9", " \r\n",
                            "Re: x_1 free", "FREE"};
    const QStringList values{QString(), "free", "OFFER", "caf\u00c9", "e o", " ", "X_1", "Free Offer"};
    const TextOp ops[] = {TextOp::Contains, TextOp::ContainsWholeWord, TextOp::Equals,
                          TextOp::StartsWith, TextOp::EndsWith};
    int matches = 0;
    for (const TextOp op : ops)
        for (const QString &text : texts)
            for (const QString &value : values) {
                const bool plain = matchTextOp(op, text, value, false);
                matches += plain;
                EXPECT_EQ(matchTextOp(op, foldAsciiCase(text), foldAsciiCase(value), true), plain)
                    << int(op) << " [" << qPrintable(text) << "] [" << qPrintable(value) << "]";
            }
    // The table is only worth something if it holds matches as well as misses.
    EXPECT_GT(matches, 10);
}

} // namespace
