#include "boxprompts.h"

#include "which.h"

#include <QMessageBox>
#include <QPushButton>

QWidget *TBoxPrompts::parent() const
{
    return m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
}

void TBoxPrompts::ErrorBox(const QString &text)
{
    QMessageBox::critical(parent(), kBoxCaption, text, QMessageBox::Ok);
}

void TBoxPrompts::InfoBox(const QString &text)
{
    QMessageBox::information(parent(), kBoxCaption, text, QMessageBox::Ok);
}

bool TBoxPrompts::AskYesNo(const QString &text)
{
    return QMessageBox::question(parent(), kBoxCaption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
           == QMessageBox::Yes;
}

int TBoxPrompts::ChooseMailbox(const QList<TMailboxEntry> &entries, int current)
{
    TfrmWhichMailbox which(parent());
    which.SetEntries(entries, current);
    return which.exec() == QDialog::Accepted ? which.ChosenSlot() : 0;
}

bool TBoxPrompts::AskTrustCertificate(int slot, const QString &message, const QString &)
{
    QMessageBox box(QMessageBox::Warning, kBoxCaption, message, QMessageBox::NoButton, parent());
    box.setInformativeText(
        QStringLiteral("Trust this certificate for mailbox %1 from now on? Do so only when you "
                       "know that it is your mail server's own certificate.")
            .arg(slot));
    QPushButton *trust = box.addButton(QStringLiteral("Trust it"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == trust;
}
