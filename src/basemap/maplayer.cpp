#include "basemap/maplayer.h"

#include "core/log.h"
#include "core/rounding.h"

#include <QFile>

#include <algorithm>
#include <stdexcept>

namespace {

bool IsSea(QRgb Code) { return qBlue(Code) > 0; }
bool IsJapan(QRgb Code) { return qGreen(Code) > 0; }
bool IsForeign(QRgb Code) { return qRed(Code) > 0 && qGreen(Code) == 0 && qBlue(Code) == 0; }
bool IsBorder(QRgb Code) { return qRed(Code) > 0 && qGreen(Code) > 0 && qBlue(Code) == 0; }

int SeaValue(QRgb Code) { return qBlue(Code); }
int JapanValue(QRgb Code) { return qGreen(Code); }
int ForeignValue(QRgb Code) { return qRed(Code); }

int ClampChannel(double Value)
{
    return static_cast<int>(std::clamp(RoundHalfEven(Value), 0.0, 255.0));
}

// Visits the shared area row by row, handing each coded pixel and its target pixel to Fn.
template <typename Fn>
void ForEachPixel(const QImage& Coded, QImage& Target, QSize Area, Fn&& PixelFn)
{
    for (int y = 0; y < Area.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(Coded.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(Target.scanLine(y));
        for (int x = 0; x < Area.width(); ++x)
            PixelFn(src[x], dst[x]);
    }
}

template <typename ClassTest>
void FillMono(const QImage& Coded, QImage& Target, QSize Area, ClassTest InClass, TAlphaColor Color)
{
    ForEachPixel(Coded, Target, Area, [&](QRgb Code, QRgb& Out) {
        if (InClass(Code))
            Out = Color;
    });
}

template <typename ClassTest, typename ChannelOf>
void FillGradient(const QImage& Coded, QImage& Target, QSize Area, ClassTest InClass, ChannelOf Value,
                  const TGradientStrip& Strip)
{
    ForEachPixel(Coded, Target, Area, [&](QRgb Code, QRgb& Out) {
        if (InClass(Code))
            Out = Strip[255 - Value(Code)];
    });
}

template <typename ClassTest, typename ChannelOf>
void FillClass(const QImage& Coded, QImage& Target, QSize Area, ClassTest InClass, ChannelOf Value, bool IsMono,
               TAlphaColor Mono, TAlphaColor Grad1, TAlphaColor Grad2)
{
    if (IsMono)
        FillMono(Coded, Target, Area, InClass, Mono);
    else
        FillGradient(Coded, Target, Area, InClass, Value, MakeGradient(Grad1, Grad2));
}

// A blend outside 0..1 would push the channels out of range; it is held to that range
// (and a NaN taken as 0) so that a hand-edited settings file cannot garble the borders.
float LimitBlend(float KenkyoBlend)
{
    if (!(KenkyoBlend > 0))
        return 0;
    return std::min(KenkyoBlend, 1.0f);
}

int TowardsWhite(int Channel, float Weight)
{
    const double h = Weight;
    return ClampChannel(h * 255 + Channel * (1 - h));
}

// Moves each border pixel R / 255 * Blend of the way to white, keeping its alpha.
void BlendBorders(const QImage& Coded, QImage& Target, QSize Area, float KenkyoBlend)
{
    const float blend = LimitBlend(KenkyoBlend);
    std::array<float, 256> weight{};
    for (int r = 0; r < 256; ++r)
        weight[r] = static_cast<float>(r / 255.0 * blend);
    ForEachPixel(Coded, Target, Area, [&](QRgb Code, QRgb& Out) {
        if (!IsBorder(Code))
            return;
        const float h = weight[qRed(Code)];
        Out = qRgba(TowardsWhite(qRed(Out), h), TowardsWhite(qGreen(Out), h), TowardsWhite(qBlue(Out), h),
                    qAlpha(Out));
    });
}

void RunPasses(const TDrawMapRec& Rec, const QImage& Coded, QImage& Target, QSize Area)
{
    FillClass(Coded, Target, Area, IsSea, SeaValue, Rec.IsSeaMono, Rec.SeaMono, Rec.SeaGrad1, Rec.SeaGrad2);
    FillClass(Coded, Target, Area, IsJapan, JapanValue, Rec.IsJapanMono, Rec.JapanMono, Rec.JapanGrad1,
              Rec.JapanGrad2);
    if (Rec.IsForeignDraw)
        FillClass(Coded, Target, Area, IsForeign, ForeignValue, Rec.IsForeignMono, Rec.ForeignMono, Rec.ForeignGrad1,
                  Rec.ForeignGrad2);
    if (Rec.IsKenkyoDraw)
        BlendBorders(Coded, Target, Area, Rec.KenkyoBlend);
}

// The built-in coded image; an empty or undecodable resource gives a null image.
QImage LoadMapData()
{
    QFile file(QStringLiteral(":/MapData"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Resource MapData not found");
    const QByteArray bytes = file.readAll();
    QImage coded;
    if (!bytes.isEmpty())
        coded.loadFromData(bytes, "PNG");
    return coded;
}

}  // namespace

TGradientStrip MakeGradient(TAlphaColor C1, TAlphaColor C2)
{
    const auto channel = [](int From, int To, int i) { return ClampChannel((To - From) * i / 255.0 + From); };
    TGradientStrip strip{};
    for (int i = 0; i < 256; ++i)
        strip[i] = qRgba(channel(qRed(C1), qRed(C2), i), channel(qGreen(C1), qGreen(C2), i),
                         channel(qBlue(C1), qBlue(C2), i), 255);
    return strip;
}

void TMapLayer::TestMap(const TDrawMapRec& Rec, QImage& ABitmap)
{
    MakeMap(Rec, ABitmap);
}

void TMapLayer::MakeMap(const TDrawMapRec& Rec, QImage& ABitmap)
{
    Paint(Rec, ABitmap, LoadMapData);
}

void TMapLayer::MakeMapFrom(const TDrawMapRec& Rec, const QImage& Coded, QImage& ABitmap)
{
    Paint(Rec, ABitmap, [&Coded] { return Coded; });
}

void TMapLayer::Paint(const TDrawMapRec& Rec, QImage& ABitmap, const std::function<QImage()>& LoadCoded)
{
    if (ABitmap.isNull())
        return;
    if (ABitmap.format() != QImage::Format_ARGB32)
        ABitmap.convertTo(QImage::Format_ARGB32);
    // on Format_ARGB32 fill(uint) stores the value as the pixel, so alpha is kept exactly
    ABitmap.fill(Rec.SeaMono);
    // the classes rest on the stored bytes: RGB32 holds them unchanged, alpha set opaque
    const QImage coded = LoadCoded().convertToFormat(QImage::Format_RGB32);
    if (coded.isNull() || ABitmap.bits() == nullptr)
        return;
    const QSize area(std::min({FWidth, coded.width(), ABitmap.width()}),
                     std::min({FHeight, coded.height(), ABitmap.height()}));
    try {
        RunPasses(Rec, coded, ABitmap, area);
        FDone = true;
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMapLayer.MakeMap"), QString::fromUtf8(e.what()));
    }
}
