#include "app/intensitytree.h"

#include "core/log.h"
#include "intensitymap/imagelist.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

namespace {

using nlohmann::json;

const json* Member(const json& Value, const char* Name)
{
    if (!Value.is_object())
        return nullptr;
    const auto found = Value.find(Name);
    return found == Value.end() ? nullptr : &*found;
}

QString ValueText(const json& Value)
{
    if (Value.is_string())
        return QString::fromStdString(Value.get_ref<const std::string&>());
    return QString::fromStdString(Value.dump());
}

const json& AsArray(const json& Value, const char* What)
{
    if (!Value.is_array())
        throw std::runtime_error(std::string(What) + " is not an array");
    return Value;
}

// Holds back repainting while the tree is filled; lets it go however the filling ends.
class TBatchUpdate {
public:
    explicit TBatchUpdate(QTreeWidget& Tree)
        : FTree(Tree)
    {
        FTree.setUpdatesEnabled(false);
    }
    ~TBatchUpdate() { FTree.setUpdatesEnabled(true); }
    TBatchUpdate(const TBatchUpdate&) = delete;
    TBatchUpdate& operator=(const TBatchUpdate&) = delete;

private:
    QTreeWidget& FTree;
};

class TTreeFiller {
public:
    TTreeFiller(QTreeWidget& Tree, const std::vector<QIcon>& Icons)
        : FTree(Tree)
        , FIcons(Icons)
        , FPrefFont(Tree.font())
        , FItemFont(Tree.font())
    {
        FPrefFont.setBold(true);
        FPrefFont.setPixelSize(12);
        FItemFont.setPixelSize(11);
    }

    void AddPrefectures(const json& Document)
    {
        for (const json& pref : AsArray(Document, "the document")) {
            const json* name = Member(pref, "Name");
            if (!name)
                continue;
            auto* item = new QTreeWidgetItem(&FTree, {ValueText(*name)});
            item->setFont(0, FPrefFont);
            if (const json* areas = Member(pref, "Area"))
                AddAreas(*item, *areas);
            item->setExpanded(true);
        }
    }

private:
    // An item for an element with a "Name", its icon from the member IntensityName.
    QTreeWidgetItem* AddItem(QTreeWidgetItem& Parent, const json& Element, const char* IntensityName)
    {
        const json* name = Member(Element, "Name");
        if (!name)
            return nullptr;
        auto* item = new QTreeWidgetItem(&Parent, {ValueText(*name)});
        item->setFont(0, FItemFont);
        if (const json* intensity = Member(Element, IntensityName))
            SetIcon(*item, ShindoToImageIndex(ValueText(*intensity)));
        return item;
    }

    void SetIcon(QTreeWidgetItem& Item, int Index)
    {
        Item.setData(0, ImageIndexRole, Index);
        if (Index >= 0 && static_cast<size_t>(Index) < FIcons.size())
            Item.setIcon(0, FIcons[static_cast<size_t>(Index)]);
    }

    void AddAreas(QTreeWidgetItem& Pref, const json& Areas)
    {
        for (const json& area : AsArray(Areas, "\"Area\"")) {
            QTreeWidgetItem* item = AddItem(Pref, area, "MaxInt");
            if (!item)
                continue;
            if (const json* cities = Member(area, "City"))
                AddCities(*item, *cities);
        }
    }

    void AddCities(QTreeWidgetItem& Area, const json& Cities)
    {
        for (const json& city : AsArray(Cities, "\"City\"")) {
            QTreeWidgetItem* item = AddItem(Area, city, "MaxInt");
            if (!item)
                continue;
            if (const json* stations = Member(city, "IntensityStation"))
                AddStations(*item, *stations);
        }
    }

    void AddStations(QTreeWidgetItem& City, const json& Stations)
    {
        for (const json& station : AsArray(Stations, "\"IntensityStation\"")) {
            QTreeWidgetItem* item = AddItem(City, station, "Int");
            if (!item)
                continue;
            if (const json* latlon = Member(station, "latlon"))
                SetTagText(*item, *latlon);
        }
    }

    static void SetTagText(QTreeWidgetItem& Item, const json& LatLon)
    {
        QString text;
        if (const json* lat = Member(LatLon, "lat"))
            text = ValueText(*lat);
        if (const json* lon = Member(LatLon, "lon"))
            text += u',' + ValueText(*lon);
        if (!text.isEmpty())
            Item.setData(0, TagTextRole, text);
    }

    QTreeWidget& FTree;
    const std::vector<QIcon>& FIcons;
    QFont FPrefFont;
    QFont FItemFont;
};

void CollectAreas(const QTreeWidgetItem& Item, int Level, std::vector<TShindListRec>& Marks)
{
    if (Level == 2)
        Marks.push_back(TShindListRec{TreeItemImageIndex(Item), {}, {}, Item.text(0)});
    if (!Item.isExpanded())
        return;
    for (int i = 0; i < Item.childCount(); ++i)
        CollectAreas(*Item.child(i), Level + 1, Marks);
}

}  // namespace

void BuildIntensityTree(QTreeWidget& Tree, const QString& Intensity, const std::vector<QIcon>& Icons)
{
    if (Intensity.isEmpty())
        return;
    TBatchUpdate batch(Tree);
    const json document = json::parse(Intensity.toStdString(), nullptr, false);
    if (document.is_discarded())
        return;
    try {
        TTreeFiller(Tree, Icons).AddPrefectures(document);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.JsonToTreeview"), QString::fromUtf8(e.what()));
    }
}

int TreeItemImageIndex(const QTreeWidgetItem& Item)
{
    const QVariant index = Item.data(0, ImageIndexRole);
    return index.isValid() ? index.toInt() : -1;
}

std::vector<TShindListRec> CollectAreaMarks(const QTreeWidget& Tree)
{
    std::vector<TShindListRec> marks;
    for (int i = 0; i < Tree.topLevelItemCount(); ++i)
        CollectAreas(*Tree.topLevelItem(i), 1, marks);
    return marks;
}

void AppendMemoBlocks(QPlainTextEdit& Memo, const TJmaRec& Rec)
{
    for (const size_t slot : {3u, 1u, 2u}) {
        const QString& comment = Rec.Comments[slot];
        if (comment.isEmpty())
            continue;
        if (!Memo.document()->isEmpty())
            Memo.appendPlainText(QString());
        Memo.appendPlainText(comment);
    }
}
