// Machine facts under their sysctl-style names, read from procfs and sysfs:
//   hw.logicalcpu             cpuN lines of /proc/stat that parse
//   hw.perflevel0.logicalcpu  performance CPUs: Intel hybrid cpu_core list,
//                             else the higher of exactly two ARM capacities
//   hw.perflevel1.logicalcpu  efficiency CPUs: cpu_atom, else the lower
//   machdep.cpu.brand_string  first "model name" of /proc/cpuinfo, else the
//                             device-tree model
// Every other name is absent.
#pragma once

#include "platform/SysctlReader.h"
#include "platform/linux/LinuxRoot.h"

#include <utility>

namespace orbistat {

class LinuxSysctlReader final : public SysctlReader {
public:
    explicit LinuxSysctlReader(LinuxRoot root);
    std::optional<int64_t> integer(std::string_view name) const override;
    std::optional<QString> string(std::string_view name) const override;

private:
    std::optional<int64_t> logicalCpus() const;
    // (performance, efficiency) logical CPU counts, when the machine has
    // two kinds of core.
    std::optional<std::pair<int64_t, int64_t>> coreKinds() const;
    std::optional<QString> brandString() const;

    LinuxRoot root_;
};

// The first "model name" value of /proc/cpuinfo (ARM kernels call it
// "Processor" on older versions, or have none).
std::optional<QString> parseCpuInfoModelName(std::string_view text);

} // namespace orbistat
