#include "commands.h"

#include "app/defaultfont.h"

#include <QApplication>

#include <curl/curl.h>

#include <cstdio>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const auto& [name, command] : Commands())
        std::fprintf(stderr, "  tavrel-cli %s\n", command.usage.c_str());
    return 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2)
        return Usage();
    const auto found = Commands().find(argv[1]);
    if (found == Commands().end())
        return Usage();
    // Map rendering measures text and paints pictures, which needs a GUI application; with no
    // display the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int status = 0;
    {
        QApplication app(argc, argv);
        InstallDefaultFont();
        QStringList args = QApplication::arguments().mid(2);
        status = found->second.run(args);
    }
    curl_global_cleanup();
    return status;
}
