#pragma once

#include <QWidget>

#include <functional>

class QPainter;

// A plain drawing surface: it paints nothing of its own and hands its painting and its size
// changes to the window through OnPaint and OnResize.
class TPaintBox : public QWidget {
public:
    explicit TPaintBox(QWidget* Parent = nullptr);

    std::function<void(QPainter& Canvas)> OnPaint;
    std::function<void()> OnResize;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
};
