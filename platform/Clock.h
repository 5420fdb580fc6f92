// A source of time in seconds. Samplers measure elapsed time with it, the
// monitor paces its accessory refresh with it; tests inject a fake one so
// that every elapsed time is exact.
#pragma once

namespace orbistat {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a clock that never steps backwards while the program runs.
    virtual double now() const = 0;
};

} // namespace orbistat
