#include "feed/eqlist.h"

#include <cstddef>
#include <cstdint>

// A list document as the feed thread receives it, once as a first poll and once with its
// first report taken before.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const QByteArray body(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
    TJmaRecList records;
    ReadEqList(body, {}, records);
    if (!records.empty()) {
        const QSet<QString> taken{records.front()->Json};
        TJmaRecList again;
        ReadEqList(body, taken, again);
    }
    return 0;
}
