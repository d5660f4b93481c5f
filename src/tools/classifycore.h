#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include "headers.h"

// The part of "classify" that tarnwick-classify and "tarnwick-cli classify" share: mark saved
// mail messages with the rule lists and the blacklist of a data folder, the way a mailbox
// check would, without changing anything there.

// The arguments both front ends accept for classifying: "--why" and file names, with "--"
// ending the options (a single "-" is a file name as well).
struct ClassifyArguments
{
    bool why = false;
    QStringList files;

    // Takes arg when it is one of these; false for any other option, which the caller then
    // handles itself or refuses.
    bool Take(const QString &arg);

private:
    bool optionsDone = false;
};

// The header lines of a message file: everything up to the first empty line, split at LF
// with a CR before it dropped.
TmsHeaders ReadHeaderLines(const QByteArray &bytes);

// Reads the rules of folder, then prints one line per file ("mark TAB file", and with why
// the reasons, indented) through out; warnings and unreadable files go to err (without a
// program name or line end). Returns 0 when every file was read, 1 otherwise.
int ClassifyFiles(const QString &folder, const QStringList &files, bool why,
                  const std::function<void(const QString &)> &out,
                  const std::function<void(const QString &)> &err);
