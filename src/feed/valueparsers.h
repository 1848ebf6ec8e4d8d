#pragma once

#include "feed/jmarec.h"

#include <nlohmann/json_fwd.hpp>

#include <QString>

#include <cstdint>

// The text of a feed value: a string's content, a number written out, null as "null",
// true/false as such, and the empty text for an object or an array.
QString JsonText(const nlohmann::json& Value);

// "2021-03-15T22:08:00+09:00" as wall-clock time; zero (null) when not a date-time.
TDateTime JsonStrToDateTime(const QString& Text);

// The text as a single-precision number; 0 when empty, not a number or out of range.
float StrToFloatZero(const QString& Text);

// The text as a signed 32-bit decimal integer; 0 when empty or not such a number.
std::int32_t StrToIntZero(const QString& Text);

// Sets Rec.Epicenter and Rec.Depth from an ISO 6709 style string such as
// "+35.6+139.7-10000/" (latitude, longitude, optional altitude in metres).
void CodToEpicenter(const QString& Text, TJmaRec& Rec);

// Degrees and minutes run together ("+3540.5" is 35 degrees 40.5 minutes) as degrees.
float DegMinToDegree(const QString& Text);
