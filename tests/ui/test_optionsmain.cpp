// The spam settings window: each rule dialog makes its rule, the
// list buttons, OK and Cancel against the files, a failed save,
// printing to PDF. Set TARNWICK_SCREENSHOTS to a folder to keep a picture of each tab.

#include "blacklistpage.h"
#include "evaluator.h"
#include "importspam.h"
#include "optionsmain.h"
#include "ruledialogs.h"
#include "settingsstore.h"
#include "ui_test.h"

namespace {

class OptionsWindow : public ::testing::Test
{
protected:
    TempHome home;
    TSpamSettings spam{home.path()};
    TKnownList known;
    UserSettings store{home.file(QStringLiteral("settings.ini"))};
    TTestPrompts prompts;
    std::unique_ptr<TfrmOptionsMain> window;
    // What the next rule dialog does before its OK is pressed.
    std::function<void(QDialog &)> fill;

    void SetUp() override
    {
        spam.readSettings();
        window = std::make_unique<TfrmOptionsMain>(spam, known, store, prompts);
        window->SetMailboxes({MailboxItemText(1, "me", "pop.home.test"), MailboxItemText(3, "you", "pop.work.test")});
        window->SetDialogRunner([this](QDialog &d) {
            if (!fill)
                return int(QDialog::Rejected);
            fill(d);
            d.accept();
            return d.result();
        });
    }

    template <typename D>
    static D &as(QDialog &d) { return dynamic_cast<D &>(d); }

    void select(int list, int row) { window->View(list)->setCurrentIndex(window->View(list)->model()->index(row - 1, 1)); }

    QStringList column(int list, int col)
    {
        QStringList out;
        RuleTable &t = window->Table(list);
        for (int row = 1; row < t.RowCount(); ++row)
            out << t.Cells(col, row);
        return out;
    }

