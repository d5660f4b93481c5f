// The main window over a real mail guard: what the user sees at start, while a check waits
// for the server, after a cancel, on closing while busy, and after a real check of the
// Dovecot fixture. Set TARNWICK_SCREENSHOTS to a folder to keep pictures of the windows.

#include "dovecot_env.h"
#include "fake_nmcli.h"
#include "general.h"
#include "pictures.h"
#include "mainwindow.h"
#include "markfordeletion.h"
#include "retrieving.h"
#include "spamsettings.h"
#include "temp_home.h"
#include "trayicon.h"
#include "ui_test.h"
#include "viewheader.h"
#include "which.h"
#include "about.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QJsonDocument>
#include <QListWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kCanceled = QStringLiteral("Operation has been canceled");

class MainWindow : public ::testing::Test
{
protected:
    void Store(const GeneralSettings &g, const ServerSettings &s)
    {
        UserSettings store;
        ASSERT_TRUE(SaveGeneralSettings(store, g));
        ASSERT_TRUE(saveServerSettings(store, s).ok());
    }

    void Start()
    {
        guard = std::make_unique<TMailGuard>(prompts);
        guard->SetNetworkTimeOut(20);
        guard->SetLauncher([this](const QString &command) {
            launched << command;
            return true;
        });
        window = std::make_unique<TfrmMain>(*guard, prompts);
        window->SetQuitter([this] { ++quits; });
        window->FormCreate();
        window->General()->SetMailProgramFinder([] { return QString(); });
        window->General()->SetMailboxImporter([] { return std::optional<ImportedMailbox>(); });
    }

    // Mailbox 1 on a server that accepts the connection and then says nothing, so a check
    // stays waiting until it is cancelled.
    void StartOnSilentServer()
    {
        ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
        QObject::connect(&silent, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = silent.nextPendingConnection())
                held << s;
        });
        ServerSettings s;
        s.slot(1) = {QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()), "alice", "secret", TlsMode::None, {}};
        Store({}, s);
        Start();
    }

    QStringList Headers() const
    {
        QStringList out;
        const QAbstractItemModel *m = window->ListView1->model();
        for (int c = 0; c < m->columnCount(); ++c)
            out << m->headerData(c, Qt::Horizontal).toString();
        return out;
    }

    TempHome home;
    TTestPrompts prompts;
    std::unique_ptr<TMailGuard> guard;
    std::unique_ptr<TfrmMain> window;
    QTcpServer silent;
    QList<QTcpSocket *> held;
    QStringList launched;
    int quits = 0;
};

TEST_F(MainWindow, StartsIdleShowingAnEmptyList)
{
    Start();
    TfrmMain &w = *window;
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Tarnwick");
    EXPECT_EQ(w.lblTitle->text(), "Tarnwick");
    EXPECT_TRUE(w.Label1->isVisible());
    EXPECT_EQ(w.btList->text(), "Check e-mail");
    EXPECT_EQ(w.btOptions->text(), "Settings and more");
    EXPECT_EQ(w.btExit->text(), "Goodbye");
    EXPECT_TRUE(w.btList->isEnabled());
    EXPECT_TRUE(w.btOptions->isEnabled());
    const std::pair<QToolButton *, const char *> hidden[] = {{w.btMark, "Mark messages"},
                                                             {w.btDelete, "Delete marked messages"},
                                                             {w.btResetAll, "Reset all marks"},
                                                             {w.btRemark, "Auto-mark messages"},
                                                             {w.btLaunch, "Launch e-mail program"}};
    for (const auto &[button, caption] : hidden) {
        EXPECT_EQ(button->text(), caption);
        EXPECT_FALSE(button->isVisible()) << caption;
    }
    EXPECT_TRUE(w.lblAd->isVisible());
    EXPECT_EQ(w.lblAd->text(), "Quickly eliminate junk e-mail before it gets to your mailbox");
    EXPECT_EQ(w.lblPanel1->text(), "Right click for more options, double click to mark");
    EXPECT_EQ(Headers(), (QStringList{"Subject", "Sender", "Size", "Date"}));
    const int widths[] = {220, 200, 60};
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(w.ListView1->columnWidth(c), widths[c]) << c;
    EXPECT_GE(w.ListView1->columnWidth(3), 130); // the date takes the rest of the width
    // Every caption fits: none is cut short.
    for (QToolButton *b : {w.btList, w.btOptions, w.btExit})
        EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
    EXPECT_TRUE(w.Tray()->IsMenuEnabled());
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    EXPECT_TRUE(prompts.infos.isEmpty()) << prompts.infos.join('\n').toStdString();
    Keep(&w, "main-empty");
}

