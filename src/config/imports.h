#pragma once

#include "settings.h"
#include "settingsstore.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What the general settings take over from other programs on a fresh installation: the first
// mailbox from a mail client's account, and the command that starts the user's mail program.
// Nothing here ever fails loudly: settings that are missing, unreadable or odd simply give
// nothing, and the user fills the boxes by hand.
//
// The parsers are pure functions over text; the few functions that look at the disk or run
// a program say so.

// A mailbox found in another program's settings; no password is ever taken over.
struct ImportedMailbox
{
    QString server;  // host, or host:port when the port is not the usual one for tls
    QString mailbox; // user name on the server; may be empty
    TlsMode tls = TlsMode::None;

    bool operator==(const ImportedMailbox &) const = default;
};

// ---- Thunderbird ----

struct ThunderbirdProfile
{
    QString path;
    bool isRelative = true; // relative to the folder of profiles.ini

    bool operator==(const ThunderbirdProfile &) const = default;
};

// The profiles of a profiles.ini, the one Thunderbird opens by itself first: the default of
// an "Install..." section, then the profile marked Default=1, then the others in file order.
QList<ThunderbirdProfile> ParseThunderbirdProfiles(const QString &profilesIni);

// The user_pref(...) lines of a prefs.js: name -> value. Strings are unescaped; numbers and
// true/false are kept as written. Lines that are not a well-formed user_pref are skipped.
QHash<QString, QString> ParsePrefsJs(const QString &prefsJs);

// The first account of the account manager's list whose server is POP3 (without that list:
// the POP3 server with the lowest number). Nothing when there is none or it has no host.
std::optional<ImportedMailbox> FirstPop3Account(const QHash<QString, QString> &prefs);

// Reads the disk: the profiles.ini found in the usual places under home (the plain, Flatpak
// and Snap installations), then each profile's prefs.js in turn until one has a POP3 account.
std::optional<ImportedMailbox> ImportThunderbirdMailbox(const QString &home);

// ---- the desktop's mail program ----

// The program of a .desktop file as a command line for QProcess::splitCommand: the Exec key
// of the [Desktop Entry] group, unescaped and split by the desktop-entry rules, without the
// file and URL field codes (%f %F %u %U and the deprecated ones); %c becomes the Name, %k the
// file's own path (desktopFilePath) and %i "--icon" with the Icon, as the desktop would do.
// Empty when the entry has no Exec key or its quoting is broken.
QString DesktopEntryCommand(const QString &desktopFileText, const QString &desktopFilePath = {});

// Where a desktop id ("org.example.Mail.desktop", or "kde4-kmail.desktop" for a file in a
// sub-folder) may live: each data folder's "applications" folder, in order. An id that is not
// a plain .desktop file name (a path, "..") gives nothing.
QStringList DesktopFileCandidates(const QString &desktopId, const QStringList &dataFolders);

// The data folders to search: $XDG_DATA_HOME (else ~/.local/share), then $XDG_DATA_DIRS
// (else /usr/local/share and /usr/share).
QStringList XdgDataFolders();

// Runs `xdg-mime query default x-scheme-handler/mailto` (a few seconds at most), finds the
// .desktop file and returns its command; empty when any step finds nothing.
QString MailtoHandlerCommand();

// ---- the Windows programs' settings, read through the machine store ----
// On Linux the machine store is empty and these find nothing; they stay so that a store
// that does hold those values is read the way the old program read them.

// The command stored for mail links, cut after its program: a RUNDLL32 command loses its
// last three characters (" %1"); otherwise everything after the first "EXE" goes.
QString TrimMailLinkCommand(const QString &command);

// The mail program: Eudora's registered path when the file exists, else the machine store's
// mail-link command trimmed, else mailtoHandler()'s command (the desktop's handler).
QString GetMailPath(const SettingsReader &machine,
                    const std::function<QString()> &mailtoHandler = MailtoHandlerCommand);

// Eudora's "POPAccount" (user@host, or only the host) from the Eudora.ini beside its
// registered program folder.
std::optional<ImportedMailbox> CheckEudora(const SettingsReader &machine);
// Netscape Navigator's "POP Name" and "POP_Server".
std::optional<ImportedMailbox> CheckNetscape(const SettingsReader &machine);

// Section names of the machine store that the functions above read.
namespace MachineKeys {
inline const QString EudoraAppPath =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Eudora.exe");
inline const QString MailtoCommand = QStringLiteral("SOFTWARE\\Classes\\mailto\\shell\\open\\command");
inline const QString NetscapeMail = QStringLiteral("SOFTWARE\\Netscape\\Netscape Navigator\\Mail");
inline const QString NetscapeServices =
    QStringLiteral("SOFTWARE\\Netscape\\Netscape Navigator\\Services");
} // namespace MachineKeys
