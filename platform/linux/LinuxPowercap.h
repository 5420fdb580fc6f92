// The RAPL energy counters of ROOT/sys/class/powercap (intel-rapl:*; AMD
// processors publish theirs under the same name). `intel-rapl-mmio:*`
// zones repeat the package counter and are left out.
//
// Since Linux 5.10 `energy_uj` is readable by root only: a zone whose
// counter cannot be read when the zones are listed is left out, once, and
// nothing is retried or logged per tick.
#pragma once

#include "platform/linux/HotFileSet.h"
#include "platform/linux/LinuxRoot.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orbistat {

struct PowercapZone {
    std::string directory;             // relative, e.g. sys/class/powercap/intel-rapl:0:1
    std::string name;                  // package-0, core, uncore, dram, psys
    std::optional<uint64_t> wrapsAt;   // max_energy_range_uj
    std::string energyFile;            // directory/energy_uj
};

// Zones whose counter is readable now, in directory order.
std::vector<PowercapZone> scanPowercapZones(const LinuxRoot& root);

// Energy in µJ of a zone; absent when unreadable. Readers on every tick
// keep the counter open.
std::optional<uint64_t> readZoneEnergy(const LinuxRoot& root, const PowercapZone& zone);
std::optional<uint64_t> readZoneEnergy(HotFileSet& files, const PowercapZone& zone);

// Growth of a counter that restarts from 0 after `wrapsAt`; absent when it
// went backwards without a known range.
std::optional<uint64_t> counterGrowth(uint64_t earlier, uint64_t later, std::optional<uint64_t> wrapsAt);

} // namespace orbistat
