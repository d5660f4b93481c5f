// Keyword and address import (typed, pasted or loaded from files of every accepted form)
// and the mark-for-deletion dialog, over real rule lists in a data folder of their own.
// Set TARNWICK_SCREENSHOTS to a folder to keep a picture of the import dialog.

#include "importfile.h"
#include "importspam.h"
#include "markfordeletion.h"
#include "spamsettings.h"
#include "temp_home.h"
#include "ui_test.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

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

struct FileCase
{
    const char *name;
    QByteArray bytes;
    QStringList lines;
    int skipped;
};

class ImportFileTest : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(ImportFileTest, ReadsEachFormat)
{
    const FileCase &c = GetParam();
    const TImportFile parsed = ParseImportFile(c.bytes);
    EXPECT_EQ(parsed.lines, c.lines);
    EXPECT_EQ(parsed.skipped, c.skipped);
}

const QString kCafe = QStringLiteral(u"caf\u00e9 offer");

INSTANTIATE_TEST_SUITE_P(
    Formats, ImportFileTest,
    ::testing::Values(
        FileCase{"Utf8Lf", QByteArray("free\ncaf\xc3\xa9 offer\n"), {QStringLiteral("free"), kCafe}, 0},
        FileCase{"Utf8BomCrLf", QByteArray("\xef\xbb\xbf" "free\r\ncaf\xc3\xa9 offer\r\n"),
                 {QStringLiteral("free"), kCafe}, 0},
        FileCase{"Latin1CrLf", QByteArray("free\r\ncaf\xe9 offer\r\n"), {QStringLiteral("free"), kCafe}, 0},
        FileCase{"OldMacCr", QByteArray("free\rcaf\xc3\xa9 offer"), {QStringLiteral("free"), kCafe}, 0},
        FileCase{"Utf16Le", utf16(QStringLiteral(u"free\r\ncaf\u00e9 offer\r\n"), true),
                 {QStringLiteral("free"), kCafe}, 0},
        FileCase{"Utf16Be", utf16(QStringLiteral(u"free\ncaf\u00e9 offer"), false),
                 {QStringLiteral("free"), kCafe}, 0},
        // Blank lines are no entries, and not worth a warning either.
        FileCase{"BlankLinesLeftOut", QByteArray("\n  \nfree\n\t\n"), {QStringLiteral("free")}, 0},
        FileCase{"BinaryLinesSkipped", QByteArray("free\n\x00\x01\x02\xff\n\x7f" "ELF\nwin\n", 19),
                 {QStringLiteral("free"), QStringLiteral("win")}, 2},
        FileCase{"TooLongLineSkipped", QByteArray("free\n") + QByteArray(256, 'a') + "\n" + QByteArray(255, 'b'),
                 {QStringLiteral("free"), QString(255, u'b')}, 1},
        FileCase{"Empty", QByteArray(), {}, 0}),
    [](const ::testing::TestParamInfo<FileCase> &info) { return std::string(info.param.name); });

class ImportSpam : public ::testing::Test
{
protected:
    void SetUp() override { settings.readSettings(); }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        home.write(name, bytes);
        return home.file(name);
    }

    TempHome home;
    TSpamSettings settings{home.path()};
    TfrmImportSpam dialog;
};

