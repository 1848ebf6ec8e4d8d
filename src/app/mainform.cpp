#include "app/mainform.h"

#include "core/folder.h"

TMainForm::TMainForm(QWidget* Parent)
    : QWidget(Parent)
{
    FormCreate();
}

void TMainForm::FormCreate()
{
    InitFolder();
    setWindowTitle(QStringLiteral("Tavrel test"));
    resize(600, 500);
    setMinimumSize(600, 450);
}
