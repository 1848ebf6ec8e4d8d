// Draws the 17 pictures of the report list, the intensity tree and the map marks as
// 64 x 64 PNGs with transparency. Run: icongen OUTDIR (fonts: fonts-dejavu-core, fonts-noto-cjk).

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int side = 64;

QImage NewPicture()
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void RoundedSquare(QPainter& Painter, QColor Fill)
{
    Painter.setPen(QPen(Fill.darker(135), 1.0));
    Painter.setBrush(Fill);
    Painter.drawRoundedRect(QRectF(0.5, 0.5, side - 1, side - 1), 11, 11);
}

// The outline of Text in Font, scaled to fill Box without distortion and centred in it.
QPainterPath FittedText(const QString& Text, const QFont& Font, const QRectF& Box)
{
    QPainterPath path;
    path.addText(0, 0, Font, Text);
    const QRectF bounds = path.boundingRect();
    const double scale = std::min(Box.width() / bounds.width(), Box.height() / bounds.height());
    QTransform transform;
    transform.translate(Box.center().x(), Box.center().y());
    transform.scale(scale, scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform.map(path);
}

QFont DigitFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setWeight(QFont::Black);
    font.setPixelSize(48);
    return font;
}

// An intensity: the digit large, a lower/upper sign (a bar or a cross) beside it.
void Intensity(QPainter& Painter, QColor Fill, QColor Ink, const QString& Digit, QChar Sign)
{
    RoundedSquare(Painter, Fill);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Ink);
    if (Sign.isNull()) {
        Painter.drawPath(FittedText(Digit, DigitFont(), QRectF(12, 10, 40, 44)));
        return;
    }
    Painter.drawPath(FittedText(Digit, DigitFont(), QRectF(3, 9, 34, 46)));
    const double bar = 8;
    const QRectF sign(38, 32 - 11, 22, 22);
    Painter.drawRect(QRectF(sign.left(), 32 - bar / 2, sign.width(), bar));
    if (Sign == u'+')
        Painter.drawRect(QRectF(sign.center().x() - bar / 2, sign.top(), bar, sign.height()));
}

void Glyphs(QPainter& Painter, QColor Fill, const QString& Text, const QFont& Font, const QRectF& Box)
{
    RoundedSquare(Painter, Fill);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Qt::black);
    Painter.drawPath(FittedText(Text, Font, Box));
}

void Cross(QPainter& Painter, QColor Ink, double Width, double Inset)
{
    Painter.setPen(QPen(Ink, Width, Qt::SolidLine, Qt::FlatCap));
    Painter.drawLine(QPointF(Inset, Inset), QPointF(side - Inset, side - Inset));
    Painter.drawLine(QPointF(side - Inset, Inset), QPointF(Inset, side - Inset));
}

void Rings(QPainter& Painter, QColor Ink, const std::vector<double>& Radii, double Width, double Dot)
{
    const QPointF centre(side / 2.0, side / 2.0);
    Painter.setPen(QPen(Ink, Width));
    Painter.setBrush(Qt::NoBrush);
    for (double r : Radii)
        Painter.drawEllipse(centre, r, r);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Ink);
    Painter.drawEllipse(centre, Dot, Dot);
}

void Globe(QPainter& Painter)
{
    const QPointF centre(side / 2.0, side / 2.0);
    const double r = 23;
    Painter.setPen(QPen(Qt::black, 2.5));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawEllipse(centre, r, r);
    Painter.drawEllipse(centre, r * 0.45, r);
    Painter.drawLine(QPointF(centre.x(), centre.y() - r), QPointF(centre.x(), centre.y() + r));
    Painter.drawLine(QPointF(centre.x() - r, centre.y()), QPointF(centre.x() + r, centre.y()));
    for (double y : {-0.55, 0.55}) {
        const double half = r * std::sqrt(1 - y * y);
        Painter.drawLine(QPointF(centre.x() - half, centre.y() + y * r), QPointF(centre.x() + half, centre.y() + y * r));
    }
}

struct Picture {
    const char* name;
    std::function<void(QPainter&)> draw;
};

std::vector<Picture> Pictures()
{
    const QColor lightGrey(0xF0F0F0);
    QFont cjk(QStringLiteral("Noto Sans CJK JP"));
    cjk.setBold(true);
    cjk.setPixelSize(40);
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setBold(true);
    serif.setPixelSize(48);
    return {
        {"Shindo_0_64", [=](QPainter& p) { RoundedSquare(p, lightGrey); }},
        {"Shindo_1_64", [=](QPainter& p) { Intensity(p, lightGrey, Qt::black, QStringLiteral("1"), {}); }},
        {"Shindo_2_64", [](QPainter& p) { Intensity(p, QColor(0x36AAF9), QColor(0xF0F0F0), QStringLiteral("2"), {}); }},
        {"Shindo_3_64", [](QPainter& p) { Intensity(p, QColor(0x004CF6), Qt::white, QStringLiteral("3"), {}); }},
        {"Shindo_4_64", [](QPainter& p) { Intensity(p, QColor(0xF9E59F), Qt::black, QStringLiteral("4"), {}); }},
        {"Shindo_5-_64", [](QPainter& p) { Intensity(p, QColor(0xFEE54A), Qt::black, QStringLiteral("5"), u'-'); }},
        {"Shindo_5+_64", [](QPainter& p) { Intensity(p, QColor(0xF79D36), Qt::black, QStringLiteral("5"), u'+'); }},
        {"Shindo_6-_64", [](QPainter& p) { Intensity(p, QColor(0xF24321), Qt::white, QStringLiteral("6"), u'-'); }},
        {"Shindo_6+_64", [](QPainter& p) { Intensity(p, QColor(0x9C2026), Qt::white, QStringLiteral("6"), u'+'); }},
        {"Shindo_7_64", [](QPainter& p) { Intensity(p, QColor(0xAA2766), Qt::white, QStringLiteral("7"), {}); }},
        {"Shindo_Info_Green_64",
         [=](QPainter& p) { Glyphs(p, QColor(0xDFFFAD), QStringLiteral("i"), serif, QRectF(16, 8, 32, 48)); }},
        {"Shindo_Training_64",
         [=](QPainter& p) { Glyphs(p, lightGrey, QStringLiteral("訓練"), cjk, QRectF(5, 12, 54, 40)); }},
        {"Epicenter_64", [](QPainter& p) { Rings(p, QColor(0xFF0000), {28.5, 20, 11.5}, 4, 5); }},
        {"Epicenter_64_2",
         [](QPainter& p) {
             // A white rim keeps the cross visible on the red and purple intensity squares.
             Cross(p, Qt::white, 17, 9);
             Cross(p, QColor(0xDD0028), 12, 11);
         }},
        {"EpiCenterInfo_64",
         [=](QPainter& p) {
             RoundedSquare(p, lightGrey);
             Cross(p, QColor(0x707070), 9, 15);
         }},
        {"FarEq_64",
         [=](QPainter& p) {
             RoundedSquare(p, lightGrey);
             Globe(p);
         }},
        {"EpiCenterInfo_64_2",
         [=](QPainter& p) {
             RoundedSquare(p, lightGrey);
             Rings(p, Qt::black, {22, 14}, 3.5, 5);
         }},
    };
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen OUTDIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const Picture& picture : Pictures()) {
        QImage image = NewPicture();
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            picture.draw(painter);
        }
        const QString path = out.filePath(QLatin1String(picture.name) + QStringLiteral(".png"));
        if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
