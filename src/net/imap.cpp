#include "imap.h"

#include "files.h"
#include "mailboxevents.h"
#include "pop3parse.h"
#include "textutil.h"
#include "wording.h"

#include <QSet>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

bool HasLineEnd(const QByteArray &text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

QString ServerText(const ImapResponse &response)
{
    return response.text.isEmpty() ? QString::fromLatin1(response.status) : response.text;
}

} // namespace

// ---- SASL PLAIN ----

std::optional<QByteArray> TImapPlainSasl::InitialResponse()
{
    return QByteArray('\0' + m_user.toUtf8() + '\0' + m_password.toUtf8());
}

std::optional<QByteArray> TImapPlainSasl::Respond(const QByteArray &challenge)
{
    // PLAIN has one message; a server that sends an empty challenge wants it now.
    if (!challenge.isEmpty())
        return std::nullopt;
    return InitialResponse();
}

ImapPiece ImapString(const QByteArray &text)
{
    if (const std::optional<QByteArray> quoted = ImapQuoted(text))
        return {*quoted, false};
    return {text, true};
}

// ---- the client ----

TImapClient::TImapClient(QObject *parent) : TagSocket(parent)
{
    SetServiceNames(QStringLiteral("imap"), QStringLiteral("imaps"), 993);
    SetDefaultPort(143);
}

void TImapClient::Drop()
{
    m_pending.clear();
    m_loggingOut = false;
    CloseSocket();
}

TImapClient::Pending *TImapClient::Find(Ticket ticket)
{
    for (Pending &pending : m_pending)
        if (pending.ticket == ticket)
            return &pending;
    return nullptr;
}

void TImapClient::Write(const QByteArray &bytes)
{
    WriteAhead(bytes);
}

ImapResponse TImapClient::ReadResponse(qint64 &budget, qint64 literalLimit)
{
    QByteArray whole;
    for (int literals = 0;; ++literals) {
        if (budget <= 0)
            RaiseProtocolError(Said("Net", "The server sent more than this program accepts for one command"));
        const QByteArray line = ReadRawLine(qMin(budget, kMaxResponseLineBytes));
        budget -= line.size() + (literals == 0 ? kResponseOverhead : 2);
        whole += line;
        const qint64 size = ImapLiteralAtEnd(line);
        if (size < 0)
            break;
        if (literals >= kMaxLiteralsPerResponse)
            RaiseProtocolError(Said("Net", "The server sent a response with too many parts"));
        if (size > literalLimit || size > budget)
            RaiseProtocolError(Said("Net", "The server announced %1 bytes of data where this program accepts at most %2")
                                   .arg(size)
                                   .arg(qMin(literalLimit, qMax(qint64(0), budget))));
        whole += "\r\n";
        whole += ReadExact(size);
        budget -= size;
    }
    ImapResponse response = ParseImapResponse(whole);
    if (response.kind == ImapResponse::Kind::Invalid)
        RaiseProtocolError(Said("Net", "The server sent a response this program cannot read: %1")
                               .arg(DecodeUtf8OrLatin1(whole.left(80))));
    return response;
}

void TImapClient::Note(const ImapResponse &response)
{
    if (response.code == "CAPABILITY")
        m_capabilities = ImapCapabilitiesFrom(response.codeArgs);
    if (response.kind == ImapResponse::Kind::Untagged && response.status == "CAPABILITY")
        m_capabilities = ImapCapabilitiesFrom(response.data);
    if (response.kind == ImapResponse::Kind::Untagged && response.status == "BYE" && !m_loggingOut) {
        // The server ends the session in the middle of a command: nothing more will come.
        const QString text = ServerText(response);
        Drop();
        throw EServerError(Said("Net", "The server ended the session: %1").arg(text));
    }
}

ImapResponse TImapClient::ReadOne()
{
    Pending *front = nullptr;
    for (Pending &pending : m_pending)
        if (!pending.done) {
            front = &pending;
            break;
        }
    if (front) {
        if (!front->clock.isValid())
            front->clock.start();
        const qint64 received = front->initialBudget - front->budget;
        const qint64 allowed = qMin(qint64(TimeOut()) * 1000 + received * 1000 / kMinBytesPerSecond,
                                    qint64(kMaxBlockSeconds) * 1000);
        if (front->clock.elapsed() > allowed)
            RaiseTimedOut();
    }
    qint64 scratch = kDefaultBudget;
    qint64 &budget = front ? front->budget : scratch;
    ImapResponse response = ReadResponse(budget, front ? front->literalLimit : kDefaultLiteral);
    Note(response);
    if (response.kind == ImapResponse::Kind::Tagged) {
        FileTagged(response);
    } else if (response.kind == ImapResponse::Kind::Untagged && front) {
        front->reply.untagged << response;
    }
    return response;
}

