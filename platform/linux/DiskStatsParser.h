// Parser of /proc/diskstats.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orbistat {

struct DiskStatsLine {
    std::string_view name;  // points into the parsed text
    uint64_t sectorsRead = 0;
    uint64_t sectorsWritten = 0;
};

// "major minor name reads merged sectors ms writes merged sectors ...":
// sectors read are field 6 and sectors written field 10 of the line, in
// 512-byte units whatever the device's own sector size. A line with fewer
// fields or a counter that is not a number is skipped.
std::vector<DiskStatsLine> parseDiskStats(std::string_view text);
// The same into a list the caller keeps from one tick to the next.
void parseDiskStats(std::string_view text, std::vector<DiskStatsLine>& lines);

} // namespace orbistat
