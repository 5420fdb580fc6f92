// Interface byte counters from /proc/net/dev, link state from
// /sys/class/net/IF/{flags,operstate,carrier}, all kept open between ticks.
#pragma once

#include "platform/InterfaceCountersSource.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/HotFileSet.h"
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
    std::optional<std::string_view> readAttribute(const std::string& name, std::string_view attribute);

    HotFile netDev_;
    // The link state of the interfaces read since the last tick.
    HotFileSet attributes_;
    std::string path_;  // kept to build attribute paths without allocating
};

} // namespace orbistat
