#include "samplers/AccessoriesSampler.h"

#include "samplers/AccessoryMerge.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace orbistat {

namespace {

constexpr double profilerCacheSeconds = 120.0;

// An integer-typed value (not a float, text or boolean).
std::optional<int64_t> integerValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return value.toLongLong();
    case QMetaType::ULongLong: {
        const auto wide = value.toULongLong();
        if (wide > static_cast<qulonglong>(std::numeric_limits<int64_t>::max()))
            return std::nullopt;
        return static_cast<int64_t>(wide);
    }
    default:
        return std::nullopt;
    }
}

// Any number, as an integer (a float truncated toward zero).
std::optional<int64_t> numericValue(const QVariant& value)
{
    if (auto integer = integerValue(value))
        return integer;
    if (value.typeId() != QMetaType::Double && value.typeId() != QMetaType::Float)
        return std::nullopt;
    const double number = value.toDouble();
    // Outside int64 the conversion would be undefined.
    if (!std::isfinite(number) || number >= 9.2e18 || number <= -9.2e18)
        return std::nullopt;
    return static_cast<int64_t>(number);
}

std::optional<QString> textValue(const QVariantMap& map, const QString& key)
{
    const auto it = map.constFind(key);
    if (it == map.cend() || it->typeId() != QMetaType::QString)
        return std::nullopt;
    return it->toString();
}

// Halves away from zero, within the range of the result.
int64_t roundedPercent(int64_t current, int64_t max)
{
    const double percent = static_cast<double>(current) / static_cast<double>(max) * 100.0;
    if (percent >= 9.2e18)
        return std::numeric_limits<int64_t>::max();
    if (percent <= -9.2e18)
        return std::numeric_limits<int64_t>::min();
    return std::llround(percent);
}

QString item(const QString& name, int64_t percent)
{
    return name + QLatin1Char(' ') + QString::number(percent) + QLatin1Char('%');
}

} // namespace

AccessoriesSampler::AccessoriesSampler(PowerSourceList& powerSources, DeviceBatteryRegistry& registry,
                                       BluetoothProfiler& profiler, const Clock& clock)
    : powerSources_(powerSources)
    , registry_(registry)
    , profiler_(profiler)
    , clock_(clock)
{
}

std::optional<int64_t> AccessoriesSampler::batteryLevel(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    std::optional<int64_t> level;
    for (const QChar c : value.toString()) {
        if (!c.isDigit())
            continue;
        const int64_t digit = c.digitValue();
        const int64_t sofar = level.value_or(0);
        // A run of digits beyond int64 is no level at all.
        if (sofar > (std::numeric_limits<int64_t>::max() - digit) / 10)
            return std::nullopt;
        level = sofar * 10 + digit;
    }
    return level;
}

std::vector<AccessoryBattery> AccessoriesSampler::sample()
{
    devices_.clear();
    for (auto& items : items_)
        items.clear();

    addPowerSources();
    addRegistryEntries();

    const double now = clock_.now();
    if (!profilerDate_ || now - *profilerDate_ >= profilerCacheSeconds) {
        profilerCache_ = runProfiler();
        profilerDate_ = now;
    }
    // The merge gives the cached record a symbol of its own name; the
    // tool's minor type only helped while building the cache.
    for (const auto& cached : profilerCache_)
        add(cached.name, cached.percent, cached.isCharging, Source::bluetooth);

    static const std::array<const char*, 3> tags{"power", "hid", "bluetooth"};
    QStringList parts;
    for (size_t i = 0; i < tags.size(); ++i) {
        const QString joined = items_[i].isEmpty() ? QStringLiteral("-") : items_[i].join(QStringLiteral(", "));
        parts.append(QLatin1String(tags[i]) + QStringLiteral(": ") + joined);
    }
    diagnostics_ = parts.join(QStringLiteral(" | ")) + QStringLiteral(" | connected: ")
        + (profilerDevices_.isEmpty() ? QStringLiteral("-") : profilerDevices_);

    sortAccessoriesByName(devices_);
    return std::exchange(devices_, {});
}

