#include "commands.h"

#include "feed/details.h"
#include "recordjson.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int Details(const QStringList& Args)
{
    bool isNumber = false;
    const int type = Args.size() == 2 ? Args[0].toInt(&isNumber) : -1;
    if (!isNumber || type < rtNormal || type > rtOthers) {
        PrintError(QStringLiteral("usage: details TYPE FILE (TYPE is a report type ordinal, 0 to 5)"));
        return 2;
    }
    QFile file(Args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(Args[1] + QStringLiteral(": ") + file.errorString());
        return 2;
    }
    TJmaRec rec;
    rec.ReportType = static_cast<TReportType>(type);
    rec.Json = QFileInfo(Args[1]).fileName();
    if (!FillDetails(rec, file.readAll())) {
        PrintError(Args[1] + QStringLiteral(": not a detail document (see the log)"));
        return 1;
    }
    std::printf("%s\n", DetailsToJson(rec).dump().c_str());
    return 0;
}

[[maybe_unused]] const bool registered = RegisterCommand("details", "details TYPE FILE", Details);

}  // namespace
