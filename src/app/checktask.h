#pragma once

#include "messagelistmodel.h"
#include "mailbox.h"
#include "settings.h"

#include <QList>
#include <QString>
#include <functional>

// The mailbox a listing was made from: what a slot names on the wire. A listing's message
// numbers mean something only in that mailbox, so commands on its rows compare this with
// what the slot names now.
struct TMailboxIdentity
{
    QString host;       // lower case
    quint16 port = 0;   // the port given with the server, else the default of protocol and security
    QString user;
    TlsMode tls = TlsMode::None;
    // A POP3 listing's message ids mean nothing in an IMAP folder of the same account.
    MailProtocol protocol = MailProtocol::Pop3;

    static TMailboxIdentity Of(const MailboxSlot &slot);
    bool operator==(const TMailboxIdentity &) const = default;
};

// How one conversation with a mailbox ended, and what it did.
struct TTaskResult
{
    bool ok = true;
    bool canceled = false;
    bool serverRefused = false;
    bool dialUp = false;        // the dial-up connection could not be made
    QString text;               // the error's text, as the client (and its OnError handler) left it
    QString fingerprint;        // set when the server's certificate was refused
    bool timedOut = false;      // the server did not answer in time
    int socketCode = 0;         // the socket error code of a transport failure (SocketCode), else 0
    bool loginRefused = false;  // the server refused the log-in (USER, PASS, APOP or AUTH)
    bool loginDelay = false;    // ... because the last log-in was too recent (LOGIN-DELAY)
    int listed = 0;             // messages listed (so far, when the listing failed)
    QList<int> deleted;         // listed messages the server removed (DELE accepted, QUIT accepted)
    QList<int> changed;         // marked messages left on the server because they changed
    QString notice;             // what the deletion could not do as asked, for the user; else empty
    QList<TMessageListRow> rows; // the rows as listed and marked
    TMailboxListing listing;    // what the check listed (the whole mailbox when ok)
};

// What a failed task means to someone who runs it from a script or a timer: try again later
// (the server could not be reached, did not answer, or asked for a pause between log-ins),
// do not try again before a person has changed something (log-in or certificate refused),
// or any other failure.
enum class TFailureClass { None, Temporary, Permanent, Other };
TFailureClass ClassifyFailure(const TTaskResult &result);

// Runs one conversation and turns its exception into a result.
TTaskResult RunConversation(const std::function<void()> &operation);

// Called as each message is listed: its index, the number the listing will hold, the message.
using TListedHandler = std::function<void(int index, int count, const TMailboxMessage &message)>;

// A check: one conversation that lists the mailbox and, when nobody has to confirm, deletes
// the marked messages in the same session. Message numbers cannot change inside a session, so
// no message is checked again before its deletion, and a server that allows one log-in in a
// while is logged in to once.
class TCheckTask
{
public:
    explicit TCheckTask(TMailbox &mailbox) : m_mailbox(mailbox) {}

    // listed: each message as it comes (the rows are added and marked there). markedAfterListing:
    // when set, the listed indexes to delete, asked once the whole mailbox is listed; the
    // result's deleted then holds only messages the server committed to remove.
    TTaskResult Run(const TListedHandler &listed = {}, const std::function<QList<int>()> &markedAfterListing = {});

private:
    TMailbox &m_mailbox;
};

// A deletion in a session of its own: each message is deleted only when it is still the one
// listed; the rest are reported as changed.
class TDeleteTask
{
public:
    explicit TDeleteTask(TMailbox &mailbox) : m_mailbox(mailbox) {}

    TTaskResult Run(const TMailboxListing &listing, const QList<int> &indexes);

private:
    TMailbox &m_mailbox;
};

// Fetches one listed message whole into a file, in a session of its own; a message that is
// no longer the one listed is reported as changed and not fetched.
class TRetrieveTask
{
public:
    explicit TRetrieveTask(TMailbox &mailbox) : m_mailbox(mailbox) {}

    TTaskResult Run(const TMailboxListing &listing, int index, const QString &file);

private:
    TMailbox &m_mailbox;
};
