// One-line human-readable summaries of the monitor for the headless mode.
#pragma once

#include "core/MonitorReadings.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"

#include <QString>

namespace orbistat {

QString statusLine(const SystemMonitor& monitor);

// What `orbistat --print` writes: the tray item's accessibility text for the
// enabled modules ("CPU 34%, RAM 59%"), or "Orbistat" when none has data.
QString statusItemText(const SystemMonitor& monitor, const SettingsStore& settings);
QString statusItemText(const MonitorReadings& readings, const SettingsStore& settings);

} // namespace orbistat
