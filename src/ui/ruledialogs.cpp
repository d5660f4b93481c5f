#include "ruledialogs.h"
#include "widgetparts.h"

#include "pictures.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Tells why a rule is refused and puts the cursor where it can be mended; true when refused,
// and the dialog then stays open.
bool refused(TPrompts &prompts, const QString &error, QWidget *field)
{
    if (error.isEmpty())
        return false;
    prompts.ErrorBox(error);
    field->setFocus();
    return true;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    label->setFont(f);
    return label;
}

QComboBox *operatorList(const QList<TOperatorItem> &items, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    // The operators' names come with the rule lists, which know no language; the word stored
    // stays the item's data.
    [[maybe_unused]] static const char *const kNames[] = {
        QT_TRANSLATE_NOOP("TOperators", "Contains"),          QT_TRANSLATE_NOOP("TOperators", "Contains (whole word)"),
        QT_TRANSLATE_NOOP("TOperators", "Equals (exact match)"), QT_TRANSLATE_NOOP("TOperators", "Starts with"),
        QT_TRANSLATE_NOOP("TOperators", "Ends with"),         QT_TRANSLATE_NOOP("TOperators", "Is blank or empty"),
        QT_TRANSLATE_NOOP("TOperators", "Is all UPPERCASE"),  QT_TRANSLATE_NOOP("TOperators", "Is ALL numeric"),
        QT_TRANSLATE_NOOP("TOperators", "Is at least 1/2 numeric"), QT_TRANSLATE_NOOP("TOperators", "Starts with a number")};
    for (const TOperatorItem &o : items) {
        const QByteArray name = o.item.toUtf8();
        box->addItem(QCoreApplication::translate("TOperators", name.constData()), o.word);
    }
    return box;
}

QString word(const QComboBox *box)
{
    return box->currentData().toString();
}

void selectWord(QComboBox *box, const QString &w)
{
    const int i = box->findData(w);
    box->setCurrentIndex(i < 0 ? 0 : i);
}

QComboBox *suggestions(const QStringList &items, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setMinimumContentsLength(24);
    return box;
}

// "Mark message with :" and its two choices; the check mark is the default.
QGroupBox *markGroup(const QString &check, const QString &question, QRadioButton *&rbCheck,
                     QRadioButton *&rbQuestion, QWidget *parent)
{
    auto *group = new QGroupBox(QCoreApplication::translate("TRuleDialog", "Mark message with :"), parent);
    auto *row = new QHBoxLayout(group);
    rbCheck = new QRadioButton(check, group);
    rbCheck->setIcon(MarkPicture(0));
    rbQuestion = new QRadioButton(question, group);
    rbQuestion->setIcon(MarkPicture(1));
    rbCheck->setChecked(true);
    row->addWidget(rbCheck);
    row->addWidget(rbQuestion);
    row->addStretch(1);
    return group;
}

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

// --- subject ---

