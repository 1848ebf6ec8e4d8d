#include "app/inistore.h"
#include "app/settings.h"

#include <QLocale>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// A settings file as a user may have edited it: read, the keys loaded, written back. What is
// written must read back to the same text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    IniStore store;
    store.Parse(QByteArray(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size)));
    const TSettings values = LoadSettings(store, QLocale::c());
    (void)values;
    const QByteArray written = store.ToBytes();
    IniStore again;
    again.Parse(written);
    if (again.ToBytes() != written)
        std::abort();
    return 0;
}
