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

QString AccessibleName(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("(no accessible interface)");
}

TEST(StartOptions, HiddenAndCheckAreReadAndAnythingElseIsAUsageError)
{
    struct Case
    {
        QStringList args;
        bool hidden, check;
        const char *problem; // start of the usage error; nullptr when none
    };
    const Case cases[] = {
        {{}, false, false, nullptr},
        {{"--hidden"}, true, false, nullptr},
        {{"--check", "--hidden"}, true, true, nullptr},
        {{"--hidden", "inbox"}, false, false, "unexpected argument inbox"},
        {{"--hide"}, false, false, "Unknown option 'hide'"},
    };
    for (const Case &c : cases) {
        QCommandLineParser parser;
        const TStartOptions o = ParseStartOptions(parser, QStringList{"tarnwick"} + c.args);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(o.problem.startsWith(c.problem ? c.problem : "\x01"), c.problem != nullptr) << o.problem.toStdString();
        EXPECT_EQ(o.hidden, c.hidden);
        EXPECT_EQ(o.check, c.check);
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
        window->SetQuitter([] {});
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
        SCOPED_TRACE(hidden ? "hidden" : "plain");
        EXPECT_EQ(window->isVisible(), !(hidden && host));
        EXPECT_EQ(window->Tray()->IsActive(), hidden && host);
        // A notification area that comes later (the panel starts after the program) takes it.
        guard->SetTrayAvailable(true);
        EXPECT_EQ(guard->sysTrayMode(), hidden);
    }
    // The stored setting was not changed by the option.
    EXPECT_FALSE(ReadGeneralSettings(UserSettings()).sysTray);
}

TEST_F(Start, CheckListsTheSelectedMailboxOnceStarted)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    ASSERT_TRUE(env->SeedMailbox("user38", {TestMessage(1), TestMessage(2), TestMessage(3)}, &error)) << error.toStdString();
    ServerSettings s;
    s.slot(1) = {env->Server(env->Pop3Port), "user38", env->Password, TlsMode::None, {}};
    {
        UserSettings store;
        ASSERT_TRUE(saveServerSettings(store, s).ok());
    }
    Open({"--check"});
    EXPECT_EQ(guard->Messages().Count(), 0) << "the check waits for the event loop";
    ASSERT_TRUE(WaitUntil([&] { return guard->Messages().Count() == 3; }, 30000)) << prompts.errors.join('\n').toStdString();
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST(German, TheWindowsSpeakTheDesktopsLanguage)
{
    {
        QObject owner;
        ASSERT_EQ(InstallTranslators(QLocale(QLocale::German, QLocale::Germany), &owner), 2)
            << "the program's and Qt's own translations";
        TTrayIcon tray;
        EXPECT_EQ(tray.actCheck->text(), "E-Mails auf Spam prüfen");
        TfrmWhichMailbox which;
        EXPECT_EQ(which.windowTitle(), "Welches Postfach?");
        EXPECT_EQ(MarkName(2), "auf der Sperrliste");
    }
    TTrayIcon english;
    EXPECT_EQ(english.actCheck->text(), "Check e-mail for spam") << "the translators went with their owner";

    // The program picks the language of the desktop, its help text on.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", "de_DE.UTF-8");
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    program.setProcessEnvironment(env);
    program.start(TARNWICK_BINARY_DIR "/src/tarnwick", {"--help"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_TRUE(program.readAllStandardOutput().contains("Im Benachrichtigungsbereich starten, ohne Fenster."));

    // Every text has its translation.
    QFile ts(TARNWICK_SOURCE_DIR "/translations/tarnwick_de.ts");
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ts.readAll().contains("type=\"unfinished\"")) << "run the target update_translations and translate";
}

TEST(Accessibility, PicturesWithoutTextHaveNamesAScreenReaderSpeaks)
{
    EXPECT_EQ(MarkName(0), "marked for deletion");
    EXPECT_EQ(MarkName(1), "suspect");
    EXPECT_EQ(MarkName(2), "on the blacklist");
    for (int mark = 3; mark <= 14; ++mark)
        EXPECT_EQ(MarkName(mark), "accepted by an exception") << mark;
    EXPECT_TRUE(MarkName(-1).isEmpty());

    TTestPrompts prompts;
    TfrmAlwaysAccept accept(prompts);
    QStringList names;
    for (QAbstractButton *b : accept.pictures->buttons()) {
        names << AccessibleName(b);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Description), "accepted by an exception");
    }
    EXPECT_EQ(names.size(), 12);
    EXPECT_EQ(names.first(), "Picture 1");
    EXPECT_EQ(names.last(), "Picture 12");
}

} // namespace
