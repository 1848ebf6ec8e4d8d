#include "app/mainform.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <fstream>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "bench_mapview";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// The 震源・震度情報 of an M7.1 earthquake: 19 prefectures, 60 areas, 1058 stations.
TJmaRec KumamotoRecord()
{
    std::ifstream in(TAVREL_TEST_DATA "/20260728163148_20260728162718_VXSE5k_1.json");
    const auto document = nlohmann::json::parse(in);
    TJmaRec rec;
    rec.ReportType = rtNormal;
    rec.OccurTime = QDateTime(QDate(2026, 7, 28), QTime(16, 27), Qt::UTC);
    rec.Epicenter = {130.7f, 32.6f};
    rec.EpicenterName = QStringLiteral("熊本県熊本地方");
    rec.Comments[0] = QString::fromStdString(document["Body"]["Comments"]["ForecastComment"]["Text"].get<std::string>());
    rec.Intensity = QString::fromStdString(document["Body"]["Intensity"]["Observation"]["Pref"].dump());
    return rec;
}

// A shown window whose feed polls an address where nothing listens.
struct TWindow {
    TWindow()
    {
        App();
        TMainFormOptions options;
        options.Endpoint = QStringLiteral("https://127.0.0.1:9");
        options.Folder = dir.path();
        options.AccessIntervalSec = 300;
        form = std::make_unique<TMainForm>(options);
        form->resize(1000, 800);
        form->show();
        QApplication::processEvents();
    }
    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;
};

// A report's details arrive: summary cleared and written, tree built, map composed, the
// paint box painted.
void BM_DetailsToPaintedMap(benchmark::State& state)
{
    TWindow window;
    const TJmaRec rec = KumamotoRecord();
    for (auto _ : state) {
        window.form->ShowItem(rec);
        window.form->ShowDetails(rec);
        window.form->PaintBox1->repaint();
    }
}
BENCHMARK(BM_DetailsToPaintedMap)->Unit(benchmark::kMillisecond);

// One paint of the composed map in a 1000 x 600 paint box: the shown region scaled with
// interpolation, then the caption block.
void BM_PaintMapView(benchmark::State& state)
{
    TWindow window;
    const TJmaRec rec = KumamotoRecord();
    window.form->ShowItem(rec);
    window.form->ShowDetails(rec);
    window.form->PaintBox1->resize(1000, 600);
    QImage target(1000, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window.form->PaintBox1->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintMapView)->Unit(benchmark::kMillisecond);

}  // namespace
