#include "app/mainform.h"

#include "app/reporttexts.h"
#include "app/settings.h"
#include "app/switch.h"
#include "basemap/maplayer.h"
#include "core/folder.h"
#include "core/log.h"
#include "feed/jmaaccess.h"
#include "intensitymap/imagelist.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <exception>

namespace {

const QColor LedOn(0x00, 0x80, 0x00);
const QColor LedOff(0xC0, 0xC0, 0xC0);

QString Message(const std::exception& e)
{
    return QString::fromUtf8(e.what());
}

}  // namespace

TMainForm::TMainForm(const TMainFormOptions& Options, QWidget* Parent)
    : QWidget(Parent)
    , FOptions(Options)
{
    CreateControls();
    FormCreate();
}

TMainForm::~TMainForm()
{
    FormDestroy();
}

void TMainForm::FormCreate()
{
    if (FOptions.Folder.isEmpty())
        InitFolder();
    else
        SetAppFolder(FOptions.Folder);
    FBitmapRect = TRect{0, 0, PaintBox1->width(), PaintBox1->height()};
    FBitmap = QImage(TCreateShindoImage::ImageWidth, TCreateShindoImage::ImageHeight, QImage::Format_ARGB32);
    FBitmap.fill(0);
    FTheFirst = true;
    for (int row = 0; row < 4; ++row)
        StringGrid1->item(row, 0)->setText(SummaryRowTitles[row]);
    Label7->setText(QStringLiteral("0"));
    FImageList1 = ImageList1();
    for (const QImage& picture : FImageList1)
        FIcons.emplace_back(QPixmap::fromImage(picture));
    FLabelBitmap = QImage(200, 64, QImage::Format_ARGB32);
    CalcLabelSize();
    FLabelBitmap = QImage(2 * LabelWidth, 2 * LabelHeight, QImage::Format_ARGB32);
    CreateMapView();
    EqHistList = std::make_unique<TEqHistList>();
    DetailRequestList = std::make_unique<TDetailList>();
    DetailResultList = std::make_unique<TDetailList>();
    AccessInterval = FOptions.AccessIntervalSec;
}

void TMainForm::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    FormActivate();
}

void TMainForm::FormActivate()
{
    if (!FTheFirst)
        return;
    try {
        StartUp();
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.FormActivate"), Message(e));
    }
    FTheFirst = false;
}

void TMainForm::StartUp()
{
    LoadSettings();
    WriteLog(QStringLiteral("Tavrel"), QStringLiteral("Start"));
    MapLayer = std::make_unique<TMapLayer>();
    FCreateShindoImage =
        std::make_unique<TCreateShindoImage>(*MapLayer, *MapColors, FImageList1, LabelWidth, LabelHeight);
    TFeedEndpoint endpoint{FOptions.Endpoint, FOptions.CaFile};
    FJMAAccess = std::make_unique<TJMAAccess>(
        endpoint, EqHistList.get(), DetailRequestList.get(), DetailResultList.get(),
        [this](bool OnOff) { Accessing(OnOff); },
        [this](std::function<void()> Fn) { QMetaObject::invokeMethod(this, std::move(Fn), Qt::QueuedConnection); });
    FJMAAccess->Start();
    Timer1->start();
}

void TMainForm::closeEvent(QCloseEvent* Event)
{
    FormCloseQuery();
    Event->accept();
}

void TMainForm::FormCloseQuery()
{
    SaveSettings();
    WriteLog(QStringLiteral("Tavrel"), QStringLiteral("Terminate"));
}

void TMainForm::FormDestroy()
{
    try {
        Timer1->stop();
        Timer2->stop();
        FJMAAccess.reset();
        ClearListviewRec();
        FCreateShindoImage.reset();
        MapLayer.reset();
        FBitmap = QImage();
        FLabelBitmap = QImage();
        ClearEqHistList();
        EqHistList.reset();
        DetailRequestList.reset();
        DetailResultList.reset();
    } catch (const std::exception&) {
        // Destruction goes on whatever failed; nothing is left to report to.
    }
}

void TMainForm::ClearListviewRec()
{
    try {
        for (int i = 0; i < ListView1->count(); ++i)
            ListView1->item(i)->setData(RecordRole, QVariant());
        FRecords.clear();
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("ClearListviewRec"), Message(e));
    }
}

void TMainForm::ClearEqHistList()
{
    try {
        while (TEqHistRec* envelope = PopRec(EqHistList.get()))
            delete envelope;
        while (PopRec(DetailRequestList.get())) {
        }
        while (PopRec(DetailResultList.get())) {
        }
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.ClearEqHistList"), Message(e));
    }
}

void TMainForm::Timer1Timer()
{
    Timer1->stop();
    try {
        TakeNewReports();
        TakeDetailResults();
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.Timer1Timer"), Message(e));
    }
    Timer1->start();
}

void TMainForm::TakeNewReports()
{
    // Leaving the update mode repaints the whole list, so an idle tick does not enter it.
    if (RecCount(EqHistList.get()) == 0) {
        ShowCount();
        return;
    }
    int lastIndex = -1;
    ListView1->setUpdatesEnabled(false);
    try {
        while (TEqHistRec* popped = PopRec(EqHistList.get())) {
            std::unique_ptr<TEqHistRec> envelope(popped);
            if (envelope->JmaRec)
                lastIndex = AddToListview(std::move(envelope->JmaRec));
        }
        if (lastIndex >= 0) {
            QListWidgetItem* item = ListView1->item(lastIndex);
            ListView1->scrollToItem(item);
            ListView1->setCurrentItem(item);
        }
        ShowCount();
        if (lastIndex >= 0 && Switch1->isChecked())
            ShowLastItem(ListView1->item(lastIndex));
    } catch (...) {
        ListView1->setUpdatesEnabled(true);
        throw;
    }
    ListView1->setUpdatesEnabled(true);
}

