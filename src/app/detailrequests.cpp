#include "app/detailrequests.h"

#include <algorithm>

void TDetailRequests::Requested(PJmaRec Rec)
{
    FQueued.push_back(Rec);
}

void TDetailRequests::Returned(PJmaRec Rec)
{
    if (const auto it = std::find(FFetched.begin(), FFetched.end(), Rec); it != FFetched.end()) {
        FFetched.erase(it);
        return;
    }
    if (FInFlight == Rec) {
        FInFlight = nullptr;
        return;
    }
    if (const auto it = std::find(FQueued.begin(), FQueued.end(), Rec); it != FQueued.end())
        FQueued.erase(it);
}

void TDetailRequests::AccessStarted(int StillQueued)
{
    FFetched.clear();
    if (FInFlight) {
        FFetched.push_back(FInFlight);
        FInFlight = nullptr;
    }
    if (StillQueued < static_cast<int>(FQueued.size())) {
        FInFlight = FQueued.front();
        FQueued.pop_front();
    }
}

void TDetailRequests::AccessEnded()
{
    if (FInFlight) {
        FFetched.push_back(FInFlight);
        FInFlight = nullptr;
    }
}

bool TDetailRequests::Outstanding(const TJmaRec* Rec) const
{
    return Rec == FInFlight || std::find(FFetched.begin(), FFetched.end(), Rec) != FFetched.end()
        || std::find(FQueued.begin(), FQueued.end(), Rec) != FQueued.end();
}
