// Size and free space of the volume holding the root: statvfs of "/" on a
// running machine; under a recorded tree, of the tree's folder itself.
#pragma once

#include "platform/VolumeCapacitySource.h"
#include "platform/linux/LinuxRoot.h"

namespace orbistat {

class LinuxVolumeCapacitySource final : public VolumeCapacitySource {
public:
    explicit LinuxVolumeCapacitySource(const LinuxRoot& root);
    // total = f_blocks × f_frsize; available = f_bavail × f_frsize, the space
    // an ordinary user can still use (root's reserve left out).
    std::optional<VolumeCapacity> read() override;

private:
    LinuxRoot root_;
};

} // namespace orbistat
