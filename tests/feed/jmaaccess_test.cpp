#include "feed/jmaaccess.h"

#include "testservers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Bounded wait for something another thread does.
template <typename Pred>
bool WaitUntil(Pred Done)
{
    for (int i = 0; i < 1000; ++i) {
        if (Done())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return Done();
}

// Stands in for the window's thread: runs posted functions one after the other.
class TWindowThread {
public:
    void Post(std::function<void()> Fn)
    {
        {
            std::lock_guard lock(FLock);
            FQueue.push_back(std::move(Fn));
        }
        FWake.notify_one();
    }
    std::thread::id Id() const { return FThread.get_id(); }

private:
    void Run(std::stop_token Stop)
    {
        for (;;) {
            std::unique_lock lock(FLock);
            if (!FWake.wait(lock, Stop, [this] { return !FQueue.empty(); }))
                return;
            auto fn = std::move(FQueue.front());
            FQueue.pop_front();
            lock.unlock();
            fn();
        }
    }

    std::mutex FLock;
    std::condition_variable_any FWake;
    std::deque<std::function<void()>> FQueue;
    std::jthread FThread{[this](std::stop_token Stop) { Run(std::move(Stop)); }};
};

// The agency's two paths on a local server: the list document the test sets, detail
// documents from the test data, and every path asked for, in order.
class TFeedServer {
public:
    explicit TFeedServer(const TTestPki& Pki)
        : FServer(Pki)
    {
        FServer.Http().Get(ListPath, [this](const httplib::Request& req, httplib::Response& res) {
            std::function<void()> during;
            {
                std::lock_guard lock(FLock);
                FPaths.push_back(req.path);
                ++FListRequests;
                res.status = FListStatus;
                res.set_content(FList, "application/json");
                during = FDuringList;
            }
            if (during)
                during();
        });
        FServer.Http().Get(R"(/bosai/quake/data/(.+))", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(FLock);
                FPaths.push_back(req.path);
            }
            QFile file(QStringLiteral(TAVREL_TEST_DATA "/") + QString::fromStdString(req.matches[1].str()));
            if (!file.open(QIODevice::ReadOnly)) {
                res.status = 404;
                return;
            }
            res.set_content(file.readAll().toStdString(), "application/json");
        });
        FServer.Start();
    }
    TFeedEndpoint Endpoint(const TTestPki& Pki) const { return {FServer.BaseUrl(), Pki.CaFile}; }
    void SetList(const nlohmann::json& List, int Status = 200)
    {
        std::lock_guard lock(FLock);
        FList = List.dump();
        FListStatus = Status;
    }
    // Runs Fn inside the next list requests, while the poll is in flight.
    void DuringList(std::function<void()> Fn)
    {
        std::lock_guard lock(FLock);
        FDuringList = std::move(Fn);
    }
    int ListRequests() const
    {
        std::lock_guard lock(FLock);
        return FListRequests;
    }
    std::vector<std::string> Paths() const
    {
        std::lock_guard lock(FLock);
        return FPaths;
    }

private:
    mutable std::mutex FLock;
    std::string FList = "[]";
    int FListStatus = 200;
    int FListRequests = 0;
    std::function<void()> FDuringList;
    std::vector<std::string> FPaths;
    TTestHttpsServer FServer;
};

nlohmann::json Entry(const std::string& Json)
{
    return {{"json", Json}, {"ttl", "震度速報"}, {"anm", "石川県能登地方"}, {"mag", "5.5"}, {"maxi", "5+"}};
}

class JMAAccessTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FFolder.isValid());
        FPki = MakeTestPki(FFolder.path());
        StartFreshLog(FFolder.path());
        AccessInterval = 180;
        ForceAccess = false;
        SetClock(QTime(12, 0));
    }
    void TearDown() override
    {
        FAccess.reset();
        while (auto* envelope = PopRec(&FEqHistList))
            delete envelope;
    }

    void StartFeed(const TFeedEndpoint& Endpoint, TJMAAccess::TPost Post = {})
    {
        if (!Post)
            Post = [this](std::function<void()> Fn) { FWindow.Post(std::move(Fn)); };
        TFeedTuning tuning;
        tuning.Now = [this] {
            ++FClockReads;
            return QDateTime::fromMSecsSinceEpoch(FNow.load(), Qt::UTC);
        };
        tuning.ReadTimeout = 2s;
        FAccess = std::make_unique<TJMAAccess>(Endpoint, &FEqHistList, &FDetailRequestList, &FDetailResultList,
                                               [this](bool OnOff) { Accessing(OnOff); }, std::move(Post), tuning);
        FAccess->Start();
    }
    void Accessing(bool OnOff)
    {
        std::lock_guard lock(FLock);
        FAccessCalls.push_back(OnOff);
        FOnWindowThread = FOnWindowThread && std::this_thread::get_id() == FWindow.Id();
    }
    std::vector<bool> AccessCalls() const
    {
        std::lock_guard lock(FLock);
        return FAccessCalls;
    }
    TFeedServer& Server()
    {
        if (!FServer)
            FServer = std::make_unique<TFeedServer>(FPki);
        return *FServer;
    }
    // ForceAccess is cleared only when the poll ends, after the indicator went off.
    void ForcePoll()
    {
        const auto calls = AccessCalls().size();
        ForceAccess = true;
        ASSERT_TRUE(WaitUntil([&] { return AccessCalls().size() >= calls + 2 && !ForceAccess.load(); }));
    }
    void SetClock(QTime Time) { FNow = QDateTime(QDate(2021, 3, 15), Time, Qt::UTC).toMSecsSinceEpoch(); }
    // Waits until the feed thread has looked at the clock N more times, that is, N passes.
    void WaitPasses(int N)
    {
        const int target = FClockReads.load() + N;
        ASSERT_TRUE(WaitUntil([&] { return FClockReads.load() >= target; }));
    }
    std::vector<std::string> TakeReports()
    {
        std::vector<std::string> names;
        while (auto* envelope = PopRec(&FEqHistList)) {
            names.push_back(envelope->JmaRec->Json.toStdString());
            delete envelope;
        }
        return names;
    }

    QTemporaryDir FFolder;
    TTestPki FPki;
    std::atomic<qint64> FNow{0};
    std::atomic<int> FClockReads{0};
    mutable std::mutex FLock;
    std::vector<bool> FAccessCalls;
    bool FOnWindowThread = true;
    TEqHistList FEqHistList;
    TDetailList FDetailRequestList;
    TDetailList FDetailResultList;
    TWindowThread FWindow;
    std::unique_ptr<TFeedServer> FServer;  // outlives the feed thread, so no request is left open
    std::unique_ptr<TJMAAccess> FAccess;
};

