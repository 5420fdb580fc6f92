#include "platform/linux/LinuxVolumeCapacitySource.h"

#include "platform/linux/MountInfoParser.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>

namespace orbistat {

LinuxVolumeCapacitySource::LinuxVolumeCapacitySource(const LinuxRoot& root, StatFilesystem statFilesystem)
    : root_(root)
    , statFilesystem_(std::move(statFilesystem))
{
}

bool LinuxVolumeCapacitySource::stat(const std::filesystem::path& path, struct statvfs& info) const
{
    int status = 0;
    do {
        status = statFilesystem_(path.c_str(), &info);
    } while (status != 0 && errno == EINTR);
    return status == 0;
}

bool LinuxVolumeCapacitySource::isRootReadOnly(const struct statvfs& rootInfo) const
{
    if (!root_.isRecorded())
        return (rootInfo.f_flag & ST_RDONLY) != 0;
    // A mount table is a few kB; a long one is cut, and "/" comes first.
    const auto mountinfo = root_.readBytes("proc/self/mountinfo", 256 * 1024);
    return mountinfo && orbistat::isRootReadOnly(*mountinfo).value_or(false);
}

std::optional<VolumeCapacity> LinuxVolumeCapacitySource::read()
{
    struct statvfs info {};
    if (!stat(root_.path(), info))
        return std::nullopt;
    // A /var that cannot be asked leaves the figures of "/".
    if (isRootReadOnly(info)) {
        struct statvfs var {};
        if (stat(root_.resolve("var"), var))
            info = var;
    }

    VolumeCapacity capacity;
    uint64_t total = 0, available = 0;
    const uint64_t unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    if (!__builtin_mul_overflow(static_cast<uint64_t>(info.f_blocks), unit, &total))
        capacity.totalBytes = total;
    if (!__builtin_mul_overflow(static_cast<uint64_t>(info.f_bavail), unit, &available))
        capacity.availableBytes = static_cast<int64_t>(std::min<uint64_t>(available, std::numeric_limits<int64_t>::max()));
    return capacity;
}

} // namespace orbistat
