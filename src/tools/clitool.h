#pragma once

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QString>

#include <cstdio>

// What the parts of tarnwick-cli share: its output channels and the usage error.
namespace cli {

// text as UTF-8 on stream, flushed.
void write(FILE *stream, const QString &text);
// Standard output, as UTF-8, flushed.
void out(const QString &text);
// Standard error, one line, after the program's name.
void err(const QString &text);
// Says what is wrong with the command line and where the help is; returns the usage status.
int usage(const QString &problem);
// One JSON document on standard output, for scripts.
void outJson(const QJsonDocument &document);

inline constexpr int kExitUsage = 2;

// A mailbox slot number, 1 ... 12.
bool ParseSlot(const QString &text, int &slot);

// "mailbox set N" (args: what follows "set") and "mailbox list".
int MailboxSet(const QCommandLineParser &parser, const QStringList &args);
int MailboxList(bool json);
// The IMAP options of "mailbox set": those that take a value, then the switches.
inline constexpr const char *kImapValuedOptions[] = {"protocol", "folder", "imap-delete", "junk-folder",
                                                     "trash-folder", "max-unseen"};
inline constexpr const char *kImapFlagOptions[] = {"whole-folder", "unseen-only"};
// "mailbox test N": log in, read what the server offers, log out.
int MailboxTest(const QStringList &args);

// "rules": its options, its part of --help, and the command itself (the parser holds the
// arguments after "rules"). The data folder is set up before it runs.
void AddRulesOptions(QCommandLineParser &parser);
extern const char kRulesHelp[];
int Rules(const QCommandLineParser &parser);

} // namespace cli
