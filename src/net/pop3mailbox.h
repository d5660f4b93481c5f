#pragma once

#include "mailbox.h"
#include "pop3.h"

class TPop3Mailbox;

// The POP3 client under a TPop3Mailbox: the connection settings and the events (progress,
// status, errors) are set on it; the conversations go through the mailbox.
class TPop3Client : public TmsRemotePOP
{
    Q_OBJECT

public:
    using TmsRemotePOP::TmsRemotePOP;

    void StoreMessage(int Index, const QByteArray &Contents) override;
    // Deletes the listed messages at indexes in the listing's own session, without checking
    // them again; a refused DELE ends it with EServerError.
    void DeleteListed(const QList<int> &indexes);

protected:
    bool ListingEndsSession() const override { return m_listingEndsSession; }
    void ItemListed(int Index) override;

private:
    friend class TPop3Mailbox;

    bool m_listingEndsSession = true;
    std::function<void(int index, int count, const TMailboxMessage &message)> m_listed;
    QString m_fetchFile;  // where Fetch writes the message
};

// A POP3 mailbox. The log-in of a session goes out with its first command, so that a
// pipelined log-in carries the listing's UIDL and LIST and a check costs no more round trips
// than a listing alone; a failed log-in is thrown from that first operation as ELoginError.
// Inside the listing's session the listed messages are deleted without being checked again
// (message numbers do not change within a session); in a later session each is checked first
// and found again by its unique id when it only moved.
class TPop3Mailbox : public TMailbox
{
public:
    TPop3Mailbox() = default;

    TPop3Client &Client() { return m_client; }
    const TPop3Client &Client() const { return m_client; }

    void SetEvents(const TMailboxEvents &events) override;
    bool Busy() const override { return m_client.Busy(); }
    bool Connected() const override { return m_client.Connected(); }
    int LoginDelay() const override { return m_client.LoginDelay(); }
    void LogIn() override;
    quint64 Session() const override { return m_session; }
    TMailboxListing List(
        const std::function<void(int index, int count, const TMailboxMessage &message)> &listed = {}) override;
    void EndAfterList() override { m_endAfterList = true; }
    bool StillSame(const TMailboxListing &listing, int index) override;
    TMailboxDeletion Delete(const TMailboxListing &listing, const QList<int> &indexes) override;
    bool Fetch(const TMailboxListing &listing, int index, const QString &file) override;
    void Commit() override;
    void LogOut() override;
    void Abort() override;

private:
    // Runs one step of the session: logs in first when the session has not yet, and closes the
    // connection after any failure.
    template<typename Step>
    auto Run(bool listing, Step step) -> decltype(step());
    // Puts listing into the client, unless it is the client's listing already.
    void Adopt(const TMailboxListing &listing);
    void EndSession(bool commit);

    TPop3Client m_client;
    quint64 m_session = 0;
    bool m_loginPending = false;
    bool m_endAfterList = false;
    bool m_deletedInSession = false;
    quint64 m_clientListing = 0;  // the session whose listing the client's RemoteInfo holds
};
