#pragma once

#include "feed/jmarec.h"

#include <nlohmann/json_fwd.hpp>

#include <QByteArray>
#include <QString>

// Walks up to four member names from Value; an empty name ends the path early. Returns
// nothing when the first member is missing, otherwise the deepest member found: a path
// whose later names are missing yields the last node that was found.
const nlohmann::json* FindNode(const nlohmann::json& Value, const char* Name1, const char* Name2 = "",
                               const char* Name3 = "", const char* Name4 = "");

// Fills Rec.Comments and Rec.Intensity from a detail document. True when the body is a JSON
// object, whether or not any member was found; false without a log line when the body is
// not JSON; any other failure, such as a JSON value that is not an object, is logged as
// "TJMAAccess.GetDetails" and gives false (a body that is not an object leaves Rec as it was).
bool FillDetails(TJmaRec& Rec, const QByteArray& Body);

// True when Name can go into the detail URL as it is: letters, digits, "_", "-" and ".",
// ending in ".json".
bool IsPlainDetailName(const QString& Name);
