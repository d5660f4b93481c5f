#include "headers.h"
#include "textutil.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

TmsHeaders Lines(std::initializer_list<const char *> lines)
{
    TmsHeaders out;
    for (const char *l : lines)
        out.append(QString::fromUtf8(l));
    return out;
}

struct FieldCase
{
    const char *title;
    std::initializer_list<const char *> lines;
    const char *field;
    const char *expected;
};

const FieldCase kFieldCases[] = {
    {"empty list", {}, "Subject", ""},
    {"missing field", {"From: a@b"}, "Subject", ""},
    {"name given with colon", {"Subject: Hello"}, "Subject:", "Hello"},
    {"upper-case line, no blank", {"SUBJECT:Hello"}, "subject", "Hello"},
    {"tab after colon", {"Subject:\tHello\t"}, "Subject", "Hello"},
    {"blank before colon does not match", {"Subject : Hello"}, "Subject", ""},
    {"prefixed name does not match", {"X-Subject: Hello"}, "Subject", ""},
    {"continuation trimmed to one blank", {"Subject: Hello   ", "   \t world  "}, "Subject", "Hello world"},
    {"field ends at unindented line", {"Subject: a", "From: b", " c"}, "Subject", "a"},
    {"continuation of another field ignored", {"From: b", " Subject: x", "Subject: a"}, "Subject", "a"},
    {"duplicate: first wins", {"Subject: first", "Subject: second"}, "Subject", "first"},
    {"nothing after colon", {"Subject:"}, "Subject", ""},
    {"folded right after colon", {"Subject:", "  Hello"}, "Subject", "Hello"},
    {"blank continuation at the end", {"Subject: Hello", " "}, "Subject", "Hello"},
    {"value keeps inner colons", {"Subject: Re: Fwd: x"}, "Subject", "Re: Fwd: x"},
    {"non-breaking space is not trimmed", {"Subject: \u00a0x\u00a0 "}, "Subject", "\u00a0x\u00a0"},
    {"ASCII-only case folding of names", {"\u017fubject: long s", "Subject: real"}, "Subject", "real"},
    {"words on folded lines join", {"Subject: =?utf-8?Q?Gr=C3=BC?=", " =?utf-8?Q?=C3=9Fe?="}, "Subject", "Gr\u00fc\u00dfe"},
    {"underscores without word stay", {"Subject: snake_case"}, "Subject", "snake_case"},
    {"Content-Type is not decoded", {"Content-Type: text/plain; name=\"=?utf-8?Q?a_b?=\""}, "content-type", "text/plain; name=\"=?utf-8?Q?a_b?=\""},
    {"X-UIDL is not decoded", {"x-uidl: a_b=?x?Q?y?="}, "X-UIDL:", "a_b=?x?Q?y?="},
};

TEST(GetFieldValue, Table)
{
    for (const FieldCase &c : kFieldCases)
        EXPECT_EQ(GetFieldValue(Lines(c.lines), QString::fromUtf8(c.field)), QString::fromUtf8(c.expected)) << c.title;
}

TEST(GetFieldValueLimit, LongFoldedEncodedSubjectKeepsLaterWords)
{
    // Long subjects arrive as several folded words: the raw text is beyond 255 characters,
    // the decoded text is not, and none of it may be lost.
    TmsHeaders headers{QStringLiteral("Subject: =?utf-8?B?")
                       + QString::fromLatin1(QByteArray(45, 'x').toBase64()) + QStringLiteral("?=")};
    for (int i = 0; i < 4; ++i)
        headers.append(QStringLiteral(" =?utf-8?Q?") + QString(40, u'y') + QStringLiteral("?="));
    headers.append(QStringLiteral(" =?utf-8?Q?end?="));
    ASSERT_GT(headers.join(QString()).size(), 255);
    EXPECT_EQ(GetFieldValue(headers, QStringLiteral("Subject")),
              QString(45, u'x') + QString(160, u'y') + QStringLiteral("end"));
}

TEST(GetFieldValueLimit, ContentTypeIsNotCut)
{
    const QString boundary(400, u'b');
    const QString line = QStringLiteral("Content-Type: multipart/mixed; boundary=\"") + boundary + u'"';
    EXPECT_TRUE(GetFieldValue({line}, QStringLiteral("Content-Type")).endsWith(boundary + u'"'));
}

TEST(GetFieldValueLimit, HugeFoldedFieldIsBounded)
{
    TmsHeaders headers{QStringLiteral("Subject: start")};
    for (int i = 0; i < 20000; ++i)
        headers.append(QStringLiteral(" =?utf-8?Q?=C3=A9_?= plain_=?x?B?@@@@?="));
    const QString value = GetFieldValue(headers, QStringLiteral("Subject"));
    EXPECT_EQ(CodePointCount(value), 255);
    EXPECT_TRUE(value.startsWith(QStringLiteral("start \u00e9  plain =?x?B?@@@@?= \u00e9  plain "))) << qPrintable(value);
}

