#pragma once

#include <QFont>

// The size of the map's caption block (two lines: date and time, place), in composed-map
// pixels, that is half the size of the caption bitmap.
struct TLabelSize {
    int LabelWidth = 0;
    int LabelLineHeight = 0;
    int LabelHeight = 0;
};

// The caption bitmap's resolution, 96 dots per inch, at which CaptionFont is 23.5 pixels
// whatever the display says; give the caption bitmap this resolution (setDotsPerMeterX and
// setDotsPerMeterY) before drawing on it.
constexpr int CaptionDotsPerMeter = 3780;

// The caption font: "游ゴシック", bold, 23.5 pixels; where that family is missing a Japanese
// font of the system stands in for it.
QFont CaptionFont();

// Measures "9999/99/99 99:99" and "福島県沖" in the caption font as the caption block sets them.
// Needs a QGuiApplication.
TLabelSize MeasureLabelSize();
