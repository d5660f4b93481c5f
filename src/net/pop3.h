#pragma once

#include "headers.h"
#include "mailbase.h"
#include "pop3parse.h"
#include "sasl.h"

#include <QList>
#include <deque>
#include <optional>
#include <vector>

// A POP3 client (RFC 1939) that uses USER, PASS, STAT, LIST, TOP, RETR, DELE and QUIT, plus
// STLS (RFC 2595) when the mailbox asks for it and UIDL when the server has it.
class TmsCustomPOP : public TmsMailBase
{
    Q_OBJECT

public:
    explicit TmsCustomPOP(QObject *parent = nullptr);

    QString UserName() const { return m_userName; }
    void SetUserName(const QString &userName) { m_userName = userName; }
    QString Password() const { return m_password; }
    void SetPassword(const QString &password) { m_password = password; }
    // Password: AUTH PLAIN where CAPA offers it, else USER/PASS. OAuth2: Password() is the
    // access token, sent with AUTH OAUTHBEARER or XOAUTH2; CAPA is then always asked.
    LoginMethod GetLoginMethod() const { return m_loginMethod; }
    void SetLoginMethod(LoginMethod method) { m_loginMethod = method; }
    // The mechanism of the last log-in.
    SaslMechanism Mechanism() const { return m_mechanism; }
    // From the STAT reply of the last log-in; -1 until one has been read (TotalSize also when
    // the server gave a count alone).
    int MessageCount() const { return m_messageCount; }
    qint64 TotalSize() const { return m_totalSize; }

    // Ask the server for its capabilities (CAPA, RFC 2449) after the greeting and, when it
    // announces PIPELINING, send the commands in windows of outstanding commands instead of
    // one at a time: the log-in with STAT (and a listing's UIDL and LIST) in one, a listing's
    // TOP commands with QUIT behind them in the next, a deletion run's checks ahead of its
    // DELE commands. The items and the events stay the same. Off by default: the traffic is
    // then exactly USER, PASS, STAT, LIST n, TOP n 1 ..., one command per reply.
    bool UsePipelining() const { return m_usePipelining; }
    void SetUsePipelining(bool use) { m_usePipelining = use; }
    // What the last log-in learnt from CAPA; empty when CAPA was not sent or was refused.
    const Pop3Capabilities &Capabilities() const { return m_capabilities; }
    // The current (or last) session sends its commands in windows.
    bool Pipelining() const { return m_pipelining; }
    // Seconds the server wants between two log-ins (LOGIN-DELAY), -1 when it did not say.
    int LoginDelay() const { return m_capabilities.LoginDelay; }
    // The last log-in was refused with the response code [LOGIN-DELAY]: too soon after the
    // one before, not a wrong password.
    bool LoginDelayRefused() const { return m_loginDelayRefused; }
    // The command whose reply LastReply is ("PASS" without the password). With a window of
    // outstanding commands this is the command being handled, not the last one sent.
    QString LastCommand() const { return m_lastCommand; }

    // The bounds of the window: commands whose replies have not been read, and their bytes.
    // The replies are read while the window fills (the socket takes up to kReadBufferBytes
    // ahead), so the server is never stuck writing to a client that does not read; the bounds
    // keep what one window can make the server hold, and what waits in memory here, small.
    // Without pipelining the window holds one command: each is sent once the reply before it
    // is read.
    static constexpr int kWindowCommands = 2048;
    static constexpr qint64 kWindowBytes = 32 * 1024;
    // Replies read before their turn (the deletion's checks, read to reach a DELE's reply) wait
    // in memory; the blocks expected from the window, each counted at its limit, and those
    // held may together take at most this much.
    static constexpr qint64 kMaxReadAheadBytes = 16 * 1024 * 1024;
    // The largest message fetched whole: it is held in memory to be shown or saved.
    static constexpr qint64 kMaxMessageBytes = 64 * 1024 * 1024;

    TmsNumNotifyEvent OnRetrieving;
    TmsNumNotifyEvent OnRetrieved;
    // Fired before DELE is sent ...
    TmsNumNotifyEvent OnDeleting;
    // ... and after the server accepted it. The server removes the message only when the session
    // ends with a QUIT it accepts, that is, when the operation returns without an exception.
    TmsNumNotifyEvent OnDeleted;

