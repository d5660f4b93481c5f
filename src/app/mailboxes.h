#pragma once

#include "imap.h"
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
    // The slot's number, for the messages of an OAuth2 sign-in that must be renewed.
    int slot = 0;
};

// Loads a slot into a POP3 client: server, user name, password, security with the trusted
// certificate, and pipelining.
void LoadSlot(TPop3Client &client, const MailboxSlot &slot);

// The number the per-mailbox rules know a mailbox by: the first slot whose server and user name
// are these (ASCII case-insensitive), or 0.
int MailboxNumber(const ServerSettings &servers, const QString &server, const QString &user);

// An IMAP slot's settings for the client: the folder, what a deletion does and how much a
// listing takes; a password log-in, or with OAuth2 the token through XOAUTH2 or OAUTHBEARER
// (whichever the server offers, the standard one first). Given the slot's number n, an OAuth2
// log-in with a refresh token takes a renewed access token at each log-in by itself (for
// sessions no TOAuthMailbox leads, such as a watch); MakeMailbox passes none and wraps instead.
TImapSettings ImapSettingsOf(const MailboxSlot &slot, int timeOutSeconds, int n = 0);

// The mailbox a slot names, ready for the tasks: POP3 or IMAP as the slot says. Nothing above
// this function knows which protocol it talks.
std::unique_ptr<TMailbox> MakeMailbox(const MailboxSlot &slot, const TMailboxOptions &options = {});