TEST_F(MainWindow, TrayModeWithoutANotificationAreaStillShowsTheWindow)
{
    ASSERT_FALSE(TTrayIcon::IsAvailable()); // the offscreen platform has none
    GeneralSettings g;
    g.sysTray = true;
    Store(g, {});
    Start();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->Tray()->IsActive());
    // "Hide" would hide the only way back in; the button ends the program instead.
    EXPECT_EQ(window->btExit->text(), "Goodbye");
    window->btExit->click();
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWindow, AutomaticModeShowsTheCountdownAndTheTrayTurnsItOff)
{
    GeneralSettings g;
    g.automatic = true;
    g.minutes = 2;
    Store(g, {});
    Start();
    const QString next2 = "Tarnwick - next e-mail check in 2 minutes";
    EXPECT_EQ(window->windowTitle(), next2);
    EXPECT_EQ(window->lblTitle->text(), next2);
    EXPECT_EQ(window->Tray()->Hint(), next2);
    EXPECT_TRUE(window->Tray()->IsAnimated());
    EXPECT_TRUE(window->Tray()->actEnable->isChecked());

    guard->Timer1Timer();
    EXPECT_EQ(window->windowTitle(), "Tarnwick - next e-mail check in 1 minute");
    EXPECT_EQ(window->lblTitle->text(), "Tarnwick - next e-mail check in 1 minute");

    window->Tray()->actDisable->trigger();
    EXPECT_EQ(window->windowTitle(), "Tarnwick");
    EXPECT_EQ(window->lblTitle->text(), "Tarnwick");
    EXPECT_FALSE(window->Tray()->IsAnimated());
    EXPECT_EQ(window->Tray()->CurrentPicture(), "tray");
    EXPECT_TRUE(window->Tray()->actDisable->isChecked());
    EXPECT_FALSE(ReadGeneralSettings(UserSettings()).automatic);
}

TEST_F(MainWindow, MarkWithNothingSelectedExplains)
{
    Start();
    window->btMarkClick();
    EXPECT_EQ(prompts.infos,
              QStringList{"Either there are no e-mail messages waiting on the mail server or you have not yet "
                          "clicked on the \"Check E-Mail\" button."});
}

TEST_F(MainWindow, CheckWithoutAMailboxAsksForOneInTheGeneralSettings)
{
    Start();
    bool settingsShown = false;
    TPoller answer([&] {
        if (!window->General()->isVisible())
            return false;
        settingsShown = true;
        Keep(window->General(), "general-mailboxes");
        window->General()->btCancel->click();
        return true;
    });
    window->btList->click();
    EXPECT_EQ(prompts.errors, QStringList{"You need to enter your e-mail username in the settings."});
    ASSERT_TRUE(WaitUntil([&] { return answer.done(); }));
    EXPECT_TRUE(settingsShown);
    EXPECT_TRUE(window->btList->isEnabled());
}

