#include "shared/SharedStatsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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
    const auto group = applicationGroup();
    if (!group)
        return Descriptor();
    const QString base = baseFolder();
    if (access == Access::write && !QDir().mkpath(base))
        return Descriptor();
    Descriptor baseFd(::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!baseFd)
        return Descriptor();
    const Descriptor orbistat = openStoreFolder(baseFd.get(), QByteArrayLiteral("orbistat"), access);
    if (!orbistat)
        return Descriptor();
    return openStoreFolder(orbistat.get(), QFile::encodeName(*group), access);
}

QByteArray temporaryName(const char* key)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = QByteArray(key) + '.';
    for (int i = 0; i < temporarySuffixLength; ++i)
        name += letters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof letters - 1))];
    return name;
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

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const auto n = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

// Writes a new file beside the value and renames it over the value: a
// reader sees the old or the new content, never a part, and a link in the
// value's place is replaced, never written through. A failure leaves the
// old value as it was.
bool writeAtomically(int folder, const char* key, const QByteArray& bytes)
{
    QByteArray temporary;
    Descriptor file;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temporary = temporaryName(key);
        file = Descriptor(::openat(folder, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file && errno != EEXIST)
            return false;
    }
    if (!file)
        return false;
    const bool written = writeAll(file.get(), bytes) && ::fchmod(file.get(), 0600) == 0;
    if (!written || ::renameat(folder, temporary.constData(), folder, key) != 0) {
        ::unlinkat(folder, temporary.constData(), 0);
        return false;
    }
    return true;
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
    if (!applicationGroup())
        return false;
    const auto json = encodeSharedStats(stats);
    if (!json)
        return false;
    const auto folder = openGroupFolder(Access::write);
    return folder && writeAtomically(folder.get(), sharedStatsKey, *json);
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
    const auto stamp = QByteArray::number(QDateTime::currentMSecsSinceEpoch());
    return folder && writeAtomically(folder.get(), reloadFileName, stamp);
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
