#pragma once

#include <QAbstractButton>

// An on/off switch: a rounded track with a sliding knob, drawn at Scale of its natural
// size (a track of 60 x 22).
class TSwitch : public QAbstractButton {
public:
    explicit TSwitch(double Scale, QWidget* Parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    double FScale;
};
