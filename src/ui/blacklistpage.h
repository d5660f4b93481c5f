#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QFrame;
class TKnownList;
class TPrompts;
class TSpamSettings;

// The "BlackList" tab of the spam settings: the switch for the known-spammer comparison and
// an editor over "known.lst". It starts read-only; Edit makes it writable, Save cleans,
// sorts and writes the list and rebuilds the in-memory list the evaluation searches, Cancel
// reloads the file. Without the file nothing can be edited.
class TBlackListPage : public QWidget
{
    Q_OBJECT

public:
    TBlackListPage(TSpamSettings &settings, TKnownList &known, QWidget *parent = nullptr);

    // Errors go to these prompts when set, else to a message box over the page.
    void SetPrompts(TPrompts *prompts) { m_prompts = prompts; }

    // (Re)opens "known.lst" read-only, or shows that it is missing and hides the buttons.
    // Also shows the switch as the settings hold it. Called each time the settings window
    // is shown, and by Cancel.
    void LoadMemoofKnownSpammers();
    // Shows the switch as the settings hold it (after the settings were read again).
    void ShowKnownSwitch();

    // Edits are pending (Save is enabled).
    bool SavePending() const;
    void btEditClick();
    // Saves the edited list. On failure the error is shown, the edit stays in the editor
    // (still writable, Save and Cancel enabled), the file and the in-memory list are
    // unchanged, and the result is false.
    bool btSaveChangesClick();
    // Back to read-only, the edits discarded.
    void btCancelChangesClick();
    // The editor's line count, as the count label shows it.
    int LineCount() const;
    bool FileMissing() const { return m_missing; }

    QLabel *lbExplain = nullptr;
    QCheckBox *cbKnown = nullptr;
    QPlainTextEdit *memoKnown = nullptr;
    QLabel *lbCount = nullptr;
    QPushButton *btEdit = nullptr;
    QPushButton *btSaveChanges = nullptr;
    QPushButton *btCancelChanges = nullptr;
    QFrame *pnlBusy = nullptr;
    QLabel *lbBusy = nullptr;

private:
    void setEditing(bool editing);
    void showPanel(const QString &text);
    void updateCount();
    void reportError(const QString &text);
    // Puts the file's lines into the editor; false when it is missing or unreadable.
    bool loadEditor(QString *errorText);

    TSpamSettings &m_settings;
    TKnownList &m_known;
    TPrompts *m_prompts = nullptr;
    bool m_missing = false;
};
