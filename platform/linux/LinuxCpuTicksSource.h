// Per-processor tick counters from ROOT/proc/stat.
#pragma once

#include "platform/CpuTicksSource.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"

namespace orbistat {

class LinuxCpuTicksSource final : public CpuTicksSource {
public:
    explicit LinuxCpuTicksSource(const LinuxRoot& root);
    std::optional<std::vector<CpuTicks>> read() override;

private:
    HotFile stat_;
};

} // namespace orbistat
