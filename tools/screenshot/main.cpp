// Saves the whole X screen as a PNG: tavrel-screenshot OUT.png. Used by scripts/run to show
// what the viewer looks like on a machine without a display of its own (under Xvfb).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrel-screenshot OUT.png\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "tavrel-screenshot: cannot grab or save the screen\n");
        return 1;
    }
    return 0;
}
