#include "app/mainform.h"

#include "app/intensitytree.h"
#include "core/log.h"

#include <QLabel>
#include <QStackedWidget>
#include <QTreeWidget>

#include <exception>

void TMainForm::ShowDetails(const TJmaRec& Rec)
{
    try {
        if (Rec.ReportType == rtOthers) {
            TabControl1->setCurrentWidget(TabItem1);
            AppendMemoBlocks(*Memo1, Rec);
            return;
        }
        CommentBox->setText(Rec.Comments[0]);
        switch (Rec.ReportType) {
        case rtNormal:
        case rtIntensityOnly:
            JsonToTreeview(Rec);
            DrawShindo(Rec);
            TabControl1->setCurrentWidget(TabItem2);
            break;
        case rtEpicenterOnly:
            DrawEpicenter(Rec.Epicenter);
            TabControl1->setCurrentWidget(TabItem2);
            break;
        default:
            TabControl1->setCurrentWidget(TabItem1);
            AppendMemoBlocks(*Memo1, Rec);
            break;
        }
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("TMainForm.ShowDetails"), QString::fromUtf8(e.what()));
    }
}

void TMainForm::JsonToTreeview(const TJmaRec& Rec)
{
    BuildIntensityTree(*TreeView1, Rec.Intensity, FIcons);
}
