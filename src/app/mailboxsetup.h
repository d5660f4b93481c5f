#pragma once

#include "imports.h"
#include "settings.h"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>

class QDate;
class TPrompts;
class TSpamSettings;

// Rules for setting a mailbox up, shared by the General settings window and tarnwick-cli.

// Whether host names this machine (a loopback address or "localhost"), where a password sent
// in plain text never crosses a network.
bool IsThisMachine(const QString &host);

// The notice for a mailbox newly set to plain POP3 on a server that is not on this machine;
// empty when slot n had that choice already (before) or needs none.
QString PlainPasswordNotice(const MailboxSlot &before, const MailboxSlot &after, int n);

// Decides where the secrets of servers go before they are stored; before is what was shown.
// A password or sign-in that is new for its mailbox goes to the desktop keyring when one
// answers. When none answers, prompts asks whether to keep it in the settings file (readable
// by the user only) or not to store it, and says what not storing means; a place the user
// chose (the file, a command) stands. The keyring is asked once, and only when a secret is to
// go there. Returns the slots whose secrets stay unstored (for saveServerSettings).
QSet<int> PlaceNewSecrets(ServerSettings &servers, const ServerSettings &before, TPrompts &prompts);

// The port a protocol uses with a security when the server names none: 995 or 110 for POP3,
// 993 or 143 for IMAP.
int UsualPort(MailProtocol protocol, TlsMode tls);

// What the new-mailbox assistant proposes for an e-mail address and the protocol chosen: the
// provider's server where Tarnwick knows it (Gmail, Outlook and its kin, iCloud), else "pop."
// or "imap." before the address's domain, always with implicit TLS. iCloud serves IMAP only,
// so its addresses get IMAP whatever was chosen. An address without a domain gets no host.
struct TServerProposal
{
    QString host;
    int port = 0;
    MailProtocol protocol = MailProtocol::Pop3;
    bool oauth2 = false;  // the provider wants its own sign-in rather than the password
};
TServerProposal ProposeServer(const QString &address, MailProtocol protocol);

// How the rule that the first mailbox brings is shown: the header rule that makes mail not
// addressed to userName suspect.
QString FirstMailboxRuleText(const QString &userName);

// --- a fresh installation, and the settings a window edits ---

// The General settings as the settings window edits them: copies of the live settings, handed
// back whole once they are stored, so that a cancelled edit leaves nothing behind.
struct TSettingsEdit
{
    GeneralSettings general;
    ServerSettings servers;
    // "Reset counter" was pressed: the count starts again from 0. Otherwise the live count
    // stands, deletions may have counted on while the window was open.
    bool countReset = false;
};

// Slot 1 has neither a server nor a user name: nothing is set up yet.
bool IsFreshInstallation(const ServerSettings &servers);

// The first mailbox from the user's other mail programs: the two old Windows clients (whose
// settings live in the machine store, empty on Linux), then Thunderbird.
std::optional<ImportedMailbox> ImportFirstMailbox();

// What a fresh installation gets once, whether it is set up in the settings window or with
// `tarnwick-cli mailbox set 1`: the first mailbox taken over from another mail program, and
// the header rule for mail not addressed to that mailbox's user.
class TFirstRun
{
public:
    explicit TFirstRun(const ServerSettings &atStart) : m_pending(IsFreshInstallation(atStart)) {}

    bool Pending() const { return m_pending; }
    // While pending and first has no server: first takes over what importMailbox finds (its
    // server, its user name when it has one, its security); importMailbox is asked only then.
    void TakeOverMailbox(MailboxSlot &first, const std::function<std::optional<ImportedMailbox>()> &importMailbox) const;

    enum class Rule { Waiting, Added, Failed };
    // The header rule for userName, the first mailbox's user. It needs a user name to mean
    // anything: without one it waits for a later call. Added or failed (*error says why), it
    // is done, and nothing is pending any more.
    Rule AddHeaderRule(const QString &userName, TSpamSettings &spam, QString *error);

private:
    bool m_pending;
};

// The activity log of settings that name none: the data folder's "logfile.txt", so that every
// check is logged from the start.
QString LogFileOrDefault(const QString &logFile);

// General settings about to be edited, with what they leave empty filled in: the mail program
// (findMailProgram is asked only then), the alarm sound, the activity log; a log named by
// month or quarter gets today's name.
void FillGeneralDefaults(GeneralSettings &general, const std::function<QString()> &findMailProgram,
                         const QDate &today);