void TImapClient::FileTagged(const ImapResponse &response)
{
    Pending *owner = nullptr;
    for (Pending &pending : m_pending)
        if (!pending.done && pending.tag == response.tag)
            owner = &pending;
    if (!owner)
        RaiseProtocolError(Said("Net", "The server answered a command that was not sent (%1)")
                               .arg(QString::fromLatin1(response.tag.left(20))));
    owner->done = true;
    owner->reply.done = response;
}

std::optional<ImapResponse> TImapClient::Listen(const QDeadlineTimer &deadline)
{
    if (!WaitReadable(deadline))
        return std::nullopt;
    // Once it has begun, a response must arrive whole within the usual time.
    qint64 budget = kDefaultBudget;
    ImapResponse response = ReadResponse(budget, kDefaultLiteral);
    Note(response);
    if (response.kind == ImapResponse::Kind::Tagged)
        FileTagged(response);
    return response;
}

void TImapClient::SendContinuation(const QByteArray &line)
{
    if (HasLineEnd(line))
        throw std::logic_error("TImapClient::SendContinuation: a line must not contain CR, LF or NUL");
    Write(line + "\r\n");
    // The command waited for the server as long as it chose (IDLE): its time for the reply
    // counts from now, not from when it began.
    for (Pending &pending : m_pending)
        if (!pending.done) {
            pending.clock.invalidate();
            break;
        }
}

TImapClient::Ticket TImapClient::Queue(const ImapCommand &command, qint64 budget, qint64 literalLimit)
{
    for (const ImapPiece &piece : command)
        if (!piece.literal && HasLineEnd(piece.text))
            throw std::logic_error("TImapClient::Queue: a command line must not contain CR, LF or NUL");
    Pending pending;
    pending.ticket = m_nextTicket++;
    pending.tag = "A" + QByteArray::number(pending.ticket);
    pending.budget = budget;
    pending.initialBudget = budget;
    pending.literalLimit = literalLimit;
    m_pending.push_back(pending);
    const Ticket ticket = pending.ticket;

    QByteArray out = pending.tag + ' ';
    for (const ImapPiece &piece : command) {
        if (!piece.literal) {
            out += piece.text;
            continue;
        }
        // Without LITERAL+ (or LITERAL- for small ones, RFC 7888) the server must invite the
        // literal first.
        const bool plus = m_capabilities.Has("LITERAL+") || (m_capabilities.Has("LITERAL-") && piece.text.size() <= 4096);
        out += '{' + QByteArray::number(piece.text.size()) + (plus ? "+" : "") + "}\r\n";
        if (!plus) {
            Write(out);
            out.clear();
            if (!WaitContinuation(ticket))
                return ticket;   // refused before the literal: its reply says why
        }
        out += piece.text;
    }
    Write(out + "\r\n");
    return ticket;
}

bool TImapClient::WaitContinuation(Ticket ticket, QString *text)
{
    for (;;) {
        const Pending *pending = Find(ticket);
        if (!pending || pending->done)
            return false;
        const ImapResponse response = ReadOne();
        if (response.kind == ImapResponse::Kind::Continuation) {
            if (text)
                *text = response.text;
            return true;
        }
    }
}

ImapReply TImapClient::Take(Ticket ticket)
{
    for (;;) {
        Pending *pending = Find(ticket);
        if (!pending)
            throw std::logic_error("TImapClient::Take: no such command");
        if (pending->done) {
            ImapReply reply = std::move(pending->reply);
            m_pending.erase(std::find_if(m_pending.begin(), m_pending.end(),
                                         [ticket](const Pending &p) { return p.ticket == ticket; }));
            return reply;
        }
        const ImapResponse response = ReadOne();
        if (response.kind == ImapResponse::Kind::Continuation)
            RaiseProtocolError(Said("Net", "The server asked for data that no command has to send"));
    }
}

ImapReply TImapClient::TakeOk(Ticket ticket, const Said &what)
{
    ImapReply reply = Take(ticket);
    if (!reply.Ok())
        throw EServerError(what + QStringLiteral(": ") + ServerText(reply.done));
    return reply;
}

