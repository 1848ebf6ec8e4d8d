#include "app/mainform.h"
#include "app/mapfit.h"

#include "core/folder.h"
#include "core/log.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <nlohmann/json.hpp>

#include <fstream>

// Reads the map view's state that the window keeps to itself.
struct TMainFormProbe {
    const TMainForm& Form;
    const QImage& Bitmap() const { return Form.FBitmap; }
    TRect Interest() const { return Form.FOrgBitmapRect; }
    TRect Shown() const { return Form.FBitmapRect; }
    bool Retrieved() const { return Form.FRetrieved; }
    const QImage& Label() const { return Form.FLabelBitmap; }
    int LabelWidth() const { return Form.LabelWidth; }
    int LabelHeight() const { return Form.LabelHeight; }
};

namespace {

const char* const KumamotoReport = "20260728163148_20260728162718_VXSE5k_1.json";

nlohmann::json ReadDocument(const char* FileName)
{
    std::ifstream in(std::string(TAVREL_TEST_DATA) + "/" + FileName);
    return nlohmann::json::parse(in);
}

QString Text(const nlohmann::json& Value)
{
    return QString::fromStdString(Value.get<std::string>());
}

// A report record as the feed thread hands it back with its details.
TJmaRec KumamotoRecord()
{
    const auto document = ReadDocument(KumamotoReport);
    TJmaRec rec;
    rec.ReportType = rtNormal;
    rec.Title = QStringLiteral("震源・震度情報");
    rec.OccurTime = QDateTime(QDate(2026, 7, 28), QTime(16, 27), Qt::UTC);
    rec.Epicenter = {130.7f, 32.6f};
    rec.EpicenterName = QStringLiteral("熊本県熊本地方");
    rec.MaxIntesity = QStringLiteral("7");
    rec.Comments[0] = Text(document["Body"]["Comments"]["ForecastComment"]["Text"]);
    rec.Comments[1] = Text(document["Body"]["Comments"]["VarComment"]["Text"]);
    rec.Comments[3] = Text(document["Head"]["Headline"]["Text"]);
    rec.Intensity = QString::fromStdString(document["Body"]["Intensity"]["Observation"]["Pref"].dump());
    return rec;
}

class MapViewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        TMainFormOptions options;
        // Nothing listens there: the feed thread's polls fail at once and bring no report.
        options.Endpoint = QStringLiteral("https://127.0.0.1:9");
        options.Folder = dir.path();
        options.AccessIntervalSec = 300;
        form = std::make_unique<TMainForm>(options);
        form->resize(600, 500);
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        SetAppFolder({});
    }

    void Show(const TJmaRec& Rec)
    {
        form->ShowItem(Rec);
        form->ShowDetails(Rec);
        QApplication::processEvents();
    }

    QImage Copy(QAction* Item)
    {
        QGuiApplication::clipboard()->clear();
        Item->trigger();
        return QGuiApplication::clipboard()->image();
    }

    QString Log() const
    {
        QFile file(LogFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    TMainFormProbe Probe() const { return {*form}; }

    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;
};

QImage Region(const QImage& Bitmap, const TRect& R)
{
    return Bitmap.copy(QRect(R.Left, R.Top, R.Width(), R.Height()));
}

bool AllTransparent(const QImage& Image)
{
    const QImage argb = Image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (argb.pixel(x, y) != 0)
                return false;
    return true;
}

TEST_F(MapViewWindow, IntensityReportShowsTreeMapAndComment)
{
    const TJmaRec rec = KumamotoRecord();
    Show(rec);

    EXPECT_EQ(form->TabControl1->currentWidget(), form->TabItem2);
    EXPECT_EQ(form->CommentBox->text(), rec.Comments[0]);
    EXPECT_EQ(form->TreeView1->topLevelItemCount(), 19);
    ASSERT_TRUE(Probe().Retrieved());
    const TRect interest = Probe().Interest();
    EXPECT_GE(interest.Width(), 255);
    EXPECT_GE(interest.Height(), 255);
    const auto fitted = FitRegionToBox(interest, Probe().Bitmap().size(), form->PaintBox1->size());
    ASSERT_TRUE(fitted);
    EXPECT_EQ(Probe().Shown(), *fitted);
    EXPECT_EQ(Probe().Label().size(), QSize(2 * Probe().LabelWidth(), 2 * Probe().LabelHeight()));
    EXPECT_GT(Probe().LabelWidth(), 8);
    // the caption block: translucent black with white text
    const QImage& label = Probe().Label();
    EXPECT_EQ(label.pixel(0, 0), 0x60000000u);
    EXPECT_EQ(label.pixel(label.width() - 1, label.height() - 1), 0x60000000u);
    int white = 0;
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x)
            white += label.pixel(x, y) == 0xFFFFFFFFu;
    EXPECT_GT(white, 50);
    EXPECT_FALSE(Log().contains(QStringLiteral("TMainForm.")));

    // the paint box shows the map and the caption block over its top-left corner
    const QImage shown = form->PaintBox1->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_FALSE(AllTransparent(shown));
}

