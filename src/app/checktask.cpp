#include "checktask.h"

#include "linecodec.h"

#include <QScopeGuard>
#include <QStringList>

#include <algorithm>
#include <iterator>

TMailboxIdentity TMailboxIdentity::Of(const MailboxSlot &slot)
{
    const TagServerAddress address = SplitServer(slot.server.trimmed());
    TMailboxIdentity id;
    id.host = address.Host.toLower();
    id.port = address.Port != 0 ? address.Port : (slot.tls == TlsMode::Implicit ? 995 : 110);
    id.user = slot.mailbox;
    id.tls = slot.tls;
    return id;
}

void TGuardPOP::Quit()
{
    // Only the listing's own session deletes; the hook is gone before the first DELE, so a
    // failure on the way cannot run it twice.
    if (m_pick && Connected()) {
        const QList<int> indexes = std::exchange(m_pick, {})();
        for (int index : indexes) {
            if (index < 0 || index >= RemoteInfo().Count())
                continue;
            DoDelete(index);
            m_deleted.append(index);
        }
    }
    TmsRemotePOP::Quit();
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

TTaskResult TCheckTask::Run(const std::function<QList<int>()> &markedAfterListing)
{
    m_pop.SetDeleteBeforeQuit(markedAfterListing);
    const auto disarm = qScopeGuard([this] { m_pop.SetDeleteBeforeQuit({}); });
    TTaskResult out = RunConversation([this] { m_pop.UpdateInfo(); });
    out.listed = m_pop.RemoteInfo().Count();
    if (out.serverRefused) {
        static const QStringList kLoginCommands{QStringLiteral("USER"), QStringLiteral("PASS"),
                                                QStringLiteral("APOP"), QStringLiteral("AUTH")};
        out.loginRefused = kLoginCommands.contains(m_pop.LastCommand().section(u' ', 0, 0).toUpper());
        out.loginDelay = m_pop.LoginDelayRefused();
    }
    // The server removes messages only when QUIT was accepted, which is when the listing
    // ended without an exception.
    if (out.ok)
        out.deleted = m_pop.DeletedInSession();
    return out;
}

TFailureClass ClassifyFailure(const TTaskResult &result)
{
    if (result.ok)
        return TFailureClass::None;
    // A mailbox locked by another session, or a server's own trouble, passes (RFC 2449).
    const bool busy = result.text.contains(QStringLiteral("[IN-USE]"), Qt::CaseInsensitive)
                      || result.text.contains(QStringLiteral("[SYS/TEMP]"), Qt::CaseInsensitive);
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