TEST_F(ImportSpam, TypedLinesBecomeKeywordRulesWithoutNeighbourRepeats)
{
    dialog.SetKind(TfrmImportSpam::Kind::Keywords);
    EXPECT_EQ(dialog.lbTitle->text(), QStringLiteral("Import spam keywords"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Import new keywords"));
    // Only identical neighbours go: the blank line and the blanks around the last one
    // keep it apart from the first.
    dialog.memoImport->setPlainText(QStringLiteral("lottery\nlottery\nwin $\n\n  lottery \n"));
    EXPECT_EQ(dialog.Lines().size(), 4);
    EXPECT_EQ(dialog.ImportInto(settings), 3);
    ASSERT_EQ(settings.gridSubject.RowCount(), 4);
    const QStringList expected{QStringLiteral("lottery"), QStringLiteral("win $"), QStringLiteral("lottery")};
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(settings.gridSubject.Cells(1, row), QStringLiteral("Contains (whole word)"));
        EXPECT_EQ(settings.gridSubject.Cells(2, row), expected.at(row - 1));
        EXPECT_EQ(settings.gridSubject.Cells(3, row), QStringLiteral("No"));
        EXPECT_EQ(settings.gridSubject.Cells(4, row), QStringLiteral("Yes"));
        EXPECT_EQ(settings.gridSubject.Cells(5, row), QStringLiteral("0"));
    }
}

TEST_F(ImportSpam, FilesOfEachFormatLoadIntoTheBoxAndImportAsAddresses)
{
    dialog.SetKind(TfrmImportSpam::Kind::Addresses);
    EXPECT_EQ(dialog.lbTitle->text(), QStringLiteral("Import e-mail addresses"));
    dialog.memoImport->setPlainText(QStringLiteral("typed@friend.example"));
    EXPECT_TRUE(dialog.LoadFile(writeFile(QStringLiteral("a.txt"), "one@friend.example\r\n")));
    EXPECT_TRUE(dialog.LoadFile(writeFile(QStringLiteral("b.txt"),
                                          utf16(QStringLiteral(u"zo\u00eb@friend.example\n"), true))));
    EXPECT_TRUE(dialog.LoadFile(writeFile(QStringLiteral("c.txt"), "\xef\xbb\xbfthree@friend.example")));
    EXPECT_TRUE(dialog.lbLoaded->text().contains(QStringLiteral("Added 1 line(s) from \"c.txt\"")))
        << dialog.lbLoaded->text().toStdString();
    EXPECT_EQ(dialog.ImportInto(settings), 4);
    const QStringList expected{QStringLiteral("typed@friend.example"), QStringLiteral("one@friend.example"),
                               QStringLiteral(u"zo\u00eb@friend.example"), QStringLiteral("three@friend.example")};
    ASSERT_EQ(settings.gridExcept.RowCount(), 5);
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(settings.gridExcept.Cells(0, row), QStringLiteral("E-mail address"));
        EXPECT_EQ(settings.gridExcept.Cells(1, row), QStringLiteral("Equals"));
        EXPECT_EQ(settings.gridExcept.Cells(2, row), expected.at(row - 1));
        EXPECT_EQ(settings.gridExcept.Cells(6, row), QStringLiteral("3"));
    }
    EXPECT_TRUE(settings.gridSubject.IsEmptyList());
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

TEST_F(ImportSpam, CancelImportsNothing)
{
    TPoller cancel([this] {
        if (!dialog.isVisible())
            return false;
        dialog.memoImport->setPlainText(QStringLiteral("free\n"));
        dialog.reject();
        return true;
    });
    EXPECT_EQ(dialog.Run(settings, TfrmImportSpam::Kind::Keywords), -1);
    EXPECT_TRUE(settings.gridSubject.IsEmptyList());
}

TEST_F(ImportSpam, Screenshot)
{
    dialog.SetKind(TfrmImportSpam::Kind::Keywords);
    dialog.memoImport->setPlainText(QStringLiteral("lottery\nmake money\nwork at home\n"));
    dialog.LoadFile(writeFile(QStringLiteral("keywords.txt"), QByteArray("free\n\x01\n", 7)));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_GE(dialog.lbExplain->height(), dialog.lbExplain->heightForWidth(dialog.lbExplain->width()));
    const QString folder = qEnvironmentVariable("TARNWICK_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        EXPECT_TRUE(dialog.grab().save(folder + QStringLiteral("/importspam.png")));
    }
}

struct MarkCase
{
    const char *name;
    bool subjects;
    bool senders;
    QStringList subjectRules; // rows 1 ... of the subject list, in order
    QStringList senderRules;
};

class MarkForDeletionTest : public ::testing::TestWithParam<MarkCase>
{
};

TEST_P(MarkForDeletionTest, AddsRulesAtTheTopInReverseOrder)
{
    const MarkCase &c = GetParam();
    TempHome home;
    TSpamSettings settings{home.path()};
    settings.readSettings();
    TTestPrompts prompts;
    TfrmMarkForDeletion dialog(settings);
    dialog.SetPrompts(&prompts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Mark e-mail for deletion"));
    dialog.SetMessages({{QStringLiteral("Win now"), QStringLiteral("a@spam.example")},
                        {QString(), QStringLiteral("b@spam.example")},
                        {QStringLiteral("Cheap pills"), QStringLiteral("c@spam.example")}});
    EXPECT_TRUE(dialog.cbSubjects->isChecked());
    EXPECT_TRUE(dialog.cbSenders->isChecked());
    dialog.cbSubjects->setChecked(c.subjects);
    dialog.cbSenders->setChecked(c.senders);
    EXPECT_TRUE(dialog.btOKClick());
    EXPECT_TRUE(prompts.errors.isEmpty());

    QStringList subjects, senders;
    for (int row = 1; row < settings.gridSubject.RowCount(); ++row)
        if (!settings.gridSubject.IsRowBlank(row)) {
            subjects << settings.gridSubject.Cells(2, row);
            EXPECT_EQ(settings.gridSubject.Cells(1, row), QStringLiteral("Equals"));
            EXPECT_EQ(settings.gridSubject.Cells(5, row), QStringLiteral("1"));
        }
    for (int row = 1; row < settings.gridFrom.RowCount(); ++row)
        if (!settings.gridFrom.IsRowBlank(row)) {
            senders << settings.gridFrom.Cells(3, row);
            EXPECT_EQ(settings.gridFrom.Cells(1, row), QStringLiteral("E-mail address"));
            EXPECT_EQ(settings.gridFrom.Cells(4, row), QStringLiteral("Yes"));
        }
    EXPECT_EQ(subjects, c.subjectRules);
    EXPECT_EQ(senders, c.senderRules);

    // Stored, too: a fresh read of the files gives the same lists.
    TSpamSettings reread{home.path()};
    reread.readSettings();
    EXPECT_EQ(reread.gridSubject.WriteLines(), settings.gridSubject.WriteLines());
    EXPECT_EQ(reread.gridFrom.WriteLines(), settings.gridFrom.WriteLines());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MarkForDeletionTest,
    ::testing::Values(
        MarkCase{"Both", true, true, {QStringLiteral("Cheap pills"), QStringLiteral("Win now")},
                 {QStringLiteral("c@spam.example"), QStringLiteral("a@spam.example")}},
        MarkCase{"SubjectsOnly", true, false, {QStringLiteral("Cheap pills"), QStringLiteral("Win now")}, {}},
        MarkCase{"SendersOnly", false, true, {},
                 {QStringLiteral("c@spam.example"), QStringLiteral("a@spam.example")}},
        MarkCase{"Neither", false, false, {}, {}}),
    [](const ::testing::TestParamInfo<MarkCase> &info) { return std::string(info.param.name); });

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