    void addSubject(const QString &text, bool del = true)
    {
        fill = [text, del](QDialog &d) { as<TfrmOptionsSubject>(d).cbText->setCurrentText(text); (del ? as<TfrmOptionsSubject>(d).rbCheck : as<TfrmOptionsSubject>(d).rbQuestion)->setChecked(true); };
        window->btInsertClick(TfrmOptionsMain::SubjectList);
    }
};

// How each row is evaluated is the rule layer's evidence; here each dialog's choices become
// the right row.
TEST_F(OptionsWindow, EachDialogMakesItsRule)
{
    using W = TfrmOptionsMain;
    // cells: columns 0 ... 6 of the new row.
    const struct { const char *name; int list; std::function<void(QDialog &)> fill; QStringList cells; } cases[] = {
        {"subject whole word", W::SubjectList, [](QDialog &d) { as<TfrmOptionsSubject>(d).cbOperator->setCurrentText("Contains (whole word)"); as<TfrmOptionsSubject>(d).cbText->setCurrentText(" free "); }, {"", "Contains (whole word)", "free", "No", "Yes", "0", ""}},
        {"subject uppercase, question mark", W::SubjectList, [](QDialog &d) { auto &s = as<TfrmOptionsSubject>(d); s.cbText->setCurrentText("typed first"); s.cbOperator->setCurrentText("Is all UPPERCASE"); s.rbQuestion->setChecked(true); }, {"", "Is UPPERCASE", "", "", "No", "0", ""}},
        {"header equals, case", W::HeaderList, [](QDialog &d) { auto &h = as<TfrmHeaders>(d); h.cbOperator->setCurrentText("Equals (exact match)"); h.cbHeader->setCurrentText("X-Mailer: Group Mail"); h.chkCase->setChecked(true); }, {"", "Equals", "X-Mailer: Group Mail", "Yes", "Yes", "0", ""}},
        {"header to does not contain, mailbox 3", W::HeaderList, [](QDialog &d) { auto &h = as<TfrmHeaders>(d); h.rbTo->setChecked(true); h.edTo->setText(" you@work.test "); h.cbMailbox->setCurrentIndex(1); }, {"", "To does not contain", "you@work.test - MailBox #3", "No", "Yes", "0", ""}},
        {"sender domain ends with", W::SenderList, [](QDialog &d) { as<TfrmOptionsFROM>(d).cbOperator->setCurrentText("Ends with"); as<TfrmOptionsFROM>(d).cbText->setCurrentText(".invalid"); }, {"", "Domain name", "Ends with", ".invalid", "Yes", "0", ""}},
        {"exception any header", W::ExceptList, [](QDialog &d) { auto &e = as<TfrmAlwaysAccept>(d); e.rbHeader->setChecked(true); e.cbHeader->setCurrentText("Any Header"); e.cbOperator->setCurrentText("Starts with"); e.edText->setText("List-Id:"); e.pictures->button(7)->setChecked(true); }, {"Any Header", "Starts with", "List-Id:", "No", "0", "", "7"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        window->Table(c.list).ClearRules();
        fill = c.fill;
        window->btInsertClick(c.list);
        RuleTable &t = window->Table(c.list);
        ASSERT_EQ(t.RowCount(), 2);
        QStringList cells;
        for (int col = 0; col < 7; ++col)
            cells << t.Cells(col, 1);
        EXPECT_EQ(cells, c.cells);
        EXPECT_EQ(window->CountLabel(c.list)->text(), "1 rule");
    }
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
}

TEST_F(OptionsWindow, InsertEditDeleteAndMove)
{
    using W = TfrmOptionsMain;
    // Where a new rule goes: RuleForms.InsertDeleteMoveAndSortActOnTheRulesThemselves.
    addSubject("a");
    addSubject("b");
    window->View(W::SubjectList)->setCurrentIndex(QModelIndex());
    addSubject("c");
    EXPECT_EQ(column(W::SubjectList, 2), (QStringList{"b", "a", "c"}));
    EXPECT_EQ(window->CountLabel(W::SubjectList)->text(), "3 rules");

    // Edit keeps the hit count; Cancel of the dialog changes nothing.
    window->Table(W::SubjectList).SetCells(5, 2, "17");
    select(W::SubjectList, 2);
    fill = [](QDialog &d) {
        auto &s = as<TfrmOptionsSubject>(d);
        EXPECT_EQ(s.cbText->currentText(), "a");
        s.cbText->setCurrentText("a2");
        s.rbQuestion->setChecked(true);
    };
    window->btEditClick(W::SubjectList);
    EXPECT_EQ(column(W::SubjectList, 2), (QStringList{"b", "a2", "c"}));
    EXPECT_EQ(window->Table(W::SubjectList).Cells(5, 2), "17");
    fill = nullptr;
    window->btEditClick(W::SubjectList);
    EXPECT_EQ(column(W::SubjectList, 2), (QStringList{"b", "a2", "c"}));

    // Move: the selection and the picture go with the rule; nothing moves past either end.
    select(W::SubjectList, 2);
    window->btMoveClick(W::SubjectList, -1);
    window->btMoveClick(W::SubjectList, -1);
    EXPECT_EQ(column(W::SubjectList, 2), (QStringList{"a2", "b", "c"}));
    EXPECT_EQ(window->View(W::SubjectList)->currentIndex().row(), 0);
    EXPECT_EQ(window->Table(W::SubjectList).Picture(1), 1);

    // The delete key: rules go one by one; the last leaves an empty list, then nothing happens.
    QTableView *view = window->View(W::SubjectList);
    for (int i = 0; i < 4; ++i) {
        select(W::SubjectList, 1);
        QTest::keyClick(view, Qt::Key_Delete);
    }
    EXPECT_EQ(window->CountLabel(W::SubjectList)->text(), "0 rules");
}

// OK drops neighbouring repeats and stores; a failed save says so and keeps everything;
// Cancel reads the files back.
TEST_F(OptionsWindow, OkStoresAFailedSaveKeepsEverythingCancelReadsBack)
{
    using W = TfrmOptionsMain;
    window->show();
    addSubject("x");
    addSubject("y");
    addSubject("y"); // same as its neighbour
    window->View(W::SubjectList)->setCurrentIndex(QModelIndex());
    addSubject("y"); // same as a rule further up: stays
    window->chkLarger->setChecked(true);
    window->edLarger->setValue(12345);
    // A folder where the header list should be: no one, not even root, can write it.
    ASSERT_TRUE(QDir(home.path()).mkdir("header.lst"));
    window->accept();
    EXPECT_NE(window->result(), QDialog::Accepted);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.first().startsWith("The spam settings could not be saved"));
    EXPECT_TRUE(prompts.errors.first().contains("header.lst"));
    ASSERT_TRUE(QDir(home.path()).rmdir("header.lst"));
    window->accept();
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(column(W::SubjectList, 2), (QStringList{"y", "x", "y"}));
    TSpamSettings stored(home.path());
    stored.readSettings();
    EXPECT_EQ(stored.gridSubject.RowCount(), 4);
    EXPECT_EQ(stored.larger.limit, 12345);

    window->show();
    addSubject("unsaved");
    window->chkSmaller->setChecked(true);
    window->reject();
    EXPECT_EQ(column(W::SubjectList, 2), (QStringList{"y", "x", "y"}));
    EXPECT_FALSE(spam.smaller.on);
}

TEST_F(OptionsWindow, PrintsAListToPdf)
{
    // Enough rules for a second page: the headings repeat there.
    for (int i = 0; i < 80; ++i)
        addSubject(QStringLiteral("rule%1").arg(i));
    const QString pdf = home.file("subjects.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    window->btPrintClick(TfrmOptionsMain::SubjectList, &printer);
    ASSERT_TRUE(QFileInfo(pdf).size() > 0);
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Tarnwick - Subject Line Settings"));
    EXPECT_TRUE(text.contains("rule79"));
    EXPECT_GE(text.count("Matches"), 2);
}

TEST_F(OptionsWindow, TabsWithScreenshotsAndTheSizeFields)
{
    addSubject("free");
    addSubject("make money", false);
    fill = [](QDialog &d) { as<TfrmAlwaysAccept>(d).edAddress->setText("friend@home.test"); };
    window->btInsertClick(TfrmOptionsMain::ExceptList);
    window->show();
    for (int i = 0; i < window->tabs->count(); ++i) {
        window->tabs->setCurrentIndex(i);
        Keep(window.get(), QStringLiteral("spam-settings-") + window->tabs->tabText(i).toLower());
    }
    // The size fields follow their boxes.
    window->chkSmaller->setChecked(true);
    EXPECT_TRUE(window->edSmaller->isEnabled());
    EXPECT_FALSE(window->edLarger->isEnabled());
    window->reject();
}

TEST(RuleDialogs, CaptionsAndWhatEachChoiceShows)
{
    TTestPrompts prompts;
    TfrmOptionsSubject subject(prompts);
    TfrmHeaders header(prompts, {MailboxItemText(1, "me", "pop.home.test")});
    TfrmOptionsFROM sender(prompts);
    TfrmAlwaysAccept accept(prompts);
    for (const auto &[dialog, caption] : {std::pair<QDialog *, QString>{&subject, "Subject line options"},
                                          {&header, "Header characteristics"},
                                          {&sender, "Sender characteristics"},
                                          {&accept, "Accept e-mail from"}}) {
        EXPECT_EQ(dialog->windowTitle(), caption);
        dialog->show();
        Keep(dialog, QStringLiteral("rule-dialog-") + caption.section(u' ', 0, 0).toLower());
    }
    EXPECT_EQ(subject.cbOperator->currentText(), "Contains");
    EXPECT_EQ(accept.pictures->checkedId(), 3);
    // Fields follow the choice.
    subject.cbOperator->setCurrentText("Is blank or empty");
    EXPECT_FALSE(subject.cbText->isVisible());
    header.rbTo->setChecked(true);
    EXPECT_TRUE(header.edTo->isVisible());
    EXPECT_FALSE(header.cbHeader->isVisible());
    // The exception dialog keeps its size and every box beside its label; only the chosen
    // one can be typed in.
    const QSize size = accept.size();
    for (QRadioButton *choice : {accept.rbDomain, accept.rbHeader, accept.rbAddress}) {
        choice->setChecked(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        EXPECT_EQ(accept.size(), size) << choice->text().toStdString();
        for (QWidget *box : {static_cast<QWidget *>(accept.edAddress), static_cast<QWidget *>(accept.edDomain),
                             static_cast<QWidget *>(accept.edText)})
            EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(accept.edDomain->isEnabled(), choice == accept.rbDomain);
        EXPECT_EQ(accept.edText->isEnabled(), choice == accept.rbHeader);
    }
}

// An import stores at once, with every edit made so far; a later Cancel of the window keeps
// it. The dialog names the list it imports into.
TEST_F(OptionsWindow, ImportAddsRulesAndStoresEvenWhenCancelled)
{
    using W = TfrmOptionsMain;
    window->show();
    addSubject("edited before");
    QStringList titles;
    const auto answer = [&titles](const QString &text) {
        return std::make_unique<TPoller>([&titles, text] {
            auto *dialog = qobject_cast<TfrmImportSpam *>(QApplication::activeModalWidget());
            if (dialog) {
                titles << dialog->windowTitle();
                dialog->memoImport->setPlainText(text);
                (text.isEmpty() ? dialog->btCancel : dialog->btOK)->click();
            }
            return dialog != nullptr;
        });
    };
    auto poller = answer("cheap\ncheap\n  pills  \ncheap\n");
    window->btImportClick(W::SubjectList);
    poller = answer({});
    window->btImportClick(W::ExceptList);
    EXPECT_TRUE(window->Table(W::ExceptList).IsEmptyList());
    poller = answer("friend@home.test");
    window->btImportClick(W::ExceptList);
    EXPECT_EQ(titles, (QStringList{"Import keywords into the subject list", "Import addresses into the exceptions list",
                                   "Import addresses into the exceptions list"}));
    EXPECT_EQ(window->CountLabel(W::SubjectList)->text(), "4 rules");
    addSubject("not stored");
    window->reject();
    EXPECT_EQ(column(W::SubjectList, 2), (QStringList{"edited before", "cheap", "pills", "cheap"}));
    EXPECT_EQ(column(W::ExceptList, 2), QStringList{"friend@home.test"});
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(OptionsWindow, ColumnWidthsAreKeptPerList)
{
    window->View(TfrmOptionsMain::HeaderList)->setColumnWidth(2, 333);
    window->View(TfrmOptionsMain::ExceptList)->setColumnWidth(0, 144);
    window->reject();
    TfrmOptionsMain again(spam, known, store, prompts);
    EXPECT_EQ(again.View(TfrmOptionsMain::HeaderList)->columnWidth(2), 333);
    EXPECT_EQ(again.View(TfrmOptionsMain::ExceptList)->columnWidth(0), 144);
    EXPECT_NE(again.View(TfrmOptionsMain::SubjectList)->columnWidth(2), 333);
}

} // namespace
