#pragma once

#include "feed/jmarec.h"

#include <nlohmann/json_fwd.hpp>

#include <QByteArray>
#include <QSet>
#include <QString>

#include <memory>
#include <vector>

// A poll takes at most this many reports, whatever the length of the list document.
inline constexpr int MaxNewReports = 999;

using TJmaRecList = std::vector<std::unique_ptr<TJmaRec>>;

// Reads the reports of a list document (newest first) that are newer than every report
// taken before into FJsonList, newest first. The walk stops at the first entry whose "json"
// is in Taken: normally the newest report of the previous poll, but also any older one, so
// that a report which left the list cannot bring the whole list back a second time.
// A body that is not JSON gives nothing; a JSON value that is not an array is logged as
// "TJMAAccess.GetEqList".
void ReadEqList(const QByteArray& Body, const QSet<QString>& Taken, TJmaRecList& FJsonList);

// One list entry as a report record (the entry must be an object with "json").
std::unique_ptr<TJmaRec> EqListEntryToRec(const nlohmann::json& Entry);
