#include "app/reporttexts.h"

#include "intensitymap/imagelist.h"

#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace {

QChar FirstSeparator(const QString& Format, QChar Fallback)
{
    for (const QChar c : Format) {
        if (!c.isLetter() && c != u'\'' && !c.isSpace())
            return c;
    }
    return Fallback;
}

QString Pad2(int Value)
{
    return QStringLiteral("%1").arg(Value, 2, 10, QLatin1Char('0'));
}

// The zero date-time of the feed records: 1899-12-30, midnight.
const QDateTime ZeroTime(QDate(1899, 12, 30), QTime(0, 0), QTimeZone::utc());

const QString TrainingMark = QStringLiteral("(訓練)");

}  // namespace

QChar DateSeparator(const QLocale& Locale)
{
    return FirstSeparator(Locale.dateFormat(QLocale::ShortFormat), u'/');
}

QChar TimeSeparator(const QLocale& Locale)
{
    return FirstSeparator(Locale.timeFormat(QLocale::ShortFormat), u':');
}

QString FormatReportTime(const TDateTime& Time, const QLocale& Locale, bool WithYear, bool WithSeconds)
{
    const QDateTime t = Time.isValid() ? Time : ZeroTime;
    const QDate date = t.date();
    const QTime clock = t.time();
    const QChar ds = DateSeparator(Locale);
    const QChar ts = TimeSeparator(Locale);
    QString text;
    if (WithYear)
        text += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) + ds;
    text += Pad2(date.month()) + ds + Pad2(date.day()) + u' ' + Pad2(clock.hour()) + ts + Pad2(clock.minute());
    if (WithSeconds)
        text += ts + Pad2(clock.second());
    return text;
}

QString FixedOneDecimal(double Value, int Precision, const QLocale& Locale)
{
    int decimals = 1;
    if (Value != 0 && std::isfinite(Value)) {
        const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(Value))));
        decimals = std::min(1, Precision - 1 - exponent);
    }
    QString text;
    if (decimals >= 0) {
        text = QString::number(Value, 'f', decimals);
    } else {
        const double unit = std::pow(10.0, -decimals);
        text = QString::number(std::round(Value / unit) * unit, 'f', 0);
    }
    if (decimals < 1)
        text += QStringLiteral(".0");
    if (text.startsWith(u'-') && text.count(u'0') == text.size() - 2)
        text.remove(0, 1);
    return text.replace(u'.', Locale.decimalPoint());
}

int ListImageIndex(const TJmaRec& Rec)
{
    if (Rec.IsTraining)
        return 11;
    switch (Rec.ReportType) {
    case rtOthers:
    case rtEpicenterChanged:
        return 10;
    case rtEpicenterOnly:
        return 16;
    case rtTeleseism:
        return 15;
    case rtNormal:
    case rtIntensityOnly:
        break;
    }
    return ShindoToImageIndex(Rec.MaxIntesity);
}

TListItemTexts ListItemTexts(const TJmaRec& Rec, const QLocale& Locale)
{
    TListItemTexts item;
    if (Rec.Title == ReportTitles[rtNormal]) {
        item.Text = FormatReportTime(Rec.OccurTime, Locale, false, false) + u' ' + Rec.EpicenterName;
        item.Detail = u'M' + FixedOneDecimal(Rec.Magnitude, 2, Locale) + QStringLiteral("  ")
            + FixedOneDecimal(Rec.Epicenter.Y, 3, Locale) + QStringLiteral("N ")
            + FixedOneDecimal(Rec.Epicenter.X, 4, Locale) + QStringLiteral("E  ") + Rec.Depth;
    } else {
        item.Text = FormatReportTime(Rec.OccurTime, Locale, false, true);
        item.Detail = Rec.Title;
    }
    item.ImageIndex = ListImageIndex(Rec);
    return item;
}

namespace {

QString PositionText(const TPointF& Epicenter, const QLocale& Locale)
{
    QString text;
    if (Epicenter.Y > 0)
        text += FixedOneDecimal(Epicenter.Y, 3, Locale) + QStringLiteral("N ");
    else if (Epicenter.Y < 0)
        text += FixedOneDecimal(-Epicenter.Y, 3, Locale) + QStringLiteral("S ");
    if (Epicenter.X > 0)
        text += FixedOneDecimal(Epicenter.X, 4, Locale) + QStringLiteral("E ");
    else if (Epicenter.X < 0)
        text += FixedOneDecimal(-Epicenter.X, 4, Locale) + QStringLiteral("W ");
    return text;
}

}  // namespace

TSummaryRows SummaryRows(const TJmaRec& Rec, const QLocale& Locale)
{
    TSummaryRows rows;
    if (Rec.ReportType == rtOthers) {
        rows.TextPage = true;
        rows.Row0Title = ReportTimeTitle;
        rows.Values[0] = FormatReportTime(Rec.ReportTime, Locale, true, false);
        if (Rec.IsTraining)
            rows.Values[0] += u' ' + TrainingMark;
        return rows;
    }
    rows.Row0Title = OccurTimeTitle;
    rows.Values[0] = FormatReportTime(Rec.OccurTime, Locale, true, false);
    if (Rec.IsTraining)
        rows.Values[0] += TrainingMark;
    if (!Rec.EpicenterName.isEmpty())
        rows.Values[1] = Rec.EpicenterName + QStringLiteral(" (") + QString::number(Rec.EpicenterCode) + u')';
    rows.Values[2] = PositionText(Rec.Epicenter, Locale) + Rec.Depth;
    if (Rec.Magnitude != 0)
        rows.Values[3] = u'M' + FixedOneDecimal(Rec.Magnitude, 2, Locale) + QStringLiteral("  ");
    if (!Rec.MaxIntesity.isEmpty())
        rows.Values[3] += QStringLiteral(" 最大 ") + Rec.MaxIntesity;
    return rows;
}

QString CountLabelText(int Selected, int Count)
{
    if (Selected >= 0)
        return QStringLiteral("%1 / %2").arg(Selected + 1).arg(Count);
    return QString::number(Count);
}

QString DetailUrl(const QString& Endpoint, const QString& Json)
{
    return Endpoint + QStringLiteral("/bosai/quake/data/") + Json;
}

double ValueColumnWidth(double GridWidth, double FirstColumnWidth)
{
    return std::max(0.0, GridWidth - FirstColumnWidth - 24);
}
