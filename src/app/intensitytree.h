#pragma once

#include "feed/jmarec.h"
#include "intensitymap/createshindoimage.h"

#include <QIcon>
#include <QString>

#include <vector>

class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

// Item data of the intensity tree: the ImageList1 index of the item's icon (absent when the
// item has none) and a station's coordinate text "lat,lon".
constexpr int ImageIndexRole = Qt::UserRole;
constexpr int TagTextRole = Qt::UserRole + 1;

// Adds the prefectures, areas, cities and stations of an intensity text (a JSON array of
// prefectures) to Tree, each below its parent with the icon of its intensity out of Icons,
// every prefecture expanded. Text that is no JSON adds nothing; a document of another shape
// stops the filling with the log line "TMainForm.JsonToTreeview", keeping what was added.
void BuildIntensityTree(QTreeWidget& Tree, const QString& Intensity, const std::vector<QIcon>& Icons);

// The ImageList1 index of an item's icon; -1 when it has none.
int TreeItemImageIndex(const QTreeWidgetItem& Item);

// One mark per area item (the second level), in tree order, walking into expanded items only.
std::vector<TShindListRec> CollectAreaMarks(const QTreeWidget& Tree);

// Appends the headline, the second and the third comment of Rec, those that are not empty,
// to Memo, an empty line between two of them.
void AppendMemoBlocks(QPlainTextEdit& Memo, const TJmaRec& Rec);
