#pragma once

#include "app/detailrequests.h"
#include "app/paintbox.h"
#include "basemap/drawmaprec.h"
#include "feed/jmarec.h"
#include "intensitymap/createshindoimage.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QSpinBox;
class QStackedWidget;
class QStatusBar;
class QTableWidget;
class QTimer;
class QToolButton;
class QTreeWidget;

class IniStore;
class TJMAAccess;
class TMapLayer;
class TSwitch;

// A plain filled rectangle without outline (title bar, backgrounds, access indicator).
class TFillRect : public QWidget {
public:
    explicit TFillRect(QColor Fill, QWidget* Parent = nullptr);
    QColor Fill() const { return FFill; }
    void SetFill(QColor Fill);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    QColor FFill;
};

// Where the window reads the feed and keeps its files. The program uses Program(); tests
// and the demo point the window at a local server and a scratch folder.
struct TMainFormOptions {
    QString Endpoint;              // scheme, host and optional port
    QString CaFile;                // trusted authorities (PEM); empty: the system's store
    QString Folder;                // settings and log; empty: the executable's folder
    int DetailTimeoutMs = 10000;   // the report list comes back after this without details
    int AccessIntervalSec = 180;   // seconds between polls at start

    static TMainFormOptions Program();
};

class TMainForm : public QWidget {
public:
    // Item data of the report list: the detail line and the report record.
    static constexpr int DetailRole = Qt::UserRole + 1;
    static constexpr int RecordRole = Qt::UserRole + 2;

    explicit TMainForm(const TMainFormOptions& Options = TMainFormOptions::Program(), QWidget* Parent = nullptr);
    ~TMainForm() override;

    // Lights the access indicator; the feed thread has it run on this thread at the start
    // (true) and the end (false) of every access.
    void Accessing(bool OnOff);

    // Appends an item for Rec, which the item then owns; the new item's index, or -1.
    int AddToListview(std::unique_ptr<TJmaRec> Rec);
    // Shows the report of the item, asking for its details when they were never read.
    void ShowLastItem(QListWidgetItem* Item);
    // The report record an item owns, if any.
    static PJmaRec ItemRec(const QListWidgetItem* Item);

    void ShowItem(const TJmaRec& Rec);

    // Title bar
    TFillRect* Rectangle1 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* SpinBox1 = nullptr;
    QLabel* Label2 = nullptr;
    TFillRect* AccessLED = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    // Status bar
    QStatusBar* StatusBar1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    // Report list column
    QLabel* Label7 = nullptr;
    QLabel* Label3 = nullptr;
    TSwitch* Switch1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit* SearchBox = nullptr;
    QListWidget* ListView1 = nullptr;
    // Report pane
    QLabel* TitleLabel = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QLabel* CommentBox = nullptr;
    QStackedWidget* TabControl1 = nullptr;
    QWidget* TabItem1 = nullptr;
    QWidget* TabItem2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

    // Locked lists shared with the feed thread.
    std::unique_ptr<TEqHistList> EqHistList;
    std::unique_ptr<TDetailList> DetailRequestList;
    std::unique_ptr<TDetailList> DetailResultList;

protected:
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreateControls();
    QWidget* CreateTitleBar();
    QWidget* CreateListColumn();
    QWidget* CreateReportPane();
    QWidget* CreateIntensityPage();

    void FormCreate();
    void FormActivate();
    void StartUp();
    void FormCloseQuery();
    void FormDestroy();
    void Timer1Timer();
    void Timer2Timer();
    void TakeNewReports();
    void TakeDetailResults();
    void ShowCount();
    void ListView1ItemClick(QListWidgetItem* Item);
    void ListView1ItemClickEx(int ItemIndex);
    void RequestDetails(PJmaRec Rec);
    void Button3Click();
    void SpinBox1Change(int Value);
    void SpeedButton1Click();
    void SearchBoxChange(const QString& Text);
    void Rectangle1MouseDown();
    void ClearListviewRec();
    void ClearEqHistList();
    void LoadSettings();
    void SaveSettings();

    void ClearItem();
    void StringGrid1Resized();

    TMainFormOptions FOptions;
    bool FTheFirst = false;
    // The records of the report list's items, in item order; the items refer to them.
    std::vector<std::unique_ptr<TJmaRec>> FRecords;
    // The pictures of ImageList1, decoded once: as images for the composer and as icons for
    // the report list and the tree.
    std::vector<QImage> FImageList1;
    std::vector<QIcon> FIcons;
    TDetailRequests FDetailRequests;
    // Records back with their details, taken off the result list when an access started;
    // shown at the next tick.
    std::vector<PJmaRec> FArrived;
    // The report the summary shows; details that come back for another one wait in their
    // record until it is chosen again.
    const TJmaRec* FShownRec = nullptr;
    std::unique_ptr<TMapLayer> MapLayer;
    std::unique_ptr<TDrawMapRec> MapColors;
    std::unique_ptr<IniStore> FIniFile;
    std::unique_ptr<TJMAAccess> FJMAAccess;

    // ---- intensity tree, map view, copy menu ----
public:
    TPaintBox* PaintBox1 = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* MenuItem1 = nullptr;
    QAction* MenuItem3 = nullptr;
    QAction* MenuItem4 = nullptr;
    QAction* MenuItem5 = nullptr;
    QAction* MenuItem2 = nullptr;

    // Shows the details of a report whose details are at hand: comment, tree or memo, map.
    void ShowDetails(const TJmaRec& Rec);

private:
    friend struct TMainFormProbe;

    // Wires the map view, the tree's pictures and the copy menu; called once by FormCreate
    // after the map bitmaps exist.
    void CreateMapView();
    // Measures the caption block of the map; sets LabelWidth, LabelLineHeight and LabelHeight.
    void CalcLabelSize();
    void JsonToTreeview(const TJmaRec& Rec);
    void DrawShindo(const TJmaRec& Rec);
    void DrawEpicenter(const TPointF& Epicenter);
    void CalcRect();
    void MakeLabel(const TJmaRec& Rec);
    void PaintBox1Paint(QPainter& Canvas);
    void PaintBox1Resize();
    void MenuItem1Click();
    void MenuItem3Click();
    void MenuItem4Click();
    void CopyRegion(const TRect& Region, const QString& Name);

    std::unique_ptr<TCreateShindoImage> FCreateShindoImage;
    QImage FBitmap;
    TRect FOrgBitmapRect;
    TRect FBitmapRect;
    bool FRetrieved = false;
    TLabelPosition FLabelPosition = lpNone;
    QImage FLabelBitmap;
    int LabelWidth = 0;
    int LabelLineHeight = 0;
    int LabelHeight = 0;
};
