// The general settings dialog: what OK stores and hands back, what it refuses, what Cancel
// leaves, the warnings, and what a fresh installation takes over.

#include "alarm.h"
#include "files.h"
#include "general.h"
#include "logformat.h"
#include "spamsettings.h"
#include "ui_test.h"

namespace {

const QString kFingerprint = QStringLiteral(
    "AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89");
const QString kWarning = QStringLiteral(
    "Just a warning that you selected to automatically delete marked messages without confirmation.  "
    "It is possible to OVER delete by using this setting.");

class GeneralDialog : public ::testing::Test
{
protected:
    // Stores what a test starts from, then builds the dialog over copies of the settings read
    // back, as the program does at start.
    void Open(const GeneralSettings &g = {}, const ServerSettings &s = {})
    {
        {
            UserSettings store;
            ASSERT_TRUE(SaveGeneralSettings(store, g));
            ASSERT_TRUE(saveServerSettings(store, s).ok());
        }
        store = std::make_unique<UserSettings>();
        spam = std::make_unique<TSpamSettings>();
        spam->readSettings();
        dialog = std::make_unique<TfrmGeneral>(*store, TSettingsEdit{ReadGeneralSettings(*store), readServerSettings(*store)},
                                               *spam, prompts);
        dialog->SetMailProgramFinder([this] { return ++finderCalls, QStringLiteral("/usr/bin/thunderbird"); });
        dialog->SetMailboxImporter([this] { return ++importCalls, imported; });
        dialog->SetAlarm(&alarm);
        alarm.SetAudioCheck([] { return false; });
        alarm.SetBeeper([this] { ++beeps; });
    }

    static GeneralSettings Stored() { return ReadGeneralSettings(UserSettings()); }
    static ServerSettings StoredServers() { return readServerSettings(UserSettings()); }

    static MailboxSlot Complete(const QString &server, const QString &user) { return {server, user, "pw", TlsMode::None, {}}; }

