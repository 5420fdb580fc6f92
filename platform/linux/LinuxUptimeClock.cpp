#include "platform/linux/LinuxUptimeClock.h"

#include "platform/linux/TextParsing.h"

#include <ctime>

namespace orbistat {

LinuxUptimeClock::LinuxUptimeClock(LinuxRoot root)
    : root_(std::move(root))
{
}

double LinuxUptimeClock::now() const
{
    if (root_.isRecorded()) {
        // A tree without a readable uptime stands still: samplers then see
        // no elapsed time and report no rate, which is the honest answer.
        const auto text = root_.readBytes("proc/uptime", 128);
        if (!text)
            return 0.0;
        const LeadingFields<1> fields(*text);
        const auto uptime = fields.empty() ? std::nullopt : parseDouble(fields[0]);
        return uptime.value_or(0.0);
    }
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

} // namespace orbistat
