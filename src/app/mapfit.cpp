#include "app/mapfit.h"

#include "core/rounding.h"

std::optional<TRect> FitRegionToBox(const TRect& Region, QSize BitmapSize, QSize BoxSize)
{
    if (BoxSize.width() <= 0 || BoxSize.height() <= 0)
        return std::nullopt;
    const float ratio = static_cast<float>(static_cast<double>(BoxSize.width()) / BoxSize.height());
    const double w = Region.Width();
    const double h = Region.Height();
    TRect fitted = Region;
    if (ratio > w / h) {
        const int dx = static_cast<int>(RoundHalfEven((h * ratio - w) / 2));
        fitted.Left -= dx;
        fitted.Right += dx;
        MoveInside(fitted.Left, fitted.Right, BitmapSize.width());
    } else {
        const int dy = static_cast<int>(RoundHalfEven((w / ratio - h) / 2));
        fitted.Top -= dy;
        fitted.Bottom += dy;
        MoveInside(fitted.Top, fitted.Bottom, BitmapSize.height());
    }
    return fitted;
}

std::optional<TClippedDraw> ClipToImage(const QRectF& Source, const QRectF& Target, QSize ImageSize)
{
    if (Source.isEmpty() || Target.isEmpty())
        return std::nullopt;
    const QRectF inside = Source.intersected(QRectF(QPointF(0, 0), QSizeF(ImageSize)));
    if (inside.isEmpty())
        return std::nullopt;
    const double sx = Target.width() / Source.width();
    const double sy = Target.height() / Source.height();
    const QRectF target(Target.left() + (inside.left() - Source.left()) * sx,
                        Target.top() + (inside.top() - Source.top()) * sy, inside.width() * sx,
                        inside.height() * sy);
    return TClippedDraw{inside, target};
}
