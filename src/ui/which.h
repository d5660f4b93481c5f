#pragma once

#include "prompts.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// "Which Mailbox?": the configured mailboxes in a drop-down list; OK checks the chosen one.
class TfrmWhichMailbox : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmWhichMailbox(QWidget *parent = nullptr);

    // Entries in slot order; the entry of slot current is selected (the first when current
    // has none).
    void SetEntries(const QList<TMailboxEntry> &entries, int current);
    // The slot of the selected entry when the window closed with OK; 0 otherwise.
    int ChosenSlot() const { return m_chosen; }

    QComboBox *cbWhich = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btCancel = nullptr;

private:
    void btOKClick();

    int m_chosen = 0;
};
