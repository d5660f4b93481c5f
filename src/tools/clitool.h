#pragma once

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QString>

// What the parts of tarnwick-cli share: its output channels and the usage error.
namespace cli {

// Standard output, as UTF-8, flushed.
void out(const QString &text);
// Standard error, one line, after the program's name.
void err(const QString &text);
// Says what is wrong with the command line and where the help is; returns the usage status.
int usage(const QString &problem);
// One JSON document on standard output, for scripts.
void outJson(const QJsonDocument &document);

inline constexpr int kExitUsage = 2;

// "rules": its options, its part of --help, and the command itself (the parser holds the
// arguments after "rules"). The data folder is set up before it runs.
void AddRulesOptions(QCommandLineParser &parser);
extern const char kRulesHelp[];
int Rules(const QCommandLineParser &parser);

} // namespace cli
