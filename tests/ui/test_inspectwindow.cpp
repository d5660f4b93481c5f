// The main window's inspection commands as the user reaches them: the context menu, the tray
// menu and the "Settings and more" panel, the statistics command, and "Why" and "View body"
// through the window against the Dovecot fixture (mailbox user17), with the demo's mail and
// rules. Set TARNWICK_SCREENSHOTS to a folder to keep the pictures the manual shows.

#include "dovecot_env.h"
#include "files.h"
#include "general.h"
#include "mainwindow.h"
#include "optionsmain.h"
#include "splash.h"
#include "statistics.h"
#include "trayicon.h"
#include "ui_test.h"
#include "viewheader.h"

namespace {

// A menu as the user reads it: captions in order, "-" for a separator, "Sub > Item" for the
// items of a submenu.
QStringList Captions(const QMenu *menu, const QString &prefix = QString())
{
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->menu())
            out << Captions(a->menu(), prefix + a->text() + QStringLiteral(" > "));
        else
            out << prefix + a->text();
    }
    return out;
}

QAction *Find(const QMenu *menu, const QString &caption)
{
    for (QAction *a : menu->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

class InspectWindow : public ::testing::Test
{
protected:
    void Start()
    {
        guard = std::make_unique<TMailGuard>(prompts);
        guard->SetNetworkTimeOut(20);
        guard->SetLauncher([](const QString &) { return true; });
        window = std::make_unique<TfrmMain>(*guard, prompts);
        window->SetQuitter([] {});
        window->FormCreate();
        window->General()->SetMailProgramFinder([] { return QString(); });
        window->General()->SetMailboxImporter([] { return std::optional<ImportedMailbox>(); });
    }

    void Select(int row)
    {
        window->ListView1->clearSelection();
        window->ListView1->selectionModel()->select(window->ListView1->model()->index(row, 0),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
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
            seen = {viewer->lblTitle->text(), viewer->Text()};
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
};

// The menus in order; Statistics from each of its three places opens on the log file; in
// automatic mode the minute tick goes on after each inspection command, also when nothing was
// selected.
TEST_F(InspectWindow, MenusOfferEveryCommandInOrder)
{
    {
        UserSettings store;
        GeneralSettings g;
        g.automatic = true;
        ASSERT_TRUE(SaveGeneralSettings(store, g));
    }
    Start();
    EXPECT_EQ(Captions(window->PopupMenu1),
              (QStringList{"Why was this e-mail marked?", "-", "Add selected sender(s) to exceptions list",
                           "Add selected message(s) to spam list", "-", "View selected message(s) headers",
                           "View body of one message"}));
    EXPECT_EQ(Captions(window->Tray()->Menu()),
              (QStringList{"Check e-mail for spam", "Launch e-mail program", "-", "Main screen", "Settings > Spam",
                           "Settings > General", "Settings > View log file", "Statistics", "-",
                           "Enable automatic check", "Disable automatic check", "-", "Help/Info > Help",
                           "Help/Info > About", "-", "Exit"}));
    EXPECT_EQ(Captions(window->mnuOptions),
              (QStringList{"Spam settings", "General settings", "Help", "About", "Stats"}));

    QStringList opened;
    TPoller close([&] {
        if (auto *dialog = qobject_cast<TfrmChartMain *>(QApplication::activeModalWidget())) {
            opened << dialog->edLogFile->text();
            dialog->reject();
        }
        return false;
    });
    Find(window->mnuOptions, QStringLiteral("Stats"))->trigger();
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
    EXPECT_EQ(prompts.infos, QStringList(5, TMessageInspector::NoSelectionText(true)));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
}

// The splash stays in front of the ready window for timSplash's 1500 ms, then closes and
// goes away by itself.
TEST(Splash, ClosesItselfOnceAfterTheWindowsAreReady)
{
    QPointer<TfrmSplash> splash = new TfrmSplash();
    splash->show();
    splash->Ready();
    Keep(splash, QStringLiteral("splash"));
    QTest::qWait(1000); // a timer never fires early
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return splash.isNull(); }, 10000));
}

TEST_F(InspectWindow, WhyAndBodyOfTheDemoMail)
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
        // The colleague's message as a mail program sends it: text and HTML, the text
        // quoted-printable.
        if (name.startsWith(QStringLiteral("03")))
            mail.last() =
                "From: Jonas Brandt <jonas@work.example>\nTo: Alice <alice@home.example>\n"
                    "Subject: Budget review moved to Tuesday\nDate: Sun, 6 Dec 2026 09:12:00 +0100\n"
                    "Message-ID: <03-boss.eml@demo.example>\nMIME-Version: 1.0\n"
                    "Content-Type: multipart/alternative; boundary=\"=_b1\"\n\n"
                    "--=_b1\nContent-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: quoted-printable\n\n"
                    "Hi Alice,\n\nthe budget review moves from Monday to Tuesday, 10:00, room Gr=C3=BCnwald.\n"
                    "Please bring the Q4 figures; the draft is on the shared drive under Budget/2027.\n\n"
                    "Thanks,\nJonas\n"
                    "--=_b1\nContent-Type: text/html; charset=utf-8\n\n<p>Hi Alice,</p>\n--=_b1--\n";
    }
    ASSERT_GE(mail.size(), 8);
    ASSERT_TRUE(env->SeedMailbox(QStringLiteral("user17"), mail, &error)) << error.toStdString();
    for (const QString &name : QDir(demo.filePath(QStringLiteral("rules"))).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(demo.filePath(QStringLiteral("rules/") + name), home.file(name)));
    {
        UserSettings store;
        ServerSettings s;
        s.slot(1) = {env->Server(env->Pop3Port), QStringLiteral("user17"), env->Password, TlsMode::None, {}};
        ASSERT_TRUE(saveServerSettings(store, s).ok());
    }
    Start();
    window->resize(window->minimumSizeHint().width(), 560);
    window->btList->click();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    ASSERT_EQ(guard->Messages().Count(), mail.size());

    const int free = Row(QStringLiteral("Claim your FREE cruise today"));
    ASSERT_GE(free, 0);
    Select(free);
    Keep(window.get(), QStringLiteral("main"));
    const auto [whyTitle, why] = Viewed([&] { window->Why1Click(); }, QStringLiteral("why"));
    EXPECT_EQ(whyTitle, QStringLiteral("Reasons that e-mail is marked or not marked"));
    EXPECT_TRUE(why.startsWith(QStringLiteral("Message from winner@promo-blast.example\nSubject of   Claim your FREE "
                                              "cruise today\n\nDelete   :  Subject Contains (whole word) \"free\" ")))
        << why.toStdString();

    const int budget = Row(QStringLiteral("Budget review moved to Tuesday"));
    ASSERT_GE(budget, 0);
    Select(budget);
    bool openShown = false;
    const auto [bodyTitle, body] = Viewed([&] { window->ViewMessages1Click(); }, QStringLiteral("message"), &openShown);
    EXPECT_EQ(bodyTitle, QStringLiteral("Contents of e-mail"));
    EXPECT_TRUE(body.startsWith(QStringLiteral("Hi Alice,\n\nthe budget review moves from Monday to Tuesday, 10:00, "
                                               "room Grünwald.\n")))
        << body.toStdString();
    EXPECT_TRUE(openShown);
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("msg_%1.eml").arg(budget))));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    EXPECT_FALSE(guard->IsBusy());

    // A double click toggles a row's mark: the question mark becomes the check mark, and a
    // second double click takes it away.
    const int urgent = Row(QStringLiteral("URGENT BUSINESS PROPOSAL"));
    ASSERT_GE(urgent, 0);
    ASSERT_EQ(guard->Messages().MessageMark(urgent), 1);
    Select(urgent);
    const QRect cell = window->ListView1->visualRect(window->ListView1->model()->index(urgent, 1));
    for (const int expected : {0, -1}) {
        // The view reports a double click only after the press that starts it.
        QTest::mouseClick(window->ListView1->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(window->ListView1->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(guard->Messages().MessageMark(urgent), expected);
    }

    // The settings windows as the manual shows them.
    TfrmGeneral *general = window->General();
    general->show();
    general->PageControl1->setCurrentIndex(0);
    // A mailbox as a reader of the manual would fill it in; Cancel drops it again.
    general->findChild<QLineEdit *>(QStringLiteral("edServe1"))->setText(QStringLiteral("pop.example.org:995"));
    general->findChild<QLineEdit *>(QStringLiteral("edName1"))->setText(QStringLiteral("alice@example.org"));
    general->findChild<QComboBox *>(QStringLiteral("cbTls1"))->setCurrentText(QStringLiteral("Implicit TLS"));
    Keep(general, QStringLiteral("general"));
    general->btCancel->click();
    TfrmOptionsMain *spam = window->OptionsMain();
    spam->show();
    Keep(spam, QStringLiteral("spam"));
    spam->reject();
    EXPECT_EQ(guard->Servers().slot(1).server, env->Server(env->Pop3Port));
}

} // namespace
