#pragma once

#include <QString>
#include <QStringList>

// The first builds kept the settings in "~/.config/Ostrand Corporation/Tarnwick.ini" and the
// rule lists, blacklist and log in "~/.local/share/Ostrand Corporation/Tarnwick": a vendor
// name with a blank in it, which breaks unquoted shell and cron lines. They now live in
// "~/.config/tarnwick/settings.ini" and "~/.local/share/tarnwick/" (the XDG variables
// honoured); this moves what it finds in the old places there, once, at start.
struct FolderMove
{
    // What was moved, one sentence each, for the activity log.
    QStringList moved;
    // What was left in the old place and why, with what to do: for the user and the log.
    QStringList problems;
};

// The old places, below the XDG base folders as they are now.
QString OldSettingsFile();
QString OldDataFolder();

// Moves the old settings file and everything in the old data folder to the new places.
// A file already in the new place is never overwritten: the old one stays and a problem
// says so; so does a move that fails. Settings that name a file in the old data folder
// (the log, the alarm sound) are changed to name it in the new one. Emptied old folders are
// removed. Nothing happens with $TARNWICK_HOME set: that folder holds everything already.
FolderMove MoveOldFolders();
