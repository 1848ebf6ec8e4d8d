#include "core/log.h"

#include "core/folder.h"

#include <QDateTime>

#include <fcntl.h>
#include <unistd.h>

#include <mutex>

namespace {

std::mutex logLock;

QByteArray FormatLine(const QString& Name, const QString& Msg)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    return (stamp + u':' + Name + u'-' + Msg + QStringLiteral("\r\n")).toUtf8();
}

}  // namespace

QString LogFilePath()
{
    return AppFolder() + QStringLiteral("/Tavrel.log");
}

void WriteLog(const QString& Name, const QString& Msg)
{
    const QByteArray line = FormatLine(Name, Msg);
    const QByteArray path = LogFilePath().toLocal8Bit();
    std::lock_guard lock(logLock);
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    qsizetype done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.constData() + done, static_cast<size_t>(line.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    ::close(fd);
}
