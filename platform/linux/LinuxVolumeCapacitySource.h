// Size and free space of the volume holding the user's data: the root
// filesystem, or, where "/" is mounted read-only, the filesystem of /var.
// Image-based systems (ostree, composefs) mount "/" as a small read-only
// image (a few MB with 0 bytes available) and keep user data and /home
// under /var: measuring "/" there would show a disk 100 % full.
//
// On a running machine the flags come from statvfs of "/" itself; under a
// recorded tree from the tree's proc/self/mountinfo (the host's flags say
// nothing about the tree), and the capacity is that of the tree's folder.
#pragma once

#include "platform/VolumeCapacitySource.h"
#include "platform/linux/LinuxRoot.h"

#include <functional>
#include <sys/statvfs.h>

namespace orbistat {

class LinuxVolumeCapacitySource final : public VolumeCapacitySource {
public:
    // The call that describes a filesystem: statvfs, replaced in tests.
    using StatFilesystem = std::function<int(const char* path, struct statvfs* info)>;

    explicit LinuxVolumeCapacitySource(const LinuxRoot& root, StatFilesystem statFilesystem = &::statvfs);
    // total = f_blocks × f_frsize; available = f_bavail × f_frsize, the space
    // an ordinary user can still use (root's reserve left out).
    std::optional<VolumeCapacity> read() override;

private:
    bool stat(const std::filesystem::path& path, struct statvfs& info) const;
    bool isRootReadOnly(const struct statvfs& rootInfo) const;

    LinuxRoot root_;
    StatFilesystem statFilesystem_;
};

} // namespace orbistat
