#pragma once

#include "imapparse.h"
#include "mailbox.h"
#include "tagsocket.h"
#include "wording.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <deque>
#include <memory>
#include <optional>

// A SASL mechanism for AUTHENTICATE (RFC 3501 6.2.2, with RFC 4959's initial response). PLAIN
// is here; token mechanisms (XOAUTH2, OAUTHBEARER) plug in through the same interface.
class TImapSasl
{
public:
    virtual ~TImapSasl() = default;
    virtual QByteArray Mechanism() const = 0;
    // The client's first message, unencoded; nothing when the mechanism waits for a challenge.
    virtual std::optional<QByteArray> InitialResponse() = 0;
    // The answer to a decoded challenge; nothing cancels the exchange.
    virtual std::optional<QByteArray> Respond(const QByteArray &challenge) = 0;
    // Told the server's mechanisms before each log-in, for one that chooses among them.
    virtual void Offered(const QStringList &mechanisms) { Q_UNUSED(mechanisms); }
};

class TImapPlainSasl : public TImapSasl
{
public:
    TImapPlainSasl(const QString &user, const QString &password) : m_user(user), m_password(password) {}
    QByteArray Mechanism() const override { return "PLAIN"; }
    std::optional<QByteArray> InitialResponse() override;
    std::optional<QByteArray> Respond(const QByteArray &challenge) override;

private:
    QString m_user;
    QString m_password;
};

// One piece of a command: text sent as it is, or a literal (sent counted, so any bytes pass).
struct ImapPiece {
    QByteArray text;
    bool literal = false;
};
using ImapCommand = QList<ImapPiece>;
// A string argument: quoted (or an atom) where it can be, else a literal.
ImapPiece ImapString(const QByteArray &text);

// What a command brought: its tagged response and the untagged ones read while it was the
// oldest command waiting for its end.
struct ImapReply {
    ImapResponse done;
    QList<ImapResponse> untagged;
    bool Ok() const { return done.status == "OK"; }
};

// An IMAP4rev1 client (RFC 3501) on the line transport: implicit TLS or STARTTLS, CAPABILITY,
// LOGIN or AUTHENTICATE, and tagged commands sent ahead of their replies. Every response and
// literal is bounded by the command's own limits, never by a number the server announces.
class TImapClient : public TagSocket
{
public:
    explicit TImapClient(QObject *parent = nullptr);

    void SetUserName(const QString &user) { m_user = user; }
    void SetPassword(const QString &password) { m_password = password; }
    // A mechanism to log in with instead of the user name and password (a token, say).
    void SetSasl(std::shared_ptr<TImapSasl> sasl) { m_sasl = std::move(sasl); }

    const ImapCapabilities &Capabilities() const { return m_capabilities; }

    // Connects, reads the greeting, secures the line as set and learns the capabilities.
    void Greet();
    // Logs in: AUTHENTICATE with the set mechanism; else LOGIN, or AUTHENTICATE PLAIN where
    // the server forbids LOGIN. Its reply is taken with TakeLogIn, so commands for after the
    // log-in can go out behind it.
    using Ticket = qint64;
    Ticket QueueLogIn();
    // Takes the log-in's reply; a refusal raises EServerError with a text for the user.
    void TakeLogIn(Ticket ticket);

    // Sends a command without waiting for its reply. budget bounds the bytes of all its
    // responses, literalLimit each literal in them.
    Ticket Queue(const ImapCommand &command, qint64 budget = kDefaultBudget, qint64 literalLimit = kDefaultLiteral);
    Ticket Queue(const QByteArray &command, qint64 budget = kDefaultBudget, qint64 literalLimit = kDefaultLiteral)
    {
        return Queue(ImapCommand{{command}}, budget, literalLimit);
    }
    // Reads responses up to the end of the command.
    ImapReply Take(Ticket ticket);
    // The same, raising EServerError with what plus the server's text unless it ended with OK.
    ImapReply TakeOk(Ticket ticket, const Said &what);
    // LOGOUT and close; the connection is closed also when the goodbye fails. LOGOUT may go out
    // behind the session's last commands: QueueLogOut, then FinishLogOut once their replies
    // are taken.
    void LogOut();
    Ticket QueueLogOut();
    void FinishLogOut(Ticket ticket);
    // Closes at once, forgetting every command waiting.
    void Drop();

