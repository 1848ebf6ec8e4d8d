#include "commands.h"

#include "feed/eqlist.h"
#include "recordjson.h"

#include <QFile>

#include <cstdio>

namespace {

int Records(const QStringList& Args)
{
    if (Args.size() != 1) {
        PrintError(QStringLiteral("usage: records FILE"));
        return 2;
    }
    QFile file(Args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(Args[0] + QStringLiteral(": ") + file.errorString());
        return 2;
    }
    TJmaRecList records;
    ReadEqList(file.readAll(), {}, records);
    for (const auto& rec : records)
        std::printf("%s\n", RecordToJson(*rec).dump().c_str());
    return 0;
}

[[maybe_unused]] const bool registered = RegisterCommand("records", "records FILE", Records);

}  // namespace
