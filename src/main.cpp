// Tarnwick: a POP3 mail guard for the Linux desktop.

#include "boxprompts.h"
#include "language.h"
#include "files.h"
#include "firstpaint.h"
#include "mailguard.h"
#include "mainwindow.h"
#include "notifications.h"
#include "oldfolders.h"
#include "pictures.h"
#include "settings.h"
#include "singleinstance.h"
#include "splash.h"
#include "startup.h"
#include "trayicon.h"
#include "unattendedprompts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

// The files that ship with the program live in the data folder, where the user may replace
// them; a missing one is put back at start. A file the user already has is never touched.
// The installed copy is taken when there is one (a packager may replace the starter
// blacklist), else the one compiled in. The copy is made writable: a resource and an
// installed file copy read-only, and the user edits the blacklist.
void InstallShippedFiles()
{
    for (const QString &name : {QStringLiteral("harptune.wav"), QStringLiteral("known.lst")}) {
        const QString file = DataFile(name);
        QString shipped = ShippedFile(name);
        if (shipped.isEmpty())
            shipped = QStringLiteral(":/") + name;
        if (!QFileInfo::exists(file) && QFile::copy(shipped, file))
            QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                            | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
}

int RunForScreenshot(const QString &file)
{
    // Nobody watches the demo's screenshot under Xvfb: nothing may wait for a click.
    TUnattendedPrompts prompts(QStringLiteral("tarnwick"));
    TMailGuard guard(prompts);
    TfrmMain window(guard, prompts);
    window.SetQuitter([] {});
    window.FormCreate();
    window.resize(window.minimumSizeHint().width(), 560);
    window.btListClick();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "tarnwick: cannot write the picture %s\n", qPrintable(file));
        return 1;
    }
    return prompts.errors == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QApplication::setDesktopFileName(QStringLiteral("tarnwick"));
    QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    QApplication::setWindowIcon(Picture(QStringLiteral("tarnwick")));
    // In tray mode the program lives on with no window open.
    QApplication::setQuitOnLastWindowClosed(false);

    // The texts in the language of the desktop, from the first (the help) on.
    InstallTranslators(QLocale::system(), &app);
    QCommandLineParser parser;
    const TStartOptions options = ParseStartOptions(parser, QApplication::arguments());
    // A usage error ends with status 2, as with tarnwick-cli and tarnwick-classify (Qt's own
    // handling would end with 1).
    if (!options.problem.isEmpty()) {
        std::fprintf(stderr, "tarnwick: %s\n\n%s", qPrintable(options.problem), qPrintable(parser.helpText()));
        return 2;
    }
    if (options.help)
        parser.showHelp(0);
    if (options.version)
        parser.showVersion();

    if (!options.screenshot.isEmpty()) {
        InstallShippedFiles();
        return RunForScreenshot(options.screenshot);
    }

    // A second start only brings the running program forward.
    TSingleInstance instance;
    if (!instance.Start())
        return 0;

    auto *splash = new TfrmSplash();
    splash->show();
    app.processEvents();

    // Before anything reads a setting or a rule list: the first builds kept them elsewhere.
    const FolderMove moved = MoveOldFolders();
    // Passwords an older version scrambled into the settings file go to the desktop keyring.
    const SecretMove secrets = [] {
        UserSettings settings;
        return MoveScrambledPasswordsToKeyring(settings);
    }();
    InstallShippedFiles();
    TBoxPrompts prompts;
    TMailGuard guard(prompts);
    TfrmMain window(guard, prompts);
    TFirstPaintProbe::Watch(window);
    TNotifications notifications(guard, QDBusConnection::sessionBus());
    notifications.SetFallback([&window](const TNotice &notice) {
        window.Tray()->ShowMessage(notice.summary, notice.body, notice.trouble);
    });
    QObject::connect(&instance, &TSingleInstance::showRequested, &window, &TfrmMain::ShowMainScreen1Click);
    StartMainWindow(window, guard, options);
    for (const QString &text : moved.moved + moved.problems + secrets.moved)
        guard.Log().logFolderMove(text);
    if (!secrets.problem.isEmpty())
        guard.Log().logFolderMove(secrets.problem);
    splash->Ready();
    if (!moved.problems.isEmpty())
        prompts.ErrorBox(moved.problems.join(QStringLiteral("\n\n")));
    CheckAtStart(window, options);

    const int result = app.exec();
    window.SaveAtExit();
    return result;
}
