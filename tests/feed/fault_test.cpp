// The feed thread against a server that misbehaves at random for a few thousand requests:
// the thread must keep polling, hand on every published report exactly once, and keep its
// memory flat.
#include "feed/jmaaccess.h"

#include "testservers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <zlib.h>

#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;
using nlohmann::json;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool Sanitized = true;
constexpr int FaultyRequests = 500;
#else
constexpr bool Sanitized = false;
constexpr int FaultyRequests = 2000;
#endif
constexpr std::size_t ServedWindow = 300;  // the list document holds the newest 300 reports

std::string Compress(const std::string& Data, int WindowBits)
{
    z_stream zs{};
    deflateInit2(&zs, Z_BEST_SPEED, Z_DEFLATED, WindowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, Data.size()), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
    zs.avail_in = static_cast<uInt>(Data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

std::string Gzip(const std::string& Data)
{
    return Compress(Data, 15 + 16);
}

std::string Deflate(const std::string& Data)
{
    return Compress(Data, 15);
}

long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

enum class TFault {
    None,
    Gzip,
    Deflate,
    Stale,        // an older copy of the list: the newest entries are lost, to come back later
    Truncated,    // the connection closes in the middle of the body
    CorruptGzip,
    TruncatedGzip,
    Oversize,     // a body that inflates beyond the cap
    BadUtf8,
    DeepNesting,
    Object,
    Status404,
    Status503,
    Stall,        // nothing arrives until the client's read time-out
};

const char* const FaultNames[] = {"none", "gzip", "deflate", "stale", "truncated", "corrupt gzip",
                                  "truncated gzip", "oversize", "invalid UTF-8", "deep nesting",
                                  "object", "404", "503", "stall"};

// The agency's list as a server that publishes a new report now and then and answers each
// request with a fault drawn at random (fixed seed, so a failure can be replayed).
class TFaultyFeed {
public:
    explicit TFaultyFeed(const TTestPki& Pki)
        : FServer(Pki)
        , FBomb(Gzip(std::string((std::size_t{33} << 20), ' ')))
    {
        FServer.Http().Get(ListPath, [this](const httplib::Request& req, httplib::Response& res) { Serve(req, res); });
        FServer.Start();
    }

    TFeedEndpoint Endpoint(const TTestPki& Pki) const { return {FServer.BaseUrl(), Pki.CaFile}; }

    int Requests() const
    {
        std::lock_guard lock(FLock);
        return FRequests;
    }
    // From now on every answer is a good one and nothing new is published.
    void Calm()
    {
        std::lock_guard lock(FLock);
        FCalm = true;
    }
    std::vector<std::string> Published() const
    {
        std::lock_guard lock(FLock);
        return FPublished;
    }
    std::map<TFault, int> Faults() const
    {
        std::lock_guard lock(FLock);
        return FFaults;
    }

private:
    json Entry(std::size_t Index)
    {
        const std::string name = FPublished[Index];
        json entry = {{"json", name}, {"ttl", "震源・震度情報"}, {"at", "2024-01-03T18:18:00+09:00"},
                      {"anm", "能登半島沖"}, {"acd", "495"}, {"cod", "+37.1+136.7-10000/"}, {"mag", "2.9"},
                      {"maxi", "1"}};
        // Values out of every range still make a record.
        if (Index % 7 == 3) {
            entry["mag"] = 1e300;
            entry["acd"] = 1e30;
            entry["cod"] = std::string(5000, '+');
            entry["at"] = "9999-99-99T99:99:99";
        }
        return entry;
    }

    // The list as it stood when Count reports were published, newest first.
    std::string ListOf(std::size_t Count)
    {
        json list = json::array();
        const std::size_t oldest = Count > ServedWindow ? Count - ServedWindow : 0;
        for (std::size_t i = Count; i > oldest; --i)
            list.push_back(Entry(i - 1));
        return list.dump();
    }

    TFault Draw()
    {
        const int roll = std::uniform_int_distribution<int>(0, 999)(FRandom);
        const std::pair<int, TFault> table[] = {
            {400, TFault::None}, {80, TFault::Gzip}, {60, TFault::Deflate}, {80, TFault::Stale},
            {60, TFault::Truncated}, {40, TFault::CorruptGzip}, {40, TFault::TruncatedGzip}, {20, TFault::Oversize},
            {50, TFault::BadUtf8}, {30, TFault::DeepNesting}, {30, TFault::Object}, {40, TFault::Status404},
            {66, TFault::Status503}, {4, TFault::Stall},
        };
        int upTo = 0;
        for (const auto& [share, fault] : table) {
            upTo += share;
            if (roll < upTo)
                return fault;
        }
        return TFault::None;
    }

    void Serve(const httplib::Request&, httplib::Response& res)
    {
        std::unique_lock lock(FLock);
        ++FRequests;
        if (!FCalm && std::bernoulli_distribution(0.4)(FRandom))
            FPublished.push_back("report_" + std::to_string(FPublished.size()) + ".json");
        const TFault fault = FCalm ? TFault::None : Draw();
        ++FFaults[fault];
        const std::size_t staleCount =
            FPublished.size() - std::min<std::size_t>(FPublished.size(), 1 + FRandom() % 5);
        const std::string list = ListOf(fault == TFault::Stale ? staleCount : FPublished.size());
        lock.unlock();
        Answer(fault, list, res);
    }

    void Answer(TFault Fault, const std::string& List, httplib::Response& res)
    {
        switch (Fault) {
        case TFault::None:
        case TFault::Stale:
            res.set_content(List, "application/json");
            break;
        case TFault::Gzip:
            Encoded(res, Gzip(List), "gzip");
            break;
        case TFault::Deflate:
            Encoded(res, Deflate(List), "deflate");
            break;
        case TFault::Truncated:
            res.set_content_provider(List.size(), "application/json",
                                     [List](std::size_t Offset, std::size_t, httplib::DataSink& Sink) {
                                         if (Offset > 0)
                                             return false;
                                         Sink.write(List.data(), List.size() / 2);
                                         return true;
                                     });
            break;
        case TFault::CorruptGzip:
            Encoded(res, std::string("\x1f\x8b\x08\x00garbage that is no deflate stream", 38), "gzip");
            break;
        case TFault::TruncatedGzip: {
            const std::string packed = Gzip(List);
            Encoded(res, packed.substr(0, packed.size() / 2), "gzip");
            break;
        }
        case TFault::Oversize:
            Encoded(res, FBomb, "gzip");
            break;
        case TFault::BadUtf8: {
            std::string broken = List;
            const auto at = broken.find("能");
            if (at != std::string::npos)
                broken[at + 1] = '\xff';
            res.set_content(broken, "application/json");
            break;
        }
        case TFault::DeepNesting:
            res.set_content(std::string(100000, '[') + std::string(100000, ']'), "application/json");
            break;
        case TFault::Object:
            res.set_content("{\"json\": \"report_0.json\"}", "application/json");
            break;
        case TFault::Status404:
            res.status = 404;
            res.set_content("<html>not found</html>", "text/html");
            break;
        case TFault::Status503:
            res.status = 503;
            res.set_content(List, "application/json");
            break;
        case TFault::Stall:
            std::this_thread::sleep_for(1500ms);
            res.set_content(List, "application/json");
            break;
        }
    }

    static void Encoded(httplib::Response& res, const std::string& Body, const char* Encoding)
    {
        res.set_header("Content-Encoding", Encoding);
        res.set_content(Body, "application/json");
    }

    TTestHttpsServer FServer;
    const std::string FBomb;
    mutable std::mutex FLock;
    std::mt19937 FRandom{20240101};
    int FRequests = 0;
    bool FCalm = false;
    std::vector<std::string> FPublished;
    std::map<TFault, int> FFaults;
};

// Drains EqHistList as the window's timer does, keeping what arrives in order.
std::vector<std::string> Drain(TEqHistList& List)
{
    std::vector<std::string> names;
    while (TEqHistRec* envelope = PopRec(&List)) {
        names.push_back(envelope->JmaRec->Json.toStdString());
        delete envelope;
    }
    return names;
}

TEST(FeedFaults, EveryPublishedReportArrivesOnceWhateverTheServerDoes)
{
    std::signal(SIGPIPE, SIG_IGN);
    QTemporaryDir dir;
    StartFreshLog(dir.path());
    const TTestPki pki = MakeTestPki(dir.path());
    TFaultyFeed server(pki);

    TEqHistList eqHist;
    TDetailList requests, results;
    TFeedTuning tuning;
    tuning.ConnectTimeout = 1000ms;
    tuning.ReadTimeout = 1000ms;
    tuning.PassPause = 1ms;
    // Every pass finds a poll due: the clock jumps an hour at each look.
    auto ticks = std::make_shared<std::atomic<qint64>>(0);
    tuning.Now = [ticks] { return QDateTime::fromSecsSinceEpoch(1700000000 + 3600 * (*ticks)++, Qt::UTC); };

    std::vector<std::string> delivered;
    long residentAfterWarmUp = 0;
    {
        TJMAAccess feed(server.Endpoint(pki), &eqHist, &requests, &results, {}, {}, tuning);
        feed.Start();
        const auto deadline = std::chrono::steady_clock::now() + 10min;
        while (server.Requests() < FaultyRequests && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
            const auto names = Drain(eqHist);
            delivered.insert(delivered.end(), names.begin(), names.end());
            if (residentAfterWarmUp == 0 && server.Requests() >= FaultyRequests / 5)
                residentAfterWarmUp = ResidentKiB();
        }
        server.Calm();
        const int calmFrom = server.Requests();
        while (server.Requests() < calmFrom + 5 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
    }
    const auto rest = Drain(eqHist);
    delivered.insert(delivered.end(), rest.begin(), rest.end());
    const long residentAtEnd = ResidentKiB();

    ASSERT_GE(server.Requests(), FaultyRequests) << "the feed thread stopped polling";
    EXPECT_EQ(delivered, server.Published());

    int faults = 0;
    std::string counts;
    for (const auto& [fault, count] : server.Faults()) {
        if (fault != TFault::None && fault != TFault::Gzip && fault != TFault::Deflate)
            faults += count;
        counts += std::string(" ") + FaultNames[static_cast<int>(fault)] + "=" + std::to_string(count);
    }
    std::printf("fault test: %d requests, %d with a fault (%s), %zu reports published and delivered once, "
                "resident %ld KiB after warm-up, %ld KiB at the end\n",
                server.Requests(), faults, counts.c_str() + 1, delivered.size(), residentAfterWarmUp, residentAtEnd);
    if (!Sanitized) {
        EXPECT_LT(residentAtEnd - residentAfterWarmUp, 64 * 1024) << "memory grew with the requests";
    }
}

}  // namespace
