// The viewer over a long run: the real window on a local HTTPS feed that publishes 10 000
// reports. Reports resident memory at start and after the 10 000 reports, CPU time per poll,
// idle CPU while polling every 30 s with nothing new, and the time to close while a request
// is stalled. Run by hand: build/…/bench/bench_soak (takes about two minutes).
#include "app/defaultfont.h"
#include "app/mainform.h"
#include "core/folder.h"
#include "demoserver.h"
#include "feed/jmaaccess.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <curl/curl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

namespace {

constexpr int Reports = 10000;
constexpr int PerPoll = 100;
constexpr int ListWindow = 600;  // the agency's list holds roughly the newest 600 reports

double ResidentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

template <typename Pred>
bool WaitFor(Pred Done, int Ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!Done()) {
        if (timer.elapsed() > Ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// The list document once Published reports are out, newest first.
QByteArray ListBody(int Published)
{
    nlohmann::json list = nlohmann::json::array();
    for (int i = Published; i > std::max(0, Published - ListWindow); --i) {
        list.push_back({{"json", "soak_" + std::to_string(i) + ".json"}, {"ttl", "震源・震度情報"},
                        {"at", "2024-01-03T18:18:00+09:00"}, {"anm", "能登半島沖"}, {"acd", "495"},
                        {"cod", "+37.1+136.7-10000/"}, {"mag", "2.9"}, {"maxi", std::to_string(1 + i % 7)}});
    }
    return QByteArray::fromStdString(list.dump());
}

void BM_Soak(benchmark::State& state)
{
    QTemporaryDir dir;
    const TDemoCert cert = MakeDemoCert(dir.path());
    std::atomic<int> published{0};
    TDemoFeedServer server(cert, [&published](int) { return ListBody(published.load()); });

    TMainFormOptions options;
    options.Endpoint = server.BaseUrl();
    options.CaFile = cert.CaFile;
    options.Folder = dir.path();
    options.AccessIntervalSec = 30;
    auto form = std::make_unique<TMainForm>(options);
    form->show();
    WaitFor([&] { return server.ListRequests() >= 1; }, 10000);
    WaitFor([] { return false; }, 500);
    const double residentAtStart = ResidentMiB();

    for (auto _ : state) {
        const double cpuBefore = CpuSeconds();
        int polls = 0;
        while (published.load() < Reports) {
            published += PerPoll;
            const int before = server.ListRequests();
            ForceAccess = true;
            WaitFor([&] { return server.ListRequests() > before && form->ListView1->count() >= published.load(); }, 30000);
            ++polls;
        }
        state.counters["cpu_ms_per_poll"] = (CpuSeconds() - cpuBefore) * 1000.0 / polls;
    }
    state.counters["reports_listed"] = form->ListView1->count();
    state.counters["rss_start_MiB"] = residentAtStart;
    state.counters["rss_10k_MiB"] = ResidentMiB();

    // Idle: the interval is 30 s and nothing new comes; one poll falls into the window.
    const double idleCpu = CpuSeconds();
    QElapsedTimer idle;
    idle.start();
    // The plain event loop, as the viewer runs it: the harness itself must not poll here.
    QEventLoop loop;
    QTimer::singleShot(40000, &loop, &QEventLoop::quit);
    loop.exec();
    state.counters["idle_cpu_percent"] = (CpuSeconds() - idleCpu) / (idle.elapsed() / 1000.0) * 100.0;

    // Close while a poll hangs on a server that never answers.
    server.SetStall(true);
    const int before = server.ListRequests();
    ForceAccess = true;
    WaitFor([&] { return server.ListRequests() > before; }, 5000);
    QElapsedTimer closing;
    closing.start();
    form->close();
    form.reset();
    state.counters["close_ms_while_stalled"] = static_cast<double>(closing.elapsed());
    server.SetStall(false);
}
BENCHMARK(BM_Soak)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    curl_global_init(CURL_GLOBAL_DEFAULT);
    QApplication app(argc, argv);
    InstallDefaultFont();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}
