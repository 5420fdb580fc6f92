#include "platform/linux/LinuxCpuTicksSource.h"

#include "platform/linux/ProcStatParser.h"

namespace orbistat {

LinuxCpuTicksSource::LinuxCpuTicksSource(const LinuxRoot& root)
    : stat_(root, "proc/stat")
{
}

std::optional<std::vector<CpuTicks>> LinuxCpuTicksSource::read()
{
    const auto text = stat_.read();
    if (!text)
        return std::nullopt;
    return parseProcStat(*text);
}

} // namespace orbistat
