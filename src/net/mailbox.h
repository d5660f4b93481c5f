#pragma once

#include "headers.h"

#include <QList>
#include <QString>
#include <functional>

// What a mailbox tells about one waiting message when it lists it.
struct TMailboxMessage
{
    qint64 size = 0;     // octets as the server counts them; 0 when it gave no usable size
    TmsHeaders headers;  // the header lines, one entry per physical line, cut at the first empty line
    // The server's unique id (POP3 UIDL; IMAP UIDVALIDITY and UID); empty when it gives none.
    QString uid;

    bool operator==(const TMailboxMessage &) const = default;
};

// A listing and the session it was made in. Indexes into messages are what the tasks, the
// rows of the list and the commands below speak of; the protocol's own numbers stay inside
// the mailbox.
struct TMailboxListing
{
    QList<TMailboxMessage> messages;
    // Which session of this mailbox made the listing (see TMailbox::Session). Inside that
    // session a listed message cannot change, so it is acted on without being looked at again.
    quint64 session = 0;
};

// What a conversation tells while it runs, for a status line and a progress window. Every
// member may be empty. The listing's "n of m" comes through List's own callback.
struct TMailboxEvents
{
    std::function<void()> connecting;        // the connection to the server is being opened
    std::function<void()> listing;           // logged in; the listing starts
    std::function<void()> transferring;      // a deletion or a download starts
    std::function<void()> transferred;       // ... and has ended
    std::function<void(int index)> deleting;   // the listed message at index is being deleted
    std::function<void(int index)> retrieving; // ... is being downloaded
    std::function<void(int index)> retrieved;  // ... has been downloaded
    std::function<void()> closing;           // the session is ending
    std::function<void()> closed;            // the connection is closed
    std::function<void()> canceled;          // Abort stopped the conversation
    // A failure the connection met, as it meets it; the handler may reword text. A refusal
    // by the server is not reported here, only thrown.
    std::function<void(QString &text)> failed;
};

// What a deletion did. Both lists hold listing indexes in ascending order.
struct TMailboxDeletion
{
    QList<int> deleted;  // accepted by the server; final once Commit has returned
    QList<int> changed;  // left on the server: no longer the message that was listed
};

// The conversation with one mailbox, whatever its protocol: the few operations a check, a
// deletion and a retrieval need, so that the tasks above never learn which protocol they talk.
// The connection settings (server, port, security, user, secret, time-outs) are the
// implementation's own, set before LogIn.
//
// Every operation may throw the errors of neterrors.h; the connection is then closed and the
// next operation starts with LogIn. Nothing is deleted unless Commit returns normally.
class TMailbox
{
public:
    virtual ~TMailbox() = default;

    // Where the conversations tell what they do; replaces what was set before.
    virtual void SetEvents(const TMailboxEvents &events) = 0;
    // An operation is under way (the waits run nested event loops, so callers can ask).
    virtual bool Busy() const = 0;
    // A connection to the server is open.
    virtual bool Connected() const = 0;
    // The pause in seconds the server asked for between log-ins in the last session; 0 or
    // less when it asked for none.
    virtual int LoginDelay() const { return 0; }
    // What the last Commit could not do as asked, in words for the user (a server that can
    // only flag messages leaves their removal to the mail program); empty when all was done.
    virtual QString Notice() const { return {}; }

    // Connects, secures the line as set, and logs in. A new session starts.
    virtual void LogIn() = 0;
    // The session now open, or the last one; a new number at every LogIn, never 0.
    virtual quint64 Session() const = 0;

    // Lists the waiting messages. listed is called once per message as soon as it is read,
    // with its index and the number the listing will hold (progress, marks while it runs).
    virtual TMailboxListing List(
        const std::function<void(int index, int count, const TMailboxMessage &message)> &listed = {}) = 0;

    // Tells that the session ends with LogOut right after the next List, so a protocol that
    // sends commands ahead may send its goodbye with the listing's last ones. Without it the
    // session stays open after the listing for Delete, Fetch or StillSame.
    virtual void EndAfterList() {}

    // Whether the message at index of listing is still the one on the server: the same size,
    // header lines and unique id (an id never outweighs a difference in the rest). A message
    // that only moved is found again where the protocol allows it.
    virtual bool StillSame(const TMailboxListing &listing, int index) = 0;

    // Deletes the messages at indexes of listing, each only if it is still the one listed;
    // the rest are reported as changed and left alone. The deletions take effect at Commit.
    virtual TMailboxDeletion Delete(const TMailboxListing &listing, const QList<int> &indexes) = 0;

    // Fetches the message at index of listing whole, once it is known to be still the one
    // listed, and writes it to file. False (and no file) when it changed. Never marks the
    // message read where the protocol could.
    virtual bool Fetch(const TMailboxListing &listing, int index, const QString &file) = 0;

    // Makes this session's deletions take effect and ends the session (POP3: QUIT).
    virtual void Commit() = 0;
    // Ends the session without deleting anything.
    virtual void LogOut() = 0;
    // Closes the connection at once (the user's Cancel); the operation under way then throws
    // ECanceledError. Safe to call from an event handler while an operation runs.
    virtual void Abort() = 0;
};
