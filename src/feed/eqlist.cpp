#include "feed/eqlist.h"

#include "core/log.h"
#include "feed/valueparsers.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

namespace {

TReportType TitleToReportType(const QString& Title)
{
    for (std::size_t i = 0; i < ReportTitles.size(); ++i) {
        if (Title.compare(ReportTitles[i], Qt::CaseInsensitive) == 0)
            return static_cast<TReportType>(i);
    }
    return rtOthers;
}

const nlohmann::json* Member(const nlohmann::json& Entry, const char* Name)
{
    const auto it = Entry.find(Name);
    return it == Entry.end() ? nullptr : &*it;
}

void WalkEntries(const nlohmann::json& List, const QSet<QString>& Taken, TJmaRecList& FJsonList)
{
    for (const auto& entry : List) {
        if (!entry.is_object() || !entry.contains("json"))
            return;
        if (Taken.contains(JsonText(entry["json"])))
            return;
        FJsonList.push_back(EqListEntryToRec(entry));
        if (static_cast<int>(FJsonList.size()) >= MaxNewReports)
            return;
    }
}

}  // namespace

std::unique_ptr<TJmaRec> EqListEntryToRec(const nlohmann::json& Entry)
{
    auto rec = std::make_unique<TJmaRec>();
    rec->Json = JsonText(Entry.at("json"));
    if (const auto* v = Member(Entry, "eid"))
        rec->ID = JsonText(*v);
    if (const auto* v = Member(Entry, "ift"))
        rec->IsTraining = JsonText(*v) == QStringLiteral("発表_K");
    if (const auto* v = Member(Entry, "acd"))
        rec->EpicenterCode = StrToIntZero(JsonText(*v));
    if (const auto* v = Member(Entry, "anm"))
        rec->EpicenterName = JsonText(*v);
    if (rec->EpicenterName.isEmpty())
        rec->EpicenterCode = 0;
    rec->ReportType = rtOthers;
    if (const auto* v = Member(Entry, "ttl")) {
        rec->Title = JsonText(*v);
        rec->ReportType = TitleToReportType(rec->Title);
    }
    if (const auto* v = Member(Entry, "at"))
        rec->OccurTime = JsonStrToDateTime(JsonText(*v));
    if (const auto* v = Member(Entry, "rdt"))
        rec->ReportTime = JsonStrToDateTime(JsonText(*v));
    if (const auto* v = Member(Entry, "cod"))
        CodToEpicenter(JsonText(*v), *rec);
    if (const auto* v = Member(Entry, "mag"))
        rec->Magnitude = StrToFloatZero(JsonText(*v));
    if (const auto* v = Member(Entry, "maxi"))
        rec->MaxIntesity = JsonText(*v);
    return rec;
}

void ReadEqList(const QByteArray& Body, const QSet<QString>& Taken, TJmaRecList& FJsonList)
{
    try {
        const auto list = nlohmann::json::parse(Body.begin(), Body.end(), nullptr, false);
        if (list.is_discarded())
            return;
        if (!list.is_array())
            throw std::runtime_error("the list document is not a JSON array");
        if (list.empty())
            return;
        FJsonList.clear();
        WalkEntries(list, Taken, FJsonList);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TJMAAccess.GetEqList"), QString::fromUtf8(e.what()));
    }
}
