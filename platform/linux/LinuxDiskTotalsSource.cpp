#include "platform/linux/LinuxDiskTotalsSource.h"

#include "platform/linux/DiskStatsParser.h"

#include <algorithm>

namespace orbistat {

namespace {

constexpr uint64_t sectorBytes = 512;

template <typename Counters>
auto findDisk(Counters& counters, std::string_view name)
{
    const auto it = std::lower_bound(counters.begin(), counters.end(), name, [](const auto& entry, std::string_view key) { return entry.first < key; });
    return it != counters.end() && it->first == name ? it : counters.end();
}

} // namespace

LinuxDiskTotalsSource::LinuxDiskTotalsSource(const LinuxRoot& root, const Clock& clock)
    : root_(root)
    , clock_(clock)
    , diskStats_(root, "proc/diskstats")
{
}

void LinuxDiskTotalsSource::scan(const std::vector<DiskStatsLine>& lines)
{
    disks_.clear();
    for (const auto& name : root_.list("sys/block")) {
        if (root_.exists("sys/block/" + name + "/device"))
            disks_.push_back(name);
    }
    knownNames_.clear();
    for (const auto& line : lines)
        knownNames_.emplace_back(line.name);
    std::sort(knownNames_.begin(), knownNames_.end());
}

std::optional<DiskTotals> LinuxDiskTotalsSource::read()
{
    const auto text = diskStats_.read();
    if (!text) {
        diskScan_.force();
        return std::nullopt;
    }
    parseDiskStats(*text, lines_);
    const auto& lines = lines_;
    const auto isKnown = [this](std::string_view name) { return std::binary_search(knownNames_.begin(), knownNames_.end(), name); };
    if (!std::all_of(lines.begin(), lines.end(), [&](const DiskStatsLine& line) { return isKnown(line.name); }))
        diskScan_.force();  // a device was plugged in
    if (diskScan_.due(clock_.now()))
        scan(lines);

    // This reading's counters of every physical disk, in bytes.
    auto& counters = counters_;
    counters.clear();
    for (const auto& line : lines) {
        const auto place = std::lower_bound(counters.begin(), counters.end(), line.name,
                                            [](const auto& entry, std::string_view key) { return entry.first < key; });
        if (!std::binary_search(disks_.begin(), disks_.end(), line.name) || (place != counters.end() && place->first == line.name))
            continue;  // not a disk, or a line the file repeats
        DiskTotals bytes;
        // A count that overflows 64 bits in bytes is no real reading.
        if (__builtin_mul_overflow(line.sectorsRead, sectorBytes, &bytes.readBytes) || __builtin_mul_overflow(line.sectorsWritten, sectorBytes, &bytes.writeBytes))
            continue;
        counters.emplace(place, std::string(line.name), bytes);
    }
    if (counters.empty()) {
        diskScan_.force();
        return std::nullopt;
    }

    if (!totals_) {
        // The first reading is every disk's baseline: the totals start at
        // their lifetime sum.
        DiskTotals sum;
        for (const auto& [name, bytes] : counters) {
            DiskTotals next;
            if (__builtin_add_overflow(sum.readBytes, bytes.readBytes, &next.readBytes) || __builtin_add_overflow(sum.writeBytes, bytes.writeBytes, &next.writeBytes))
                continue;
            sum = next;
        }
        totals_ = sum;
    } else {
        for (const auto& [name, bytes] : counters) {
            const auto last = findDisk(lastCounters_, name);
            if (last == lastCounters_.end())
                continue;  // newly found: this reading is its baseline
            // A counter that went back (the device was reset) grew by nothing.
            const auto growth = [](uint64_t before, uint64_t after) { return after >= before ? after - before : 0; };
            // Past 2^64 bytes the totals wrap; the sampler takes that
            // interval as no growth.
            totals_->readBytes += growth(last->second.readBytes, bytes.readBytes);
            totals_->writeBytes += growth(last->second.writeBytes, bytes.writeBytes);
        }
    }
    std::swap(counters_, lastCounters_);
    return totals_;
}

} // namespace orbistat
