// libFuzzer target: /proc/diskstats. Properties: parsing is deterministic;
// every device name is one whole field of the input; what parses, written
// back in the kernel's layout, parses the same.
#include "FuzzSupport.h"
#include "platform/linux/DiskStatsParser.h"

#include <string>

using namespace orbistat;

namespace {

bool same(const std::vector<DiskStatsLine>& a, const std::vector<DiskStatsLine>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].sectorsRead != b[i].sectorsRead || a[i].sectorsWritten != b[i].sectorsWritten)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto text = fuzz::asText(data, size);
    const auto lines = parseDiskStats(text);
    fuzz::require(same(parseDiskStats(text), lines), "parsing is deterministic");
    std::string rewritten;
    for (const auto& line : lines) {
        fuzz::require(!line.name.empty(), "a device has a name");
        fuzz::require(line.name.data() >= text.data() && line.name.data() + line.name.size() <= text.data() + text.size(),
                      "a name points into the parsed text");
        fuzz::require(line.name.find_first_of(" \t\n\r\v\f") == std::string_view::npos, "a name is one field");
        rewritten += "   8       0 " + std::string(line.name) + " 1 0 " + std::to_string(line.sectorsRead) + " 0 2 0 "
            + std::to_string(line.sectorsWritten) + " 0 0 0 0 0 0 0 0 0 0\n";
    }
    fuzz::require(same(parseDiskStats(rewritten), lines), "written back, the counters parse the same");
    return 0;
}
