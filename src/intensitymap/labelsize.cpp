#include "intensitymap/labelsize.h"

#include "core/rounding.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace {

int Rnd(double Value)
{
    return static_cast<int>(RoundHalfEven(Value));
}

QRectF Measure(QPainter& Painter, const QRectF& Box, const QString& Text)
{
    return Painter.boundingRect(Box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Text);
}

}  // namespace

QFont CaptionFont()
{
    const QString family = QStringLiteral("游ゴシック");
    QFont::insertSubstitutions(family, {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAexGothic"),
                                        QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic")});
    QFont font(family);
    font.setBold(true);
    font.setPointSizeF(23.5 * 72.0 / 96.0);
    return font;
}

TLabelSize MeasureLabelSize()
{
    QImage canvas(200, 64, QImage::Format_ARGB32);
    canvas.setDotsPerMeterX(CaptionDotsPerMeter);
    canvas.setDotsPerMeterY(CaptionDotsPerMeter);
    QPainter painter(&canvas);
    if (!painter.isActive())
        return {};
    painter.setFont(CaptionFont());
    const QRectF dateBox = Measure(painter, QRectF(0, 0, 240, 64), QStringLiteral("9999/99/99 99:99"));
    const QRectF placeBox = Measure(painter, QRectF(0, 0, 200, 64), QStringLiteral("福島県沖"));
    TLabelSize size;
    size.LabelWidth = Rnd(dateBox.width() / 2) + 8;
    size.LabelLineHeight = Rnd(dateBox.height() / 2);
    size.LabelHeight = size.LabelLineHeight + Rnd(placeBox.height() / 2) + 2;
    return size;
}
