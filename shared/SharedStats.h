// The snapshot the monitor hands to the widget program, and its JSON form.
// The same definition is compiled into both programs.
#pragma once

#include "shared/AccessoryBattery.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <optional>
#include <string>
#include <vector>

namespace orbistat {

struct SharedStats {
    double cpu = 0.0;       // fraction 0–1
    double memory = 0.0;    // used fraction 0–1
    double disk = 0.0;      // used fraction 0–1
    double download = 0.0;  // bytes per second
    double upload = 0.0;
    std::optional<double> gpu;
    std::optional<int64_t> batteryPercent;
    std::optional<bool> batteryCharging;
    std::optional<double> cpuTemperature;  // °C
    double warning = 0.75;
    double critical = 0.9;
    QDateTime updated;  // UTC
    std::vector<AccessoryBattery> accessories;

    friend bool operator==(const SharedStats&, const SharedStats&) = default;
};

// Seconds between 2001-01-01 00:00:00 UTC and the instant, with fraction.
double secondsSinceReferenceDate(const QDateTime& instant);
QDateTime dateFromReferenceSeconds(double seconds);

// Compact JSON (UTF-8). Absent when a number is not finite: such a snapshot
// is not written at all.
std::optional<QByteArray> encodeSharedStats(const SharedStats& stats);
// The same into a buffer the caller keeps, which then costs no allocation
// once it has grown; false (and `out` unspecified) when a number is not
// finite.
bool encodeSharedStats(const SharedStats& stats, std::string& out);
// Absent when a required key is missing, a value has the wrong JSON type or
// the text is not a JSON object. A null optional value reads as absent;
// unknown keys are ignored.
std::optional<SharedStats> decodeSharedStats(const QByteArray& json);

std::optional<AccessoryBattery> decodeAccessory(const QJsonValue& value);

} // namespace orbistat
