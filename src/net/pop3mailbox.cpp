#include "pop3mailbox.h"

#include "files.h"
#include "mailboxevents.h"
#include "wording.h"

#include <QScopeGuard>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <deque>
#include <stdexcept>
#include <utility>

namespace {
// Numbers of all mailboxes of the program: a listing of one never passes for one of another.
std::atomic<quint64> g_lastSession{0};

TMailboxMessage MessageOf(const TmsRemoteInfoItem &item)
{
    return {item.Size, item.Headers, item.Uidl};
}
} // namespace

void TPop3Client::StoreMessage(int Index, const QByteArray &Contents)
{
    if (m_fetchFile.isEmpty()) {
        TmsRemotePOP::StoreMessage(Index, Contents);
        return;
    }
    QString error;
    if (!WriteWholeFile(m_fetchFile, Contents, &error))
        RaiseErrorText(Said("Net", "The message could not be saved as %1: %2").arg(m_fetchFile, error), false);
}

void TPop3Client::DeleteListed(const QList<int> &indexes)
{
    SetWindowAhead(true);
    std::deque<std::pair<int, Ticket>> pending;
    const auto takeOldest = [&] {
        const auto [index, ticket] = pending.front();
        pending.pop_front();
        RequirePositive(Take(ticket).code);
        if (OnDeleted)
            OnDeleted(this, index);
    };
    const qint64 lineBytes = QByteArray::number(RemoteInfo().Count()).size() + 7;
    for (int index : indexes) {
        // Without pipelining each DELE waits for the reply before it, as one at a time does.
        while (!pending.empty() && !WindowHasRoom(1, lineBytes))
            takeOldest();
        if (OnDeleting)
            OnDeleting(this, index);
        pending.emplace_back(index, Queue(QStringLiteral("DELE ") + QString::number(index + 1)));
        FlushWindow();
    }
    while (!pending.empty())
        takeOldest();
}

void TPop3Client::ItemListed(int Index)
{
    if (m_listed)
        m_listed(Index, MessageCount(), MessageOf(RemoteInfo()[Index]));
    TmsRemotePOP::ItemListed(Index);
}

void TPop3Mailbox::SetEvents(const TMailboxEvents &events)
{
    ConnectSocketEvents(m_client, events);
    m_client.OnUpdatingInfo = Notify(events.listing);
    m_client.OnTransferringData = Notify(events.transferring);
    m_client.OnDataTransfered = Notify(events.transferred);
    m_client.OnDeleting = NotifyIndex(events.deleting);
    m_client.OnRetrieving = NotifyIndex(events.retrieving);
    m_client.OnRetrieved = NotifyIndex(events.retrieved);
}

void TPop3Mailbox::LogIn()
{
    // Whatever an earlier session left open ends without its deletions.
    if (m_client.Connected())
        m_client.Abandon();
    m_session = ++g_lastSession;
    m_loginPending = true;
    m_endAfterList = false;
    m_deletedInSession = false;
}

template<typename Step>
auto TPop3Mailbox::Run(bool listing, Step step) -> decltype(step())
{
    TPop3Client::Operation operation(&m_client);
    try {
        if (m_loginPending) {
            m_loginPending = false;
            try {
                m_client.OpenSession(listing);
            } catch (const EServerError &e) {
                static const QStringList kLoginCommands{QStringLiteral("USER"), QStringLiteral("PASS"),
                                                        QStringLiteral("APOP"), QStringLiteral("AUTH")};
                if (kLoginCommands.contains(m_client.LastCommand().section(u' ', 0, 0).toUpper()))
                    throw ELoginError(e.Message(), m_client.LoginDelayRefused());
                throw;
            }
        } else if (!m_client.Connected()) {
            throw std::logic_error("TPop3Mailbox: no session is open; LogIn first");
        }
        return step();
    } catch (...) {
        m_client.Abandon();
        throw;
    }
}

