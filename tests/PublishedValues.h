// What every tick may publish, whatever the machine served: each value
// finite and inside the range its record documents, each history at most
// 60 points, and a widget snapshot that encodes to JSON and decodes back to
// itself. Returns one line per broken rule, empty when all hold.
#pragma once

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "shared/SharedStats.h"
#include "shared/bridge/WidgetBridge.h"

#include <QJsonDocument>
#include <cmath>
#include <string>
#include <vector>

namespace orbistat::test {

inline std::vector<std::string> unsoundValues(const SystemMonitor& monitor, const WidgetBridge& bridge)
{
    std::vector<std::string> broken;
    const auto check = [&broken](bool holds, const std::string& what) {
        if (!holds)
            broken.push_back(what);
    };
    const auto fraction = [](double v) { return std::isfinite(v) && v >= 0.0 && v <= 1.0; };
    const auto rate = [](double v) { return std::isfinite(v) && v >= 0.0; };
    // The sensors' plausibility windows, exclusive.
    const auto celsius = [](double v) { return std::isfinite(v) && v > 0.0 && v < 150.0; };
    const auto watts = [](double v) { return std::isfinite(v) && v >= 0.0 && v < 600.0; };

    const auto& cpu = monitor.cpu();
    check(fraction(cpu.total) && fraction(cpu.user) && fraction(cpu.system), "cpu fractions");
    for (const double core : cpu.perCore)
        check(fraction(core), "per-core fraction");
    if (const auto used = memoryUsedFraction(monitor.memory()))
        check(fraction(*used), "memory used fraction");
    check(rate(monitor.network().download) && rate(monitor.network().upload), "network rates");
    const auto& disk = monitor.disk();
    check(!disk.readRate || rate(*disk.readRate), "disk read rate");
    check(!disk.writeRate || rate(*disk.writeRate), "disk write rate");
    if (const auto used = diskUsedFraction(disk))
        check(fraction(*used), "disk used fraction");
    check(!monitor.gpu() || fraction(*monitor.gpu()), "gpu fraction");

    const auto& sensors = monitor.sensors();
    for (const auto* value : {&sensors.cpu, &sensors.cpuHottest, &sensors.gpu, &sensors.soc, &sensors.ssd, &sensors.battery})
        check(!*value || celsius(**value), "summary temperature");
    for (const auto& reading : sensors.all)
        check(celsius(reading.value), "temperature " + reading.name.toStdString());
    check(sensors.fans.size() <= 4, "at most four fans");
    for (const auto& fan : sensors.fans) {
        check(std::isfinite(fan.rpm) && fan.rpm >= 0.0 && fan.rpm < 20000.0, "fan speed");
        check(!fan.minRPM || rate(*fan.minRPM), "fan minimum");
        check(!fan.maxRPM || rate(*fan.maxRPM), "fan maximum");
    }
    check(!sensors.systemPower || (watts(*sensors.systemPower) && *sensors.systemPower > 0.05), "system power");
    check(!sensors.adapterPower || (watts(*sensors.adapterPower) && *sensors.adapterPower > 0.05), "adapter power");
    for (const auto* value : {&sensors.components.cpu, &sensors.components.gpu, &sensors.components.ane, &sensors.components.dram})
        check(!*value || watts(**value), "component power");

    if (const auto& battery = monitor.battery()) {
        check(battery->percent >= 0 && battery->percent <= 100, "battery percent");
        check(!battery->minutesRemaining || *battery->minutesRemaining >= 0, "battery minutes");
        check(!battery->healthPercent || (*battery->healthPercent >= 0 && *battery->healthPercent <= 100), "battery health");
        check(!battery->temperature || std::isfinite(*battery->temperature), "battery temperature");
        check(!battery->watts || watts(*battery->watts), "battery watts");
    }
    for (const auto& accessory : monitor.accessories())
        check(accessory.percent >= 0 && accessory.percent <= 100 && !accessory.name.isEmpty(), "accessory");

    for (size_t i = 0; i < monitorHistoryCount; ++i) {
        const auto& history = monitor.history(static_cast<MonitorHistory>(i));
        check(history.size() <= 60, "history " + std::to_string(i) + " beyond 60 points");
        for (const double value : history)
            check(std::isfinite(value) && value >= 0.0, "history " + std::to_string(i) + " value");
    }

    // A snapshot is skipped only for a memory sum beyond 64 bits.
    if (const auto stats = bridge.snapshot(monitor, QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC))) {
        const auto json = encodeSharedStats(*stats);
        check(json.has_value(), "the snapshot encodes");
        if (json) {
            check(QJsonDocument::fromJson(*json).isObject(), "the snapshot is a JSON object");
            check(decodeSharedStats(*json) == stats, "the snapshot decodes to itself");
        }
    }
    return broken;
}

} // namespace orbistat::test
