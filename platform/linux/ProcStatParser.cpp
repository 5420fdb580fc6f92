#include "platform/linux/ProcStatParser.h"

#include "platform/linux/TextParsing.h"

#include <array>

namespace orbistat {

namespace {

bool isCpuLine(std::string_view name)
{
    if (name.size() < 4 || name.substr(0, 3) != "cpu")
        return false;
    return parseUnsigned(name.substr(3)).has_value();
}

} // namespace

std::optional<std::vector<CpuTicks>> parseProcStat(std::string_view text)
{
    std::vector<CpuTicks> cpus;
    bool broken = false;
    forEachLine(text, [&](std::string_view line) {
        if (broken)
            return;
        const LeadingFields<9> fields(line);
        if (fields.empty() || !isCpuLine(fields[0]))
            return;
        // user nice system idle iowait irq softirq steal (guest columns are
        // already inside user and nice, so they are not added again)
        std::array<uint64_t, 8> columns{};
        if (fields.size() < 5) {
            broken = true;
            return;
        }
        for (size_t i = 0; i < columns.size() && i + 1 < fields.size(); ++i) {
            const auto value = parseUnsigned(fields[i + 1]);
            if (!value) {
                broken = true;
                return;
            }
            columns[i] = *value;
        }
        CpuTicks ticks;
        ticks.user = static_cast<uint32_t>(columns[0]);
        ticks.nice = static_cast<uint32_t>(columns[1]);
        ticks.system = static_cast<uint32_t>(columns[2] + columns[5] + columns[6] + columns[7]);
        ticks.idle = static_cast<uint32_t>(columns[3] + columns[4]);
        cpus.push_back(ticks);
    });
    if (broken || cpus.empty())
        return std::nullopt;
    return cpus;
}

} // namespace orbistat
