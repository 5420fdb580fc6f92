// The GPU sources of one machine (DRM cards, NVIDIA's library) as the one
// device list the GPU sampler reads.
#pragma once

#include "platform/AcceleratorStatisticsSource.h"

#include <iterator>
#include <utility>

namespace orbistat {

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