    TempHome home;
    std::unique_ptr<UserSettings> store;
    std::unique_ptr<TSpamSettings> spam;
    TTestPrompts prompts;
    TAlarmSound alarm;
    std::unique_ptr<TfrmGeneral> dialog;
    std::optional<ImportedMailbox> imported;
    int finderCalls = 0, importCalls = 0, beeps = 0;
};

TEST_F(GeneralDialog, OkStoresEveryTabAndHandsItBack)
{
    ServerSettings servers;
    servers.slot(3) = Complete("mail.example.org:995", "bob");
    servers.slot(3).maxUnseen = 42; // not on the page: kept
    Open({}, servers);
    dialog->show();
    TfrmGeneral &d = *dialog;
    // Mailbox 3 switched to IMAP: its port follows, its folder and deletion action show.
    EXPECT_FALSE(d.edFolder[2]->isVisible() || d.cbDeletion[2]->isVisible());
    d.cbProtocol[2]->setCurrentIndex(1);
    emit d.cbProtocol[2]->activated(1);
    EXPECT_TRUE(d.edFolder[2]->isVisible() && d.cbDeletion[2]->isVisible() && !d.cbPipelining[2]->isVisible());
    d.edFolder[2]->setText(" Spam ");
    d.cbDeletion[2]->setCurrentIndex(1);
    for (const auto &[box, text] : {std::pair<QLineEdit *, QString>{d.edServe[1], "pop.example.org:1995"},
                                    {d.edName[1], "alice"}, {d.edPass[1], "s3cret word"}, {d.edFingerprint[1], kFingerprint}})
        box->setText(text);
    d.cbTls[1]->setCurrentIndex(1);
    EXPECT_TRUE(d.cbPipelining[1]->isChecked()) << "pipelining is on unless switched off";
    d.cbPipelining[1]->setChecked(false);
    d.rbMailbox[1]->setChecked(true);
    Keep(&d, "general_mailboxes");
    d.rbAuto->setChecked(true);
    d.nMinutes->setValue(25);
    d.cbKill->setChecked(true);
    d.cbSysTray->setChecked(true);
    d.edLog->setText(home.file("mine.txt"));
    d.rbQuarter->setChecked(true);
    d.rbAsIs->setChecked(true);
    d.edMail->setText("claws-mail");
    d.edAlarm->setText("/sounds/bell.wav");
    for (QCheckBox *off : {d.cbAlarm, d.cbRepeat, d.cbConfirmation, d.cbLaunch, d.cbNotify})
        off->setChecked(false);
    d.cbExit->setChecked(true);
    // No keyring answers in the tests: mailbox 2's new password goes to the file on the user's
    // word, mailbox 3's is not stored (and serves only this run).
    prompts.answers = {true, false};
    d.btOK->click();

    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.questions.size(), 2);
    // Tray mode takes effect at once: no restart to ask for.
    ASSERT_EQ(prompts.infos.size(), 2);
    EXPECT_EQ(prompts.infos[0], kWarning);
    EXPECT_TRUE(prompts.infos[1].startsWith("The password of mailbox 3 is not stored."));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    GeneralSettings expected;
    expected.logFile = home.file("mine.txt");
    expected.mailer = "claws-mail";
    expected.alarmFile = "/sounds/bell.wav";
    expected.automatic = expected.kill = expected.exitAfterCheck = expected.sysTray = true;
    expected.ask = expected.launch = expected.alarm = expected.repeat = expected.notify = false;
    expected.minutes = 25;
    EXPECT_EQ(Stored(), expected);
    ASSERT_TRUE(d.Stored());
    EXPECT_EQ(d.Stored()->general, expected);
    MailboxSlot slot2{"pop.example.org:1995", "alice", "s3cret word", TlsMode::Implicit,
                            QString(kFingerprint).remove(':').toLower(), false};
    slot2.secrets = SecretPlace::File;
    EXPECT_EQ(StoredServers().slot(2), slot2);
    MailboxSlot slot3 = servers.slot(3);
    slot3.server = "mail.example.org:993";
    slot3.protocol = MailProtocol::Imap;
    slot3.folder = "Spam";
    slot3.imapDelete = ImapDeletion::Trash;
    slot3.secrets = SecretPlace::Keyring;
    slot3.password.clear();
    EXPECT_EQ(StoredServers().slot(3), slot3);
    EXPECT_EQ(StoredServers().which, 2);
    ServerSettings handed = StoredServers();
    handed.slot(3).password = "pw";
    EXPECT_EQ(d.Stored()->servers, handed) << "handed back as stored, with the unstored password";
    EXPECT_FALSE(QFile::permissions(home.file("settings.ini")) & (QFile::ReadGroup | QFile::ReadOther));
    // Stored again unchanged: asked once was enough.
    d.show();
    d.btOK->click();
    EXPECT_EQ(prompts.questions.size(), 2);
}

TEST_F(GeneralDialog, RefusesAnIncompleteMailboxAtItsBox)
{
    const struct { int slot; const char *server, *user, *password, *fingerprint, *message, *focus; } cases[] = {
        {4, "pop.four.example", "", "", "", "Mailbox 4 has a server pop.four.example but no mailbox", "edName4"},
        {5, "pop.five.example", "dave", "pw", "12:34:zz", "Mailbox 5 - the trusted certificate must be a SHA-256 fingerprint: 64 hexadecimal digits, colons allowed", "edFingerprint5"},
    };
    for (const auto &c : cases) {
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
        EXPECT_EQ(dialog->focusWidget()->objectName(), c.focus);
        // Nothing from the faulty slot on reached the file or what is handed back.
        EXPECT_EQ(StoredServers().slot(9), before.slot(9));
        const TSettingsEdit *back = dialog->Stored(); // the general part is, in the first case
        EXPECT_TRUE(!back || back->servers.slot(9) == before.slot(9));
    }
}

