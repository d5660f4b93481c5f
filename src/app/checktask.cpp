#include "checktask.h"

#include "linecodec.h"
#include "mailboxsetup.h"
#include "neterrors.h"


#include <algorithm>
#include <iterator>

TMailboxIdentity TMailboxIdentity::Of(const MailboxSlot &slot)
{
    const TagServerAddress address = SplitServer(slot.server.trimmed());
    TMailboxIdentity id;
    id.host = address.Host.toLower();
    id.port = address.Port != 0 ? address.Port : quint16(UsualPort(slot.protocol, slot.tls));
    id.user = slot.mailbox;
    id.tls = slot.tls;
    id.protocol = slot.protocol;
    return id;
}

TTaskResult RunConversation(const std::function<void()> &operation)
{
    TTaskResult out;
    try {
        operation();
        return out;
    } catch (const ECertificateError &e) {
        out.text = e.Message();
        out.fingerprint = e.Fingerprint();
    } catch (const ESocketError &e) {
        out.text = e.Message();
        out.socketCode = e.Code();
    } catch (const ECanceledError &e) {
        out.text = e.Message();
        out.canceled = true;
    } catch (const ELoginError &e) {
        out.text = e.Message();
        out.serverRefused = true;
        out.loginRefused = true;
        out.loginDelay = e.LoginDelay();
    } catch (const EServerError &e) {
        out.text = e.Message();
        out.serverRefused = true;
    } catch (const ETimedOutError &e) {
        out.text = e.Message();
        out.timedOut = true;
    } catch (const ERASError &e) {
        out.text = e.Message();
        out.dialUp = true;
    } catch (const ENetError &e) {
        out.text = e.Message();
    } catch (const std::exception &e) {
        out.text = QString::fromLocal8Bit(e.what());
    }
    out.ok = false;
    return out;
}

TTaskResult TCheckTask::Run(const TListedHandler &listed, const std::function<QList<int>()> &markedAfterListing)
{
    // What came before a failure stays: the rows made of it can still be acted on, each
    // checked again in a later session.
    TMailboxListing listing;
    TMailboxDeletion deletion;
    QString notice;
    TTaskResult out = RunConversation([&] {
        m_mailbox.LogIn();
        listing.session = m_mailbox.Session();
        if (!markedAfterListing)
            m_mailbox.EndAfterList();
        listing = m_mailbox.List([&](int index, int total, const TMailboxMessage &message) {
            if (index == listing.messages.size())
                listing.messages.append(message);
            if (listed)
                listed(index, total, message);
        });
        if (!markedAfterListing) {
            m_mailbox.LogOut();
            return;
        }
        deletion = m_mailbox.Delete(listing, markedAfterListing());
        m_mailbox.Commit();
        notice = m_mailbox.Notice();
    });
    out.listed = int(listing.messages.size());
    out.listing = std::move(listing);
    // The server removes messages only when the session ended normally.
    if (out.ok) {
        out.deleted = deletion.deleted;
        out.changed = deletion.changed;
        out.notice = notice;
    }
    return out;
}

TTaskResult TDeleteTask::Run(const TMailboxListing &listing, const QList<int> &indexes)
{
    TMailboxDeletion deletion;
    QString notice;
    TTaskResult out = RunConversation([&] {
        m_mailbox.LogIn();
        deletion = m_mailbox.Delete(listing, indexes);
        m_mailbox.Commit();
        notice = m_mailbox.Notice();
    });
    out.listed = int(listing.messages.size());
    // What was left as changed stays on the server either way; what was accepted is gone
    // only once the commit went through.
    out.changed = deletion.changed;
    if (out.ok) {
        out.deleted = deletion.deleted;
        out.notice = notice;
    }
    return out;
}

TTaskResult TRetrieveTask::Run(const TMailboxListing &listing, int index, const QString &file)
{
    bool same = true;
    TTaskResult out = RunConversation([&] {
        m_mailbox.LogIn();
        same = m_mailbox.Fetch(listing, index, file);
        m_mailbox.LogOut();
    });
    out.listed = int(listing.messages.size());
    if (!same)
        out.changed = {index};
    return out;
}

TFailureClass ClassifyFailure(const TTaskResult &result)
{
    if (result.ok)
        return TFailureClass::None;
    // A mailbox locked by another session, or a server's own trouble, passes (POP3: RFC 2449,
    // IMAP: RFC 5530).
    bool busy = false;
    for (const char *code : {"[IN-USE]", "[SYS/TEMP]", "[INUSE]", "[UNAVAILABLE]"})
        busy = busy || result.text.contains(QLatin1String(code), Qt::CaseInsensitive);
    if (!result.fingerprint.isEmpty() || (result.loginRefused && !result.loginDelay && !busy))
        return TFailureClass::Permanent;
    // Codes of a server that is down, or of a network or name service that is: all pass.
    static constexpr int kUnreachable[] = {SocketCode::kConnectionRefused, SocketCode::kConnectionReset,
                                           SocketCode::kHostUnreachable,   SocketCode::kNetworkUnreachable,
                                           SocketCode::kTimedOut,          SocketCode::kHostNotFound,
                                           SocketCode::kNoBuffers,         NetText::kErrorResolving};
    if (result.loginDelay || busy || result.timedOut || result.dialUp
        || std::find(std::begin(kUnreachable), std::end(kUnreachable), result.socketCode) != std::end(kUnreachable))
        return TFailureClass::Temporary;
    return TFailureClass::Other;
}
