// The one-line human-readable summary `orbistat --print` writes per tick.
#pragma once

#include "core/SystemMonitor.h"

#include <QString>

namespace orbistat {

QString statusLine(const SystemMonitor& monitor);

} // namespace orbistat
