#include "app/mainform.h"

#include "core/log.h"

#include <QClipboard>
#include <QGuiApplication>

#include <exception>
#include <stdexcept>

void TMainForm::MenuItem1Click()
{
    CopyRegion(FOrgBitmapRect, QStringLiteral("TMainForm.MenuItem1Click"));
}

void TMainForm::MenuItem3Click()
{
    CopyRegion(FBitmapRect, QStringLiteral("TMainForm.MenuItem3Click"));
}

void TMainForm::MenuItem4Click()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    try {
        clipboard->setImage(FBitmap);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.MenuItem4Click"), QString::fromUtf8(e.what()));
    }
}

// Puts Region of the map on the clipboard at its own resolution. Pixels of Region beyond the
// map are copied transparent, never read. A region without pixels (no map composed yet)
// copies nothing.
void TMainForm::CopyRegion(const TRect& Region, const QString& Name)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || Region.Width() <= 0 || Region.Height() <= 0)
        return;
    try {
        const QImage copy = FBitmap.copy(QRect(Region.Left, Region.Top, Region.Width(), Region.Height()));
        if (copy.isNull())
            throw std::runtime_error("no memory for a copy of " + std::to_string(Region.Width()) + " x " +
                                     std::to_string(Region.Height()) + " pixels");
        clipboard->setImage(copy);
    } catch (const std::exception& e) {
        WriteLog(Name, QString::fromUtf8(e.what()));
    }
}