    // For a command that runs until the client ends it (IDLE): waits for the server's "+"
    // (false when the command ended instead), then reads what the server sends as it comes.
    bool WaitForContinuation(Ticket ticket) { return WaitContinuation(ticket); }
    // The next response, each bounded on its own and kept with no command; nothing when the
    // deadline passed in silence. A tagged one ends its command as Take would see it.
    std::optional<ImapResponse> Listen(const QDeadlineTimer &deadline);
    // Sends a line that is no command of its own ("DONE" ends IDLE); the oldest command's
    // reply then has the usual time from now.
    void SendContinuation(const QByteArray &line);

    // Runs f as one operation of the connection: a second one started meanwhile (from an event
    // handler) is refused, and any failure closes the connection.
    template <class F>
    auto Run(F &&f)
    {
        Operation operation(this);
        try {
            return f();
        } catch (...) {
            Drop();
            throw;
        }
    }

    // A response line (literals apart) may take this many bytes: a SEARCH of 100,000 UIDs fits.
    static constexpr qint64 kMaxResponseLineBytes = 2 * 1024 * 1024;
    // What one response costs beyond its bytes when it is kept for its command: a server that
    // sends floods of tiny responses fills a command's budget as fast as one of big ones.
    static constexpr qint64 kResponseOverhead = 256;
    static constexpr qint64 kDefaultBudget = 4 * 1024 * 1024;
    static constexpr qint64 kDefaultLiteral = 64 * 1024;
    // Literals in one response; a listing's FETCH has one.
    static constexpr int kMaxLiteralsPerResponse = 16;
    // Rounds of a SASL exchange.
    static constexpr int kMaxSaslSteps = 8;

private:
    struct Pending {
        Ticket ticket = 0;
        QByteArray tag;
        qint64 budget = 0;
        qint64 initialBudget = 0;
        qint64 literalLimit = 0;
        // Runs from when its responses are first waited for: each read has a bound of its own,
        // and this one bounds them together, as a data block's time is bounded.
        QElapsedTimer clock;
        bool done = false;
        ImapReply reply;
    };
    // Reads one response and files it with the command it belongs to. Returns it, so that a
    // caller waiting for a continuation sees it.
    ImapResponse ReadOne();
    ImapResponse ReadResponse(qint64 &budget, qint64 literalLimit);
    // Files a tagged response with its command.
    void FileTagged(const ImapResponse &response);
    void Note(const ImapResponse &response);
    // Sends bytes after checking that no text piece carries a line end.
    void Write(const QByteArray &bytes);
    // Waits for "+" for the oldest unfinished command; false when it ended instead.
    bool WaitContinuation(Ticket ticket, QString *text = nullptr);
    Pending *Find(Ticket ticket);
    Ticket Authenticate(TImapSasl &sasl);
    // Asks for the capabilities again (after STARTTLS, or a greeting without them).
    void AskCapabilities();

    QString m_user;
    QString m_password;
    std::shared_ptr<TImapSasl> m_sasl;
    ImapCapabilities m_capabilities;
    std::deque<Pending> m_pending;
    Ticket m_nextTicket = 1;
    bool m_loggingOut = false;
};

// A mailbox's IMAP settings.
struct TImapSettings {
    enum class Action { MoveToJunk, MoveToTrash, DeleteForGood };

    QString server;         // "host" or "host:port"
    TmsTlsSettings tls{TmsTlsMode::Implicit, {}};
    QString user;
    QString password;
    std::shared_ptr<TImapSasl> sasl;  // instead of the password, when set
    int timeOutSeconds = 60;
    QString folder = QStringLiteral("INBOX");
    // The newest unseen messages a listing takes; the whole folder takes every message.
    int maxListed = 500;
    bool wholeFolder = false;
    Action action = Action::MoveToJunk;
    // Used when the server names no folder with the \Junk or \Trash use (RFC 6154).
    QString junkFolder = QStringLiteral("Junk");
    QString trashFolder = QStringLiteral("Trash");
};

