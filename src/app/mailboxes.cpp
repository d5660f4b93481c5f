#include "mailboxes.h"

#include "pop3mailbox.h"
#include "textutil.h"
#include "tls.h"

void LoadSlot(TPop3Client &client, const MailboxSlot &slot)
{
    client.SetServer(slot.server.trimmed());
    client.SetUserName(slot.mailbox);
    client.SetPassword(slot.password);
    client.SetLoginMethod(slot.login == MailboxLogin::OAuth2 ? LoginMethod::OAuth2 : LoginMethod::Password);
    client.SetTls({TlsModeFromInt(int(slot.tls)), slot.fingerprint});
    client.SetUsePipelining(slot.pipelining);
}

std::unique_ptr<TMailbox> MakeMailbox(const MailboxSlot &slot, const TMailboxOptions &options)
{
    // The place where a slot's protocol chooses the implementation (IMAP next to POP3).
    auto mailbox = std::make_unique<TPop3Mailbox>();
    LoadSlot(mailbox->Client(), slot);
    mailbox->Client().SetTimeOut(options.timeOutSeconds);
    mailbox->Client().SetRAS(options.ras);
    mailbox->SetEvents(options.events);
    return mailbox;
}

int MailboxNumber(const ServerSettings &servers, const QString &server, const QString &user)
{
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        if (AsciiEqualsIgnoreCase(slot.server.trimmed(), server) && AsciiEqualsIgnoreCase(slot.mailbox, user))
            return n;
    }
    return 0;
}
