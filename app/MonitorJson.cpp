#include "app/MonitorJson.h"

#include "samplers/CPUSampler.h"

#include <QJsonArray>

namespace orbistat {

namespace {

template <typename T>
void putOptional(QJsonObject& object, const char* key, const std::optional<T>& value)
{
    if (!value)
        return;
    if constexpr (std::is_same_v<T, int64_t>)
        object.insert(QLatin1String(key), static_cast<qint64>(*value));
    else
        object.insert(QLatin1String(key), *value);
}

// JSON numbers are doubles; byte counts beyond 2^53 would lose precision,
// which no memory or disk size comes near.
double bytes(uint64_t count) { return static_cast<double>(count); }

QJsonArray toArray(const std::vector<double>& values)
{
    QJsonArray array;
    for (const double value : values)
        array.append(value);
    return array;
}

} // namespace

QString pressureName(MemorySample::Pressure pressure)
{
    switch (pressure) {
    case MemorySample::Pressure::normal: return QStringLiteral("normal");
    case MemorySample::Pressure::warning: return QStringLiteral("warning");
    case MemorySample::Pressure::critical: break;
    }
    return QStringLiteral("critical");
}

QJsonObject toJson(const CPUSample& sample)
{
    return {{"total", sample.total}, {"user", sample.user}, {"system", sample.system}, {"perCore", toArray(sample.perCore)}};
}

QJsonObject toJson(const MemorySample& sample)
{
    return {
        {"total", bytes(sample.total)},
        {"app", bytes(sample.app)},
        {"wired", bytes(sample.wired)},
        {"compressed", bytes(sample.compressed)},
        {"swapUsed", bytes(sample.swapUsed)},
        {"pressure", pressureName(sample.pressure)},
    };
}

QJsonObject toJson(const NetworkSample& sample)
{
    return {{"download", sample.download}, {"upload", sample.upload}};
}

QJsonObject toJson(const NetworkInfo& info)
{
    QJsonObject object{{"kind", networkKindName(info.kind)}};
    putOptional(object, "interface", info.interface);
    putOptional(object, "displayName", info.displayName);
    putOptional(object, "localIP", info.localIP);
    putOptional(object, "ssid", info.ssid);
    putOptional(object, "rssi", info.rssi);
    putOptional(object, "noise", info.noise);
    putOptional(object, "linkSpeedMbps", info.linkSpeedMbps);
    object.insert(QLatin1String("ssidHiddenByPrivacy"), info.ssidHiddenByPrivacy);
    putOptional(object, "debug", info.debug);
    return object;
}

QJsonObject toJson(const DiskSample& sample)
{
    QJsonObject object{{"total", bytes(sample.total)}, {"available", bytes(sample.available)}};
    putOptional(object, "readRate", sample.readRate);
    putOptional(object, "writeRate", sample.writeRate);
    return object;
}

QJsonObject toJson(const SensorsSample& sample)
{
    QJsonObject object;
    putOptional(object, "cpu", sample.cpu);
    putOptional(object, "cpuHottest", sample.cpuHottest);
    putOptional(object, "gpu", sample.gpu);
    putOptional(object, "soc", sample.soc);
    putOptional(object, "ssd", sample.ssd);
    putOptional(object, "battery", sample.battery);
    QJsonArray all;
    for (const auto& reading : sample.all)
        all.append(QJsonObject{{"name", reading.name}, {"value", reading.value}});
    object.insert(QLatin1String("all"), all);
    QJsonArray fans;
    for (const auto& fan : sample.fans) {
        QJsonObject entry{{"id", static_cast<qint64>(fan.id)}, {"rpm", fan.rpm}};
        putOptional(entry, "minRPM", fan.minRPM);
        putOptional(entry, "maxRPM", fan.maxRPM);
        fans.append(entry);
    }
    object.insert(QLatin1String("fans"), fans);
    putOptional(object, "systemPower", sample.systemPower);
    putOptional(object, "adapterPower", sample.adapterPower);
    QJsonObject components;
    putOptional(components, "cpu", sample.components.cpu);
    putOptional(components, "gpu", sample.components.gpu);
    putOptional(components, "ane", sample.components.ane);
    putOptional(components, "dram", sample.components.dram);
    object.insert(QLatin1String("components"), components);
    return object;
}

QJsonObject toJson(const BatterySample& sample)
{
    QJsonObject object{
        {"percent", static_cast<qint64>(sample.percent)},
        {"isCharging", sample.isCharging},
        {"isPluggedIn", sample.isPluggedIn},
    };
    putOptional(object, "minutesRemaining", sample.minutesRemaining);
    putOptional(object, "cycleCount", sample.cycleCount);
    putOptional(object, "healthPercent", sample.healthPercent);
    putOptional(object, "temperature", sample.temperature);
    putOptional(object, "watts", sample.watts);
    return object;
}

QJsonObject toJson(const AccessoryBattery& accessory)
{
    return {
        {"name", accessory.name},
        {"percent", static_cast<qint64>(accessory.percent)},
        {"isCharging", accessory.isCharging},
        {"symbol", accessory.symbol},
    };
}

QJsonObject toJson(const SystemMonitor& monitor)
{
    QJsonObject object{
        {"interval", monitor.interval()},
        {"cpu", toJson(monitor.cpu())},
        {"memory", toJson(monitor.memory())},
        {"network", toJson(monitor.network())},
        {"networkInfo", toJson(monitor.networkInfo())},
        {"disk", toJson(monitor.disk())},
        {"sensors", toJson(monitor.sensors())},
    };
    if (const auto used = memoryUsedFraction(monitor.memory()))
        object.insert(QLatin1String("memoryUsedFraction"), *used);
    if (const auto used = diskUsedFraction(monitor.disk()))
        object.insert(QLatin1String("diskUsedFraction"), *used);
    putOptional(object, "gpu", monitor.gpu());
    if (monitor.battery())
        object.insert(QLatin1String("battery"), toJson(*monitor.battery()));
    QJsonArray accessories;
    for (const auto& accessory : monitor.accessories())
        accessories.append(toJson(accessory));
    object.insert(QLatin1String("accessories"), accessories);
    object.insert(QLatin1String("accessoriesDiagnostics"), monitor.accessoriesDiagnostics());
    if (const auto* cpu = monitor.cpuSampler()) {
        object.insert(QLatin1String("cpuBrand"), cpu->brandName());
        object.insert(QLatin1String("cpuCores"), cpu->coreSummary());
    }
    return object;
}

} // namespace orbistat
