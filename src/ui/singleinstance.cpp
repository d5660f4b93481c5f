#include "singleinstance.h"

#include "files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {
const QByteArray kShowRequest = "show\n";
constexpr int kConnectMs = 1000;
} // namespace

QString TSingleInstance::DefaultKey()
{
    return QString::number(getuid()) + u':' + QDir(DataFolder()).canonicalPath();
}

TSingleInstance::TSingleInstance(const QString &key, QObject *parent) : QObject(parent)
{
    const QString k = key.isEmpty() ? DefaultKey() : key;
    // A socket name must be short and plain; the hash keeps it so for any folder name.
    const QByteArray hash = QCryptographicHash::hash(k.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    m_name = QStringLiteral("tarnwick-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::Start()
{
    {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(kConnectMs)) {
            probe.write(kShowRequest);
            probe.waitForBytesWritten(kConnectMs);
            probe.disconnectFromServer();
            return false;
        }
    }
    m_server = new QLocalServer(this);
    // Only this user may ask us to come forward.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &TSingleInstance::readRequest);
    if (!m_server->listen(m_name)) {
        // Nobody answered, so the name is left over from a program that crashed.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            // Without the guard the program still works; only a second start is not caught.
            qWarning("Tarnwick: cannot listen for a second start: %s",
                     qPrintable(m_server->errorString()));
        }
    }
    return true;
}

void TSingleInstance::readRequest()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto handle = [this, socket] {
            // The request is one short line; anything longer is not one of ours.
            if (socket->bytesAvailable() > 64) {
                socket->abort();
                return;
            }
            if (socket->canReadLine() && socket->readLine() == kShowRequest)
                emit showRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, handle);
        handle(); // the request may have arrived with the connection
    }
}
