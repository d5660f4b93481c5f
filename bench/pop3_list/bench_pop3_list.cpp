// Lists a Dovecot mailbox of 1,000 messages (STAT, then LIST n and TOP n 1 for each) and reports
// messages per second. Starts a private Dovecot on 127.0.0.1 for the run and stops it after.
#include "dovecot_env.h"
#include "pop3.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kMessages = 1000;
DovecotEnv g_env;

void BM_ListMailbox(benchmark::State &state)
{
    TmsRemotePOP pop;
    pop.SetServer(g_env.Server(g_env.Pop3Port));
    pop.SetUserName(QStringLiteral("bench"));
    pop.SetPassword(g_env.Password);
    pop.SetTimeOut(30);
    pop.SetUseUidl(state.range(0) != 0);
    for (auto _ : state) {
        try {
            pop.UpdateInfo();
        } catch (const std::exception &e) {
            state.SkipWithError(e.what());
            break;
        }
        if (pop.RemoteInfo().Count() != kMessages) {
            state.SkipWithError("the listing is incomplete");
            break;
        }
    }
    state.counters["messages/s"] =
        benchmark::Counter(double(state.iterations()) * kMessages, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ListMailbox)->ArgName("uidl")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QStringLiteral(TARNWICK_BENCH_DOVECOT_DIR);
    QString error;
    if (!RunDovecotFixture(QStringLiteral("start"), dir, &error)) {
        std::fprintf(stderr, "cannot start Dovecot: %s\n", qPrintable(error));
        return 1;
    }
    const auto stop = qScopeGuard([&dir] { RunDovecotFixture(QStringLiteral("stop"), dir); });
    std::optional<DovecotEnv> env = DovecotEnv::Load(dir + QStringLiteral("/dovecot.ini"), &error);
    if (!env) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    g_env = *env;
    QList<QByteArray> messages;
    for (int i = 1; i <= kMessages; ++i)
        messages << TestMessage(i, 5 + i % 20);
    if (!g_env.SeedMailbox(QStringLiteral("bench"), messages, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    // Dovecot builds its index of the new mailbox on the first visit; that is not what we measure.
    {
        TmsRemotePOP warmUp;
        warmUp.SetServer(g_env.Server(g_env.Pop3Port));
        warmUp.SetUserName(QStringLiteral("bench"));
        warmUp.SetPassword(g_env.Password);
        warmUp.SetTimeOut(60);
        try {
            warmUp.UpdateInfo();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "listing failed: %s\n", e.what());
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
