// The fixed values the monitor publishes in demo mode (screenshots), and the
// nine generated histories.
#pragma once

#include "core/BatterySample.h"
#include "core/CPUSample.h"
#include "core/DiskSample.h"
#include "core/MemorySample.h"
#include "core/NetworkInfo.h"
#include "core/NetworkSample.h"
#include "core/SensorsSample.h"
#include "shared/AccessoryBattery.h"

#include <array>
#include <optional>
#include <vector>

namespace orbistat {

// The nine histories in the monitor's declaration order.
enum class MonitorHistory {
    cpu,
    memory,
    download,
    upload,
    diskRead,
    diskWrite,
    gpu,
    cpuTemperature,
    systemPower,
};
inline constexpr size_t monitorHistoryCount = 9;

struct DemoData {
    CPUSample cpu;
    MemorySample memory;
    NetworkSample network;
    NetworkInfo networkInfo;
    DiskSample disk;
    std::optional<double> gpu;
    SensorsSample sensors;
    std::optional<BatterySample> battery;
    std::vector<AccessoryBattery> accessories;
    std::array<std::vector<double>, monitorHistoryCount> histories;
};

DemoData makeDemoData();

// Point i of a generated history:
// (sin(i/5 + a)·0.6 + sin(i/2.3 + b)·0.4)·amplitude + base, at least 0, and
// at most 1 for fractions.
std::vector<double> generatedHistory(double a, double b, double amplitude, double base, bool isFraction, size_t count = 60);

} // namespace orbistat
