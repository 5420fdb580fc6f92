// When an adapter looks again for devices it discovered once (zram disks,
// block devices, DRM cards): every 30 s, at once when forced (a read
// failed), and when the clock went back.
#pragma once

#include <optional>

namespace orbistat {

class RescanSchedule {
public:
    explicit RescanSchedule(double periodSeconds = 30.0)
        : period_(periodSeconds)
    {
    }

    // True when a scan is due at `now`; it is then taken as done.
    bool due(double now)
    {
        if (last_ && now >= *last_ && now - *last_ < period_)
            return false;
        last_ = now;
        return true;
    }
    void force() { last_.reset(); }

private:
    double period_;
    std::optional<double> last_;
};

} // namespace orbistat
