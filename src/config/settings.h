#pragma once

#include "encrypt.h"
#include "lognaming.h"
#include "settingsstore.h"

#include <QList>
#include <QSet>
#include <QString>
#include <array>
#include <optional>

// The typed view of the user's settings: every value with its section, name and default.
// Reading never fails: a missing or unusable value takes its default. Saving writes through
// UserSettings and reports a failure in words the user can act on.

namespace SettingsSection {
inline const QString General = QStringLiteral("General");
inline const QString Logfile = QStringLiteral("Logfile");
inline const QString Server = QStringLiteral("Server");
// Column widths of the four rule-list tables.
inline const QString Subject = QStringLiteral("Subject");
inline const QString Headers = QStringLiteral("Headers");
inline const QString Sender = QStringLiteral("Sender");
inline const QString Exceptions = QStringLiteral("Exceptions");
} // namespace SettingsSection

struct GeneralSettings
{
    QString logFile;           // "Logfile": the activity log; blank = no log
    QString mailer;            // "Mailer": command line of the mail program
    QString alarmFile;         // "AlarmFile": sound played when mail is waiting
    bool automatic = false;    // "Automatic"
    bool ask = true;           // "Ask": confirm interactive deletions
    bool kill = false;         // "Kill": delete spam unattended without asking
    int minutes = 10;          // "Minutes": between automatic checks; at least 1
    bool launch = true;        // "Launch": start the mail program after deleting
    bool exitAfterCheck = false; // "Exit": leave when no mail is waiting
    bool alarm = true;         // "Alarm"
    bool repeat = true;        // "Repeat": repeat the alarm until a key or click
    int ras = 0;               // "RAS": 0 = no dial-up, k = the k-th phone-book entry
    qint64 count = 0;          // "Count": spam messages deleted so far
    bool sysTray = false;      // "SysTray": start in the notification area
    LogNaming logNaming = LogNaming::AsIs; // "Asis" / "Month" / "Quarter" of "Logfile"
    bool notify = true;        // "Notify": desktop notifications about automatic checks

    bool operator==(const GeneralSettings &) const = default;
};

// How a mailbox is reached on the wire; stored as "Tls"n.
enum class TlsMode { None = 0, Implicit = 1, StartTls = 2 };

// Which protocol reads a mailbox; stored as "Protocol"n.
enum class MailProtocol { Pop3 = 0, Imap = 1 };

// What deleting a message of an IMAP mailbox does; stored as "ImapDelete"n, "junk", "trash" or
// "delete". Moving to Junk comes first: a wrong mark stays recoverable.
enum class ImapDeletion { Junk = 0, Trash = 1, Delete = 2 };
QString ImapDeletionName(ImapDeletion deletion);
// Nothing for a text that names no action (case-insensitive).
std::optional<ImapDeletion> ImapDeletionFromName(const QString &name);

// The unseen messages an IMAP check looks at: newest first, this many by default, never more
// than the most (a folder's whole content is a separate choice).
constexpr int kDefaultMaxUnseen = 500;
constexpr int kMostMaxUnseen = 100000;

// How a mailbox logs in; stored as "Login"n, "password" or "oauth2".
enum class MailboxLogin { Password = 0, OAuth2 = 1 };

// Where a mailbox's secrets (password, refresh token) live; stored as "Secrets"n.
enum class SecretPlace {
    // No value: a settings file from before the keyring. The password is scrambled in the
    // file until the first start with a keyring moves it there.
    Unchosen,
    File,     // "file": scrambled in the settings file, because the user chose so
    Keyring,  // "keyring": the desktop keyring (Secret Service); the file holds none
    Command,  // "command": secretCommand prints it at each log-in; nothing is stored
};

struct MailboxSlot
{
    QString server;      // "Server"n
    QString mailbox;     // "Mailbox"n: the user name on the server
    // The secret the log-in sends: the password, or with OAuth2 the access token. Where it is
    // kept says secrets: "Passwd"n scrambled, the keyring, or the command's output.
    QString password;
    // "Tls"n. A new mailbox starts with TLS, and so does a slot read without server and
    // user name; a stored mailbox keeps its choice, plain POP3 when it has no value.
    TlsMode tls = TlsMode::Implicit;
    QString fingerprint; // "Fingerprint"n: SHA-256 of a certificate trusted by hand, hex
    // "Pipelining"n: ask the server for CAPA and send the listing's commands in a window when
    // it can take them; off gives one command at a time for servers that mishandle it.
    bool pipelining = true;
    // "Protocol"n: POP3 for a slot stored before IMAP was offered, and for a value that names
    // no protocol.
    MailProtocol protocol = MailProtocol::Pop3;
    // "Folder"n: the IMAP folder that is checked; INBOX when none is stored.
    QString folder = QStringLiteral("INBOX");
    // "ImapDelete"n: junk when none or an unknown action is stored.
    ImapDeletion imapDelete = ImapDeletion::Junk;
    // "JunkFolder"n, "TrashFolder"n: where moved messages go on a server that marks no folder
    // with the \Junk or \Trash use.
    QString junkFolder = QStringLiteral("Junk");
    QString trashFolder = QStringLiteral("Trash");
    // "MaxUnseen"n: 1 ... kMostMaxUnseen; a stored value below 1 or no number gives the default,
    // one above the most gives the most.
    int maxUnseen = kDefaultMaxUnseen;
    // "WholeFolder"n: every message of the folder, seen or not (for a first clean-up).
    bool wholeFolder = false;

