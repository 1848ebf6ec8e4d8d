#include "app/mainform.h"

#include "app/reporttexts.h"
#include "core/log.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include <exception>

void TMainForm::ClearItem()
{
    for (int row = 0; row < 4; ++row)
        StringGrid1->item(row, 1)->setText(QString());
    CommentBox->clear();
    FBitmap.fill(0);
    TreeView1->clear();
    Memo1->clear();
}

void TMainForm::ShowItem(const TJmaRec& Rec)
{
    FShownRec = &Rec;
    ClearItem();
    try {
        TitleLabel->setText(Rec.Title);
        const TSummaryRows rows = SummaryRows(Rec, QLocale());
        TabControl1->setCurrentWidget(rows.TextPage ? TabItem1 : TabItem2);
        StringGrid1->item(0, 0)->setText(rows.Row0Title);
        for (int row = 0; row < 4; ++row)
            StringGrid1->item(row, 1)->setText(rows.Values[row]);
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.ShowItem"), QString::fromUtf8(e.what()));
    }
}

void TMainForm::StringGrid1Resized()
{
    const double width = ValueColumnWidth(StringGrid1->width(), StringGrid1->columnWidth(0));
    StringGrid1->setColumnWidth(1, static_cast<int>(width));
}
