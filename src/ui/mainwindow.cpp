#include "mainwindow.h"
#include "statistics.h"

#include "about.h"
#include "alarm.h"
#include "boxprompts.h"
#include "files.h"
#include "general.h"
#include "helpfile.h"
#include "markfordeletion.h"
#include "settingsstore.h"
#include "messagelistmodel.h"
#include "optionsmain.h"
#include "ruleforms.h"
#include "pictures.h"
#include "retrieving.h"
#include "trayicon.h"
#include "viewheader.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <climits>

namespace {

QString kHint() { return TfrmMain::tr("Right click for more options, double click to mark"); }
QString kBanner() { return TfrmMain::tr("Quickly eliminate junk e-mail before it gets to your mailbox"); }
const QString kLayoutSection = QStringLiteral("MainWindow");
// Bounds of a stored window size: a damaged file must not make the window vanish or swamp
// the screen.
constexpr int kMinStoredHeight = 200;
constexpr int kMaxStoredSize = 16000;

// The exit button's caption with its access key.
QString WithAccessKey(const QString &caption)
{
    // The guard names the button's states in English; the window says them in the user's.
    [[maybe_unused]] static const char *const kCaptions[] = {
        QT_TRANSLATE_NOOP("TfrmMain", "&Goodbye"), QT_TRANSLATE_NOOP("TfrmMain", "&Hide"),
        QT_TRANSLATE_NOOP("TfrmMain", "Ca&ncel")};
    const QByteArray key = (caption == QLatin1String("Cancel") ? QStringLiteral("Ca&ncel") : u'&' + caption).toUtf8();
    return QCoreApplication::translate("TfrmMain", key.constData());
}

} // namespace

// ---- the window ----

