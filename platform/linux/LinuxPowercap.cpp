#include "platform/linux/LinuxPowercap.h"

namespace orbistat {

std::vector<PowercapZone> scanPowercapZones(const LinuxRoot& root)
{
    std::vector<PowercapZone> zones;
    for (const auto& entry : root.list("sys/class/powercap")) {
        if (!entry.starts_with("intel-rapl:"))
            continue;
        const std::string directory = "sys/class/powercap/" + entry;
        PowercapZone zone{directory, {}, std::nullopt, directory + "/energy_uj"};
        const auto name = root.readText(zone.directory + "/name");
        if (!name || name->isEmpty() || !readZoneEnergy(root, zone))
            continue;
        zone.name = name->toStdString();
        zone.wrapsAt = root.readUnsigned(zone.directory + "/max_energy_range_uj");
        zones.push_back(std::move(zone));
    }
    return zones;
}

std::optional<uint64_t> readZoneEnergy(const LinuxRoot& root, const PowercapZone& zone)
{
    return root.readUnsigned(zone.energyFile);
}

std::optional<uint64_t> readZoneEnergy(HotFileSet& files, const PowercapZone& zone)
{
    return files.readUnsigned(zone.energyFile);
}

std::optional<uint64_t> counterGrowth(uint64_t earlier, uint64_t later, std::optional<uint64_t> wrapsAt)
{
    if (later >= earlier)
        return later - earlier;
    // The counter ran past its range and started again from 0.
    if (!wrapsAt || *wrapsAt == 0 || earlier > *wrapsAt)
        return std::nullopt;
    return (*wrapsAt - earlier) + later;
}

} // namespace orbistat
