#include "basemap/maplayer.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

// The whole paint as the viewer does it once at start: decode the built-in image, four passes.
void BM_MakeMap(benchmark::State& State)
{
    TMapLayer layer;
    QImage target(layer.Width(), layer.Height(), QImage::Format_ARGB32);
    const TDrawMapRec colors;
    for (auto _ : State) {
        layer.MakeMap(colors, target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_MakeMap)->Unit(benchmark::kMillisecond);

// The passes alone, on the decoded image.
void BM_MakeMapPasses(benchmark::State& State)
{
    TMapLayer layer;
    QFile file(QStringLiteral(":/MapData"));
    file.open(QIODevice::ReadOnly);
    const QImage coded = QImage::fromData(file.readAll(), "PNG").convertToFormat(QImage::Format_RGB32);
    QImage target(layer.Width(), layer.Height(), QImage::Format_ARGB32);
    const TDrawMapRec colors;
    for (auto _ : State) {
        layer.MakeMapFrom(colors, coded, target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_MakeMapPasses)->Unit(benchmark::kMillisecond);

}  // namespace