TfrmMain::TfrmMain(TMailGuard &guard, TPrompts &prompts, QWidget *parent)
    : QMainWindow(parent), m_guard(guard), m_prompts(prompts), m_inspector(guard, prompts), m_quit([] { QApplication::quit(); })
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarnwick"));
    setWindowIcon(Picture(QStringLiteral("tarnwick")));
    if (auto *boxes = dynamic_cast<TBoxPrompts *>(&prompts))
        boxes->SetParent(this);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);

    // The buttons along the top.
    auto *bar = new QHBoxLayout();
    bar->setSpacing(2);
    btList = makeButton(QStringLiteral("btList"), tr("&Check e-mail"), Picture(QStringLiteral("check-down")));
    btMark = makeButton(QStringLiteral("btMark"), tr("&Mark messages"), Picture(QStringLiteral("mark")));
    btDelete = makeButton(QStringLiteral("btDelete"), tr("&Delete marked messages"), Picture(QStringLiteral("delete")));
    btResetAll = makeButton(QStringLiteral("btResetAll"), tr("&Reset all marks"), Picture(QStringLiteral("reset")));
    btRemark = makeButton(QStringLiteral("btRemark"), tr("&Auto-mark messages"), Picture(QStringLiteral("remark")));
    btLaunch = makeButton(QStringLiteral("btLaunch"), tr("&Launch e-mail program"), Picture(QStringLiteral("launch")));
    btOptions = makeButton(QStringLiteral("btOptions"), tr("&Settings and more"), Picture(QStringLiteral("options")));
    btExit = makeButton(QStringLiteral("btExit"), tr("Goodbye"), QIcon());
    m_messageButtons = {btMark, btDelete, btResetAll, btRemark, btLaunch};

    bar->addWidget(btList);
    for (QToolButton *b : m_messageButtons)
        bar->addWidget(b);
    lblAd = new QLabel(kBanner(), central);
    lblAd->setObjectName(QStringLiteral("lblAd"));
    QFont ad = lblAd->font();
    ad.setItalic(true);
    ad.setPointSizeF(ad.pointSizeF() * 1.15);
    lblAd->setFont(ad);
    lblAd->setAlignment(Qt::AlignCenter);
    lblAd->setWordWrap(true);
    bar->addWidget(lblAd, 1);
    bar->addStretch(0);
    bar->addWidget(btOptions);
    bar->addWidget(btExit);
    layout->addLayout(bar);

    mnuOptions = new QMenu(this);
    QAction *spam = mnuOptions->addAction(tr("Spam settings"));
    QAction *general = mnuOptions->addAction(tr("General settings"));
    QAction *help = mnuOptions->addAction(tr("Help"));
    QAction *about = mnuOptions->addAction(tr("About"));
    QAction *stats = mnuOptions->addAction(tr("Stats"));
    btOptions->setMenu(mnuOptions);
    btOptions->setPopupMode(QToolButton::InstantPopup);
    connect(spam, &QAction::triggered, this, &TfrmMain::btSpamClick);
    connect(general, &QAction::triggered, this, &TfrmMain::btGeneralClick);
    connect(help, &QAction::triggered, this, &TfrmMain::btHelpClick);
    connect(about, &QAction::triggered, this, &TfrmMain::btAboutClick);
    connect(stats, &QAction::triggered, this, &TfrmMain::ShowStatistics);

    // The heading: the automatic-mode texts.
    auto *heading = new QHBoxLayout();
    lblTitle = new QLabel(QStringLiteral("Tarnwick"), central);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);
    Label1 = new QLabel(QStringLiteral("TM"), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont small = Label1->font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    Label1->setFont(small);
    heading->addWidget(lblTitle);
    heading->addWidget(Label1, 0, Qt::AlignTop);
    heading->addStretch();
    layout->addLayout(heading);

    // The message list.
    ListView1 = new QTreeView(central);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    m_listModel = new TMarkPictureModel(this);
    m_listModel->setSourceModel(&m_guard.Messages());
    m_sortModel = new TMessageSortModel(m_guard.Messages(), this);
    m_sortModel->setSourceModel(m_listModel);
    ListView1->setModel(m_sortModel);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    // No column chosen: the server's order until the user clicks a heading.
    ListView1->header()->setSortIndicator(-1, Qt::AscendingOrder);
    ListView1->setSortingEnabled(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    // The subject takes the room the other columns leave.
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(TMessageListModel::SubjectColumn, QHeaderView::Stretch);
    ListView1->header()->setSortIndicatorShown(true);
    const int widths[] = {220, 200, 70, 170};
    for (int c = 1; c < 4; ++c)
        ListView1->setColumnWidth(c, widths[c]);
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
    layout->addWidget(ListView1, 1);
    connect(ListView1, &QTreeView::doubleClicked, this, [this] { btMarkClick(); });

    PopupMenu1 = new QMenu(this);
    QAction *why = PopupMenu1->addAction(tr("Why was this e-mail marked?"));
    PopupMenu1->addSeparator();
    QAction *toExceptions = PopupMenu1->addAction(tr("Add selected sender(s) to exceptions list"));
    QAction *toSpam = PopupMenu1->addAction(tr("Add selected message(s) to spam list"));
    PopupMenu1->addSeparator();
    QAction *headers = PopupMenu1->addAction(tr("View selected message(s) headers"));
    QAction *body = PopupMenu1->addAction(tr("View body of one message"));
    connect(why, &QAction::triggered, this, &TfrmMain::Why1Click);
    connect(toExceptions, &QAction::triggered, this, &TfrmMain::AddtoExceptions1Click);
    connect(toSpam, &QAction::triggered, this, &TfrmMain::AddtoSpam1Click);
    connect(headers, &QAction::triggered, this, &TfrmMain::ViewHeader1Click);
    connect(body, &QAction::triggered, this, &TfrmMain::ViewMessages1Click);
    connect(ListView1, &QTreeView::customContextMenuRequested, this,
            [this](const QPoint &at) { popupListMenu(ListView1->viewport()->mapToGlobal(at)); });

    setCentralWidget(central);

    // The two panels of the status bar.
    lblPanel1 = new QLabel(kHint(), this);
    lblPanel1->setObjectName(QStringLiteral("lblPanel1"));
    lblPanel1->setFixedWidth(qMax(300, lblPanel1->sizeHint().width() + 8));
    lblPanel2 = new QLabel(this);
    lblPanel2->setObjectName(QStringLiteral("lblPanel2"));
    lblPanel2->setMinimumWidth(1);
    lblPanel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(lblPanel1);
    statusBar()->addWidget(lblPanel2, 1);

    connect(btList, &QToolButton::clicked, this, &TfrmMain::btListClick);
    connect(btMark, &QToolButton::clicked, this, &TfrmMain::btMarkClick);
    connect(btDelete, &QToolButton::clicked, this, &TfrmMain::btDeleteClick);
    connect(btResetAll, &QToolButton::clicked, this, [this] { m_guard.ResetButtonClick(); });
    connect(btRemark, &QToolButton::clicked, this, [this] { m_guard.btRemarkClick(); });
    connect(btLaunch, &QToolButton::clicked, this, [this] { m_guard.btLaunchClick(); });
    connect(btExit, &QToolButton::clicked, this, &TfrmMain::btExitClick);

    frmRetrieving = new TfrmRetrieving(this);
    connect(frmRetrieving, &TfrmRetrieving::cancelClicked, this, [this] { m_guard.Cancel(); });
    m_alarm = new TAlarmSound(this);
    m_tray = new TTrayIcon(this);

    bindGuard();
    bindTray();
    bindKeys();
    applyButtons(m_guard.Buttons());
    applyCaptions(m_guard.Captions());
    // As wide as the row of buttons a listing shows, from the start: the window must not
    // widen itself when mail arrives.
    for (QToolButton *b : m_messageButtons)
        b->setVisible(true);
    setMinimumWidth(minimumSizeHint().width());
    applyButtons(m_guard.Buttons());
    resize(qMax(960, minimumWidth()), 560);
}

void TfrmMain::bindKeys()
{
    auto *check = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(check, &QShortcut::activated, this, [this] {
        if (btList->isEnabled())
            btListClick();
    });
    auto *remove = new QShortcut(QKeySequence::Delete, this);
    connect(remove, &QShortcut::activated, this, [this] {
        if (!m_guard.Messages().IsEmpty())
            btDeleteClick();
    });
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, [this] { m_guard.btExitClick(true); });
}

