// The program in the desktop's language.

#include "activitylog.h"
#include "connectiontest.h"
#include "language.h"
#include "neterrors.h"
#include "sasl.h"
#include "slotcheck.h"
#include "trayicon.h"
#include "ui_test.h"
#include "which.h"
#include "wording.h"

namespace {

TEST(German, TheWindowsSpeakTheDesktopsLanguage)
{
    {
        QObject owner;
        ASSERT_EQ(InstallTranslators(QLocale(QLocale::German, QLocale::Germany), &owner), 2) << "ours and Qt's";
        EXPECT_EQ(TTrayIcon().actCheck->text(), "E-Mails auf Spam prüfen");
        EXPECT_EQ(TfrmWhichMailbox().windowTitle(), "Welches Postfach?");

        // What the mail clients and the guard say comes in German too, built around the
        // server's own words; the activity log keeps the English of it.
        TTaskResult refused;
        refused.serverRefused = true;
        refused.text = SaslRefusalMessage(SaslMechanism::UserPass, {}, QStringLiteral("-ERR no"));
        const QString refusedGerman = QStringLiteral("Der Server hat Benutzername oder Passwort abgelehnt (der Server "
                                                     "sagte: -ERR no). Prüfen Sie beides in den Einstellungen des Postfachs");
        const struct { QString made, german; } texts[] = {
            {NetMessage(NetText::kTimedOut), "Zeitüberschreitung bei der Operation"},
            {TConnectionReport{}.Lines().value(0), "Verbindungstest fehlgeschlagen."},
            {refused.text, refusedGerman},
            {FailureText(refused, 2, "pop.example", {}),
             "Der Server pop.example hat die Anfrage abgelehnt: " + refusedGerman
                 + "\nWenn er die Anmeldung abgelehnt hat, prüfen Sie Benutzername und Passwort von Postfach 2 in "
                   "den allgemeinen Einstellungen."}};
        for (const auto &text : texts)
            EXPECT_EQ(text.made.toStdString(), text.german.toStdString());
        QTemporaryDir folder;
        ActivityLog log(folder.filePath("log.txt"));
        log.logError(refused.text, "user", "pop.example");
        QFile logged(folder.filePath("log.txt"));
        ASSERT_TRUE(logged.open(QIODevice::ReadOnly));
        EXPECT_TRUE(logged.readAll().startsWith("ERROR The server refused the user name or password (the server said: "
                                                "-ERR no). Check both in the mailbox's settings FOR user ON pop.example"));
        // The English of what was shown is remembered for the log, but not without end.
        for (int code = 0; code < 300; ++code)
            EXPECT_EQ(QString(Said("Net", "Error #%1").arg(code)), QStringLiteral("Fehler Nr. %1").arg(code));
        EXPECT_EQ(LoggedWording("Fehler Nr. 299"), "Error #299");
        EXPECT_EQ(LoggedWording("Fehler Nr. 0"), "Fehler Nr. 0") << "the oldest is forgotten";
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
