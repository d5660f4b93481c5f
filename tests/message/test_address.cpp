#include "address.h"
#include "textutil.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

struct AddressCase
{
    const char *title;
    const char *in;
    const char *address;
    const char *name;
};

void PrintTo(const AddressCase &c, std::ostream *os)
{
    *os << c.title;
}

class ParseMailAddressTest : public ::testing::TestWithParam<AddressCase>
{
};

TEST_P(ParseMailAddressTest, Splits)
{
    const AddressCase &c = GetParam();
    TmsMailAddress parsed(QStringLiteral("old name"), QStringLiteral("old@address"));
    ParseMailAddress(QString::fromUtf8(c.in), parsed);
    EXPECT_EQ(parsed.Address(), QString::fromUtf8(c.address)) << c.title;
    EXPECT_EQ(parsed.Name(), QString::fromUtf8(c.name)) << c.title;

    const SplitAddress split = SplitMailAddress(QString::fromUtf8(c.in));
    EXPECT_EQ(split.address, parsed.Address()) << c.title;
    EXPECT_EQ(split.name, parsed.Name()) << c.title;
}

const AddressCase kAddressCases[] = {
    {"empty text", "", "", ""},
    {"bare address", "john@example.com", "john@example.com", ""},
    {"quoted name with comma", "\"Doe, John\" <john@example.com>", "john@example.com", "Doe, John"},
    {"address with name in parentheses", "john@example.com (John Doe)", "john@example.com", "John Doe"},
    {"missing closing bracket", "John Doe <john@example.com", "", "John Doe <john@example.com"},
    {"closing bracket before opening", "x> John <j@x", "", "x> John <j@x"},
    {"brackets only", "<j@x>", "j@x", ""},
    {"quoted address inside brackets", "Jo <\"j@x\">", "j@x", "Jo"},
    {"name after the brackets", "<j@x> Jo", "j@x", "Jo"},
    {"name before and after joined", "Jo <j@x> Doe", "j@x", "Jo  Doe"},
    {"two named addresses: first wins", "A <a@x>, B <b@y>", "a@x", "A , B <b@y>"},
    {"list of bare addresses stays whole", "a@x, b@y", "a@x, b@y", ""},
    {"blanks inside quotes kept", "  \"  Jo  \"  <j@x>", "j@x", "  Jo  "},
    {"bare address is not trimmed", " a@x ", " a@x ", ""},
    {"parenthesis takes the last character as its end", "a@x (Jo", "a@x", "J"},
    {"parenthesis at the end", "a@x (", "a@x", ""},
    {"parenthesis alone", "(", "", ""},
    {"bracket wins over parenthesis", "(c) Jo <j@x>", "j@x", "(c) Jo"},
    {"8-bit name", "J\u00fcrgen \u00ff <j@x>", "j@x", "J\u00fcrgen \u00ff"},
};

INSTANTIATE_TEST_SUITE_P(Table, ParseMailAddressTest, ::testing::ValuesIn(kAddressCases));

TEST(MailAddressLimit, FieldsAreCutOnCodePoints)
{
    const QString smile = QString::fromUtf8("\U0001F600");
    const QString name = QString(254, u'n') + smile + smile;
    TmsMailAddress parsed;
    ParseMailAddress(name + QStringLiteral(" <") + QString(300, u'a') + QStringLiteral("@x>"), parsed);
    EXPECT_EQ(parsed.Name(), QString(254, u'n') + smile);
    EXPECT_EQ(parsed.Address(), QString(255, u'a'));

    TmsMailAddress direct(name, name);
    EXPECT_EQ(CodePointCount(direct.Name()), 255);
    EXPECT_EQ(direct.Address(), direct.Name());
    direct.SetName(QString(256, u'x'));
    EXPECT_EQ(direct.Name(), QString(255, u'x'));
    direct.Clear();
    EXPECT_TRUE(direct.Name().isEmpty());
    EXPECT_TRUE(direct.Address().isEmpty());
}

} // namespace