bool TfrmMain::listKey(QKeyEvent *key)
{
    if (m_guard.IsBusy() || m_guard.Messages().IsEmpty())
        return false;
    const bool plain = !(key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
    switch (key->key()) {
    case Qt::Key_Space:
        if (key->modifiers() != Qt::NoModifier)
            return false;
        btMarkClick();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain)
            return false;
        ViewMessages1Click();
        return true;
    case Qt::Key_F10:
        if (key->modifiers() != Qt::ShiftModifier)
            return false;
        [[fallthrough]];
    case Qt::Key_Menu: {
        const QRect row = ListView1->visualRect(ListView1->currentIndex());
        const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
        popupListMenu(ListView1->viewport()->mapToGlobal(at));
        return true;
    }
    default:
        return false;
    }
}

void TfrmMain::popupListMenu(const QPoint &global)
{
    m_guard.playAlarmSound(false);
    // The rows belong to the command that is running.
    if (!m_guard.IsBusy())
        PopupMenu1->popup(global);
}

void TfrmMain::restoreLayout()
{
    const UserSettings &store = m_guard.Settings();
    const QList<int> widths = ReadColumnWidths(store, kLayoutSection,
                                               {ListView1->columnWidth(1), ListView1->columnWidth(2),
                                                ListView1->columnWidth(3)});
    for (int c = 1; c < TMessageListModel::ColumnCount; ++c)
        ListView1->setColumnWidth(c, widths.at(c - 1));
    const int column = store.readInteger(kLayoutSection, QStringLiteral("SortColumn"), -1);
    const int order = store.readInteger(kLayoutSection, QStringLiteral("SortOrder"), 0);
    if (column >= -1 && column < TMessageListModel::ColumnCount)
        ListView1->sortByColumn(column, order == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);

    const int width = store.readInteger(kLayoutSection, QStringLiteral("Width"), 0);
    const int height = store.readInteger(kLayoutSection, QStringLiteral("Height"), 0);
    if (width >= minimumWidth() && width <= kMaxStoredSize && height >= kMinStoredHeight
        && height <= kMaxStoredSize)
        resize(width, height);
    // Only where a screen still is: a monitor unplugged since must not hold the window.
    const QPoint at(store.readInteger(kLayoutSection, QStringLiteral("Left"), INT_MIN),
                    store.readInteger(kLayoutSection, QStringLiteral("Top"), INT_MIN));
    if (at.x() != INT_MIN && at.y() != INT_MIN
        && QGuiApplication::screenAt(at + QPoint(qMin(width, 40), qMin(height, 20))))
        move(at);
}

