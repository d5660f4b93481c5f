#include "general.h"
#include "widgetparts.h"

#include "addmailbox.h"
#include "oauth.h"

#include "alarm.h"
#include "autostart.h"
#include "logformat.h"
#include "mailboxsetup.h"
#include "prompts.h"
#include "spamsettings.h"
#include "tls.h"
#include "trayicon.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString kTestCaption() { return TfrmGeneral::tr("Test"); }
QString kStopCaption() { return TfrmGeneral::tr("Stop"); }

} // namespace

TfrmGeneral::TfrmGeneral(UserSettings &store, const TSettingsEdit &settings, TSpamSettings &spam,
                         TPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_store(store), m_edit(settings), m_firstRun(settings.servers), m_spam(spam),
      m_prompts(prompts), m_findMailProgram([] { return GetMailPath(MachineSettings()); }),
      m_importMailbox(ImportFirstMailbox)
{
    setObjectName(QStringLiteral("frmGeneral"));
    setWindowTitle(tr("General settings"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    // Boxes look like part of the form until they are being typed in.
    setStyleSheet(QStringLiteral("QLineEdit, QAbstractSpinBox { background-color: palette(button); }"
                                 "QLineEdit:focus, QAbstractSpinBox:focus { background-color: palette(base); }"));

    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(tr("General Settings"), this);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    heading->setFont(big);
    layout->addWidget(heading);

    PageControl1 = named(new QTabWidget(this), QStringLiteral("PageControl1"));
    PageControl1->addTab(makeMailboxesTab(), tr("Mailboxes"));
    PageControl1->addTab(makeConnectionTab(), tr("Connection"));
    PageControl1->addTab(makeAutomaticTab(), tr("Automatic"));
    PageControl1->addTab(makeStartUpTab(), tr("Start Up"));
    PageControl1->addTab(makeLogTab(), tr("Activity Log"));
    PageControl1->addTab(makeMailProgramTab(), tr("Mail program"));
    PageControl1->setCurrentIndex(0);
    layout->addWidget(PageControl1);

    auto *buttons = new QDialogButtonBox(this);
    btOK = named(buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole), QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = named(buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole),
                     QStringLiteral("btCancel"));
    btHelp = named(buttons->addButton(tr("&Help"), QDialogButtonBox::HelpRole), QStringLiteral("btHelp"));
    connect(btHelp, &QPushButton::clicked, this, [this] {
        if (m_help)
            m_help();
    });
    layout->addWidget(buttons);
    connect(btOK, &QPushButton::clicked, this, &TfrmGeneral::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmGeneral::btCancelClick);

    SetStatistics({});
    SetPhoneBook({});
    fillFromSettings(m_edit.general);
    fillServers(m_edit.servers);
}

TfrmGeneral::~TfrmGeneral() = default;

// ---- tabs ----

QWidget *TfrmGeneral::makeConnectionTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Specify a default connection to the internet:"), page));
    lstRas = named(new QListWidget(page), QStringLiteral("lstRas"));
    lstRas->setMaximumWidth(360);
    layout->addWidget(lstRas);
    layout->addWidget(new QLabel(tr("Select 'none' if you do not dial in to the internet."), page));
    layout->addStretch();
    connect(lstRas, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_ras = row;
    });
    return page;
}

