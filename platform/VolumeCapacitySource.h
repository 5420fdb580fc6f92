// Port: size and free space of the startup volume.
#pragma once

#include <cstdint>
#include <optional>

namespace orbistat {

struct VolumeCapacity {
    // Each absent when the volume does not report it.
    std::optional<uint64_t> totalBytes;
    // Space an ordinary user can still write. Signed, because some volumes
    // report less than nothing (reserved space already taken).
    std::optional<int64_t> availableBytes;
};

class VolumeCapacitySource {
public:
    virtual ~VolumeCapacitySource() = default;
    // Absent when the volume cannot be asked at all.
    virtual std::optional<VolumeCapacity> read() = 0;
};

} // namespace orbistat
