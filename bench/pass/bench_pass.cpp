// A pass over several mailboxes of the Dovecot fixture, all at once, for bench/run.
//   bench_pass seed INI COUNT MAILBOXES   fills conc01 ... with COUNT messages each
//   bench_pass run SERVERS PASSWORD MAILBOXES [PER_SERVER]
// "run" checks conc01 ... concNN as the pass over all mailboxes does (pipelined, at most
// PER_SERVER conversations to one server at a time, by default the program's own limit,
// results taken in mailbox order) and prints
// SERVERS is one "host:port" or several, comma-separated: mailbox n talks to the n-th (taken
// round), so the same Dovecot reached through several addresses is several servers to the limit.
// "pass <s> messages <n> failed <n> own <s> machine <s>": the pass's time, then the processor
// time in it of this program and of the whole machine (all cores, all processes: the servers
// and relays on this machine too), from /proc/stat.
//   bench_pass guard SERVERS PASSWORD MAILBOXES TOGETHER
// "guard" times the window's automatic pass (a tick of TMailGuard, no window, deletion on and
// no rules, so nothing is deleted) over the same mailboxes, all at once (TOGETHER 1) or one
// after another (0), in a settings folder of its own, and prints "pass <s> rows <n> failed <n>
// own <s> machine <s>".
#include "concurrentchecks.h"
#include "dovecot_env.h"
#include "mailguard.h"
#include "unattendedprompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// This process's processor time so far, in seconds.
double OwnSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The processor time every core of the machine has spent busy so far (user, nice, system,
// interrupts), in seconds; in clock ticks underneath, so good to about a hundredth per core.
double MachineBusySeconds()
{
    std::ifstream stat("/proc/stat");
    std::string cpu;
    unsigned long long user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0, softirq = 0;
    stat >> cpu >> user >> nice >> system >> idle >> iowait >> irq >> softirq;
    return double(user + nice + system + irq + softirq) / double(sysconf(_SC_CLK_TCK));
}

// The pass's time and the processor time in it, as " own <s> machine <s>" after the pass's line.
struct TPassClock
{
    double own = OwnSeconds();
    double machine = MachineBusySeconds();
    QElapsedTimer clock;

    TPassClock() { clock.start(); }
    double Seconds() const { return double(clock.nsecsElapsed()) / 1e9; }
    void PrintProcessorTime() const
    {
        std::printf(" own %.3f machine %.3f\n", OwnSeconds() - own, MachineBusySeconds() - machine);
    }
};

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

int Run(const QStringList &servers, const QString &password, int count, int perServer)
{
    QList<MailboxSlot> mailboxes;
    for (int n = 1; n <= count; ++n)
        mailboxes << MailboxSlot{servers.at((n - 1) % servers.size()), User(n), password, TlsMode::None, {}, true};
    int messages = 0;
    int failed = 0;
    const TPassClock clock;
    RunConcurrentChecks(
        mailboxes, false, {}, [](int, const QList<TMessageListRow> &) { return QList<int>(); },
        [&](int, TConcurrentCheck &check) {
            messages += check.result.listed;
            if (!check.result.ok) {
                ++failed;
                std::fprintf(stderr, "%s\n", qPrintable(check.result.text));
            }
        },
        {}, perServer);
    std::printf("pass %.3f messages %d failed %d", clock.Seconds(), messages, failed);
    clock.PrintProcessorTime();
    return failed == 0 ? 0 : 1;
}

int Guard(const QStringList &servers, const QString &password, int count, bool together)
{
    QTemporaryDir home;
    qputenv("TARNWICK_HOME", home.path().toLocal8Bit());
    {
        UserSettings settings;
        GeneralSettings general;
        general.automatic = true;
        general.kill = true;
        general.minutes = 1;
        general.launch = false;
        general.alarm = false;
        general.logFile = home.filePath(QStringLiteral("log.txt"));
        ServerSettings mailboxes;
        for (int n = 1; n <= count; ++n)
            mailboxes.slot(n) = MailboxSlot{servers.at((n - 1) % servers.size()), User(n), password, TlsMode::None, {}, true};
        if (!SaveGeneralSettings(settings, general) || !saveServerSettings(settings, mailboxes).ok()) {
            std::fprintf(stderr, "the settings could not be written\n");
            return 1;
        }
    }
    TUnattendedPrompts prompts(QStringLiteral("bench_pass"));
    TMailGuard guard(prompts);
    guard.FormCreate();
    guard.SetConcurrentPass(together);
    const TPassClock clock;
    guard.Timer1Timer();
    std::printf("pass %.3f rows %d failed %d", clock.Seconds(), int(guard.Messages().Count()), prompts.errors);
    clock.PrintProcessorTime();
    for (const QString &text : std::as_const(prompts.texts))
        std::fprintf(stderr, "%s\n", qPrintable(text));
    return prompts.errors == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("seed"))
        return Seed(args[2], args[3].toInt(), std::clamp(args[4].toInt(), 1, 12));
    if ((args.size() == 5 || args.size() == 6) && args[1] == QLatin1String("run") && !args[2].split(u',', Qt::SkipEmptyParts).isEmpty())
        return Run(args[2].split(u',', Qt::SkipEmptyParts), args[3], std::clamp(args[4].toInt(), 1, 12),
                   args.size() == 6 ? std::clamp(args[5].toInt(), 1, 12) : kConnectionsPerServer);
    if (args.size() == 6 && args[1] == QLatin1String("guard") && !args[2].split(u',', Qt::SkipEmptyParts).isEmpty())
        return Guard(args[2].split(u',', Qt::SkipEmptyParts), args[3], std::clamp(args[4].toInt(), 1, 12), args[5] == QLatin1String("1"));
    std::fprintf(stderr, "usage: bench_pass seed INI COUNT MAILBOXES | run SERVERS PASSWORD MAILBOXES [PER_SERVER]"
                         " | guard SERVERS PASSWORD MAILBOXES TOGETHER\n");
    return 2;
}
