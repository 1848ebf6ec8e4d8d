#include "core/folder.h"

#include "core/log.h"

#include <filesystem>
#include <mutex>
#include <stdexcept>

namespace {

std::mutex folderLock;
QString folder;

}  // namespace

QString AppFolder()
{
    std::lock_guard lock(folderLock);
    return folder;
}

void SetAppFolder(const QString& Folder)
{
    std::lock_guard lock(folderLock);
    folder = Folder;
}

void InitFolder()
{
    try {
        const auto exe = std::filesystem::read_symlink("/proc/self/exe");
        SetAppFolder(QString::fromStdString(exe.parent_path().string()));
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("InitFolder"), QString::fromLocal8Bit(e.what()));
    }
}
