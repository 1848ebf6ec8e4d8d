// Draws the four title-bar and list-caption pictures (refresh, search, minimise, exit) as
// 18 x 18 PNGs with transparency, in dark grey line art. Run: toolbaricons OUTDIR

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

constexpr int side = 18;
const QColor ink(0x30, 0x30, 0x30);

QPen Line(double Width)
{
    return QPen(ink, Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A circular arrow turning clockwise, its head at the top right.
void Refresh(QPainter& P)
{
    P.setPen(Line(1.8));
    const QRectF circle(3.5, 3.5, 11, 11);
    P.drawArc(circle, 60 * 16, 300 * 16);
    QPainterPath head;
    head.moveTo(8.8, 1.2);
    head.lineTo(13.6, 4.0);
    head.lineTo(9.2, 7.4);
    head.closeSubpath();
    P.setPen(Qt::NoPen);
    P.setBrush(ink);
    P.drawPath(head);
}

// A magnifying glass: a ring and a handle to the bottom right.
void Search(QPainter& P)
{
    P.setPen(Line(1.8));
    P.drawEllipse(QRectF(2.5, 2.5, 9, 9));
    P.setPen(Line(2.6));
    P.drawLine(QPointF(11.0, 11.0), QPointF(15.5, 15.5));
}

// A bar along the bottom.
void Minimize(QPainter& P)
{
    P.setPen(Line(2.2));
    P.drawLine(QPointF(4, 13.5), QPointF(14, 13.5));
}

// An arrow leaving a box to the right.
void Exit(QPainter& P)
{
    P.setPen(Line(1.6));
    QPainterPath box;
    box.moveTo(9.5, 5.5);
    box.lineTo(9.5, 2.5);
    box.lineTo(2.5, 2.5);
    box.lineTo(2.5, 15.5);
    box.lineTo(9.5, 15.5);
    box.lineTo(9.5, 12.5);
    P.drawPath(box);
    P.drawLine(QPointF(6.5, 9), QPointF(15.5, 9));
    P.drawLine(QPointF(12.5, 6), QPointF(15.5, 9));
    P.drawLine(QPointF(12.5, 12), QPointF(15.5, 9));
}

bool Save(const QString& Folder, const QString& Name, const std::function<void(QPainter&)>& Draw)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        Draw(p);
    }
    return image.save(QDir(Folder).filePath(Name + QStringLiteral(".png")));
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: toolbaricons OUTDIR\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const bool ok = Save(folder, QStringLiteral("Refresh_18"), Refresh) && Save(folder, QStringLiteral("Search_18"), Search)
        && Save(folder, QStringLiteral("Minimize_18"), Minimize) && Save(folder, QStringLiteral("Exit_18"), Exit);
    if (!ok) {
        std::fputs("toolbaricons: cannot write the pictures\n", stderr);
        return 1;
    }
    return 0;
}
