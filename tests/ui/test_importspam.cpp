// Keyword and address import (typed, pasted or loaded from files of every accepted form)
// and the mark-for-deletion dialog, over real rule lists in a data folder of their own.
// Set TARNWICK_SCREENSHOTS to a folder to keep a picture of the import dialog.

#include "importfile.h"
#include "importspam.h"
#include "markfordeletion.h"
#include "spamsettings.h"
#include "ui_test.h"

namespace {

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xff\xfe") : QByteArray("\xfe\xff");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const char low = char(u & 0xff), high = char(u >> 8);
        bytes.append(littleEndian ? low : high);
        bytes.append(littleEndian ? high : low);
    }
    return bytes;
}

TEST(ImportFile, ReadsEachFormat)
{
    const QStringList both{QStringLiteral("free"), QStringLiteral(u"caf\u00e9 offer")};
    const struct { const char *name; QByteArray bytes; QStringList lines; int skipped; } cases[] = {
        {"UTF-8, LF", QByteArray("free\ncaf\xc3\xa9 offer\n"), both, 0},
        {"UTF-8 BOM, CRLF", QByteArray("\xef\xbb\xbf" "free\r\ncaf\xc3\xa9 offer\r\n"), both, 0},
        {"Latin-1", QByteArray("free\r\ncaf\xe9 offer\r\n"), both, 0},
        {"old Mac CR", QByteArray("free\rcaf\xc3\xa9 offer"), both, 0},
        {"UTF-16 LE", utf16(QStringLiteral(u"free\r\ncaf\u00e9 offer\r\n"), true), both, 0},
        {"UTF-16 BE", utf16(QStringLiteral(u"free\ncaf\u00e9 offer"), false), both, 0},
        // Blank lines are no entries, and not worth a warning either.
        {"blank lines", QByteArray("\n  \nfree\n\t\n"), {QStringLiteral("free")}, 0},
        {"binary lines", QByteArray("free\n\x00\x01\x02\xff\n\x7f" "ELF\nwin\n", 19), {QStringLiteral("free"), QStringLiteral("win")}, 2},
        {"too long", QByteArray("free\n") + QByteArray(256, 'a') + "\n" + QByteArray(255, 'b'), {QStringLiteral("free"), QString(255, u'b')}, 1},
    };
    for (const auto &c : cases) {
        const TImportFile parsed = ParseImportFile(c.bytes);
        EXPECT_EQ(parsed.lines, c.lines) << c.name;
        EXPECT_EQ(parsed.skipped, c.skipped) << c.name;
    }
}

class ImportSpam : public ::testing::Test
{
protected:
    void SetUp() override { settings.readSettings(); }

    QString writeFile(const QString &name, const QByteArray &bytes) { home.write(name, bytes); return home.file(name); }

    TempHome home;
    TSpamSettings settings{home.path()};
    TfrmImportSpam dialog;
};

// Each kind names the list it imports into (which neighbours are dropped is the rule layer's
// evidence and the spam settings window's).
TEST_F(ImportSpam, LinesBecomeRulesOfTheNamedList)
{
    dialog.SetKind(TfrmImportSpam::Kind::Keywords);
    dialog.memoImport->setPlainText(QStringLiteral("  win $ \n\n"));
    EXPECT_EQ(dialog.ImportInto(settings), 1);
    QStringList cells;
    for (int col = 1; col <= 5; ++col)
        cells << settings.gridSubject.Cells(col, 1);
    EXPECT_EQ(cells, (QStringList{"Contains (whole word)", "win $", "No", "Yes", "0"}));

    dialog.memoImport->clear();
    dialog.SetKind(TfrmImportSpam::Kind::Addresses);
    EXPECT_EQ(dialog.lbTitle->text(), QStringLiteral("Import e-mail addresses into the exceptions list"));
    dialog.memoImport->setPlainText(QStringLiteral("typed@friend.example"));
    EXPECT_TRUE(dialog.LoadFile(writeFile(QStringLiteral("a.txt"), "one@friend.example\r\n")));
    EXPECT_TRUE(dialog.LoadFile(writeFile(QStringLiteral("b.txt"), utf16(QStringLiteral(u"zo\u00eb@friend.example\n"), true))));
    EXPECT_TRUE(dialog.lbLoaded->text().contains(QStringLiteral("Added 1 line(s) from \"b.txt\"")));
    EXPECT_EQ(dialog.ImportInto(settings), 3);
    ASSERT_EQ(settings.gridExcept.RowCount(), 4);
    EXPECT_EQ(settings.gridExcept.Cells(2, 3), QStringLiteral(u"zo\u00eb@friend.example"));
    dialog.show();
    Keep(&dialog, QStringLiteral("importspam"));
}

