#pragma once

#include <QPoint>
#include <QPointF>
#include <QString>

#include <vector>

// One row of the built-in area table: an area of the intensity reports and its
// representative point.
struct TAreaCode {
    int Code = 0;
    QString AreaName;
    // X the longitude in degrees east, Y the latitude in degrees north; values of single
    // precision (the table is read into 32-bit floats).
    QPointF LatLon;
    // The area's pixel in the composed 1920 x 1940 intensity map.
    QPoint DispXY;
};

using TAreaCodeList = std::vector<TAreaCode>;

// Mercator projection of a longitude (X) and latitude (Y) onto the composed intensity map,
// with (135.57 E, 35.7 N) at pixel (960, 968). The coordinates are taken at single precision,
// as the feed and the table carry them.
QPoint LatLonToDispXY(const QPointF& LatLon);

// Appends one row per line of four comma-separated fields of Text (code, name, latitude,
// longitude) to List; other lines are skipped. Throws std::runtime_error on a code that is
// not an integer or a coordinate that is not a number.
void ParseAreaCode(const QByteArray& Text, TAreaCodeList& List);

// Loads the built-in table (resource "AreaCode") into List. Throws std::runtime_error when
// the resource is missing or a line is malformed.
void LoadAreaCode(TAreaCodeList& List);