// A mailbox on an IMAP server: one folder looked at read-only, its messages named by
// UIDVALIDITY and UID ("uidvalidity:uid" in TMailboxMessage::uid), nothing ever marked read.
// A deletion moves the messages to Junk or Trash or removes them, as set; it happens at Commit.
// Every message is checked again (size and header lines by UID) before it is acted on, in the
// same round trip that opens the folder for changes.
class TImapMailbox : public TMailbox
{
public:
    explicit TImapMailbox(TImapSettings settings);

    void SetEvents(const TMailboxEvents &events) override;
    bool Busy() const override { return m_client.Busy(); }
    bool Connected() const override { return m_client.Connected(); }
    void LogIn() override;
    quint64 Session() const override { return m_session; }
    void EndAfterList() override { m_endAfterList = true; }
    TMailboxListing List(
        const std::function<void(int index, int count, const TMailboxMessage &message)> &listed = {}) override;
    bool StillSame(const TMailboxListing &listing, int index) override;
    TMailboxDeletion Delete(const TMailboxListing &listing, const QList<int> &indexes) override;
    bool Fetch(const TMailboxListing &listing, int index, const QString &file) override;
    void Commit() override;
    void LogOut() override;
    void Abort() override;

    // A server without UID EXPUNGE leaves the messages flagged for the mail program to remove.
    QString Notice() const override { return m_notice; }
    // The UIDVALIDITY of the open folder, and its messages when it was opened (-1: not told).
    quint32 UidValidity() const { return m_uidValidity; }
    qint64 Exists() const { return m_exists; }
    TImapClient &Client() { return m_client; }

    // The most messages one listing takes, whatever the settings say.
    static constexpr int kMaxListedMessages = 100000;
    // UIDs in one command: keeps each command line short for every server.
    static constexpr int kUidsPerCommand = 1000;
    // The header lines of one message, and of a whole listing, as the server sent them.
    static constexpr qint64 kMaxHeaderBytes = 1024 * 1024;
    static constexpr qint64 kMaxListingBytes = 32 * 1024 * 1024;
    // The largest message fetched whole.
    static constexpr qint64 kMaxMessageBytes = 64 * 1024 * 1024;
    // LIST responses read when looking for the Junk or Trash folder.
    static constexpr qint64 kMaxFolderListBytes = 4 * 1024 * 1024;

private:
    struct Fresh {
        qint64 size = -1;
        QByteArray header;
    };
    TImapClient::Ticket QueueSearch();
    // Opens the folder (EXAMINE, or SELECT for changes) and reads its UIDVALIDITY.
    void TakeOpened(TImapClient::Ticket ticket, bool readWrite);
    // Fetches size and header of uids again, in as many commands as needed.
    QHash<quint32, Fresh> FetchFresh(const QList<quint32> &uids);
    QList<TImapClient::Ticket> QueueFresh(const QList<quint32> &uids);
    QHash<quint32, Fresh> TakeFresh(const QList<TImapClient::Ticket> &tickets, const QList<quint32> &uids);
    bool Same(const TMailboxMessage &listed, const Fresh &fresh) const;
    // The listed message's UID; 0 when it came from another UIDVALIDITY or is not ours.
    quint32 UidOf(const TMailboxMessage &message) const;
    QByteArray Target(const QList<ImapResponse> &listed) const;
    void Require(const TMailboxListing &listing, int index) const;

    TImapSettings m_settings;
    TImapClient m_client;
    TMailboxEvents m_events;
    quint64 m_session = 0;
    quint32 m_uidValidity = 0;
    qint64 m_exists = -1;
    bool m_selected = false;       // opened read-write for a deletion
    QList<quint32> m_toDelete;     // checked by Delete, acted on by Commit
    QByteArray m_target;           // the folder they go to
    QString m_notice;
    TImapClient::Ticket m_search = -1;   // the listing's search, sent with the log-in
    bool m_endAfterList = false;
};
