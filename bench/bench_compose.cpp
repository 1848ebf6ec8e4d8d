#include "basemap/drawmaprec.h"
#include "basemap/maplayer.h"
#include "intensitymap/createshindoimage.h"
#include "intensitymap/imagelist.h"

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <QFile>

#include <cstring>

namespace {

// The areas of the largest real report: 60 areas in 19 prefectures, intensities 1 to 7.
std::vector<TShindListRec> RealMarks()
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/20260728163148_20260728162718_VXSE5k_1.json"));
    file.open(QIODevice::ReadOnly);
    const auto document = nlohmann::json::parse(file.readAll().toStdString());
    std::vector<TShindListRec> marks;
    for (const auto& pref : document.at("/Body/Intensity/Observation/Pref"_json_pointer))
        for (const auto& area : pref.at("Area")) {
            TShindListRec mark;
            mark.Caption = QString::fromStdString(area.at("Name").get<std::string>());
            mark.ImageIndex = ShindoToImageIndex(QString::fromStdString(area.at("MaxInt").get<std::string>()));
            marks.push_back(mark);
        }
    return marks;
}

// The map of one report, as the window composes it each time a report is shown.
void BM_DrawNow_RealReport(benchmark::State& state)
{
    TMapLayer layer;
    TCreateShindoImage composer(layer, TDrawMapRec(), ImageList1(), 103, 36);
    const std::vector<TShindListRec> marks = RealMarks();
    const QPointF epicenter(130.7f, 32.6f);
    QImage bitmap;
    TRect rect;
    TLabelPosition position = lpNone;
    for (auto _ : state) {
        std::vector<TShindListRec> list = marks;
        benchmark::DoNotOptimize(composer.DrawNow(list, epicenter, bitmap, rect, position));
    }
}
BENCHMARK(BM_DrawNow_RealReport)->Unit(benchmark::kMillisecond);

// The floor: copying the pixels of a finished 1920 x 1940 map once.
void BM_CopyComposedMap(benchmark::State& state)
{
    QImage source(TCreateShindoImage::ImageWidth, TCreateShindoImage::ImageHeight, QImage::Format_ARGB32);
    source.fill(0xFF336699);
    QImage target(source.size(), source.format());
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), static_cast<std::size_t>(source.sizeInBytes()));
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_CopyComposedMap)->Unit(benchmark::kMillisecond);

}  // namespace
