#pragma once

#include "feed/jmarec.h"

#include <nlohmann/json.hpp>

// The JSON line of one record as the tool prints it (ReportType as its ordinal, dates as
// "YYYY-MM-DD hh:mm:ss" or "" for zero, Epicenter as [X, Y]).
nlohmann::ordered_json RecordToJson(const TJmaRec& Rec);

// The JSON line of a record's details: Json, Comments (the four texts) and Intensity (the
// JSON text of the intensity tree as stored).
nlohmann::ordered_json DetailsToJson(const TJmaRec& Rec);
