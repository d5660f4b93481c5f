// One check of a mailbox for bench/run: seeds the fixture's "bench" mailbox, or lists it once
// and reports the times.
//   bench_pipeline seed INI COUNT
//   bench_pipeline list SERVER PASSWORD PIPELINING(0|1) [USER]
//   bench_pipeline imap SERVER PASSWORD [USER]
// "list" prints "check <s> listing <s> cpu <s> messages <n> pipelined <0|1> roundtrips <n>":
// the whole check (connect to QUIT), the listing alone (from the end of the log-in to the
// last message's header lines), the processor time this process used meanwhile, and the
// round trips the client waited for (the connect and the greeting count one each).
// "imap" lists the same mailbox's INBOX over IMAP (every message, not only the newest unseen)
// and prints the same fields ("pipelined" is then always 1).
#include "dovecot_env.h"
#include "imap.h"
#include "pop3mailbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
         + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int Seed(const QString &ini, int count)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(ini, &error);
    if (!env) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QList<QByteArray> messages;
    for (int i = 1; i <= count; ++i)
        messages << TestMessage(i, 5 + i % 20);
    if (!env->SeedMailbox(QStringLiteral("bench"), messages, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s:%u\n", qPrintable(env->Host), unsigned(env->Pop3Port));
    return 0;
}

int List(const QString &server, const QString &password, bool pipelining, const QString &user)
{
    // The check as the program makes it: one conversation of the POP3 mailbox that ends with
    // the listing.
    TPop3Mailbox mailbox;
    TPop3Client &pop = mailbox.Client();
    pop.SetServer(server);
    pop.SetUserName(user);
    pop.SetPassword(password);
    pop.SetTimeOut(120);
    pop.SetUsePipelining(pipelining);
    QElapsedTimer check;
    QElapsedTimer listing;
    qint64 listingNs = 0;
    pop.OnUpdatingInfo = [&](QObject *) { listing.start(); };
    pop.OnNextInfoUpdated = [&](QObject *, int) { listingNs = listing.nsecsElapsed(); };
    const double cpuBefore = CpuSeconds();
    check.start();
    int listed = 0;
    try {
        mailbox.LogIn();
        mailbox.EndAfterList();
        listed = int(mailbox.List().messages.size());
        mailbox.LogOut();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "the check failed: %s\n", e.what());
        return 1;
    }
    const double checkSeconds = double(check.nsecsElapsed()) / 1e9;
    std::printf("check %.3f listing %.3f cpu %.3f messages %d pipelined %d roundtrips %d\n", checkSeconds,
                double(listingNs) / 1e9, CpuSeconds() - cpuBefore, listed, pop.Pipelining() ? 1 : 0,
                pop.RoundTrips());
    return 0;
}

int ImapList(const QString &server, const QString &password, const QString &user)
{
    TImapSettings settings;
    settings.server = server;
    settings.tls = {TmsTlsMode::None, {}};
    settings.user = user;
    settings.password = password;
    settings.timeOutSeconds = 120;
    settings.wholeFolder = true;
    TImapMailbox mailbox(settings);
    QElapsedTimer check;
    qint64 listingNs = 0;
    int count = 0;
    const double cpuBefore = CpuSeconds();
    check.start();
    try {
        mailbox.LogIn();
        // As a check that deletes nothing: the goodbye travels with the fetch.
        mailbox.EndAfterList();
        QElapsedTimer listing;
        listing.start();
        count = int(mailbox.List().messages.size());
        listingNs = listing.nsecsElapsed();
        mailbox.LogOut();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "the check failed: %s\n", e.what());
        return 1;
    }
    const double checkSeconds = double(check.nsecsElapsed()) / 1e9;
    std::printf("check %.3f listing %.3f cpu %.3f messages %d pipelined 1 roundtrips %d\n", checkSeconds,
                double(listingNs) / 1e9, CpuSeconds() - cpuBefore, count, mailbox.Client().RoundTrips());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("seed"))
        return Seed(args[2], args[3].toInt());
    if ((args.size() == 5 || args.size() == 6) && args[1] == QLatin1String("list"))
        return List(args[2], args[3], args[4] == QLatin1String("1"),
                    args.size() == 6 ? args[5] : QStringLiteral("bench"));
    if ((args.size() == 4 || args.size() == 5) && args[1] == QLatin1String("imap"))
        return ImapList(args[2], args[3], args.size() == 5 ? args[4] : QStringLiteral("bench"));
    std::fprintf(stderr, "usage: bench_pipeline seed INI COUNT | list SERVER PASSWORD 0|1 [USER]"
                         " | imap SERVER PASSWORD [USER]\n");
    return 2;
}
