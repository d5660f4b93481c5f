// The main window over a real mail guard: what the user sees at start, while a check waits
// for the server, after a cancel, on closing while busy, the list's order and keys, what it
// remembers, its menus, and real checks of the Dovecot fixture (the demo's mail and rules for
// "Why" and "View body"). Set TARNWICK_SCREENSHOTS to a folder to keep the pictures of the
// windows the manual shows.

#include "boxprompts.h"
#include "dovecot_env.h"
#include "fake_nmcli.h"
#include "files.h"
#include "general.h"
#include "mainwindow.h"
#include "markfordeletion.h"
#include "optionsmain.h"
#include "pictures.h"
#include "retrieving.h"
#include "ruledialogs.h"
#include "rulewords.h"
#include "spamsettings.h"
#include "splash.h"
#include "startup.h"
#include "statistics.h"
#include "trayicon.h"
#include "ui_test.h"
#include "viewheader.h"

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

    // args: the program's command line after its name.
    void Start(TPrompts *boxes = nullptr, const QStringList &args = {})
    {
        QCommandLineParser parser;
        const TStartOptions options = ParseStartOptions(parser, QStringList{"tarnwick"} + args);
        TPrompts &p = boxes ? *boxes : prompts;
        guard = std::make_unique<TMailGuard>(p);
        guard->SetNetworkTimeOut(20);
        guard->SetLauncher([this](const QString &command) { launched << command; return true; });
        // The machine's own mail program is none of the tests' business.
        guard->SetDefaultMailProgram([] { return QString(); });
        window = std::make_unique<TfrmMain>(*guard, p);
        window->SetQuitter([this] { ++quits; });
        StartMainWindow(*window, *guard, options);
        window->General()->SetMailProgramFinder([] { return QString(); });
        window->General()->SetMailboxImporter([] { return std::optional<ImportedMailbox>(); });
        CheckAtStart(*window, options);
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

    // Rows as a listing leaves them: subject, size and the Date field.
    void Rows(const QList<std::tuple<const char *, const char *, const char *>> &rows)
    {
        for (const auto &[subject, size, date] : rows) {
            TMessageListRow r;
            r.subject = subject;
            r.sender = QStringLiteral("%1@example.org").arg(QString(subject).toLower());
            r.sizeText = size;
            r.headers = {QStringLiteral("Date: ") + date};
            r.slot = r.mailbox = 1;
            guard->Messages().Append(r);
        }
    }

    QStringList Column(int column = 0) const
    {
        QStringList out;
        const QAbstractItemModel *m = window->ListView1->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, column).data().toString();
        return out;
    }

    void SelectViewRow(int row) { window->ListView1->clearSelection(); window->ListView1->setCurrentIndex(window->ListView1->model()->index(row, 0)); }

    // Keys reach shortcuts only through the window that has the focus.
    void Activate()
    {
        window->activateWindow();
        window->windowHandle()->requestActivate();
        ASSERT_TRUE(WaitUntil([&] { return QGuiApplication::focusWindow() == window->windowHandle(); }));
        window->ListView1->setFocus();
    }

    int Row(const QString &subject) const
    {
        for (int i = 0; i < guard->Messages().Count(); ++i)
            if (guard->Messages().Row(i).subject == subject)
                return i;
        return -1;
    }

    // Runs command, which shows a viewer modally; returns the viewer's title and text.
    std::pair<QString, QString> Viewed(const std::function<void()> &command, const QString &picture,
                                       bool *openShown = nullptr)
    {
        std::pair<QString, QString> seen;
        TPoller read([&] {
            auto *viewer = qobject_cast<TfrmViewHeader *>(QApplication::activeModalWidget());
            if (!viewer)
                return false;
            seen = {viewer->windowTitle(), viewer->Text()};
            if (openShown)
                *openShown = viewer->btOpen->isVisible();
            Keep(viewer, picture);
            viewer->btOK->click();
            return true;
        });
        command();
        EXPECT_TRUE(read.done()) << "no viewer came up";
        return seen;
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

// Tray mode, stored, ticked while running or asked for by --hidden, takes effect at once.
// Without a notification area (offscreen) it keeps the window, says why, and the exit button
// ends the program; with one (under a desktop with a tray) the icon shows and the exit button
// hides to it; one that comes later (the panel starts after the program) takes it.
TEST_F(MainWindow, TrayModeNeverStrandsTheUser)
{
    const bool host = TTrayIcon::IsAvailable();
    for (const QString mode : {"stored", "ticked", "--hidden"}) {
        SCOPED_TRACE(mode.toStdString());
        GeneralSettings g;
        g.sysTray = mode == "stored";
        Store(g, {});
        Start(nullptr, mode.startsWith("--") ? QStringList{mode} : QStringList{});
        if (mode == "ticked") {
            TPoller tick([&] {
                TfrmGeneral *general = window->General();
                if (!general->isVisible())
                    return false;
                EXPECT_EQ(general->findChild<QLabel *>("lblNoTray")->isHidden(), host);
                general->cbSysTray->setChecked(true);
                general->btOK->click();
                return true;
            });
            window->btGeneralClick();
            ASSERT_TRUE(tick.done());
        }
        EXPECT_EQ(window->isVisible(), !(host && mode != "ticked"));
        EXPECT_EQ(window->Tray()->IsActive(), host);
        EXPECT_EQ(window->btExit->text(), host ? "&Hide" : "&Goodbye");
        EXPECT_TRUE(prompts.infos.isEmpty()) << "no restart to ask for";
        EXPECT_EQ(ReadGeneralSettings(UserSettings()).sysTray, mode != "--hidden") << "the option is no setting";
        window->ShowMainScreen1Click();
        window->btExit->click();
        EXPECT_EQ(quits, host ? 0 : 1) << "hidden to the icon, or ended";
        EXPECT_FALSE(window->isVisible());
        quits = 0;
        guard->SetTrayAvailable(true);
        EXPECT_TRUE(guard->sysTrayMode());
    }
}

// The boxes and windows the General settings open land over it, not behind it.
TEST_F(MainWindow, WhatTheGeneralSettingsOpenComesToTheFront)
{
    TBoxPrompts boxes;
    GeneralSettings g;
    g.logFile = home.file("log.txt");
    home.write("log.txt", "MAIL CHECK 1 msg(s) for \"joe\" on server pop.a at Sat 2026-10-31 23:45\r\n");
    Store(g, {});
    Start(&boxes);
    TfrmGeneral *general = window->General();
    general->edLog->setText(home.file("missing.txt"));
    // Each step runs from the event loop, so that the poller can close what it opens.
    const std::function<void()> steps[] = {[&] { general->btViewLogClick(); }, // no such file: an error box
                                           [&] { window->ShowStatistics(); },
                                           [&] { general->btCancel->click(); }};
    QList<QWidget *> parents;
    int next = 0;
    TPoller front([&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == general && next == int(parents.size()) && next < 3)
            QTimer::singleShot(0, general, steps[next++]);
        else if (modal && modal != general) {
            parents << modal->parentWidget();
            modal->close();
        }
        return next == 3;
    });
    window->btGeneralClick();
    ASSERT_EQ(parents.size(), 2);
    EXPECT_EQ(parents.at(0), general) << "the error box";
    EXPECT_EQ(parents.at(1), general) << "the statistics";
}

