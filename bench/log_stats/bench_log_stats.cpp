// A year of busy use as an activity log: 100,000 entries (60,000 checks of three mailboxes and
// 40,000 deletions from 2,000 senders at 300 domains), written with the program's own entry
// formats. Measured: reading the file, computing every table from what was read, both
// together as the statistics window does on opening, and the chart window filled and drawn.

#include "activitylog.h"
#include "logformat.h"
#include "logreader.h"
#include "logstats.h"
#include "statistics.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kChecks = 60000;
constexpr int kDeletions = 40000;

struct LogFile
{
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;

    LogFile()
    {
        path = dir.filePath(QStringLiteral("year.txt"));
        std::mt19937 rng(1998);
        const QStringList mailboxes{QStringLiteral("alice"), QStringLiteral("bob"), QStringLiteral("carol")};
        const QDateTime start(QDate(2025, 12, 1), QTime(0, 0));
        QByteArray text;
        text.reserve(12 * 1024 * 1024);
        const int entries = kChecks + kDeletions;
        const qint64 yearSeconds = 365LL * 24 * 3600;
        for (int i = 0; i < entries; ++i) {
            // Evenly through the year in file order, as a real log grows.
            const QDateTime when = start.addSecs(yearSeconds * i / entries);
            const QString stamp = FormatLogStamp(when);
            const QString &user = mailboxes.at(int(rng() % 3));
            const QString server = QStringLiteral("pop.%1.example").arg(user);
            // Three checks for every two deletions.
            if (i % 5 < 3) {
                text += CheckEntry(int(rng() % 12), user, server, stamp).toUtf8() + "\r\n";
            } else {
                const QString sender = QStringLiteral("sender%1@domain%2.example").arg(rng() % 2000).arg(rng() % 300);
                for (const QString &line :
                     DeletionEntry(user, server,
                                   {QStringLiteral("Offer %1").arg(i), sender, QString::number(1000 + rng() % 50000),
                                    QStringLiteral("Mon, 1 Dec 2025 10:00:00 +0000")},
                                   stamp))
                    text += line.toUtf8() + "\r\n";
            }
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write the benchmark log");
        bytes = text.size();
    }
};

LogFile &yearLog()
{
    static LogFile log;
    return log;
}

const StatsSelection kAll{QDate(1998, 1, 1), QDate(2030, 1, 1), QString()};

void BM_ReadLog(benchmark::State &state)
{
    LogFile &log = yearLog();
    for (auto _ : state) {
        const ActivityLogReadResult result = ReadActivityLog(log.path);
        if (!result.ok || result.data.checks.size() != kChecks || result.data.deletions.size() != kDeletions)
            state.SkipWithError("the log did not read back whole");
        benchmark::DoNotOptimize(result.data.checks.size());
    }
    state.SetBytesProcessed(state.iterations() * log.bytes);
    state.counters["entries"] = kChecks + kDeletions;
}
BENCHMARK(BM_ReadLog)->Unit(benchmark::kMillisecond);

// The parsing alone, on the file's bytes already in memory.
void BM_ParseInMemory(benchmark::State &state)
{
    QFile file(yearLog().path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the benchmark log");
    const QByteArray bytes = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseActivityLog(bytes).checks.size());
}
BENCHMARK(BM_ParseInMemory)->Unit(benchmark::kMillisecond);

void BM_ComputeTables(benchmark::State &state)
{
    const ActivityLogData data = ReadActivityLog(yearLog().path).data;
    for (auto _ : state) {
        const LogStatistics stats = ComputeStatistics(data, kAll);
        benchmark::DoNotOptimize(stats.days.size());
    }
}
BENCHMARK(BM_ComputeTables)->Unit(benchmark::kMillisecond);

// What opening the statistics costs below the window: one pass over the file, then the tables.
void BM_ReadAndCompute(benchmark::State &state)
{
    LogFile &log = yearLog();
    for (auto _ : state) {
        const ActivityLogReadResult result = ReadActivityLog(log.path);
        const LogStatistics stats = ComputeStatistics(result.data, kAll);
        benchmark::DoNotOptimize(stats.days.size());
    }
}
BENCHMARK(BM_ReadAndCompute)->Unit(benchmark::kMillisecond);

// The whole of opening: read, compute, fill the grids and charts, and draw the window once.
void BM_ChartWindow(benchmark::State &state)
{
    LogFile &log = yearLog();
    for (auto _ : state) {
        TfrmChart chart;
        chart.resize(1000, 680);
        if (!chart.readInLogFile(log.path).ok)
            state.SkipWithError("the log could not be read");
        chart.SetRange(kAll.start, kAll.end);
        chart.btPlotClick();
        for (int tab = 0; tab < chart.tabs->count(); ++tab) {
            chart.tabs->setCurrentIndex(tab);
            benchmark::DoNotOptimize(chart.grab().width());
        }
    }
}
BENCHMARK(BM_ChartWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
