#pragma once

#include "mailbox.h"
#include "settings.h"

#include <functional>
#include <memory>

class TagRas;
class TPop3Client;

// How every mailbox of a run talks: the wait allowed per network step, and the dial-up
// connection made before a log-in (none when null).
struct TMailboxOptions
{
    int timeOutSeconds = 120;
    TagRas *ras = nullptr;
    // What the conversations tell while they run (status line, progress, the activity log).
    TMailboxEvents events;
};

// Loads a slot into a POP3 client: server, user name, password, security with the trusted
// certificate, and pipelining.
void LoadSlot(TPop3Client &client, const MailboxSlot &slot);

// The number the per-mailbox rules know a mailbox by: the first slot whose server and user name
// are these (ASCII case-insensitive), or 0.
int MailboxNumber(const ServerSettings &servers, const QString &server, const QString &user);

// The mailbox a slot names, ready for the tasks. Every slot is POP3 for now; a slot of
// another protocol gets its own TMailbox here, and nothing above this function changes.
std::unique_ptr<TMailbox> MakeMailbox(const MailboxSlot &slot, const TMailboxOptions &options = {});
