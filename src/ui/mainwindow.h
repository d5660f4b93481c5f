#pragma once

#include "inspection.h"
#include "mailguard.h"
#include "messageview.h"

#include <QMainWindow>
#include <functional>

class QKeyEvent;
class QLabel;
class QMenu;
class QToolButton;
class QTreeView;
class TAlarmSound;
class TfrmGeneral;
class TfrmOptionsMain;
class TfrmRetrieving;
class TTrayIcon;

// The main window: the buttons, the message list with its marks, the two-panel status bar,
// the tray icon and the windows it opens. Everything it does is the mail guard's; the window
// shows the guard's state and hands the user's commands to it.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // prompts is the object the guard was given; the window becomes the parent of its boxes
    // when it is a TBoxPrompts.
    TfrmMain(TMailGuard &guard, TPrompts &prompts, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Start-up: the guard reads the settings, the general settings window is created over
    // the live settings, and the window either shows or stays in the notification area.
    void FormCreate();
    // What the program stores when it ends.
    void SaveAtExit();
    // How the program ends (QApplication::quit() unless a test replaces it).
    void SetQuitter(std::function<void()> quit) { m_quit = std::move(quit); }

    // --- commands (the buttons, the tray menu and a second start call these) ---
    void btListClick();
    void btMarkClick();
    void btDeleteClick();
    void btExitClick();
    void btGeneralClick();
    void btSpamClick(); // "Spam settings"
    void btAboutClick();
    void btHelpClick();
    void ShowMainScreen1Click(); // "Main screen", a click on the tray icon, a second start
    void Show1Click();           // the tray's "Check e-mail for spam"
    void ViewHeader1Click();     // "View selected message(s) headers"
    void Why1Click();            // "Why was this e-mail marked?"
    void ViewMessages1Click();   // "View body of one message"
    void AddtoExceptions1Click(); // "Add selected sender(s) to exceptions list"
    void AddtoSpam1Click();       // "Add selected message(s) to spam list"
    // "Stats", the tray's "Statistics" and the general settings' "View Statistics".
    void ShowStatistics();

    TMailGuard &Guard() { return m_guard; }
    TfrmGeneral *General() const { return frmGeneral; }
    TfrmOptionsMain *OptionsMain() const { return frmOptionsMain; }
    TfrmRetrieving *Retrieving() const { return frmRetrieving; }
    TTrayIcon *Tray() const { return m_tray; }
    TAlarmSound *Alarm() const { return m_alarm; }
    // The list rows that are selected, in list order.
    QList<int> SelectedRows() const;
    // The text of the status bar's second panel.
    QString StatusText() const;
    // The list row shown at view row viewRow (the list may be sorted); -1 for none.
    int ListRowAt(int viewRow) const;

    QToolButton *btList = nullptr;
    QToolButton *btMark = nullptr;
    QToolButton *btDelete = nullptr;
    QToolButton *btResetAll = nullptr;
    QToolButton *btRemark = nullptr;
    QToolButton *btLaunch = nullptr;
    QToolButton *btOptions = nullptr;
    QToolButton *btExit = nullptr;
    QLabel *lblAd = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *Label1 = nullptr;
    QTreeView *ListView1 = nullptr;
    QLabel *lblPanel1 = nullptr;
    QLabel *lblPanel2 = nullptr;
    QMenu *mnuOptions = nullptr;
    QMenu *PopupMenu1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *makeButton(const QString &name, const QString &caption, const QIcon &icon);
    void bindGuard();
    void bindTray();
    void applyButtons(const TButtonState &state);
    void applyCaptions(const TCaptionState &state);
    void quitProgram();
    // A viewer over the window with the given title flags and text, shown modally.
    void showViewer(const QStringList &lines, bool headers, bool reasons, const QString &file = QString());
    // The keys of the list (Space, Enter, Delete, Shift+F10, the menu key); true when used.
    bool listKey(QKeyEvent *key);
    void popupListMenu(const QPoint &global);
    // Window size and place, column widths and sort order, as the user left them.
    void restoreLayout();
    void saveLayout();
    void bindKeys();
    // The tray icon shows while tray mode is on and a notification area is there to hold it.
    void applyTrayMode();
    void updateTrayHint();

    TMailGuard &m_guard;
    TPrompts &m_prompts;
    TMessageInspector m_inspector;
    TMarkPictureModel *m_listModel = nullptr;
    TMessageSortModel *m_sortModel = nullptr;
    QString m_trayHint;
    TfrmRetrieving *frmRetrieving = nullptr;
    TfrmGeneral *frmGeneral = nullptr;
    TfrmOptionsMain *frmOptionsMain = nullptr;
    TTrayIcon *m_tray = nullptr;
    TAlarmSound *m_alarm = nullptr;
    QList<QToolButton *> m_messageButtons;
    std::function<void()> m_quit;
    bool m_quitting = false;
    bool m_aboutOpen = false;
};
