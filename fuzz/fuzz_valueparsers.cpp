#include "feed/valueparsers.h"

#include <cstddef>
#include <cstdint>

// Every value parser on the same text, as the list walk may hand any of them any member.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
    TJmaRec rec;
    CodToEpicenter(text, rec);
    (void)JsonStrToDateTime(text);
    (void)StrToFloatZero(text);
    (void)StrToIntZero(text);
    (void)DegMinToDegree(text);
    return 0;
}
