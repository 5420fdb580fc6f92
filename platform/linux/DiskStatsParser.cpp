#include "platform/linux/DiskStatsParser.h"

#include "platform/linux/TextParsing.h"

namespace orbistat {

std::vector<DiskStatsLine> parseDiskStats(std::string_view text)
{
    std::vector<DiskStatsLine> lines;
    parseDiskStats(text, lines);
    return lines;
}

void parseDiskStats(std::string_view text, std::vector<DiskStatsLine>& lines)
{
    lines.clear();
    forEachLine(text, [&](std::string_view line) {
        const LeadingFields<10> fields(line);
        if (fields.size() < 10)
            return;
        const auto read = parseUnsigned(fields[5]);
        const auto written = parseUnsigned(fields[9]);
        if (!read || !written)
            return;
        lines.push_back(DiskStatsLine{fields[2], *read, *written});
    });
}

} // namespace orbistat
