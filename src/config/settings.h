#pragma once

#include "encrypt.h"
#include "lognaming.h"
#include "settingsstore.h"

#include <QList>
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

struct MailboxSlot
{
    QString server;      // "Server"n
    QString mailbox;     // "Mailbox"n: the user name on the server
    QString password;    // "Passwd"n, stored scrambled
    // "Tls"n. A new mailbox starts with TLS, and so does a slot read without server and
    // user name; a stored mailbox keeps its choice, plain POP3 when it has no value.
    TlsMode tls = TlsMode::Implicit;
    QString fingerprint; // "Fingerprint"n: SHA-256 of a certificate trusted by hand, hex
    // "Pipelining"n: ask the server for CAPA and send the listing's commands in a window when
    // it can take them; off gives one command at a time for servers that mishandle it.
    bool pipelining = true;

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

// One mailbox slot (1 ... 12) with its password unscrambled. A stored password that cannot
// be unscrambled reads as empty and *warning says so (never what was stored).
MailboxSlot ReadMailboxSlot(const SettingsReader &settings, int slot, QString *warning = nullptr);

// "Which" and all twelve slots; warnings collects one line per slot whose password is damaged.
ServerSettings readServerSettings(const SettingsReader &settings, QStringList *warnings = nullptr);

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

// A slot is complete when it is wholly empty or has a server, a user name and a password.
std::optional<SlotProblem> CheckMailboxSlot(const MailboxSlot &slot, int n);

struct ServerSaveResult
{
    std::optional<SlotProblem> problem; // the first incomplete slot; it and later slots were
                                        // not written
    QString error;                      // the file could not be written
    bool ok() const { return !problem && error.isEmpty(); }
};

// Stores "Which", then slot after slot. Each slot is checked before it is written, so an
// incomplete slot never replaces what was stored for it; the slots before it are stored.
ServerSaveResult saveServerSettings(UserSettings &settings, const ServerSettings &servers);

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
