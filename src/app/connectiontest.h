#pragma once

#include "settings.h"

#include <QString>
#include <QStringList>

// "Test connection": log in to a mailbox, read what the server offers, and log out again, without
// listing or touching a message. The window and tarnwick-cli show the same report.
struct TConnectionReport
{
    bool ok = false;
    QString security;   // how the line was protected, in words
    QString login;      // the log-in method that was used (or would have been)
    bool pipelining = false;
    bool uidl = false;
    int messages = -1;  // waiting messages from STAT (IMAP: in the folder); -1 when the log-in did not get that far
    // An IMAP mailbox: what its server offers instead of pipelining and UIDL.
    bool imap = false;
    bool idle = false;     // new mail is told at once
    bool uidplus = false;  // single messages can be removed
    QString answer;     // the server's answer, or what went wrong and what to do

    // One line per finding, for the user.
    QStringList Lines() const;
};

// slot names the mailbox in messages. An OAuth2 mailbox with a stored refresh token gets a
// fresh access token first, as a check does.
TConnectionReport TestConnection(const MailboxSlot &mailbox, int slot, int timeOutSeconds = 30);
