#include "commands.h"

#include "app/settings.h"
#include "basemap/maplayer.h"
#include "core/folder.h"

#include <QFileInfo>
#include <QImage>

#include <exception>
#include <optional>

namespace {

struct BasemapOptions {
    QString iniPath;
    QString outPath;
};

std::optional<BasemapOptions> ParseOptions(const QStringList& Args)
{
    BasemapOptions options;
    for (qsizetype i = 0; i < Args.size(); ++i) {
        const bool hasValue = i + 1 < Args.size();
        if (Args[i] == u"-o" && hasValue)
            options.outPath = Args[++i];
        else if (Args[i] == u"--ini" && hasValue)
            options.iniPath = Args[++i];
        else
            return std::nullopt;
    }
    if (options.outPath.isEmpty())
        return std::nullopt;
    return options;
}

// The map colours as the viewer reads them from its settings file; the defaults without one.
std::optional<TDrawMapRec> MapColorsFrom(const QString& IniPath)
{
    if (IniPath.isEmpty())
        return TDrawMapRec{};
    const QFileInfo info(IniPath);
    if (!info.isFile()) {
        PrintError(IniPath + QStringLiteral(": no such settings file"));
        return std::nullopt;
    }
    // a bad colour is logged where the viewer logs it: beside its settings file
    SetAppFolder(info.absolutePath());
    const auto store = OpenSettings(IniPath);
    if (!store) {
        PrintError(IniPath + QStringLiteral(": cannot be read"));
        return std::nullopt;
    }
    return LoadSettings(*store).MapColors;
}

int Basemap(const QStringList& Args)
{
    const auto options = ParseOptions(Args);
    if (!options) {
        PrintError(QStringLiteral("usage: basemap [--ini FILE] -o OUT.png"));
        return 2;
    }
    const auto colors = MapColorsFrom(options->iniPath);
    if (!colors)
        return 2;
    TMapLayer layer;
    QImage map(layer.Width(), layer.Height(), QImage::Format_ARGB32);
    try {
        layer.TestMap(*colors, map);
    } catch (const std::exception& e) {
        PrintError(QString::fromUtf8(e.what()));
        return 1;
    }
    if (!layer.Done()) {
        PrintError(QStringLiteral("the base map could not be painted"));
        return 1;
    }
    if (!map.save(options->outPath, "PNG")) {
        PrintError(options->outPath + QStringLiteral(": cannot be written"));
        return 1;
    }
    return 0;
}

[[maybe_unused]] const bool registered = RegisterCommand("basemap", "basemap [--ini FILE] -o OUT.png", Basemap);

}  // namespace
