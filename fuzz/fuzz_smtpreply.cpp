// SMTP replies as a server might send them, through a scripted server on 127.0.0.1: the
// greeting and the replies to HELO, the bare HELO and QUIT are cut from the input (at each
// "\n\n"). Whatever arrives, the client either opens a session and closes it again or raises
// one of its own errors, never anything else, and nothing stays half open.
#include "neterrors.h"
#include "scripted_peer.h"
#include "smtp.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Stops the run at a broken expectation, naming its line (the inlined check has none).
void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

QCoreApplication &App()
{
    static int argc = 1;
    static char name[] = "fuzz_smtpreply";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    App();
    static const QByteArray helo = "HELO " + QHostInfo::localHostName().toLatin1();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> replies;
    qsizetype from = 0;
    for (int i = 0; i < 4; ++i) {
        const qsizetype at = bytes.indexOf("\n\n", from);
        replies.append(at < 0 ? bytes.mid(from) : bytes.mid(from, at + 1 - from));
        from = at < 0 ? bytes.size() : at + 2;
    }
    // The last reply closes the connection, so a client that waits for more sees the end; an
    // input with an odd first byte has the server close after every reply (a reply that never
    // ends otherwise waits for the client's time-out).
    const PeerAction after = !bytes.isEmpty() && (uint8_t(bytes.at(0)) & 1) ? PeerAction::ReplyAndClose
                                                                             : PeerAction::Reply;
    ScriptedPeer peer({PeerScript{{"", replies.at(0), after},
                                  {helo, replies.at(1), after},
                                  {"HELO", replies.at(2), after},
                                  {"QUIT", replies.at(3), PeerAction::ReplyAndClose}}});
    TmsSMTP smtp;
    smtp.SetServer(peer.Server());
    smtp.SetTimeOut(1);
    try {
        smtp.Connect();
        Check(smtp.Connected());
        smtp.Disconnect();
    } catch (const ENetError &) {
        // A refusal, a broken reply or a timeout: reported in the client's own words.
    }
    Check(!smtp.Connected());
    return 0;
}