TEST_F(MainWindow, WhileACheckWaitsOnlyCancelIsOfferedAndCancelIsAStatusLine)
{
    StartOnSilentServer();
    QStringList seen;
    TPoller during([&] {
        // The clock appears once the server has been silent a few seconds.
        if (!guard->checkInProgress() || window->Retrieving()->lblWaited->text().isEmpty())
            return false;
        seen << window->Retrieving()->lblWaited->text() << window->btExit->text()
             << window->Tray()->actExit->text();
        if (window->btList->isEnabled() || window->btOptions->isEnabled() || window->Tray()->IsMenuEnabled())
            seen << "a command is still offered";
        Keep(window->Retrieving(), "retrieving");
        // A second check and the settings are refused while the first waits.
        window->btListClick();
        window->btGeneralClick();
        window->btExit->click();
        return true;
    });
    window->btList->click();
    ASSERT_TRUE(during.done());
    ASSERT_EQ(seen.size(), 3) << seen.join('|').toStdString();
    EXPECT_TRUE(seen.at(0).startsWith("Waiting for the server: ")) << seen.at(0).toStdString();
    EXPECT_EQ(seen.mid(1), (QStringList{"Ca&ncel", "Cancel"}));

    // Idle again; the cancel the user asked for is a line in the status bar, no error box.
    EXPECT_FALSE(window->Retrieving()->isVisible());
    EXPECT_TRUE(window->btList->isEnabled());
    EXPECT_EQ(window->btExit->text(), "&Goodbye");
    EXPECT_EQ(window->Tray()->actExit->text(), "Exit");
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    EXPECT_EQ(window->StatusText(), kCanceled);
    // The tray's tooltip names the mailbox and what the last check came to.
    EXPECT_TRUE(window->Tray()->Hint().contains(QStringLiteral("Mailbox 1: alice on 127.0.0.1:%1").arg(silent.serverPort())))
        << window->Tray()->Hint().toStdString();
    EXPECT_TRUE(window->Tray()->Hint().endsWith(kCanceled));
    EXPECT_EQ(window->ListView1->model()->rowCount(), 0);
    EXPECT_EQ(quits, 0);
}

