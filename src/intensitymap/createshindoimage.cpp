#include "intensitymap/createshindoimage.h"

#include "basemap/drawmaprec.h"
#include "basemap/maplayer.h"
#include "core/log.h"
#include "intensitymap/imagelist.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr int mapWidth = 960;
constexpr int mapHeight = 970;
constexpr int iconSize = 24;
constexpr int minimumSide = 256;
constexpr int margin = 24;

QImage NewImage(int Width, int Height, QImage::Format Format)
{
    QImage image(Width, Height, Format);
    if (image.isNull())
        throw std::runtime_error("Out of memory for a " + std::to_string(Width) + " x " + std::to_string(Height)
                                 + " bitmap");
    image.fill(0);
    return image;
}

QImage PaintBaseMap(TMapLayer& MapLayer, const TDrawMapRec& MapColors)
{
    QImage mapBitmap = NewImage(mapWidth, mapHeight, QImage::Format_ARGB32);
    MapLayer.TestMap(MapColors, mapBitmap);
    QImage scaled = NewImage(TCreateShindoImage::ImageWidth, TCreateShindoImage::ImageHeight, QImage::Format_ARGB32);
    QPainter painter(&scaled);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, scaled.width(), scaled.height()), mapBitmap);
    painter.end();
    return scaled;
}

