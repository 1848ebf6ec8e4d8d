#include "app/mainform.h"

#include "app/intensitytree.h"
#include "app/mapfit.h"
#include "app/paintbox.h"
#include "app/reporttexts.h"
#include "core/log.h"
#include "core/rounding.h"
#include "intensitymap/imagelist.h"
#include "intensitymap/labelsize.h"

#include <QAction>
#include <QPainter>

#include <exception>
#include <stdexcept>

namespace {

int Rnd(double Value)
{
    return static_cast<int>(RoundHalfEven(Value));
}

constexpr QRgb captionBackground = 0x60000000;

QRectF ImageRect(const TRect& R)
{
    return QRectF(R.Left, R.Top, R.Width(), R.Height());
}

}  // namespace

void TMainForm::CreateMapView()
{
    FLabelBitmap.setDotsPerMeterX(CaptionDotsPerMeter);
    FLabelBitmap.setDotsPerMeterY(CaptionDotsPerMeter);
    FLabelBitmap.fill(0);

    PaintBox1->OnPaint = [this](QPainter& Canvas) { PaintBox1Paint(Canvas); };
    PaintBox1->OnResize = [this] { PaintBox1Resize(); };
    connect(MenuItem1, &QAction::triggered, this, &TMainForm::MenuItem1Click);
    connect(MenuItem3, &QAction::triggered, this, &TMainForm::MenuItem3Click);
    connect(MenuItem4, &QAction::triggered, this, &TMainForm::MenuItem4Click);
}

void TMainForm::CalcLabelSize()
{
    try {
        const TLabelSize size = MeasureLabelSize();
        LabelWidth = size.LabelWidth;
        LabelLineHeight = size.LabelLineHeight;
        LabelHeight = size.LabelHeight;
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.CalcLabelSize"), QString::fromUtf8(e.what()));
    }
}

void TMainForm::MakeLabel(const TJmaRec& Rec)
{
    try {
        QPainter canvas(&FLabelBitmap);
        if (!canvas.isActive())
            return;
        canvas.setCompositionMode(QPainter::CompositionMode_Source);
        canvas.fillRect(FLabelBitmap.rect(), QColor::fromRgba(captionBackground));
        canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
        canvas.setFont(CaptionFont());
        canvas.setPen(QColor(0xFF, 0xFF, 0xFF));
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        const QRectF line1(8, 0, 2 * LabelWidth - 8, 2 * LabelLineHeight);
        canvas.drawText(line1, flags, FormatReportTime(Rec.OccurTime, QLocale::system(), true, false));
        canvas.drawText(line1.translated(0, 2 * LabelLineHeight), flags, Rec.EpicenterName);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.MakeLabel"), QString::fromUtf8(e.what()));
    }
}

void TMainForm::DrawShindo(const TJmaRec& Rec)
{
    try {
        std::vector<TShindListRec> marks = CollectAreaMarks(*TreeView1);
        if (!marks.empty()) {
            if (!FCreateShindoImage)
                throw std::runtime_error("the intensity map composer is missing");
            if (FCreateShindoImage->DrawNow(marks, QPointF(Rec.Epicenter.X, Rec.Epicenter.Y), FBitmap,
                                            FOrgBitmapRect, FLabelPosition)) {
                FRetrieved = true;
                CalcRect();
                if (FLabelPosition != lpNone)
                    MakeLabel(Rec);
            }
        }
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.DrawShindo"), QString::fromUtf8(e.what()));
    }
    PaintBox1->update();
}

void TMainForm::DrawEpicenter(const TPointF& Epicenter)
{
    if (FCreateShindoImage) {
        std::vector<TShindListRec> noMarks;
        if (FCreateShindoImage->DrawNow(noMarks, QPointF(Epicenter.X, Epicenter.Y), FBitmap, FOrgBitmapRect,
                                        FLabelPosition)) {
            FRetrieved = true;
            CalcRect();
        }
    }
    PaintBox1->update();
}

void TMainForm::CalcRect()
{
    if (const auto fitted = FitRegionToBox(FOrgBitmapRect, FBitmap.size(), PaintBox1->size()))
        FBitmapRect = *fitted;
}

void TMainForm::PaintBox1Paint(QPainter& Canvas)
{
    Canvas.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF box(0, 0, PaintBox1->width(), PaintBox1->height());
    if (const auto draw = ClipToImage(ImageRect(FBitmapRect), box, FBitmap.size()))
        Canvas.drawImage(draw->Target, FBitmap, draw->Source);
    if (FLabelBitmap.width() > 0 && FLabelBitmap.height() > 0) {
        const double height = Rnd(FLabelBitmap.height() * (100.0 / FLabelBitmap.width()));
        Canvas.drawImage(QRectF(4, 4, 100, height), FLabelBitmap);
    }
}

void TMainForm::PaintBox1Resize()
{
    if (!FRetrieved)
        return;
    CalcRect();
    PaintBox1->update();
}