// A click on a heading sorts (the date by its moment, the size by its number); the commands
// act on the rows the user selected whatever the order; the order, the widths and the
// window's place come back at the next start.
TEST_F(MainWindow, ListSortsAndRemembersItsLayout)
{
    Start();
    Rows({{"Beta", "900", "Sun, 06 Dec 2026 14:05:00 +0100"},
          {"alpha", "80", "Sun, 06 Dec 2026 09:00:00 -0500"}, // 14:00 UTC: the latest
          {"Gamma", "1000", "no date at all"}});
    const struct { int column; Qt::SortOrder order; QStringList subjects; } cases[] = {
        {0, Qt::AscendingOrder, {"alpha", "Beta", "Gamma"}},
        {2, Qt::AscendingOrder, {"alpha", "Beta", "Gamma"}},
        {2, Qt::DescendingOrder, {"Gamma", "Beta", "alpha"}},
        {3, Qt::AscendingOrder, {"Gamma", "Beta", "alpha"}},
        {-1, Qt::AscendingOrder, {"Beta", "alpha", "Gamma"}}, // the server's order
    };
    for (const auto &c : cases) {
        window->ListView1->sortByColumn(c.column, c.order);
        EXPECT_EQ(Column(), c.subjects) << c.column << " " << c.order;
    }
    // A real click on the size heading sorts by number.
    QHeaderView *header = window->ListView1->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    EXPECT_EQ(Column(), (QStringList{"alpha", "Beta", "Gamma"}));
    EXPECT_EQ(window->ListRowAt(0), 1);
    SelectViewRow(0);
    EXPECT_EQ(window->SelectedRows(), QList<int>{1});
    window->btMarkClick();
    EXPECT_EQ(guard->Messages().Row(1).mark, 0) << "the row the user saw selected";
    // The mark in words.
    EXPECT_EQ(window->ListView1->model()->index(0, 0).data(Qt::ToolTipRole).toString(),
              "Marked as spam: deleted with \"Delete marked messages\"");

    header->resizeSection(1, 250);
    window->resize(1100, 700);
    window->move(30, 40);
    window->SaveAtExit();
    window.reset();
    guard.reset();
    Start();
    EXPECT_EQ(window->size(), QSize(1100, 700));
    EXPECT_EQ(window->pos(), QPoint(30, 40));
    EXPECT_EQ(window->ListView1->columnWidth(1), 250);
    EXPECT_EQ(window->ListView1->header()->sortIndicatorSection(), 2);
    EXPECT_EQ(window->ListView1->header()->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(MainWindow, Keys)
{
    Start();
    Rows({{"One", "10", ""}, {"Two", "20", ""}});
    guard->ShowTotalCount();
    Activate();
    const auto mark = [&](int row) { return guard->Messages().Row(row).mark; };
    SelectViewRow(1);
    QTest::keyClick(window->ListView1, Qt::Key_Space);
    EXPECT_EQ(mark(1), 0) << "Space marks";
    QTest::keyClick(window->ListView1, Qt::Key_Space);
    EXPECT_EQ(mark(1), -1) << "and unmarks";
    QTest::keyClick(window->ListView1, Qt::Key_Space);

    QTest::keyClick(window->ListView1, Qt::Key_Delete);
    EXPECT_EQ(prompts.questions, QStringList{"Really delete 1 messages from server?"});
    EXPECT_EQ(guard->Messages().Count(), 2) << "No keeps everything";

    bool menu = false;
    TPoller popup([&] {
        if (!window->PopupMenu1->isVisible())
            return false;
        menu = true;
        window->PopupMenu1->close();
        return true;
    });
    QTest::keyClick(window->ListView1, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(WaitUntil([&] { return popup.done(); }));
    EXPECT_TRUE(menu);

    // F5 and Alt+C both check; without a mailbox that asks for one in the General settings.
    Activate();
    for (const auto &[key, modifier] : {std::pair{Qt::Key_F5, Qt::NoModifier}, std::pair{Qt::Key_C, Qt::AltModifier}}) {
        prompts.errors.clear();
        TPoller answer([&] {
            if (!window->General()->isVisible())
                return false;
            Keep(window->General(), "general-mailboxes");
            window->General()->btCancel->click();
            return true;
        });
        QTest::keyClick(window.get(), key, modifier);
        WaitUntil([&] { return !prompts.errors.isEmpty(); }); // an access key clicks a moment later
        EXPECT_EQ(prompts.errors, QStringList{"You need to enter your e-mail username in the settings."}) << key;
        ASSERT_TRUE(WaitUntil([&] { return answer.done(); }));
        Activate();
    }
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);
}

// ---- against the Dovecot fixture ----

QByteArray Mail(const char *from, const char *subject, const char *extra = "")
{
    return QByteArray("From: ") + from + "\nTo: user20@example.org\nSubject: " + subject
           + "\nDate: Sun, 06 Dec 2026 14:05:00 +0100\n" + extra + "Message-ID: <" + QByteArray(subject).toHex()
           + "@example.com>\n\nHello.\n";
}

// The Connection tab lists NetworkManager's profiles (a stand-in nmcli on the PATH) after
// "None", sorted by name; the stored position picks the entry a check dials before it
// connects to Dovecot and hangs up after; a line that cannot be brought up is explained.
TEST_F(MainWindow, CheckDialsTheStoredConnectionEntry)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    ASSERT_TRUE(env->SeedMailbox("user19", {Mail("Someone <someone@example.org>", "Hello")}, &error))
        << error.toStdString();
    const char *book = R"({"connections": [{"name": "Zeta Mobile", "type": "gsm", "state": ""},
        {"name": "Home DSL", "type": "pppoe", "state": ""}]})";
    TFakeNmcli nmcli(QJsonDocument::fromJson(book).object());
    ServerSettings s;
    s.slot(1) = {env->Server(env->Pop3Port), "user19", env->Password, TlsMode::None, {}};
    GeneralSettings g;
    g.ras = 1;
    Store(g, s);
    Start();
    QStringList items;
    for (int i = 0; i < window->General()->lstRas->count(); ++i)
        items << window->General()->lstRas->item(i)->text();
    EXPECT_EQ(items, (QStringList{"None", "Home DSL", "Zeta Mobile"}));
    EXPECT_EQ(window->General()->lstRas->currentRow(), 1);
    nmcli.ClearCalls();
    window->btList->click();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    EXPECT_EQ(window->ListView1->model()->rowCount(), 1);
    EXPECT_EQ(nmcli.Verbs(), (QStringList{"active", "up", "down"}));

    nmcli.SetScenario(QJsonDocument::fromJson(R"({"connections": [{"name": "Home DSL", "type": "pppoe", "state": ""}],
        "up": {"exit": 4, "stderr": "Error: Connection activation failed: The PPP service failed"}})").object());
    window->btList->click();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.at(0).startsWith("The dial-up connection \"Home DSL\" could not be made: "
                                                "Error: Connection activation failed: The PPP service failed"))
        << prompts.errors.at(0).toStdString();
    EXPECT_TRUE(prompts.errors.at(0).contains("Connection tab"));
}

