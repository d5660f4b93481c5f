// A pass over several mailboxes of the Dovecot fixture, all at once, for bench/run.
//   bench_pass seed INI COUNT MAILBOXES   fills conc01 ... with COUNT messages each
//   bench_pass run SERVER PASSWORD MAILBOXES [PER_SERVER]
// "run" checks conc01 ... concNN as the pass over all mailboxes does (pipelined, at most
// PER_SERVER conversations at a time, by default the program's own limit, results taken in
// mailbox order) and prints
// "pass <s> messages <n> failed <n>".
#include "concurrentchecks.h"
#include "dovecot_env.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

QString User(int n) { return QStringLiteral("conc%1").arg(n, 2, 10, QLatin1Char('0')); }

int Seed(const QString &ini, int count, int mailboxes)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(ini, &error);
    QList<QByteArray> messages;
    for (int i = 1; i <= count; ++i)
        messages << TestMessage(i, 5 + i % 20);
    for (int n = 1; env && n <= mailboxes; ++n)
        if (!env->SeedMailbox(User(n), messages, &error))
            break;
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

int Run(const QString &server, const QString &password, int count, int perServer)
{
    QList<MailboxSlot> mailboxes;
    for (int n = 1; n <= count; ++n)
        mailboxes << MailboxSlot{server, User(n), password, TlsMode::None, {}, true};
    int messages = 0;
    int failed = 0;
    QElapsedTimer clock;
    clock.start();
    RunConcurrentChecks(
        mailboxes, false, {}, [](int, const TMailboxListing &) { return QList<int>(); },
        [&](int, TConcurrentCheck &check) {
            messages += check.result.listed;
            if (!check.result.ok) {
                ++failed;
                std::fprintf(stderr, "%s\n", qPrintable(check.result.text));
            }
        },
        {}, perServer);
    std::printf("pass %.3f messages %d failed %d\n", double(clock.nsecsElapsed()) / 1e9, messages, failed);
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("seed"))
        return Seed(args[2], args[3].toInt(), std::clamp(args[4].toInt(), 1, 12));
    if ((args.size() == 5 || args.size() == 6) && args[1] == QLatin1String("run"))
        return Run(args[2], args[3], std::clamp(args[4].toInt(), 1, 12),
                   args.size() == 6 ? std::clamp(args[5].toInt(), 1, 12) : kConnectionsPerServer);
    std::fprintf(stderr, "usage: bench_pass seed INI COUNT MAILBOXES | run SERVER PASSWORD MAILBOXES [PER_SERVER]\n");
    return 2;
}
