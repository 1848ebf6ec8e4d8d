#include "commands.h"

#include "app/defaultfont.h"
#include "core/folder.h"

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

// Keeps stderr to the tool's own messages: a machine without a user session has no
// XDG_RUNTIME_DIR, and Qt would say so on every run.
void QuietMessages(QtMsgType Type, const QMessageLogContext& Context, const QString& Message)
{
    if (Type == QtWarningMsg && Message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(Type, Context, Message)));
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
    qInstallMessageHandler(QuietMessages);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int status = 0;
    {
        QApplication app(argc, argv);
        InstallDefaultFont();
        InitFolder();
        QStringList args = QApplication::arguments().mid(2);
        status = found->second.run(args);
    }
    curl_global_cleanup();
    return status;
}
