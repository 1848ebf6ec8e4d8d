#include "app/switch.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double TrackWidth = 60;
constexpr double TrackHeight = 22;

}  // namespace

TSwitch::TSwitch(double Scale, QWidget* Parent)
    : QAbstractButton(Parent)
    , FScale(Scale)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

QSize TSwitch::sizeHint() const
{
    return QSize(qRound(TrackWidth * FScale), qRound(TrackHeight * FScale));
}

void TSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF size(TrackWidth * FScale, TrackHeight * FScale);
    const QRectF track(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    const double radius = track.height() / 2;
    const bool on = isChecked();
    const QColor accent = isEnabled() ? QColor(0x1E, 0x90, 0xFF) : QColor(0xA0, 0xA0, 0xA0);
    p.setPen(QPen(on ? accent : QColor(0x90, 0x90, 0x90), 1));
    p.setBrush(on ? accent : QColor(0xF4, 0xF4, 0xF4));
    p.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const double knob = track.height() - 4;
    const double x = on ? track.right() - 2 - knob : track.left() + 2;
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), on ? 0 : 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}
