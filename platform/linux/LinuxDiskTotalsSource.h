// Machine-wide disk byte totals from /proc/diskstats, over whole physical
// disks only: the names in /sys/block that have a "device" entry. That
// leaves out partitions (their bytes are already in their disk's), loop,
// ram, zram and device-mapper devices (their bytes reach a physical disk
// too, or never touch one).
//
// The totals are kept here as the sum of each disk's growth between two
// readings, so that disks coming and going never distort a rate: a disk
// plugged in adds nothing at its first reading (its lifetime of bytes would
// otherwise land in one interval: 2 GB read shows as 1 GB/s for a tick), and
// a disk taken out takes nothing away. A name in diskstats that the last
// search did not see brings a new search at once.
#pragma once

#include "platform/Clock.h"
#include "platform/DiskTotalsSource.h"
#include "platform/linux/DiskStatsParser.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/RescanSchedule.h"

#include <string>
#include <utility>
#include <vector>

namespace orbistat {

class LinuxDiskTotalsSource final : public DiskTotalsSource {
public:
    // The clock paces the search for disks (plugged in or removed).
    LinuxDiskTotalsSource(const LinuxRoot& root, const Clock& clock);
    std::optional<DiskTotals> read() override;

private:
    void scan(const std::vector<DiskStatsLine>& lines);

    LinuxRoot root_;
    const Clock& clock_;
    HotFile diskStats_;
    RescanSchedule diskScan_;
    std::vector<std::string> disks_;        // sorted
    std::vector<std::string> knownNames_;   // every diskstats name at the last search, sorted
    // Per disk, bytes, sorted by name: this reading's and the last one's,
    // swapped after each reading so that a tick allocates nothing.
    using Counters = std::vector<std::pair<std::string, DiskTotals>>;
    Counters counters_;
    Counters lastCounters_;
    std::vector<DiskStatsLine> lines_;
    std::optional<DiskTotals> totals_;
};

} // namespace orbistat
