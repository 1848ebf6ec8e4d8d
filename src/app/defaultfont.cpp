#include "app/defaultfont.h"

#include <QApplication>
#include <QFont>

void InstallDefaultFont()
{
    const QString family = QStringLiteral("Meiryo UI");
    QFont::insertSubstitutions(family, {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"),
                                        QStringLiteral("VL Gothic"), QStringLiteral("Sans Serif")});
    QFont font(family);
    font.setPixelSize(11);
    QApplication::setFont(font);
}
