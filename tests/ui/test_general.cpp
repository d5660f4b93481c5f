// The general settings dialog: what OK stores, what it refuses, what Cancel brings back, the
// warnings, and what a fresh installation takes over.

#include "alarm.h"
#include "files.h"
#include "general.h"
#include "logformat.h"
#include "rulewords.h"
#include "spamsettings.h"
#include "temp_home.h"
#include "ui_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kFingerprint = QStringLiteral(
    "AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89");
const QString kWarning = QStringLiteral(
    "Just a warning that you selected to automatically delete marked messages without confirmation.  "
    "It is possible to OVER delete by using this setting.");
const QString kRestart = QStringLiteral("Exit and restart for the Start Up changes to take effect.");

class GeneralDialog : public ::testing::Test
{
protected:
    // Stores what a test starts from, then builds the dialog over the live settings as the
    // program does at start.
    void Open(const GeneralSettings &g = {}, const ServerSettings &s = {})
    {
        {
            UserSettings store;
            ASSERT_TRUE(SaveGeneralSettings(store, g));
            ASSERT_TRUE(saveServerSettings(store, s).ok());
        }
        store = std::make_unique<UserSettings>();
        general = ReadGeneralSettings(*store);
        servers = readServerSettings(*store);
        spam = std::make_unique<TSpamSettings>();
        spam->readSettings();
        dialog = std::make_unique<TfrmGeneral>(*store, general, servers, *spam, prompts);
        dialog->SetMailProgramFinder([this] {
            ++finderCalls;
            return QStringLiteral("/usr/bin/thunderbird");
        });
        dialog->SetMailboxImporter([this]() -> std::optional<ImportedMailbox> {
            ++importCalls;
            return imported;
        });
        dialog->SetAlarm(&alarm);
        alarm.SetAudioCheck([] { return false; });
        alarm.SetBeeper([this] { ++beeps; });
    }

    static GeneralSettings Stored() { return ReadGeneralSettings(UserSettings()); }
    static ServerSettings StoredServers() { return readServerSettings(UserSettings()); }

    static MailboxSlot Complete(const QString &server, const QString &user)
    {
        return {server, user, QStringLiteral("pw-") + user, TlsMode::None, QString()};
    }

    TempHome home;
    std::unique_ptr<UserSettings> store;
    GeneralSettings general;
    ServerSettings servers;
    std::unique_ptr<TSpamSettings> spam;
    TTestPrompts prompts;
    TAlarmSound alarm;
    std::unique_ptr<TfrmGeneral> dialog;
    std::optional<ImportedMailbox> imported;
    int finderCalls = 0;
    int importCalls = 0;
    int beeps = 0;
};

TEST_F(GeneralDialog, OkStoresEveryTabAndMakesItLive)
{
    Open();
    dialog->show();
    TfrmGeneral &d = *dialog;
    d.edServe[1]->setText("pop.example.org:1995");
    d.edName[1]->setText("alice");
    d.edPass[1]->setText("s3cret word");
    d.cbTls[1]->setCurrentIndex(1);
    d.edFingerprint[1]->setText(kFingerprint);
    EXPECT_TRUE(d.cbPipelining[1]->isChecked()) << "pipelining is on unless switched off";
    d.cbPipelining[1]->setChecked(false);
    d.rbMailbox[1]->setChecked(true);
    const QString folder = qEnvironmentVariable("TARNWICK_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        d.PageControl1->setCurrentIndex(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        EXPECT_TRUE(d.grab().save(folder + QStringLiteral("/general_mailboxes.png")));
    }
    d.rbAuto->setChecked(true);
    d.nMinutes->setValue(25);
    d.cbKill->setChecked(true);
    d.cbSysTray->setChecked(true);
    d.edLog->setText(home.file("mine.txt"));
    d.rbQuarter->setChecked(true);
    d.rbAsIs->setChecked(true);
    d.edMail->setText("claws-mail");
    d.edAlarm->setText("/sounds/bell.wav");
    d.cbAlarm->setChecked(false);
    d.cbRepeat->setChecked(false);
    d.cbConfirmation->setChecked(false);
    d.cbLaunch->setChecked(false);
    d.cbExit->setChecked(true);
    d.btOK->click();

    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.infos, (QStringList{kWarning, kRestart}));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();

    GeneralSettings expected;
    expected.logFile = home.file("mine.txt");
    expected.mailer = "claws-mail";
    expected.alarmFile = "/sounds/bell.wav";
    expected.automatic = true;
    expected.ask = false;
    expected.kill = true;
    expected.minutes = 25;
    expected.launch = false;
    expected.exitAfterCheck = true;
    expected.alarm = false;
    expected.repeat = false;
    expected.sysTray = true;
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(general, expected);

    const MailboxSlot slot2{"pop.example.org:1995", "alice", "s3cret word", TlsMode::Implicit,
                            QString(kFingerprint).remove(':').toLower(), false};
    const ServerSettings stored = StoredServers();
    EXPECT_EQ(stored.which, 2);
    EXPECT_EQ(stored.slot(2), slot2);
    EXPECT_EQ(servers.slot(2), slot2);
    EXPECT_EQ(servers.which, 2);
}

