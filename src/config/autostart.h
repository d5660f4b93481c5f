#pragma once

#include <QString>

// Starting Tarnwick with the desktop session: an entry in the session's autostart folder
// ("tarnwick.desktop" in $XDG_CONFIG_HOME/autostart, else ~/.config/autostart). The entry
// itself is the setting: it exists or it does not, so a session manager's or the user's own
// change is what the Start Up tab shows next time.

// The entry's full path.
QString AutostartFile();

// True when the entry exists and is not switched off by "Hidden=true" or
// "X-GNOME-Autostart-enabled=false" (what desktops write when the user turns it off there).
bool IsAutostartEnabled();

// The entry's text for a program at that absolute path; the path is quoted and escaped as
// desktop entries require, so any name works (blanks, quotes, "$", "%").
QString AutostartEntry(const QString &program);

// Writes the entry (creating the folder, replacing any old entry whole) or removes it.
// Removing an entry that does not exist succeeds. On failure errorText says what went
// wrong and what to do, and the result is false.
bool SetAutostart(bool enabled, const QString &program, QString *errorText = nullptr);
