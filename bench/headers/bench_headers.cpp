// Header parsing as a check does it, for comparing with other parsers on one corpus:
//   bench_headers write DIR            writes the corpus: the TOP n 1 blocks (header lines, the
//                                      empty line, one body line; CR LF) of the 1,000 messages
//                                      the listing benchmark seeds, as DIR/0001.txt ...
//   bench_headers parse DIR PASSES     splits each block into header lines and reads subject,
//                                      sender address and date as a message row does; prints
//                                      "messages/s <rate>"
#include "address.h"
#include "dovecot_env.h"
#include "headers.h"
#include "maildate.h"
#include "pop3parse.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

constexpr int kMessages = 1000;

QByteArray TopBlock(const QByteArray &message)
{
    const QByteArray crlf = ToCrlf(message);
    const qsizetype end = crlf.indexOf("\r\n\r\n");
    if (end < 0)
        return crlf;
    const qsizetype bodyLineEnd = crlf.indexOf("\r\n", end + 4);
    return crlf.left(bodyLineEnd < 0 ? crlf.size() : bodyLineEnd + 2);
}

int Write(const QString &dir)
{
    QDir().mkpath(dir);
    for (int i = 1; i <= kMessages; ++i) {
        QFile f(dir + QStringLiteral("/%1.txt").arg(i, 4, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly) || f.write(TopBlock(TestMessage(i, 5 + i % 20))) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
            return 1;
        }
    }
    return 0;
}

int Parse(const QString &dir, int passes)
{
    QList<QByteArray> blocks;
    const QStringList names = QDir(dir).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile f(dir + u'/' + name);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        blocks << f.readAll();
    }
    if (blocks.isEmpty()) {
        std::fprintf(stderr, "no corpus in %s\n", qPrintable(dir));
        return 1;
    }
    qint64 checksum = 0;
    QElapsedTimer timer;
    timer.start();
    for (int p = 0; p < passes; ++p) {
        for (const QByteArray &block : blocks) {
            const TmsHeaders headers = HeadersFromBlock(block);
            const QString subject = GetFieldValue(headers, QStringLiteral("Subject"));
            const QString sender = SenderAddress(headers);
            const std::optional<TmsMailDate> date = ParseMailDate(GetFieldValue(headers, QStringLiteral("Date")));
            checksum += subject.size() + sender.size() + (date ? 1 : 0);
        }
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("messages/s %.0f (checksum %lld)\n", double(blocks.size()) * passes / seconds, checksum);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("write"))
        return Write(args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("parse"))
        return Parse(args[2], qMax(1, args[3].toInt()));
    std::fprintf(stderr, "usage: bench_headers write DIR | parse DIR PASSES\n");
    return 2;
}
