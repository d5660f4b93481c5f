#include "pop3.h"

#include "files.h"
#include "pop3parse.h"

#include <QBuffer>
#include <QScopeGuard>
#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {
// A CAPA listing is a few dozen short lines.
constexpr qint64 kMaxCapaBlock = 64 * 1024;

bool HasLineBreakOrNul(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}
} // namespace

// ---------------- TmsCustomPOP ----------------

TmsCustomPOP::TmsCustomPOP(QObject *parent) : TmsMailBase(parent)
{
    SetServiceNames(QStringLiteral("pop3"), QStringLiteral("pop3s"), 995);
    SetDefaultPort(110);
    SetTimeOut(60);
}

int TmsCustomPOP::ReplyCode(const QString &line) const
{
    return Pop3ReplyCode(line);
}

void TmsCustomPOP::CheckProperties()
{
    if (m_userName.isEmpty())
        RaiseSocketError(NetText::kUserNameRequired);
    if (m_password.isEmpty())
        RaiseSocketError(NetText::kPasswordRequired);
    // Either would end the command line early and let the rest pass as a command of its own.
    if (HasLineBreakOrNul(m_userName))
        RaiseErrorText(QStringLiteral("The user name must not contain line breaks or NUL characters"), false);
    if (HasLineBreakOrNul(m_password))
        RaiseErrorText(QStringLiteral("The password must not contain line breaks or NUL characters"), false);
}

void TmsCustomPOP::Open()
{
    CheckProperties();
    ResetState();
    TmsMailBase::Open();
}

namespace {
// The password stays out of LastCommand.
QString CommandName(const QString &line)
{
    return line.startsWith(QLatin1String("PASS ")) ? QStringLiteral("PASS") : line;
}
} // namespace

int TmsCustomPOP::Command(const QString &line)
{
    // A reply read now would be the one of a command sent earlier.
    if (m_readTicket != m_nextTicket)
        throw std::logic_error("TmsCustomPOP::Command: commands wait in the window");
    m_lastCommand = CommandName(line);
    SendLine(line);
    QString reply;
    return ReadLine(reply);
}

void TmsCustomPOP::RequirePositive(int code)
{
    if (code != 1)
        throw EServerError(LastReply());
}

void TmsCustomPOP::Login()
{
    RefuseWhileWaiting();
    m_messageCount = -1;
    m_totalSize = -1;
    m_capabilities = {};
    m_pipelining = false;
    m_loginDelayRefused = false;
    m_lastCommand.clear();
    ResetWindow();
    try {
        ResetState();
        ConnectSocket();
        QString greeting;
        RequirePositive(ReadLine(greeting));
        if (Tls().Mode == TmsTlsMode::StartTls) {
            if (Command(QStringLiteral("STLS")) != 1)
                RaiseTlsError(QStringLiteral("The server does not offer STLS (it answered \"%1\")").arg(LastReply()));
            StartTls();
        }
        // Asked only now under STLS: what was announced before the handshake is not to be
        // trusted. A token log-in cannot go without: only CAPA names the mechanisms.
        if (m_usePipelining || m_loginMethod == LoginMethod::OAuth2)
            ReadCapabilities(m_capabilities);
        m_pipelining = m_usePipelining && m_capabilities.Pipelining;
        const SaslChoice choice =
            ChooseSaslMechanism(m_loginMethod, OfferedSaslMechanisms(m_capabilities.Lines));
        m_mechanism = choice.mechanism;
        if (!choice.problem.isEmpty()) {
            m_lastCommand = QStringLiteral("AUTH");
            throw EServerError(choice.problem);
        }
        if (m_mechanism != SaslMechanism::UserPass)
            Authenticate(m_mechanism);
        SetWindowAhead(true);
        // In one window when the server pipelines: a refusal is still the reply of its own
        // command, and whatever follows a refused USER or PASS is refused as well.
        Ticket user = -1;
        Ticket pass = -1;
        if (m_mechanism == SaslMechanism::UserPass) {
            user = Queue(QStringLiteral("USER ") + m_userName);
            pass = Queue(QStringLiteral("PASS ") + m_password);
        }
        Ticket stat = -1;
        Ticket capa = -1;
        if (m_pipelining) {
            stat = Queue(QStringLiteral("STAT"));
            // The delay announced before the log-in was only a default; this user's is told now.
            if (m_capabilities.LoginDelayPerUser)
                capa = Queue(QStringLiteral("CAPA"), kMaxCapaBlock);
            QueueWithLogin();
        }
        for (const Ticket ticket : {user, pass}) {
            if (ticket < 0)
                continue;
            const QueuedReply reply = Take(ticket);
            if (reply.code != 1) {
                m_loginDelayRefused = HasLoginDelayCode(reply.line);
                RequirePositive(reply.code);
            }
        }
        if (stat >= 0)
            AcceptStat(Take(stat).code);
        else
            AcceptStat(Command(QStringLiteral("STAT")));
        if (m_capabilities.LoginDelayPerUser) {
            // A refusal now leaves what was announced before.
            Pop3Capabilities now;
            bool told = false;
            if (capa >= 0) {
                const QueuedReply reply = Take(capa);
                told = reply.code == 1;
                if (told)
                    now = ParseCapaListing(reply.block);
            } else {
                told = ReadCapabilities(now);
            }
            if (told) {
                if (now.LoginDelay < 0)
                    now.LoginDelay = m_capabilities.LoginDelay;
                m_capabilities = now;
            }
        }
        m_pipelining = m_usePipelining && m_capabilities.Pipelining;
    } catch (...) {
        ResetWindow();
        CloseSocket();
        throw;
    }
}