    MailboxLogin login = MailboxLogin::Password;
    SecretPlace secrets = SecretPlace::Unchosen;
    QString secretCommand = {}; // "SecretCommand"n: run through /bin/sh; its first line is the secret
    QString refreshToken = {};  // OAuth2's long-lived secret ("Refresh"n scrambled in the file)

    // "user@server": names the slot's secrets in the keyring.
    QString account() const { return mailbox + QLatin1Char('@') + server.trimmed(); }

    bool operator==(const MailboxSlot &) const = default;
};

struct ServerSettings
{
    int which = 1; // "Which": the slot selected in the dialog, 1 ... 12
    std::array<MailboxSlot, kMailboxSlots> mailboxes;

    // Slot n, counted from 1 as the settings do.
    MailboxSlot &slot(int n) { return mailboxes.at(std::size_t(n - 1)); }
    const MailboxSlot &slot(int n) const { return mailboxes.at(std::size_t(n - 1)); }

    bool operator==(const ServerSettings &) const = default;
};

// Every value of "General" but "Points", and the log naming of "Logfile".
GeneralSettings ReadGeneralSettings(const SettingsReader &settings);
bool SaveGeneralSettings(UserSettings &settings, const GeneralSettings &general);

// One mailbox slot (1 ... 12) as the file has it, its password unscrambled; secrets kept in the
// keyring or printed by a command are not looked up. A stored password that cannot be
// unscrambled reads as empty and *warning says so (never what was stored).
MailboxSlot ReadMailboxSlot(const SettingsReader &settings, int slot, QString *warning = nullptr);

enum class SecretLookup {
    All,         // the keyring's secrets, and the commands run
    NoCommands,  // the keyring's secrets; a command slot's password stays empty
    FileOnly,    // what the file holds: no keyring, no command (to pick mailboxes, not to log in)
};

// "Which" and all twelve slots with their secrets; warnings collects one line per slot whose
// secret could not be had (damaged, not in the keyring, the keyring or the command failing).
ServerSettings readServerSettings(const SettingsReader &settings, QStringList *warnings = nullptr,
                                  SecretLookup lookup = SecretLookup::All);

// Scrambled passwords in slots whose place was never chosen move into the desktop keyring,
// each only once the keyring holds it. Asks the keyring only when there is one to move.
struct SecretMove {
    QStringList moved;   // one line per mailbox moved
    QString problem;     // the keyring or the file failed: the rest stay where they were
};
SecretMove MoveScrambledPasswordsToKeyring(UserSettings &settings);

// Text that is empty or made only of blanks, CR, LF and backspace (a tab is not blank).
bool IsBlankText(const QString &text);

enum class SlotField { Server, Mailbox, Password };

// A slot the user must complete before it can be stored.
struct SlotProblem
{
    int slot = 0;
    SlotField field = SlotField::Server; // the box to put the focus in
    QString message;                     // shown as it stands
};

// A slot is complete when it is wholly empty or has a server, a user name and a secret: a
// password, a command that prints it, or for OAuth2 a refresh token.
std::optional<SlotProblem> CheckMailboxSlot(const MailboxSlot &slot, int n);

struct ServerSaveResult
{
    std::optional<SlotProblem> problem; // the first incomplete slot; it and later slots were
                                        // not written
    QString error;                      // the file could not be written
    bool ok() const { return !problem && error.isEmpty(); }
};

// Stores "Which", then slot after slot. Each slot is checked before it is written, so an
// incomplete slot never replaces what was stored for it; the slots before it are stored. A
// keyring slot's secrets go to the keyring first and leave the file only once it holds them. A
// slot whose place is unchosen keeps the stored slot's place, log-in method and command.
// unstored: keyring slots whose secrets the user chose not to store while no keyring answered;
// neither the keyring nor the file gets them.
ServerSaveResult saveServerSettings(UserSettings &settings, const ServerSettings &servers,
                                    const QSet<int> &unstored = {});

// Single values written outside the settings dialog.
bool SaveSpamCount(UserSettings &settings, qint64 count);   // after a deletion run
bool SaveAutomatic(UserSettings &settings, bool automatic); // main window's mode switch
int ReadPoints(const SettingsReader &settings);             // the about box's counter
bool SavePoints(UserSettings &settings, int points);

// Column widths of a rule-list table, stored as "Col1", "Col2", ... of its section. A missing
// or implausible width takes the given default.
QList<int> ReadColumnWidths(const SettingsReader &settings, const QString &section,
                            const QList<int> &defaults);
bool SaveColumnWidths(UserSettings &settings, const QString &section, const QList<int> &widths);
