// The listing of a POP3 mailbox and the deletion and retrieval of listed messages, each
// message checked against its listing first.
#include "pop3.h"

#include "files.h"
#include "pop3parse.h"
#include "wording.h"

#include <QBuffer>
#include <QScopeGuard>
#include <algorithm>
#include <stdexcept>
#include <utility>

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
        RaiseErrorText(Said("Net", "The message could not be saved as %1: %2").arg(path, error), false);
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
        RaiseProtocolError(Said("Net", "The mailbox holds %1 messages, more than the %2 that one check lists. "
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
        RaiseProtocolError(Said("Net", "The header lines of the first %1 messages take more than the %2 MiB "
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