TEST_F(GeneralDialog, RefusesAnIncompleteMailboxAtItsBox)
{
    struct Case
    {
        int slot;
        const char *server;
        const char *user;
        const char *password;
        const char *fingerprint;
        const char *message;
        const char *focus;
    };
    const Case cases[] = {
        {4, "pop.four.example", "", "", "", "Mailbox 4 has a server pop.four.example but no mailbox", "edName4"},
        {7, "", "bob", "", "", "Mailbox 7 bob has a blank server", "edServe7"},
        {2, "pop.two.example", "carol", "", "", "Mailbox 2 - there is no password set", "edPass2"},
        {5, "pop.five.example", "dave", "pw", "12:34:zz",
         "Mailbox 5 - the trusted certificate must be a SHA-256 fingerprint: 64 hexadecimal digits, colons allowed",
         "edFingerprint5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        ServerSettings before;
        before.slot(9) = Complete("keep.example", "keeper");
        Open({}, before);
        prompts.errors.clear();
        dialog->show();
        const int i = c.slot - 1;
        dialog->edServe[i]->setText(c.server);
        dialog->edName[i]->setText(c.user);
        dialog->edPass[i]->setText(c.password);
        dialog->edFingerprint[i]->setText(c.fingerprint);
        dialog->edServe[8]->setText("changed.example");
        dialog->PageControl1->setCurrentIndex(3);
        dialog->btOK->click();

        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(prompts.errors, QStringList{c.message});
        EXPECT_EQ(dialog->PageControl1->currentIndex(), 0);
        ASSERT_NE(dialog->focusWidget(), nullptr);
        EXPECT_EQ(dialog->focusWidget()->objectName(), c.focus);
        // Nothing from the faulty slot on reached the file or the live settings.
        EXPECT_EQ(StoredServers().slot(9), before.slot(9));
        EXPECT_EQ(StoredServers().slot(c.slot), MailboxSlot());
        EXPECT_EQ(servers.slot(9), before.slot(9));
        dialog->hide();
    }
}

TEST_F(GeneralDialog, CancelBringsTheStoredValuesBack)
{
    GeneralSettings g;
    g.minutes = 15;
    g.mailer = "evolution";
    ServerSettings s;
    s.slot(1) = Complete("pop.one.example", "one");
    Open(g, s);
    dialog->show();
    dialog->nMinutes->setValue(40);
    dialog->edMail->setText("other");
    dialog->edServe[0]->setText("elsewhere.example");
    dialog->cbTls[0]->setCurrentIndex(2);
    // Something live that only OK would have stored.
    general.minutes = 99;
    dialog->btCancel->click();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(general.minutes, 15);
    EXPECT_EQ(general.mailer, "evolution");
    EXPECT_EQ(servers.slot(1), s.slot(1));
    EXPECT_EQ(Stored().minutes, 15);

    dialog->show();
    EXPECT_EQ(dialog->nMinutes->value(), 15);
    EXPECT_EQ(dialog->edMail->text(), "evolution");
    EXPECT_EQ(dialog->edServe[0]->text(), "pop.one.example");
    EXPECT_EQ(dialog->cbTls[0]->currentIndex(), 0);
    EXPECT_TRUE(prompts.infos.isEmpty());
}

TEST_F(GeneralDialog, WarnsOnlyAboutWhatChangedSinceShowing)
{
    struct Case
    {
        const char *name;
        bool killBefore, trayBefore;
        std::function<void(TfrmGeneral &)> edit;
        QStringList infos;
    };
    const Case cases[] = {
        {"automatic delete newly ticked in automatic mode", false, false,
         [](TfrmGeneral &d) { d.rbAuto->setChecked(true); d.cbKill->setChecked(true); }, {kWarning}},
        {"automatic delete ticked in manual mode", false, false,
         [](TfrmGeneral &d) { d.rbManual->setChecked(true); d.cbKill->setChecked(true); }, {}},
        {"automatic delete already on", true, false,
         [](TfrmGeneral &d) { d.rbAuto->setChecked(true); }, {}},
        {"tray box ticked and unticked again", false, false,
         [](TfrmGeneral &d) { d.cbSysTray->setChecked(true); d.cbSysTray->setChecked(false); }, {}},
        {"tray box unticked", false, true, [](TfrmGeneral &d) { d.cbSysTray->setChecked(false); }, {kRestart}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        GeneralSettings g;
        g.kill = c.killBefore;
        g.sysTray = c.trayBefore;
        Open(g);
        prompts.infos.clear();
        dialog->show();
        c.edit(*dialog);
        dialog->btOK->click();
        EXPECT_EQ(prompts.infos, c.infos);
        EXPECT_FALSE(dialog->isVisible());
    }
}

TEST_F(GeneralDialog, FreshInstallationTakesOverTheFirstMailboxAndAddsTheHeaderRuleOnce)
{
    imported = ImportedMailbox{"pop.tb.example", "carol", TlsMode::StartTls};
    Open();
    dialog->show();
    EXPECT_EQ(importCalls, 1);
    EXPECT_EQ(dialog->edServe[0]->text(), "pop.tb.example");
    EXPECT_EQ(dialog->edName[0]->text(), "carol");
    EXPECT_EQ(dialog->cbTls[0]->currentIndex(), 2);
    EXPECT_EQ(dialog->edMail->text(), "/usr/bin/thunderbird");
    EXPECT_EQ(dialog->edAlarm->text(), DataFile("harptune.wav"));
    EXPECT_EQ(dialog->edLog->text(), DefaultLogFileName());

    const auto firstRunRules = [this] {
        int n = 0;
        for (int row = 1; row < spam->gridHeader.RowCount(); ++row)
            n += spam->gridHeader.Cells(2, row) == QStringLiteral("carol - MailBox #1");
        return n;
    };
    const RuleTable &grid = spam->gridHeader;
    EXPECT_EQ(grid.Cells(1, 1), RuleWords::ToDoesNotContain);
    EXPECT_EQ(grid.Cells(2, 1), "carol - MailBox #1");
    EXPECT_EQ(grid.Cells(4, 1), RuleWords::No);
    EXPECT_EQ(grid.Picture(1), QuestionMark);
    EXPECT_TRUE(QFile::exists(DataFile(TSpamSettings::ListFileName(RuleTable::Kind::Header))));

    dialog->hide();
    dialog->show();
    EXPECT_EQ(firstRunRules(), 1);
    EXPECT_EQ(importCalls, 1);
}

TEST_F(GeneralDialog, FirstRunRuleWaitsForAUserName)
{
    Open(); // nothing to take over
    dialog->show();
    EXPECT_EQ(importCalls, 1);
    EXPECT_TRUE(spam->gridHeader.IsEmptyList());
    dialog->edServe[0]->setText("pop.example");
    dialog->edName[0]->setText("erin");
    dialog->edPass[0]->setText("pw");
    dialog->btOK->click();
    ASSERT_FALSE(dialog->isVisible());
    dialog->show();
    EXPECT_EQ(spam->gridHeader.Cells(2, 1), "erin - MailBox #1");
}

TEST_F(GeneralDialog, ConfiguredInstallationImportsNothing)
{
    ServerSettings s;
    s.slot(1) = Complete("pop.one.example", "one");
    GeneralSettings g;
    g.mailer = "mutt";
    g.alarmFile = "/a.wav";
    g.logFile = "/l.txt";
    Open(g, s);
    dialog->show();
    EXPECT_EQ(importCalls, 0);
    EXPECT_EQ(finderCalls, 0);
    EXPECT_EQ(dialog->edMail->text(), "mutt");
    EXPECT_TRUE(spam->gridHeader.IsEmptyList());
}

TEST_F(GeneralDialog, MailboxChoiceSelectsItsSlotAndOkStoresIt)
{
    ServerSettings s;
    s.slot(1) = Complete("pop.one.example", "one");
    s.slot(3) = Complete("pop.three.example", "three");
    Open({}, s);
    dialog->synchronizeIwhich(3);
    dialog->show();
    EXPECT_TRUE(dialog->rbMailbox[2]->isChecked());
    EXPECT_FALSE(dialog->rbMailbox[0]->isChecked());
    dialog->btOK->click();
    EXPECT_EQ(StoredServers().which, 3);
}

TEST_F(GeneralDialog, PanelsFollowTheModeAndTheAutomaticDelete)
{
    Open();
    dialog->show();
    dialog->PageControl1->setCurrentIndex(2);
    dialog->rbManual->setChecked(true);
    EXPECT_TRUE(dialog->cbConfirmation->isVisible());
    EXPECT_FALSE(dialog->cbKill->isVisible());
    dialog->rbAuto->setChecked(true);
    EXPECT_TRUE(dialog->cbKill->isVisible());
    EXPECT_FALSE(dialog->cbConfirmation->isVisible());
    EXPECT_TRUE(dialog->edAlarm->isVisible());
    dialog->cbKill->setChecked(true);
    EXPECT_FALSE(dialog->edAlarm->isVisible());
}

TEST_F(GeneralDialog, ResetCounterAsksAndOkStoresZero)
{
    GeneralSettings g;
    g.count = 42;
    Open(g);
    dialog->show();
    EXPECT_EQ(dialog->lblCount->text(), "42");
    prompts.answers = {false};
    dialog->btResetCounter->click();
    EXPECT_EQ(dialog->lblCount->text(), "42");
    prompts.answers = {true};
    dialog->btResetCounter->click();
    EXPECT_EQ(dialog->lblCount->text(), "0");
    EXPECT_EQ(prompts.questions, QStringList(2, "Really reset spam counter?"));
    EXPECT_EQ(Stored().count, 42); // only OK stores it
    dialog->btOK->click();
    EXPECT_EQ(Stored().count, 0);
    EXPECT_EQ(general.count, 0);
}

TEST_F(GeneralDialog, ClearLogFileOnlyOnYes)
{
    GeneralSettings g;
    g.logFile = home.file("activity.txt");
    Open(g);
    home.write("activity.txt", "MAIL CHECK\n");
    dialog->show();
    prompts.answers = {false, true};
    dialog->btClearLog->click();
    EXPECT_TRUE(QFile::exists(g.logFile));
    dialog->btClearLog->click();
    EXPECT_FALSE(QFile::exists(g.logFile));
    EXPECT_EQ(prompts.questions.value(0),
              "If you answer Yes, you will lose any statistics related to this log file. Really clear out log file?");
    EXPECT_TRUE(prompts.errors.isEmpty());

    dialog->btViewLogClick(); // the file is gone now
    EXPECT_EQ(prompts.errors, QStringList{"Unable to open log file. "});
}

TEST_F(GeneralDialog, MonthlyLogNameIsTodays)
{
    GeneralSettings g;
    g.logFile = home.file("logs/logfile.txt");
    g.logNaming = LogNaming::Month;
    Open(g);
    dialog->show();
    EXPECT_EQ(dialog->edLog->text(), home.file("logs/") + MonthLogFile(QDate::currentDate()));
}

TEST_F(GeneralDialog, TestButtonPlaysAndStops)
{
    Open();
    dialog->show();
    dialog->edAlarm->setText(home.file("missing.wav"));
    dialog->cbRepeat->setChecked(false);
    dialog->btTest->click();
    EXPECT_EQ(dialog->btTest->text(), "Test");
    EXPECT_EQ(beeps, 1); // no sound to play: the beep answers
    dialog->cbRepeat->setChecked(true);
    dialog->btTest->click();
    EXPECT_EQ(dialog->btTest->text(), "Stop");
    dialog->btTest->click();
    EXPECT_EQ(dialog->btTest->text(), "Test");
    EXPECT_EQ(beeps, 2);
}

} // namespace

// The Start Up tab's autostart box writes and removes the session's autostart entry; the
// entry on disk decides what the box shows. Set TARNWICK_SCREENSHOTS to keep a picture.
TEST_F(GeneralDialog, AutostartBoxWritesAndRemovesTheSessionEntry)
{
    QTemporaryDir config;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString entry = config.filePath(QStringLiteral("autostart/tarnwick.desktop"));

    Open();
    dialog->show();
    EXPECT_FALSE(dialog->cbAutostart->isChecked());
    dialog->cbAutostart->setChecked(true);
    if (const QString folder = qEnvironmentVariable("TARNWICK_SCREENSHOTS"); !folder.isEmpty()) {
        auto *tabs = dialog->findChild<QTabWidget *>();
        tabs->setCurrentIndex(3); // "Start Up"
        QCoreApplication::processEvents();
        dialog->grab().save(folder + QStringLiteral("/general-startup.png"));
    }
    dialog->btOK->click();
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    ASSERT_TRUE(QFileInfo::exists(entry));
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nExec=" + QFile::encodeName(QCoreApplication::applicationFilePath()) + "\n"));
    file.close();

    // Shown again: ticked, because the entry is there; unticked and OK removes it.
    dialog->show();
    EXPECT_TRUE(dialog->cbAutostart->isChecked());
    dialog->cbAutostart->setChecked(false);
    dialog->btOK->click();
    EXPECT_FALSE(QFileInfo::exists(entry));

    // An entry that cannot be written: the dialog says so and stays open.
    {
        QFile blocker(config.filePath(QStringLiteral("autostart")));
        QDir(config.path()).rmdir(QStringLiteral("autostart"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    dialog->show();
    dialog->cbAutostart->setChecked(true);
    dialog->btOK->click();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.first().contains(config.filePath(QStringLiteral("autostart"))));

    if (hadConfig)
        qputenv("XDG_CONFIG_HOME", oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
