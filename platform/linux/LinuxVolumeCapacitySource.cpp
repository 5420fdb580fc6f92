#include "platform/linux/LinuxVolumeCapacitySource.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <sys/statvfs.h>

namespace orbistat {

LinuxVolumeCapacitySource::LinuxVolumeCapacitySource(const LinuxRoot& root)
    : root_(root)
{
}

std::optional<VolumeCapacity> LinuxVolumeCapacitySource::read()
{
    struct statvfs info {};
    int status = 0;
    do {
        status = ::statvfs(root_.path().c_str(), &info);
    } while (status != 0 && errno == EINTR);
    if (status != 0)
        return std::nullopt;

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