TEST_F(MapViewWindow, CopiesHoldTheRegionOfInterestTheShownRegionAndTheWholeMap)
{
    Show(KumamotoRecord());
    const QImage& bitmap = Probe().Bitmap();
    const TRect interest = Probe().Interest();
    const TRect shown = Probe().Shown();
    ASSERT_GT(shown.Width(), interest.Width());  // the paint box is wider than it is high

    const QImage best = Copy(form->MenuItem1);
    EXPECT_EQ(best.size(), QSize(interest.Width(), interest.Height()));
    EXPECT_EQ(best.convertToFormat(QImage::Format_ARGB32), Region(bitmap, interest));

    const QImage asShown = Copy(form->MenuItem3);
    EXPECT_EQ(asShown.size(), QSize(shown.Width(), shown.Height()));
    EXPECT_EQ(asShown.height(), best.height());
    EXPECT_EQ(asShown.convertToFormat(QImage::Format_ARGB32), Region(bitmap, shown));

    const QImage whole = Copy(form->MenuItem4);
    EXPECT_EQ(whole.size(), QSize(1920, 1940));
    EXPECT_EQ(whole.convertToFormat(QImage::Format_ARGB32), bitmap);
    EXPECT_FALSE(AllTransparent(best));

    // saving has no action: the clipboard keeps the whole map
    form->MenuItem2->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(1920, 1940));
}

TEST_F(MapViewWindow, ShownRegionPastTheMapIsCopiedTransparent)
{
    Show(KumamotoRecord());
    form->PaintBox1->resize(4000, 100);
    const TRect shown = Probe().Shown();
    ASSERT_GT(shown.Right, 1920);
    EXPECT_EQ(shown.Left, 0);

    const QImage asShown = Copy(form->MenuItem3).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(asShown.size(), QSize(shown.Width(), shown.Height()));
    EXPECT_TRUE(AllTransparent(asShown.copy(1920, 0, shown.Width() - 1920, shown.Height())));
    EXPECT_EQ(asShown.copy(0, 0, 1920, shown.Height()), Region(Probe().Bitmap(), {0, shown.Top, 1920, shown.Bottom}));
    // painting reads only the map's own pixels
    form->PaintBox1->grab();
}

TEST_F(MapViewWindow, ResizingRefitsWithoutComposingAgain)
{
    Show(KumamotoRecord());
    const qint64 composed = Probe().Bitmap().cacheKey();
    const TRect interest = Probe().Interest();
    const TRect before = Probe().Shown();

    for (const QSize size : {QSize(900, 700), QSize(600, 450), QSize(1200, 500)}) {
        SCOPED_TRACE(size.width());
        form->resize(size);
        QApplication::processEvents();
        const auto fitted = FitRegionToBox(interest, QSize(1920, 1940), form->PaintBox1->size());
        ASSERT_TRUE(fitted);
        EXPECT_EQ(Probe().Shown(), *fitted);
        form->PaintBox1->grab();
    }
    form->PaintBox1->resize(300, 300);
    EXPECT_NE(Probe().Shown(), before);
    EXPECT_EQ(Probe().Interest(), interest);
    EXPECT_EQ(Probe().Bitmap().cacheKey(), composed);
}

