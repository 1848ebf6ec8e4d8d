#include "feed/details.h"

#include <benchmark/benchmark.h>

#include <QFile>

namespace {

// The largest detail document at hand: 19 prefectures, 416 cities, 1058 stations.
QByteArray LargeDetailDocument()
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/20260728163148_20260728162718_VXSE5k_1.json"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Parsing the document and writing the intensity tree back out as JSON text.
void BM_FillDetails(benchmark::State& state)
{
    const QByteArray body = LargeDetailDocument();
    for (auto _ : state) {
        TJmaRec rec;
        benchmark::DoNotOptimize(FillDetails(rec, body));
        benchmark::DoNotOptimize(rec.Intensity.data());
    }
    state.SetBytesProcessed(state.iterations() * body.size());
}
BENCHMARK(BM_FillDetails)->Unit(benchmark::kMillisecond);

}  // namespace