struct ListCase
{
    const char *title;
    std::initializer_list<const char *> lines;
    const char *field;
    std::initializer_list<const char *> expected;
};

const ListCase kListCases[] = {
    {"empty list", {}, "TO", {}},
    {"no such field", {"From: a@x"}, "TO", {}},
    {"quoted comma, bare address, continuation",
     {"To: \"Doe, John\" <jd@x.com>, b@x.com", " c@x.com"},
     "TO",
     {"\"Doe, John\" <jd@x.com>", "b@x.com", "c@x.com"}},
    {"real y-diaeresis in a name survives",
     {"To: \"M\u00fcller, J\u00ffrgen\" <j@x>, \u00ffvonne <y@x>"},
     "TO",
     {"\"M\u00fcller, J\u00ffrgen\" <j@x>", "\u00ffvonne <y@x>"}},
    {"every field of that name, in order", {"To: a@x", "Subject: s", "to: b@y, c@z"}, "TO", {"a@x", "b@y", "c@z"}},
    {"name matched as passed, without colon", {"To-Do: x, y"}, "TO", {"x", "y"}},
    {"matching line without colon stops", {"TOMATO", "To: a@x"}, "TO", {}},
    {"unindented line without colon continues", {"Cc: a@x,", "b@y"}, "CC", {"a@x", "b@y"}},
    {"quoted comma on a continuation line", {"To: a@x,", " \"Roe, Ann\" <ann@y>"}, "TO", {"a@x", "\"Roe, Ann\" <ann@y>"}},
    {"folded line with a colon in a quoted name", {"To: a@x,", "\t\"Re: Team\" <t@y>", "Subject: s"}, "TO", {"a@x", "\"Re: Team\" <t@y>"}},
    {"escaped quote inside quotes", {"To: \"a\\\"b, c\" <q@x>, d@y"}, "TO", {"\"a\\\"b, c\" <q@x>", "d@y"}},
    {"empty item between commas kept", {"To: a@x, , b@y"}, "TO", {"a@x", "", "b@y"}},
    {"trailing comma adds nothing", {"To: a@x,"}, "TO", {"a@x"}},
    {"encoded words stay for the address reader", {"To: =?utf-8?Q?J=C3=BCrgen?= <j@x>, b@y"}, "TO", {"=?utf-8?Q?J=C3=BCrgen?= <j@x>", "b@y"}},
    {"unbalanced quote protects to the end", {"To: \"a, b@x, c@y"}, "TO", {"\"a, b@x, c@y"}},
};

TEST(GetFieldList, Table)
{
    for (const ListCase &c : kListCases) {
        QStringList list{QStringLiteral("left over from before")};
        GetFieldList(Lines(c.lines), QString::fromUtf8(c.field), list);
        EXPECT_EQ(list, Lines(c.expected)) << c.title;
    }
}

struct EditCase
{
    const char *title;
    std::initializer_list<const char *> before;
    const char *field; // nullptr: TruncateAtBody
    std::initializer_list<const char *> after;
};

const EditCase kEditCases[] = {
    {"remove with continuation lines", {"A: 1", "Subject: x", "\ty", " z", "B: 2"}, "Subject", {"A: 1", "B: 2"}},
    {"remove only the first duplicate", {"Subject: 1", "Subject: 2"}, "subject:", {"Subject: 2"}},
    {"remove missing field", {"A: 1"}, "Subject", {"A: 1"}},
    {"remove needs the colon right after the name", {"Subject : 1", "X-Subject: 2"}, "Subject", {"Subject : 1", "X-Subject: 2"}},
    {"remove continuation at the end", {"A: 1", "Subject: x", " y"}, "Subject", {"A: 1"}},
    {"truncate without empty line", {"A: 1", "B: 2"}, nullptr, {"A: 1", "B: 2"}},
    {"truncate at first empty line", {"A: 1", "", "body", ""}, nullptr, {"A: 1"}},
    {"truncate with empty first line", {"", "A: 1"}, nullptr, {}},
    {"blank line is not empty", {"A: 1", " ", "B: 2", "", "body"}, nullptr, {"A: 1", " ", "B: 2"}},
};

TEST(RemoveFieldAndTruncateAtBody, Table)
{
    for (const EditCase &c : kEditCases) {
        TmsHeaders headers = Lines(c.before);
        if (c.field)
            RemoveField(headers, QString::fromUtf8(c.field));
        else
            TruncateAtBody(headers);
        EXPECT_EQ(headers, Lines(c.after)) << c.title;
    }
}

TEST(StripQuotes, Table)
{
    const struct { const char *in; const char *out; } cases[] = {
        {"", ""}, {"  plain  ", "plain"}, {"\"quoted\"", "quoted"}, {" \t\"\"\"many\"\" ", "many"},
        {"\"  two blanks inside  \"", "  two blanks inside  "}, {"\"", ""}, {"a\"b", "a\"b"},
        {"\u00a0\"x\"\u00a0", "\u00a0\"x\"\u00a0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StripQuotes(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

} // namespace
