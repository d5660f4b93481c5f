#include "which.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmWhichMailbox::TfrmWhichMailbox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWhichMailbox"));
    setWindowTitle(tr("Which Mailbox?"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(tr("Which mailbox do you wish to check?"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    cbWhich = new QComboBox(this);
    cbWhich->setObjectName(QStringLiteral("cbWhich"));
    cbWhich->setEditable(false);
    cbWhich->setMinimumWidth(380);
    cbWhich->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    layout->addWidget(cbWhich);

    auto *buttons = new QDialogButtonBox(this);
    btOK = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    layout->addWidget(buttons);
    connect(btOK, &QPushButton::clicked, this, &TfrmWhichMailbox::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmWhichMailbox::SetEntries(const QList<TMailboxEntry> &entries, int current)
{
    cbWhich->clear();
    m_chosen = 0;
    int selected = entries.isEmpty() ? -1 : 0;
    for (const TMailboxEntry &entry : entries) {
        if (entry.slot == current)
            selected = cbWhich->count();
        cbWhich->addItem(entry.text, entry.slot);
    }
    cbWhich->setCurrentIndex(selected);
}

void TfrmWhichMailbox::btOKClick()
{
    // With nothing to choose, OK means the same as Cancel.
    const int slot = cbWhich->currentIndex() >= 0 ? cbWhich->currentData().toInt() : 0;
    if (slot < 1) {
        reject();
        return;
    }
    m_chosen = slot;
    accept();
}
