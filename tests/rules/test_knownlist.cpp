#include "knownlist.h"
#include "temp_home.h"

#include "files.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct LookupCase { const char *sender; bool found; const char *kind; const char *entry; };

class KnownListLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(KnownListLookupTest, FindsAddressesThenDomains)
{
    const LookupCase &c = GetParam();
    TKnownList known;
    known.SetEntries({"spam.example", "", "Bulk@Mailer.example", "host", "zz.example", "  ",
                      "\u00e9t\u00e9.example", "_under.example"});
    QString kind = "unset";
    QString entry = "unset";
    EXPECT_EQ(known.isInKnownList(QString::fromUtf8(c.sender), kind, entry), c.found);
    if (c.found) {
        EXPECT_EQ(kind, QString::fromUtf8(c.kind));
        EXPECT_EQ(entry, QString::fromUtf8(c.entry));
    }
}

INSTANTIATE_TEST_SUITE_P(Lookups, KnownListLookupTest, ::testing::Values(
        LookupCase{"bulk@mailer.example", true, "E-mail", "bulk@mailer.example"},
        LookupCase{"BULK@MAILER.EXAMPLE", true, "E-mail", "BULK@MAILER.EXAMPLE"},
        LookupCase{"other@mailer.example", false, "", ""},
        LookupCase{"joe@HOST", true, "Domain", "HOST"},
        LookupCase{"joe@Spam.Example", true, "Domain", "Spam.Example"},
        LookupCase{"joe@notspam.example", false, "", ""},
        LookupCase{"joe@sub.spam.example", false, "", ""},
        LookupCase{"host", true, "E-mail", "host"},
        LookupCase{"joe@zz.example", true, "Domain", "zz.example"},
        LookupCase{"joe@_UNDER.example", true, "Domain", "_UNDER.example"},
        // ASCII folding only: É and é are different letters here.
        LookupCase{"joe@\u00e9t\u00e9.example", true, "Domain", "\u00e9t\u00e9.example"},
        LookupCase{"joe@\u00c9T\u00c9.example", false, "", ""},
        // An empty key is never looked up, so blank lines in the file match nothing.
        LookupCase{"", false, "", ""},
        LookupCase{"joe@", false, "", ""},
        LookupCase{"nobody@nowhere.example", false, "", ""}));

TEST(KnownList, OnlyTheFirst80CharactersOfAnEntryTakePart)
{
    const QString longDomain = QString(85, u'a') + QStringLiteral(".example");
    TKnownList known;
    known.SetEntries({"b.example", longDomain, "a.example"});
    QString kind, entry;
    EXPECT_TRUE(known.isInKnownList(QStringLiteral("x@") + longDomain.left(80), kind, entry));
    EXPECT_EQ(entry, longDomain.left(80));
    EXPECT_FALSE(known.isInKnownList(QStringLiteral("x@") + longDomain, kind, entry));
    EXPECT_FALSE(known.isInKnownList(QStringLiteral("x@") + longDomain.left(79), kind, entry));
}

TEST(KnownList, SortsWithOneLocaleIndependentOrder)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Turkish));
    TKnownList known;
    known.SetEntries({"b.example", "A.example", "_x", "a.example", "Z", "i.example"});
    known.Insert("B.example");
    known.Insert("0.example");
    QLocale::setDefault(saved);
    const QStringList expected{"0.example", "A.example", "a.example", "b.example", "B.example", "i.example",
                               "Z", "_x"};
    EXPECT_EQ(known.Entries(), expected);
    for (int i = 1; i < known.Count(); ++i)
        EXPECT_LE(TKnownList::Compare(known.Entries().at(i - 1), known.Entries().at(i)), 0);
    QString kind, entry;
    EXPECT_TRUE(known.isInKnownList("I.EXAMPLE", kind, entry));
}

TEST(KnownList, LoadsTheFileOrStaysEmpty)
{
    TempHome home;
    TKnownList known;
    known.SetEntries({"stale.example"});
    known.LoadUpKnownList();
    EXPECT_EQ(known.Count(), 0);

    home.write("known.lst", "zed.example\r\n\r\nalpha@x.example\r\ncaf\xe9.example\r\n");
    known.LoadUpKnownList();
    EXPECT_EQ(known.Entries(), (QStringList{QString(), "alpha@x.example",
                                            QStringLiteral(u"café.example"), "zed.example"}));
    QString kind, entry;
    EXPECT_TRUE(known.isInKnownList(QStringLiteral(u"joe@CAFé.example"), kind, entry));
    EXPECT_FALSE(known.isInKnownList(QString(), kind, entry));
}

} // namespace

