#include "pop3.h"

#include "files.h"
#include "pop3parse.h"

#include <QBuffer>
#include <QScopeGuard>
#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {
constexpr qint64 kMaxMessageBlock = qint64(1) << 30;
constexpr qint64 kUnknownSizeMessageBlock = qint64(256) << 20;
// A UIDL listing line is at most "n id" with a 70-character id.
constexpr qint64 kUidlBytesPerMessage = 96;
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

int TmsCustomPOP::Command(const QString &line)
{
    m_lastCommand = line.startsWith(QLatin1String("PASS ")) ? QStringLiteral("PASS") : line;
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
        // trusted.
        if (m_usePipelining)
            ReadCapabilities(m_capabilities);
        for (const QString &command : {QStringLiteral("USER ") + m_userName, QStringLiteral("PASS ") + m_password}) {
            const int code = Command(command);
            if (code != 1) {
                m_loginDelayRefused = HasLoginDelayCode(LastReply());
                RequirePositive(code);
            }
        }
        Stat();
        if (m_capabilities.LoginDelayPerUser) {
            // The delay announced before the log-in was only a default; this user's is told now.
            // A refusal now leaves what was announced before.
            Pop3Capabilities now;
            if (ReadCapabilities(now)) {
                if (now.LoginDelay < 0)
                    now.LoginDelay = m_capabilities.LoginDelay;
                m_capabilities = now;
            }
        }
        m_pipelining = m_usePipelining && m_capabilities.Pipelining;
    } catch (...) {
        CloseSocket();
        throw;
    }
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
    const QByteArray bytes = line.toUtf8() + "\r\n";
    entry.bytes = bytes.size();
    entry.blockLimit = blockLimit;
    entry.progress = progress;
    m_unsent += bytes;
    m_outstandingBytes += entry.bytes;
    m_window.push_back(std::move(entry));
    return m_nextTicket++;
}

bool TmsCustomPOP::WindowHasRoom(int lines, qint64 bytes) const
{
    return (m_nextTicket - m_readTicket) + lines <= kWindowCommands
        && m_outstandingBytes + lines * bytes <= kWindowBytes;
}

bool TmsCustomPOP::WindowLow() const
{
    return (m_nextTicket - m_readTicket) <= kWindowCommands / 2 && m_outstandingBytes <= kWindowBytes / 2;
}

void TmsCustomPOP::FlushWindow()
{
    if (m_unsent.isEmpty())
        return;
    const QByteArray bytes = std::exchange(m_unsent, QByteArray());
    WriteAhead(bytes);
}

void TmsCustomPOP::ReadQueued(QueuedReply &entry, bool current)
{
    QString line;
    entry.code = ReadLine(line);
    entry.line = line;
    m_outstandingBytes -= entry.bytes;
    if (entry.blockLimit >= 0 && entry.code == 1) {
        QBuffer buffer(&entry.block);
        buffer.open(QIODevice::WriteOnly);
        ReceiveBlock(buffer, -1, entry.blockLimit, entry.progress && current);
    }
    entry.readAhead = !current;
}

