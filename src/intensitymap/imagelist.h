#pragma once

#include <QImage>
#include <QString>

#include <vector>

// The 17 pictures (64 x 64, with transparency) that the report list, the intensity tree and
// the map share by index: 0 to 9 the intensities, 10 information, 11 training, 12 and 13 the
// epicentre marks, 14 epicentre information, 15 distant earthquake, 16 epicentre report.
constexpr int ImageList1Count = 17;
constexpr int EpicenterImageIndex = 13;

// The pictures in index order, read from the built-in resources.
std::vector<QImage> ImageList1();

// The picture index of an intensity text: "1" to "4" give 1 to 4, "5-" 5, "5+" 6, "6-" 7,
// "6+" 8, "7" 9; any other text, the empty one too, 0. Compared exactly, no trimming.
int ShindoToImageIndex(const QString& Text);