namespace {
// RFC 5034: an AUTH line with its initial response must fit the 255 octets of a command line
// (RFC 2449); a longer response (an access token) goes on a line of its own.
constexpr int kMaxAuthLine = 255;
// A challenge line before the verdict: "+" but not "+OK".
bool IsContinuation(const QString &reply)
{
    return reply.startsWith(u'+') && !reply.startsWith(QLatin1String("+OK"), Qt::CaseInsensitive);
}
} // namespace

void TmsCustomPOP::Authenticate(SaslMechanism mechanism)
{
    // LastCommand never carries the response: it holds the password or the token.
    const QString command = QStringLiteral("AUTH ") + SaslMechanismName(mechanism);
    const QString response =
        QString::fromLatin1(SaslInitialResponse(mechanism, m_userName, m_password).toBase64());
    m_lastCommand = command;
    QString reply;
    if (command.size() + 1 + response.size() + 2 <= kMaxAuthLine) {
        SendLine(command + u' ' + response);
    } else {
        SendLine(command);
        ReadLine(reply);
        if (!IsContinuation(reply))
            throw EServerError(SaslRefusalMessage(mechanism, {}, reply));
        SendLine(response);
    }
    ReadLine(reply);
    // A challenge now is the error of an OAuth2 exchange (base64 JSON); the server sends its
    // verdict once it is answered. Any other challenge is cancelled ("*"). At most two rounds:
    // a server that keeps challenging is refused, not followed.
    QString challenge;
    for (int round = 0; IsContinuation(reply) && round < 2; ++round) {
        challenge = reply.mid(1).trimmed();
        SendLine(mechanism == SaslMechanism::Plain || round > 0 ? QStringLiteral("*") : SaslAbortLine(mechanism));
        ReadLine(reply);
    }
    if (reply.startsWith(QLatin1String("+OK"), Qt::CaseInsensitive))
        return;
    m_loginDelayRefused = HasLoginDelayCode(reply);
    throw EServerError(SaslRefusalMessage(mechanism, challenge, reply));
}

bool TmsCustomPOP::ReadCapabilities(Pop3Capabilities &capabilities)
{
    // A server without CAPA refuses it; it then simply has no capabilities we could use.
    if (Command(QStringLiteral("CAPA")) != 1)
        return false;
    QByteArray block;
    QBuffer buffer(&block);
    buffer.open(QIODevice::WriteOnly);
    ReceiveBlock(buffer, -1, kMaxCapaBlock, false);
    capabilities = ParseCapaListing(block);
    return true;
}

// ---- the window of outstanding commands ----

TmsCustomPOP::Ticket TmsCustomPOP::Queue(const QString &line, qint64 blockLimit, bool progress)
{
    if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0)))
        RaiseErrorText(QStringLiteral("A command line must not contain CR, LF or NUL"), false);
    QueuedReply entry;
    entry.command = line;
    entry.bytes = line.toUtf8().size() + 2;
    entry.blockLimit = blockLimit;
    entry.progress = progress;
    m_pendingBytes += entry.bytes;
    m_pendingBlockBytes += qMax(blockLimit, qint64(0));
    m_window.push_back(std::move(entry));
    return m_nextTicket++;
}