void TfrmMain::saveLayout()
{
    UserSettings &store = m_guard.Settings();
    // A window shown maximised or minimised keeps the size it comes back to.
    const QRect place = (isMaximized() || isMinimized()) ? normalGeometry() : QRect(pos(), size());
    const int sortColumn = ListView1->header()->sortIndicatorSection();
    const bool ok = store.writeInteger(kLayoutSection, QStringLiteral("Left"), place.x())
                 && store.writeInteger(kLayoutSection, QStringLiteral("Top"), place.y())
                 && store.writeInteger(kLayoutSection, QStringLiteral("Width"), place.width())
                 && store.writeInteger(kLayoutSection, QStringLiteral("Height"), place.height())
                 && store.writeInteger(kLayoutSection, QStringLiteral("SortColumn"),
                                       sortColumn < TMessageListModel::ColumnCount ? sortColumn : -1)
                 && store.writeInteger(kLayoutSection, QStringLiteral("SortOrder"),
                                       ListView1->header()->sortIndicatorOrder() == Qt::DescendingOrder ? 1 : 0);
    // The next start simply opens with the defaults when this could not be written.
    if (ok)
        SaveColumnWidths(store, kLayoutSection,
                         {ListView1->columnWidth(1), ListView1->columnWidth(2), ListView1->columnWidth(3)});
}

void TfrmMain::applyTrayMode()
{
    m_guard.SetTrayAvailable(TTrayIcon::IsAvailable());
    m_tray->SetActive(m_guard.sysTrayMode());
}

void TfrmMain::updateTrayHint()
{
    // The mailbox and what its last check found, under the mode the captions give.
    QString hint = m_trayHint;
    const MailboxSlot &slot = m_guard.Servers().slot(qBound(1, m_guard.Iwhich(), kMailboxSlots));
    if (!IsBlankText(slot.server))
        hint += u'\n' + tr("Mailbox %1: %2 on %3").arg(m_guard.Iwhich()).arg(slot.mailbox, slot.server);
    if (!m_guard.StatusText().isEmpty())
        hint += u'\n' + m_guard.StatusText();
    m_tray->SetHint(hint);
}

TfrmMain::~TfrmMain() = default;

QToolButton *TfrmMain::makeButton(const QString &name, const QString &caption, const QIcon &icon)
{
    auto *b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(QString(caption).remove(u'&'));
    b->setIcon(icon);
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    // A caption cut to "Delet...sages" says nothing; the window is as wide as its buttons.
    b->setMinimumWidth(qMax(72, b->sizeHint().width()));
    return b;
}

void TfrmMain::bindGuard()
{
    connect(&m_guard, &TMailGuard::buttonsChanged, this, &TfrmMain::applyButtons);
    connect(&m_guard, &TMailGuard::captionsChanged, this, &TfrmMain::applyCaptions);
    connect(&m_guard, &TMailGuard::progressChanged, frmRetrieving, &TfrmRetrieving::Apply);
    connect(&m_guard, &TMailGuard::statusChanged, lblPanel2, &QLabel::setText);
    connect(&m_guard, &TMailGuard::statusChanged, this, &TfrmMain::updateTrayHint);
    // Opened once the check that asked for it has ended, so the dialog never runs inside it.
    connect(&m_guard, &TMailGuard::generalSettingsRequested, this, &TfrmMain::btGeneralClick,
            Qt::QueuedConnection);
    connect(&m_guard, &TMailGuard::alarmRequested, m_alarm, &TAlarmSound::Play);
    connect(&m_guard, &TMailGuard::alarmStopped, m_alarm, &TAlarmSound::Stop);
    connect(&m_guard, &TMailGuard::beepRequested, m_alarm, &TAlarmSound::Beep);
    connect(&m_guard, &TMailGuard::showWindowRequested, this, &TfrmMain::ShowMainScreen1Click);
    connect(&m_guard, &TMailGuard::hideToTrayRequested, this, [this] {
        // The guard asks this only in tray mode, which it drops without a notification area.
        if (m_tray->IsActive())
            hide();
        else
            showMinimized();
    });
    connect(&m_guard, &TMailGuard::quitRequested, this, &TfrmMain::quitProgram);
    connect(&m_guard, &TMailGuard::IwhichChanged, this, [this](int slot) {
        // The mailbox choice is the selected slot of the settings; the automatic pass visiting
        // each slot in turn must not change which one is selected there.
        if (!m_guard.autoCheckRunning())
            m_guard.Servers().which = slot;
    });
}

