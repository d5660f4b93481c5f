#pragma once

#include "activitylog.h"
#include "knownlist.h"
#include "ras.h"
#include "settings.h"
#include "slotcheck.h"
#include "spamsettings.h"

#include <QStringList>

// Where the files read at start go: the settings, the rule lists and blacklist, the activity
// log (named by the settings) and the dial-up entry.
struct TRunFiles
{
    UserSettings &settings;
    GeneralSettings &general;
    ServerSettings &servers;
    TSpamSettings &spam;
    TKnownList &known;
    TagRas &ras;
    ActivityLog &log;
};

// Reads everything a run of checks works with, the same way for the window and for
// tarnwick-cli. Returns the problems met, each saying which file and what to do; what could not
// be read stays empty or at its default.
QStringList LoadRunFiles(const TRunFiles &files);

// Everything one window's checks work with, owned together.
struct TRunParts
{
    TRunParts() : evaluator(spam, known, &messages) {}
    TRunParts(const TRunParts &) = delete;
    TRunParts &operator=(const TRunParts &) = delete;

    QStringList Load() { return LoadRunFiles({settings, general, servers, spam, known, ras, log}); }
    TCheckParts Check() { return {evaluator, messages, log, settings, general, spam}; }

    UserSettings settings;
    GeneralSettings general;
    ServerSettings servers;
    TSpamSettings spam;
    TKnownList known;
    TMessageListModel messages;
    TRuleEvaluator evaluator;
    TagRas ras;
    ActivityLog log;
};
