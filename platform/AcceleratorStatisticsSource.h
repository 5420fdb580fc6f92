// Port: the performance statistics each graphics processor publishes, one
// dictionary per device with text keys and numeric values, such as
// "Device Utilization %" (0 to 100).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orbistat {

using AcceleratorStatistics = std::map<std::string, double>;

class AcceleratorStatisticsSource {
public:
    virtual ~AcceleratorStatisticsSource() = default;
    // One entry per device, in a stable order; an entry is absent when the
    // device publishes no statistics this time. The whole list is absent
    // when the devices cannot be enumerated.
    virtual std::optional<std::vector<std::optional<AcceleratorStatistics>>> statistics() = 0;
};

} // namespace orbistat