TEST_F(GeneralDialog, WarnsOnlyAboutWhatChangedSinceShowing)
{
    const struct { const char *name; bool killBefore; std::function<void(TfrmGeneral &)> edit; QStringList infos; } cases[] = {
        {"automatic delete newly ticked in automatic mode", false, [](TfrmGeneral &d) { d.rbAuto->setChecked(true); d.cbKill->setChecked(true); }, {kWarning}},
        {"automatic delete ticked in manual mode", false, [](TfrmGeneral &d) { d.rbManual->setChecked(true); d.cbKill->setChecked(true); }, {}},
        {"automatic delete already on", true, [](TfrmGeneral &d) { d.rbAuto->setChecked(true); }, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        GeneralSettings g;
        g.kill = c.killBefore;
        Open(g);
        prompts.infos.clear();
        dialog->show();
        c.edit(*dialog);
        dialog->btOK->click();
        EXPECT_EQ(prompts.infos, c.infos);
    }
}

TEST_F(GeneralDialog, FreshInstallationTakesOverTheFirstMailboxAndAddsTheHeaderRuleOnce)
{
    imported = ImportedMailbox{"pop.tb.example", "carol", TlsMode::StartTls};
    Open();
    dialog->show();
    EXPECT_EQ(dialog->edServe[0]->text(), "pop.tb.example");
    EXPECT_EQ(dialog->edName[0]->text(), "carol");
    EXPECT_EQ(dialog->cbTls[0]->currentIndex(), 2);
    EXPECT_EQ(dialog->edMail->text(), "/usr/bin/thunderbird");
    EXPECT_EQ(dialog->edAlarm->text(), DataFile("harptune.wav"));
    EXPECT_EQ(dialog->edLog->text(), DefaultLogFileName());
    // The rule itself, stored and added once, is the rule layer's evidence.
    EXPECT_EQ(spam->gridHeader.Cells(2, 1), "carol - MailBox #1");
    dialog->hide();
    dialog->show();
    EXPECT_EQ(importCalls, 1);
}

// When the first-run rule is added (once a user name is there) is the first-run rules'
// evidence (Guard.FirstRunKeepsWhatWasTypedAndAddsTheRuleOnce).
TEST_F(GeneralDialog, AConfiguredInstallationImportsNothing)
{
    GeneralSettings g;
    g.mailer = "mutt";
    ServerSettings s;
    s.slot(1) = Complete("pop.example", "erin");
    Open(g, s);
    dialog->show();
    EXPECT_EQ(importCalls + finderCalls, 0) << "a configured installation imports nothing";
}

// The mailbox choice and the panels follow the choices; Cancel stores and hands back nothing,
// and the next showing is the settings as given; OK stores the choice.
TEST_F(GeneralDialog, ChoicesFollowAndCancelLeavesTheSettingsAsGiven)
{
    ServerSettings s;
    s.slot(1) = Complete("pop.one.example", "one");
    s.slot(3) = Complete("pop.three.example", "three");
    s.which = 3;
    Open({}, s);
    dialog->show();
    EXPECT_TRUE(dialog->rbMailbox[2]->isChecked());
    dialog->PageControl1->setCurrentIndex(2);
    dialog->rbManual->setChecked(true);
    EXPECT_TRUE(dialog->cbConfirmation->isVisible());
    EXPECT_FALSE(dialog->cbKill->isVisible());
    dialog->rbAuto->setChecked(true);
    EXPECT_FALSE(dialog->cbConfirmation->isVisible());
    dialog->cbKill->setChecked(true);
    EXPECT_FALSE(dialog->edAlarm->isVisible());
    dialog->nMinutes->setValue(40);
    dialog->edServe[0]->setText("elsewhere.example");
    dialog->rbMailbox[0]->setChecked(true);
    dialog->btCancel->click();
    EXPECT_EQ(dialog->Stored(), nullptr);
    EXPECT_EQ(StoredServers().slot(1), s.slot(1));
    dialog->show();
    EXPECT_EQ(dialog->edServe[0]->text(), "pop.one.example");
    EXPECT_TRUE(dialog->rbManual->isChecked());
    EXPECT_TRUE(dialog->rbMailbox[2]->isChecked());
    dialog->btOK->click();
    EXPECT_EQ(StoredServers().which, 3);
    EXPECT_EQ(StoredServers().slot(1), s.slot(1)) << "a password from before the keyring waits in the file for one";
}

TEST_F(GeneralDialog, CounterAndLogButtonsActOnlyOnYes)
{
    GeneralSettings g;
    g.count = 42;
    g.logFile = home.file("activity.txt");
    Open(g);
    home.write("activity.txt", "MAIL CHECK\n");
    dialog->show();
    prompts.answers = {false, true, false, true};
    dialog->btResetCounter->click();
    EXPECT_EQ(dialog->lblCount->text(), "42");
    dialog->btResetCounter->click();
    EXPECT_EQ(dialog->lblCount->text(), "0");
    EXPECT_EQ(Stored().count, 42) << "only OK stores it";
    dialog->btClearLog->click();
    EXPECT_TRUE(QFile::exists(g.logFile));
    dialog->btClearLog->click();
    EXPECT_FALSE(QFile::exists(g.logFile));
    EXPECT_EQ(prompts.questions.value(2),
              "If you answer Yes, you will lose any statistics related to this log file. Really clear out log file?");
    dialog->btViewLogClick(); // the file is gone now
    EXPECT_EQ(prompts.errors, QStringList{"Unable to open log file. "});
    dialog->btOK->click();
    EXPECT_EQ(Stored().count, 0);
    EXPECT_TRUE(dialog->Stored() && dialog->Stored()->countReset) << "or the live count would stand over it";
}

// The name for today replaces the stored one, and the labels show this year's names; the
// alarm's Test button plays and stops.
TEST_F(GeneralDialog, LogNamesAreThisYearsAndTestPlaysAndStops)
{
    const QDate today = QDate::currentDate();
    const QString yy = QStringLiteral("%1").arg(today.year() % 100, 2, 10, QLatin1Char('0'));
    GeneralSettings g;
    g.logFile = home.file("logs/logfile.txt");
    g.logNaming = LogNaming::Month;
    Open(g);
    dialog->show();
    EXPECT_EQ(dialog->edLog->text(), home.file("logs/") + MonthLogFile(today));
    EXPECT_TRUE(dialog->rbMonth->text().contains("Jan" + yy + ".txt, Feb" + yy + ".txt"))
        << dialog->rbMonth->text().toStdString();
    EXPECT_TRUE(dialog->rbQuarter->text().contains("Q1_" + yy + ".txt, Q2_" + yy + ".txt"))
        << dialog->rbQuarter->text().toStdString();
    home.write("alarm.wav", "RIFF this is no sound");
    dialog->edAlarm->setText(home.file("alarm.wav"));
    for (const auto &[repeat, caption] : {std::pair{false, "Test"}, {true, "Stop"}, {true, "Test"}}) {
        dialog->cbRepeat->setChecked(repeat);
        dialog->btTest->click();
        EXPECT_EQ(dialog->btTest->text(), caption);
    }
    EXPECT_EQ(beeps, 2); // no audio device: the beep answers (a missing file: Guard.AlarmPlays...)
}

// The autostart box writes and removes the session's autostart entry; the entry on disk
// decides what the box shows.
TEST_F(GeneralDialog, AutostartBoxWritesAndRemovesTheSessionEntry)
{
    QTemporaryDir config;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", oldConfig); });
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString entry = config.filePath(QStringLiteral("autostart/tarnwick.desktop"));
    Open();
    dialog->show();
    EXPECT_FALSE(dialog->cbAutostart->isChecked());
    dialog->cbAutostart->setChecked(true);
    dialog->PageControl1->setCurrentIndex(3);
    Keep(dialog.get(), "general-startup");
    dialog->btOK->click();
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nExec=" + QFile::encodeName(QCoreApplication::applicationFilePath()) + "\n"));
    file.close();
    dialog->show();
    EXPECT_TRUE(dialog->cbAutostart->isChecked());
    dialog->cbAutostart->setChecked(false);
    dialog->btOK->click();
    EXPECT_FALSE(QFileInfo::exists(entry));
    // An entry that cannot be written is explained by the autostart layer (AutostartTest).
}

} // namespace