void TImapClient::AskCapabilities()
{
    m_capabilities = {};
    TakeOk(Queue("CAPABILITY"), Said("Net", "The server refused to name its capabilities"));
    if (m_capabilities.Empty())
        RaiseProtocolError(Said("Net", "The server named no capabilities"));
}

void TImapClient::Greet()
{
    m_pending.clear();
    m_capabilities = {};
    m_loggingOut = false;
    ResetState();
    Open();
    ConnectSocket();
    qint64 budget = kDefaultBudget;
    const ImapResponse greeting = ReadResponse(budget, kDefaultLiteral);
    if (greeting.kind != ImapResponse::Kind::Untagged || greeting.status == "BYE") {
        const QString text = ServerText(greeting);
        Drop();
        throw EServerError(Said("Net", "The server refused the connection: %1").arg(text));
    }
    if (greeting.status == "PREAUTH")
        RaiseProtocolError(Said("Net", "The server logged in without asking who is there; this program logs in itself"));
    if (greeting.status != "OK")
        RaiseProtocolError(Said("Net", "The server's greeting is not an IMAP greeting"));
    Note(greeting);
    if (Tls().Mode == TmsTlsMode::StartTls) {
        if (m_capabilities.Empty())
            AskCapabilities();
        if (!m_capabilities.Has("STARTTLS"))
            RaiseTlsError(Said("Net", "The server does not offer STARTTLS: choose TLS or no encryption for this mailbox"));
        const ImapReply reply = Take(Queue("STARTTLS"));
        if (!reply.Ok())
            RaiseTlsError(Said("Net", "The server refused STARTTLS: %1").arg(ServerText(reply.done)));
        StartTls();
        // What was announced before the handshake is not to be trusted.
        AskCapabilities();
    } else if (m_capabilities.Empty()) {
        AskCapabilities();
    }
    if (!m_capabilities.Has("IMAP4REV1") && !m_capabilities.Has("IMAP4REV2"))
        RaiseProtocolError(Said("Net", "The server does not speak IMAP4rev1"));
}

TImapClient::Ticket TImapClient::Authenticate(TImapSasl &sasl)
{
    const QByteArray mechanism = sasl.Mechanism();
    std::optional<QByteArray> initial = sasl.InitialResponse();
    Ticket ticket;
    if (initial && m_capabilities.Has("SASL-IR")) {
        // An empty initial response is sent as "=" (RFC 4959).
        const QByteArray encoded = initial->isEmpty() ? QByteArray("=") : initial->toBase64();
        ticket = Queue("AUTHENTICATE " + mechanism + ' ' + encoded);
        initial.reset();
    } else {
        ticket = Queue("AUTHENTICATE " + mechanism);
    }
    for (int step = 0;; ++step) {
        // The continuation's text is the challenge, in base 64.
        QString challengeText;
        if (!WaitContinuation(ticket, &challengeText))
            return ticket;
        if (step >= kMaxSaslSteps)
            RaiseProtocolError(Said("Net", "The server's log-in exchange does not end"));
        std::optional<QByteArray> answer;
        if (initial) {
            answer = initial;
            initial.reset();
        } else {
            answer = sasl.Respond(QByteArray::fromBase64(challengeText.toLatin1()));
        }
        Write(answer ? (answer->isEmpty() ? QByteArray() : answer->toBase64()) + "\r\n" : QByteArray("*\r\n"));
    }
}

TImapClient::Ticket TImapClient::QueueLogIn()
{
    if (m_sasl) {
        m_sasl->Offered(m_capabilities.AuthMechanisms());
        if (!m_capabilities.AuthMechanisms().contains(QString::fromLatin1(m_sasl->Mechanism()), Qt::CaseInsensitive))
            RaiseErrorText(Said("Net", "The server does not offer the log-in method %1")
                               .arg(QString::fromLatin1(m_sasl->Mechanism())), true);
        return Authenticate(*m_sasl);
    }
    if (m_user.isEmpty())
        RaiseSocketError(NetText::kUserNameRequired);
    if (m_password.isEmpty())
        RaiseSocketError(NetText::kPasswordRequired);
    if (m_capabilities.Has("LOGINDISABLED")) {
        if (m_capabilities.AuthMechanisms().contains(QStringLiteral("PLAIN"))) {
            TImapPlainSasl plain(m_user, m_password);
            return Authenticate(plain);
        }
        RaiseErrorText(Encrypted()
                           ? Said("Net", "The server offers no log-in method this program knows")
                           : Said("Net", "The server refuses log-ins over an unencrypted connection: choose TLS "
                                            "or STARTTLS for this mailbox"),
                       true);
    }
    return Queue(ImapCommand{{"LOGIN "}, ImapString(m_user.toUtf8()), {" "}, ImapString(m_password.toUtf8())});
}

