#include "shared/SharedStats.h"

#include "shared/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QTimeZone>
#include <cmath>

namespace orbistat {

namespace {

// 2001-01-01 00:00:00 UTC in Unix seconds: the snapshot's reference date.
constexpr qint64 referenceUnixSeconds = 978307200;
// Dates beyond ±100 000 years from the reference are not dates anyone
// wrote; they are refused rather than overflowing the conversion.
constexpr double maxReferenceSeconds = 3.15e12;
// Integers must survive the trip through a JSON number (a double).
constexpr double maxExactInteger = 9007199254740992.0;  // 2^53

std::optional<double> numberValue(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    return value.toDouble();
}

std::optional<int64_t> integerValue(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number || std::fabs(number) > maxExactInteger)
        return std::nullopt;
    return static_cast<int64_t>(number);
}

// An optional key: missing or null is absent (true, nullopt); a present
// value of the wrong type is an error (false).
template <typename T, typename Read>
bool readOptional(const QJsonObject& object, const char* key, std::optional<T>& out, Read read)
{
    const auto value = object.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull()) {
        out.reset();
        return true;
    }
    out = read(value);
    return out.has_value();
}

std::optional<bool> boolValue(const QJsonValue& value)
{
    if (!value.isBool())
        return std::nullopt;
    return value.toBool();
}

bool isFinite(const SharedStats& stats)
{
    for (const double value : {stats.cpu, stats.memory, stats.disk, stats.download, stats.upload, stats.warning, stats.critical}) {
        if (!std::isfinite(value))
            return false;
    }
    for (const auto& value : {stats.gpu, stats.cpuTemperature}) {
        if (value && !std::isfinite(*value))
            return false;
    }
    return stats.updated.isValid() && std::isfinite(secondsSinceReferenceDate(stats.updated));
}

} // namespace

double secondsSinceReferenceDate(const QDateTime& instant)
{
    return static_cast<double>(instant.toMSecsSinceEpoch() - referenceUnixSeconds * 1000) / 1000.0;
}

QDateTime dateFromReferenceSeconds(double seconds)
{
    const double msecs = std::round(seconds * 1000.0) + static_cast<double>(referenceUnixSeconds) * 1000.0;
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(msecs), QTimeZone::utc());
}

std::optional<AccessoryBattery> decodeAccessory(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const auto object = value.toObject();
    const auto name = object.value(QLatin1String("name"));
    const auto percent = integerValue(object.value(QLatin1String("percent")));
    const auto charging = boolValue(object.value(QLatin1String("isCharging")));
    const auto symbol = object.value(QLatin1String("symbol"));
    if (!name.isString() || !percent || !charging || !symbol.isString())
        return std::nullopt;
    return AccessoryBattery{name.toString(), *percent, *charging, symbol.toString()};
}

bool encodeSharedStats(const SharedStats& stats, std::string& out)
{
    if (!isFinite(stats))
        return false;
    JsonWriter json(out);
    json.beginObject();
    const std::pair<const char*, double> numbers[] = {
        {"cpu", stats.cpu},         {"memory", stats.memory},     {"disk", stats.disk},
        {"download", stats.download}, {"upload", stats.upload},   {"warning", stats.warning},
        {"critical", stats.critical}, {"updated", secondsSinceReferenceDate(stats.updated)},
    };
    for (const auto& [key, value] : numbers) {
        json.key(key);
        json.number(value);
    }
    if (stats.gpu) {
        json.key("gpu");
        json.number(*stats.gpu);
    }
    if (stats.batteryPercent) {
        json.key("batteryPercent");
        json.integer(*stats.batteryPercent);
    }
    if (stats.batteryCharging) {
        json.key("batteryCharging");
        json.boolean(*stats.batteryCharging);
    }
    if (stats.cpuTemperature) {
        json.key("cpuTemperature");
        json.number(*stats.cpuTemperature);
    }
    json.key("accessories");
    json.beginArray();
    for (const auto& accessory : stats.accessories) {
        json.beginObject();
        json.key("name");
        json.text(accessory.name);
        json.key("percent");
        json.integer(accessory.percent);
        json.key("isCharging");
        json.boolean(accessory.isCharging);
        json.key("symbol");
        json.text(accessory.symbol);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return true;
}

std::optional<QByteArray> encodeSharedStats(const SharedStats& stats)
{
    std::string out;
    if (!encodeSharedStats(stats, out))
        return std::nullopt;
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

std::optional<SharedStats> decodeSharedStats(const QByteArray& json)
{
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const auto object = document.object();

    SharedStats stats;
    struct Required {
        const char* key;
        double* target;
    };
    for (const auto& [key, target] : {Required{"cpu", &stats.cpu}, Required{"memory", &stats.memory}, Required{"disk", &stats.disk},
                                      Required{"download", &stats.download}, Required{"upload", &stats.upload},
                                      Required{"warning", &stats.warning}, Required{"critical", &stats.critical}}) {
        const auto value = numberValue(object.value(QLatin1String(key)));
        if (!value)
            return std::nullopt;
        *target = *value;
    }

    const auto updated = numberValue(object.value(QLatin1String("updated")));
    if (!updated || std::fabs(*updated) > maxReferenceSeconds)
        return std::nullopt;
    stats.updated = dateFromReferenceSeconds(*updated);

    if (!readOptional(object, "gpu", stats.gpu, numberValue)
        || !readOptional(object, "batteryPercent", stats.batteryPercent, integerValue)
        || !readOptional(object, "batteryCharging", stats.batteryCharging, boolValue)
        || !readOptional(object, "cpuTemperature", stats.cpuTemperature, numberValue))
        return std::nullopt;

    const auto accessories = object.value(QLatin1String("accessories"));
    if (!accessories.isArray())
        return std::nullopt;
    for (const auto& entry : accessories.toArray()) {
        auto accessory = decodeAccessory(entry);
        if (!accessory)
            return std::nullopt;
        stats.accessories.push_back(std::move(*accessory));
    }
    return stats;
}

} // namespace orbistat