QWidget *TfrmGeneral::makeAutomaticTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(wrapped(tr("Tarnwick can run unattended and may delete e-mail without confirmation."), page));
    rbManual = named(new QRadioButton(tr("Check e-mail manually"), page), QStringLiteral("rbManual"));
    rbAuto = named(new QRadioButton(tr("Check e-mail unattended or automatically"), page),
                   QStringLiteral("rbAuto"));
    layout->addWidget(rbManual);
    layout->addWidget(rbAuto);

    m_modePanels = new QStackedWidget(page);

    // Manual mode.
    auto *manual = new QGroupBox(page);
    auto *ml = new QVBoxLayout(manual);
    ml->addWidget(wrapped(tr("These options only apply if checking e-mail manually.  "
                                         "They do not apply when e-mail is checked automatically."),
                          manual));
    cbConfirmation = named(new QCheckBox(tr("When deleting messages interactively, ask for confirmation"), manual),
                           QStringLiteral("cbConfirmation"));
    cbLaunch = named(new QCheckBox(tr("After deleting spam, launch e-mail program if there is e-mail to read"), manual),
                     QStringLiteral("cbLaunch"));
    cbExit = named(new QCheckBox(tr("If no mail is on the server, exit after checking e-mail"), manual),
                   QStringLiteral("cbExit"));
    ml->addWidget(cbConfirmation);
    ml->addWidget(cbLaunch);
    ml->addWidget(cbExit);
    ml->addStretch();

    // Automatic mode.
    auto *automatic = new QGroupBox(page);
    auto *al = new QVBoxLayout(automatic);
    auto *every = new QHBoxLayout();
    every->addWidget(new QLabel(tr("Check for mail every "), automatic));
    nMinutes = named(new QSpinBox(automatic), QStringLiteral("nMinutes"));
    // At least a minute: the countdown runs on a one-minute tick.
    nMinutes->setRange(1, 9999);
    every->addWidget(nMinutes);
    every->addWidget(new QLabel(QStringLiteral("minutes"), automatic));
    every->addStretch();
    al->addLayout(every);
    cbKill = named(new QCheckBox(tr("Delete spam automatically from all mailboxes - no confirmation?"), automatic),
                   QStringLiteral("cbKill"));
    al->addWidget(cbKill);

    auto *sound = new QGroupBox(automatic);
    m_soundGroup = sound;
    QSizePolicy keep = sound->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    sound->setSizePolicy(keep);
    auto *sl = new QGridLayout(sound);
    cbAlarm = named(new QCheckBox(tr("&Play this sound file if there is e-mail on the server"), sound),
                    QStringLiteral("cbAlarm"));
    sl->addWidget(cbAlarm, 0, 0, 1, 3);
    edAlarm = named(new QLineEdit(sound), QStringLiteral("edAlarm"));
    sl->addWidget(edAlarm, 1, 0, 1, 2);
    auto *browse = named(new QPushButton(tr("Browse..."), sound), QStringLiteral("btBrowseAlarm"));
    sl->addWidget(browse, 1, 2);
    cbRepeat = named(new QCheckBox(tr("Repeat the alarm until keypress or mouse click?"), sound),
                     QStringLiteral("cbRepeat"));
    sl->addWidget(cbRepeat, 2, 0, 1, 2);
    btTest = named(new QPushButton(kTestCaption(), sound), QStringLiteral("btTest"));
    sl->addWidget(btTest, 2, 2);
    sl->setColumnStretch(1, 1);
    al->addWidget(sound);
    al->addStretch();

    m_modePanels->addWidget(manual);
    m_modePanels->addWidget(automatic);
    layout->addWidget(m_modePanels);
    layout->addStretch();

    connect(rbManual, &QRadioButton::toggled, this, &TfrmGeneral::updatePanels);
    connect(rbAuto, &QRadioButton::toggled, this, &TfrmGeneral::updatePanels);
    connect(cbKill, &QCheckBox::toggled, this, &TfrmGeneral::updatePanels);
    connect(browse, &QPushButton::clicked, this, &TfrmGeneral::browseAlarm);
    connect(btTest, &QPushButton::clicked, this, &TfrmGeneral::btTestClick);
    return page;
}

