#pragma once

#include "intensitymap/createshindoimage.h"

#include <QRectF>
#include <QSize>

#include <optional>

// The region of a BitmapSize bitmap that a BoxSize paint box shows for the region of
// interest Region: Region widened (or heightened) equally on both sides to the box's shape,
// then moved back by the overhang on its near edge, or else on its far edge. Nothing for a
// box without area, whose shape is undefined.
std::optional<TRect> FitRegionToBox(const TRect& Region, QSize BitmapSize, QSize BoxSize);

// One scaled drawing of Source (in image pixels) into Target, cut down to the part of Source
// that lies inside the image: the rest of Target stays undrawn, so nothing outside the image
// is ever read. Nothing when no part of Source lies inside the image.
struct TClippedDraw {
    QRectF Source;
    QRectF Target;
};
std::optional<TClippedDraw> ClipToImage(const QRectF& Source, const QRectF& Target, QSize ImageSize);
