#pragma once

#include "ruletable.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the four rule dialogs offer and how their choices become the cells of a rule row,
// and back. The Read...Rule functions are the only readers of a rule row: the dialogs fill
// themselves from them and the evaluation prepares its rules from them, so a row means the
// same to both. They keep the stored texts (an operator or header name the dialogs do not
// offer stays as it is, and the dialogs show their first item for it); the kinds are
// recognised ignoring ASCII case, truth values only as exactly "Yes".

// One item of an operator list: what the user sees, and the word stored in the rule.
struct TOperatorItem
{
    QString item;
    QString word;
};

// Subject dialog: the five text operators, "Is blank", "Is UPPERCASE".
const QList<TOperatorItem> &SubjectOperators();
// Sender dialog: the subject dialog's seven, then the three numeric tests.
const QList<TOperatorItem> &SenderOperators();
// Header and exception dialogs: the five text operators.
const QList<TOperatorItem> &TextOperators();
// The stored word of an item (the item itself when it is not in the list), and the item
// shown for a stored word (the list's first item when the word is unknown).
QString OperatorWord(const QList<TOperatorItem> &list, const QString &item);
QString OperatorItem(const QList<TOperatorItem> &list, const QString &word);
// "Contains", "Contains (whole word)", "Equals", "Starts with", "Ends with": the operators
// that compare with a text of the rule.
bool TakesText(const QString &word);

const QStringList &SubjectSuggestions();
const QStringList &SenderSuggestions();
const QStringList &HeaderSuggestions();
// The header lists an exception can look in.
const QStringList &ExceptionHeaders();

// --- subject rules ---
struct TSubjectRuleForm
{
    QString op = QStringLiteral("Contains"); // stored word
    QString text;
    bool caseMatters = false;
    bool del = true; // check mark, else question mark
};
// Empty when the form can be stored (the text is trimmed then), else the message to show.
QString CheckSubjectForm(TSubjectRuleForm &form);
TSubjectRuleForm ReadSubjectRule(const RuleTable &table, int row);
void WriteSubjectRule(RuleTable &table, int row, const TSubjectRuleForm &form);

// --- header rules ---
// "Sender" with "does not match Reply-to" is ReplyToMismatch, "Sender" with anything else
// SenderEqualsTo (the editor writes "equals To field"); "To does not contain" is ToLacks;
// any other "What" is the operator of a MessageHeader rule, even when its text happens to
// be one of the special conditions' words.
enum class THeaderChoice { MessageHeader, ReplyToMismatch, ToLacks, SenderEqualsTo };

struct THeaderRuleForm
{
    THeaderChoice choice = THeaderChoice::MessageHeader;
    QString op = QStringLiteral("Contains");
    QString text = QStringLiteral("X-1");
    bool caseMatters = false;
    // For ToLacks: the text before " - MailBox #" (the whole text when the mark is missing),
    // and the number after it, 1 ... 12; a row read with no such number gives 0, which no
    // mailbox has, so the evaluation skips it and the dialog asks for a mailbox.
    QString address;
    int mailbox = 1;
    bool del = true;
};
// The mailbox list's item for slot n, and the number an item starts with (0 when none).
QString MailboxItemText(int n, const QString &user, const QString &server);
int MailboxItemNumber(const QString &item);
QString CheckHeaderForm(THeaderRuleForm &form);
THeaderRuleForm ReadHeaderRule(const RuleTable &table, int row);
void WriteHeaderRule(RuleTable &table, int row, const THeaderRuleForm &form);

// --- sender rules ---
struct TSenderRuleForm
{
    bool domain = true; // "Domain name"; read as false only for "E-mail address"
    QString op = QStringLiteral("Equals");
    QString text;
    bool del = true;
};
QString CheckSenderForm(TSenderRuleForm &form);
TSenderRuleForm ReadSenderRule(const RuleTable &table, int row);
void WriteSenderRule(RuleTable &table, int row, const TSenderRuleForm &form);

// --- exceptions ---
enum class TExceptChoice { Address, Domain, Header };
struct TExceptRuleForm
{
    TExceptChoice choice = TExceptChoice::Address;
    QString address;
    QString domain;
    // The dialog's header list item: "Subject" reads as "Subject:", a header the list lacks
    // as the list's first item.
    QString header = QStringLiteral("Subject:");
    // Read only: column "What" as stored. For a Header choice the evaluation looks in this
    // header ("Subject" and "Any Header" are the message's subject and every header line).
    QString what;
    QString op = QStringLiteral("Contains");
    QString text;
    bool caseMatters = false;
    int picture = 3; // 3 ... 14
};
QString CheckExceptForm(const TExceptRuleForm &form);
TExceptRuleForm ReadExceptRule(const RuleTable &table, int row);
void WriteExceptRule(RuleTable &table, int row, const TExceptRuleForm &form);

// --- list operations of the editor ---

// The row an inserted rule goes to: row 1 of an empty list; the selected rule's row (it and
// the rules below move down); at the end when no rule is selected.
int InsertRuleRow(RuleTable &table, int selectedRow);
// Removes the rule at row; the only rule is emptied instead. Rows outside the rules: nothing.
void DeleteRule(RuleTable &table, int row);
// Exchanges two rule rows with all their cells, hidden ones included, and their pictures.
void SwapRules(RuleTable &table, int a, int b);
// Reorders the rules themselves by a column: hit counts as numbers, other texts without
// regard to case; rules that tie keep their order, blank rows stay at the end.
void SortRules(RuleTable &table, int col, Qt::SortOrder order);
// The columns the user may edit in place, and those whose heading sorts the list.
QList<int> EditableColumns(RuleTable::Kind kind);
QList<int> SortableColumns(RuleTable::Kind kind);
// Empty when text may go into the cell by in-place editing, else the message to show: a
// hit count must be digits only; the text a text operator compares with must not be blank.
QString CheckCellEdit(const RuleTable &table, int col, int row, const QString &text);
