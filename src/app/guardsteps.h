#pragma once

#include "mailbox.h"
#include "mailboxsetup.h"
#include "prompts.h"
#include "runparts.h"

#include <QList>
#include <QString>

// The steps of the window's commands that are not about showing anything: what is stored,
// started or removed, so that the guard only presents them.

// The mailbox choice before a check: every slot with a server; empty when no slot but the
// first has one, and there is nothing to choose.
QList<TMailboxEntry> MailboxChoices(const ServerSettings &servers);

// Starts a mail program's command line detached; false when it did not start.
bool StartDetached(const QString &command);

// Where message row is downloaded to for viewing, in the data folder.
QString ViewedMessageFile(int row);
// Removes every downloaded message ("msg_*.eml") from the data folder, whatever its row was.
void RemoveViewedMessages();

// The sound file the alarm plays: the one set (its first 201 characters), else the program's
// own; empty when that file does not exist (the caller beeps instead).
QString AlarmSoundFile(const QString &set);

// Takes the listed messages at indexes out of listing, so that row and listed message stay
// one after a deletion.
void DropFromListing(TMailboxListing &listing, const QList<int> &indexes);

// Stores fingerprint as the trusted certificate of slot n, in the live settings and in the
// settings file. taken: the live settings have it; the error for the user, or empty.
struct TTrustStored
{
    bool taken = false;
    QString error;
};
TTrustStored StoreTrustedCertificate(TRunParts &run, int n, const QString &fingerprint);

// Takes back what the General settings window stored. The window stored the count it was
// shown; a deletion since has counted on, and that count stays (and is stored again). The
// problem storing it, or empty.
QString AdoptSettingsEdit(TRunParts &run, const TSettingsEdit &stored);
