// The hwmon chips of ROOT/sys/class/hwmon and, where they give no processor
// temperature (ARM machines), the thermal zones of ROOT/sys/class/thermal:
// the machine's temperature services, and the fans.
//
// Chips are ordered by (name, resolved path of their device link), compared
// byte by byte, because hwmonN numbers change from boot to boot; channels in
// numeric order. A service is named after its group ("CPU Package id 0",
// "GPU edge", "NAND Composite") so the sensors sampler classifies it; other
// chips' readings are named in lower case ("nct6798 cputin") so a board
// label such as CPUTIN never joins a group by accident.
//
// Discovery is cached and redone every 30 s, or after a read failed.
//
// A chip whose device is runtime-suspended (a laptop's discrete GPU at
// rest) is not read: on many kernels reading its sensors resumes the card,
// which then stays awake and drains the battery. Its sensors keep their
// places with absent readings (names and labels come from memory and may be
// read), its fans read absent, and it is read again once the device is
// active. The device's state is read once per tick, by services().
#pragma once

#include "platform/Clock.h"
#include "platform/TemperatureServices.h"
#include "platform/linux/HotFileSet.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/SysfsRescan.h"

#include <optional>
#include <string>
#include <vector>

namespace orbistat {

enum class SensorGroup { cpu, gpu, storage, battery, soc, other };

struct HwmonChip {
    std::string directory;            // relative, e.g. sys/class/hwmon/hwmon3
    std::string attributes;           // where the attribute files sit (the directory or its device/)
    std::optional<std::string> name;  // the chip's `name`, trimmed
    std::string devicePath;           // the resolved device link; empty when there is none
};

// Every chip, in the stable order described above.
std::vector<HwmonChip> scanHwmonChips(const LinuxRoot& root);
// The group a chip's readings belong to, by the driver name.
SensorGroup hwmonChipGroup(std::string_view name);

class LinuxHwmon final : public TemperatureServices {
public:
    enum class FanValue { current, minimum, maximum };

    LinuxHwmon(LinuxRoot root, const Clock& clock);

    std::optional<std::vector<std::optional<TemperatureService>>> services() override;

    // Fans over all chips in chip order, then fan number. A fan outside the
    // GPU group that read 0 rpm (or nothing) at the last scan is an
    // unconnected header and left out; GPU fans always count, since they
    // stop in zero-rpm mode.
    size_t fanCount();
    // rpm; absent when the attribute is missing or unreadable.
    std::optional<double> fanValue(size_t index, FanValue which);
    // The current readings of one group's sensors, °C.
    std::vector<double> groupReadings(SensorGroup group);
    // Whether the last scan found any sensor of the group.
    bool hasGroup(SensorGroup group);

private:
    struct ChipPower {
        // The device's power/runtime_status; empty when the device has no
        // runtime power management (nothing to check until the next scan).
        std::string statusFile;
        bool isSuspended = false;
    };
    struct TemperatureInput {
        std::string path;
        std::optional<QString> product;
        SensorGroup group = SensorGroup::other;
        size_t chip = noChip;
    };
    struct FanInput {
        std::string prefix;  // e.g. sys/class/hwmon/hwmon2/fan1_
        bool hasMinimum = false;
        bool hasMaximum = false;
        size_t chip = noChip;
    };
    static constexpr size_t noChip = static_cast<size_t>(-1);

    // Scans when due: called by the tick's first call, services().
    void refresh();
    // Scans only if there never was a scan: the later calls of a tick.
    void ensureScanned();
    void scan();
    void scanThermalZones(const std::vector<HwmonChip>& chips);
    void readPowerState(size_t chip);
    bool isAsleep(size_t chip) const;
    std::optional<double> readCelsius(const std::string& path);
    std::optional<double> readNumber(const std::string& path);

    LinuxRoot root_;
    SysfsRescan rescan_;
    std::vector<ChipPower> chipPower_;
    std::vector<TemperatureInput> temperatures_;
    std::vector<FanInput> fans_;
    // The inputs and power states read on every tick, kept open.
    HotFileSet attributes_;
    std::string path_;  // kept to build a fan attribute's path without allocating
};

} // namespace orbistat
