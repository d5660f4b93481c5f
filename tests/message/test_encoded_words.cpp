#include "headers.h"
#include "textutil.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

struct WordCase { const char *title; const char *in; const char *out; };

const WordCase kWordCases[] = {
    // Plain text
    {"empty", "", ""},
    {"no word, underscores stay", "snake_case value", "snake_case value"},
    {"lone opener without word end", "a =? b", "a "},

    // The basic forms
    {"B word", "=?utf-8?B?SGVsbG8=?=", "Hello"},
    {"lower-case q with leading escape", "=?iso-8859-1?q?=E9t=E9?=", "\u00e9t\u00e9"},
    {"Q text that is just the letter b", "=?utf-8?Q?b?= x", "b x"},
    {"empty word text", "a=?utf-8?Q?\?=b", "ab"},
    {"empty charset reads as Latin-1", "=??Q?=E9?=", "\u00e9"},
    {"language suffix on the charset", "=?utf-8*en?Q?=C3=A9?=", "\u00e9"},

    // Blanks and underscores around words
    {"text before a word keeps its blanks", " x =?utf-8?Q?a?=", " x a"},
    {"trailing blanks after the last word go", "=?utf-8?Q?a?=  \t", "a"},
    {"underscores in plain text become blanks", "snake_case =?utf-8?Q?x?= tail_end", "snake case x tail end"},
    {"underscores after a B word too", "=?utf-8?B?YV9i?=", "a b"},
    {"an encoded underscore also becomes a blank", "=?utf-8?Q?a=5Fb?=", "a b"},
    {"folded blanks between words go", "=?a?Q?x?=\t =?a?Q?y?=_z", "xy z"},
    {"underscore right after a word stays a blank", "=?a?Q?x?=_y", "x y"},

    // Charsets
    {"unknown charset reads as Latin-1", "=?x-unknown?Q?=E9?=", "\u00e9"},
    {"US-ASCII keeps 8-bit bytes", "=?us-ascii?Q?=E9?=", "\u00e9"},
    {"windows-1252", "=?windows-1252?Q?=80?=", "\u20ac"},
    {"koi8-r", "=?koi8-r?B?8NLJ18XU?=", "\u041f\u0440\u0438\u0432\u0435\u0442"},
    {"literal UTF-8 character in a Q word", "=?utf-8?Q?Gr\u00fc=C3=9Fe?=", "Gr\u00fc\u00dfe"},
    {"literal Latin-1 character in a Q word", "=?iso-8859-1?Q?caf\u00e9?=", "caf\u00e9"},

    // Characters split across words
    {"UTF-8 split across Q words, mixed case", "=?utf-8?Q?=E2=82?= =?UTF-8?q?=AC?=", "\u20ac"},
    {"UTF-8 split across B and Q words", "=?utf-8?B?4oI=?=\t=?utf-8?Q?=AC?=", "\u20ac"},
    {"different charsets are not joined", "=?iso-8859-1?Q?=E9?= =?utf-8?Q?=C3=A9?=", "\u00e9\u00e9"},
    {"plain text between halves keeps them apart", "=?utf-8?Q?=C3?= x =?utf-8?Q?=A9?=", "\ufffd x \ufffd"},

    // Words that do not decode stay as they are
    {"bad character in a B word", "=?utf-8?B?SGV$bG8=?= rest", "=?utf-8?B?SGV$bG8=?= rest"},
    {"bad B word, then a good word", "=?utf-8?B?!!!!?= =?utf-8?Q?ok?=", "=?utf-8?B?!!!!?= ok"},
    {"unknown encoding letter", "=?utf-8?X?abc?= x", "=?utf-8?X?abc?= x"},
    {"no encoding part", "=?utf-8?= x", "=?utf-8?= x"},
    {"nothing inside", "=?\?= x", "=?\?= x"},
    {"good word, then a bad one", "=?utf-8?Q?a?= =?utf-8?B?_?= z", "a =?utf-8?B? ?= z"},

    // Unclosed and unusual words
    {"missing ?= cuts before the word", "Hello =?utf-8?Q?abc", "Hello "},
    {"missing ?= after a decoded word", "=?utf-8?Q?a?= b =?utf-8?Q?c", "a b "},
    {"Q soft break at the end", "=?utf-8?Q?ab=?=", "ab"},
    {"Q text stops at a line break", "=?utf-8?Q?a=0Ab?= c", "a c"},
    {"decoded text is not decoded again", "=?utf-8?Q?=3D=3Fx?=", "=?x"},
};

TEST(DecodeEncodedWords, Table)
{
    for (const WordCase &c : kWordCases)
        EXPECT_EQ(DecodeEncodedWords(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.title;
}

TEST(EncodedWordLimit, NonBmpCharactersAtTheLimitStayWhole)
{
    QString in;
    for (int i = 0; i < 300; ++i)
        in += QStringLiteral("=?utf-8?B?8J+YgA==?= ");
    const QString out = DecodeEncodedWords(in);
    EXPECT_EQ(CodePointCount(out), 255);
    EXPECT_EQ(out.size(), 510);
    EXPECT_TRUE(out.back().isLowSurrogate());
}

TEST(EncodedWordLimit, PlainTextIsCutAt255)
{
    EXPECT_EQ(DecodeEncodedWords(QString(1000, u'z')), QString(255, u'z'));
}

} // namespace
