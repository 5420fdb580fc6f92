#pragma once

#include "platform/Clock.h"

namespace orbistat::test {

class FakeClock final : public Clock {
public:
    double now() const override { return seconds; }
    void advance(double by) { seconds += by; }
    double seconds = 1000.0;
};

} // namespace orbistat::test
