#include "feed/jmaaccess.h"

#include "core/log.h"
#include "feed/httpclient.h"

#include <condition_variable>
#include <exception>
#include <mutex>

std::atomic<int> AccessInterval{180};
std::atomic<bool> ForceAccess{false};

namespace {

// One call of the access callback on the window's thread, which the feed thread waits for.
struct TWindowCall {
    std::mutex Lock;
    std::condition_variable_any Done;
    bool Ran = false;

    void MarkRan()
    {
        {
            std::lock_guard lock(Lock);
            Ran = true;
        }
        Done.notify_all();
    }
};

}  // namespace

TJMAAccess::TJMAAccess(TFeedEndpoint Endpoint, TEqHistList* EqHistList, TDetailList* DetailRequestList,
                       TDetailList* DetailResultList, TAccessing Accessing, TPost Post, TFeedTuning Tuning)
    : FEndpoint(std::move(Endpoint))
    , FTuning(std::move(Tuning))
    , FEqHistList(EqHistList)
    , FDetailRequestList(DetailRequestList)
    , FDetailResultList(DetailResultList)
    , FAccessing(std::move(Accessing))
    , FPost(std::move(Post))
{
    while (FEndpoint.BaseUrl.endsWith(u'/'))
        FEndpoint.BaseUrl.chop(1);
}

TJMAAccess::~TJMAAccess()
{
    if (FThread.joinable()) {
        FThread.request_stop();
        FThread.join();
    }
}

void TJMAAccess::Start()
{
    if (!FThread.joinable())
        FThread = std::jthread([this](std::stop_token Stop) { Execute(std::move(Stop)); });
}

void TJMAAccess::Execute(std::stop_token Stop)
{
    FStop = Stop;
    try {
        const THttpSettings settings{FTuning.ConnectTimeout, FTuning.ReadTimeout, FEndpoint.CaFile};
        CreateHTTP(IdHTTP, settings, Stop);
        std::mutex pauseLock;
        std::condition_variable_any pause;
        while (!Stop.stop_requested()) {
            Pass();
            std::unique_lock lock(pauseLock);
            pause.wait_for(lock, Stop, FTuning.PassPause, [] { return false; });
        }
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TJMAAccess.Execute"), QString::fromUtf8(e.what()));
    }
    IdHTTP.reset();
}

bool TJMAAccess::PollDue() const
{
    return TheFirst || ForceAccess.load() || FTuning.Now() >= FLastAccessTime.addSecs(AccessInterval.load());
}

// A poll when one is due, otherwise one detail request. A failed poll keeps the schedule as
// it was, so that the poll is due again on the next pass.
void TJMAAccess::Pass()
{
    if (PollDue()) {
        try {
            AccessNow();
            TheFirst = false;
            ForceAccess = false;
            FLastAccessTime = FTuning.Now();
        } catch (const std::exception& e) {
            WriteLog(QStringLiteral("TJMAAccess.Execute"), QString::fromUtf8(e.what()));
        }
        return;
    }
    if (RecCount(FDetailRequestList) == 0)
        return;
    PJmaRec rec = PopRec(FDetailRequestList);
    if (rec && GetDetails(rec))
        PushRec(FDetailResultList, rec);
}

void TJMAAccess::AccessNow()
{
    Synchronize(true);
    try {
        GetEqList(FEndpoint.BaseUrl + QLatin1String(ListPath));
        HandOnNewReports();
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TJMAAccess.AccessNow"), QString::fromUtf8(e.what()));
    }
    Synchronize(false);
}

void TJMAAccess::GetEqList(const QString& URL)
{
    QByteArray body;
    if (!GetDataFromSite(IdHTTP.get(), URL, &body))
        return;
    ReadEqList(body, FTaken, FJsonList);
}

// FJsonList holds the new reports newest first; the window gets them oldest first.
void TJMAAccess::HandOnNewReports()
{
    for (auto it = FJsonList.rbegin(); it != FJsonList.rend(); ++it) {
        if (it + 1 == FJsonList.rend())
            FLastJson = (*it)->Json;
        FTaken.insert((*it)->Json);
        auto envelope = MakeEqHistRec(std::move(*it));
        if (FEqHistList)
            PushRec(FEqHistList, envelope.release());
    }
    FJsonList.clear();
}

// Runs Accessing on the window's thread and waits for it; a stop request ends the wait (and
// nothing more is posted once it came), so that an owner joining the thread on the window's
// thread cannot deadlock with it.
void TJMAAccess::Synchronize(bool OnOff)
{
    if (!FAccessing || FStop.stop_requested())
        return;
    if (!FPost) {
        FAccessing(OnOff);
        return;
    }
    auto call = std::make_shared<TWindowCall>();
    FPost([call, accessing = FAccessing, OnOff] {
        struct TMark {
            TWindowCall& Call;
            ~TMark() { Call.MarkRan(); }
        } mark{*call};
        accessing(OnOff);
    });
    std::unique_lock lock(call->Lock);
    call->Done.wait(lock, FStop, [&call] { return call->Ran; });
}
