#pragma once

#include "feed/jmarec.h"

#include <deque>
#include <vector>

// Keeps track of the reports whose detail documents the window asked for and that may
// still be written by the feed thread. A report stays outstanding from its request until
// its record comes back, or until its fetch is known to have failed: the feed thread serves
// requests first in, first out, wraps each fetch in one access (start, end) after taking
// the request off its list, fills the record before the access ends and hands it back
// before its next access starts. So a record whose access has ended and which has not come
// back when the next access starts was dropped.
class TDetailRequests {
public:
    // The window pushed Rec onto the request list.
    void Requested(PJmaRec Rec);

    // Rec came back with its details.
    void Returned(PJmaRec Rec);

    // An access starts; StillQueued is the length of the request list at this moment (the
    // feed thread waits meanwhile, so it cannot change). Records whose fetch ended without
    // coming back are given up here.
    void AccessStarted(int StillQueued);

    // The access in progress has ended.
    void AccessEnded();

    // Whether the feed thread may still write Rec, or still send it back.
    bool Outstanding(const TJmaRec* Rec) const;

private:
    std::deque<PJmaRec> FQueued;
    PJmaRec FInFlight = nullptr;
    std::vector<PJmaRec> FFetched;
};
