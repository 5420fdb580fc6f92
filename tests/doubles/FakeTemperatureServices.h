#pragma once

#include "platform/TemperatureServices.h"

namespace orbistat::test {

class FakeTemperatureServices final : public TemperatureServices {
public:
    std::optional<std::vector<std::optional<TemperatureService>>> services() override { return list; }
    std::optional<std::vector<std::optional<TemperatureService>>> list;
};

} // namespace orbistat::test
