#pragma once

#include "ruleforms.h"

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;
class TPrompts;

// The four small rule dialogs of the spam settings window. Each shows a rule form
// (ruleforms.h), and OK stands only when the form passes its check; otherwise the message
// is shown, the field in question gets the focus and the dialog stays open.

// "Subject line options".
class TfrmOptionsSubject : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmOptionsSubject(TPrompts &prompts, QWidget *parent = nullptr);
    void SetForm(const TSubjectRuleForm &form);
    TSubjectRuleForm Form() const { return m_form; }
    void accept() override;

    QComboBox *cbOperator;
    QComboBox *cbText;
    QCheckBox *chkCase;
    QRadioButton *rbCheck;
    QRadioButton *rbQuestion;

private:
    void showFields();
    TSubjectRuleForm read() const;
    TPrompts &m_prompts;
    TSubjectRuleForm m_form;
};

// "Header characteristics". mailboxes: one item per configured mailbox, as
// MailboxItemText makes them.
class TfrmHeaders : public QDialog
{
    Q_OBJECT
public:
    TfrmHeaders(TPrompts &prompts, const QStringList &mailboxes, QWidget *parent = nullptr);
    // A rule for a mailbox the list does not hold keeps its number: an item for that number
    // is added and selected, rather than quietly moving the rule to another mailbox.
    void SetForm(const THeaderRuleForm &form);
    THeaderRuleForm Form() const { return m_form; }
    void accept() override;

    QRadioButton *rbHeader;
    QRadioButton *rbReplyTo;
    QRadioButton *rbTo;
    QRadioButton *rbEqualsTo;
    QComboBox *cbOperator;
    QComboBox *cbHeader;
    QCheckBox *chkCase;
    QLineEdit *edTo;
    QComboBox *cbMailbox;
    QRadioButton *rbCheck;
    QRadioButton *rbQuestion;

private:
    void showFields();
    THeaderRuleForm read() const;
    TPrompts &m_prompts;
    QWidget *m_headerBox;
    QWidget *m_toBox;
    THeaderRuleForm m_form;
};

// "Sender characteristics".
class TfrmOptionsFROM : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmOptionsFROM(TPrompts &prompts, QWidget *parent = nullptr);
    void SetForm(const TSenderRuleForm &form);
    TSenderRuleForm Form() const { return m_form; }
    void accept() override;

    QComboBox *cbWhat;
    QComboBox *cbOperator;
    QComboBox *cbText;
    QRadioButton *rbCheck;
    QRadioButton *rbQuestion;

private:
    void showFields();
    TSenderRuleForm read() const;
    TPrompts &m_prompts;
    TSenderRuleForm m_form;
};

// "Accept e-mail from".
class TfrmAlwaysAccept : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAlwaysAccept(TPrompts &prompts, QWidget *parent = nullptr);
    void SetForm(const TExceptRuleForm &form);
    TExceptRuleForm Form() const { return m_form; }
    void accept() override;

    QRadioButton *rbAddress;
    QRadioButton *rbDomain;
    QRadioButton *rbHeader;
    QLineEdit *edAddress;
    QLineEdit *edDomain;
    QComboBox *cbHeader;
    QComboBox *cbOperator;
    QLineEdit *edText;
    QCheckBox *chkCase;
    QButtonGroup *pictures; // ids 3 ... 14

private:
    void showFields();
    TExceptRuleForm read() const;
    TPrompts &m_prompts;
    QWidget *m_headerBox;
    QLabel *m_domainHint;
    TExceptRuleForm m_form;
};
