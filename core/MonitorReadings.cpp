#include "core/MonitorReadings.h"

#include "core/SystemMonitor.h"

namespace orbistat {

MonitorReadings MonitorReadings::of(const SystemMonitor& monitor)
{
    MonitorReadings readings;
    readings.update(monitor);
    return readings;
}

void MonitorReadings::update(const SystemMonitor& monitor)
{
    interval = monitor.interval();
    cpu = monitor.cpu();
    memory = monitor.memory();
    network = monitor.network();
    disk = monitor.disk();
    gpu = monitor.gpu();
    sensors = monitor.sensors();
    battery = monitor.battery();
    for (size_t i = 0; i < monitorHistoryCount; ++i)
        histories[i] = monitor.history(static_cast<MonitorHistory>(i));
}

} // namespace orbistat
