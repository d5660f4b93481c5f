// The "BlackList" tab over a real data folder: an edit saved there is what the next
// evaluation finds; a save that fails keeps the edit; without the file nothing is editable.
// Set TARNWICK_SCREENSHOTS to a folder to keep a picture of the tab.

#include "blacklistpage.h"
#include "evaluator.h"
#include "knownlist.h"
#include "spamsettings.h"
#include "ui_test.h"

namespace {

class BlackListPage : public ::testing::Test
{
protected:
    void SetUp() override { settings.readSettings(); page.SetPrompts(&prompts); }

    // The mark the evaluation gives one message from the sender.
    int markOf(const QString &sender)
    {
        TMessageRowList rows;
        rows.rows.append(TMessageRow{QStringLiteral("Hello"), sender, QStringLiteral("1200"), {}, 1, -1});
        TRuleEvaluator evaluator(settings, known, &rows);
        evaluator.MarkForDeletion(0);
        return rows.rows.at(0).mark;
    }

    void start(const QByteArray &file)
    {
        home.write(QStringLiteral("known.lst"), file);
        known.LoadUpKnownList();
        page.LoadMemoofKnownSpammers();
    }

    TempHome home;
    TSpamSettings settings{home.path()};
    TKnownList known;
    TTestPrompts prompts;
    TBlackListPage page{settings, known};
};

TEST_F(BlackListPage, EditSaveIsSeenByTheNextEvaluation)
{
    start("zed.example\r\nalpha.example\r\n");
    EXPECT_TRUE(page.memoKnown->isReadOnly());
    EXPECT_FALSE(page.btCancelChanges->isEnabled());
    EXPECT_EQ(markOf(QStringLiteral("joe@new.example")), -1);

    page.btEditClick();
    EXPECT_FALSE(page.memoKnown->isReadOnly());
    EXPECT_TRUE(page.SavePending());
    page.resize(560, 380);
    page.show();
    Keep(&page, QStringLiteral("blacklist"));
    // The user's last line has no line break after it; it must still count.
    page.memoKnown->setPlainText(QStringLiteral(
        "zed.example\nalpha.example\nnew.example\nNEW.example\n123@spam.example\nlast@end.example"));
    EXPECT_EQ(page.LineCount(), 6);

    // How the lines are cleaned and sorted is the known list's own evidence; here the page
    // shows the cleaned list and the evaluation uses it.
    ASSERT_TRUE(page.btSaveChangesClick());
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(page.LineCount(), 4);
    EXPECT_TRUE(TRuleEvaluator::IsMarkedForDeletion(markOf(QStringLiteral("last@end.example"))));

    // The switch is the settings' own value: off, the list is not consulted.
    page.cbKnown->setChecked(false);
    EXPECT_FALSE(settings.knownOn);
    EXPECT_EQ(markOf(QStringLiteral("joe@new.example")), -1);

    // Cancel discards an edit.
    page.btEditClick();
    page.memoKnown->setPlainText(QStringLiteral("typed.example\n"));
    page.btCancelChangesClick();
    EXPECT_TRUE(page.memoKnown->isReadOnly());
    EXPECT_EQ(known.Entries().size(), 4);
}

TEST_F(BlackListPage, FailedSaveKeepsTheEditAndTheList)
{
    start("alpha.example\n");
    page.btEditClick();
    const QString edit = QStringLiteral("alpha.example\nbeta.example\n");
    page.memoKnown->setPlainText(edit);
    // Replace the file by a folder of that name: it exists, yet cannot be written over.
    ASSERT_TRUE(QFile::remove(home.file(QStringLiteral("known.lst"))));
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("known.lst")));

    EXPECT_FALSE(page.btSaveChangesClick());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.at(0).contains(QStringLiteral("not saved"))) << prompts.errors.at(0).toStdString();
    EXPECT_EQ(page.memoKnown->toPlainText(), edit);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The list itself after a failed write: KnownListSave.AFailedWriteKeepsTheListAndSaysWhy.
}

// Missing, or there but unreadable (a folder in its place): nothing to edit, nothing written.
TEST_F(BlackListPage, MissingOrUnreadableFileCannotBeEdited)
{
    known.LoadUpKnownList();
    page.LoadMemoofKnownSpammers();
    EXPECT_TRUE(page.FileMissing());
    EXPECT_EQ(page.lbBusy->text(), QStringLiteral("Could not locate the known spammer blacklist!"));
    EXPECT_TRUE(page.btEdit->isHidden());
    page.btEditClick();
    EXPECT_TRUE(page.memoKnown->isReadOnly());
    EXPECT_FALSE(page.btSaveChangesClick());
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("known.lst"))));
    EXPECT_EQ(markOf(QStringLiteral("joe@anything.example")), -1);

    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("known.lst")));
    page.LoadMemoofKnownSpammers();
    EXPECT_TRUE(page.FileMissing());
    EXPECT_TRUE(page.lbBusy->text().contains(QStringLiteral("known.lst"))) << page.lbBusy->text().toStdString();
    EXPECT_FALSE(page.btSaveChangesClick());

    // The file comes back: the next showing offers editing again.
    ASSERT_TRUE(QDir(home.path()).rmdir(QStringLiteral("known.lst")));
    home.write(QStringLiteral("known.lst"), "back.example\n");
    page.LoadMemoofKnownSpammers();
    EXPECT_FALSE(page.btEdit->isHidden());
    EXPECT_FALSE(page.pnlBusy->isVisibleTo(&page));
}

} // namespace