void TImapClient::TakeLogIn(Ticket ticket)
{
    const ImapReply reply = Take(ticket);
    // Thrown as a refused log-in, so that callers tell it from a refused command as for POP3;
    // the response code (RFC 5530) stays in the text: UNAVAILABLE and INUSE pass by themselves.
    if (!reply.Ok()) {
        const QString code = reply.done.code.isEmpty() ? QString() : u'[' + QString::fromLatin1(reply.done.code) + "] ";
        throw ELoginError(Said("Net", "The server refused the log-in (%1%2). Check the user name and password.")
                              .arg(code, ServerText(reply.done)),
                          false);
    }
}

void TImapClient::LogOut()
{
    if (Connected())
        FinishLogOut(QueueLogOut());
}

TImapClient::Ticket TImapClient::QueueLogOut()
{
    // From now on a BYE is the expected goodbye, not a failure.
    m_loggingOut = true;
    return Queue("LOGOUT");
}

void TImapClient::FinishLogOut(Ticket ticket)
{
    try {
        Take(ticket);
    } catch (const ENetError &) {
        // The goodbye is a courtesy: the session's work is done.
    }
    Drop();
}

// ---- the mailbox ----

namespace {

QString UidText(quint32 validity, quint32 uid)
{
    return QString::number(validity) + u':' + QString::number(uid);
}

QByteArray FetchItems(bool whole)
{
    return whole ? QByteArray("(UID BODY.PEEK[])") : QByteArray("(UID RFC822.SIZE BODY.PEEK[HEADER])");
}

} // namespace

TImapMailbox::TImapMailbox(TImapSettings settings) : m_settings(std::move(settings))
{
    m_client.SetServer(m_settings.server);
    m_client.SetTls(m_settings.tls);
    m_client.SetTimeOut(m_settings.timeOutSeconds);
    m_client.SetUserName(m_settings.user);
    m_client.SetPassword(m_settings.password);
    m_client.SetSasl(m_settings.sasl);
}

void TImapMailbox::TakeOpened(TImapClient::Ticket ticket, bool readWrite)
{
    const ImapReply reply = m_client.Take(ticket);
    if (!reply.Ok())
        throw EServerError(Said("Net", "The folder \"%1\" cannot be opened (%2). Check the folder's name in the "
                                          "mailbox's settings.")
                               .arg(m_settings.folder, ServerText(reply.done)));
    quint32 validity = 0;
    for (const ImapResponse &response : reply.untagged) {
        if (response.code == "UIDVALIDITY" && response.codeArgs.size() == 1)
            validity = response.codeArgs[0].Number().value_or(0);
        if (response.status == "EXISTS")
            m_exists = response.number;
    }
    // Without UIDVALIDITY a UID names nothing for sure: nothing could be deleted safely.
    if (validity == 0)
        throw EProtocolError(Said("Net", "The server did not say which UIDs the folder \"%1\" uses")
                                 .arg(m_settings.folder));
    m_uidValidity = validity;
    m_selected = readWrite;
}

void TImapMailbox::SetEvents(const TMailboxEvents &events)
{
    m_events = events;
    ConnectSocketEvents(m_client, events);
}

void TImapMailbox::LogIn()
{
    m_client.Run([this] {
        if (m_client.Connected())
            m_client.Drop();
        ++m_session;
        m_uidValidity = 0;
        m_exists = -1;
        m_selected = false;
        m_toDelete.clear();
        m_target.clear();
        m_notice.clear();
        m_search = -1;
        m_endAfterList = false;
        m_client.Greet();
        // Sent together: the log-in, the capabilities a logged-in session has, the folder and
        // the listing's search. A refusal of any of them is read in this order, so the first
        // refused command is the one reported; the search of a folder that did not open is
        // never read, and nothing here changes the folder.
        const TImapClient::Ticket login = m_client.QueueLogIn();
        const TImapClient::Ticket capability = m_client.Queue("CAPABILITY");
        const TImapClient::Ticket examine =
            m_client.Queue(ImapCommand{{"EXAMINE "}, ImapString(ImapMailboxName(m_settings.folder))});
        m_search = QueueSearch();
        m_client.TakeLogIn(login);
        m_client.TakeOk(capability, Said("Net", "The server refused to name its capabilities"));
        TakeOpened(examine, false);
    });
}