QWidget *TfrmGeneral::makeStartUpTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    cbSysTray = named(new QCheckBox(tr("Start Tarnwick up in the system tray?"), page), QStringLiteral("cbSysTray"));
    layout->addWidget(cbSysTray);
    layout->addWidget(wrapped(tr("When this is ticked, Tarnwick shows an icon in the notification "
                                             "area from now on, \"Goodbye\" hides the main screen to it, and "
                                             "the main screen stays hidden when Tarnwick starts."),
                              page));
    layout->addWidget(wrapped(tr("Use it when Tarnwick checks your e-mail in the background."), page));
    m_noTrayNote = wrapped(tr("This desktop has no notification area, so Tarnwick keeps its main "
                                          "screen: hidden, it could not be brought back or ended."),
                           page);
    m_noTrayNote->setObjectName(QStringLiteral("lblNoTray"));
    layout->addWidget(m_noTrayNote);
    layout->addSpacing(12);
    cbAutostart = named(new QCheckBox(tr("Start Tarnwick when I log in to the desktop"), page),
                        QStringLiteral("cbAutostart"));
    layout->addWidget(cbAutostart);
    cbNotify = named(new QCheckBox(tr("Notify me on the desktop about automatic checks"), page),
                     QStringLiteral("cbNotify"));
    cbNotify->setToolTip(tr("Spam the automatic check deleted, and a mailbox it could not check "
                            "(told once, until the mailbox works again)."));
    layout->addWidget(cbNotify);
    layout->addStretch();
    return page;
}

QWidget *TfrmGeneral::makeLogTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Store results in activity log file:"), page));
    auto *file = new QHBoxLayout();
    edLog = named(new QLineEdit(page), QStringLiteral("edLog"));
    file->addWidget(edLog);
    auto *browse = named(new QPushButton(tr("Browse..."), page), QStringLiteral("btBrowseLog"));
    file->addWidget(browse);
    layout->addLayout(file);

    auto *naming = new QButtonGroup(page);
    rbAsIs = named(new QRadioButton(tr("&Use the name of the log file AS IS (no changes)?"), page),
                   QStringLiteral("rbAsIs"));
    // The examples are this year's names, as the program will pick them.
    const auto example = [](LogNaming naming, int month) {
        const QDate day(QDate::currentDate().year(), month, 1);
        return QFileInfo(LogFileName(QStringLiteral("/x"), naming, day, QString())).fileName();
    };
    rbMonth = named(new QRadioButton(tr("Automatically pick a new name every &month? (i.e. %1, %2, ...)")
                                         .arg(example(LogNaming::Month, 1), example(LogNaming::Month, 2)),
                                     page),
                    QStringLiteral("rbMonth"));
    rbQuarter = named(new QRadioButton(tr("Automatically pick a new name every &quarter? (%1, %2, ...)")
                                           .arg(example(LogNaming::Quarter, 1), example(LogNaming::Quarter, 4)),
                                       page),
                      QStringLiteral("rbQuarter"));
    for (QRadioButton *rb : {rbAsIs, rbMonth, rbQuarter}) {
        naming->addButton(rb);
        layout->addWidget(rb);
    }

    auto *count = new QHBoxLayout();
    lblCount = named(new QLabel(QStringLiteral("0"), page), QStringLiteral("lblCount"));
    QFont bold = lblCount->font();
    bold.setBold(true);
    lblCount->setFont(bold);
    count->addWidget(lblCount);
    count->addWidget(new QLabel(tr("Spams have been deleted up till now"), page));
    count->addStretch();
    layout->addLayout(count);

    auto *buttons = new QHBoxLayout();
    btViewLog = named(new QPushButton(tr("&View log file"), page), QStringLiteral("btViewLog"));
    btClearLog = named(new QPushButton(tr("&Clear log file"), page), QStringLiteral("btClearLog"));
    btResetCounter = named(new QPushButton(tr("&Reset counter"), page), QStringLiteral("btResetCounter"));
    btStatistics = named(new QPushButton(tr("View &Statistics"), page), QStringLiteral("btStatistics"));
    for (QPushButton *b : {btViewLog, btClearLog, btResetCounter, btStatistics})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();

    connect(browse, &QPushButton::clicked, this, &TfrmGeneral::browseLog);
    connect(btViewLog, &QPushButton::clicked, this, &TfrmGeneral::btViewLogClick);
    connect(btClearLog, &QPushButton::clicked, this, &TfrmGeneral::btClearLogClick);
    connect(btResetCounter, &QPushButton::clicked, this, &TfrmGeneral::btResetCounterClick);
    connect(btStatistics, &QPushButton::clicked, this, [this] {
        if (m_statistics)
            m_statistics();
    });
    return page;
}

