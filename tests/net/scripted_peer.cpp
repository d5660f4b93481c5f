#include "scripted_peer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QScopeGuard>
#include <QTimer>
#include <utility>
#include <stdexcept>

ScriptedPeer::ScriptedPeer(std::initializer_list<PeerScript> sessions)
    : m_server(new QTcpServer(this)), m_sessions(sessions)
{
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("the scripted peer cannot listen on 127.0.0.1");
    connect(m_server, &QTcpServer::newConnection, this, &ScriptedPeer::Accept);
}

ScriptedPeer::~ScriptedPeer() = default;

QString ScriptedPeer::Server() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(m_server->serverPort());
}

void ScriptedPeer::Accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        const int session = m_connections++;
        if (session >= m_sessions.size()) {
            m_mismatches.append(QStringLiteral("unexpected connection %1").arg(session + 1));
            socket->abort();
            continue;
        }
        m_position.append(0);
        m_withheld.append(QByteArray());
        connect(socket, &QIODevice::readyRead, this, [this, socket, session] { OnReadyRead(socket, session); });
        const PeerScript &script = m_sessions[session];
        if (!script.isEmpty() && script.first().expect.isEmpty()) {
            m_position[session] = 1;
            Perform(socket, script.first());
        }
    }
}

void ScriptedPeer::Perform(QTcpSocket *socket, const PeerStep &step)
{
    switch (step.action) {
    case PeerAction::Reply:
        socket->write(step.reply);
        break;
    case PeerAction::ReplyAndClose:
        socket->write(step.reply);
        socket->flush();
        socket->disconnectFromHost();
        break;
    case PeerAction::Stall:
    case PeerAction::Withhold:
        break;
    case PeerAction::Trickle: {
        auto *timer = new QTimer(socket);
        auto sent = std::make_shared<int>(0);
        const QByteArray bytes = step.reply;
        connect(timer, &QTimer::timeout, socket, [socket, timer, sent, bytes] {
            if (*sent >= bytes.size() || socket->state() != QAbstractSocket::ConnectedState) {
                timer->stop();
                return;
            }
            socket->write(bytes.mid((*sent)++, 1));
        });
        timer->start(kTrickleMs);
        break;
    }
    }
}

void ScriptedPeer::OnReadyRead(QTcpSocket *socket, int session)
{
    int lines = 0;
    const auto count = qScopeGuard([&] { m_maxLinesPerRead = qMax(m_maxLinesPerRead, lines); });
    while (socket->canReadLine()) {
        ++lines;
        QByteArray line = socket->readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        m_received.append(line);
        const PeerScript &script = m_sessions[session];
        int &position = m_position[session];
        if (position >= script.size()) {
            m_mismatches.append(QStringLiteral("unexpected line \"%1\"").arg(QString::fromLatin1(line)));
            socket->write("-ERR not in the script\r\n");
            continue;
        }
        const PeerStep &step = script[position++];
        if (line != step.expect) {
            m_mismatches.append(QStringLiteral("expected \"%1\", got \"%2\"")
                                    .arg(QString::fromLatin1(step.expect), QString::fromLatin1(line)));
            socket->write("-ERR not in the script\r\n");
            continue;
        }
        if (!m_withheld[session].isEmpty())
            socket->write(std::exchange(m_withheld[session], QByteArray()));
        if (step.action == PeerAction::Withhold)
            m_withheld[session] = step.reply;
        Perform(socket, step);
    }
}

namespace Pop3Script {
PeerStep Greeting() { return {"", "+OK scripted POP3 peer ready\r\n"}; }

PeerScript Login(const QByteArray &statReply)
{
    return {{"USER alice", "+OK\r\n"}, {"PASS secret", "+OK logged in\r\n"}, {"STAT", statReply}};
}

PeerScript Info(int n, qint64 size, const QList<QByteArray> &headerLines)
{
    const QByteArray number = QByteArray::number(n);
    QByteArray block = "+OK\r\n";
    for (const QByteArray &line : headerLines)
        block += line + "\r\n";
    block += "\r\nfirst body line\r\n.\r\n";
    return {{"LIST " + number, "+OK " + number + " " + QByteArray::number(size) + "\r\n"},
            {"TOP " + number + " 1", block}};
}

PeerStep Quit() { return {"QUIT", "+OK bye\r\n", PeerAction::ReplyAndClose}; }
} // namespace Pop3Script
