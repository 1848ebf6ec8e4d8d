#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

enum TReportType : std::uint8_t {
    rtNormal,
    rtEpicenterOnly,
    rtIntensityOnly,
    rtTeleseism,
    rtEpicenterChanged,
    rtOthers,
};

// Titles by report type; rtOthers has the empty title.
extern const std::array<QString, 6> ReportTitles;

enum TEqHistSite : std::uint8_t {
    asNone,
    asHinet,
    asKisho,
    asAquaReal,
    asAquaRapid,
    asAquaHypo,
    asAquaMt,
    asAquaCmt,
    asEEW,
    asNewKisho,
};

// A date-time as the feed writes it: wall-clock time, no zone, second resolution. A null
// QDateTime is the value zero ("none"). The wall-clock fields are kept in a UTC QDateTime
// so that no local zone rule (a daylight-saving gap) can shift or invalidate them.
using TDateTime = QDateTime;

struct TPointF {
    float X = 0;
    float Y = 0;
};

struct TJmaRec {
    TReportType ReportType = rtNormal;
    bool IsTraining = false;
    QString Json;
    QString ID;
    QString Title;
    TDateTime OccurTime;
    TDateTime ReportTime;
    TPointF Epicenter;
    QString EpicenterName;
    std::int32_t EpicenterCode = 0;
    QString Depth;
    float Magnitude = 0;
    QString MaxIntesity;
    std::array<QString, 4> Comments;
    QString Intensity;
};
using PJmaRec = TJmaRec*;

// The envelope in which the feed thread hands a new report to the window. The record
// travels with it: whoever pops the envelope owns both.
struct TEqHistRec {
    TEqHistSite EqHistSite = asNone;
    TDateTime AcquisitionTime;
    QString EpiCenterName;
    TDateTime OccurDateTime;
    TPointF EpiCenterPos;
    QString Depth;
    QString Magnitude;
    QString MapUrl;
    std::unique_ptr<QByteArray> MapStream;
    QString DetailsText;
    std::unique_ptr<TJmaRec> JmaRec;
};

// Wraps a new report in its envelope (source, acquisition time now, the report's summary).
std::unique_ptr<TEqHistRec> MakeEqHistRec(std::unique_ptr<TJmaRec> Rec);

// A first-in first-out list of pointers guarded by a lock of its own. It only carries the
// pointers: ownership follows the handover rules of whoever pushes and pops.
template <typename T>
class TThreadList {
public:
    void Push(T* Item)
    {
        std::lock_guard lock(FLock);
        FItems.push_back(Item);
    }
    T* Pop()
    {
        std::lock_guard lock(FLock);
        if (FItems.empty())
            return nullptr;
        T* first = FItems.front();
        FItems.pop_front();
        return first;
    }
    int Count() const
    {
        std::lock_guard lock(FLock);
        return static_cast<int>(FItems.size());
    }

private:
    mutable std::mutex FLock;
    std::deque<T*> FItems;
};

template <typename T>
void PushRec(TThreadList<T>* List, T* Rec)
{
    if (List && Rec)
        List->Push(Rec);
}

template <typename T>
T* PopRec(TThreadList<T>* List)
{
    return List ? List->Pop() : nullptr;
}

template <typename T>
int RecCount(const TThreadList<T>* List)
{
    return List ? List->Count() : 0;
}

using TEqHistList = TThreadList<TEqHistRec>;
using TDetailList = TThreadList<TJmaRec>;
