#include "shared/SharedStatsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orbistat {

namespace {

constexpr char compiledGroups[] = "group.orbistat";
// A snapshot is a few kilobytes; anything far larger is not one of ours and
// is not read into memory.
constexpr qint64 maxSnapshotBytes = 4 * 1024 * 1024;
// A value is written to "KEY.XXXXXX" beside it, then renamed over it.
constexpr int temporarySuffixLength = 6;

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(Descriptor&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

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
    QString base;  // the runtime or cache folder the store is in
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
    location.base = base;
    location.folder = base + QStringLiteral("/orbistat/") + first;
    location.encodedFolder = QFile::encodeName(*location.folder).toStdString();
    return location;
}

enum class Access { read, write };

// One folder of the store inside `parent`: a real folder, never a link,
// owned by this user. Opened without following a link, so a link planted
// in its place (to someone else's folder, or to a folder elsewhere of the
// user's) is refused rather than written into or re-moded. A writer makes
// a missing folder (mode 0700) and makes an existing one private, on the
// opened folder itself; a reader changes nothing.
Descriptor openStoreFolder(int parent, const QByteArray& name, Access access)
{
    if (access == Access::write && ::mkdirat(parent, name.constData(), 0700) != 0 && errno != EEXIST)
        return Descriptor();
    Descriptor folder(::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!folder || ::fstat(folder.get(), &status) != 0 || status.st_uid != ::geteuid())
        return Descriptor();
    if (access == Access::write && (status.st_mode & 07777) != 0700 && ::fchmod(folder.get(), 0700) != 0)
        return Descriptor();
    return folder;
}

// The group's folder below the base folder, made when written to. The base
// itself is the user's own choice and may be a link (~/.cache on another
// disk); the two folders of the store may not.
Descriptor openGroupFolder(Access access)
{
    const auto& location = currentLocation();
    if (!location.group)
        return Descriptor();
    if (access == Access::write && !QDir().mkpath(location.base))
        return Descriptor();
    Descriptor baseFd(::open(QFile::encodeName(location.base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!baseFd)
        return Descriptor();
    const Descriptor orbistat = openStoreFolder(baseFd.get(), QByteArrayLiteral("orbistat"), access);
    if (!orbistat)
        return Descriptor();
    return openStoreFolder(orbistat.get(), QFile::encodeName(*location.group), access);
}

// A fresh temporary name for `key`, "KEY.XXXXXX", written into `name` (a
// buffer a writer keeps).
void setTemporaryName(std::string& name, const char* key)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    name.assign(key);
    name += '.';
    for (int i = 0; i < temporarySuffixLength; ++i)
        name += letters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof letters - 1))];
}

bool isTemporaryName(const char* entry)
{
    for (const char* key : {sharedStatsKey, reloadFileName}) {
        const auto length = std::strlen(key);
        if (std::strncmp(entry, key, length) != 0 || entry[length] != '.')
            continue;
        const char* suffix = entry + length + 1;
        if (std::strlen(suffix) != temporarySuffixLength)
            continue;
        if (std::all_of(suffix, suffix + temporarySuffixLength, [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
            return true;
    }
    return false;
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

// Writes a new file beside the value and renames it over the value: a
// reader sees the old or the new content, never a part, and a link in the
// value's place is replaced, never written through. A failure leaves the
// old value as it was; errno then tells a folder that went away (ENOENT).
// Nothing is synced: the store is rewritten at every tick, and the widgets
// take a missing or old snapshot as one.
bool writeAtomically(int folder, const char* key, std::string_view bytes, std::string& temporary)
{
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        setTemporaryName(temporary, key);
        fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    const Descriptor file(fd);
    const bool written = writeAll(file.get(), bytes) && ::fchmod(file.get(), 0600) == 0;
    if (!written || ::renameat(folder, temporary.c_str(), folder, key) != 0) {
        const int error = errno;
        ::unlinkat(folder, temporary.c_str(), 0);
        errno = error;
        return false;
    }
    return true;
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

SharedStatsWriter::~SharedStatsWriter()
{
    if (folder_ >= 0)
        ::close(folder_);
}

bool SharedStatsWriter::reopenFolder()
{
    if (folder_ >= 0)
        ::close(folder_);
    folder_ = openGroupFolder(Access::write).release();
    return folder_ >= 0;
}

bool SharedStatsWriter::save(const SharedStats& stats)
{
    const auto& location = currentLocation();
    if (!location.group)
        return false;
    if (!encodeSharedStats(stats, json_))
        return false;
    if (location.encodedFolder != folderPath_) {
        folderPath_ = location.encodedFolder;
        if (!reopenFolder())
            return false;
    } else if (folder_ < 0 && !reopenFolder()) {
        return false;
    }
    if (writeAtomically(folder_, sharedStatsKey, json_, temporary_))
        return true;
    if (errno != ENOENT)
        return false;
    // The folder went away (a session cleaning its runtime folder): make it
    // again and try once more.
    return reopenFolder() && writeAtomically(folder_, sharedStatsKey, json_, temporary_);
}

bool saveSharedStats(const SharedStats& stats)
{
    return SharedStatsWriter().save(stats);
}

std::optional<SharedStats> loadSharedStats()
{
    const auto folder = openGroupFolder(Access::read);
    if (!folder)
        return std::nullopt;
    // Only a regular file of the store itself: a link is not ours, and a
    // FIFO would block the open (hence O_NONBLOCK) and every read after it.
    Descriptor file(::openat(folder.get(), sharedStatsKey, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxSnapshotBytes)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(status.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const auto n = ::read(file.get(), bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        filled += n;
    }
    bytes.truncate(filled);
    return decodeSharedStats(bytes);
}

bool requestWidgetReload()
{
    const auto folder = openGroupFolder(Access::write);
    // The content changes with every request, so a watcher can tell a
    // reload request from the snapshot being rewritten beside it.
    const auto stamp = std::to_string(QDateTime::currentMSecsSinceEpoch());
    std::string temporary;
    return folder && writeAtomically(folder.get(), reloadFileName, stamp, temporary);
}

int removeStaleTemporaryFiles()
{
    const auto folder = openGroupFolder(Access::read);
    if (!folder)
        return 0;
    // fdopendir takes over the descriptor it is given: hand it a copy.
    DIR* entries = ::fdopendir(::dup(folder.get()));
    if (entries == nullptr)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(entries)) {
        struct stat status {};
        if (!isTemporaryName(entry->d_name) || ::fstatat(folder.get(), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(status.st_mode) && ::unlinkat(folder.get(), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(entries);
    return removed;
}

} // namespace orbistat