TEST_F(MainWindow, WhileACheckWaitsOnlyCancelIsOfferedAndCancelReturnsToIdle)
{
    StartOnSilentServer();
    struct Seen
    {
        bool listEnabled = true, optionsEnabled = true, trayCheck = true, trayExit = true, trayGeneral = true;
        QString exitCaption, trayExitCaption;
        bool progressShown = false;
    } seen;
    TPoller during([&] {
        if (!guard->checkInProgress() || !window->Retrieving()->isVisible())
            return false;
        seen.listEnabled = window->btList->isEnabled();
        seen.optionsEnabled = window->btOptions->isEnabled();
        seen.trayCheck = window->Tray()->actCheck->isEnabled();
        seen.trayExit = window->Tray()->actExit->isEnabled();
        seen.trayGeneral = window->Tray()->actGeneral->isEnabled();
        seen.exitCaption = window->btExit->text();
        seen.trayExitCaption = window->Tray()->actExit->text();
        seen.progressShown = true;
        Keep(window->Retrieving(), "retrieving");
        // A second check and the settings are refused while the first waits.
        window->btListClick();
        window->btGeneralClick();
        window->btExit->click();
        return true;
    });
    window->btList->click();
    ASSERT_TRUE(during.done());
    EXPECT_TRUE(seen.progressShown);
    EXPECT_FALSE(seen.listEnabled);
    EXPECT_FALSE(seen.optionsEnabled);
    EXPECT_FALSE(seen.trayCheck);
    EXPECT_FALSE(seen.trayExit);
    EXPECT_FALSE(seen.trayGeneral);
    EXPECT_EQ(seen.exitCaption, "Cancel");
    EXPECT_EQ(seen.trayExitCaption, "Cancel");

    // Idle again, with the error shown once.
    EXPECT_FALSE(window->Retrieving()->isVisible());
    EXPECT_TRUE(window->btList->isEnabled());
    EXPECT_TRUE(window->btOptions->isEnabled());
    EXPECT_EQ(window->btExit->text(), "Goodbye");
    EXPECT_TRUE(window->Tray()->IsMenuEnabled());
    EXPECT_EQ(window->Tray()->actExit->text(), "Exit");
    EXPECT_EQ(prompts.errors, QStringList{kCanceled});
    EXPECT_FALSE(window->General()->isVisible());
    EXPECT_EQ(window->ListView1->model()->rowCount(), 0);
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, ClosingWhileACheckWaitsCancelsFirstThenQuits)
{
    StartOnSilentServer();
    int quitsWhileWaiting = -1;
    bool visibleAfterClose = false;
    TPoller during([&] {
        if (!guard->checkInProgress())
            return false;
        window->close();
        visibleAfterClose = window->isVisible();
        quitsWhileWaiting = quits;
        return true;
    });
    window->btList->click();
    ASSERT_TRUE(during.done());
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(quitsWhileWaiting, 0);
    ASSERT_TRUE(WaitUntil([&] { return quits > 0; }));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(guard->IsBusy());
}

// ---- against the Dovecot fixture ----

QByteArray Mail(const char *from, const char *subject, const char *extra = "")
{
    return QByteArray("From: ") + from + "\nTo: user20@example.org\nSubject: " + subject
           + "\nDate: Sun, 06 Dec 2026 14:05:00 +0100\n" + extra + "Message-ID: <" + QByteArray(subject).toHex()
           + "@example.com>\n\nHello.\n";
}

