#include "shared/SharedStatsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <sys/stat.h>

namespace orbistat {

namespace {

constexpr char compiledGroups[] = "group.orbistat";
// A snapshot is a few kilobytes; anything far larger is not one of ours and
// is not read into memory.
constexpr qint64 maxSnapshotBytes = 4 * 1024 * 1024;

// The group name becomes a folder name: it must stay one path component.
bool isUsableGroup(const QString& group)
{
    return !group.isEmpty() && group != QLatin1String(".") && group != QLatin1String("..") && !group.contains(QLatin1Char('/'))
        && !group.contains(QChar(0));
}

QString baseFolder()
{
    const auto runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return runtime;
    const auto cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.isEmpty() && QDir::isAbsolutePath(cache))
        return cache;
    return QDir::homePath() + QStringLiteral("/.cache");
}

// Creates the store folder (and the orbistat folder above it) readable by
// the user only.
bool ensurePrivateFolder(const QString& folder)
{
    const QString parent = QFileInfo(folder).absolutePath();
    for (const auto& path : {parent, folder}) {
        if (!QDir().mkpath(path))
            return false;
        ::chmod(QFile::encodeName(path).constData(), 0700);
    }
    return QFileInfo(folder).isDir();
}

bool writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size())
        return false;  // QSaveFile discards the partial file; the old one stays
    return file.commit();
}

} // namespace

std::optional<QString> applicationGroup()
{
    const QString groups = qEnvironmentVariableIsSet("ORBISTAT_APP_GROUPS") ? qEnvironmentVariable("ORBISTAT_APP_GROUPS")
                                                                              : QString::fromLatin1(compiledGroups);
    const auto first = groups.section(QLatin1Char(','), 0, 0).trimmed();
    if (!isUsableGroup(first))
        return std::nullopt;
    return first;
}

std::optional<QString> sharedStoreFolder()
{
    const auto group = applicationGroup();
    if (!group)
        return std::nullopt;
    return baseFolder() + QStringLiteral("/orbistat/") + *group;
}

bool saveSharedStats(const SharedStats& stats)
{
    const auto folder = sharedStoreFolder();
    if (!folder)
        return false;
    const auto json = encodeSharedStats(stats);
    if (!json || !ensurePrivateFolder(*folder))
        return false;
    return writeAtomically(*folder + QLatin1Char('/') + QLatin1String(sharedStatsKey), *json);
}

std::optional<SharedStats> loadSharedStats()
{
    const auto folder = sharedStoreFolder();
    if (!folder)
        return std::nullopt;
    QFile file(*folder + QLatin1Char('/') + QLatin1String(sharedStatsKey));
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxSnapshotBytes)
        return std::nullopt;
    return decodeSharedStats(file.read(maxSnapshotBytes));
}

bool requestWidgetReload()
{
    const auto folder = sharedStoreFolder();
    if (!folder || !ensurePrivateFolder(*folder))
        return false;
    // The content changes with every request, so a watcher can tell a
    // reload request from the snapshot being rewritten beside it.
    const auto stamp = QByteArray::number(QDateTime::currentMSecsSinceEpoch());
    return writeAtomically(*folder + QLatin1Char('/') + QLatin1String(reloadFileName), stamp);
}

} // namespace orbistat
