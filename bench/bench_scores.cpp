// The cost of the high-score store on a real disk: loading a table, and the
// record dialog's load + insert + save round trip.
#include "datafiles.h"
#include "ttop.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "benchmain.h"

#include <benchmark/benchmark.h>

static void BM_LoadTop(benchmark::State& state)
{
    QTemporaryDir dir;
    datafiles::setProgramPath(dir.filePath(QStringLiteral("tivorama")));
    Ttop top;
    LoadTop(top, 1);
    for (auto _ : state) {
        LoadTop(top, 1);
        benchmark::DoNotOptimize(top.Entries[9].Score);
    }
}
BENCHMARK(BM_LoadTop);

static void BM_LoadInsertSave(benchmark::State& state)
{
    QTemporaryDir dir;
    datafiles::setProgramPath(dir.filePath(QStringLiteral("tivorama")));
    Ttop top;
    LoadTop(top, 1);
    for (auto _ : state) {
        LoadTop(top, 1);
        // Each result beats rank 10, so every round really inserts; the table
        // goes back to the defaults before the scores run out.
        if (top.Entries[9].Score <= 1) {
            state.PauseTiming();
            SaveTop(scorefiles::defaultTop(1), 1);
            LoadTop(top, 1);
            state.ResumeTiming();
        }
        top.NewName = QStringLiteral("Игрок");
        top.NewScore = top.Entries[9].Score - 1;
        InsertTop(top, 1);
    }
}
BENCHMARK(BM_LoadInsertSave)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