void AccessoriesSampler::addPowerSources()
{
    for (const auto& description : powerSources_.powerSources()) {
        const auto type = textValue(description, QStringLiteral("Type"));
        if (type == QStringLiteral("InternalBattery") || type == QStringLiteral("UPS"))
            continue;
        const auto name = textValue(description, QStringLiteral("Name"));
        const auto current = integerValue(description.value(QStringLiteral("Current Capacity")));
        if (!name || !current)
            continue;
        const int64_t max = integerValue(description.value(QStringLiteral("Max Capacity"))).value_or(100);
        const int64_t percent = max > 0 ? roundedPercent(*current, max) : *current;
        const auto charging = description.value(QStringLiteral("Is Charging"));
        const bool isCharging = charging.typeId() == QMetaType::Bool && charging.toBool();
        add(*name, percent, isCharging, Source::power);
    }
}

void AccessoriesSampler::addRegistryEntries()
{
    struct Candidate {
        QString name;
        int64_t percent;
        bool isCharging;
    };
    std::vector<Candidate> candidates;
    for (const auto& entry : registry_.entries()) {
        const auto percent = numericValue(entry.properties.value(QStringLiteral("BatteryPercent")));
        if (!percent)
            continue;
        auto name = textValue(entry.properties, QStringLiteral("Product"));
        if (!name)
            name = textValue(entry.properties, QStringLiteral("DeviceName"));
        if (!name)
            name = textValue(entry.parentProperties, QStringLiteral("Product"));
        if (!name)
            name = textValue(entry.parentProperties, QStringLiteral("DeviceName"));
        if (!name)
            continue;
        const bool isCharging = numericValue(entry.properties.value(QStringLiteral("BatteryStatusFlags"))) == 3;
        candidates.push_back({*name, *percent, isCharging});
    }
    for (const auto& candidate : candidates)
        add(candidate.name, candidate.percent, candidate.isCharging, Source::hid);
}

void AccessoriesSampler::add(const QString& name, int64_t percent, bool isCharging, Source source)
{
    items_[static_cast<size_t>(source)].append(item(name, percent));
    if (percent < 0 || percent > 100 || name.isEmpty())
        return;
    const bool duplicate = std::any_of(devices_.begin(), devices_.end(), [&](const AccessoryBattery& kept) {
        return isSameAccessory(kept.name, name);
    });
    if (duplicate)
        return;
    devices_.push_back(AccessoryBattery{name, percent, isCharging, symbolFor(name)});
}

std::vector<AccessoryBattery> AccessoriesSampler::runProfiler()
{
    const auto devices = profiler_.connectedDevices();
    if (!devices)
        return {};
    std::vector<AccessoryBattery> records;
    QStringList texts;
    for (const auto& device : *devices) {
        const auto& properties = device.properties;
        QStringList batteryKeys;
        for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
            if (it.key().toLower().contains(QLatin1String("batt")))
                batteryKeys.append(it.key());
        }
        batteryKeys.sort();
        texts.append(batteryKeys.isEmpty() ? device.name + QStringLiteral(" [no battery key]")
                                           : device.name + QStringLiteral(" [") + batteryKeys.join(QLatin1Char(' ')) + QLatin1Char(']'));

        const QString minorType = textValue(properties, QStringLiteral("device_minorType")).value_or(QString());
        const QString symbol = symbolFor(device.name + QLatin1Char(' ') + minorType);
        if (const auto main = batteryLevel(properties.value(QStringLiteral("device_batteryLevelMain"))))
            records.push_back({device.name, *main, false, symbol});
        const auto left = batteryLevel(properties.value(QStringLiteral("device_batteryLevelLeft")));
        const auto right = batteryLevel(properties.value(QStringLiteral("device_batteryLevelRight")));
        if (left || right) {
            const int64_t pair = left && right ? std::min(*left, *right) : left ? *left : *right;
            records.push_back({device.name, pair, false, symbol});
        }
        if (const auto level = batteryLevel(properties.value(QStringLiteral("device_batteryLevelCase"))))
            records.push_back({device.name + QStringLiteral(" case"), *level, false, QStringLiteral("earbuds.case")});
    }
    profilerDevices_ = texts.join(QStringLiteral(", "));
    return records;
}

} // namespace orbistat
