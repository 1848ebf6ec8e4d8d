#include "intensitymap/areacode.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

// An area table text; a malformed row is reported by an exception, nothing else.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TAreaCodeList list;
    try {
        ParseAreaCode(QByteArray(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size)), list);
    } catch (const std::runtime_error&) {
    }
    for (const TAreaCode& area : list)
        (void)LatLonToDispXY(area.LatLon);
    return 0;
}