// Statistics from each of its three places opens on the log file; in automatic mode the
// minute tick goes on after each inspection command, also when nothing was listed, which
// these commands and "Mark messages" explain.
TEST_F(MainWindow, MenuCommandsWithNothingListed)
{
    GeneralSettings g;
    g.automatic = true;
    Store(g, {});
    Start();
    QStringList opened;
    TPoller close([&] {
        if (auto *dialog = qobject_cast<TfrmChartMain *>(QApplication::activeModalWidget())) {
            opened << dialog->edLogFile->text();
            dialog->reject();
        }
        return false;
    });
    window->mnuOptions->actions().last()->trigger(); // "Stats"
    window->Tray()->actStatistics->trigger();
    window->General()->btStatistics->click();
    // A blank "Logfile" setting means the default log in the data folder.
    EXPECT_EQ(opened, QStringList(3, DataFile(QStringLiteral("logfile.txt"))));

    for (QAction *command : window->PopupMenu1->actions()) {
        if (command->isSeparator())
            continue;
        command->trigger();
        EXPECT_TRUE(guard->Timer1Enabled()) << command->text().toStdString();
    }
    window->btMarkClick();
    EXPECT_EQ(prompts.infos, QStringList(6, "Either there are no e-mail messages waiting on the mail server or you have "
                                            "not yet clicked on the \"Check E-Mail\" button."));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
}