QWidget *TfrmGeneral::makeMailProgramTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Mail program path/name:"), page));
    auto *file = new QHBoxLayout();
    edMail = named(new QLineEdit(page), QStringLiteral("edMail"));
    file->addWidget(edMail);
    auto *browse = named(new QPushButton(tr("Browse..."), page), QStringLiteral("btBrowseMail"));
    file->addWidget(browse);
    layout->addLayout(file);
    btLaunch = named(new QPushButton(tr("Launch mail program"), page), QStringLiteral("btLaunch"));
    layout->addWidget(btLaunch, 0, Qt::AlignLeft);
    layout->addWidget(wrapped(tr("Tarnwick does not support AOL or Compuserve mail.  Sorry."), page));
    layout->addStretch();
    connect(browse, &QPushButton::clicked, this, &TfrmGeneral::browseMail);
    connect(btLaunch, &QPushButton::clicked, this, [this] {
        if (m_launch)
            m_launch();
    });
    return page;
}

// ---- filling and reading the controls ----

void TfrmGeneral::fillFromSettings(const GeneralSettings &g)
{
    edLog->setText(g.logFile);
    edMail->setText(g.mailer);
    edAlarm->setText(g.alarmFile);
    (g.automatic ? rbAuto : rbManual)->setChecked(true);
    cbConfirmation->setChecked(g.ask);
    cbKill->setChecked(g.kill);
    nMinutes->setValue(g.minutes);
    cbLaunch->setChecked(g.launch);
    cbExit->setChecked(g.exitAfterCheck);
    cbAlarm->setChecked(g.alarm);
    cbRepeat->setChecked(g.repeat);
    showRas(g.ras);
    lblCount->setText(QString::number(g.count));
    m_countReset = false;
    cbSysTray->setChecked(g.sysTray);
    cbNotify->setChecked(g.notify);
    switch (g.logNaming) {
    case LogNaming::AsIs: rbAsIs->setChecked(true); break;
    case LogNaming::Month: rbMonth->setChecked(true); break;
    case LogNaming::Quarter: rbQuarter->setChecked(true); break;
    }
    updatePanels();
}

GeneralSettings TfrmGeneral::generalFromControls() const
{
    GeneralSettings g;
    g.logFile = edLog->text();
    g.mailer = edMail->text();
    g.alarmFile = edAlarm->text();
    g.automatic = rbAuto->isChecked();
    g.ask = cbConfirmation->isChecked();
    g.kill = cbKill->isChecked();
    g.minutes = nMinutes->value();
    g.launch = cbLaunch->isChecked();
    g.exitAfterCheck = cbExit->isChecked();
    g.alarm = cbAlarm->isChecked();
    g.repeat = cbRepeat->isChecked();
    g.ras = m_ras;
    // The count as shown; the guard keeps what deletions add while the dialog is open.
    g.count = m_countReset ? 0 : m_edit.general.count;
    g.sysTray = cbSysTray->isChecked();
    g.notify = cbNotify->isChecked();
    g.logNaming = rbMonth->isChecked()     ? LogNaming::Month
                  : rbQuarter->isChecked() ? LogNaming::Quarter
                                           : LogNaming::AsIs;
    return g;
}

void TfrmGeneral::updatePanels()
{
    m_modePanels->setCurrentIndex(rbAuto->isChecked() ? 1 : 0);
    m_soundGroup->setVisible(!cbKill->isChecked());
}

// ---- showing ----