void TfrmMain::bindTray()
{
    connect(m_tray, &TTrayIcon::activated, this, &TfrmMain::ShowMainScreen1Click);
    connect(m_tray, &TTrayIcon::menuAboutToShow, this, [this] { m_guard.playAlarmSound(false); });
    connect(m_tray->actCheck, &QAction::triggered, this, &TfrmMain::Show1Click);
    connect(m_tray->actLaunch, &QAction::triggered, this, [this] { m_guard.btLaunchClick(); });
    connect(m_tray->actMainScreen, &QAction::triggered, this, &TfrmMain::ShowMainScreen1Click);
    connect(m_tray->actGeneral, &QAction::triggered, this, &TfrmMain::btGeneralClick);
    connect(m_tray->actViewLog, &QAction::triggered, this, [this] {
        if (frmGeneral)
            frmGeneral->ViewLog(m_guard.General().logFile);
    });
    connect(m_tray->actEnable, &QAction::triggered, this, [this] { m_guard.EnableAutomatic(true); });
    connect(m_tray->actDisable, &QAction::triggered, this, [this] { m_guard.EnableAutomatic(false); });
    connect(m_tray->actHelp, &QAction::triggered, this, &TfrmMain::btHelpClick);
    connect(m_tray->actAbout, &QAction::triggered, this, &TfrmMain::btAboutClick);
    connect(m_tray->actExit, &QAction::triggered, this, [this] { m_guard.btExitClick(true); });
    connect(m_tray->actSpam, &QAction::triggered, this, &TfrmMain::btSpamClick);
    connect(m_tray->actStatistics, &QAction::triggered, this, &TfrmMain::ShowStatistics);
}

void TfrmMain::FormCreate()
{
    m_guard.SetTrayAvailable(TTrayIcon::IsAvailable());
    m_guard.FormCreate();
    m_guard.SetTrayAvailable(TTrayIcon::IsAvailable());

    // Created over the settings the guard has just read: whether this is a fresh installation.
    frmGeneral = new TfrmGeneral(m_guard.Settings(), {m_guard.General(), m_guard.Servers()},
                                 m_guard.SpamSettings(), m_prompts, this);
    frmOptionsMain = new TfrmOptionsMain(m_guard.SpamSettings(), m_guard.KnownList(), m_guard.Settings(),
                                         m_prompts, this);
    frmOptionsMain->SetHelp([this] { btHelpClick(); });
    frmGeneral->SetHelp([this] { btHelpClick(); });
    frmGeneral->SetStatistics([this] { ShowStatistics(); });
    frmGeneral->SetAlarm(m_alarm);
    frmGeneral->SetPhoneBook(m_guard.Ras().EntryList());
    frmGeneral->SetLauncher([this] { m_guard.btLaunchClick(); });

    // The icon is there only in tray mode; without a notification area the guard has
    // already dropped tray mode, so the window shows and the program stays reachable.
    applyTrayMode();
    restoreLayout();
    applyButtons(m_guard.Buttons());
    applyCaptions(m_guard.Captions());
    if (!m_guard.sysTrayMode())
        ShowMainScreen1Click();
}

void TfrmMain::SaveAtExit()
{
    saveLayout();
    // The general values once more, the count of deleted spam with them; only once they were
    // read (FormCreate), so that defaults never overwrite them.
    if (frmGeneral)
        SaveGeneralSettings(m_guard.Settings(), m_guard.General());
}

// ---- what the guard shows ----