    int ReplyCode(const QString &line) const override;
    // Checks the log-in settings, then opens the connection.
    void Open() override;
    // Greeting, STLS when asked for, CAPA, the log-in (AUTH or USER and PASS) and STAT. Any
    // failure closes the connection.
    void Login() override;
    void Quit() override;

    // Hands a retrieved message on (the file or the handler is the subclass's choice).
    virtual void StoreMessage(int Index, const QByteArray &Contents) = 0;
    // Refuses an empty user name or password, and CR, LF or NUL in either, before anything is sent.
    virtual void CheckProperties();

    // Fetches message Index + 1 whole and stores it.
    void Retrieve(int Index);
    // Marks message Index + 1 deleted on the server; a refusal raises EServerError.
    void Delete(int Index);

protected:
    // Reads the STAT reply (code and LastReply) into MessageCount and TotalSize.
    void AcceptStat(int code);
    // Sends a command and reads its one-line reply into LastReply. Nothing may wait in the
    // window: its replies come first.
    int Command(const QString &line);
    // Commands that go out in the log-in's window behind STAT when the session pipelines
    // (their replies are the caller's to take once Login has returned).
    virtual void QueueWithLogin() {}
    // Queues QUIT; Quit() then takes its reply instead of sending one. Only for a session
    // whose last command is known: nothing may be sent after it.
    void QueueQuit();
    bool QuitQueued() const { return m_quitTicket >= 0; }
    // EServerError with LastReply unless code is positive.
    void RequirePositive(int code);
    // Fetches message Number (Index + 1 unless it moved) and stores it as Index; nothing may
    // wait in the window.
    void DoRetrieve(int Index, int Number);
    void DoDelete(int Index);

    // ---- the window of outstanding commands ----
    // A command sent ahead. Its reply is read when it is taken, or earlier when a later
    // command's reply is taken first (replies arrive in the order of the commands).
    using Ticket = qint64;
    struct QueuedReply {
        QString command;
        qint64 bytes = 0;         // of the command line with its CR LF
        qint64 blockLimit = -1;   // >= 0: a positive reply is followed by a data block
        bool progress = false;    // its block reports OnProgress
        bool taken = false;
        bool readAhead = false;   // read before its turn, so its progress was held back
        int code = 0;
        QString line;
        QByteArray block;
    };
    // Queues a command; it goes out with the next FlushWindow (or Take) once the window has
    // room for it.
    Ticket Queue(const QString &line, qint64 blockLimit = -1, bool progress = false);
    // Whether lines more commands of about bytes each fit into the window now. blockBytes are
    // the data blocks they may bring that could be read before their turn (kMaxReadAheadBytes);
    // 0 when every reply is taken in order. An empty window always has room.
    bool WindowHasRoom(int lines, qint64 bytes, qint64 blockBytes = 0) const;
    // Less than half of the window is in use: time to send the next batch.
    bool WindowLow() const;
    // Sends the queued commands the window has room for.
    void FlushWindow();
    // The commands one window may hold from now on: kWindowCommands when the session pipelines
    // and ahead is true, else one.
    void SetWindowAhead(bool ahead);
    // Reads replies in order up to the one of ticket and hands it over, with LastReply and
    // LastCommand set to it.
    QueuedReply Take(Ticket ticket);
    // Forgets every outstanding command (the connection is being closed).
    void ResetWindow();
    // Sets the block limit of a queued command whose reply has not been read yet (a limit
    // that depends on a reply read in between).
    void SetBlockLimit(Ticket ticket, qint64 blockLimit);

private:
    // CAPA; false (and capabilities unchanged) when the server refuses it.
    bool ReadCapabilities(Pop3Capabilities &capabilities);
    // AUTH with the chosen mechanism (RFC 5034); a refusal raises EServerError in words.
    void Authenticate(SaslMechanism mechanism);
    void ReadQueued(QueuedReply &entry, bool current);

    QString m_userName;
    QString m_password;
    LoginMethod m_loginMethod = LoginMethod::Password;
    SaslMechanism m_mechanism = SaslMechanism::UserPass;
    int m_messageCount = -1;
    qint64 m_totalSize = -1;
    bool m_usePipelining = false;
    bool m_pipelining = false;
    bool m_loginDelayRefused = false;
    Pop3Capabilities m_capabilities;
    QString m_lastCommand;
    Ticket m_quitTicket = -1;

