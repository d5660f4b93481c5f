#pragma once

#include <QList>
#include <QString>

// One entry of the mailbox choice: the slot it stands for and the text shown for it,
// "1) Mailbox alice - Server pop.example.org".
struct TMailboxEntry
{
    int slot = 0;
    QString text;

    bool operator==(const TMailboxEntry &) const = default;
};

// How the mail guard asks the user something. The main window answers with modal message
// boxes (OK for the two boxes, Yes/No for the questions) and the mailbox choice window; the
// command line answers from its options; tests answer from a script.
//
// Every call may run a nested event loop (a modal box does). The guard calls a prompt only
// where a running network wait cannot be disturbed by it, and it checks again afterwards
// whether the command may still go on.
class TPrompts
{
public:
    virtual ~TPrompts() = default;

    // An error the user must read; an OK button.
    virtual void ErrorBox(const QString &text) = 0;
    // A notice; an OK button.
    virtual void InfoBox(const QString &text) = 0;
    // A Yes/No question ("Really delete 3 messages from server?", "The message you have
    // selected to view is quite large ..."). True only for Yes.
    virtual bool AskYesNo(const QString &text) = 0;
    // "Which mailbox do you wish to check?": entries in slot order, current = the slot
    // checked now (preselect the entry of that slot when there is one). Returns the chosen
    // slot, or 0 when the user cancelled.
    virtual int ChooseMailbox(const QList<TMailboxEntry> &entries, int current) = 0;
    // The server of mailbox slot presented a certificate that failed the check. message
    // says why and shows the fingerprint; fingerprint is the form to store (64 hex digits).
    // True when the user trusts this certificate for this mailbox from now on.
    virtual bool AskTrustCertificate(int slot, const QString &message, const QString &fingerprint) = 0;

    // No desktop keyring answers for a secret about to be stored: text says so and what each
    // answer means. True when the user keeps it in the settings file (readable by them only);
    // false leaves it unstored. A prompt without buttons of its own asks Yes/No, so that a run
    // nobody watches never stores it in the file.
    virtual bool AskKeepSecretInFile(const QString &text) { return AskYesNo(text); }
};
