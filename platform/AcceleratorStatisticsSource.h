// Port: the performance statistics each graphics processor publishes, one
// dictionary per device with text keys and numeric values, such as
// "Device Utilization %" (0 to 100).
#pragma once

#include <map>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
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

// Several sources seen as one: their lists one after another. A source
// that cannot enumerate adds nothing; the whole is absent only when every
// source is.
class CombinedAcceleratorStatisticsSource final : public AcceleratorStatisticsSource {
public:
    explicit CombinedAcceleratorStatisticsSource(std::vector<AcceleratorStatisticsSource*> sources)
        : sources_(std::move(sources))
    {
    }

    std::optional<std::vector<std::optional<AcceleratorStatistics>>> statistics() override
    {
        std::optional<std::vector<std::optional<AcceleratorStatistics>>> all;
        for (auto* source : sources_) {
            auto part = source->statistics();
            if (!part)
                continue;
            if (!all)
                all.emplace();
            all->insert(all->end(), std::make_move_iterator(part->begin()), std::make_move_iterator(part->end()));
        }
        return all;
    }

private:
    std::vector<AcceleratorStatisticsSource*> sources_;
};

} // namespace orbistat
