#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QCheckBox;
class QLabel;
class QTableWidget;
class TPrompts;
class TSpamSettings;

// One selected message of the main window's list: its subject and its sender address as
// the list shows them.
struct TMarkMessage
{
    QString subject;
    QString sender;
};

// "Mark e-mail for deletion": turns the selected messages into check-mark rules at the top
// of the subject and sender lists, then stores the lists.
class TfrmMarkForDeletion : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxMessages = 249;

    explicit TfrmMarkForDeletion(TSpamSettings &settings, QWidget *parent = nullptr);

    // Errors go to these prompts when set, else to a message box over the dialog.
    void SetPrompts(TPrompts *prompts) { m_prompts = prompts; }

    // Fills the table, one row per message, the first 249 only; both boxes ticked again.
    void SetMessages(const QList<TMarkMessage> &messages);
    int MessageCount() const;

    // What OK does: addToList for each row in order, then Savesettings. A failed save is
    // reported; the rules stay in use and are stored with the next save. Returns whether
    // the save worked.
    bool btOKClick();

    // Fills the table and shows the dialog; true when it ended with OK.
    bool Run(const QList<TMarkMessage> &messages);

    QLabel *lbHeading = nullptr;
    QTableWidget *gridMark = nullptr;
    QCheckBox *cbSenders = nullptr;
    QCheckBox *cbSubjects = nullptr;

private:
    TSpamSettings &m_settings;
    TPrompts *m_prompts = nullptr;
};
