#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;
class TfrmMain;
class TMailGuard;

// What the window program was asked on its command line.
struct TStartOptions
{
    bool hidden = false;    // --hidden: start in the notification area
    bool check = false;     // --check: check the selected mailbox at once
    bool help = false;
    bool version = false;
    QString screenshot;     // --demo-screenshot FILE (for scripts/demo)
    QString problem;        // a usage error; the program ends with status 2
};

// Declares the options on parser (whose help text the program prints) and reads arguments
// (the program's name first).
TStartOptions ParseStartOptions(QCommandLineParser &parser, const QStringList &arguments);

// Sets the main window up, hidden to the notification area when the options ask (where the
// desktop has one; otherwise the window shows, so the user is never left without a way in).
void StartMainWindow(TfrmMain &window, TMailGuard &guard, const TStartOptions &options);
// When the options ask: a check of the selected mailbox as soon as the event loop runs. Called
// after whatever the start has to tell in a box, so that the check does not run under it.
void CheckAtStart(TfrmMain &window, const TStartOptions &options);
