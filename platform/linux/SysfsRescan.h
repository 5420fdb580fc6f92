// When a cached sysfs discovery (hwmon chips, power supplies) is done again:
// at the first use, every 30 s by the injected clock, and sooner after a
// read failed (a device went away), though not more often than every 5 s so
// that a sensor that keeps failing does not turn every tick into a scan.
#pragma once

#include "platform/Clock.h"

#include <optional>

namespace orbistat {

class SysfsRescan {
public:
    static constexpr double period = 30.0;
    static constexpr double failureSpacing = 5.0;

    explicit SysfsRescan(const Clock& clock)
        : clock_(clock)
    {
    }

    // True when the caller should scan now; the scan is then counted as done.
    bool due()
    {
        const double now = clock_.now();
        const bool isDue = !lastScan_ || now - *lastScan_ >= period || now < *lastScan_
            || (failed_ && now - *lastScan_ >= failureSpacing);
        if (isDue) {
            lastScan_ = now;
            failed_ = false;
        }
        return isDue;
    }
    // True before the first scan only: for the calls that follow a tick's
    // first call and can use its discovery without asking the clock again.
    bool neverScanned() const { return !lastScan_; }
    void readFailed() { failed_ = true; }

private:
    const Clock& clock_;
    std::optional<double> lastScan_;
    bool failed_ = false;
};

} // namespace orbistat
