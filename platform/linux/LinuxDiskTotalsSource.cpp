#include "platform/linux/LinuxDiskTotalsSource.h"

#include "platform/linux/DiskStatsParser.h"

#include <algorithm>

namespace orbistat {

namespace {

constexpr uint64_t sectorBytes = 512;

} // namespace

LinuxDiskTotalsSource::LinuxDiskTotalsSource(const LinuxRoot& root, const Clock& clock)
    : root_(root)
    , clock_(clock)
    , diskStats_(root, "proc/diskstats")
{
}

std::optional<DiskTotals> LinuxDiskTotalsSource::read()
{
    if (diskScan_.due(clock_.now())) {
        disks_.clear();
        for (const auto& name : root_.list("sys/block")) {
            if (root_.exists("sys/block/" + name + "/device"))
                disks_.push_back(name);
        }
    }
    const auto text = diskStats_.read();
    if (!text || disks_.empty()) {
        diskScan_.force();
        return std::nullopt;
    }

    DiskTotals totals;
    auto& counted = counted_;  // one flag per disk
    counted.assign(disks_.size(), false);
    bool answered = false;
    parseDiskStats(*text, lines_);
    for (const auto& line : lines_) {
        const auto disk = std::lower_bound(disks_.begin(), disks_.end(), line.name);
        if (disk == disks_.end() || *disk != line.name)
            continue;
        const auto index = static_cast<size_t>(disk - disks_.begin());
        if (counted[index])
            continue;  // a disk is counted once, whatever the file repeats
        uint64_t read = 0, written = 0, readSum = 0, writeSum = 0;
        // A count that overflows 64 bits in bytes is no real reading.
        if (__builtin_mul_overflow(line.sectorsRead, sectorBytes, &read) || __builtin_mul_overflow(line.sectorsWritten, sectorBytes, &written)
            || __builtin_add_overflow(totals.readBytes, read, &readSum) || __builtin_add_overflow(totals.writeBytes, written, &writeSum))
            continue;
        totals = DiskTotals{readSum, writeSum};
        counted[index] = true;
        answered = true;
    }
    if (!answered) {
        diskScan_.force();
        return std::nullopt;
    }
    return totals;
}

} // namespace orbistat
