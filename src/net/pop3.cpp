#include "pop3.h"

#include "files.h"
#include "pop3parse.h"
#include "wording.h"

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
        RaiseErrorText(Said("Net", "The user name must not contain line breaks or NUL characters"), false);
    if (HasLineBreakOrNul(m_password))
        RaiseErrorText(Said("Net", "The password must not contain line breaks or NUL characters"), false);
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
                RaiseTlsError(Said("Net", "The server does not offer STLS (it answered \"%1\")").arg(LastReply()));
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
        RaiseErrorText(Said("Net", "A command line must not contain CR, LF or NUL"), false);
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
        RaiseProtocolError(Said("Net", "The server's reply to STAT holds no message count: \"%1\"").arg(LastReply()));
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