bool TmsCustomPOP::WindowHasRoom(int lines, qint64 bytes, qint64 blockBytes) const
{
    const qint64 pending = m_nextTicket - m_readTicket;
    if (pending == 0)
        return true;
    return pending + lines <= m_windowCommands && m_pendingBytes + lines * bytes <= kWindowBytes
        && (blockBytes == 0 || m_heldBytes + m_pendingBlockBytes + blockBytes <= kMaxReadAheadBytes);
}

bool TmsCustomPOP::WindowLow() const
{
    return (m_nextTicket - m_readTicket) <= m_windowCommands / 2 && m_pendingBytes <= kWindowBytes / 2;
}

void TmsCustomPOP::SetWindowAhead(bool ahead)
{
    m_windowCommands = ahead && m_pipelining ? kWindowCommands : 1;
}

void TmsCustomPOP::FlushWindow()
{
    QByteArray bytes;
    while (m_sendTicket < m_nextTicket && m_sendTicket - m_readTicket < m_windowCommands) {
        bytes += m_window[size_t(m_sendTicket - m_windowBase)].command.toUtf8() + "\r\n";
        ++m_sendTicket;
    }
    if (!bytes.isEmpty())
        WriteAhead(bytes);
}

void TmsCustomPOP::ReadQueued(QueuedReply &entry, bool current)
{
    QString line;
    entry.code = ReadLine(line);
    entry.line = line;
    m_pendingBytes -= entry.bytes;
    m_pendingBlockBytes -= qMax(entry.blockLimit, qint64(0));
    if (entry.blockLimit >= 0 && entry.code == 1) {
        QBuffer buffer(&entry.block);
        buffer.open(QIODevice::WriteOnly);
        ReceiveBlock(buffer, -1, entry.blockLimit, entry.progress && current);
    }
    entry.readAhead = !current;
    if (entry.readAhead)
        m_heldBytes += entry.block.size();
}

TmsCustomPOP::QueuedReply TmsCustomPOP::Take(Ticket ticket)
{
    if (ticket < m_windowBase || ticket >= m_nextTicket || m_window[size_t(ticket - m_windowBase)].taken)
        throw std::logic_error("TmsCustomPOP::Take: no such outstanding command");
    while (m_readTicket <= ticket) {
        FlushWindow();
        ReadQueued(m_window[size_t(m_readTicket - m_windowBase)], m_readTicket == ticket);
        ++m_readTicket;
    }
    QueuedReply &slot = m_window[size_t(ticket - m_windowBase)];
    QueuedReply reply = std::move(slot);
    slot.taken = true;
    while (!m_window.empty() && m_window.front().taken) {
        m_window.pop_front();
        ++m_windowBase;
    }
    if (reply.readAhead)
        m_heldBytes -= reply.block.size();
    m_lastCommand = CommandName(reply.command);
    SetLastReply(reply.line);
    // A block read ahead reported no progress then; it does now, at its turn, so the events
    // come in the order of a client that waits for each reply.
    if (reply.readAhead && reply.progress && reply.blockLimit >= 0 && reply.code == 1 && OnProgress)
        OnProgress(this, -1, 0);
    return reply;
}

void TmsCustomPOP::ResetWindow()
{
    m_window.clear();
    m_windowBase = m_nextTicket;
    m_sendTicket = m_nextTicket;
    m_readTicket = m_nextTicket;
    m_pendingBytes = 0;
    m_pendingBlockBytes = 0;
    m_heldBytes = 0;
    m_quitTicket = -1;
}

void TmsCustomPOP::SetBlockLimit(Ticket ticket, qint64 blockLimit)
{
    if (ticket < m_readTicket || ticket >= m_nextTicket)
        throw std::logic_error("TmsCustomPOP::SetBlockLimit: no such unread command");
    QueuedReply &entry = m_window[size_t(ticket - m_windowBase)];
    m_pendingBlockBytes += qMax(blockLimit, qint64(0)) - qMax(entry.blockLimit, qint64(0));
    entry.blockLimit = blockLimit;
}

