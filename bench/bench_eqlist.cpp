#include "feed/eqlist.h"

#include <benchmark/benchmark.h>

#include <QFile>

namespace {

QByteArray RealList()
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/list.json"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The first poll: all 629 entries of a real list document become records.
void BM_ReadEqList_First(benchmark::State& state)
{
    const QByteArray body = RealList();
    for (auto _ : state) {
        TJmaRecList records;
        ReadEqList(body, {}, records);
        benchmark::DoNotOptimize(records.data());
    }
    state.SetBytesProcessed(state.iterations() * body.size());
}
BENCHMARK(BM_ReadEqList_First)->Unit(benchmark::kMillisecond);

// A poll in which nothing changed: the walk reads one entry, the parse dominates.
void BM_ReadEqList_Unchanged(benchmark::State& state)
{
    const QByteArray body = RealList();
    TJmaRecList first;
    ReadEqList(body, {}, first);
    const QSet<QString> taken{first.front()->Json};
    for (auto _ : state) {
        TJmaRecList records;
        ReadEqList(body, taken, records);
        benchmark::DoNotOptimize(records.data());
    }
}
BENCHMARK(BM_ReadEqList_Unchanged)->Unit(benchmark::kMillisecond);

}  // namespace