void TfrmMain::applyButtons(const TButtonState &state)
{
    btList->setEnabled(state.checkEnabled);
    btOptions->setEnabled(state.optionsEnabled);
    for (QToolButton *b : m_messageButtons)
        b->setVisible(state.messageButtonsVisible);
    lblAd->setVisible(state.bannerVisible);
    btExit->setText(WithAccessKey(state.exitCaption));
    btExit->setToolTip(WithAccessKey(state.exitCaption).remove(u'&'));
    if (state.exitIsCancel) {
        btExit->setIcon(Picture(QStringLiteral("stop")));
    } else {
        // The door, opening into the good-bye picture under the mouse.
        QIcon icon;
        icon.addFile(PicturePath(QStringLiteral("door")), QSize(), QIcon::Normal);
        icon.addFile(PicturePath(QStringLiteral("goodbye")), QSize(), QIcon::Active);
        btExit->setIcon(icon);
    }
    btList->setIcon(Picture(state.checkButtonUp ? QStringLiteral("check-up") : QStringLiteral("check-down")));
    m_tray->SetExitCaption(state.trayExitCaption);
    m_tray->SetMenuEnabled(state.trayMenuEnabled);
}

void TfrmMain::applyCaptions(const TCaptionState &state)
{
    setWindowTitle(state.windowCaption);
    lblTitle->setText(state.title);
    Label1->setVisible(state.tmLabelVisible);
    m_trayHint = state.trayHint;
    updateTrayHint();
    m_tray->SetAnimated(state.trayAnimated);
    m_tray->SetAutomatic(state.automatic);
}

QList<int> TfrmMain::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : ListView1->selectionModel()->selectedRows())
        rows.append(m_sortModel->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString TfrmMain::StatusText() const
{
    return lblPanel2->text();
}

int TfrmMain::ListRowAt(int viewRow) const
{
    const QModelIndex index = m_sortModel->index(viewRow, 0);
    return index.isValid() ? m_sortModel->mapToSource(index).row() : -1;
}

// ---- commands ----

void TfrmMain::btListClick()
{
    m_guard.btListClick();
}

void TfrmMain::btMarkClick()
{
    m_guard.playAlarmSound(false);
    const QList<int> rows = SelectedRows();
    if (m_inspector.RequireSelection(rows))
        m_guard.btMarkClick(rows);
}

void TfrmMain::btDeleteClick()
{
    m_guard.btDeleteClick();
}

void TfrmMain::btExitClick()
{
    m_guard.btExitClick(false);
}

void TfrmMain::btGeneralClick()
{
    // The dialog edits the settings a running command reads.
    if (!frmGeneral || m_guard.IsBusy() || frmGeneral->isVisible())
        return;
    frmGeneral->Edit(m_guard.BeginGeneralSettings());
    frmGeneral->exec();
    m_guard.EndGeneralSettings(frmGeneral->Stored());
    // Tray mode takes effect at once: the icon comes, or goes and the window is back.
    applyTrayMode();
    if (!m_guard.sysTrayMode() && !isVisible())
        ShowMainScreen1Click();
}

void TfrmMain::btSpamClick()
{
    // The window edits the tables a running check evaluates.
    if (!frmOptionsMain || m_guard.IsBusy() || frmOptionsMain->isVisible())
        return;
    QStringList mailboxes;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = m_guard.Servers().slot(n);
        if (!slot.server.isEmpty())
            mailboxes << MailboxItemText(n, slot.mailbox, slot.server);
    }
    frmOptionsMain->SetMailboxes(mailboxes);
    const TMailGuard::ModalScope modal(m_guard);
    frmOptionsMain->exec();
}

void TfrmMain::btAboutClick()
{
    if (m_aboutOpen)
        return;
    m_aboutOpen = true;
    {
        const TMailGuard::ModalScope modal(m_guard);
        TfrmAbout about(m_guard.Settings(), FrontWindow(this));
        about.exec();
    }
    m_aboutOpen = false;
}

