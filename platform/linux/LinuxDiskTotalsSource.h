// Machine-wide disk byte totals from /proc/diskstats, over whole physical
// disks only: the names in /sys/block that have a "device" entry. That
// leaves out partitions (their bytes are already in their disk's), loop,
// ram, zram and device-mapper devices (their bytes reach a physical disk
// too, or never touch one).
#pragma once

#include "platform/Clock.h"
#include "platform/DiskTotalsSource.h"
#include "platform/linux/DiskStatsParser.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/RescanSchedule.h"

#include <string>
#include <vector>

namespace orbistat {

class LinuxDiskTotalsSource final : public DiskTotalsSource {
public:
    // The clock paces the search for disks (plugged in or removed).
    LinuxDiskTotalsSource(const LinuxRoot& root, const Clock& clock);
    std::optional<DiskTotals> read() override;

private:
    LinuxRoot root_;
    const Clock& clock_;
    HotFile diskStats_;
    RescanSchedule diskScan_;
    std::vector<std::string> disks_;
    // Kept between ticks so that a tick allocates nothing.
    std::vector<DiskStatsLine> lines_;
    std::vector<bool> counted_;
};

} // namespace orbistat
