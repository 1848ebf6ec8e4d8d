#include "commands.h"

#include "basemap/drawmaprec.h"
#include "app/intensitytree.h"
#include "basemap/maplayer.h"
#include "feed/details.h"
#include "feed/jmarec.h"
#include "feed/valueparsers.h"
#include "intensitymap/createshindoimage.h"
#include "intensitymap/imagelist.h"
#include "intensitymap/labelsize.h"

#include <nlohmann/json.hpp>

#include <QFile>
#include <QTreeWidget>

#include <cstdio>
#include <exception>
#include <optional>
#include <vector>

namespace {

struct MapOptions {
    QString detailPath;
    QString outPath;
    std::optional<QPointF> epicenter;
    bool fullImage = false;
};

std::optional<QPointF> ParseLonLat(const QString& Text)
{
    const QStringList parts = Text.split(u',');
    bool lonOk = false;
    bool latOk = false;
    if (parts.size() != 2)
        return std::nullopt;
    const float lon = parts[0].toFloat(&lonOk);
    const float lat = parts[1].toFloat(&latOk);
    if (!lonOk || !latOk)
        return std::nullopt;
    return QPointF(lon, lat);
}

std::optional<MapOptions> ParseOptions(const QStringList& Args)
{
    MapOptions options;
    for (qsizetype i = 0; i < Args.size(); ++i) {
        const QString& arg = Args[i];
        const bool hasValue = i + 1 < Args.size();
        if (arg == u"-o" && hasValue) {
            options.outPath = Args[++i];
        } else if (arg == u"--epicenter" && hasValue) {
            options.epicenter = ParseLonLat(Args[++i]);
            if (!options.epicenter)
                return std::nullopt;
        } else if (arg == u"--crop" && hasValue) {
            const QString crop = Args[++i];
            if (crop != u"roi" && crop != u"full")
                return std::nullopt;
            options.fullImage = crop == u"full";
        } else if (!arg.startsWith(u'-') && options.detailPath.isEmpty()) {
            options.detailPath = arg;
        } else {
            return std::nullopt;
        }
    }
    if (options.detailPath.isEmpty() || options.outPath.isEmpty())
        return std::nullopt;
    return options;
}

const nlohmann::json* Member(const nlohmann::json* Value, const char* Name)
{
    if (Value == nullptr || !Value->is_object())
        return nullptr;
    const auto found = Value->find(Name);
    return found == Value->end() ? nullptr : &*found;
}

// The marks exactly as the viewer takes them: the record's details filled from the document,
// the intensity tree built from them, one mark per area item.
std::vector<TShindListRec> AreaMarks(const QByteArray& Body)
{
    TJmaRec rec;
    FillDetails(rec, Body);
    QTreeWidget tree;
    BuildIntensityTree(tree, rec.Intensity, {});
    return CollectAreaMarks(tree);
}

QPointF DocumentEpicenter(const nlohmann::json& Document)
{
    const nlohmann::json* coordinate
        = Member(Member(Member(Member(&Document, "Body"), "Earthquake"), "Hypocenter"), "Area");
    coordinate = Member(coordinate, "Coordinate");
    TJmaRec rec;
    if (coordinate != nullptr)
        CodToEpicenter(JsonText(*coordinate), rec);
    return {rec.Epicenter.X, rec.Epicenter.Y};
}

nlohmann::ordered_json Pixel(const QPoint& P)
{
    return nlohmann::ordered_json::array({P.x(), P.y()});
}

nlohmann::ordered_json Summary(const TRect& Rect, TLabelPosition Position, const std::optional<QPoint>& Epicenter,
                               const std::vector<TShindListRec>& Marks)
{
    nlohmann::ordered_json marks = nlohmann::ordered_json::array();
    for (const TShindListRec& mark : Marks)
        marks.push_back({{"caption", mark.Caption.toStdString()},
                         {"imageIndex", mark.ImageIndex},
                         {"dispXY", Pixel(mark.DispXY)}});
    return {{"roi", {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom}},
            {"labelPosition", static_cast<int>(Position)},
            {"epicenter", Epicenter ? Pixel(*Epicenter) : nlohmann::ordered_json(nullptr)},
            {"marks", marks}};
}

int Map(const QStringList& Args)
{
    const std::optional<MapOptions> options = ParseOptions(Args);
    if (!options) {
        PrintError(QStringLiteral("usage: map DETAIL.json [--epicenter LON,LAT] [--crop roi|full] -o OUT.png"));
        return 2;
    }
    QFile file(options->detailPath);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(options->detailPath + QStringLiteral(": ") + file.errorString());
        return 2;
    }
    const QByteArray body = file.readAll();
    const nlohmann::json document = nlohmann::json::parse(body.begin(), body.end(), nullptr, false);
    if (document.is_discarded()) {
        PrintError(options->detailPath + QStringLiteral(": not JSON"));
        return 1;
    }
    std::vector<TShindListRec> marks = AreaMarks(body);
    const QPointF epicenter = options->epicenter.value_or(DocumentEpicenter(document));
    try {
        TMapLayer layer;
        const TLabelSize label = MeasureLabelSize();
        TCreateShindoImage composer(layer, TDrawMapRec(), ImageList1(), label.LabelWidth, label.LabelHeight);
        QImage bitmap;
        TRect rect;
        TLabelPosition position = lpNone;
        if (!composer.DrawNow(marks, epicenter, bitmap, rect, position)) {
            PrintError(QStringLiteral("nothing to draw: no areas and no epicentre on the map"));
            return 1;
        }
        const QImage out = options->fullImage ? bitmap
                                              : bitmap.copy(rect.Left, rect.Top, rect.Width(), rect.Height());
        if (!out.save(options->outPath, "PNG")) {
            PrintError(options->outPath + QStringLiteral(": cannot write"));
            return 1;
        }
        std::printf("%s\n", Summary(rect, position, EpicenterDispXY(epicenter), marks).dump().c_str());
    } catch (const std::exception& e) {
        PrintError(QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}

[[maybe_unused]] const bool registered
    = RegisterCommand("map", "map DETAIL.json [--epicenter LON,LAT] [--crop roi|full] -o OUT.png", Map);

}  // namespace
