#include "platform/linux/LinuxSysctlReader.h"

#include "platform/linux/ProcStatParser.h"
#include "platform/linux/TextParsing.h"

#include <map>

namespace orbistat {

LinuxSysctlReader::LinuxSysctlReader(LinuxRoot root)
    : root_(std::move(root))
{
}

std::optional<int64_t> LinuxSysctlReader::integer(std::string_view name) const
{
    if (name == "hw.logicalcpu")
        return logicalCpus();
    if (name == "hw.perflevel0.logicalcpu" || name == "hw.perflevel1.logicalcpu") {
        const auto kinds = coreKinds();
        if (!kinds)
            return std::nullopt;
        return name == "hw.perflevel0.logicalcpu" ? kinds->first : kinds->second;
    }
    return std::nullopt;
}

std::optional<QString> LinuxSysctlReader::string(std::string_view name) const
{
    if (name == "machdep.cpu.brand_string")
        return brandString();
    return std::nullopt;
}

std::optional<int64_t> LinuxSysctlReader::logicalCpus() const
{
    // /proc/stat grows with the number of processors: 1 MiB covers thousands.
    const auto text = root_.readBytes("proc/stat", 1 << 20);
    if (!text)
        return std::nullopt;
    const auto cpus = parseProcStat(*text);
    if (!cpus)
        return std::nullopt;
    return static_cast<int64_t>(cpus->size());
}

std::optional<std::pair<int64_t, int64_t>> LinuxSysctlReader::coreKinds() const
{
    // Intel hybrid processors publish one perf PMU per core kind, each with
    // the list of its CPUs.
    const auto coreText = root_.readBytes("sys/devices/cpu_core/cpus");
    const auto atomText = root_.readBytes("sys/devices/cpu_atom/cpus");
    if (coreText && atomText) {
        const auto core = parseCpuList(*coreText);
        const auto atom = parseCpuList(*atomText);
        if (core && atom)
            return std::pair<int64_t, int64_t>(core->size(), atom->size());
    }
    // ARM big.LITTLE: the scheduler's capacity of each CPU. Exactly two
    // distinct values mean two core kinds; one value or three (DynamIQ
    // prime cores) do not map onto performance + efficiency.
    std::map<uint64_t, int64_t> countByCapacity;
    for (const auto& entry : root_.list("sys/devices/system/cpu")) {
        if (entry.size() < 4 || entry.compare(0, 3, "cpu") != 0 || !parseUnsigned(std::string_view(entry).substr(3)))
            continue;
        const auto capacity = root_.readUnsigned("sys/devices/system/cpu/" + entry + "/cpu_capacity");
        if (!capacity)
            return std::nullopt;
        ++countByCapacity[*capacity];
    }
    if (countByCapacity.size() != 2)
        return std::nullopt;
    return std::pair<int64_t, int64_t>(countByCapacity.rbegin()->second, countByCapacity.begin()->second);
}

std::optional<QString> parseCpuInfoModelName(std::string_view text)
{
    std::optional<QString> model;
    forEachLine(text, [&](std::string_view line) {
        if (model)
            return;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || trimAscii(line.substr(0, colon)) != "model name")
            return;
        const auto value = trimAscii(line.substr(colon + 1));
        if (!value.empty())
            model = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    });
    return model;
}

std::optional<QString> LinuxSysctlReader::brandString() const
{
    if (const auto cpuinfo = root_.readBytes("proc/cpuinfo", 1 << 20)) {
        if (auto model = parseCpuInfoModelName(*cpuinfo))
            return model;
    }
    // ARM machines name the board in the device tree; the value is
    // NUL-terminated, which readText handles.
    auto model = root_.readText("sys/firmware/devicetree/base/model");
    if (model && !model->isEmpty())
        return model;
    return std::nullopt;
}

} // namespace orbistat