TEST_F(MainWindow, RealCheckShowsEveryMessageWithItsMarkAndDeletesTheMarked)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    ASSERT_TRUE(env->SeedMailbox("user20",
                                 {Mail("Pill Shop <offers@pills.example>", "Cheap pills today"),
                                  Mail("Old Friend <friend@example.org>", "Lunch on Friday?"),
                                  Mail("News <news@bulk.example>", "Weekly news", "X-Mailer: BulkMailer 2.0\n"),
                                  Mail("Colleague <anna@work.example>", "Minutes of the meeting")},
                                 &error))
        << error.toStdString();
    {
        TSpamSettings rules;
        rules.readSettings();
        int row = rules.gridSubject.AppendRule();
        for (int c = 1; c <= 5; ++c)
            rules.gridSubject.SetCells(c, row, QStringList{"Contains", "pills", "No", "Yes", "0"}.at(c - 1));
        row = rules.gridHeader.AppendRule();
        for (int c = 1; c <= 5; ++c)
            rules.gridHeader.SetCells(c, row, QStringList{"Contains", "BulkMailer", "No", "No", "0"}.at(c - 1));
        row = rules.gridExcept.AppendRule();
        const QStringList except{"E-mail address", "Equals", "friend@example.org", "No", "0", "", "5"};
        for (int c = 0; c < except.size(); ++c)
            rules.gridExcept.SetCells(c, row, except.at(c));
        ASSERT_TRUE(rules.Savesettings(&error)) << error.toStdString();
    }
    ServerSettings s;
    s.slot(1) = {env->Server(env->Pop3Port), "user20", env->Password, TlsMode::None, {}};
    GeneralSettings g;
    g.launch = false;
    Store(g, s);
    Start();

    window->btList->click();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    const QAbstractItemModel *list = window->ListView1->model();
    ASSERT_EQ(list->rowCount(), 4);
    EXPECT_EQ(list->index(0, 0).data().toString(), "Cheap pills today");
    EXPECT_EQ(list->index(0, 1).data().toString(), "offers@pills.example");
    EXPECT_EQ(list->index(1, 1).data().toString(), "friend@example.org");
    EXPECT_EQ(int(list->index(0, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight), int(Qt::AlignRight));
    // Pictures: check mark, exception picture 5, question mark, and a clear one for no mark.
    const auto picture = [&](int row) {
        return list->index(row, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    EXPECT_EQ(picture(0), MarkPicture(0).pixmap(16, 16).toImage());
    EXPECT_EQ(picture(1), MarkPicture(5).pixmap(16, 16).toImage());
    EXPECT_EQ(picture(2), MarkPicture(1).pixmap(16, 16).toImage());
    const QImage none = picture(3);
    ASSERT_FALSE(none.isNull());
    for (int y = 0; y < none.height(); ++y)
        for (int x = 0; x < none.width(); ++x)
            ASSERT_EQ(qAlpha(none.pixel(x, y)), 0);
    EXPECT_EQ(list->index(0, 0).data(TMessageListModel::MarkRole).toInt(), 0);
    EXPECT_EQ(list->index(1, 0).data(TMessageListModel::MarkRole).toInt(), 5);
    EXPECT_EQ(list->index(2, 0).data(TMessageListModel::MarkRole).toInt(), 1);

    EXPECT_EQ(window->StatusText(), "Message Total: 4 Number Marked: 1");
    for (QToolButton *b : {window->btMark, window->btDelete, window->btResetAll, window->btRemark, window->btLaunch})
        EXPECT_TRUE(b->isVisible()) << b->text().toStdString();
    EXPECT_FALSE(window->lblAd->isVisible());
    EXPECT_FALSE(window->Retrieving()->isVisible());
    window->ListView1->selectionModel()->select(list->index(2, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Keep(window.get(), "main-after-check");

    // The user marks the suspect one too, then deletes after confirming.
    window->btMark->click();
    EXPECT_EQ(window->StatusText(), "Message Total: 4 Number Marked: 2");
    prompts.answers = {true};
    window->btDelete->click();
    EXPECT_EQ(prompts.questions, QStringList{"Really delete 2 messages from server?"});
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->index(0, 0).data().toString(), "Lunch on Friday?");
    EXPECT_EQ(list->index(1, 0).data().toString(), "Minutes of the meeting");
    EXPECT_EQ(window->StatusText(), "There were 2 messages deleted");
    EXPECT_EQ(window->btExit->text(), "Goodbye");
    EXPECT_TRUE(window->btList->isEnabled());
    EXPECT_TRUE(launched.isEmpty());

    // The colleague becomes an exception at once, and "Why" says so.
    window->ListView1->clearSelection();
    window->ListView1->selectionModel()->select(list->index(1, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->AddtoExceptions1Click();
    EXPECT_EQ(list->index(1, 0).data(TMessageListModel::MarkRole).toInt(), 3);
    EXPECT_EQ(guard->SpamSettings().gridExcept.Cells(2, guard->SpamSettings().gridExcept.RowCount() - 1),
              "anna@work.example");
    QString why;
    TPoller read([&] {
        auto *viewer = qobject_cast<TfrmViewHeader *>(QApplication::activeModalWidget());
        if (!viewer)
            return false;
        why = viewer->Text();
        EXPECT_EQ(viewer->lblTitle->text(), "Reasons that e-mail is marked or not marked");
        viewer->accept();
        return true;
    });
    window->Why1Click();
    EXPECT_TRUE(why.startsWith("Message from anna@work.example\nSubject of   Minutes of the meeting\n")) << why.toStdString();
    EXPECT_EQ(list->index(1, 0).data(TMessageListModel::MarkRole).toInt(), 3); // Why changes no mark

    // The friend's message is added to the spam rules: the dialog's OK puts both rules at the
    // top, and the list is marked again at once; the friend's exception still wins.
    window->ListView1->clearSelection();
    window->ListView1->selectionModel()->select(list->index(0, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    bool offered = false;
    TPoller confirm([&] {
        auto *dialog = qobject_cast<TfrmMarkForDeletion *>(QApplication::activeModalWidget());
        if (!dialog)
            return false;
        offered = dialog->MessageCount() == 1;
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        return true;
    });
    window->AddtoSpam1Click();
    EXPECT_TRUE(offered);
    EXPECT_EQ(guard->SpamSettings().gridSubject.Cells(2, 1), "Lunch on Friday?");
    EXPECT_EQ(guard->SpamSettings().gridFrom.Cells(3, 1), "friend@example.org");
    EXPECT_EQ(list->index(0, 0).data(TMessageListModel::MarkRole).toInt(), 5);
    EXPECT_EQ(list->index(1, 0).data(TMessageListModel::MarkRole).toInt(), 3);
}

// Pictures of the dialogs as a user meets them, for looking at; they check only that the
// windows come up.
TEST_F(MainWindow, DialogPictures)
{
    ServerSettings s;
    s.slot(1) = {"pop.example.org", "alice", "secret", TlsMode::Implicit, {}};
    s.slot(3) = {"mail.example.net:1110", "alice.smith", "pw", TlsMode::StartTls,
                 "abcdef0123456789abcdef0123456789abcdef0123456789abcdef0123456789"};
    Store({}, s);
    Start();
    TfrmGeneral *general = window->General();
    general->show();
    for (int tab = 0; tab < general->PageControl1->count(); ++tab) {
        general->PageControl1->setCurrentIndex(tab);
        EXPECT_TRUE(general->PageControl1->currentWidget()->isVisible());
        Keep(general, QStringLiteral("general-tab%1").arg(tab));
    }
    general->btCancel->click();

    TfrmWhichMailbox which(window.get());
    which.SetEntries({{1, "1) Mailbox alice - Server pop.example.org"},
                      {3, "3) Mailbox alice.smith - Server mail.example.net:1110"}},
                     3);
    which.show();
    EXPECT_EQ(which.cbWhich->currentText(), "3) Mailbox alice.smith - Server mail.example.net:1110");
    Keep(&which, "which-mailbox");

    TfrmAbout about(guard->Settings(), window.get());
    about.show();
    about.btPoint->click();
    EXPECT_EQ(about.Points(), 1);
    Keep(&about, "about");
}

// The Connection tab lists NetworkManager's profiles (a stand-in nmcli on the PATH) after
// "None", sorted by name, and the stored position picks the entry the checks dial.
TEST_F(MainWindow, ConnectionTabListsThePhoneBookAndTheStoredPositionPicksTheEntry)
{
    const QJsonObject phoneBook = QJsonDocument::fromJson(R"({"connections": [
        {"name": "Zeta Mobile", "type": "gsm", "state": ""},
        {"name": "Home DSL", "type": "pppoe", "state": ""},
        {"name": "alpha Modem", "type": "gsm", "state": ""}]})").object();
    struct Case {
        const char *name;
        bool nmcli;
        int stored;
        QStringList items;
        int selected;
        QString service;
    };
    const QList<Case> cases = {
        {"second entry", true, 2, {"None", "alpha Modem", "Home DSL", "Zeta Mobile"}, 2, "Home DSL"},
        {"no dial-up", true, 0, {"None", "alpha Modem", "Home DSL", "Zeta Mobile"}, 0, ""},
        {"the phone book shrank", true, 7, {"None", "alpha Modem", "Home DSL", "Zeta Mobile"}, 0, ""},
        {"no nmcli", false, 2, {"None"}, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TFakeNmcli nmcli(phoneBook, !c.nmcli);
        GeneralSettings g;
        g.ras = c.stored;
        Store(g, {});
        Start();
        TfrmGeneral *general = window->General();
        QStringList items;
        for (int i = 0; i < general->lstRas->count(); ++i)
            items << general->lstRas->item(i)->text();
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(general->lstRas->currentRow(), c.selected);
        EXPECT_EQ(guard->Ras().Service(), c.service);
        // A position that names nothing is dropped without a word.
        EXPECT_TRUE(prompts.infos.isEmpty()) << prompts.infos.join('\n').toStdString();
        if (c.stored == 2 && c.nmcli) {
            general->show();
            general->PageControl1->setCurrentIndex(1);
            EXPECT_EQ(general->PageControl1->tabText(1), "Connection");
            EXPECT_TRUE(general->lstRas->isVisible());
            Keep(general, QStringLiteral("general-connection"));
            // Choosing another entry stores its position.
            general->lstRas->setCurrentRow(3);
            general->btOK->click();
            EXPECT_EQ(ReadGeneralSettings(UserSettings()).ras, 3);
        }
        window.reset();
        guard.reset();
    }
}

// A check with a dial-up entry configured dials it before connecting to Dovecot and hangs
// it up afterwards; the dial's texts reach the status bar.
TEST_F(MainWindow, CheckDialsTheEntryFirstAndHangsUpAfter)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    ASSERT_TRUE(env->SeedMailbox("user19", {Mail("Someone <someone@example.org>", "Hello")}, &error))
        << error.toStdString();
    TFakeNmcli nmcli(QJsonDocument::fromJson(R"({"connections": [
        {"name": "Home DSL", "type": "pppoe", "state": ""}]})").object());
    ServerSettings s;
    s.slot(1) = {env->Server(env->Pop3Port), "user19", env->Password, TlsMode::None, {}};
    GeneralSettings g;
    g.launch = false;
    g.ras = 1;
    Store(g, s);
    Start();
    QStringList statuses;
    QObject::connect(guard.get(), &TMailGuard::statusChanged, [&](const QString &text) { statuses << text; });
    nmcli.ClearCalls();
    window->btList->click();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    EXPECT_EQ(window->ListView1->model()->rowCount(), 1);
    EXPECT_EQ(nmcli.Verbs(), (QStringList{"active", "up", "down"}));
    EXPECT_TRUE(statuses.contains("Successfully connected")) << statuses.join('|').toStdString();
    EXPECT_TRUE(statuses.contains("Disconnected")) << statuses.join('|').toStdString();
    EXPECT_LT(statuses.indexOf("Successfully connected"), statuses.indexOf("Disconnected"));
    EXPECT_FALSE(guard->Ras().DialedByUs());

    // The line cannot be brought up: the check says so and points at the Connection tab.
    nmcli.SetScenario(QJsonDocument::fromJson(R"({"connections": [
        {"name": "Home DSL", "type": "pppoe", "state": ""}],
        "up": {"exit": 4, "stderr": "Error: Connection activation failed: The PPP service failed"}})").object());
    window->btList->click();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.at(0).startsWith("The dial-up connection \"Home DSL\" could not be made: "
                                                "Error: Connection activation failed: The PPP service failed"))
        << prompts.errors.at(0).toStdString();
    EXPECT_TRUE(prompts.errors.at(0).contains("Connection tab"));
    EXPECT_TRUE(window->btList->isEnabled());
}

} // namespace