TEST_F(MapViewWindow, BeforeAnyMapResizingDoesNothingAndCopiesAreTransparent)
{
    const TRect created = Probe().Shown();
    form->PaintBox1->resize(500, 200);
    EXPECT_EQ(Probe().Shown(), created);
    EXPECT_FALSE(Probe().Retrieved());

    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    form->MenuItem1->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    const QImage asShown = Copy(form->MenuItem3);
    EXPECT_EQ(asShown.size(), QSize(created.Width(), created.Height()));
    EXPECT_TRUE(AllTransparent(asShown));
    const QImage whole = Copy(form->MenuItem4);
    EXPECT_EQ(whole.size(), QSize(1920, 1940));
    EXPECT_TRUE(AllTransparent(whole));
}

TEST_F(MapViewWindow, ReportWithoutIntensitiesComposesNothing)
{
    Show(KumamotoRecord());
    const TRect interest = Probe().Interest();
    const QImage label = Probe().Label();

    TJmaRec empty = KumamotoRecord();
    empty.Intensity.clear();
    empty.Comments[0] = QStringLiteral("comment only");
    Show(empty);
    EXPECT_EQ(form->TreeView1->topLevelItemCount(), 0);
    EXPECT_EQ(form->CommentBox->text(), QStringLiteral("comment only"));
    EXPECT_TRUE(AllTransparent(Probe().Bitmap()));
    EXPECT_EQ(Probe().Interest(), interest);
    EXPECT_EQ(Probe().Label(), label);
    EXPECT_TRUE(AllTransparent(Copy(form->MenuItem1)));
}

TEST_F(MapViewWindow, EpicentreReportComposesAroundTheEpicentreWithoutNewCaption)
{
    Show(KumamotoRecord());
    const QImage label = Probe().Label();

    TJmaRec epicentre = KumamotoRecord();
    epicentre.ReportType = rtEpicenterOnly;
    epicentre.EpicenterName = QStringLiteral("other place");
    Show(epicentre);
    EXPECT_EQ(form->TabControl1->currentWidget(), form->TabItem2);
    EXPECT_EQ(form->TreeView1->topLevelItemCount(), 0);
    const TRect interest = Probe().Interest();
    EXPECT_EQ(interest.Width(), 256);
    EXPECT_EQ(interest.Height(), 256);
    EXPECT_FALSE(AllTransparent(Region(Probe().Bitmap(), interest)));
    EXPECT_EQ(Probe().Label(), label);
}

struct TextCase {
    const char* Name;
    TReportType Type;
    std::array<const char*, 4> Comments;
    const char* Memo;
    const char* Comment;
};

TEST_F(MapViewWindow, TextReportsFillTheMemo)
{
    const TextCase cases[] = {
        {"distant earthquake, headline alone", rtTeleseism, {"forecast", "", "", "head"}, "head", "forecast"},
        {"hypocentre update", rtEpicenterChanged, {"", "", "free", "head"}, "head\n\nfree", ""},
        {"other information", rtOthers, {"kind", "text", "appendix", "head"}, "head\n\ntext\n\nappendix", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TJmaRec rec;
        rec.ReportType = c.Type;
        for (size_t i = 0; i < 4; ++i)
            rec.Comments[i] = QString::fromUtf8(c.Comments[i]);
        Show(rec);
        EXPECT_EQ(form->TabControl1->currentWidget(), form->TabItem1);
        EXPECT_EQ(form->Memo1->toPlainText(), QString::fromUtf8(c.Memo));
        EXPECT_EQ(form->CommentBox->text(), QString::fromUtf8(c.Comment));
        EXPECT_EQ(form->TreeView1->topLevelItemCount(), 0);
    }
}

}  // namespace