    std::deque<QueuedReply> m_window;
    Ticket m_windowBase = 0;   // the ticket of m_window.front()
    Ticket m_nextTicket = 0;
    Ticket m_sendTicket = 0;   // the next command to send
    Ticket m_readTicket = 0;   // the next reply to read
    int m_windowCommands = 1;
    qint64 m_pendingBytes = 0;        // command bytes queued whose replies are not read yet
    qint64 m_pendingBlockBytes = 0;   // the block limits of those commands
    qint64 m_heldBytes = 0;           // blocks read ahead and not taken yet
};

// What the last listing knew about one waiting message; its POP3 message number is its index
// in RemoteInfo + 1.
// Size is 0 when the LIST reply held no usable size; Headers hold one entry per physical line,
// cut at the first empty line; Uidl is empty when the server gave no id.
struct TmsRemoteInfoItem : Pop3MessageFacts {
    static constexpr quint8 kRetrieve = 0x01;
    static constexpr quint8 kDelete = 0x02;

    quint8 Flags = 0;

    bool MarkedForRetrieval() const { return Flags & kRetrieve; }
    bool MarkedForDeletion() const { return Flags & kDelete; }
};

class TmsRemoteInfo
{
public:
    int Count() const { return int(m_items.size()); }
    const TmsRemoteInfoItem &operator[](int index) const { return m_items.at(size_t(index)); }
    TmsRemoteInfoItem &operator[](int index) { return m_items.at(size_t(index)); }
    void Add(TmsRemoteInfoItem item) { m_items.push_back(std::move(item)); }
    void Clear() { m_items.clear(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }

private:
    std::vector<TmsRemoteInfoItem> m_items;
};

// The mailbox as the main window sees it: the list of waiting messages with their header lines,
// marks, and the two batch operations, each one whole session (log in, work, QUIT).
//
// Deletion is safe against a mailbox that changed since the listing: before a marked message
// is retrieved or deleted, its size and header lines (and unique id) are fetched again and
// compared with the listing (SameMessage). A message that only moved to another number is
// found again by its unique id, checked the same way at its new number, and deleted there;
// without ids it stays. A message that is no longer the one listed is neither retrieved nor
// deleted; it is reported through OnItemSkipped and SkippedItems().
class TmsRemotePOP : public TmsCustomPOP
{
    Q_OBJECT

public:
    explicit TmsRemotePOP(QObject *parent = nullptr);

    // Where retrieved messages are saved as "msg_" + index + ".eml" when no OnUserMessageSave
    // handler is set; the data folder when empty. A set value always ends in "/".
    QString MessageDirectory() const { return m_messageDirectory; }
    void SetMessageDirectory(const QString &directory);
    // Ask for the servers' unique ids (UIDL) in the listing and compare them before deleting.
    // On by default; off gives exactly the command traffic of a client without UIDL.
    bool UseUidl() const { return m_useUidl; }
    void SetUseUidl(bool use) { m_useUidl = use; }

    const TmsRemoteInfo &RemoteInfo() const { return m_remoteInfo; }
    // Indexes of the marked items that the last TransferData left alone because the mailbox
    // had changed, in ascending order.
    const QList<int> &SkippedItems() const { return m_skipped; }
    // Indexes of the items whose DELE the server accepted in the last TransferData, ascending.
    const QList<int> &DeletedItems() const { return m_deleted; }

    TNotifyEvent OnUpdatingInfo;
    TNotifyEvent OnInfoUpdated;
    TNotifyEvent OnTransferringData;
    TNotifyEvent OnDataTransfered;
    TmsNumNotifyEvent OnNextInfoUpdated;
    TmsUserMsgSaveEvent OnUserMessageSave;
    // A marked item was skipped because the message on the server is no longer the one listed.
    TmsNumNotifyEvent OnItemSkipped;

    // Rebuilds RemoteInfo for the whole mailbox.
    void UpdateInfo();
    // Set or clear the marks of item Index; false (and nothing changes) for an index that is
    // not in RemoteInfo.
    bool MarkRetrieve(int Index);
    bool MarkDelete(int Index);
    bool Unmark(int Index);
    // Retrieves, then deletes, the marked messages in index order. Every mark is cleared when it
    // ends, normally or by an exception, so a failed run is never replayed by a later one.
    void TransferData();
    // Whether message Index + 1 on the server is still the one RemoteInfo lists at Index
    // (SameMessage). A message number the server no longer has is not.
    bool VerifyItem(int Index);

