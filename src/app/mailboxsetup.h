#pragma once

#include "settings.h"

#include <QString>

// Rules for setting a mailbox up, shared by the General settings window and tarnwick-cli.

// Whether host names this machine (a loopback address or "localhost"), where a password sent
// in plain text never crosses a network.
bool IsThisMachine(const QString &host);

// The notice for a mailbox newly set to plain POP3 on a server that is not on this machine;
// empty when slot n had that choice already (before) or needs none.
QString PlainPasswordNotice(const MailboxSlot &before, const MailboxSlot &after, int n);

// How the rule that the first mailbox brings is shown: the header rule that makes mail not
// addressed to userName suspect.
QString FirstMailboxRuleText(const QString &userName);
