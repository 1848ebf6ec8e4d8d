#pragma once

#include "basemap/drawmaprec.h"

#include <QImage>

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

    // The renderer behind TestMap. Failures inside its passes are logged as
    // "TMapLayer.MakeMap"; a missing "MapData" resource is thrown to the caller.
    void MakeMap(const TDrawMapRec& Rec, QImage& ABitmap);

    bool Dirty = false;

private:
    int FWidth = 960;
    int FHeight = 970;
    bool FDone = false;
};
