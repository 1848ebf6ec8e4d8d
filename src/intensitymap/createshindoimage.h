#pragma once

#include "intensitymap/areacode.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class TMapLayer;
struct TDrawMapRec;

// A pixel region: Left and Top inside, Right and Bottom just outside (width Right - Left).
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// One intensity mark: the caller fills ImageIndex (an index of ImageList1, only 1 to 9 are
// drawn) and Caption (the area name); DrawNow writes DispXY.
struct TShindListRec {
    int ImageIndex = 0;
    QPointF LatLon;
    QPoint DispXY;
    QString Caption;
};

// The corner of the region of interest that the caption block can cover without hiding a mark.
enum TLabelPosition : int {
    lpNone = 0,
    lpLeftTop = 1,
    lpRightTop = 2,
    lpBottomRight = 3,
    lpBottomLeft = 4,
};

// Composes intensity maps: the base map at double size, one icon per mark, the epicentre
// cross on top; finds the region worth showing and a free corner for the caption block.
// One composer serves the whole run; it paints the base map once, at construction.
class TCreateShindoImage {
public:
    static constexpr int ImageWidth = 1920;
    static constexpr int ImageHeight = 1940;

    // Icons: the pictures of ImageList1 in index order (at least 14; 1 to 9 and 13 are used).
    // LabelWidth and LabelHeight: the caption block's size in composed-map pixels.
    // Throws std::invalid_argument on a short icon list and std::runtime_error when the base
    // map or the area table cannot be made.
    TCreateShindoImage(TMapLayer& MapLayer, const TDrawMapRec& MapColors, const std::vector<QImage>& Icons,
                       int LabelWidth, int LabelHeight);

    // Composes the map of List (sorted here ascending by ImageIndex, each DispXY written) and
    // the epicentre EpicenterF (X longitude, Y latitude; absent when it projects outside the
    // map or onto its left edge) into ABitmap, 1920 x 1940 Format_ARGB32. ARect gets the
    // region of interest, LabelPosition the first free corner. Returns false, touching nothing,
    // when there are no marks and no epicentre; false with a log line when composing fails.
    bool DrawNow(std::vector<TShindListRec>& List, const QPointF& EpicenterF, QImage& ABitmap, TRect& ARect,
                 TLabelPosition& LabelPosition);

private:
    // An icon to draw: its top left corner and its index in the icon list.
    using TPlacedIcon = std::pair<QPoint, int>;

    void LookupDispXY(TShindListRec& Mark) const;
    std::vector<TPlacedIcon> IconsToDraw(const std::vector<TShindListRec>& List,
                                         const std::optional<QPoint>& Epicenter) const;
    void DrawIcons(QImage& Target, const std::vector<TPlacedIcon>& Icons) const;
    void ClearMarksLayer();

    // The base map, painted once and doubled to the composed size.
    QImage FScaledMap;
    QImage FTempBitmap;
    std::vector<TPlacedIcon> FDrawnIcons;
    TAreaCodeList FAreaCodeList;
    std::vector<QImage> FIcons;
    int FLabelWidth = 0;
    int FLabelHeight = 0;
};

// The epicentre's pixel in the composed map; none when it falls outside the map or on its
// left edge, as a missing epicentre (longitude 0) does.
std::optional<QPoint> EpicenterDispXY(const QPointF& EpicenterF);

// The region worth showing: the marks inside the map (drawn or not) and the epicentre, or
// the epicentre's icon square alone when there are no marks; grown by 24 on every side,
// kept inside the map and widened about its middle to at least 256 x 256 (255 when the
// missing part is odd), shifted back inside the map where the widening overhangs.
TRect RegionOfInterest(const std::vector<TShindListRec>& List, const std::optional<QPoint>& Epicenter);

// Moves the span [Low, High) back inside [0, Limit), keeping its length: by its overhang past
// the near edge, or else by its overhang past the far edge.
void MoveInside(int& Low, int& High, int Limit);

// Whether every pixel of Bitmap with Left <= x <= Right and Top <= y <= Bottom is 0; pixels
// outside the bitmap count as blank, and so does a rectangle with Right < Left or Bottom < Top.
bool IsAreaBlank(const QImage& Bitmap, const TRect& Area);

// The first corner of R, in the order left top, right top, bottom right, bottom left, whose
// LabelWidth x LabelHeight area of Bitmap (the icons alone) is blank; lpNone when none is.
TLabelPosition FindLabelPosition(const QImage& Bitmap, const TRect& R, int LabelWidth, int LabelHeight);