TMailboxListing TPop3Mailbox::List(
    const std::function<void(int index, int count, const TMailboxMessage &message)> &listed)
{
    m_client.m_listingEndsSession = std::exchange(m_endAfterList, false);
    m_client.m_listed = listed;
    m_clientListing = 0;
    const auto reset = qScopeGuard([this] {
        m_client.m_listingEndsSession = true;
        m_client.m_listed = {};
    });
    return Run(true, [this] {
        m_client.ListInSession();
        TMailboxListing out;
        out.session = m_session;
        out.messages.reserve(m_client.RemoteInfo().Count());
        for (const TmsRemoteInfoItem &item : m_client.RemoteInfo())
            out.messages.append(MessageOf(item));
        m_clientListing = m_session;
        return out;
    });
}

void TPop3Mailbox::Adopt(const TMailboxListing &listing)
{
    if (listing.session != 0 && listing.session == m_clientListing
        && m_client.RemoteInfo().Count() == listing.messages.size()) {
        // Only what the caller names now is acted on: no mark left on the client from earlier.
        for (int index = 0; index < m_client.RemoteInfo().Count(); ++index)
            m_client.Unmark(index);
        return;
    }
    TmsRemoteInfo info;
    for (const TMailboxMessage &message : listing.messages) {
        TmsRemoteInfoItem item;
        item.Size = message.size;
        item.Headers = message.headers;
        item.Uidl = message.uid;
        info.Add(std::move(item));
    }
    m_client.SetRemoteInfo(std::move(info));
    m_clientListing = listing.session;
}

bool TPop3Mailbox::StillSame(const TMailboxListing &listing, int index)
{
    return Run(false, [&] {
        Adopt(listing);
        return m_client.CheckInSession(index);
    });
}

TMailboxDeletion TPop3Mailbox::Delete(const TMailboxListing &listing, const QList<int> &indexes)
{
    QList<int> wanted;
    for (int index : indexes)
        if (index >= 0 && index < listing.messages.size())
            wanted.append(index);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    TMailboxDeletion out;
    if (wanted.isEmpty())
        return out;
    Run(false, [&] {
        Adopt(listing);
        if (listing.session == m_session) {
            // Numbers cannot change inside the listing's session: no message is looked at
            // again, and the DELE commands go out in one window when the session pipelines.
            m_deletedInSession = true;
            m_client.DeleteListed(wanted);
            out.deleted = wanted;
            return;
        }
        for (int index : std::as_const(wanted))
            m_client.MarkDelete(index);
        m_deletedInSession = true;
        m_client.TransferInSession();
        out.deleted = m_client.DeletedItems();
        out.changed = m_client.SkippedItems();
    });
    return out;
}

bool TPop3Mailbox::Fetch(const TMailboxListing &listing, int index, const QString &file)
{
    if (index < 0 || index >= listing.messages.size())
        return false;
    m_client.m_fetchFile = file;
    const auto reset = qScopeGuard([this] { m_client.m_fetchFile.clear(); });
    return Run(false, [&] {
        Adopt(listing);
        m_client.MarkRetrieve(index);
        m_client.TransferInSession();
        return !m_client.SkippedItems().contains(index);
    });
}

void TPop3Mailbox::EndSession(bool commit)
{
    // A session that never reached the server has nothing to end.
    if (std::exchange(m_loginPending, false) || !m_client.Connected())
        return;
    if (!commit && m_deletedInSession) {
        // Every QUIT commits: leaving without one is what keeps the deletions from taking effect.
        m_client.Abandon();
        return;
    }
    TPop3Client::Operation operation(&m_client);
    try {
        m_client.DoDisconnect();
    } catch (...) {
        m_client.Abandon();
        throw;
    }
}

void TPop3Mailbox::Commit()
{
    EndSession(true);
}

void TPop3Mailbox::LogOut()
{
    EndSession(false);
}

void TPop3Mailbox::Abort()
{
    m_client.Cancel();
}