void TmsCustomPOP::AcceptStat(int code)
{
    RequirePositive(code);
    int count = 0;
    qint64 size = -1;
    if (!ParseStatReply(LastReply(), count, size))
        RaiseProtocolError(QStringLiteral("The server's reply to STAT holds no message count: \"%1\"").arg(LastReply()));
    m_messageCount = count;
    m_totalSize = size;
}

void TmsCustomPOP::Quit()
{
    RefuseWhileWaiting();
    if (!Connected())
        return;
    if (m_quitTicket >= 0) {
        RequirePositive(Take(std::exchange(m_quitTicket, -1)).code);
        return;
    }
    RequirePositive(Command(QStringLiteral("QUIT")));
}

void TmsCustomPOP::QueueQuit()
{
    m_quitTicket = Queue(QStringLiteral("QUIT"));
}

void TmsCustomPOP::Retrieve(int Index)
{
    Operation operation(this);
    DoRetrieve(Index, Index + 1);
}

void TmsCustomPOP::DoRetrieve(int Index, int Number)
{
    if (m_readTicket != m_nextTicket)
        throw std::logic_error("TmsCustomPOP::DoRetrieve: commands wait in the window");
    const QString n = QString::number(Number);
    RequirePositive(Command(QStringLiteral("LIST ") + n));
    const qint64 size = ParseListSize(LastReply());
    if (OnRetrieving)
        OnRetrieving(this, Index);
    RequirePositive(Command(QStringLiteral("RETR ") + n));
    QByteArray contents;
    QBuffer buffer(&contents);
    buffer.open(QIODevice::WriteOnly);
    const qint64 limit = size > 0 ? qMin(2 * size + 65536, kMaxMessageBytes) : kMaxMessageBytes;
    ReceiveToStream(buffer, size, limit);
    buffer.close();
    StoreMessage(Index, contents);
    if (OnRetrieved)
        OnRetrieved(this, Index);
}

void TmsCustomPOP::Delete(int Index)
{
    Operation operation(this);
    DoDelete(Index);
}

void TmsCustomPOP::DoDelete(int Index)
{
    if (OnDeleting)
        OnDeleting(this, Index);
    RequirePositive(Command(QStringLiteral("DELE ") + QString::number(Index + 1)));
    if (OnDeleted)
        OnDeleted(this, Index);
}

// ---------------- TmsRemotePOP ----------------

TmsRemotePOP::TmsRemotePOP(QObject *parent) : TmsCustomPOP(parent) {}

void TmsRemotePOP::SetMessageDirectory(const QString &directory)
{
    m_messageDirectory = directory;
    if (!m_messageDirectory.isEmpty() && !m_messageDirectory.endsWith(u'/'))
        m_messageDirectory.append(u'/');
}

void TmsRemotePOP::StoreMessage(int Index, const QByteArray &Contents)
{
    if (OnUserMessageSave) {
        OnUserMessageSave(this, Index, Contents);
        return;
    }
    const QString folder = m_messageDirectory.isEmpty() ? DataFolder() + u'/' : m_messageDirectory;
    const QString path = folder + QStringLiteral("msg_") + QString::number(Index) + QStringLiteral(".eml");
    QString error;
    if (!WriteWholeFile(path, Contents, &error))
        RaiseErrorText(QStringLiteral("The message could not be saved as %1: %2").arg(path, error), false);
}

qint64 TmsRemotePOP::UidlLimit() const
{
    return 65536 + qint64(qBound(0, MessageCount(), kMaxListedMessages)) * kUidlBytesPerMessage;
}

qint64 TmsRemotePOP::ListLimit() const
{
    return 65536 + qint64(qBound(0, MessageCount(), kMaxListedMessages)) * kListBytesPerMessage;
}

TmsRemotePOP::Check TmsRemotePOP::QueueCheck(int index, int number, bool withId, qint64 topLimit)
{
    const QString n = QString::number(number);
    Check check;
    check.index = index;
    check.number = number;
    check.list = Queue(QStringLiteral("LIST ") + n);
    check.top = Queue(QStringLiteral("TOP ") + n + QStringLiteral(" 1"), topLimit, true);
    if (withId)
        check.uidl = Queue(QStringLiteral("UIDL ") + n);
    return check;
}