// Once the windows are ready the splash closes and goes away by itself.
TEST(Splash, ClosesItselfOnceAfterTheWindowsAreReady)
{
    QPointer<TfrmSplash> splash = new TfrmSplash();
    splash->show();
    splash->Ready();
    Keep(splash, QStringLiteral("splash"));
    EXPECT_TRUE(WaitUntil([&] { return splash.isNull(); }, 10000));
}

TEST_F(MainWindow, DemoMailCheckedInspectedMarkedAndDeleted)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    const QDir demo(QStringLiteral(TARNWICK_SOURCE_DIR "/data/demo"));
    QList<QByteArray> mail;
    for (const QString &name : QDir(demo.filePath(QStringLiteral("mail"))).entryList({"*.eml"}, QDir::Files, QDir::Name)) {
        QFile f(demo.filePath(QStringLiteral("mail/") + name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        mail << f.readAll();
    }
    ASSERT_GE(mail.size(), 8);
    ASSERT_TRUE(env->SeedMailbox(QStringLiteral("user17"), mail, &error)) << error.toStdString();
    for (const QString &name : QDir(demo.filePath(QStringLiteral("rules"))).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(demo.filePath(QStringLiteral("rules/") + name), home.file(name)));
    ServerSettings s;
    s.slot(1) = {env->Server(env->Pop3Port), QStringLiteral("user17"), env->Password, TlsMode::None, {}};
    Store({}, s);
    Start(nullptr, {"--check"});
    const int width = window->width();
    EXPECT_EQ(guard->Messages().Count(), 0) << "the check waits for the event loop";
    ASSERT_TRUE(WaitUntil([&] { return guard->Messages().Count() == mail.size(); }, 30000));
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    EXPECT_EQ(window->StatusText(), "Message Total: 8 Number Marked: 4");
    EXPECT_EQ(window->width(), width) << "the window does not widen itself";
    // Each row's mark as its picture; a clear one keeps unmarked subjects lined up.
    const auto picture = [&](int row) {
        return window->ListView1->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    const int free = Row(QStringLiteral("Claim your FREE cruise today"));
    EXPECT_EQ(picture(free), MarkPicture(CheckMark).pixmap(16, 16).toImage());
    EXPECT_EQ(qAlpha(picture(Row(QStringLiteral("Dinner on Saturday?"))).pixel(8, 8)), 0);
    // ... and in words for a screen reader, the subject after it.
    QAccessibleTableInterface *list = QAccessible::queryAccessibleInterface(window->ListView1)->tableInterface();
    const auto spoken = [&](int row) { return list->cellAt(row, TMessageListModel::SubjectColumn)->text(QAccessible::Name); };
    EXPECT_EQ(spoken(free), "marked for deletion: Claim your FREE cruise today");
    EXPECT_EQ(spoken(Row(QStringLiteral("Dinner on Saturday?"))), "Dinner on Saturday?");
    EXPECT_EQ(list->cellAt(free, TMessageListModel::SubjectColumn)->text(QAccessible::Description), MarkInWords(CheckMark));

    SelectViewRow(free);
    Keep(window.get(), QStringLiteral("main"));
    const auto [whyTitle, why] = Viewed([&] { window->Why1Click(); }, QStringLiteral("why"));
    EXPECT_EQ(whyTitle, "Why Was This E-mail Marked?");
    EXPECT_TRUE(why.startsWith(QStringLiteral("Message from winner@promo-blast.example\n"))) << why.toStdString(); // the reasons: InspectDovecot
    EXPECT_EQ(Viewed([&] { window->ViewHeader1Click(); }, QStringLiteral("headers")).first, "View Selected Headers");
    // Enter shows the body.
    const int budget = Row(QStringLiteral("Budget review moved to Tuesday"));
    SelectViewRow(budget);
    bool openShown = false;
    Activate();
    const auto [bodyTitle, body] = Viewed([&] { QTest::keyClick(window->ListView1, Qt::Key_Return); },
                                          QStringLiteral("message"), &openShown);
    EXPECT_EQ(bodyTitle, "View Message Body");
    EXPECT_TRUE(body.contains(QStringLiteral("This is a sample message for the Tarnwick demonstration."))) << body.toStdString();
    EXPECT_TRUE(openShown);

    // A double click toggles a row's mark: the question mark becomes the check mark, and a
    // second double click takes it away.
    const int urgent = Row(QStringLiteral("URGENT BUSINESS PROPOSAL"));
    ASSERT_EQ(guard->Messages().MessageMark(urgent), QuestionMark);
    const QRect cell = window->ListView1->visualRect(window->ListView1->model()->index(urgent, 1));
    for (const int expected : {0, -1}) {
        // The view reports a double click only after the press that starts it.
        QTest::mouseClick(window->ListView1->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(window->ListView1->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(guard->Messages().MessageMark(urgent), expected);
    }

    // With the default settings (launching on, no mail program anywhere) a deletion ends
    // without an error, and the list shows what is left on the server.
    prompts.answers = {true};
    window->btDelete->click();
    EXPECT_EQ(prompts.questions, QStringList{"Really delete 4 messages from server?"});
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    EXPECT_EQ(window->StatusText(), "There were 4 messages deleted"); // which ones: GuardDovecot.WindowDeletion...
    EXPECT_TRUE(launched.isEmpty());
    // Exceptions and spam rules from selected rows: InspectDovecot.ExceptionsFromTwoSelectedRows
    // and the MarkForDeletion dialog tests.
}

// "Spam settings" opens the window over the guard's live rules, with the configured
// mailboxes offered to a header rule.
TEST_F(MainWindow, SpamSettingsOpenOverTheLiveRules)
{
    ServerSettings servers;
    servers.slot(2) = {"pop.work.test", "bob", "secret", TlsMode::None, {}};
    Store({}, servers);
    Start();
    TfrmOptionsMain *options = window->OptionsMain();
    QStringList offered;
    options->SetDialogRunner([&offered](QDialog &d) {
        auto &h = dynamic_cast<TfrmHeaders &>(d);
        for (int i = 0; i < h.cbMailbox->count(); ++i)
            offered << h.cbMailbox->itemText(i);
        h.rbTo->setChecked(true);
        h.edTo->setText("bob@work.test");
        d.accept();
        return d.result();
    });
    TPoller poller([options] {
        if (QApplication::activeModalWidget() != options)
            return false;
        options->btInsertClick(TfrmOptionsMain::HeaderList);
        options->accept();
        return true;
    });
    window->btSpamClick();
    EXPECT_EQ(offered, QStringList{"2) bob - server pop.work.test"});
    EXPECT_EQ(guard->SpamSettings().gridHeader.Cells(2, 1), "bob@work.test - MailBox #2");
    EXPECT_TRUE(home.read("header.lst").contains("bob@work.test - MailBox #2"));
}

} // namespace
