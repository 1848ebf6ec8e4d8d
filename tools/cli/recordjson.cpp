#include "recordjson.h"

#include <charconv>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

std::string DateText(const TDateTime& Value)
{
    return Value.isNull() ? std::string() : Value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

// The shortest decimal that reads back as the same float, so 136.7f prints as 136.7.
double ShortestDouble(float Value)
{
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), Value);
    return std::strtod(std::string(text, result.ptr).c_str(), nullptr);
}

}  // namespace

nlohmann::ordered_json RecordToJson(const TJmaRec& Rec)
{
    return nlohmann::ordered_json{
        {"ReportType", static_cast<int>(Rec.ReportType)},
        {"IsTraining", Rec.IsTraining},
        {"Json", Rec.Json.toStdString()},
        {"ID", Rec.ID.toStdString()},
        {"Title", Rec.Title.toStdString()},
        {"OccurTime", DateText(Rec.OccurTime)},
        {"ReportTime", DateText(Rec.ReportTime)},
        {"Epicenter", {ShortestDouble(Rec.Epicenter.X), ShortestDouble(Rec.Epicenter.Y)}},
        {"EpicenterName", Rec.EpicenterName.toStdString()},
        {"EpicenterCode", Rec.EpicenterCode},
        {"Depth", Rec.Depth.toStdString()},
        {"Magnitude", ShortestDouble(Rec.Magnitude)},
        {"MaxIntesity", Rec.MaxIntesity.toStdString()},
    };
}

nlohmann::ordered_json DetailsToJson(const TJmaRec& Rec)
{
    auto comments = nlohmann::ordered_json::array();
    for (const QString& text : Rec.Comments)
        comments.push_back(text.toStdString());
    return nlohmann::ordered_json{
        {"Json", Rec.Json.toStdString()},
        {"Comments", comments},
        {"Intensity", Rec.Intensity.toStdString()},
    };
}