bool TmsRemotePOP::TakeCheck(const Check &check, bool goneIsFalse, Pop3MessageFacts &fresh)
{
    if (check.list >= 0) {
        const QueuedReply list = Take(check.list);
        if (list.code == -1 && goneIsFalse) {
            // "-ERR no such message": the mailbox shrank since the listing. The rest of the
            // check is answered too.
            Take(check.top);
            if (check.uidl >= 0)
                Take(check.uidl);
            return false;
        }
        RequirePositive(list.code);
        fresh.Size = ParseListSize(list.line);
    }
    const QueuedReply top = Take(check.top);
    RequirePositive(top.code);
    fresh.Headers = HeadersFromBlock(top.block);
    if (check.uidl >= 0) {
        const QueuedReply uidl = Take(check.uidl);
        if (uidl.code == 1)
            fresh.Uidl = ParseUidlReply(uidl.line, check.number);
    }
    return true;
}

qint64 TmsRemotePOP::TopLimit(const TmsRemoteInfoItem &item)
{
    // The header lines and one body line cannot be longer than the whole message; the slack
    // covers servers that count line ends as one octet.
    return item.Size > 0 ? qMin(kMaxHeaderBlock, item.Size + 65536) : kMaxHeaderBlock;
}

int TmsRemotePOP::Locate(const Check &check)
{
    const TmsRemoteInfoItem &listed = m_remoteInfo[check.index];
    Pop3MessageFacts fresh;
    if (TakeCheck(check, true, fresh) && SameMessage(listed, fresh))
        return check.number;
    // Only the unique id can tell where a message went; without one it stays where it is.
    if (!m_useUidl || listed.Uidl.isEmpty())
        return 0;
    if (!m_freshIds) {
        // Message numbers do not change within a session: one listing serves the whole run.
        const QueuedReply reply = Take(Queue(QStringLiteral("UIDL"), UidlLimit()));
        m_freshIds = reply.code == 1 ? ParseUidlListing(reply.block) : QHash<int, QString>();
    }
    const int moved = FindUniqueId(*m_freshIds, listed.Uidl);
    if (moved == 0 || moved == check.number)
        return 0;
    Pop3MessageFacts there;
    there.Uidl = listed.Uidl;
    // A message deleted earlier in this run answers "-ERR": it is not found again.
    if (!TakeCheck(QueueCheck(check.index, moved, false, TopLimit(listed)), true, there) || !SameMessage(listed, there))
        return 0;
    return moved;
}

void TmsRemotePOP::UpdateInfo()
{
    Operation operation(this);
    // Any failure ends the session without QUIT, so the server keeps the mailbox as it was
    // and the next operation starts with a fresh log-in. (A QUIT sent ahead goes out only in
    // a session that deletes nothing, and its reply is never taken after a failure.)
    try {
        OpenSession(true);
        ListInSession();
        DoDisconnect();
    } catch (...) {
        Abandon();
        throw;
    }
    if (OnInfoUpdated)
        OnInfoUpdated(this);
}

void TmsRemotePOP::Abandon()
{
    // The replies of the rest of the window are dropped with the connection.
    ResetWindow();
    CloseSocket();
}

void TmsRemotePOP::OpenSession(bool forListing)
{
    m_listing = forListing;
    m_uidlAhead = -1;
    m_listAhead = -1;
    const auto listed = qScopeGuard([this] { m_listing = false; });
    DoConnect();
}

void TmsRemotePOP::ListInSession()
{
    const auto aheadTaken = qScopeGuard([this] {
        m_uidlAhead = -1;
        m_listAhead = -1;
    });
    if (OnUpdatingInfo)
        OnUpdatingInfo(this);
    m_remoteInfo.Clear();
    ListMessages();
}

void TmsRemotePOP::QueueWithLogin()
{
    if (!m_listing)
        return;
    // Their limits depend on the count STAT tells; they are set before the replies are read.
    if (m_useUidl)
        m_uidlAhead = Queue(QStringLiteral("UIDL"), UidlLimit());
    m_listAhead = Queue(QStringLiteral("LIST"), ListLimit());
}

void TmsRemotePOP::RefuseOversizedMailbox()
{
    if (MessageCount() > kMaxListedMessages)
        RaiseProtocolError(QStringLiteral("The mailbox holds %1 messages, more than the %2 that one check lists. "
                                          "Remove messages with your mail program, then check again.")
                               .arg(MessageCount())
                               .arg(kMaxListedMessages));
}

