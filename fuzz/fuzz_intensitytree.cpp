#include "app/intensitytree.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QTreeWidget>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The intensity text of a record as the window builds its tree and collects the map's marks.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    static const std::vector<QIcon> icons(17, QIcon(QPixmap(4, 4)));
    QTreeWidget tree;
    BuildIntensityTree(tree, QString::fromUtf8(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size)), icons);
    (void)CollectAreaMarks(tree);
    return 0;
}
