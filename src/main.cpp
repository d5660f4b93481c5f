// Tarnwick: a POP3 mail guard for the Linux desktop.

#include "boxprompts.h"
#include "files.h"
#include "mailguard.h"
#include "mainwindow.h"
#include "pictures.h"
#include "singleinstance.h"
#include "splash.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// The files that ship with the program live in the data folder, where the user may replace
// them; a missing one is put back at start. A file the user already has is never touched.
void InstallShippedFiles()
{
    const QString sound = DataFile(QStringLiteral("harptune.wav"));
    if (!QFileInfo::exists(sound) && QFile::copy(QStringLiteral(":/harptune.wav"), sound))
        QFile::setPermissions(sound, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                         | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrand Corporation"));
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    QApplication::setWindowIcon(Picture(QStringLiteral("tarnwick")));
    // In tray mode the program lives on with no window open.
    QApplication::setQuitOnLastWindowClosed(false);

    // A second start only brings the running program forward.
    TSingleInstance instance;
    if (!instance.Start())
        return 0;

    auto *splash = new TfrmSplash();
    splash->show();
    app.processEvents();

    InstallShippedFiles();
    TBoxPrompts prompts;
    TMailGuard guard(prompts);
    TfrmMain window(guard, prompts);
    QObject::connect(&instance, &TSingleInstance::showRequested, &window, &TfrmMain::ShowMainScreen1Click);
    window.FormCreate();
    splash->Ready();

    const int result = app.exec();
    window.SaveAtExit();
    return result;
}
