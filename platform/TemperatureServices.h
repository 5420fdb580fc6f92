// Port: the machine's temperature sensor services, in a stable order.
#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace orbistat {

struct TemperatureService {
    std::optional<QString> product;      // the service's product name
    std::optional<double> temperature;   // °C; absent when the service gave no reading
};

class TemperatureServices {
public:
    virtual ~TemperatureServices() = default;
    // One entry per service; an entry itself is absent where the list holds
    // a null service. Absent when the services cannot be listed.
    virtual std::optional<std::vector<std::optional<TemperatureService>>> services() = 0;
};

} // namespace orbistat
