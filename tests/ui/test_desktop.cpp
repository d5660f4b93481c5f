// The program in the desktop's language.

#include "language.h"
#include "trayicon.h"
#include "ui_test.h"
#include "which.h"

namespace {

TEST(German, TheWindowsSpeakTheDesktopsLanguage)
{
    {
        QObject owner;
        ASSERT_EQ(InstallTranslators(QLocale(QLocale::German, QLocale::Germany), &owner), 2) << "ours and Qt's";
        EXPECT_EQ(TTrayIcon().actCheck->text(), "E-Mails auf Spam prüfen");
        EXPECT_EQ(TfrmWhichMailbox().windowTitle(), "Welches Postfach?");
    }
    EXPECT_EQ(TTrayIcon().actCheck->text(), "Check e-mail for spam") << "the translators went with their owner";

    // The program takes the language of the desktop, from its first words on; a usage error
    // ends with status 2.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", "de_DE.UTF-8");
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    program.setProcessEnvironment(env);
    program.start(TARNWICK_BINARY_DIR "/src/tarnwick", {"--hidden", "inbox"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
    const QString said = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(said.contains("tarnwick: unerwartetes Argument inbox")) << said.toStdString();
    EXPECT_TRUE(said.contains("Im Benachrichtigungsbereich starten, ohne Fenster.")) << said.toStdString();

    QFile ts(TARNWICK_SOURCE_DIR "/translations/tarnwick_de.ts");
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ts.readAll().contains("type=\"unfinished\"")) << "build update_translations and translate";
}

} // namespace
