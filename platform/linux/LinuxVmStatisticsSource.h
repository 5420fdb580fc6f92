// VM statistics of a Linux machine: /proc/meminfo, the zram devices'
// mm_stat and /proc/pressure/memory.
#pragma once

#include "platform/Clock.h"
#include "platform/VmStatisticsSource.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/HotFileSet.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/RescanSchedule.h"

#include <string>
#include <vector>

namespace orbistat {

class LinuxVmStatisticsSource final : public VmStatisticsSource {
public:
    // The clock paces the search for zram devices.
    LinuxVmStatisticsSource(const LinuxRoot& root, const Clock& clock);
    std::optional<VmStatistics> read() override;

private:
    uint64_t zramBytes();

    LinuxRoot root_;
    const Clock& clock_;
    HotFile meminfo_;
    // Absent on kernels without PSI; with psi=0 on the command line it
    // exists but reading it fails (EOPNOTSUPP). Either way the
    // available-memory rules alone decide the level.
    HotFile pressure_;
    RescanSchedule zramScan_;
    std::vector<std::string> zramStatFiles_;
    HotFileSet zramFiles_;
};

} // namespace orbistat