TEST_F(JMAAccessTest, PollsHandOnNewReportsOldestFirst)
{
    TFeedServer& server = Server();
    server.SetList({Entry("c.json"), Entry("b.json"), Entry("a.json")});
    StartFeed(server.Endpoint(FPki));
    ASSERT_TRUE(WaitUntil([&] { return AccessCalls().size() == 2; }));
    EXPECT_EQ(TakeReports(), (std::vector<std::string>{"a.json", "b.json", "c.json"}));

    // Two new reports on top; the ones taken before are not handed on again.
    server.SetList({Entry("e.json"), Entry("d.json"), Entry("c.json"), Entry("b.json"), Entry("a.json")});
    ForcePoll();
    EXPECT_EQ(TakeReports(), (std::vector<std::string>{"d.json", "e.json"}));

    // The newest report withdrawn: the list's top was taken before, so nothing comes back.
    server.SetList({Entry("d.json"), Entry("c.json")});
    ForcePoll();
    EXPECT_EQ(TakeReports(), std::vector<std::string>());

    EXPECT_EQ(AccessCalls(), (std::vector<bool>{true, false, true, false, true, false}));
    std::lock_guard lock(FLock);
    EXPECT_TRUE(FOnWindowThread);
}

TEST_F(JMAAccessTest, FailedPollsGiveNothingAndStillSwitchTheIndicator)
{
    TFeedServer& server = Server();
    struct Case {
        const char* name;
        int status;
        std::string body;
        int logLines;
    } cases[] = {{"404", 404, "[]", 0}, {"503", 503, "[]", 0}, {"object", 200, "{}", 1}};
    StartFeed(server.Endpoint(FPki));
    ASSERT_TRUE(WaitUntil([&] { return AccessCalls().size() == 2 && !ForceAccess.load(); }));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartFreshLog(FFolder.path());
        server.SetList(nlohmann::json::parse(c.body), c.status);
        ForcePoll();
        EXPECT_EQ(RecCount(&FEqHistList), 0);
        EXPECT_EQ(LogEntries().size(), c.logLines);
    }
    // The reports missed are taken at the next good poll.
    server.SetList(nlohmann::json::array({Entry("a.json")}));
    ForcePoll();
    EXPECT_EQ(TakeReports(), std::vector<std::string>{"a.json"});
}

// A poll ending at 12:00:00 with the interval at 180 s is followed by one at 12:03:00; a
// forced poll at 12:04:00 moves the next to 12:07:00; lowering the interval applies at once.
TEST_F(JMAAccessTest, PollsFollowTheIntervalAndForceAccess)
{
    TFeedServer& server = Server();
    StartFeed(server.Endpoint(FPki));
    ASSERT_TRUE(WaitUntil([&] { return server.ListRequests() == 1 && AccessCalls().size() == 2; }));
    WaitPasses(2);  // the poll's end time is taken after the indicator went off

    struct Step {
        QTime clock;
        bool force;
        int interval;
        int polls;  // list requests after a few passes at that time
    } steps[] = {
        {QTime(12, 2, 59), false, 180, 1},
        {QTime(12, 3, 0), false, 180, 2},
        {QTime(12, 4, 0), true, 180, 3},
        {QTime(12, 6, 59), false, 180, 3},
        {QTime(12, 7, 0), false, 180, 4},
        {QTime(12, 8, 0), false, 300, 4},
        {QTime(12, 8, 0), false, 30, 5},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.clock.toString().toStdString() + " interval " + std::to_string(s.interval));
        AccessInterval = s.interval;
        SetClock(s.clock);
        if (s.force)
            ForceAccess = true;
        ASSERT_TRUE(WaitUntil([&] { return server.ListRequests() >= s.polls; }));
        WaitPasses(3);
        EXPECT_EQ(server.ListRequests(), s.polls);
        EXPECT_FALSE(ForceAccess.load());
    }
}