TImapClient::Ticket TImapMailbox::QueueSearch()
{
    // A message flagged as deleted is on its way out (our own flag-only deletion, or the
    // user's mail program): listed again, it would be deleted, logged and counted once more.
    return m_client.Queue(m_settings.wholeFolder ? "UID SEARCH UNDELETED" : "UID SEARCH UNSEEN UNDELETED",
                          TImapClient::kMaxResponseLineBytes + 64 * 1024);
}

QList<TImapClient::Ticket> TImapMailbox::QueueFresh(const QList<quint32> &uids)
{
    QList<TImapClient::Ticket> tickets;
    for (qsizetype i = 0; i < uids.size(); i += kUidsPerCommand)
        tickets << m_client.Queue("UID FETCH " + ImapUidSet(uids.mid(i, kUidsPerCommand)) + ' ' + FetchItems(false),
                                  kMaxListingBytes, kMaxHeaderBytes);
    return tickets;
}

QHash<quint32, TImapMailbox::Fresh> TImapMailbox::FetchFresh(const QList<quint32> &uids)
{
    return TakeFresh(QueueFresh(uids), uids);
}

QHash<quint32, TImapMailbox::Fresh> TImapMailbox::TakeFresh(const QList<TImapClient::Ticket> &tickets,
                                                            const QList<quint32> &uids)
{
    const QSet<quint32> asked(uids.begin(), uids.end());
    QHash<quint32, Fresh> fresh;
    qint64 headerBytes = 0;
    for (const TImapClient::Ticket ticket : tickets) {
        const ImapReply reply = m_client.TakeOk(ticket, Said("Net", "The server refused to list the messages"));
        for (const ImapResponse &response : reply.untagged) {
            const std::optional<ImapFetchItems> items = ImapFetchFrom(response);
            // Flag changes of other messages come as FETCH too, without the items asked for.
            if (!items || items->uid == 0 || !items->header || !asked.contains(items->uid))
                continue;
            headerBytes += items->header->size();
            if (headerBytes > kMaxListingBytes)
                throw EProtocolError(Said("Net", "The messages' header lines are larger than %1 MiB in all")
                                         .arg(kMaxListingBytes / (1024 * 1024)));
            fresh.insert(items->uid, {items->size, *items->header});
        }
    }
    return fresh;
}

TMailboxListing TImapMailbox::List(
    const std::function<void(int index, int count, const TMailboxMessage &message)> &listed)
{
    if (m_events.listing)
        m_events.listing();
    const bool endAfter = std::exchange(m_endAfterList, false);
    TMailboxListing listing = m_client.Run([this, endAfter] {
        // The log-in sent the search already; a second listing in the session searches again.
        // (A failed log-in dropped it with the connection.)
        const TImapClient::Ticket sent = std::exchange(m_search, -1);
        const TImapClient::Ticket search = sent >= 0 && m_client.Connected() ? sent : QueueSearch();
        const ImapReply reply = m_client.TakeOk(search, Said("Net", "The server refused to search the folder"));
        QList<quint32> uids;
        for (const ImapResponse &response : reply.untagged)
            if (const std::optional<QList<quint32>> found = ImapSearchResult(response))
                uids += *found;
            else if (response.status == "SEARCH")
                throw EProtocolError(Said("Net", "The server's search result cannot be read"));
        // Newest first: the highest UIDs were the last to arrive.
        std::sort(uids.begin(), uids.end(), std::greater<>());
        uids.erase(std::unique(uids.begin(), uids.end()), uids.end());
        const int most = m_settings.wholeFolder ? kMaxListedMessages
                                                : std::clamp(m_settings.maxListed, 1, kMaxListedMessages);
        if (uids.size() > most)
            uids.resize(most);
        const QList<TImapClient::Ticket> fetches = QueueFresh(uids);
        // Nothing follows in this session: the goodbye travels with the fetch.
        const TImapClient::Ticket bye = endAfter ? m_client.QueueLogOut() : -1;
        const QHash<quint32, Fresh> fresh = TakeFresh(fetches, uids);
        if (bye >= 0)
            m_client.FinishLogOut(bye);
        TMailboxListing result;
        result.session = m_session;
        for (const quint32 uid : uids) {
            const auto it = fresh.find(uid);
            if (it == fresh.end())
                continue;   // expunged meanwhile
            TMailboxMessage message;
            message.size = qMax(qint64(0), it->size);
            message.headers = HeadersFromBlock(it->header);
            message.uid = UidText(m_uidValidity, uid);
            result.messages << message;
        }
        return result;
    });
    // Reported once the fetch is read whole: only then are the indexes of the newest-first
    // listing known (a message expunged meanwhile leaves no gap). One round trip brings them all.
    if (listed)
        for (int i = 0; i < listing.messages.size(); ++i)
            listed(i, int(listing.messages.size()), listing.messages[i]);
    return listing;
}