TmsCustomPOP::QueuedReply TmsCustomPOP::Take(Ticket ticket)
{
    if (ticket < m_windowBase || ticket >= m_nextTicket || m_window[size_t(ticket - m_windowBase)].taken)
        throw std::logic_error("TmsCustomPOP::Take: no such outstanding command");
    FlushWindow();
    while (m_readTicket <= ticket) {
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
    m_lastCommand = reply.command;
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
    m_readTicket = m_nextTicket;
    m_outstandingBytes = 0;
    m_unsent.clear();
}

void TmsCustomPOP::Stat()
{
    RequirePositive(Command(QStringLiteral("STAT")));
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
    RequirePositive(Command(QStringLiteral("QUIT")));
}

void TmsCustomPOP::Retrieve(int Index)
{
    Operation operation(this);
    DoRetrieve(Index);
}

void TmsCustomPOP::DoRetrieve(int Index)
{
    const QString n = QString::number(Index + 1);
    RequirePositive(Command(QStringLiteral("LIST ") + n));
    const qint64 size = ParseListSize(LastReply());
    if (OnRetrieving)
        OnRetrieving(this, Index);
    RequirePositive(Command(QStringLiteral("RETR ") + n));
    QByteArray contents;
    QBuffer buffer(&contents);
    buffer.open(QIODevice::WriteOnly);
    const qint64 limit = size > 0 ? qMin(2 * size + 65536, kMaxMessageBlock) : kUnknownSizeMessageBlock;
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

bool TmsRemotePOP::FetchInfo(int Index, TmsRemoteInfoItem &Item, bool goneIsMismatch)
{
    const QString n = QString::number(Index + 1);
    const int listed = Command(QStringLiteral("LIST ") + n);
    if (listed == -1 && goneIsMismatch)
        return false;  // "-ERR no such message": the mailbox shrank since the listing
    RequirePositive(listed);
    Item.Size = ParseListSize(LastReply());
    RequirePositive(Command(QStringLiteral("TOP ") + n + QStringLiteral(" 1")));
    QByteArray block;
    QBuffer buffer(&block);
    buffer.open(QIODevice::WriteOnly);
    ReceiveToStream(buffer, -1, kMaxHeaderBlock);
    buffer.close();
    Item.Headers = HeadersFromBlock(block);
    return true;
}

void TmsRemotePOP::GetInfo(int Index, TmsRemoteInfoItem &Item)
{
    Operation operation(this);
    FetchInfo(Index, Item, false);
}

QHash<int, QString> TmsRemotePOP::ListUniqueIds()
{
    // A server without UIDL refuses it; the listing then simply has no ids.
    if (Command(QStringLiteral("UIDL")) != 1)
        return {};
    QByteArray block;
    QBuffer buffer(&block);
    buffer.open(QIODevice::WriteOnly);
    ReceiveBlock(buffer, -1, 65536 + qint64(MessageCount()) * kUidlBytesPerMessage, false);
    return ParseUidlListing(block);
}

void TmsRemotePOP::UpdateInfo()
{
    Operation operation(this);
    DoUpdateInfo();
}

void TmsRemotePOP::DoUpdateInfo()
{
    // Any failure ends the session without QUIT, so the server keeps the mailbox as it was
    // and the next operation starts with a fresh log-in.
    try {
        DoConnect();
        if (OnUpdatingInfo)
            OnUpdatingInfo(this);
        m_remoteInfo.Clear();
        if (Pipelining()) {
            ListPipelined();
        } else {
            QHash<int, QString> ids;
            if (m_useUidl && MessageCount() > 0)
                ids = ListUniqueIds();
            for (int index = 0; index < MessageCount(); ++index) {
                TmsRemoteInfoItem item;
                FetchInfo(index, item, false);
                item.Uidl = ids.value(index + 1);
                m_remoteInfo.Add(std::move(item));
                if (OnNextInfoUpdated)
                    OnNextInfoUpdated(this, m_remoteInfo.Count() - 1);
            }
        }
        DoDisconnect();
    } catch (...) {
        // The replies of the rest of the window are dropped with the connection.
        ResetWindow();
        CloseSocket();
        throw;
    }
    if (OnInfoUpdated)
        OnInfoUpdated(this);
}

void TmsRemotePOP::ListPipelined()
{
    // The same commands as one at a time (UIDL, then LIST n and TOP n 1 for each message),
    // sent ahead in windows; the replies are handled in order, so items and events come as
    // they would without a window, and the first refusal ends the listing at its message.
    const int count = MessageCount();
    Ticket uidl = -1;
    if (m_useUidl && count > 0)
        uidl = Queue(QStringLiteral("UIDL"), 65536 + qint64(count) * kUidlBytesPerMessage);
    std::vector<std::pair<Ticket, Ticket>> tickets;
    tickets.reserve(size_t(count));
    const qint64 lineBytes = QByteArray::number(count).size() + 8;
    const auto fill = [&] {
        while (int(tickets.size()) < count && WindowHasRoom(2, lineBytes)) {
            const QString n = QString::number(tickets.size() + 1);
            const Ticket list = Queue(QStringLiteral("LIST ") + n);
            const Ticket top = Queue(QStringLiteral("TOP ") + n + QStringLiteral(" 1"), kMaxHeaderBlock, true);
            tickets.emplace_back(list, top);
        }
        FlushWindow();
    };
    fill();
    QHash<int, QString> ids;
    if (uidl >= 0) {
        const QueuedReply reply = Take(uidl);
        // A server without UIDL refuses it; the listing then simply has no ids.
        if (reply.code == 1)
            ids = ParseUidlListing(reply.block);
    }
    for (int index = 0; index < count; ++index) {
        if (int(tickets.size()) <= index || WindowLow())
            fill();
        TmsRemoteInfoItem item;
        const QueuedReply list = Take(tickets[size_t(index)].first);
        RequirePositive(list.code);
        item.Size = ParseListSize(list.line);
        const QueuedReply top = Take(tickets[size_t(index)].second);
        RequirePositive(top.code);
        item.Headers = HeadersFromBlock(top.block);
        item.Uidl = ids.value(index + 1);
        m_remoteInfo.Add(std::move(item));
        if (OnNextInfoUpdated)
            OnNextInfoUpdated(this, m_remoteInfo.Count() - 1);
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
    return DoVerifyItem(Index);
}

bool TmsRemotePOP::DoVerifyItem(int Index)
{
    if (Index < 0 || Index >= m_remoteInfo.Count())
        return false;
    TmsRemoteInfoItem fresh;
    if (!FetchInfo(Index, fresh, true))
        return false;
    const TmsRemoteInfoItem &stored = m_remoteInfo[Index];
    if (m_useUidl && !stored.Uidl.isEmpty()) {
        const int n = Index + 1;
        if (Command(QStringLiteral("UIDL ") + QString::number(n)) == 1) {
            const QString id = ParseUidlReply(LastReply(), n);
            if (!id.isEmpty())
                return id == stored.Uidl;
        }
    }
    return fresh.Size == stored.Size && SameHeaders(stored.Headers, fresh.Headers);
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
    DoTransferData();
}

void TmsRemotePOP::DoTransferData()
{
    m_skipped.clear();
    if (m_remoteInfo.Count() == 0)
        return;
    const auto clearMarks = qScopeGuard([this] {
        for (TmsRemoteInfoItem &item : m_remoteInfo)
            item.Flags = 0;
    });
    try {
        DoConnect();
        if (OnTransferringData)
            OnTransferringData(this);
        const bool retrieving = std::any_of(m_remoteInfo.begin(), m_remoteInfo.end(),
                                            [](const TmsRemoteInfoItem &item) { return item.MarkedForRetrieval(); });
        // Whole messages are fetched one at a time: a window of them would hold many in memory.
        if (Pipelining() && !retrieving) {
            DeletePipelined();
        } else {
            for (int index = 0; index < m_remoteInfo.Count(); ++index) {
                if (m_remoteInfo[index].MarkedForRetrieval()) {
                    if (!DoVerifyItem(index)) {
                        Skip(index);
                        continue;
                    }
                    DoRetrieve(index);
                }
                if (m_remoteInfo[index].MarkedForDeletion()) {
                    if (!DoVerifyItem(index)) {
                        Skip(index);
                        continue;
                    }
                    DoDelete(index);
                }
            }
        }
        if (OnDataTransfered)
            OnDataTransfered(this);
        DoDisconnect();
    } catch (...) {
        ResetWindow();
        CloseSocket();
        throw;
    }
}

void TmsRemotePOP::DeletePipelined()
{
    // The checks of the marked messages (LIST n, TOP n 1 and, with a known id, UIDL n) go out
    // ahead in windows; each DELE is sent once its message has passed, behind the checks
    // already on their way. Replies read before their turn wait in memory, so the events keep
    // the order of a client that waits for each reply.
    struct Check {
        int index;
        Ticket list;
        Ticket top;
        Ticket uidl;
    };
    QList<int> marked;
    for (int index = 0; index < m_remoteInfo.Count(); ++index) {
        if (m_remoteInfo[index].MarkedForDeletion())
            marked.append(index);
    }
    std::deque<Check> ahead;
    qsizetype next = 0;
    const qint64 lineBytes = QByteArray::number(m_remoteInfo.Count()).size() + 8;
    const auto fill = [&] {
        while (next < marked.size() && WindowHasRoom(4, lineBytes)) {
            const int index = marked[next++];
            const QString n = QString::number(index + 1);
            Check check{index, Queue(QStringLiteral("LIST ") + n),
                        Queue(QStringLiteral("TOP ") + n + QStringLiteral(" 1"), kMaxHeaderBlock, true), -1};
            if (m_useUidl && !m_remoteInfo[index].Uidl.isEmpty())
                check.uidl = Queue(QStringLiteral("UIDL ") + n);
            ahead.push_back(check);
        }
        FlushWindow();
    };
    for (qsizetype k = 0; k < marked.size(); ++k) {
        if (ahead.empty() || WindowLow())
            fill();
        const Check check = ahead.front();
        ahead.pop_front();
        const int n = check.index + 1;
        const TmsRemoteInfoItem &stored = m_remoteInfo[check.index];
        bool same = false;
        const QueuedReply list = Take(check.list);
        if (list.code == -1) {
            // The mailbox shrank since the listing: the rest of this check is answered too.
            Take(check.top);
            if (check.uidl >= 0)
                Take(check.uidl);
        } else {
            RequirePositive(list.code);
            const qint64 size = ParseListSize(list.line);
            const QueuedReply top = Take(check.top);
            RequirePositive(top.code);
            const TmsHeaders headers = HeadersFromBlock(top.block);
            bool decided = false;
            if (check.uidl >= 0) {
                const QueuedReply uidl = Take(check.uidl);
                const QString id = uidl.code == 1 ? ParseUidlReply(uidl.line, n) : QString();
                if (!id.isEmpty()) {
                    same = id == stored.Uidl;
                    decided = true;
                }
            }
            if (!decided)
                same = size == stored.Size && SameHeaders(stored.Headers, headers);
        }
        if (!same) {
            Skip(check.index);
            continue;
        }
        if (OnDeleting)
            OnDeleting(this, check.index);
        const Ticket dele = Queue(QStringLiteral("DELE ") + QString::number(n));
        fill();
        RequirePositive(Take(dele).code);
        if (OnDeleted)
            OnDeleted(this, check.index);
    }
}
