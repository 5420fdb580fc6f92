// Temperatures, fans and power of one tick, merged from three optional
// sources: the temperature sensor services (preferred for temperatures),
// the system management controller (temperature fallback, fans, system and
// adapter power) and the energy counters (component power).
#pragma once

#include "core/SensorsSample.h"
#include "samplers/HIDTemperatureSampler.h"
#include "samplers/IOReportSampler.h"
#include "samplers/SMC.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orbistat {

class SensorsSampler {
public:
    // Any source may be missing; none is created again later.
    SensorsSampler(std::unique_ptr<SMC> smc, std::unique_ptr<HIDTemperatureSampler> hid, std::unique_ptr<IOReportSampler> ioReport);
    ~SensorsSampler();

    SensorsSample sample();

private:
    void classify(const std::vector<TemperatureReading>& readings, SensorsSample& sample) const;
    void readControllerTemperatures(SensorsSample& sample);
    std::vector<FanReading> readFans();
    // A fan speed key's value within 0 to 20000 rpm; absent otherwise.
    std::optional<double> fanSpeed(const std::string& key);
    std::optional<double> firstValidTemperature(std::initializer_list<const char*> keys);
    std::optional<double> powerValue(const char* key);

    std::unique_ptr<SMC> smc_;
    std::unique_ptr<HIDTemperatureSampler> hid_;
    std::unique_ptr<IOReportSampler> ioReport_;
    // Repeated on ticks where the energy counters give nothing.
    ComponentPower lastComponents_;
};

} // namespace orbistat
