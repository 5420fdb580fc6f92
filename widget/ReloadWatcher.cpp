#include "widget/ReloadWatcher.h"

#include "shared/SharedStatsStore.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace orbistat::widget {

ReloadWatcher::ReloadWatcher(std::optional<QString> storeFolder, QObject* parent)
    : QObject(parent)
    , folder_(std::move(storeFolder))
{
    if (!folder_ || folder_->isEmpty())
        return;
    reloadPath_ = QDir(*folder_).filePath(QString::fromLatin1(reloadFileName));
    last_ = readStamp();
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &ReloadWatcher::onChange);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ReloadWatcher::onChange);
    rearm();
}

QStringList ReloadWatcher::watchedPaths() const
{
    return watcher_.directories() + watcher_.files();
}

ReloadWatcher::Stamp ReloadWatcher::readStamp() const
{
    struct stat info {};
    if (::stat(QFile::encodeName(reloadPath_).constData(), &info) != 0)
        return {};
    return {true, static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino),
            static_cast<qint64>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<qint64>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec};
}

void ReloadWatcher::rearm()
{
    QStringList wanted;
    if (QFileInfo(*folder_).isDir()) {
        wanted << *folder_;
        // Also the file itself: a touch that rewrites it in place changes
        // nothing in the folder.
        if (QFileInfo::exists(reloadPath_))
            wanted << reloadPath_;
    } else {
        QString ancestor = QFileInfo(*folder_).absoluteFilePath();
        while (!QFileInfo(ancestor).isDir()) {
            const QString parent = QFileInfo(ancestor).absolutePath();
            if (parent == ancestor)
                break;
            ancestor = parent;
        }
        if (QFileInfo(ancestor).isDir())
            wanted << ancestor;
    }
    // The file's watch dies with the inode an atomic replace removes: always
    // watch the current one afresh.
    if (watcher_.files().contains(reloadPath_))
        watcher_.removePath(reloadPath_);
    const QStringList current = watchedPaths();
    for (const auto& path : current) {
        if (!wanted.contains(path))
            watcher_.removePath(path);
    }
    for (const auto& path : wanted) {
        if (!current.contains(path))
            watcher_.addPath(path);
    }
}

void ReloadWatcher::onChange()
{
    rearm();
    const Stamp now = readStamp();
    if (now == last_)
        return;
    last_ = now;
    // A reload file that went away asks for nothing.
    if (now.exists)
        emit reloadRequested();
}

} // namespace orbistat::widget
