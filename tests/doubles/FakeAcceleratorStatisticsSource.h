#pragma once

#include "platform/AcceleratorStatisticsSource.h"

namespace orbistat::test {

// Answers every call with the same device list.
class FakeAcceleratorStatisticsSource final : public AcceleratorStatisticsSource {
public:
    std::optional<std::vector<std::optional<AcceleratorStatistics>>> statistics() override { return devices; }
    std::optional<std::vector<std::optional<AcceleratorStatistics>>> devices = std::vector<std::optional<AcceleratorStatistics>>{};
};

} // namespace orbistat::test
