#include "shared/SharedStatsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// One environment variable as last seen: set or not, and its bytes.
struct SeenVariable {
    const char* name;
    bool isSet = false;
    std::string value;

    // Reads the variable again; true when it differs from what was seen.
    bool refresh()
    {
        const char* now = std::getenv(name);
        if ((now != nullptr) == isSet && (now == nullptr || value == now))
            return false;
        isSet = now != nullptr;
        value = now != nullptr ? now : "";
        return true;
    }
};

// Where the store is, derived from the environment again only when one of
// the variables it depends on changed: the main program asks on every tick.
struct StoreLocation {
    std::optional<QString> group;
    std::optional<QString> folder;
    std::string encodedFolder;
    bool inRuntimeFolder = false;
};

const StoreLocation& currentLocation()
{
    // Per thread, so that no lock is needed; in practice only the main
    // thread asks.
    thread_local SeenVariable variables[] = {{"ORBISTAT_APP_GROUPS", false, {}}, {"XDG_RUNTIME_DIR", false, {}},
                                             {"XDG_CACHE_HOME", false, {}}, {"HOME", false, {}}};
    thread_local StoreLocation location;
    thread_local bool derived = false;
    bool changed = !derived;
    for (auto& variable : variables)
        changed = variable.refresh() || changed;
    if (!changed)
        return location;
    derived = true;

    const auto& [groupsVariable, runtimeVariable, cacheVariable, homeVariable] = variables;
    const QString groups = groupsVariable.isSet ? QString::fromLocal8Bit(groupsVariable.value) : QString::fromLatin1(compiledGroups);
    const auto first = groups.section(QLatin1Char(','), 0, 0).trimmed();
    location = StoreLocation{};
    if (!isUsableGroup(first))
        return location;
    location.group = first;

    QString base;
    const auto runtime = QString::fromLocal8Bit(runtimeVariable.value);
    const auto cache = QString::fromLocal8Bit(cacheVariable.value);
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        base = runtime;
        location.inRuntimeFolder = true;
    } else if (!cache.isEmpty() && QDir::isAbsolutePath(cache)) {
        base = cache;
    } else {
        base = QDir::homePath() + QStringLiteral("/.cache");
    }
    location.folder = base + QStringLiteral("/orbistat/") + first;
    location.encodedFolder = QFile::encodeName(*location.folder).toStdString();
    return location;
}

// Creates the store folder (and the orbistat folder above it) readable by
// the user only. Each must be a real folder: a symbolic link in their place
// would send the snapshot somewhere else.
bool ensurePrivateFolder(const std::string& folder)
{
    const auto slash = folder.rfind('/');
    const auto parentSlash = slash == std::string::npos || slash == 0 ? std::string::npos : folder.rfind('/', slash - 1);
    if (parentSlash == std::string::npos)
        return false;
    const std::string parent = folder.substr(0, slash);
    // The base folder (runtime or cache) may itself be missing.
    if (parentSlash > 0 && !QDir().mkpath(QFile::decodeName(folder.substr(0, parentSlash).c_str())))
        return false;
    for (const auto& path : {parent, folder}) {
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return false;
        if ((info.st_mode & 07777) != 0700)
            ::chmod(path.c_str(), 0700);
    }
    return true;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Opens a fresh temporary file: one of ours left by an earlier process with
// the same id is removed first; a link in its place is never followed.
int openTemporary(const std::string& path)
{
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0)
        fd = ::open(path.c_str(), flags, 0600);
    return fd;
}

// Replaces the file at `finalPath` with `bytes`: readers see the old content
// or the new one, never a part. `temporaryPath` is in the same folder.
// errno tells a missing folder (ENOENT) from other failures.
bool replaceFile(const std::string& temporaryPath, const std::string& finalPath, std::string_view bytes)
{
    const int fd = openTemporary(temporaryPath);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporaryPath.c_str(), finalPath.c_str()) == 0)
        return true;
    const int error = errno;
    ::unlink(temporaryPath.c_str());
    errno = error;
    return false;
}

// Writes one key's file into the store folder, creating the folder when it
// is missing.
bool writeStoreFile(const std::string& folder, bool& folderReady, const std::string& temporaryPath, const std::string& finalPath,
                    std::string_view bytes)
{
    if (!folderReady && !(folderReady = ensurePrivateFolder(folder)))
        return false;
    if (replaceFile(temporaryPath, finalPath, bytes))
        return true;
    if (errno != ENOENT)
        return false;
    // The folder went away (a session cleaning its runtime folder): make it
    // again and try once more.
    folderReady = ensurePrivateFolder(folder);
    return folderReady && replaceFile(temporaryPath, finalPath, bytes);
}

void setPaths(const std::string& folder, std::string_view name, std::string& temporaryPath, std::string& finalPath)
{
    finalPath = folder;
    finalPath += '/';
    finalPath += name;
    temporaryPath = folder;
    temporaryPath += "/.";
    temporaryPath += name;
    temporaryPath += '.';
    temporaryPath += std::to_string(::getpid());
    temporaryPath += ".tmp";
}

} // namespace

std::optional<QString> applicationGroup()
{
    return currentLocation().group;
}

std::optional<QString> sharedStoreFolder()
{
    return currentLocation().folder;
}

bool sharedStoreIsInRuntimeFolder()
{
    return currentLocation().inRuntimeFolder;
}

bool SharedStatsWriter::save(const SharedStats& stats)
{
    const auto& location = currentLocation();
    if (!location.folder)
        return false;
    if (location.encodedFolder != folder_) {
        folder_ = location.encodedFolder;
        folderReady_ = false;
        setPaths(folder_, sharedStatsKey, temporaryPath_, finalPath_);
    }
    if (!encodeSharedStats(stats, json_))
        return false;
    return writeStoreFile(folder_, folderReady_, temporaryPath_, finalPath_, json_);
}

bool saveSharedStats(const SharedStats& stats)
{
    return SharedStatsWriter().save(stats);
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
    const auto& location = currentLocation();
    if (!location.folder)
        return false;
    std::string temporaryPath, finalPath;
    setPaths(location.encodedFolder, reloadFileName, temporaryPath, finalPath);
    bool folderReady = false;
    // The content changes with every request, so a watcher can tell a
    // reload request from the snapshot being rewritten beside it.
    const auto stamp = std::to_string(QDateTime::currentMSecsSinceEpoch());
    return writeStoreFile(location.encodedFolder, folderReady, temporaryPath, finalPath, stamp);
}

} // namespace orbistat
