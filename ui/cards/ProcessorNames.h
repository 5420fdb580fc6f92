// The processor's name and core summary as the header and the CPU card show
// them: the monitor's processor sampler reads both once per process. A
// monitor without one (the demo pictures) says "CPU" and counts the
// processors of its current sample.
#pragma once

#include <QString>

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

QString processorBrandName(const SystemMonitor& monitor);
QString processorCoreSummary(const SystemMonitor& monitor);

} // namespace orbistat::ui
