// The program among the desktop's others: its command line, its German texts, and what a
// screen reader says for its pictures.

#include "language.h"
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
