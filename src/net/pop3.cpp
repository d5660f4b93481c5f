#include "pop3.h"

#include "files.h"
#include "pop3parse.h"

#include <QBuffer>
#include <QScopeGuard>

namespace {
constexpr qint64 kMaxMessageBlock = qint64(1) << 30;
constexpr qint64 kUnknownSizeMessageBlock = qint64(256) << 20;
// A UIDL listing line is at most "n id" with a 70-character id.
constexpr qint64 kUidlBytesPerMessage = 96;

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
        RequirePositive(Command(QStringLiteral("USER ") + m_userName));
        RequirePositive(Command(QStringLiteral("PASS ") + m_password));
        Stat();
    } catch (...) {
        CloseSocket();
        throw;
    }
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
        DoDisconnect();
    } catch (...) {
        CloseSocket();
        throw;
    }
    if (OnInfoUpdated)
        OnInfoUpdated(this);
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
        if (OnDataTransfered)
            OnDataTransfered(this);
        DoDisconnect();
    } catch (...) {
        CloseSocket();
        throw;
    }
}
