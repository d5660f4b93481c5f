#pragma once

#include "messagelistmodel.h"
#include "pop3.h"
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
    quint16 port = 0;   // the port given with the server, else the default of the security
    QString user;
    TlsMode tls = TlsMode::None;

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
    int listed = 0;             // messages listed
    QList<int> deleted;         // listed messages the server removed (DELE accepted, QUIT accepted)
    QList<int> changed;         // marked messages left on the server because they changed
    QList<TMessageListRow> rows; // the rows as listed and marked (filled by the guard)
};

// What a failed task means to someone who runs it from a script or a timer: try again later
// (the server could not be reached, did not answer, or asked for a pause between log-ins),
// do not try again before a person has changed something (log-in or certificate refused),
// or any other failure.
enum class TFailureClass { None, Temporary, Permanent, Other };
TFailureClass ClassifyFailure(const TTaskResult &result);

// The guard's POP3 client: a TmsRemotePOP that can also delete in the session of a listing,
// after the last message was listed and before the QUIT that commits the deletions.
class TGuardPOP : public TmsRemotePOP
{
    Q_OBJECT

public:
    using TmsRemotePOP::TmsRemotePOP;

    // Asked once, when the listing's session is about to end; the listed indexes it returns are
    // deleted before QUIT. Cleared when asked and when the session ends any other way.
    void SetDeleteBeforeQuit(std::function<QList<int>()> pick)
    {
        m_pick = std::move(pick);
        if (m_pick)
            m_deleted.clear();
    }
    // Indexes whose DELE the server accepted in the last listing's session.
    const QList<int> &DeletedInSession() const { return m_deleted; }

    void Quit() override;

protected:
    // With deletions to make, QUIT must wait for their DELEs instead of travelling with the
    // listing's last window.
    bool ListingEndsSession() const override { return !m_pick; }

private:
    std::function<QList<int>()> m_pick;
    QList<int> m_deleted;
};

// Runs one operation of the client and turns its exception into a result.
TTaskResult RunConversation(const std::function<void()> &operation);

// A check: one conversation that lists the mailbox (the client's events mark each row as it
// comes) and, when nobody has to confirm, deletes the marked messages in the same session.
// Message numbers cannot change inside a session, so no message is checked again before its
// DELE, and a server that allows one log-in in a while is logged in to once.
class TCheckTask
{
public:
    explicit TCheckTask(TGuardPOP &pop) : m_pop(pop) {}

    // markedAfterListing: when set, the listed indexes to delete, asked once the whole mailbox
    // is listed. The result's deleted holds only messages the server committed to remove.
    TTaskResult Run(const std::function<QList<int>()> &markedAfterListing = {});

private:
    TGuardPOP &m_pop;
};
