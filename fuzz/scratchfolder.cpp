// Every fuzz target keeps its log in a scratch folder: the parsers write a log line on bad
// input, and with no program folder set that line would go to the root of the file system.
#include "core/folder.h"

#include <QDir>

namespace {

[[maybe_unused]] const bool scratchFolder = [] {
    const QString folder = QDir::tempPath() + QStringLiteral("/tavrel-fuzz");
    QDir().mkpath(folder);
    SetAppFolder(folder);
    return true;
}();

}  // namespace
