#include "boxprompts.h"

#include "which.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

QWidget *FrontWindow(QWidget *fallback)
{
    // A box asked for while a dialog is open belongs over that dialog; over its owner it
    // would open behind it and the dialog would look frozen.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        return modal;
    return fallback && fallback->isVisible() ? fallback : nullptr;
}

QWidget *TBoxPrompts::parent() const
{
    return FrontWindow(m_parent.data());
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
        tr("Trust this certificate for mailbox %1 from now on? Do so only when you "
           "know that it is your mail server's own certificate.")
            .arg(slot));
    QPushButton *trust = box.addButton(tr("Trust it"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == trust;
}

bool TBoxPrompts::AskKeepSecretInFile(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, kBoxCaption, text, QMessageBox::NoButton, parent());
    box.setObjectName(QStringLiteral("KeepSecretBox"));
    QPushButton *keep = box.addButton(tr("&Keep in settings file"), QMessageBox::AcceptRole);
    keep->setObjectName(QStringLiteral("btKeepInFile"));
    // Closing the box stores nothing: the file is only ever the user's explicit choice.
    QPushButton *skip = box.addButton(tr("&Do not store"), QMessageBox::RejectRole);
    skip->setObjectName(QStringLiteral("btDoNotStore"));
    box.setDefaultButton(skip);
    box.setEscapeButton(skip);
    box.exec();
    return box.clickedButton() == keep;
}