quint32 TImapMailbox::UidOf(const TMailboxMessage &message) const
{
    const qsizetype colon = message.uid.indexOf(u':');
    bool validityOk = false, uidOk = false;
    const quint32 validity = message.uid.left(colon).toUInt(&validityOk);
    const quint32 uid = message.uid.mid(colon + 1).toUInt(&uidOk);
    if (colon < 0 || !validityOk || !uidOk || validity != m_uidValidity)
        return 0;
    return uid;
}

bool TImapMailbox::Same(const TMailboxMessage &listed, const Fresh &fresh) const
{
    return SameMessage({listed.size, listed.headers, {}}, {qMax(qint64(0), fresh.size), HeadersFromBlock(fresh.header), {}});
}

void TImapMailbox::Require(const TMailboxListing &listing, int index) const
{
    if (index < 0 || index >= listing.messages.size())
        throw std::out_of_range("TImapMailbox: no such listed message");
}

bool TImapMailbox::StillSame(const TMailboxListing &listing, int index)
{
    Require(listing, index);
    return m_client.Run([&] {
        const quint32 uid = UidOf(listing.messages[index]);
        if (uid == 0)
            return false;
        const QHash<quint32, Fresh> fresh = FetchFresh({uid});
        return fresh.contains(uid) && Same(listing.messages[index], fresh[uid]);
    });
}

QByteArray TImapMailbox::Target(const QList<ImapResponse> &listed) const
{
    const bool junk = m_settings.action == TImapSettings::Action::MoveToJunk;
    const QString use = junk ? QStringLiteral("\\JUNK") : QStringLiteral("\\TRASH");
    for (const ImapResponse &response : listed) {
        const std::optional<ImapListEntry> entry = ImapListFrom(response);
        if (entry && entry->attributes.contains(use) && !entry->attributes.contains(QStringLiteral("\\NOSELECT")))
            return entry->name;
    }
    return ImapMailboxName(junk ? m_settings.junkFolder : m_settings.trashFolder);
}

TMailboxDeletion TImapMailbox::Delete(const TMailboxListing &listing, const QList<int> &indexes)
{
    for (const int index : indexes)
        Require(listing, index);
    return m_client.Run([&] {
        const quint32 before = m_uidValidity;
        // One round trip: the folder opened for changes, the folders with their uses, the
        // messages as they are now.
        TImapClient::Ticket select = -1, list = -1;
        if (!m_selected)
            select = m_client.Queue(ImapCommand{{"SELECT "}, ImapString(ImapMailboxName(m_settings.folder))});
        if (m_settings.action != TImapSettings::Action::DeleteForGood && m_target.isEmpty())
            list = m_client.Queue("LIST \"\" \"*\"", kMaxFolderListBytes);
        QList<quint32> uids;
        for (const int index : indexes)
            if (const quint32 uid = UidOf(listing.messages[index]))
                uids << uid;
        // Asked for before the SELECT's answer is read: with another UIDVALIDITY the answer
        // is thrown away below.
        const QList<TImapClient::Ticket> fetches = QueueFresh(uids);
        if (select >= 0)
            TakeOpened(select, true);
        if (list >= 0)
            m_target = Target(m_client.TakeOk(list, Said("Net", "The server refused to list its folders")).untagged);
        const QHash<quint32, Fresh> found = TakeFresh(fetches, uids);
        const QHash<quint32, Fresh> fresh = m_uidValidity == before ? found : QHash<quint32, Fresh>();
        TMailboxDeletion deletion;
        QList<int> sorted = indexes;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        for (const int index : sorted) {
            // A UID from another UIDVALIDITY may name any message now: refused.
            const quint32 uid = m_uidValidity == before ? UidOf(listing.messages[index]) : 0;
            if (uid != 0 && fresh.contains(uid) && Same(listing.messages[index], fresh[uid])) {
                if (m_events.deleting)
                    m_events.deleting(index);
                deletion.deleted << index;
                if (!m_toDelete.contains(uid))
                    m_toDelete << uid;
            } else {
                deletion.changed << index;
            }
        }
        return deletion;
    });
}