TEST_F(ImportSpam, BrokenFilesSayWhatWasSkipped)
{
    EXPECT_TRUE(dialog.LoadFile(writeFile(QStringLiteral("mixed.txt"), QByteArray("free\n\x01\x02\n", 8))));
    EXPECT_TRUE(dialog.lbLoaded->text().contains(QStringLiteral("Skipped 1 line(s)")))
        << dialog.lbLoaded->text().toStdString();
    EXPECT_FALSE(dialog.LoadFile(writeFile(QStringLiteral("picture.png"), QByteArray("\x89PNG\r\n\x1a\n\x00\x00", 10))));
    EXPECT_TRUE(dialog.lbLoaded->text().contains(QStringLiteral("does not look like a text file")))
        << dialog.lbLoaded->text().toStdString();
    EXPECT_FALSE(dialog.LoadFile(home.file(QStringLiteral("absent.txt"))));
    EXPECT_TRUE(dialog.lbLoaded->text().startsWith(QStringLiteral("Cannot read"))) << dialog.lbLoaded->text().toStdString();
    // Only the good line reached the box.
    EXPECT_EQ(dialog.Lines(), QStringList{QStringLiteral("free")});
}

// Where and how the rules go in is the rule layer's evidence; here each box chooses its list,
// and what OK added is stored.
TEST(MarkForDeletion, EachBoxChoosesItsListAndOkStores)
{
    for (const auto &[withSubjects, withSenders] : {std::pair{true, false}, {false, true}}) {
        TempHome home;
        TSpamSettings settings{home.path()};
        settings.readSettings();
        TTestPrompts prompts;
        TfrmMarkForDeletion dialog(settings);
        dialog.SetPrompts(&prompts);
        dialog.SetMessages({{QStringLiteral("Win now"), QStringLiteral("a@spam.example")},
                            {QStringLiteral("Cheap pills"), QStringLiteral("c@spam.example")}});
        dialog.cbSubjects->setChecked(withSubjects);
        dialog.cbSenders->setChecked(withSenders);
        EXPECT_TRUE(dialog.btOKClick());
        TSpamSettings reread{home.path()};
        reread.readSettings();
        EXPECT_EQ(reread.gridSubject.IsEmptyList(), !withSubjects);
        EXPECT_EQ(reread.gridFrom.IsEmptyList(), !withSenders);
        EXPECT_EQ(reread.gridSubject.Cells(2, 1), withSubjects ? "Cheap pills" : "");
        EXPECT_EQ(reread.gridFrom.Cells(3, 1), withSenders ? "c@spam.example" : "");
        EXPECT_TRUE(prompts.errors.isEmpty());
    }
}

TEST(MarkForDeletion, TakesAtMost249MessagesAndReportsAFailedSave)
{
    TempHome home;
    TSpamSettings settings{home.path()};
    settings.readSettings();
    TTestPrompts prompts;
    TfrmMarkForDeletion dialog(settings);
    dialog.SetPrompts(&prompts);
    QList<TMarkMessage> messages;
    for (int i = 0; i < 300; ++i)
        messages.append({QStringLiteral("Subject %1").arg(i), QStringLiteral("s%1@spam.example").arg(i)});
    dialog.SetMessages(messages);
    EXPECT_EQ(dialog.MessageCount(), 249);

    // The subject list's file cannot be replaced: the rules are in use all the same.
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("subj.lst")));
    EXPECT_FALSE(dialog.btOKClick());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.at(0).contains(QStringLiteral("subj.lst"))) << prompts.errors.at(0).toStdString();
    EXPECT_EQ(settings.gridSubject.RowCount(), 250);
    EXPECT_EQ(settings.gridSubject.Cells(2, 1), QStringLiteral("Subject 248"));
}

} // namespace
