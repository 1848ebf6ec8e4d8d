#include "feed/details.h"

#include "core/log.h"
#include "feed/httpclient.h"
#include "feed/jmaaccess.h"
#include "feed/valueparsers.h"

#include <nlohmann/json.hpp>

#include <QRegularExpression>

#include <stdexcept>

namespace {

const nlohmann::json* Member(const nlohmann::json& Value, const char* Name)
{
    if (!Value.is_object())
        return nullptr;
    const auto it = Value.find(Name);
    return it == Value.end() ? nullptr : &*it;
}

// Sets Target from Node's member Name when there is a node and it has that member.
void SetFromMember(const nlohmann::json* Node, const char* Name, QString& Target)
{
    if (!Node)
        return;
    if (const auto* member = Member(*Node, Name))
        Target = JsonText(*member);
}

void FillOthers(TJmaRec& Rec, const nlohmann::json& Document)
{
    const auto* info = FindNode(Document, "Body", "EarthquakeInfo");
    SetFromMember(info, "InfoKind", Rec.Comments[0]);
    SetFromMember(info, "Text", Rec.Comments[1]);
    SetFromMember(info, "Appendix", Rec.Comments[2]);
    SetFromMember(FindNode(Document, "Head", "Headline"), "Text", Rec.Comments[3]);
    Rec.Intensity.clear();
}

void FillReport(TJmaRec& Rec, const nlohmann::json& Document)
{
    SetFromMember(FindNode(Document, "Body", "Comments", "ForecastComment"), "Text", Rec.Comments[0]);
    SetFromMember(FindNode(Document, "Body", "Comments", "VarComment"), "Text", Rec.Comments[1]);
    SetFromMember(FindNode(Document, "Body", "Comments"), "FreeFormComment", Rec.Comments[2]);
    SetFromMember(FindNode(Document, "Head", "Headline"), "Text", Rec.Comments[3]);
    if (const auto* pref = FindNode(Document, "Body", "Intensity", "Observation", "Pref"))
        Rec.Intensity = QString::fromStdString(pref->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

QByteArray WithoutBom(const QByteArray& Body)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    return Body.startsWith(bom) ? Body.mid(bom.size()) : Body;
}

}  // namespace

const nlohmann::json* FindNode(const nlohmann::json& Value, const char* Name1, const char* Name2,
                               const char* Name3, const char* Name4)
{
    if (!*Name1)
        return nullptr;
    const nlohmann::json* node = Member(Value, Name1);
    if (!node)
        return nullptr;
    for (const char* name : {Name2, Name3, Name4}) {
        if (!*name)
            return node;
        const nlohmann::json* next = Member(*node, name);
        if (!next)
            return node;
        node = next;
    }
    return node;
}

bool FillDetails(TJmaRec& Rec, const QByteArray& Body)
{
    try {
        const QByteArray text = WithoutBom(Body);
        const auto document = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
        if (document.is_discarded())
            return false;
        if (!document.is_object())
            throw std::runtime_error("the detail document is not a JSON object");
        if (Rec.ReportType == rtOthers)
            FillOthers(Rec, document);
        else
            FillReport(Rec, document);
        return true;
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TJMAAccess.GetDetails"), QString::fromUtf8(e.what()));
        return false;
    }
}

bool IsPlainDetailName(const QString& Name)
{
    static const QRegularExpression plain(QStringLiteral("\\A[A-Za-z0-9_.\\-]*\\.json\\z"));
    return plain.match(Name).hasMatch();
}

bool TJMAAccess::GetDetails(PJmaRec Rec)
{
    Synchronize(true);
    bool filled = false;
    try {
        if (!IsPlainDetailName(Rec->Json))
            throw std::runtime_error("not a plain file name: " + Rec->Json.toStdString());
        QByteArray body;
        const QString url = FEndpoint.BaseUrl + QLatin1String(DetailFolderPath) + Rec->Json;
        filled = GetDataFromSite(IdHTTP.get(), url, &body) && FillDetails(*Rec, body);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TJMAAccess.GetDetails"), QString::fromUtf8(e.what()));
    }
    Synchronize(false);
    return filled;
}