bool TImapMailbox::Fetch(const TMailboxListing &listing, int index, const QString &file)
{
    Require(listing, index);
    return m_client.Run([&] {
        const quint32 uid = UidOf(listing.messages[index]);
        if (uid == 0)
            return false;
        const QHash<quint32, Fresh> fresh = FetchFresh({uid});
        if (!fresh.contains(uid) || !Same(listing.messages[index], fresh[uid]))
            return false;
        if (m_events.retrieving)
            m_events.retrieving(index);
        const ImapReply reply = m_client.TakeOk(
            m_client.Queue("UID FETCH " + QByteArray::number(uid) + ' ' + FetchItems(true), kMaxMessageBytes + 65536,
                           kMaxMessageBytes),
            Said("Net", "The server refused to send the message"));
        for (const ImapResponse &response : reply.untagged) {
            const std::optional<ImapFetchItems> items = ImapFetchFrom(response);
            if (!items || items->uid != uid || !items->body)
                continue;
            QString error;
            if (!WriteWholeFile(file, *items->body, &error))
                throw ESocketError(Said("Net", "The message could not be saved: %1").arg(error));
            if (m_events.retrieved)
                m_events.retrieved(index);
            return true;
        }
        return false;   // expunged between the check and the fetch
    });
}

void TImapMailbox::Commit()
{
    if (!m_client.Connected() && m_toDelete.isEmpty())
        return;   // the session has ended already, with nothing left to do
    m_client.Run([this] {
        m_notice.clear();
        // The replies that must be OK, with what a refusal means.
        QList<std::pair<TImapClient::Ticket, Said>> steps;
        bool flaggedOnly = false;
        if (!m_toDelete.isEmpty()) {
            const QByteArray set = ImapUidSet(m_toDelete);
            const bool forGood = m_settings.action == TImapSettings::Action::DeleteForGood;
            const Said refusedMove =
                Said("Net", "The server refused to move the messages to the folder \"%1\". Check that the folder "
                               "exists, or name another in the mailbox's settings")
                    .arg(ImapMailboxText(m_target));
            if (!forGood && m_client.Capabilities().Has("MOVE")) {
                steps << std::pair{m_client.Queue(ImapCommand{{"UID MOVE " + set + ' '}, ImapString(m_target)}),
                                   refusedMove};
            } else {
                // The copy must be there before the originals are flagged: were it refused,
                // the flags would remove messages that exist nowhere else.
                if (!forGood)
                    m_client.TakeOk(m_client.Queue(ImapCommand{{"UID COPY " + set + ' '}, ImapString(m_target)}),
                                    refusedMove);
                steps << std::pair{m_client.Queue("UID STORE " + set + " +FLAGS.SILENT (\\Deleted)"),
                                   Said("Net", "The server refused to flag the messages as deleted")};
                // A plain EXPUNGE would also remove what the user's own mail program flagged.
                if (m_client.Capabilities().Has("UIDPLUS"))
                    steps << std::pair{m_client.Queue("UID EXPUNGE " + set),
                                       Said("Net", "The server refused to remove the messages")};
                else
                    flaggedOnly = true;
            }
        }
        // The goodbye goes out with the last commands: one round trip for the lot.
        const TImapClient::Ticket bye = m_client.QueueLogOut();
        for (const auto &[ticket, what] : steps)
            m_client.TakeOk(ticket, what);
        m_toDelete.clear();
        if (flaggedOnly)
            m_notice = Said("Net", "The server cannot remove single messages: they are flagged as deleted, and "
                                      "your mail program will finish the deletion.");
        m_client.FinishLogOut(bye);
    });
}

void TImapMailbox::LogOut()
{
    m_toDelete.clear();
    m_client.Run([this] { m_client.LogOut(); });
}

void TImapMailbox::Abort()
{
    m_client.Cancel();
}
