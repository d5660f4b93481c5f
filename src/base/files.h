#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The per-user base folders: $XDG_CONFIG_HOME or ~/.config, $XDG_DATA_HOME or ~/.local/share.
QString XdgConfigHome();
QString XdgDataHome();

// Where the user's files live: $TARNWICK_HOME when set, else XdgDataHome() + "/tarnwick".
// The folder is created when it does not exist yet.
QString DataFolder();
// DataFolder() + "/" + name
QString DataFile(const QString &name);

// The files that ship with the program (the starter blacklist, the alarm sound, the manual
// under "help/"), found where they were installed. Looked for in order: $TARNWICK_DATA_DIR;
// "../share/tarnwick" beside the program's folder (an installation under any prefix, also one
// unpacked somewhere else; the build tree links the source tree's "data" folder there, so a
// program run from its build folder finds it the same way). Empty when none has the file. ShippedFileIn does the same for a given program
// folder.
QString ShippedFile(const QString &name);
QString ShippedFileIn(const QString &programFolder, const QString &name);

// Reads a whole text file (UTF-8, or Latin-1 when it is not valid UTF-8; CR LF or LF) as
// lines. Empty optional when the file does not exist or cannot be read; errorText (when
// given) then says why, and stays empty for a file that simply is not there.
std::optional<QStringList> ReadTextLines(const QString &path, QString *errorText = nullptr);

// Writes lines, each ended by LF, in UTF-8, all or nothing: the text goes to a temporary
// file beside the target that replaces it only when everything was written. On failure the
// old file stays whole and errorText says what went wrong.
bool WriteTextLines(const QString &path, const QStringList &lines, QString *errorText = nullptr);
bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *errorText = nullptr);
