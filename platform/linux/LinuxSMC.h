// Stands in for the system management controller, which Linux machines do
// not have: answers the keys the sensors sampler asks from hwmon, powercap
// and power_supply, encoded in the controller's own types, and reports
// every other key as not found.
//   FNum (ui8 )             fans over all hwmon chips (see LinuxHwmon)
//   F{i}Ac, F{i}Mn, F{i}Mx  (flt ) current, minimum and maximum rpm of fan i
//   TC0P, TG0P, TH0P, TB0T  (sp78) hottest CPU, GPU, storage, battery sensor
//   PSTR (flt )             system power: the psys RAPL zone's average power
//                           since the previous read, else the battery's
//                           discharge power while on battery
//   PDTR (flt )             power drawn from the online adapter
#pragma once

#include "platform/Clock.h"
#include "platform/SMCConnection.h"
#include "platform/linux/LinuxHwmon.h"
#include "platform/linux/LinuxPowerSupplies.h"
#include "platform/linux/LinuxPowercap.h"
#include "platform/linux/LinuxRoot.h"

#include <optional>
#include <string_view>
#include <vector>

namespace orbistat {

class LinuxSMC final : public SMCConnection {
public:
    LinuxSMC(LinuxRoot root, const Clock& clock, LinuxHwmon& hwmon, LinuxPowerSupplies& supplies);

    // There is always something to answer: the keys' sources may appear
    // later (a charger plugged in, a module loaded).
    bool open() override { return true; }
    bool call(const SMCRequest& input, SMCRequest& output) override;

private:
    struct KeyInfo {
        const char* type;
        uint32_t size;
    };
    std::optional<KeyInfo> keyInfo(std::string_view key);
    std::optional<std::vector<uint8_t>> readKey(std::string_view key);
    std::optional<double> systemPower();

    LinuxRoot root_;
    const Clock& clock_;
    LinuxHwmon& hwmon_;
    LinuxPowerSupplies& supplies_;
    std::optional<PowercapZone> psys_;
    HotFileSet psysFile_;  // the psys counter, kept open
    struct PsysReading {
        uint64_t microjoules;
        double time;
    };
    std::optional<PsysReading> lastPsys_;
};

} // namespace orbistat