namespace {

struct SaveCase
{
    const char *name;
    const char *editorText;
    QStringList expected; // the saved list, in file order
};

class KnownListSaveTest : public ::testing::TestWithParam<SaveCase>
{
};

TEST_P(KnownListSaveTest, CleansAndSortsTheEditorLines)
{
    const SaveCase &c = GetParam();
    TempHome home;
    home.write("known.lst", "old.example\n");
    TKnownList known;
    QString error;
    ASSERT_TRUE(known.SaveKnownList(TKnownList::EditorLines(QString::fromUtf8(c.editorText)),
                                    QString(), &error))
        << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(known.Entries(), c.expected);
    const QByteArray written = c.expected.isEmpty() ? QByteArray()
                                                    : c.expected.join(u'\n').toUtf8() + '\n';
    EXPECT_EQ(home.read("known.lst"), written);
    // What was saved is what the next evaluation finds.
    QString kind, entry;
    for (const QString &e : c.expected) {
        if (!e.isEmpty()) {
            EXPECT_TRUE(known.isInKnownList(e, kind, entry)) << e.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Save, KnownListSaveTest, ::testing::Values(
        SaveCase{"NeighbourDuplicateDropped", "spam.example\nSPAM.EXAMPLE\nsecond.example\n",
                 {"second.example", "spam.example"}},
        SaveCase{"DuplicatesApartBothKept", "SPAM.EXAMPLE\nsecond.example\nspam.example\n",
                 {"second.example", "SPAM.EXAMPLE", "spam.example"}},
        SaveCase{"NumericLocalPartsDropped",
                 "123@x.example\n1_2@x.example\n__@x.example\nab12@x.example\n12a@x.example\n"
                 "123.45.67\n@x.example\n",
                 {"123.45.67", "12a@x.example", "ab12@x.example"}},
        // Only the part before the first "@" counts.
        SaveCase{"FirstAtDecides", "12@a@x.example\nx@12@y.example\n", {"x@12@y.example"}},
        SaveCase{"EmptyLineInTheMiddleKept", "b.example\n\nc.example\n",
                 {QString(), "b.example", "c.example"}},
        SaveCase{"TwoEmptyLinesKeepOne", "b.example\n\n\nc.example\n", {QString(), "b.example", "c.example"}},
        SaveCase{"LastLineWithoutBreakKept", "b.example\na.example", {"a.example", "b.example"}},
        // A dropped line still is the line above the next one.
        SaveCase{"DroppedLineStillComparedWith", "x.example\n123@q.example\nX.EXAMPLE\n",
                 {"x.example", "X.EXAMPLE"}},
        SaveCase{"AsciiCaseOnly", "\u00e9.example\n\u00c9.EXAMPLE\n",
                 {QStringLiteral(u"\u00c9.EXAMPLE"), QStringLiteral(u"\u00e9.example")}},
        SaveCase{"CrLfFromAPaste", "b.example\r\nB.example\r\na.example\r\n", {"a.example", "b.example"}},
        SaveCase{"EmptyEditor", "", {}}),
    [](const ::testing::TestParamInfo<SaveCase> &info) { return std::string(info.param.name); });

TEST(KnownListSave, MissingFileIsNotCreatedButTheListIsRebuilt)
{
    TempHome home;
    TKnownList known;
    known.SetEntries({"stale.example"});
    QString error;
    EXPECT_TRUE(known.SaveKnownList({"new.example"}, QString(), &error));
    EXPECT_FALSE(QFileInfo::exists(home.file("known.lst")));
    EXPECT_EQ(known.Entries(), QStringList{"new.example"});
}

TEST(KnownListSave, AFailedWriteKeepsTheListAndSaysWhy)
{
    TempHome home;
    // A folder where the file should be: it exists, yet nothing can be written over it,
    // whoever runs the test.
    ASSERT_TRUE(QDir(home.path()).mkdir("known.lst"));
    TKnownList known;
    known.SetEntries({"kept.example"});
    QString error;
    EXPECT_FALSE(known.SaveKnownList({"new.example"}, QString(), &error));
    EXPECT_TRUE(error.contains("known.lst")) << error.toStdString();
    EXPECT_EQ(known.Entries(), QStringList{"kept.example"});
}

TEST(KnownListSave, ShippedStarterListIsCleanSortedAndInvented)
{
    const std::optional<QStringList> lines =
        ReadTextLines(QStringLiteral(TARNWICK_SOURCE_DIR "/data/known.lst"));
    ASSERT_TRUE(lines.has_value());
    EXPECT_GE(lines->size(), 200);
    // Saving it unchanged changes nothing: already sorted, no neighbours alike, no numbers.
    EXPECT_EQ(TKnownList::CleanEditorLines(*lines), *lines);
    const QRegularExpression reserved(QStringLiteral(
        R"(^([a-z]+@)?[a-z-]+\.(example|invalid|test|example\.com|example\.net|example\.org)$)"));
    for (const QString &line : *lines)
        EXPECT_TRUE(reserved.match(line).hasMatch()) << line.toStdString();
}

} // namespace
