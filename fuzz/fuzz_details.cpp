#include "feed/details.h"

#include <cstddef>
#include <cstdint>

// A detail document as the feed thread receives it, read for a report of every type.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const QByteArray body(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
    for (const TReportType type : {rtNormal, rtIntensityOnly, rtOthers}) {
        TJmaRec rec;
        rec.ReportType = type;
        FillDetails(rec, body);
    }
    return 0;
}