    void StoreMessage(int Index, const QByteArray &Contents) override;

    // The largest TOP block accepted for one message's header lines.
    static constexpr qint64 kMaxHeaderBlock = 1024 * 1024;
    // The most messages one listing takes in; a bigger mailbox is refused before any is read.
    static constexpr int kMaxListedMessages = 100000;
    // The header lines of one listing may take at most this many bytes as the server sent them.
    static constexpr qint64 kMaxListingBytes = 32 * 1024 * 1024;
    // A UIDL listing may take at most this many bytes per message ("n id" with a 70-character
    // id and room to spare), plus 64 KiB.
    static constexpr qint64 kUidlBytesPerMessage = 96;
    // The same for a LIST listing ("n size" with room to spare).
    static constexpr qint64 kListBytesPerMessage = 32;

protected:
    // Whether the listing's session ends right after the listing. When the session pipelines,
    // QUIT then goes out behind the last TOP. A subclass that works on in that session
    // (deleting before the goodbye) returns false whenever it may do so.
    virtual bool ListingEndsSession() const { return true; }
    void QueueWithLogin() override;
    // Fires OnNextInfoUpdated for the item the listing has just added.
    virtual void ItemListed(int Index);

    // The steps of UpdateInfo and TransferData, for a session that goes on between them. The
    // caller holds the operation and calls Abandon after a failure.
    // Connects and logs in; with forListing a pipelined log-in carries the listing's UIDL and
    // LIST.
    void OpenSession(bool forListing);
    // Lists the whole mailbox into RemoteInfo.
    void ListInSession();
    // Retrieves, then deletes, the marked messages; every mark is cleared when it ends.
    void TransferInSession();
    // Whether message Index + 1 is still the one RemoteInfo lists at Index.
    bool CheckInSession(int Index);
    // Takes over a listing made in another session, every mark cleared.
    void SetRemoteInfo(TmsRemoteInfo info) { m_remoteInfo = std::move(info); }
    // Forgets the commands under way and closes the connection (after a failure).
    void Abandon();

private:
    // The replies of one message's check: LIST n, TOP n 1 and, with a known id, UIDL n.
    struct Check {
        int index = -1;
        int number = 0;
        Ticket list = -1;
        Ticket top = -1;
        Ticket uidl = -1;
    };
    // UIDL, then each message's size and header lines. In a pipelined session UIDL and LIST
    // came with the log-in and the TOP commands follow in windows, QUIT behind the last one
    // when the session ends with the listing; else LIST n and TOP n 1 per message.
    void ListMessages();
    // Takes the UIDL listing; no ids when the server refused it.
    QHash<int, QString> TakeIds(Ticket uidl);
    void RefuseOversizedMailbox();
    // Adds a listed item, within the bound of the listing's header bytes.
    void AddListed(TmsRemoteInfoItem item, qint64 &listedBytes);
    void TransferMarked();
    Check QueueCheck(int index, int number, bool withId, qint64 topLimit);
    // Reads a check's replies into fresh. A number the server no longer has gives false when
    // goneIsFalse, else it is a refusal.
    bool TakeCheck(const Check &check, bool goneIsFalse, Pop3MessageFacts &fresh);
    // The number the checked message has now: its own when it is still the one listed, the
    // one its unique id moved to when the message there passes the same test, else 0.
    int Locate(const Check &check);
    // The TOP block accepted when checking a listed message again.
    static qint64 TopLimit(const TmsRemoteInfoItem &item);
    qint64 UidlLimit() const;
    qint64 ListLimit() const;
    bool SetFlags(int Index, quint8 flags);
    void Skip(int Index);

    QString m_messageDirectory;
    bool m_useUidl = true;
    bool m_listing = false;   // UpdateInfo runs: the log-in's window carries UIDL and LIST
    Ticket m_uidlAhead = -1;
    Ticket m_listAhead = -1;
    TmsRemoteInfo m_remoteInfo;
    QList<int> m_skipped;
    QList<int> m_deleted;
    // The UIDL listing of this session, asked for once a marked message is not where it was.
    std::optional<QHash<int, QString>> m_freshIds;
};
