#pragma once

#include "platform/InterfaceCountersSource.h"

#include <deque>
#include <map>

namespace orbistat::test {

// Each counters() call takes the next queued list (absent when none is
// left); flags come from a map, down for names not in it.
class FakeInterfaceCountersSource final : public InterfaceCountersSource {
public:
    std::optional<std::vector<InterfaceCounters>> counters() override
    {
        if (readings.empty())
            return std::nullopt;
        auto next = readings.front();
        readings.pop_front();
        return next;
    }
    InterfaceFlags flags(const std::string& name) override
    {
        flagQueries.push_back(name);
        const auto it = flagsByName.find(name);
        return it == flagsByName.end() ? InterfaceFlags{} : it->second;
    }
    std::deque<std::optional<std::vector<InterfaceCounters>>> readings;
    std::map<std::string, InterfaceFlags> flagsByName;
    std::vector<std::string> flagQueries;
};

} // namespace orbistat::test