void TMainForm::TakeDetailResults()
{
    while (PJmaRec rec = PopRec(DetailResultList.get())) {
        FDetailRequests.Returned(rec);
        FArrived.push_back(rec);
    }
    std::vector<PJmaRec> arrived;
    arrived.swap(FArrived);
    for (PJmaRec rec : arrived) {
        if (rec == FShownRec)
            ShowDetails(*rec);
        Timer2->stop();
        ListView1->setEnabled(true);
    }
}

void TMainForm::ShowCount()
{
    Label7->setText(CountLabelText(ListView1->currentRow(), ListView1->count()));
}

int TMainForm::AddToListview(std::unique_ptr<TJmaRec> Rec)
{
    if (!Rec)
        return -1;
    try {
        auto* item = new QListWidgetItem(ListView1);
        const PJmaRec rec = Rec.get();
        FRecords.push_back(std::move(Rec));
        item->setData(RecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(rec)));
        const TListItemTexts texts = ListItemTexts(*rec, QLocale());
        item->setText(texts.Text);
        item->setData(DetailRole, texts.Detail);
        if (texts.ImageIndex >= 0 && texts.ImageIndex < static_cast<int>(FIcons.size()))
            item->setIcon(FIcons[texts.ImageIndex]);
        if (!SearchBox->text().isEmpty())
            SearchBoxChange(SearchBox->text());
        return ListView1->row(item);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.AddToListview"), Message(e));
        return -1;
    }
}

PJmaRec TMainForm::ItemRec(const QListWidgetItem* Item)
{
    return Item ? reinterpret_cast<PJmaRec>(Item->data(RecordRole).value<quintptr>()) : nullptr;
}

void TMainForm::ShowLastItem(QListWidgetItem* Item)
{
    const PJmaRec rec = ItemRec(Item);
    if (!rec)
        return;
    try {
        if (FDetailRequests.Outstanding(rec)) {
            ShowItem(*rec);
            return;
        }
        if (!rec->Comments[0].isEmpty() || rec->Json.isEmpty()) {
            ShowItem(*rec);
            ShowDetails(*rec);
            return;
        }
        RequestDetails(rec);
        ShowItem(*rec);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.ShowLastItem"), Message(e));
    }
}

void TMainForm::RequestDetails(PJmaRec Rec)
{
    PushRec(DetailRequestList.get(), Rec);
    FDetailRequests.Requested(Rec);
    ListView1->setEnabled(false);
    if (!Timer2->isActive())
        Timer2->start();
    Edit1->setText(QStringLiteral("URL: ") + DetailUrl(FOptions.Endpoint, Rec->Json));
}

void TMainForm::ListView1ItemClick(QListWidgetItem*)
{
    ShowCount();
}

void TMainForm::ListView1ItemClickEx(int ItemIndex)
{
    ShowLastItem(ListView1->item(ItemIndex));
}

void TMainForm::Timer2Timer()
{
    Timer2->stop();
    if (!ListView1->isEnabled())
        ListView1->setEnabled(true);
}

void TMainForm::Accessing(bool OnOff)
{
    AccessLED->SetFill(OnOff ? LedOn : LedOff);
    if (OnOff) {
        while (PJmaRec rec = PopRec(DetailResultList.get())) {
            FDetailRequests.Returned(rec);
            FArrived.push_back(rec);
        }
        FDetailRequests.AccessStarted(RecCount(DetailRequestList.get()));
    } else {
        FDetailRequests.AccessEnded();
    }
}

void TMainForm::Button3Click()
{
    ForceAccess = true;
}

void TMainForm::SpinBox1Change(int Value)
{
    AccessInterval = Value;
}

void TMainForm::SpeedButton1Click()
{
    SearchBox->clear();
    SearchBox->setVisible(SpeedButton1->isChecked());
}

void TMainForm::SearchBoxChange(const QString& Text)
{
    for (int i = 0; i < ListView1->count(); ++i) {
        QListWidgetItem* item = ListView1->item(i);
        const bool match = Text.isEmpty() || item->text().contains(Text, Qt::CaseInsensitive)
            || item->data(DetailRole).toString().contains(Text, Qt::CaseInsensitive);
        item->setHidden(!match);
    }
}

void TMainForm::Rectangle1MouseDown()
{
    if (QWindow* window = windowHandle())
        window->startSystemMove();
}

void TMainForm::LoadSettings()
{
    FIniFile = OpenSettings(SettingsFileName());
    const TSettings settings = FIniFile ? ::LoadSettings(*FIniFile) : TSettings{};
    move(settings.MainLeft, settings.MainTop);
    Rectangle1->SetFill(QColor::fromRgba(settings.TitleColor));
    MapColors = std::make_unique<TDrawMapRec>(settings.MapColors);
}

// Without a store (the file could not be read, or the window never started) nothing is
// written, so that a settings file is never replaced by defaults.
void TMainForm::SaveSettings()
{
    if (FIniFile) {
        TSettings values;
        values.MainLeft = x();
        values.MainTop = y();
        values.TitleColor = Rectangle1->Fill().rgba();
        if (MapColors)
            values.MapColors = *MapColors;
        ::SaveSettings(*FIniFile, values);
    }
    MapColors.reset();
    FIniFile.reset();
}
