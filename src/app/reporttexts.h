#pragma once

#include "feed/jmarec.h"

#include <QLocale>
#include <QString>

#include <array>

// The texts the window shows for a report, kept apart from the widgets so that they can be
// checked without a window. Dates follow the date and time separators of the given locale,
// numbers its decimal separator.

// The first non-letter character of the locale's short date format ("/" for ja_JP and
// en_US, "." for de_DE); "/" when the format has none.
QChar DateSeparator(const QLocale& Locale);

// The same for the short time format; ":" when it has none.
QChar TimeSeparator(const QLocale& Locale);

// A date-time as "yyyy/mm/dd hh:nn" (WithYear) or "mm/dd hh:nn", with ":ss" appended when
// WithSeconds. The value zero (a null date-time) is shown as the zero date 1899/12/30 00:00.
QString FormatReportTime(const TDateTime& Time, const QLocale& Locale, bool WithYear, bool WithSeconds);

// Value rounded to Precision significant digits, but to no more than one decimal, and shown
// with exactly one decimal: (4.55, 2) -> "4.6", (36.08, 3) -> "36.1", (12.34, 2) -> "12.0".
QString FixedOneDecimal(double Value, int Precision, const QLocale& Locale);

struct TListItemTexts {
    QString Text;
    QString Detail;
    int ImageIndex = 0;
};

// The picture of a report's list item (an index of the report pictures).
int ListImageIndex(const TJmaRec& Rec);

// The two lines and the picture of a report's list item.
TListItemTexts ListItemTexts(const TJmaRec& Rec, const QLocale& Locale);

inline const QString OccurTimeTitle = QStringLiteral("発生日時");
inline const QString ReportTimeTitle = QStringLiteral("発表日時");

// The head of a report in the summary grid: the title of row 0 and the four values.
// TextPage tells that the report belongs on the text page rather than the intensity page.
struct TSummaryRows {
    QString Row0Title;
    std::array<QString, 4> Values;
    bool TextPage = false;
};

TSummaryRows SummaryRows(const TJmaRec& Rec, const QLocale& Locale);

// The row titles written when the window is made.
inline const std::array<QString, 4> SummaryRowTitles = {
    OccurTimeTitle,
    QStringLiteral("震央名（コード）"),
    QStringLiteral("震央（経緯度／深さ）"),
    QStringLiteral("マグニチュード／震度"),
};

// "index / count" for a selected item (Selected counts from 0), the item count otherwise.
QString CountLabelText(int Selected, int Count);

// The address of a report's detail document on Endpoint ("https://host[:port]").
QString DetailUrl(const QString& Endpoint, const QString& Json);

// Width of the summary grid's value column: what the first column and a margin of 24 leave
// of the grid, never below zero.
double ValueColumnWidth(double GridWidth, double FirstColumnWidth);
