#include "core/MonitorReadings.h"

#include "core/SystemMonitor.h"

namespace orbistat {

MonitorReadings MonitorReadings::of(const SystemMonitor& monitor)
{
    MonitorReadings readings;
    readings.interval = monitor.interval();
    readings.cpu = monitor.cpu();
    readings.memory = monitor.memory();
    readings.network = monitor.network();
    readings.disk = monitor.disk();
    readings.gpu = monitor.gpu();
    readings.sensors = monitor.sensors();
    readings.battery = monitor.battery();
    for (size_t i = 0; i < monitorHistoryCount; ++i)
        readings.histories[i] = monitor.history(static_cast<MonitorHistory>(i));
    return readings;
}

} // namespace orbistat
