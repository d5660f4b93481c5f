// Runs one operation of the POP3 client against a server and prints how it ended:
//   bench_hostile_client list|delete|retrieve HOST:PORT PIPELINING(0|1)
// "delete" lists, marks every message and deletes; "retrieve" lists and fetches message 1.
// hostile_pop3.py measures this program's peak resident memory.
#include "pop3.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_hostile_client list|delete|retrieve HOST:PORT PIPELINING\n");
        return 2;
    }
    const QString mode = QString::fromLatin1(argv[1]);
    TmsRemotePOP pop;
    pop.SetServer(QString::fromLatin1(argv[2]));
    pop.SetUserName(QStringLiteral("alice"));
    pop.SetPassword(QStringLiteral("secret"));
    pop.SetTimeOut(5);
    pop.SetUsePipelining(QByteArray(argv[3]) == "1");
    pop.OnUserMessageSave = [](QObject *, int, const QByteArray &) {};
    try {
        pop.UpdateInfo();
        if (mode != QLatin1String("list")) {
            for (int index = 0; index < pop.RemoteInfo().Count(); ++index) {
                if (mode == QLatin1String("delete"))
                    pop.MarkDelete(index);
                else if (index == 0)
                    pop.MarkRetrieve(index);
            }
            pop.TransferData();
        }
        std::printf("ok: %d messages listed\n", pop.RemoteInfo().Count());
    } catch (const std::exception &e) {
        std::printf("error: %s\n", e.what());
    }
    return 0;
}
