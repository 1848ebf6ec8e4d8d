#pragma once

#include "feed/jmarec.h"

#include <nlohmann/json.hpp>

// The JSON line of one record as the tool prints it (ReportType as its ordinal, dates as
// "YYYY-MM-DD hh:mm:ss" or "" for zero, Epicenter as [X, Y]).
nlohmann::ordered_json RecordToJson(const TJmaRec& Rec);