void TfrmGeneral::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmGeneral::FormShow()
{
    // From the copies: edits of an earlier cancelled showing are gone. A fresh installation
    // takes its first mailbox over from another mail program, once.
    TSettingsEdit shown = m_edit;
    m_firstRun.TakeOverMailbox(shown.servers.slot(1), m_importMailbox);
    FillGeneralDefaults(shown.general, m_findMailProgram, QDate::currentDate());
    fillFromSettings(shown.general);
    fillServers(shown.servers);
    if (!m_passwordWarningShown) {
        // Said once a run: which stored passwords could not be read back.
        QStringList warnings;
        readServerSettings(m_store, &warnings);
        m_passwordWarningShown = !warnings.isEmpty();
        if (m_passwordWarningShown)
            m_prompts.InfoBox(warnings.join(u'\n'));
    }

    m_killAtShow = cbKill->isChecked();
    // The entry on disk is the setting, so a change made elsewhere shows here.
    cbAutostart->setChecked(IsAutostartEnabled());
    m_noTrayNote->setVisible(!TTrayIcon::IsAvailable());
    updatePanels();

    // Until a user name is there (taken over, or typed in and stored), the first-run header
    // rule waits for a later showing.
    QString error;
    if (m_firstRun.AddHeaderRule(shown.servers.slot(1).mailbox, m_spam, &error) == TFirstRun::Rule::Failed)
        m_prompts.ErrorBox(error);
    btTest->setText(kTestCaption());
}

void TfrmGeneral::hideEvent(QHideEvent *event)
{
    // A test sound must not outlive the dialog that started it.
    if (btTest->text() == kStopCaption() && m_alarm)
        m_alarm->Stop();
    btTest->setText(kTestCaption());
    QDialog::hideEvent(event);
}

// ---- OK and Cancel ----

void TfrmGeneral::btOKClick()
{
    const GeneralSettings g = generalFromControls();
    ServerSettings s = serversFromControls();

    // A fingerprint that is not one would silently trust nothing; say so before storing.
    for (int i = 0; i < kMailboxSlots; ++i) {
        MailboxSlot &slot = s.slot(i + 1);
        if (slot.fingerprint.isEmpty())
            continue;
        const QString normal = NormalizeFingerprint(slot.fingerprint);
        if (normal.isEmpty()) {
            showMailboxProblem(i + 1, edFingerprint[i],
                               tr("Mailbox %1 - the trusted certificate must be a SHA-256 "
                                              "fingerprint: 64 hexadecimal digits, colons allowed")
                                   .arg(i + 1));
            return;
        }
        slot.fingerprint = normal;
    }

    if (g.kill && !m_killAtShow && g.automatic)
        m_prompts.InfoBox(tr("Just a warning that you selected to automatically delete marked "
                                         "messages without confirmation.  It is possible to OVER delete by "
                                         "using this setting."));
    // Said once: pressing OK again after fixing a mailbox does not repeat it.
    m_killAtShow = g.kill;

    // The user saves on purpose, so a damaged settings file may now be set aside.
    if (m_store.isDamaged() && !m_store.replaceDamagedFile()) {
        m_prompts.ErrorBox(m_store.lastError());
        return;
    }
    if (!SaveGeneralSettings(m_store, g)) {
        m_prompts.ErrorBox(m_store.lastError());
        return;
    }
    // Stored, so handed back even if a mailbox below is refused and the dialog cancelled.
    m_edit.general = g;
    m_edit.countReset = m_edit.countReset || m_countReset;
    m_countReset = false;
    m_stored = true;

    // Plain POP3 newly chosen for a server elsewhere: said once, when the choice is stored.
    QStringList plainNotices;
    for (int n = 1; n <= kMailboxSlots; ++n)
        if (const QString notice = PlainPasswordNotice(m_edit.servers.slot(n), s.slot(n), n); !notice.isEmpty())
            plainNotices << notice;
    // Where new passwords go is settled before anything is written, the user asked if need be.
    const QSet<int> unstored = PlaceNewSecrets(s, m_edit.servers, m_prompts);
    const ServerSaveResult result = saveServerSettings(m_store, s, unstored);
    if (result.problem) {
        const int i = result.problem->slot - 1;
        // The slots before the refused one are stored all the same.
        m_edit.servers.which = s.which;
        for (int n = 1; n <= i; ++n)
            m_edit.servers.slot(n) = s.slot(n);
        QWidget *box = result.problem->field == SlotField::Server    ? edServe[i]
                       : result.problem->field == SlotField::Mailbox ? edName[i]
                                                                     : edPass[i];
        showMailboxProblem(result.problem->slot, box, result.problem->message);
        return;
    }
    if (!result.error.isEmpty()) {
        m_prompts.ErrorBox(result.error);
        return;
    }
    m_edit.servers = s;
    fillServers(s); // fingerprints in their shown form
    if (!plainNotices.isEmpty())
        m_prompts.InfoBox(plainNotices.join(u'\n'));
    if (cbAutostart->isChecked() != IsAutostartEnabled()) {
        QString error;
        if (!SetAutostart(cbAutostart->isChecked(), QCoreApplication::applicationFilePath(), &error)) {
            m_prompts.ErrorBox(error);
            return;
        }
    }
    accept();
}