QHash<int, QString> TmsRemotePOP::TakeIds(Ticket uidl)
{
    const QueuedReply reply = Take(uidl);
    // A server without UIDL refuses it; the listing then simply has no ids. Anything else
    // (a closed connection, a line that is no reply) is a failure of UIDL.
    if (reply.code != 1 && !reply.line.startsWith(u'-'))
        RequirePositive(reply.code);
    return reply.code == 1 ? ParseUidlListing(reply.block) : QHash<int, QString>();
}

void TmsRemotePOP::AddListed(TmsRemoteInfoItem item, qint64 &listedBytes)
{
    for (const QString &line : std::as_const(item.Headers))
        listedBytes += line.size() + 2;
    if (listedBytes > kMaxListingBytes)
        RaiseProtocolError(QStringLiteral("The header lines of the first %1 messages take more than the %2 MiB "
                                          "that one check keeps. Remove messages with your mail program, then "
                                          "check again.")
                               .arg(m_remoteInfo.Count() + 1)
                               .arg(kMaxListingBytes / (1024 * 1024)));
    m_remoteInfo.Add(std::move(item));
    ItemListed(m_remoteInfo.Count() - 1);
}

void TmsRemotePOP::ItemListed(int Index)
{
    if (OnNextInfoUpdated)
        OnNextInfoUpdated(this, Index);
}

void TmsRemotePOP::ListMessages()
{
    // The replies are handled in order, so items and events come the same either way, and the
    // first refusal ends the listing at its message.
    const int count = MessageCount();
    // Refused before the listings that came with the log-in are read.
    RefuseOversizedMailbox();
    const bool ahead = m_listAhead >= 0;
    Ticket uidl = m_uidlAhead;
    if (ahead) {
        if (uidl >= 0)
            SetBlockLimit(uidl, UidlLimit());
        SetBlockLimit(m_listAhead, ListLimit());
    } else if (m_useUidl && count > 0) {
        uidl = Queue(QStringLiteral("UIDL"), UidlLimit());
    }
    SetWindowAhead(true);
    const bool quitAhead = ListingEndsSession();
    std::deque<Check> pending;
    int next = 0;
    const qint64 lineBytes = QByteArray::number(count).size() + 8;
    const auto fill = [&] {
        while (next < count && WindowHasRoom(ahead ? 1 : 2, lineBytes)) {
            if (ahead)
                pending.push_back({next, next + 1, -1, Queue(QStringLiteral("TOP %1 1").arg(next + 1), kMaxHeaderBlock, true), -1});
            else
                pending.push_back(QueueCheck(next, next + 1, false, kMaxHeaderBlock));
            ++next;
        }
        if (next == count && quitAhead && Pipelining() && !QuitQueued() && WindowHasRoom(1, 6))
            QueueQuit();
        FlushWindow();
    };
    // With the sizes coming in one LIST, the TOP commands go out once the id and size
    // listings have come (a failure there sends nothing more).
    if (!ahead)
        fill();
    const QHash<int, QString> ids = uidl >= 0 ? TakeIds(uidl) : QHash<int, QString>();
    QHash<int, qint64> sizes;
    if (ahead) {
        const QueuedReply list = Take(m_listAhead);
        RequirePositive(list.code);
        sizes = ParseListListing(list.block);
    }
    qint64 listedBytes = 0;
    for (int index = 0; index < count; ++index) {
        if (pending.empty() || WindowLow())
            fill();
        const Check check = pending.front();
        pending.pop_front();
        TmsRemoteInfoItem item;
        TakeCheck(check, false, item);
        if (ahead)
            item.Size = sizes.value(index + 1);
        item.Uidl = ids.value(index + 1);
        AddListed(std::move(item), listedBytes);
    }
}

bool TmsRemotePOP::SetFlags(int Index, quint8 flags)
{
    if (Index < 0 || Index >= m_remoteInfo.Count())
        return false;
    m_remoteInfo[Index].Flags = flags;
    return true;
}

bool TmsRemotePOP::MarkRetrieve(int Index)
{
    if (Index < 0 || Index >= m_remoteInfo.Count())
        return false;
    return SetFlags(Index, m_remoteInfo[Index].Flags | TmsRemoteInfoItem::kRetrieve);
}