TfrmOptionsSubject::TfrmOptionsSubject(TPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setWindowTitle(tr("Subject line options"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(tr("The Subject line characteristics"), this));
    layout->addWidget(wrapped(tr("If text in the subject line follows any of these patterns it will be "
                                             "marked for deletion since it looks like a potential spam."), this));
    auto *row = new QHBoxLayout();
    row->addWidget(new QLabel(tr("The subject line:"), this));
    cbOperator = operatorList(SubjectOperators(), this);
    cbText = suggestions(SubjectSuggestions(), this);
    row->addWidget(cbOperator);
    row->addWidget(cbText, 1);
    layout->addLayout(row);
    chkCase = new QCheckBox(tr("&Check if case matters (upper/lower)"), this);
    layout->addWidget(chkCase);
    layout->addWidget(markGroup(tr("check &mark"), tr("&question mark"), rbCheck, rbQuestion, this));
    layout->addWidget(new QLabel(tr("Note: Only messages with a check mark will be deleted."), this));
    layout->addWidget(okCancel(this));
    connect(cbOperator, &QComboBox::currentIndexChanged, this, &TfrmOptionsSubject::showFields);
    SetForm(TSubjectRuleForm());
}

void TfrmOptionsSubject::SetForm(const TSubjectRuleForm &form)
{
    m_form = form;
    selectWord(cbOperator, form.op);
    cbText->setCurrentText(form.text);
    chkCase->setChecked(form.caseMatters);
    (form.del ? rbCheck : rbQuestion)->setChecked(true);
    showFields();
}

void TfrmOptionsSubject::showFields()
{
    const bool text = TakesText(word(cbOperator));
    cbText->setVisible(text);
    chkCase->setVisible(text);
}

TSubjectRuleForm TfrmOptionsSubject::read() const
{
    TSubjectRuleForm f;
    f.op = word(cbOperator);
    f.text = cbText->currentText();
    f.caseMatters = chkCase->isChecked();
    f.del = rbCheck->isChecked();
    return f;
}

void TfrmOptionsSubject::accept()
{
    TSubjectRuleForm f = read();
    if (refused(m_prompts, CheckSubjectForm(f), cbText))
        return;
    m_form = f;
    QDialog::accept();
}

// --- headers ---

TfrmHeaders::TfrmHeaders(TPrompts &prompts, const QStringList &mailboxes, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setWindowTitle(tr("Header characteristics"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(tr("The E-mail header characteristics"), this));
    layout->addWidget(wrapped(tr("If text in the e-mail header line follows any of these patterns it will "
                                             "be marked for deletion since it looks like a potential spam."), this));
    rbHeader = new QRadioButton(tr("Message Header"), this);
    layout->addWidget(rbHeader);
    m_headerBox = new QWidget(this);
    auto *header = new QGridLayout(m_headerBox);
    header->setContentsMargins(24, 0, 0, 0);
    cbOperator = operatorList(TextOperators(), m_headerBox);
    cbHeader = suggestions(HeaderSuggestions(), m_headerBox);
    chkCase = new QCheckBox(tr("&Check if case matters (upper/lower)"), m_headerBox);
    header->addWidget(cbOperator, 0, 0);
    header->addWidget(cbHeader, 0, 1);
    header->setColumnStretch(1, 1);
    header->addWidget(chkCase, 1, 0, 1, 2);
    layout->addWidget(m_headerBox);
    rbReplyTo = new QRadioButton(tr("The Sender address does not match the 'Reply-to' address"), this);
    layout->addWidget(rbReplyTo);
    rbTo = new QRadioButton(tr("The 'To' address does not contain:"), this);
    layout->addWidget(rbTo);
    m_toBox = new QWidget(this);
    auto *to = new QGridLayout(m_toBox);
    to->setContentsMargins(24, 0, 0, 0);
    edTo = new QLineEdit(m_toBox);
    cbMailbox = new QComboBox(m_toBox);
    cbMailbox->addItems(mailboxes);
    to->addWidget(edTo, 0, 0, 1, 2);
    to->addWidget(new QLabel(tr("For Mailbox:"), m_toBox), 1, 0);
    to->addWidget(cbMailbox, 1, 1);
    to->setColumnStretch(1, 1);
    layout->addWidget(m_toBox);
    rbEqualsTo = new QRadioButton(tr("The Sender address equals the 'To' address field"), this);
    layout->addWidget(rbEqualsTo);
    layout->addWidget(markGroup(tr("check &mark"), tr("&question mark"), rbCheck, rbQuestion, this));
    layout->addWidget(okCancel(this));
    for (QRadioButton *rb : {rbHeader, rbReplyTo, rbTo, rbEqualsTo})
        connect(rb, &QRadioButton::toggled, this, &TfrmHeaders::showFields);
    SetForm(THeaderRuleForm());
}

void TfrmHeaders::SetForm(const THeaderRuleForm &form)
{
    m_form = form;
    switch (form.choice) {
    case THeaderChoice::MessageHeader: rbHeader->setChecked(true); break;
    case THeaderChoice::ReplyToMismatch: rbReplyTo->setChecked(true); break;
    case THeaderChoice::ToLacks: rbTo->setChecked(true); break;
    case THeaderChoice::SenderEqualsTo: rbEqualsTo->setChecked(true); break;
    }
    selectWord(cbOperator, form.op);
    cbHeader->setCurrentText(form.text);
    chkCase->setChecked(form.caseMatters);
    edTo->setText(form.address);
    if (form.choice == THeaderChoice::ToLacks) {
        int found = -1;
        for (int i = 0; i < cbMailbox->count() && found < 0; ++i)
            if (MailboxItemNumber(cbMailbox->itemText(i)) == form.mailbox)
                found = i;
        if (found < 0 && form.mailbox >= 1 && form.mailbox <= 12) {
            cbMailbox->addItem(tr("%1) (not in the general settings now)").arg(form.mailbox));
            found = cbMailbox->count() - 1;
        }
        cbMailbox->setCurrentIndex(qMax(found, 0));
    } else if (cbMailbox->count() > 0) {
        cbMailbox->setCurrentIndex(0);
    }
    (form.del ? rbCheck : rbQuestion)->setChecked(true);
    showFields();
}

void TfrmHeaders::showFields()
{
    m_headerBox->setVisible(rbHeader->isChecked());
    m_toBox->setVisible(rbTo->isChecked());
}

THeaderRuleForm TfrmHeaders::read() const
{
    THeaderRuleForm f;
    f.choice = rbReplyTo->isChecked() ? THeaderChoice::ReplyToMismatch
        : rbTo->isChecked()           ? THeaderChoice::ToLacks
        : rbEqualsTo->isChecked()     ? THeaderChoice::SenderEqualsTo
                                      : THeaderChoice::MessageHeader;
    f.op = word(cbOperator);
    f.text = cbHeader->currentText();
    f.caseMatters = chkCase->isChecked();
    f.address = edTo->text();
    f.mailbox = MailboxItemNumber(cbMailbox->currentText());
    f.del = rbCheck->isChecked();
    return f;
}

void TfrmHeaders::accept()
{
    THeaderRuleForm f = read();
    const QString error = CheckHeaderForm(f);
    if (!error.isEmpty()) {
        m_prompts.ErrorBox(f.choice == THeaderChoice::ToLacks && !f.address.isEmpty()
                               ? tr("Set up the mailbox in the general settings first, then choose it here.")
                               : error);
        if (f.choice == THeaderChoice::ToLacks)
            edTo->setFocus();
        else
            cbHeader->setFocus();
        return;
    }
    m_form = f;
    QDialog::accept();
}

// --- sender ---

TfrmOptionsFROM::TfrmOptionsFROM(TPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setWindowTitle(tr("Sender characteristics"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(tr("The Sender characteristics"), this));
    layout->addWidget(wrapped(tr("If the sender matches the distinguishing characteristics below it will "
                                             "be marked for deletion."), this));
    layout->addWidget(wrapped(tr("The sender's e-mail/domain address (as viewed on the main screen):"), this));
    auto *row = new QHBoxLayout();
    cbWhat = new QComboBox(this);
    cbWhat->addItems({tr("E-mail address"), tr("Domain name")});
    cbOperator = operatorList(SenderOperators(), this);
    cbOperator->setMaxVisibleItems(10);
    cbText = suggestions(SenderSuggestions(), this);
    row->addWidget(cbWhat);
    row->addWidget(cbOperator);
    row->addWidget(cbText, 1);
    layout->addLayout(row);
    layout->addWidget(new QLabel(tr("An e-mail address includes the domain."), this));
    layout->addWidget(new QLabel(tr("The domain is after the @ symbol."), this));
    layout->addWidget(wrapped(tr("All numeric: every character before the @ is a digit, as in "
                                             "12345678@mail.example.com."), this));
    layout->addWidget(wrapped(tr("At least 1/2 numeric: half or more of the characters before the @ "
                                             "are digits, as in ab1234@mail.example.com."), this));
    layout->addWidget(markGroup(tr("&check mark"), tr("&question mark"), rbCheck, rbQuestion, this));
    layout->addWidget(okCancel(this));
    connect(cbOperator, &QComboBox::currentIndexChanged, this, &TfrmOptionsFROM::showFields);
    SetForm(TSenderRuleForm());
}

void TfrmOptionsFROM::SetForm(const TSenderRuleForm &form)
{
    m_form = form;
    cbWhat->setCurrentIndex(form.domain ? 1 : 0);
    selectWord(cbOperator, form.op);
    cbText->setCurrentText(form.text);
    (form.del ? rbCheck : rbQuestion)->setChecked(true);
    showFields();
}

void TfrmOptionsFROM::showFields()
{
    cbText->setVisible(TakesText(word(cbOperator)));
}

TSenderRuleForm TfrmOptionsFROM::read() const
{
    TSenderRuleForm f;
    f.domain = cbWhat->currentIndex() == 1;
    f.op = word(cbOperator);
    f.text = cbText->currentText();
    f.del = rbCheck->isChecked();
    return f;
}

void TfrmOptionsFROM::accept()
{
    TSenderRuleForm f = read();
    if (refused(m_prompts, CheckSenderForm(f), cbText))
        return;
    m_form = f;
    QDialog::accept();
}

// --- exceptions ---

TfrmAlwaysAccept::TfrmAlwaysAccept(TPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setWindowTitle(tr("Accept e-mail from"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(tr("Always accept e-mail when:"), this));
    auto *grid = new QGridLayout();
    rbAddress = new QRadioButton(tr("The explicit e-mail address is:"), this);
    edAddress = new QLineEdit(this);
    rbDomain = new QRadioButton(tr("The domain name is:"), this);
    edDomain = new QLineEdit(this);
    m_domainHint = new QLabel(tr("The domain is the part after the '@' symbol"), this);
    rbHeader = new QRadioButton(tr("When the"), this);
    grid->addWidget(rbAddress, 0, 0);
    grid->addWidget(edAddress, 0, 1);
    grid->addWidget(rbDomain, 1, 0);
    grid->addWidget(edDomain, 1, 1);
    grid->addWidget(m_domainHint, 2, 1);
    grid->addWidget(rbHeader, 3, 0);
    m_headerBox = new QWidget(this);
    auto *header = new QGridLayout(m_headerBox);
    header->setContentsMargins(0, 0, 0, 0);
    cbHeader = new QComboBox(m_headerBox);
    cbHeader->addItems(ExceptionHeaders());
    cbOperator = operatorList(TextOperators(), m_headerBox);
    edText = new QLineEdit(m_headerBox);
    chkCase = new QCheckBox(tr("&Check if case matters (upper/lower)"), m_headerBox);
    header->addWidget(cbHeader, 0, 0);
    header->addWidget(cbOperator, 0, 1);
    header->addWidget(edText, 1, 0, 1, 2);
    header->addWidget(chkCase, 2, 0, 1, 2);
    grid->addWidget(m_headerBox, 3, 1, 3, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addWidget(wrapped(tr("Select an image to easily associate an incoming e-mail from a friend or "
                                             "mailing list."), this));
    auto *strip = new QHBoxLayout();
    pictures = new QButtonGroup(this);
    for (int i = 3; i <= 14; ++i) {
        auto *b = new QToolButton(this);
        b->setIcon(MarkPicture(i));
        b->setIconSize(QSize(24, 24));
        // Twelve pictures a screen reader cannot see: each gets its number.
        b->setAccessibleName(tr("Picture %1").arg(i - 2));
        b->setAccessibleDescription(MarkName(i));
        b->setCheckable(true);
        b->setAutoRaise(true);
        pictures->addButton(b, i);
        strip->addWidget(b);
    }
    strip->addStretch(1);
    layout->addLayout(strip);
    layout->addWidget(okCancel(this));
    for (QRadioButton *rb : {rbAddress, rbDomain, rbHeader})
        connect(rb, &QRadioButton::toggled, this, &TfrmAlwaysAccept::showFields);
    SetForm(TExceptRuleForm());
}

void TfrmAlwaysAccept::SetForm(const TExceptRuleForm &form)
{
    m_form = form;
    edAddress->setText(form.address);
    edDomain->setText(form.domain);
    cbHeader->setCurrentIndex(qMax(0, cbHeader->findText(form.header)));
    selectWord(cbOperator, form.op);
    edText->setText(form.text);
    chkCase->setChecked(form.caseMatters);
    QAbstractButton *picture = pictures->button(form.picture);
    (picture ? picture : pictures->button(3))->setChecked(true);
    switch (form.choice) {
    case TExceptChoice::Address: rbAddress->setChecked(true); break;
    case TExceptChoice::Domain: rbDomain->setChecked(true); break;
    case TExceptChoice::Header: rbHeader->setChecked(true); break;
    }
    showFields();
}

void TfrmAlwaysAccept::showFields()
{
    // Every choice stays in view, greyed when not chosen: the dialog keeps its size and each
    // box stays beside its label.
    edAddress->setEnabled(rbAddress->isChecked());
    edDomain->setEnabled(rbDomain->isChecked());
    m_domainHint->setEnabled(rbDomain->isChecked());
    m_headerBox->setEnabled(rbHeader->isChecked());
    if (rbAddress->isChecked())
        edAddress->setFocus();
    else if (rbDomain->isChecked())
        edDomain->setFocus();
    else
        cbHeader->setFocus();
}

TExceptRuleForm TfrmAlwaysAccept::read() const
{
    TExceptRuleForm f;
    f.choice = rbDomain->isChecked() ? TExceptChoice::Domain
        : rbHeader->isChecked()      ? TExceptChoice::Header
                                     : TExceptChoice::Address;
    f.address = edAddress->text();
    f.domain = edDomain->text();
    f.header = cbHeader->currentText();
    f.op = word(cbOperator);
    f.text = edText->text();
    f.caseMatters = chkCase->isChecked();
    f.picture = pictures->checkedId() < 0 ? 3 : pictures->checkedId();
    return f;
}

void TfrmAlwaysAccept::accept()
{
    const TExceptRuleForm f = read();
    QWidget *field = f.choice == TExceptChoice::Address ? edAddress
                     : f.choice == TExceptChoice::Domain ? edDomain
                                                         : edText;
    if (refused(m_prompts, CheckExceptForm(f), field))
        return;
    m_form = f;
    QDialog::accept();
}
