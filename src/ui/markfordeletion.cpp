#include "markfordeletion.h"

#include "prompts.h"
#include "spamsettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmMarkForDeletion::TfrmMarkForDeletion(TSpamSettings &settings, QWidget *parent)
    : QDialog(parent), m_settings(settings)
{
    setWindowTitle(tr("Mark e-mail for deletion"));
    lbHeading = new QLabel(tr("Mark these messages to delete"));
    QFont bold = lbHeading->font();
    bold.setBold(true);
    lbHeading->setFont(bold);

    gridMark = new QTableWidget(0, 2);
    gridMark->setHorizontalHeaderLabels({tr("Subject"), tr("From")});
    gridMark->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    gridMark->verticalHeader()->hide();
    gridMark->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridMark->setSelectionBehavior(QAbstractItemView::SelectRows);

    cbSenders = new QCheckBox(tr("&Always delete mail from these particular senders"));
    cbSubjects = new QCheckBox(tr("Always &delete mail with these particular subject headings"));

    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        btOKClick();
        accept();
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbHeading);
    layout->addWidget(gridMark, 1);
    layout->addWidget(cbSenders);
    layout->addWidget(cbSubjects);
    layout->addWidget(box);
    resize(560, 360);
    SetMessages({});
}

void TfrmMarkForDeletion::SetMessages(const QList<TMarkMessage> &messages)
{
    const int count = int(std::min<qsizetype>(messages.size(), kMaxMessages));
    gridMark->clearContents();
    gridMark->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        gridMark->setItem(row, 0, new QTableWidgetItem(messages.at(row).subject));
        gridMark->setItem(row, 1, new QTableWidgetItem(messages.at(row).sender));
    }
    cbSenders->setChecked(true);
    cbSubjects->setChecked(true);
}

int TfrmMarkForDeletion::MessageCount() const
{
    return gridMark->rowCount();
}

bool TfrmMarkForDeletion::btOKClick()
{
    for (int row = 0; row < gridMark->rowCount(); ++row) {
        const QTableWidgetItem *subject = gridMark->item(row, 0);
        const QTableWidgetItem *sender = gridMark->item(row, 1);
        m_settings.addToList(subject ? subject->text() : QString(), sender ? sender->text() : QString(),
                             cbSubjects->isChecked(), cbSenders->isChecked());
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool saved = m_settings.Savesettings(&error);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        const QString text = tr("The new rules are in use, but the rule lists could not "
                                            "be stored:\n%1")
                                 .arg(error);
        if (m_prompts)
            m_prompts->ErrorBox(text);
        else
            QMessageBox::critical(this, windowTitle(), text);
    }
    return saved;
}

bool TfrmMarkForDeletion::Run(const QList<TMarkMessage> &messages)
{
    SetMessages(messages);
    return exec() == QDialog::Accepted;
}
