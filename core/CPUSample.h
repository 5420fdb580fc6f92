// One processor measurement: busy fractions over the interval since the
// previous sample.
#pragma once

#include <vector>

namespace orbistat {

struct CPUSample {
    double total = 0.0;
    double user = 0.0;
    double system = 0.0;
    std::vector<double> perCore;  // kernel's processor order, never regrouped

    friend bool operator==(const CPUSample&, const CPUSample&) = default;
};

} // namespace orbistat
