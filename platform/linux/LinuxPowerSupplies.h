// ROOT/sys/class/power_supply as the machine's power sources and as the
// internal battery's controller properties.
//
// The internal battery is every supply of type Battery whose scope is not
// Device (a mouse or headset reports its own battery with scope Device) and
// whose `present` is not 0, combined as UPower's display device combines
// them: many business laptops have two (BAT0, BAT1), and the second drains
// first. Energy (or charge) now and full are summed, and the charge is their
// ratio; the battery charges when any charges; the times come from the
// summed energy and summed power; cycle count, health and temperature are
// the first battery's. With one battery its own figures are used as they
// are (its capacity and the driver's time estimates).
//
// The machine is on AC power when a Mains, USB or USB_C supply (scope not
// Device) is online. Without one it runs on battery while any battery
// discharges, even when the other says "Not charging" (an idle second
// battery says that since Linux 5.19); otherwise a battery that says it is
// charging, full or not charging means the charger is connected.
//
// Units are converted here: µWh and µAh to mWh and mAh, µV to mV, µA to mA,
// tenths of °C to hundredths, seconds to minutes.
#pragma once

#include "platform/BatteryRegistry.h"
#include "platform/Clock.h"
#include "platform/PowerSourceInfo.h"
#include "platform/linux/HotFileSet.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/SysfsRescan.h"

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace orbistat {

class LinuxPowerSupplies final : public PowerSourceInfo, public BatteryRegistry {
public:
    LinuxPowerSupplies(LinuxRoot root, const Clock& clock);

    // The internal battery's description, or an empty list without one.
    std::optional<std::vector<std::optional<PropertyDictionary>>> sources() override;
    // Absent without an internal battery.
    std::optional<PropertyDictionary> properties() override;

    // Whether the last scan found an internal battery, and a mains or USB
    // supply that measures its own voltage and current.
    bool hasBattery();
    bool hasMeasuredAdapter();
    // The battery's discharge power, watts, while the machine runs on it.
    std::optional<double> batteryDischargeWatts();
    // voltage × current of the online mains or USB supply that measures
    // them. USB-PD source entries (ucsi-source-psy-*, tcpm-source-psy-*)
    // report the negotiated contract, not the draw, and do not count.
    std::optional<double> adapterWatts();

private:
    struct Supply {
        std::string directory;  // relative, e.g. sys/class/power_supply/BAT0
        std::string name;
        bool isMeasuredAdapter = false;
    };
    // Capacities of one family (energy in µWh or charge in µAh) with the rate
    // that drains or fills it (µW or µA).
    struct Levels {
        bool isEnergy = true;
        std::optional<uint64_t> now;
        std::optional<uint64_t> full;
        std::optional<uint64_t> design;
        std::optional<uint64_t> rate;
    };

    // Scans when due: called by the tick's first call, sources().
    void refresh();
    // Scans only if there never was a scan: the later calls of a tick.
    void ensureScanned();
    void scan();
    std::vector<std::optional<QString>> batteryStatuses();
    bool isOnAcPower(const std::vector<std::optional<QString>>& statuses);
    Levels levels(const Supply& battery, bool withDesign) const;
    // All batteries' now, full and rate summed in one unit: energy, with
    // charge converted at the battery's voltage where the families differ.
    // A sum is absent when a battery lacks its part.
    std::tuple<std::optional<double>, std::optional<double>, std::optional<double>> combinedLevels() const;
    // Power through one battery, µW.
    std::optional<double> batteryMicrowatts(const Supply& battery) const;
    std::optional<uint64_t> readUnsigned(const Supply& supply, std::string_view attribute) const;
    std::optional<int64_t> readSigned(const Supply& supply, std::string_view attribute) const;
    const std::string& attributePath(const Supply& supply, std::string_view attribute) const;

    LinuxRoot root_;
    SysfsRescan rescan_;
    std::vector<Supply> batteries_;
    std::vector<Supply> adapters_;
    // The attributes read on every tick stay open between ticks; reading
    // them changes nothing the callers see, hence mutable.
    mutable HotFileSet attributes_;
    mutable std::string path_;  // kept to build attribute paths without allocating
};

} // namespace orbistat
