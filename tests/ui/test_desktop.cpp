// The program among the desktop's others: its command line, its German texts, and what a
// screen reader says for its pictures.

#include "dovecot_env.h"
#include "language.h"
#include "mailguard.h"
#include "mainwindow.h"
#include "pictures.h"
#include "ruledialogs.h"
#include "startup.h"
#include "trayicon.h"
#include "ui_test.h"
#include "which.h"

namespace {

TEST(StartOptions, HiddenAndCheckAreReadAndAnythingElseIsAUsageError)
{
    const struct
    {
        QStringList args;
        bool hidden, check;
        const char *problem; // the usage error
    } cases[] = {
        {{}, false, false, ""},
        {{"--check", "--hidden"}, true, true, ""},
        {{"--hidden", "inbox"}, false, false, "unexpected argument inbox"},
        {{"--hide"}, false, false, "Unknown option 'hide'."},
    };
    for (const auto &c : cases) {
        QCommandLineParser parser;
        const TStartOptions o = ParseStartOptions(parser, QStringList{"tarnwick"} + c.args);
        EXPECT_EQ(o.problem, c.problem);
        EXPECT_EQ(std::pair(o.hidden, o.check), std::pair(c.hidden, c.check)) << c.args.join(' ').toStdString();
    }
}

class Start : public ::testing::Test
{
protected:
    void Open(const QStringList &args)
    {
        QCommandLineParser parser;
        const TStartOptions options = ParseStartOptions(parser, QStringList{"tarnwick"} + args);
        guard = std::make_unique<TMailGuard>(prompts);
        guard->SetDefaultMailProgram([] { return QString(); });
        window = std::make_unique<TfrmMain>(*guard, prompts);
        StartMainWindow(*window, *guard, options);
        CheckAtStart(*window, options);
    }

    TempHome home;
    TTestPrompts prompts;
    std::unique_ptr<TMailGuard> guard;
    std::unique_ptr<TfrmMain> window;
};

// In the notification area where the desktop has one; where it has none the window shows all
// the same, or the user would have no way in.
TEST_F(Start, HiddenStartsInTheNotificationAreaOnlyWhereThereIsOne)
{
    const bool host = TTrayIcon::IsAvailable();
    for (const bool hidden : {false, true}) {
        Open(hidden ? QStringList{"--hidden"} : QStringList{});
        EXPECT_EQ(window->isVisible(), !(hidden && host));
        EXPECT_EQ(window->Tray()->IsActive(), hidden && host);
        // A notification area that comes later (the panel starts after the program) takes it.
        guard->SetTrayAvailable(true);
        EXPECT_EQ(guard->sysTrayMode(), hidden);
    }
    EXPECT_FALSE(ReadGeneralSettings(UserSettings()).sysTray) << "the option is not a setting";
}

TEST_F(Start, CheckListsTheSelectedMailboxOnceStarted)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env && env->SeedMailbox("user38", {TestMessage(1), TestMessage(2)}, &error)) << error.toStdString();
    ServerSettings s;
    s.slot(1) = {env->Server(env->Pop3Port), "user38", env->Password, TlsMode::None, {}};
    UserSettings store;
    ASSERT_TRUE(saveServerSettings(store, s).ok());
    Open({"--check"});
    EXPECT_EQ(guard->Messages().Count(), 0) << "the check waits for the event loop";
    EXPECT_TRUE(WaitUntil([&] { return guard->Messages().Count() == 2; }, 30000)) << prompts.errors.join('\n').toStdString();
}

TEST(German, TheWindowsSpeakTheDesktopsLanguage)
{
    {
        QObject owner;
        ASSERT_EQ(InstallTranslators(QLocale(QLocale::German, QLocale::Germany), &owner), 2) << "ours and Qt's";
        EXPECT_EQ(TTrayIcon().actCheck->text(), "E-Mails auf Spam prüfen");
        EXPECT_EQ(TfrmWhichMailbox().windowTitle(), "Welches Postfach?");
        EXPECT_EQ(MarkName(2), "auf der Sperrliste");
    }
    EXPECT_EQ(TTrayIcon().actCheck->text(), "Check e-mail for spam") << "the translators went with their owner";

    // The program takes the language of the desktop, from its help text on.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", "de_DE.UTF-8");
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    program.setProcessEnvironment(env);
    program.start(TARNWICK_BINARY_DIR "/src/tarnwick", {"--help"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_TRUE(program.readAllStandardOutput().contains("Im Benachrichtigungsbereich starten, ohne Fenster."));

    QFile ts(TARNWICK_SOURCE_DIR "/translations/tarnwick_de.ts");
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ts.readAll().contains("type=\"unfinished\"")) << "build update_translations and translate";
}

TEST(Accessibility, PicturesWithoutTextHaveNamesAScreenReaderSpeaks)
{
    TTestPrompts prompts;
    TfrmAlwaysAccept accept(prompts);
    QStringList names;
    for (QAbstractButton *b : accept.pictures->buttons()) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(b);
        names << a->text(QAccessible::Name);
        EXPECT_EQ(a->text(QAccessible::Description), "accepted by an exception");
    }
    EXPECT_EQ(names.size(), 12);
    EXPECT_EQ(names.first() + ", " + names.last(), "Picture 1, Picture 12");
}

} // namespace
