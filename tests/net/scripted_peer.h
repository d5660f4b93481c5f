#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// What the peer does when a step's line has arrived (or, for a step with an empty expect, as
// soon as the client connects: the greeting).
enum class PeerAction {
    Reply,          // send reply
    ReplyAndClose,  // send reply, then close the connection (reply may stop mid-line)
    Stall,          // send nothing, keep the connection open
    Trickle,        // send reply one byte at a time, kTrickleMs apart
    // Hold reply back until the next line of the script has arrived: only a client that
    // sends ahead without waiting for replies gets past this step.
    Withhold,
};

struct PeerStep {
    QByteArray expect;  // the line the client must send, without CR LF; empty for the greeting
    QByteArray reply;   // sent as is: include the CR LF
    PeerAction action = PeerAction::Reply;
};
using PeerScript = QList<PeerStep>;

// A POP3 server that follows a script on 127.0.0.1: one script per accepted connection, in
// order. It records every line the client sent and every line that did not match its script.
class ScriptedPeer : public QObject
{
public:
    static constexpr int kTrickleMs = 150;

    ScriptedPeer(std::initializer_list<PeerScript> sessions);
    ~ScriptedPeer() override;

    QString Server() const;
    // Every line received, over all connections, without CR LF.
    const QList<QByteArray> &Received() const { return m_received; }
    QStringList Mismatches() const { return m_mismatches; }
    int Connections() const { return m_connections; }
    // The most lines that arrived together, in one read. A client that waits for each reply
    // before its next command never sends two lines the peer reads at once.
    int MaxLinesPerRead() const { return m_maxLinesPerRead; }

private:
    void Accept();
    void Perform(QTcpSocket *socket, const PeerStep &step);
    void OnReadyRead(QTcpSocket *socket, int session);

    QTcpServer *m_server;
    QList<PeerScript> m_sessions;
    QList<int> m_position;
    QList<QByteArray> m_withheld;
    int m_maxLinesPerRead = 0;
    QList<QByteArray> m_received;
    QStringList m_mismatches;
    int m_connections = 0;
};

// Script pieces for a POP3 session.
namespace Pop3Script {
PeerStep Greeting();
// USER, PASS and STAT with the given STAT reply.
PeerScript Login(const QByteArray &statReply);
// LIST n and TOP n 1 for a message of that size and header lines (each line without CR LF),
// followed by an empty line and one body line.
PeerScript Info(int n, qint64 size, const QList<QByteArray> &headerLines);
PeerStep Quit();
} // namespace Pop3Script

// The text of the E that f raises; "no error" when it raises none.
template <typename E, typename F>
QString ErrorOf(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return e.Message();
    }
    return QStringLiteral("no error");
}