TEST_F(JMAAccessTest, ForceAccessDuringAPollGivesOnePoll)
{
    TFeedServer& server = Server();
    server.DuringList([] { ForceAccess = true; });
    StartFeed(server.Endpoint(FPki));
    ASSERT_TRUE(WaitUntil([&] { return AccessCalls().size() == 2; }));
    WaitPasses(5);
    EXPECT_EQ(server.ListRequests(), 1);
    EXPECT_FALSE(ForceAccess.load());
}

TEST_F(JMAAccessTest, DetailRequestsWaitWhileAPollIsDue)
{
    TFeedServer& server = Server();
    TJmaRec first;
    first.ReportType = rtIntensityOnly;
    first.Json = QStringLiteral("20260728162848_20260728162718_VXSE51_0.json");
    PushRec(&FDetailRequestList, &first);
    StartFeed(server.Endpoint(FPki));
    ASSERT_TRUE(WaitUntil([&] { return RecCount(&FDetailResultList) == 1; }));
    EXPECT_EQ(PopRec(&FDetailResultList), &first);

    // A poll due by the clock goes before a request made after it fell due.
    TJmaRec second;
    second.Json = QStringLiteral("20260728163148_20260728162718_VXSE5k_1.json");
    SetClock(QTime(12, 3, 0));
    PushRec(&FDetailRequestList, &second);
    ASSERT_TRUE(WaitUntil([&] { return RecCount(&FDetailResultList) == 1; }));
    EXPECT_EQ(PopRec(&FDetailResultList), &second);

    const std::string list = ListPath;
    const std::string folder = DetailFolderPath;
    EXPECT_EQ(server.Paths(), (std::vector<std::string>{list, folder + first.Json.toStdString(), list,
                                                        folder + second.Json.toStdString()}));
    EXPECT_EQ(AccessCalls().size(), 8u);
}

TEST_F(JMAAccessTest, DetailReadsFillTheRecordOrSendNothingBack)
{
    TFeedServer& server = Server();
    StartFeed(server.Endpoint(FPki));
    ASSERT_TRUE(WaitUntil([&] { return AccessCalls().size() == 2; }));

    struct Case {
        const char* name;
        const char* json;
        bool filled;
        int logLines;
        bool requested;
    } cases[] = {
        {"document", "20260728162848_20260728162718_VXSE51_0.json", true, 0, true},
        {"404", "missing.json", false, 0, true},
        {"not a plain file name", "../list.json", false, 1, false},
        {"list as details", "list.json", false, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartFreshLog(FFolder.path());
        TJmaRec rec;
        rec.ReportType = rtIntensityOnly;
        rec.Json = QString::fromUtf8(c.json);
        const auto calls = AccessCalls().size();
        const auto paths = server.Paths().size();
        PushRec(&FDetailRequestList, &rec);
        ASSERT_TRUE(WaitUntil([&] { return AccessCalls().size() == calls + 2; }));
        WaitPasses(1);  // the indicator goes off before the record is sent back
        EXPECT_EQ(PopRec(&FDetailResultList), c.filled ? &rec : nullptr);
        EXPECT_EQ(rec.Comments[3].isEmpty(), !c.filled);
        EXPECT_EQ(LogEntries().size(), c.logLines);
        if (c.logLines > 0) {
            EXPECT_TRUE(LogEntries()[0].startsWith(QLatin1String("TJMAAccess.GetDetails-")));
        }
        EXPECT_EQ(server.Paths().size(), paths + (c.requested ? 1 : 0));
    }
}

TEST_F(JMAAccessTest, DestroyingDuringAStalledRequestReturnsSoon)
{
    TRawTlsServer server(FPki, {TRawTlsServer::TMode::Stall, false, false});
    StartFeed({server.BaseUrl(), FPki.CaFile});
    ASSERT_TRUE(WaitUntil([&] { return server.Requests() == 1; }));
    const auto start = std::chrono::steady_clock::now();
    FAccess.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(LogEntries(), QStringList());
}

// The window's thread is busy destroying the thread and so never runs the posted call.
TEST_F(JMAAccessTest, DestroyingWhileWaitingForTheWindowCannotDeadlock)
{
    TFeedServer& server = Server();
    std::mutex lock;
    std::vector<std::function<void()>> held;
    StartFeed(server.Endpoint(FPki), [&](std::function<void()> Fn) {
        std::lock_guard guard(lock);
        held.push_back(std::move(Fn));
    });
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard guard(lock);
        return !held.empty();
    }));
    const auto start = std::chrono::steady_clock::now();
    FAccess.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(server.ListRequests(), 0);
    // A call that the window runs late does no harm.
    std::lock_guard guard(lock);
    for (auto& fn : held)
        fn();
}

}  // namespace
