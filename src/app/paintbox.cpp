#include "app/paintbox.h"

#include <QPainter>

TPaintBox::TPaintBox(QWidget* Parent)
    : QWidget(Parent)
{
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    if (!OnPaint)
        return;
    QPainter canvas(this);
    OnPaint(canvas);
}

void TPaintBox::resizeEvent(QResizeEvent*)
{
    if (OnResize)
        OnResize();
}
