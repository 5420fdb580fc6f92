// A metric history: the newest `capacity` values, oldest first.
#pragma once

#include <cstddef>
#include <vector>

namespace orbistat {

inline constexpr size_t historyCapacity = 60;

inline void appendBounded(std::vector<double>& history, double value, size_t capacity = historyCapacity)
{
    history.push_back(value);
    if (history.size() > capacity)
        history.erase(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(history.size() - capacity));
}

} // namespace orbistat
