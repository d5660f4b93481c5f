#include "trayicon.h"

#include "pictures.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {
// Fast enough to catch the eye in the corner of the screen, slow enough not to nag.
constexpr int kAnimationMs = 600;
} // namespace

TTrayIcon::TTrayIcon(QObject *parent) : QObject(parent), m_hint(QStringLiteral("Tarnwick"))
{
    m_menu = new QMenu();
    actCheck = m_menu->addAction(tr("Check e-mail for spam"));
    actLaunch = m_menu->addAction(tr("Launch e-mail program"));
    m_menu->addSeparator();
    actMainScreen = m_menu->addAction(tr("Main screen"));
    QMenu *settings = m_menu->addMenu(tr("Settings"));
    actSpam = settings->addAction(tr("Spam"));
    actGeneral = settings->addAction(tr("General"));
    actViewLog = settings->addAction(tr("View log file"));
    actStatistics = m_menu->addAction(tr("Statistics"));
    m_menu->addSeparator();
    m_modeGroup = new QActionGroup(this);
    m_modeGroup->setExclusive(true);
    actEnable = m_menu->addAction(tr("Enable automatic check"));
    actDisable = m_menu->addAction(tr("Disable automatic check"));
    for (QAction *a : {actEnable, actDisable}) {
        a->setCheckable(true);
        m_modeGroup->addAction(a);
    }
    actDisable->setChecked(true);
    m_menu->addSeparator();
    QMenu *help = m_menu->addMenu(tr("Help/Info"));
    actHelp = help->addAction(tr("Help"));
    actAbout = help->addAction(tr("About"));
    m_menu->addSeparator();
    actExit = m_menu->addAction(tr("Exit"));
    connect(m_menu, &QMenu::aboutToShow, this, &TTrayIcon::menuAboutToShow);

    m_icon = new QSystemTrayIcon(this);
    m_icon->setContextMenu(m_menu);
    m_icon->setToolTip(m_hint);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            emit activated();
    });
    setPicture(QStringLiteral("tray"));

    m_animation.setInterval(kAnimationMs);
    connect(&m_animation, &QTimer::timeout, this, [this] {
        m_animationPhase = !m_animationPhase;
        setPicture(m_animationPhase ? QStringLiteral("anim2") : QStringLiteral("anim1"));
    });
}

TTrayIcon::~TTrayIcon()
{
    delete m_menu;
}

bool TTrayIcon::IsAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::SetActive(bool active)
{
    m_icon->setVisible(active && IsAvailable());
}

bool TTrayIcon::IsActive() const
{
    return m_icon->isVisible();
}

void TTrayIcon::SetHint(const QString &hint)
{
    m_hint = hint;
    m_icon->setToolTip(hint);
}

void TTrayIcon::ShowMessage(const QString &title, const QString &text, bool trouble)
{
    if (m_icon->isVisible())
        m_icon->showMessage(title, text, trouble ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
}

void TTrayIcon::SetAnimated(bool animated)
{
    if (animated == m_animated)
        return;
    m_animated = animated;
    m_animationPhase = false;
    if (animated) {
        setPicture(QStringLiteral("anim1"));
        m_animation.start();
    } else {
        m_animation.stop();
        setPicture(QStringLiteral("tray"));
    }
}

void TTrayIcon::SetMenuEnabled(bool enabled)
{
    m_menuEnabled = enabled;
    applyEnabled();
}

void TTrayIcon::SetAvailable(QAction *action, bool available)
{
    m_unavailable.removeAll(action);
    if (!available)
        m_unavailable.append(action);
    applyEnabled();
}

void TTrayIcon::applyEnabled()
{
    // Greying every item (rather than taking the menu away) shows the user that the commands
    // are only paused.
    for (QAction *a : {actCheck, actLaunch, actMainScreen, actSpam, actGeneral, actViewLog,
                       actStatistics, actEnable, actDisable, actHelp, actAbout, actExit})
        a->setEnabled(m_menuEnabled && !m_unavailable.contains(a));
}

void TTrayIcon::SetExitCaption(const QString &caption)
{
    // The guard names the item's states in English ("Exit", "Cancel"); the menu says them in the user's.
    actExit->setText(caption == QLatin1String("Cancel") ? tr("Cancel") : tr("Exit"));
}

void TTrayIcon::SetAutomatic(bool automatic)
{
    (automatic ? actEnable : actDisable)->setChecked(true);
}

void TTrayIcon::setPicture(const QString &name)
{
    m_picture = name;
    m_icon->setIcon(Picture(name));
}
