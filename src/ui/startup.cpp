#include "startup.h"

#include "mailguard.h"
#include "mainwindow.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

TStartOptions ParseStartOptions(QCommandLineParser &parser, const QStringList &arguments)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Checks your POP3 mailboxes and deletes spam on the server before it is downloaded."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption hidden(
        QStringLiteral("hidden"), QCoreApplication::translate("main", "Start in the notification area, without the window."));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QCoreApplication::translate("main", "Check the selected mailbox as soon as the program has started."));
    // For scripts/demo: check the mailbox, save a picture of the main window and end.
    QCommandLineOption screenshot(QStringLiteral("demo-screenshot"), QStringLiteral("Save the window as FILE."),
                                  QStringLiteral("FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({hidden, check, screenshot});

    TStartOptions options;
    if (!parser.parse(arguments))
        options.problem = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        options.problem =
            QCoreApplication::translate("main", "unexpected argument %1").arg(parser.positionalArguments().first());
    if (!options.problem.isEmpty())
        return options;
    options.help = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    options.version = parser.isSet(version);
    options.hidden = parser.isSet(hidden);
    options.check = parser.isSet(check);
    options.screenshot = parser.value(screenshot);
    return options;
}

void StartMainWindow(TfrmMain &window, TMailGuard &guard, const TStartOptions &options)
{
    guard.SetStartInTray(options.hidden);
    window.FormCreate();
}

void CheckAtStart(TfrmMain &window, const TStartOptions &options)
{
    if (options.check)
        QTimer::singleShot(0, &window, &TfrmMain::btListClick);
}