std::vector<QImage> MarkIcons(const std::vector<QImage>& Icons)
{
    if (Icons.size() <= EpicenterImageIndex)
        throw std::invalid_argument("The icon list holds " + std::to_string(Icons.size()) + " pictures, "
                                    + std::to_string(EpicenterImageIndex + 1) + " needed");
    std::vector<QImage> marks;
    marks.reserve(Icons.size());
    for (const QImage& icon : Icons)
        marks.push_back(icon.isNull() ? icon
                                      : icon.scaled(iconSize, iconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                            .convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return marks;
}

bool Inside(const QPoint& P)
{
    return P.x() >= 0 && P.x() < TCreateShindoImage::ImageWidth && P.y() >= 0 && P.y() < TCreateShindoImage::ImageHeight;
}

void Extend(TRect& R, const QPoint& P)
{
    R.Left = std::min(R.Left, P.x());
    R.Right = std::max(R.Right, P.x());
    R.Top = std::min(R.Top, P.y());
    R.Bottom = std::max(R.Bottom, P.y());
}

// Widens [Low, High) about its middle to at least 256 and moves it back inside [0, Limit).
void EnsureMinimum(int& Low, int& High, int Limit)
{
    if (High - Low >= minimumSide)
        return;
    const int d = (minimumSide - (High - Low)) / 2;
    Low -= d;
    High += d;
    MoveInside(Low, High, Limit);
}

void Normalise(TRect& R)
{
    if (R.Right < R.Left)
        std::swap(R.Left, R.Right);
    if (R.Bottom < R.Top)
        std::swap(R.Top, R.Bottom);
}

void GrowAndClamp(TRect& R)
{
    R.Left = std::max(R.Left - margin, 0);
    R.Top = std::max(R.Top - margin, 0);
    R.Right = std::min(R.Right + margin, TCreateShindoImage::ImageWidth);
    R.Bottom = std::min(R.Bottom + margin, TCreateShindoImage::ImageHeight);
}

// Copies Source into Target's own pixels, reusing them when the size fits.
void CopyInto(const QImage& Source, QImage& Target)
{
    if (Target.size() != Source.size() || Target.format() != Source.format())
        Target = NewImage(Source.width(), Source.height(), Source.format());
    uchar* bits = Target.bits();
    if (bits == nullptr)
        throw std::runtime_error("Out of memory for the map bitmap");
    std::memcpy(bits, Source.constBits(), static_cast<std::size_t>(Source.sizeInBytes()));
}

}  // namespace

void MoveInside(int& Low, int& High, int Limit)
{
    if (Low < 0) {
        High -= Low;
        Low = 0;
    } else if (High > Limit) {
        Low -= High - Limit;
        High = Limit;
    }
}

TCreateShindoImage::TCreateShindoImage(TMapLayer& MapLayer, const TDrawMapRec& MapColors,
                                       const std::vector<QImage>& Icons, int LabelWidth, int LabelHeight)
    : FScaledMap(PaintBaseMap(MapLayer, MapColors))
    , FIcons(MarkIcons(Icons))
    , FLabelWidth(LabelWidth)
    , FLabelHeight(LabelHeight)
{
    FTempBitmap = NewImage(ImageWidth, ImageHeight, QImage::Format_ARGB32_Premultiplied);
    LoadAreaCode(FAreaCodeList);
}

void TCreateShindoImage::LookupDispXY(TShindListRec& Mark) const
{
    const auto row = std::find_if(FAreaCodeList.begin(), FAreaCodeList.end(),
                                  [&](const TAreaCode& Area) { return Area.AreaName == Mark.Caption; });
    if (row == FAreaCodeList.end()) {
        Mark.DispXY = QPoint(0, 0);
        WriteLog(QStringLiteral("Not Found!"), Mark.Caption);
        return;
    }
    Mark.DispXY = row->DispXY;
}

std::vector<TCreateShindoImage::TPlacedIcon> TCreateShindoImage::IconsToDraw(
    const std::vector<TShindListRec>& List, const std::optional<QPoint>& Epicenter) const
{
    const QPoint half(iconSize / 2, iconSize / 2);
    std::vector<TPlacedIcon> icons;
    for (const TShindListRec& mark : List)
        if (mark.ImageIndex >= 1 && mark.ImageIndex <= 9)
            icons.emplace_back(mark.DispXY - half, mark.ImageIndex);
    if (Epicenter)
        icons.emplace_back(*Epicenter - half, EpicenterImageIndex);
    return icons;
}

void TCreateShindoImage::DrawIcons(QImage& Target, const std::vector<TPlacedIcon>& Icons) const
{
    QPainter painter(&Target);
    if (!painter.isActive())
        throw std::runtime_error("Cannot paint on the map bitmap");
    for (const auto& [topLeft, index] : Icons)
        painter.drawImage(topLeft, FIcons[index]);
}

// Clears the squares of the icons drawn last, which is all the marks layer holds.
void TCreateShindoImage::ClearMarksLayer()
{
    for (const auto& [topLeft, index] : FDrawnIcons) {
        const QRect square = QRect(topLeft, QSize(iconSize, iconSize)) & FTempBitmap.rect();
        for (int y = square.top(); y <= square.bottom(); ++y)
            std::memset(FTempBitmap.scanLine(y) + square.left() * 4, 0, static_cast<std::size_t>(square.width()) * 4);
    }
    FDrawnIcons.clear();
}

bool TCreateShindoImage::DrawNow(std::vector<TShindListRec>& List, const QPointF& EpicenterF, QImage& ABitmap,
                                 TRect& ARect, TLabelPosition& LabelPosition)
{
    const std::optional<QPoint> epicenter = EpicenterDispXY(EpicenterF);
    if (List.empty() && !epicenter)
        return false;
    try {
        std::stable_sort(List.begin(), List.end(),
                         [](const TShindListRec& A, const TShindListRec& B) { return A.ImageIndex < B.ImageIndex; });
        for (TShindListRec& mark : List)
            LookupDispXY(mark);
        ARect = RegionOfInterest(List, epicenter);

        const std::vector<TPlacedIcon> icons = IconsToDraw(List, epicenter);
        ClearMarksLayer();
        FDrawnIcons = icons;
        DrawIcons(FTempBitmap, icons);
        LabelPosition = FindLabelPosition(FTempBitmap, ARect, FLabelWidth, FLabelHeight);
        // The icons go straight onto a copy of the doubled base map: the same picture as laying
        // the marks layer over it, for the price of one copy.
        CopyInto(FScaledMap, ABitmap);
        DrawIcons(ABitmap, icons);
        return true;
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TCreateShindoImage.DrawNow"), QString::fromUtf8(e.what()));
        return false;
    }
}

std::optional<QPoint> EpicenterDispXY(const QPointF& EpicenterF)
{
    const QPoint pixel = LatLonToDispXY(EpicenterF);
    if (pixel.x() <= 0 || !Inside(pixel))
        return std::nullopt;
    return pixel;
}

TRect RegionOfInterest(const std::vector<TShindListRec>& List, const std::optional<QPoint>& Epicenter)
{
    TRect r;
    if (!List.empty()) {
        r = {TCreateShindoImage::ImageWidth, TCreateShindoImage::ImageHeight, 0, 0};
        for (const TShindListRec& mark : List)
            if (Inside(mark.DispXY))
                Extend(r, mark.DispXY);
        if (Epicenter)
            Extend(r, *Epicenter);
    } else if (Epicenter) {
        r = {Epicenter->x(), Epicenter->y(), Epicenter->x() + iconSize, Epicenter->y() + iconSize};
    }
    // Nothing inside leaves the start inverted, which turns it into the whole map.
    Normalise(r);
    GrowAndClamp(r);
    EnsureMinimum(r.Left, r.Right, TCreateShindoImage::ImageWidth);
    EnsureMinimum(r.Top, r.Bottom, TCreateShindoImage::ImageHeight);
    return r;
}

bool IsAreaBlank(const QImage& Bitmap, const TRect& Area)
{
    if (Bitmap.depth() != 32)
        return IsAreaBlank(Bitmap.convertToFormat(QImage::Format_ARGB32), Area);
    const int left = std::max(Area.Left, 0);
    const int right = std::min(Area.Right, Bitmap.width() - 1);
    const int top = std::max(Area.Top, 0);
    const int bottom = std::min(Area.Bottom, Bitmap.height() - 1);
    for (int y = top; y <= bottom; ++y) {
        const auto* row = reinterpret_cast<const quint32*>(Bitmap.constScanLine(y));
        for (int x = left; x <= right; ++x)
            if (row[x] != 0)
                return false;
    }
    return true;
}

TLabelPosition FindLabelPosition(const QImage& Bitmap, const TRect& R, int LabelWidth, int LabelHeight)
{
    if (Bitmap.isNull())
        return lpNone;
    const std::pair<TLabelPosition, TRect> candidates[] = {
        {lpLeftTop, {R.Left, R.Top, R.Left + LabelWidth, R.Top + LabelHeight}},
        {lpRightTop, {R.Right - LabelWidth, R.Top, R.Right, R.Top + LabelHeight}},
        {lpBottomRight, {R.Right - LabelWidth, R.Bottom - LabelHeight, R.Right, R.Bottom}},
        {lpBottomLeft, {R.Left, R.Bottom - LabelHeight, R.Left + LabelWidth, R.Bottom}},
    };
    for (const auto& [position, area] : candidates)
        if (IsAreaBlank(Bitmap, area))
            return position;
    return lpNone;
}
