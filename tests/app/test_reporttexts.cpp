#include "app/reporttexts.h"

#include <gtest/gtest.h>

#include <QTimeZone>

#include <ostream>

void PrintTo(const QString& Text, std::ostream* Out)
{
    *Out << '"' << Text.toStdString() << '"';
}

namespace {

const QLocale japan(QLocale::Japanese, QLocale::Japan);
const QLocale germany(QLocale::German, QLocale::Germany);

TDateTime At(int Year, int Month, int Day, int Hour, int Minute, int Second)
{
    return QDateTime(QDate(Year, Month, Day), QTime(Hour, Minute, Second), QTimeZone::utc());
}

// The report of the examples: 15 March 2021, 22:08:41, south of Ibaraki.
TJmaRec Ibaraki()
{
    TJmaRec rec;
    rec.ReportType = rtNormal;
    rec.Title = ReportTitles[rtNormal];
    rec.Json = QStringLiteral("20210315221100_20210315220841_VXSE5k_1.json");
    rec.OccurTime = At(2021, 3, 15, 22, 8, 41);
    rec.ReportTime = At(2021, 3, 15, 22, 11, 0);
    rec.EpicenterName = QStringLiteral("茨城県南部");
    rec.EpicenterCode = 301;
    rec.Magnitude = 4.6f;
    rec.Epicenter = {139.93f, 36.08f};
    rec.Depth = QStringLiteral("50km");
    rec.MaxIntesity = QStringLiteral("3");
    return rec;
}

struct TListCase {
    const char* Name;
    std::function<void(TJmaRec&)> Change;
    QLocale Locale;
    QString Text;
    QString Detail;
    int ImageIndex;
};

TEST(ReportTexts, ListItemTextsAndPictures)
{
    const TListCase cases[] = {
        {"epicentre and intensity report", [](TJmaRec&) {}, japan, QStringLiteral("03/15 22:08 茨城県南部"),
         QStringLiteral("M4.6  36.1N 139.9E  50km"), 3},
        {"other title form", [](TJmaRec& r) { r.ReportType = rtIntensityOnly; r.Title = QStringLiteral("震度速報"); },
         japan, QStringLiteral("03/15 22:08:41"), QStringLiteral("震度速報"), 3},
        {"magnitude 0 and no coordinate",
         [](TJmaRec& r) { r.Magnitude = 0; r.Epicenter = {}; r.Depth.clear(); }, japan,
         QStringLiteral("03/15 22:08 茨城県南部"), QStringLiteral("M0.0  0.0N 0.0E  "), 3},
        {"very shallow", [](TJmaRec& r) { r.Depth = QStringLiteral("ごく浅い"); }, japan,
         QStringLiteral("03/15 22:08 茨城県南部"), QStringLiteral("M4.6  36.1N 139.9E  ごく浅い"), 3},
        {"5+", [](TJmaRec& r) { r.MaxIntesity = QStringLiteral("5+"); }, japan, QStringLiteral("03/15 22:08 茨城県南部"),
         QStringLiteral("M4.6  36.1N 139.9E  50km"), 6},
        {"5強 is no intensity text", [](TJmaRec& r) { r.MaxIntesity = QStringLiteral("5強"); }, japan,
         QStringLiteral("03/15 22:08 茨城県南部"), QStringLiteral("M4.6  36.1N 139.9E  50km"), 0},
        {"empty intensity", [](TJmaRec& r) { r.MaxIntesity.clear(); }, japan, QStringLiteral("03/15 22:08 茨城県南部"),
         QStringLiteral("M4.6  36.1N 139.9E  50km"), 0},
        {"training, whatever type and intensity",
         [](TJmaRec& r) { r.IsTraining = true; r.ReportType = rtTeleseism; r.MaxIntesity = QStringLiteral("7"); },
         japan, QStringLiteral("03/15 22:08 茨城県南部"), QStringLiteral("M4.6  36.1N 139.9E  50km"), 11},
        {"other reports", [](TJmaRec& r) { r.ReportType = rtOthers; r.Title = QStringLiteral("南海トラフ地震関連解説情報"); },
         japan, QStringLiteral("03/15 22:08:41"), QStringLiteral("南海トラフ地震関連解説情報"), 10},
        {"epicentre report", [](TJmaRec& r) { r.ReportType = rtEpicenterOnly; r.Title = ReportTitles[rtEpicenterOnly]; },
         japan, QStringLiteral("03/15 22:08:41"), ReportTitles[rtEpicenterOnly], 16},
        {"distant earthquake", [](TJmaRec& r) { r.ReportType = rtTeleseism; r.Title = ReportTitles[rtTeleseism]; },
         japan, QStringLiteral("03/15 22:08:41"), ReportTitles[rtTeleseism], 15},
        {"hypocentre update",
         [](TJmaRec& r) { r.ReportType = rtEpicenterChanged; r.Title = ReportTitles[rtEpicenterChanged]; }, japan,
         QStringLiteral("03/15 22:08:41"), ReportTitles[rtEpicenterChanged], 10},
        {"regional separators", [](TJmaRec&) {}, germany, QStringLiteral("03.15 22:08 茨城県南部"),
         QStringLiteral("M4,6  36,1N 139,9E  50km"), 3},
        {"no occurrence time", [](TJmaRec& r) { r.OccurTime = {}; }, japan, QStringLiteral("12/30 00:00 茨城県南部"),
         QStringLiteral("M4.6  36.1N 139.9E  50km"), 3},
    };
    for (const TListCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TJmaRec rec = Ibaraki();
        c.Change(rec);
        const TListItemTexts item = ListItemTexts(rec, c.Locale);
        EXPECT_EQ(item.Text, c.Text);
        EXPECT_EQ(item.Detail, c.Detail);
        EXPECT_EQ(item.ImageIndex, c.ImageIndex);
    }
}

struct TSummaryCase {
    const char* Name;
    std::function<void(TJmaRec&)> Change;
    QLocale Locale;
    QString Row0Title;
    std::array<QString, 4> Values;
    bool TextPage;
};

TEST(ReportTexts, SummaryRows)
{
    const QString title = OccurTimeTitle;
    const TSummaryCase cases[] = {
        {"earthquake report", [](TJmaRec&) {}, japan, title,
         {QStringLiteral("2021/03/15 22:08"), QStringLiteral("茨城県南部 (301)"), QStringLiteral("36.1N 139.9E 50km"),
          QStringLiteral("M4.6   最大 3")},
         false},
        {"south and west", [](TJmaRec& r) { r.Epicenter = {-169.2f, -20.7f}; r.Depth = QStringLiteral("-"); }, japan,
         title,
         {QStringLiteral("2021/03/15 22:08"), QStringLiteral("茨城県南部 (301)"), QStringLiteral("20.7S 169.2W -"),
          QStringLiteral("M4.6   最大 3")},
         false},
        {"both coordinates zero", [](TJmaRec& r) { r.Epicenter = {}; }, japan, title,
         {QStringLiteral("2021/03/15 22:08"), QStringLiteral("茨城県南部 (301)"), QStringLiteral("50km"),
          QStringLiteral("M4.6   最大 3")},
         false},
        {"latitude zero", [](TJmaRec& r) { r.Epicenter.Y = 0; }, japan, title,
         {QStringLiteral("2021/03/15 22:08"), QStringLiteral("茨城県南部 (301)"), QStringLiteral("139.9E 50km"),
          QStringLiteral("M4.6   最大 3")},
         false},
        {"magnitude 0 with intensity", [](TJmaRec& r) { r.Magnitude = 0; r.MaxIntesity = QStringLiteral("2"); }, japan,
         title,
         {QStringLiteral("2021/03/15 22:08"), QStringLiteral("茨城県南部 (301)"), QStringLiteral("36.1N 139.9E 50km"),
          QStringLiteral(" 最大 2")},
         false},
        {"magnitude without intensity", [](TJmaRec& r) { r.MaxIntesity.clear(); }, japan, title,
         {QStringLiteral("2021/03/15 22:08"), QStringLiteral("茨城県南部 (301)"), QStringLiteral("36.1N 139.9E 50km"),
          QStringLiteral("M4.6  ")},
         false},
        {"no epicentre name hides the code", [](TJmaRec& r) { r.EpicenterName.clear(); }, japan, title,
         {QStringLiteral("2021/03/15 22:08"), QString(), QStringLiteral("36.1N 139.9E 50km"),
          QStringLiteral("M4.6   最大 3")},
         false},
        {"training earthquake report", [](TJmaRec& r) { r.IsTraining = true; }, japan, title,
         {QStringLiteral("2021/03/15 22:08(訓練)"), QStringLiteral("茨城県南部 (301)"),
          QStringLiteral("36.1N 139.9E 50km"), QStringLiteral("M4.6   最大 3")},
         false},
        {"training other report",
         [](TJmaRec& r) { r.IsTraining = true; r.ReportType = rtOthers; r.Title = QStringLiteral("地震の活動状況等に関する情報"); },
         japan, ReportTimeTitle, {QStringLiteral("2021/03/15 22:11 (訓練)"), QString(), QString(), QString()}, true},
        {"other report", [](TJmaRec& r) { r.ReportType = rtOthers; }, japan, ReportTimeTitle,
         {QStringLiteral("2021/03/15 22:11"), QString(), QString(), QString()}, true},
        {"regional separators", [](TJmaRec&) {}, germany, title,
         {QStringLiteral("2021.03.15 22:08"), QStringLiteral("茨城県南部 (301)"), QStringLiteral("36,1N 139,9E 50km"),
          QStringLiteral("M4,6   最大 3")},
         false},
    };
    for (const TSummaryCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TJmaRec rec = Ibaraki();
        c.Change(rec);
        const TSummaryRows rows = SummaryRows(rec, c.Locale);
        EXPECT_EQ(rows.Row0Title, c.Row0Title);
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(rows.Values[row], c.Values[row]) << "row " << row;
        EXPECT_EQ(rows.TextPage, c.TextPage);
    }
}

TEST(ReportTexts, OneDecimalAfterSignificantDigits)
{
    const struct {
        double Value;
        int Precision;
        const char* Text;
    } cases[] = {
        {4.55f, 2, "4.6"}, {12.34, 2, "12.0"}, {36.08f, 3, "36.1"}, {5.04, 3, "5.0"},  {139.93f, 4, "139.9"},
        {0, 2, "0.0"},     {-0.04, 3, "0.0"},  {-20.7f, 3, "-20.7"}, {9.96, 2, "10.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(FixedOneDecimal(c.Value, c.Precision, japan), QString::fromLatin1(c.Text));
    }
}

TEST(ReportTexts, CountLabelAndValueColumn)
{
    EXPECT_EQ(CountLabelText(2, 12), QStringLiteral("3 / 12"));
    EXPECT_EQ(CountLabelText(-1, 10), QStringLiteral("10"));
    EXPECT_EQ(CountLabelText(-1, 0), QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(ValueColumnWidth(292, 125), 143);
    EXPECT_DOUBLE_EQ(ValueColumnWidth(140, 125), 0);
}

}  // namespace
