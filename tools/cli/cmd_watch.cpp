#include "commands.h"

#include "feed/jmaaccess.h"
#include "recordjson.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int)
{
    stopRequested = 1;
}

struct TWatchOptions {
    int Interval = 180;
    bool Details = false;
    TFeedEndpoint Endpoint;
};

std::optional<TWatchOptions> ParseOptions(const QStringList& Args)
{
    TWatchOptions options;
    for (qsizetype i = 0; i < Args.size(); ++i) {
        const QString& arg = Args[i];
        const bool hasValue = i + 1 < Args.size();
        if (arg == QLatin1String("--details")) {
            options.Details = true;
        } else if (arg == QLatin1String("--interval") && hasValue) {
            bool ok = false;
            options.Interval = Args[++i].toInt(&ok);
            if (!ok || options.Interval < 1 || options.Interval > 300)
                return std::nullopt;
        } else if (arg == QLatin1String("--endpoint") && hasValue) {
            options.Endpoint.BaseUrl = Args[++i];
        } else if (arg == QLatin1String("--ca-file") && hasValue) {
            options.Endpoint.CaFile = Args[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

void PrintLine(const nlohmann::ordered_json& Line)
{
    std::printf("%s\n", Line.dump().c_str());
    std::fflush(stdout);
}

// The window's side of the feed without a window: takes new reports as the window's timer
// does, keeps their records, and asks for their details when told to.
class TWatcher {
public:
    explicit TWatcher(bool Details)
        : FDetails(Details)
    {
    }
    ~TWatcher()
    {
        while (auto* envelope = PopRec(&EqHistList))
            delete envelope;
    }
    void Drain()
    {
        while (auto* envelope = PopRec(&EqHistList)) {
            std::unique_ptr<TEqHistRec> owned(envelope);
            PrintLine(RecordToJson(*owned->JmaRec));
            FRecords.push_back(std::move(owned->JmaRec));
            if (FDetails && !FRecords.back()->Json.isEmpty())
                PushRec(&DetailRequestList, FRecords.back().get());
        }
        while (auto* rec = PopRec(&DetailResultList))
            PrintLine(DetailsToJson(*rec));
    }

    TEqHistList EqHistList;
    TDetailList DetailRequestList;
    TDetailList DetailResultList;

private:
    bool FDetails;
    std::vector<std::unique_ptr<TJmaRec>> FRecords;
};

int Watch(const QStringList& Args)
{
    const auto options = ParseOptions(Args);
    if (!options) {
        PrintError(QStringLiteral("usage: watch [--interval SECONDS (1 to 300)] [--details] [--endpoint URL] [--ca-file FILE]"));
        return 2;
    }
    AccessInterval = options->Interval;
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);

    QObject context;
    TWatcher watcher(options->Details);
    auto feed = std::make_unique<TJMAAccess>(
        options->Endpoint, &watcher.EqHistList, &watcher.DetailRequestList, &watcher.DetailResultList,
        [](bool) {}, [&context](std::function<void()> Fn) { QMetaObject::invokeMethod(&context, std::move(Fn), Qt::QueuedConnection); });
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &context, [&watcher] {
        watcher.Drain();
        if (stopRequested)
            QCoreApplication::quit();
    });
    timer.start(200);
    feed->Start();
    if (!stopRequested)
        QCoreApplication::exec();
    // The thread goes first: it may still be filling a record that the watcher owns.
    feed.reset();
    return 0;
}

[[maybe_unused]] const bool registered = RegisterCommand(
    "watch", "watch [--interval SECONDS] [--details] [--endpoint URL] [--ca-file FILE]", Watch);

}  // namespace