void TfrmGeneral::btCancelClick()
{
    fillFromSettings(m_edit.general);
    fillServers(m_edit.servers);
    QDialog::reject();
}

void TfrmGeneral::reject()
{
    btCancelClick();
}

void TfrmGeneral::SetStatistics(std::function<void()> statistics)
{
    m_statistics = std::move(statistics);
    btStatistics->setEnabled(bool(m_statistics));
}

void TfrmGeneral::SetPhoneBook(const QStringList &entries)
{
    m_phoneBook = entries;
    lstRas->clear();
    lstRas->addItem(tr("None"));
    lstRas->addItems(entries);
    showRas(m_edit.general.ras);
}

void TfrmGeneral::showRas(int stored)
{
    m_ras = stored >= 0 && stored < lstRas->count() ? stored : 0;
    lstRas->setCurrentRow(m_ras);
}

// ---- the buttons on the tabs ----

void TfrmGeneral::btTestClick()
{
    if (btTest->text() == kTestCaption()) {
        if (cbRepeat->isChecked())
            btTest->setText(kStopCaption());
        // The player beeps for a file it cannot play, so the test always gives an answer.
        if (m_alarm)
            m_alarm->Play(edAlarm->text(), cbRepeat->isChecked());
    } else {
        btTest->setText(kTestCaption());
        if (m_alarm)
            m_alarm->Stop();
    }
}

void TfrmGeneral::btViewLogClick()
{
    ViewLog(edLog->text());
}

void TfrmGeneral::ViewLog(const QString &name)
{
    if (name.isEmpty() || !QFileInfo(name).isFile()
        || !QDesktopServices::openUrl(QUrl::fromLocalFile(name)))
        m_prompts.ErrorBox(tr("Unable to open log file. "));
}

void TfrmGeneral::btClearLogClick()
{
    if (!m_prompts.AskYesNo(tr("If you answer Yes, you will lose any statistics related to "
                                           "this log file. Really clear out log file?")))
        return;
    QFile file(edLog->text());
    if (file.exists() && !file.remove())
        m_prompts.ErrorBox(tr("Unable to clear log file. %1").arg(file.errorString()));
}

void TfrmGeneral::btResetCounterClick()
{
    if (!m_prompts.AskYesNo(tr("Really reset spam counter?")))
        return;
    lblCount->setText(QStringLiteral("0"));
    m_countReset = true;
}

void TfrmGeneral::browseAlarm()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("Sound files"), edAlarm->text(),
                                                      tr("Sound files (*.wav);;All files (*)"));
    if (!file.isEmpty())
        edAlarm->setText(file);
}

void TfrmGeneral::browseLog()
{
    QFileDialog dialog(this, tr("Browse for log file"), edLog->text(),
                       tr("Text files (*.txt);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        edLog->setText(dialog.selectedFiles().constFirst());
}

void TfrmGeneral::browseMail()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("Find mail program"), edMail->text(),
                                                      tr("All files (*)"));
    if (!file.isEmpty())
        edMail->setText(file);
}

// ---- the assistant ----
