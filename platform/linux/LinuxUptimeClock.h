// The clock samplers measure intervals with: CLOCK_BOOTTIME on a running
// machine (it keeps counting through suspend, like the kernel's counters);
// under a recorded tree, the first number of ROOT/proc/uptime, so a pair of
// trees t0/t1 replays with its own elapsed time.
#pragma once

#include "platform/Clock.h"
#include "platform/linux/LinuxRoot.h"

namespace orbistat {

class LinuxUptimeClock final : public Clock {
public:
    explicit LinuxUptimeClock(LinuxRoot root);
    double now() const override;

private:
    LinuxRoot root_;
};

} // namespace orbistat
