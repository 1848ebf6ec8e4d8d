#include "intensitymap/areacode.h"

#include "core/rounding.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

int ToInt(const QString& Field)
{
    bool ok = false;
    const int value = Field.toInt(&ok, 10);
    if (!ok)
        throw std::runtime_error("'" + Field.toStdString() + "' is not a valid integer value");
    return value;
}

float ToFloat(const QString& Field)
{
    bool ok = false;
    const float value = Field.toFloat(&ok);
    if (!ok || !std::isfinite(value))
        throw std::runtime_error("'" + Field.toStdString() + "' is not a valid floating point value");
    return value;
}

// A projected coordinate as a pixel. A point far off the map (a feed may give any longitude)
// is held well outside the image instead of overflowing the integer, with room left for the
// region arithmetic done on it.
int ToPixel(double Value)
{
    constexpr double farOutside = 1 << 24;
    if (!(Value > -farOutside))
        return -static_cast<int>(farOutside);
    return static_cast<int>(std::min(Value, farOutside));
}

}  // namespace

QPoint LatLonToDispXY(const QPointF& LatLon)
{
    const double lon = static_cast<float>(LatLon.x());
    const double lat = static_cast<float>(LatLon.y());
    const double x = RoundHalfEven((lon - 135.57) * 69.53149 + 960.0);
    const double y = RoundHalfEven((std::asinh(std::tan(lat * 0.0174532925)) - std::asinh(std::tan(0.62308254225)))
                                       * (-3992.879072)
                                   + 970.0)
        - 2;
    return {ToPixel(x), ToPixel(y)};
}

void ParseAreaCode(const QByteArray& Text, TAreaCodeList& List)
{
    QString text = QString::fromUtf8(Text);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : text.split(lineEnd)) {
        const QStringList fields = line.split(u',');
        if (line.isEmpty() || fields.size() != 4)
            continue;
        TAreaCode row;
        row.Code = ToInt(fields[0]);
        row.AreaName = fields[1];
        row.LatLon = QPointF(ToFloat(fields[3]), ToFloat(fields[2]));
        row.DispXY = LatLonToDispXY(row.LatLon);
        List.push_back(row);
    }
}

void LoadAreaCode(TAreaCodeList& List)
{
    QFile resource(QStringLiteral(":/AreaCode"));
    if (!resource.open(QIODevice::ReadOnly))
        throw std::runtime_error("Resource AreaCode not found");
    ParseAreaCode(resource.readAll(), List);
}