void TfrmMain::btHelpClick()
{
    const TMailGuard::ModalScope modal(m_guard);
    const QString file = HelpFile();
    if (file.isEmpty())
        m_prompts.ErrorBox(tr("Unable to open help file - tarnwick.html.\nThe manual is not where "
                                          "the program was installed (share/tarnwick/help). Install Tarnwick "
                                          "again to put it back."));
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        m_prompts.ErrorBox(tr("Unable to open help file - tarnwick.html.\nThe desktop has no program "
                                          "set up to show web pages. Open %1 in a web browser.")
                               .arg(file));
}

void TfrmMain::ShowStatistics()
{
    const TMailGuard::ModalScope modal(m_guard);
    ::ShowStatistics(FrontWindow(this), m_guard.General().logFile);
}

void TfrmMain::ShowMainScreen1Click()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void TfrmMain::Show1Click()
{
    ShowMainScreen1Click();
    m_guard.btListClick();
}

void TfrmMain::showViewer(const QStringList &lines, bool headers, bool reasons, const QString &file)
{
    TfrmViewHeader viewer(FrontWindow(this));
    viewer.ViewingHeaders = headers;
    viewer.ViewingReasons = reasons;
    viewer.SetLines(lines);
    viewer.SetMessageFile(file);
    viewer.exec();
}

void TfrmMain::ViewHeader1Click()
{
    const TMailGuard::ModalScope modal(m_guard);
    const QStringList text = m_inspector.ViewHeader1Click(SelectedRows());
    if (!text.isEmpty())
        showViewer(text, true, false);
}

void TfrmMain::Why1Click()
{
    const TMailGuard::ModalScope modal(m_guard);
    const QStringList text = m_inspector.Why1Click(SelectedRows());
    if (!text.isEmpty())
        showViewer(text, false, true);
}

void TfrmMain::ViewMessages1Click()
{
    const TMailGuard::ModalScope modal(m_guard);
    if (const std::optional<TViewedMessage> message = m_inspector.ViewMessages1Click(SelectedRows()))
        showViewer(message->lines, false, false, message->file);
}

void TfrmMain::AddtoExceptions1Click()
{
    m_inspector.AddtoExceptions1Click(SelectedRows());
}

void TfrmMain::AddtoSpam1Click()
{
    if (m_guard.IsBusy())
        return;
    const QList<int> rows = SelectedRows();
    if (!m_inspector.RequireSelection(rows))
        return;
    QList<TMarkMessage> messages;
    for (int row : rows) {
        const TMessageListRow &r = m_guard.Messages().Row(row);
        messages.append({r.subject, r.sender});
    }
    {
        const TMailGuard::ModalScope modal(m_guard);
        TfrmMarkForDeletion dialog(m_guard.SpamSettings(), this);
        dialog.SetPrompts(&m_prompts);
        dialog.Run(messages);
    }
    // Whichever way the dialog closed, the marks follow the rules as they are now.
    m_guard.btRemarkClick();
}

void TfrmMain::quitProgram()
{
    m_quitting = true;
    close();
    if (m_quit)
        m_quit();
}

// ---- window events ----

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (m_quitting) {
        event->accept();
        return;
    }
    // In tray mode the close box only hides, as the exit button does; "Exit" in the tray
    // menu ends the program.
    if (m_guard.sysTrayMode() && m_tray->IsActive()) {
        hide();
        event->ignore();
        return;
    }
    // While a command waits for the server, closing cancels it first; the guard asks to quit
    // once the wait has unwound.
    if (!m_guard.CloseQuery()) {
        event->ignore();
        return;
    }
    m_quitting = true;
    event->accept();
    if (m_quit)
        m_quit();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    m_guard.SetMainWindowVisible(true);
    QMainWindow::showEvent(event);
}

void TfrmMain::hideEvent(QHideEvent *event)
{
    // Minimised still counts as on screen: the user can see the taskbar entry.
    if (!isMinimized())
        m_guard.SetMainWindowVisible(false);
    QMainWindow::hideEvent(event);
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView1 && event->type() == QEvent::KeyPress && listKey(static_cast<QKeyEvent *>(event)))
        return true;
    // A click or a key in the list stops a repeating alarm (ListView1Click, ListView1KeyUp).
    if ((watched == ListView1 && event->type() == QEvent::KeyRelease)
        || (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease))
        m_guard.playAlarmSound(false);
    return QMainWindow::eventFilter(watched, event);
}
