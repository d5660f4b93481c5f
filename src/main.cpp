// Tarnwick: a POP3 mail guard for the Linux desktop.

#include "boxprompts.h"
#include "files.h"
#include "mailguard.h"
#include "mainwindow.h"
#include "oldfolders.h"
#include "pictures.h"
#include "singleinstance.h"
#include "splash.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
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

// Prompts for a run nobody watches (the demo's screenshot under Xvfb): texts go to standard
// error, questions are answered No, so nothing can wait for a click that never comes.
class TUnattendedPrompts final : public TPrompts
{
public:
    int errors = 0;
    void ErrorBox(const QString &text) override
    {
        ++errors;
        std::fprintf(stderr, "tarnwick: %s\n", qPrintable(text));
    }
    void InfoBox(const QString &text) override { std::fprintf(stderr, "tarnwick: %s\n", qPrintable(text)); }
    bool AskYesNo(const QString &text) override
    {
        std::fprintf(stderr, "tarnwick: %s (answered No)\n", qPrintable(text));
        return false;
    }
    int ChooseMailbox(const QList<TMailboxEntry> &, int current) override { return current; }
    bool AskTrustCertificate(int, const QString &message, const QString &) override
    {
        ErrorBox(message);
        return false;
    }
};

// "--demo-screenshot FILE": the one option, for scripts/demo: check the mailbox, save a
// picture of the main window and end. Everything else starts the program as usual.
QString ScreenshotFile(const QStringList &args)
{
    const qsizetype at = args.indexOf(QStringLiteral("--demo-screenshot"));
    return at > 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

int RunForScreenshot(const QString &file)
{
    TUnattendedPrompts prompts;
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

    if (const QString shot = ScreenshotFile(QApplication::arguments()); !shot.isEmpty()) {
        InstallShippedFiles();
        return RunForScreenshot(shot);
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
    InstallShippedFiles();
    TBoxPrompts prompts;
    TMailGuard guard(prompts);
    TfrmMain window(guard, prompts);
    QObject::connect(&instance, &TSingleInstance::showRequested, &window, &TfrmMain::ShowMainScreen1Click);
    window.FormCreate();
    for (const QString &text : moved.moved + moved.problems)
        guard.Log().logFolderMove(text);
    splash->Ready();
    if (!moved.problems.isEmpty())
        prompts.ErrorBox(moved.problems.join(QStringLiteral("\n\n")));

    const int result = app.exec();
    window.SaveAtExit();
    return result;
}
