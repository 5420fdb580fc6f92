// One named temperature sensor, °C.
#pragma once

#include <QString>

namespace orbistat {

struct TemperatureReading {
    QString name;
    double value = 0.0;

    friend bool operator==(const TemperatureReading&, const TemperatureReading&) = default;
};

} // namespace orbistat
