#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QAction;
class QActionGroup;
class QMenu;
class QSystemTrayIcon;

// The notification-area icon with its menu (popTray) and its two states: the normal picture
// (tsEnabled) and the animated one (tsAnimated), which alternates the two animation pictures.
// The menu exists whether or not the desktop has a notification area, so the window can
// offer the same commands and tests can reach them.
class TTrayIcon : public QObject
{
    Q_OBJECT

public:
    explicit TTrayIcon(QObject *parent = nullptr);
    ~TTrayIcon() override;

    // Whether the desktop shows notification-area icons at all. Without one, the program
    // must never hide its only window.
    static bool IsAvailable();

    // Shows or removes the icon (the tray component's Active).
    void SetActive(bool active);
    bool IsActive() const;
    void SetHint(const QString &hint);
    // A message beside the icon, where the desktop has no notification server.
    void ShowMessage(const QString &title, const QString &text, bool trouble);
    QString Hint() const { return m_hint; }
    void SetAnimated(bool animated);
    bool IsAnimated() const { return m_animated; }
    // Off while the POP3 client is busy: every item is greyed and does nothing.
    void SetMenuEnabled(bool enabled);
    bool IsMenuEnabled() const { return m_menuEnabled; }
    void SetExitCaption(const QString &caption);
    // The radio pair: "Enable automatic check" checked when automatic, else "Disable ...".
    void SetAutomatic(bool automatic);
    // Items whose window does not exist yet are greyed for good.
    void SetAvailable(QAction *action, bool available);

    QMenu *Menu() const { return m_menu; }
    // The picture shown now; alternates while animated.
    QString CurrentPicture() const { return m_picture; }

    QAction *actCheck = nullptr;       // "Check e-mail for spam"
    QAction *actLaunch = nullptr;      // "Launch e-mail program"
    QAction *actMainScreen = nullptr;  // "Main screen"
    QAction *actSpam = nullptr;        // Settings > "Spam"
    QAction *actGeneral = nullptr;     // Settings > "General"
    QAction *actViewLog = nullptr;     // Settings > "View log file"
    QAction *actStatistics = nullptr;  // "Statistics"
    QAction *actEnable = nullptr;      // "Enable automatic check"
    QAction *actDisable = nullptr;     // "Disable automatic check"
    QAction *actHelp = nullptr;        // Help/Info > "Help"
    QAction *actAbout = nullptr;       // Help/Info > "About"
    QAction *actExit = nullptr;        // "Exit" ("Cancel" while busy)

signals:
    // A click on the icon: show the program.
    void activated();
    // The menu is about to open (popTrayPopup): the alarm stops.
    void menuAboutToShow();

private:
    void setPicture(const QString &name);
    void applyEnabled();

    QSystemTrayIcon *m_icon = nullptr;
    QMenu *m_menu = nullptr;
    QActionGroup *m_modeGroup = nullptr;
    QTimer m_animation;
    QString m_hint;
    QString m_picture;
    bool m_animated = false;
    bool m_menuEnabled = true;
    bool m_animationPhase = false;
    QList<QAction *> m_unavailable;
};
