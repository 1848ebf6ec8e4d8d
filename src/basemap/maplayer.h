#pragma once

#include "basemap/drawmaprec.h"

#include <QImage>

#include <array>
#include <functional>

// 256 opaque colours from the first colour (position 0) towards the second (position 255).
using TGradientStrip = std::array<TAlphaColor, 256>;

// The strip of a gradient pass: per channel (C2 - C1) * i / 255 + C1, halves to even.
TGradientStrip MakeGradient(TAlphaColor C1, TAlphaColor C2);

// Paints the 960 x 970 base map from the channel-coded map image "MapData" under a set of
// map colours. The window makes one layer for the run; the composer has it paint once.
class TMapLayer {
public:
    TMapLayer() = default;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Done() const { return FDone; }

    // Paints the base map for Rec into ABitmap (at least 960 x 970, Format_ARGB32).
    void TestMap(const TDrawMapRec& Rec, QImage& ABitmap);

    // The renderer behind TestMap. A null ABitmap is left alone; one of another format is
    // converted to Format_ARGB32 first. Failures inside its passes are logged as
    // "TMapLayer.MakeMap"; a missing "MapData" resource is thrown to the caller.
    void MakeMap(const TDrawMapRec& Rec, QImage& ABitmap);

    // MakeMap on a coded image given by the caller instead of the built-in one. Only the
    // part that the coded image, the target and the 960 x 970 frame share is painted.
    void MakeMapFrom(const TDrawMapRec& Rec, const QImage& Coded, QImage& ABitmap);

    bool Dirty = false;

private:
    void Paint(const TDrawMapRec& Rec, QImage& ABitmap, const std::function<QImage()>& LoadCoded);

    int FWidth = 960;
    int FHeight = 970;
    bool FDone = false;
};
