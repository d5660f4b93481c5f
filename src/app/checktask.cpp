#include "checktask.h"

#include "linecodec.h"

#include <QScopeGuard>

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
    } catch (const ECanceledError &e) {
        out.text = e.Message();
        out.canceled = true;
    } catch (const EServerError &e) {
        out.text = e.Message();
        out.serverRefused = true;
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
    // The server removes messages only when QUIT was accepted, which is when the listing
    // ended without an exception.
    if (out.ok)
        out.deleted = m_pop.DeletedInSession();
    return out;
}
