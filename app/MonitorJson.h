// The monitor's published values as JSON, for `orbistat --json`: records by
// field name, absent values left out, histories left out.
#pragma once

#include "core/SystemMonitor.h"

#include <QJsonObject>

namespace orbistat {

QJsonObject toJson(const CPUSample& sample);
QJsonObject toJson(const MemorySample& sample);
QJsonObject toJson(const NetworkSample& sample);
QJsonObject toJson(const NetworkInfo& info);
QJsonObject toJson(const DiskSample& sample);
QJsonObject toJson(const SensorsSample& sample);
QJsonObject toJson(const BatterySample& sample);
QJsonObject toJson(const AccessoryBattery& accessory);
QJsonObject toJson(const SystemMonitor& monitor);

QString pressureName(MemorySample::Pressure pressure);

} // namespace orbistat