bool TmsRemotePOP::MarkDelete(int Index)
{
    if (Index < 0 || Index >= m_remoteInfo.Count())
        return false;
    return SetFlags(Index, m_remoteInfo[Index].Flags | TmsRemoteInfoItem::kDelete);
}

bool TmsRemotePOP::Unmark(int Index)
{
    return SetFlags(Index, 0);
}

bool TmsRemotePOP::VerifyItem(int Index)
{
    Operation operation(this);
    return CheckInSession(Index);
}

bool TmsRemotePOP::CheckInSession(int Index)
{
    if (Index < 0 || Index >= m_remoteInfo.Count())
        return false;
    SetWindowAhead(false);
    const TmsRemoteInfoItem &listed = m_remoteInfo[Index];
    Pop3MessageFacts fresh;
    const Check check = QueueCheck(Index, Index + 1, m_useUidl && !listed.Uidl.isEmpty(), TopLimit(listed));
    return TakeCheck(check, true, fresh) && SameMessage(listed, fresh);
}

void TmsRemotePOP::Skip(int Index)
{
    m_skipped.append(Index);
    if (OnItemSkipped)
        OnItemSkipped(this, Index);
}

void TmsRemotePOP::TransferData()
{
    Operation operation(this);
    m_skipped.clear();
    m_deleted.clear();
    if (m_remoteInfo.Count() == 0)
        return;
    // Also when the log-in fails: a failed run is never replayed by a later one.
    const auto clearMarks = qScopeGuard([this] {
        for (TmsRemoteInfoItem &item : m_remoteInfo)
            item.Flags = 0;
    });
    try {
        OpenSession(false);
        TransferInSession();
        DoDisconnect();
    } catch (...) {
        Abandon();
        throw;
    }
}

void TmsRemotePOP::TransferInSession()
{
    m_skipped.clear();
    m_deleted.clear();
    const auto clearMarks = qScopeGuard([this] {
        for (TmsRemoteInfoItem &item : m_remoteInfo)
            item.Flags = 0;
    });
    m_freshIds.reset();
    if (OnTransferringData)
        OnTransferringData(this);
    TransferMarked();
    if (OnDataTransfered)
        OnDataTransfered(this);
}

void TmsRemotePOP::TransferMarked()
{
    // The checks of the marked messages go out ahead in a window when the session pipelines;
    // each DELE is sent once its message has passed, behind the checks already on their way.
    // Replies read before their turn wait in memory, so the events keep the order of a client
    // that waits for each reply. Whole messages are fetched one at a time: a window of them
    // would hold many in memory.
    QList<int> marked;
    bool retrieving = false;
    for (int index = 0; index < m_remoteInfo.Count(); ++index) {
        if (m_remoteInfo[index].Flags != 0)
            marked.append(index);
        retrieving = retrieving || m_remoteInfo[index].MarkedForRetrieval();
    }
    SetWindowAhead(!retrieving);
    std::deque<Check> ahead;
    qsizetype next = 0;
    const qint64 lineBytes = QByteArray::number(m_remoteInfo.Count()).size() + 8;
    const auto fill = [&] {
        while (next < marked.size()) {
            const TmsRemoteInfoItem &item = m_remoteInfo[marked[next]];
            const qint64 topLimit = TopLimit(item);
            if (!WindowHasRoom(4, lineBytes, topLimit))
                break;
            ahead.push_back(QueueCheck(marked[next], marked[next] + 1, m_useUidl && !item.Uidl.isEmpty(), topLimit));
            ++next;
        }
        FlushWindow();
    };
    for (qsizetype k = 0; k < marked.size(); ++k) {
        if (ahead.empty() || WindowLow())
            fill();
        const Check check = ahead.front();
        ahead.pop_front();
        const int number = Locate(check);
        if (number == 0) {
            Skip(check.index);
            continue;
        }
        if (m_remoteInfo[check.index].MarkedForRetrieval())
            DoRetrieve(check.index, number);
        if (!m_remoteInfo[check.index].MarkedForDeletion())
            continue;
        if (OnDeleting)
            OnDeleting(this, check.index);
        const Ticket dele = Queue(QStringLiteral("DELE ") + QString::number(number));
        fill();
        RequirePositive(Take(dele).code);
        m_deleted.append(check.index);
        if (OnDeleted)
            OnDeleted(this, check.index);
    }
}
