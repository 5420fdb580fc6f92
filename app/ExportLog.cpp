#include "app/ExportLog.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace orbistat {

ExportLog::ExportLog(QString folder, std::FILE* errors)
    : folder_(std::move(folder))
    , errors_(errors)
{
}

void ExportLog::log(const QString& message, bool restart) const
{
    const QByteArray line = (message + QLatin1Char('\n')).toUtf8();
    if (errors_) {
        std::fputs("   [export] ", errors_);
        std::fwrite(line.constData(), 1, size_t(line.size()), errors_);
        std::fflush(errors_);
    }
    QDir().mkpath(folder_);
    const QByteArray path = QFile::encodeName(QDir(folder_).filePath(fileName()));
    // O_NOFOLLOW: a link planted in place of the log is not followed.
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (restart ? O_TRUNC : O_APPEND);
    const int fd = ::open(path.constData(), flags, 0644);
    if (fd < 0)
        return;
    const char* data = line.constData();
    qsizetype left = line.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written <= 0)
            break;
        data += written;
        left -= written;
    }
    ::close(fd);
}

} // namespace orbistat
