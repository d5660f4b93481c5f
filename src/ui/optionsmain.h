#pragma once

#include "ruletable.h"

#include <QDialog>
#include <QIdentityProxyModel>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class TBlackListPage;
class TKnownList;
class TPrompts;
class TSpamSettings;
class UserSettings;

// A rule list as its table shows it: the state picture in the picture column, the "Matches"
// text bold for deleting rules and blue for the others (always bold for exceptions), hits
// right-aligned. In-place edits are checked before they reach the rules, and sorting by a
// heading reorders the rules themselves, since their order is the evaluation order.
class TRuleViewModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    TRuleViewModel(RuleTable &table, TPrompts &prompts, QObject *parent = nullptr);
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    int matchesColumn() const;
    RuleTable &m_table;
    TPrompts &m_prompts;
};

// Prints a rule list: the title, the date at top left and the time at top right of every
// page, the headings on every page, "Page n" at bottom right.
void PrintRuleTable(QPrinter &printer, const RuleTable &table, const QString &title);

// "Spam Settings": the four rule lists, the size rules and the blacklist, over the live rule
// set. Changes act on the live tables at once; OK removes neighbouring duplicates and stores
// everything, Cancel reads the stored state back.
class TfrmOptionsMain : public QDialog
{
    Q_OBJECT
public:
    // mailboxes: the header dialog's mailbox items (MailboxItemText of each configured slot).
    TfrmOptionsMain(TSpamSettings &spam, TKnownList &known, UserSettings &store, TPrompts &prompts,
                    QWidget *parent = nullptr);
    void SetMailboxes(const QStringList &items) { m_mailboxes = items; }
    // The program's help, topic 100; nothing when unset.
    void SetHelp(std::function<void()> help) { m_help = std::move(help); }
    // How a rule dialog is run (exec() unless a test drives it).
    void SetDialogRunner(std::function<int(QDialog &)> run) { m_run = std::move(run); }

    enum List { SubjectList, HeaderList, SenderList, ExceptList };
    RuleTable &Table(int list);
    QTableView *View(int list) const { return m_views.at(list); }
    QLabel *CountLabel(int list) const { return m_counts.at(list); }
    static QString PrintTitle(int list);

    // The list buttons, acting on the list's current row.
    void btInsertClick(int list);
    void btDeleteClick(int list);
    void btEditClick(int list);
    void btMoveClick(int list, int step);
    // "I&mport" of the subject list (keywords) or the exceptions (e-mail addresses).
    void btImportClick(int list);
    // Prints the list to printer, or asks for a printer when none is given.
    void btPrintClick(int list, QPrinter *printer = nullptr);

    void updateCounts();
    void readSizeControls();  // settings -> controls
    void writeSizeControls(); // controls -> settings

    void accept() override;
    void reject() override;

    QTabWidget *tabs;
    TBlackListPage *BlackList;
    QCheckBox *chkSmaller;
    QSpinBox *edSmaller;
    QRadioButton *rbSmallerCheck;
    QRadioButton *rbSmallerQuestion;
    QCheckBox *chkLarger;
    QSpinBox *edLarger;
    QRadioButton *rbLargerCheck;
    QRadioButton *rbLargerQuestion;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *listPage(int list, const QString &text, bool import);
    QWidget *sizePage();
    void sizeEnabled();
    int currentRow(int list) const;
    void selectRow(int list, int row);
    bool runRuleDialog(int list, int row, bool edit);
    void saveWidths();

    TSpamSettings &m_spam;
    UserSettings &m_store;
    TPrompts &m_prompts;
    QStringList m_mailboxes;
    std::function<void()> m_help;
    std::function<int(QDialog &)> m_run;
    std::array<QTableView *, 4> m_views{};
    std::array<QLabel *, 4> m_counts{};
    std::array<TRuleViewModel *, 4> m_models{};
};
