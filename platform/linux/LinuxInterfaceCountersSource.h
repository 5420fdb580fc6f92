// Interface byte counters from /proc/net/dev, link state from
// /sys/class/net/IF/{flags,operstate,carrier}.
#pragma once

#include "platform/InterfaceCountersSource.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"

namespace orbistat {

class LinuxInterfaceCountersSource final : public InterfaceCountersSource {
public:
    explicit LinuxInterfaceCountersSource(const LinuxRoot& root);
    std::optional<std::vector<InterfaceCounters>> counters() override;
    // Up: IFF_UP in "flags". Running: "operstate" is up, or unknown (drivers
    // that do not report it, such as some USB and virtual NICs) with
    // "carrier" 1.
    InterfaceFlags flags(const std::string& name) override;

private:
    LinuxRoot root_;
    HotFile netDev_;
};

} // namespace orbistat
