#include "platform/linux/LinuxPowerSupplies.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace orbistat {

namespace {

bool isAdapterType(const QString& type)
{
    return type == QStringLiteral("Mains") || type == QStringLiteral("USB") || type == QStringLiteral("USB_C");
}

// Minutes from hours, rounded to the nearest minute; -1 (no estimate) when
// the figure is not a number a person could wait for.
int64_t minutesFromHours(double hours)
{
    const double minutes = hours * 60.0;
    if (!std::isfinite(minutes) || minutes < 0.0 || minutes > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return -1;
    return std::llround(minutes);
}

int64_t roundedThousandths(int64_t value)
{
    return static_cast<int64_t>(std::llround(static_cast<double>(value) / 1000.0));
}

} // namespace

LinuxPowerSupplies::LinuxPowerSupplies(LinuxRoot root, const Clock& clock)
    : root_(std::move(root))
    , rescan_(clock)
{
}

void LinuxPowerSupplies::refresh()
{
    if (rescan_.due())
        scan();
}

void LinuxPowerSupplies::ensureScanned()
{
    if (rescan_.neverScanned())
        refresh();
}

void LinuxPowerSupplies::scan()
{
    battery_.reset();
    adapters_.clear();
    for (const auto& name : root_.list("sys/class/power_supply")) {
        const std::string directory = "sys/class/power_supply/" + name;
        const auto type = root_.readText(directory + "/type");
        if (!type || root_.readText(directory + "/scope") == QStringLiteral("Device"))
            continue;
        if (*type == QStringLiteral("Battery")) {
            if (!battery_ && root_.readUnsigned(directory + "/present").value_or(1) != 0)
                battery_ = Supply{directory, name};
        } else if (isAdapterType(*type)) {
            const bool isPdSource = name.starts_with("ucsi-source-psy-") || name.starts_with("tcpm-source-psy-");
            adapters_.push_back(Supply{directory, name, !isPdSource});
        }
    }
}

std::optional<uint64_t> LinuxPowerSupplies::readUnsigned(const std::string& attribute) const
{
    return root_.readUnsigned(battery_->directory + "/" + attribute);
}

std::optional<int64_t> LinuxPowerSupplies::readSigned(const std::string& attribute) const
{
    return root_.readSigned(battery_->directory + "/" + attribute);
}

std::optional<QString> LinuxPowerSupplies::batteryStatus()
{
    auto status = root_.readText(battery_->directory + "/status");
    if (!status && !root_.exists(battery_->directory))
        rescan_.readFailed();  // the battery was taken out
    return status;
}

bool LinuxPowerSupplies::isOnAcPower(const std::optional<QString>& status)
{
    for (const auto& adapter : adapters_) {
        if (root_.readUnsigned(adapter.directory + "/online") == 1u)
            return true;
    }
    return status == QStringLiteral("Charging") || status == QStringLiteral("Full") || status == QStringLiteral("Not charging");
}

LinuxPowerSupplies::Levels LinuxPowerSupplies::levels(bool withDesign)
{
    // Smart batteries report energy; many ARM and some older batteries
    // report charge instead. The two are never mixed: a health figure needs
    // design and full in one unit.
    const bool hasEnergy = readUnsigned("energy_full") || readUnsigned("energy_now");
    const std::string family = hasEnergy ? "energy" : "charge";
    Levels levels;
    levels.now = readUnsigned(family + "_now");
    levels.full = readUnsigned(family + "_full");
    if (withDesign)
        levels.design = readUnsigned(family + "_full_design");
    // Some drivers sign the rate by direction; only its size matters here.
    if (const auto rate = readSigned(hasEnergy ? "power_now" : "current_now"))
        levels.rate = static_cast<uint64_t>(std::llabs(std::max<int64_t>(*rate, -std::numeric_limits<int64_t>::max())));
    return levels;
}

std::optional<std::vector<std::optional<PropertyDictionary>>> LinuxPowerSupplies::sources()
{
    refresh();
    std::vector<std::optional<PropertyDictionary>> list;
    if (!battery_)
        return list;

    const auto status = batteryStatus();
    const bool isCharging = status == QStringLiteral("Charging");
    const bool isOnAc = isOnAcPower(status);
    const auto level = levels(false);

    PropertyDictionary description;
    description[QStringLiteral("Type")] = QStringLiteral("InternalBattery");
    if (const auto capacity = readUnsigned("capacity")) {
        description[QStringLiteral("Current Capacity")] = static_cast<int64_t>(std::min<uint64_t>(*capacity, INT64_MAX));
    } else if (level.now && level.full && *level.full > 0) {
        const double percent = static_cast<double>(*level.now) / static_cast<double>(*level.full) * 100.0;
        description[QStringLiteral("Current Capacity")] = static_cast<int64_t>(std::llround(std::min(percent, 1e9)));
    }
    description[QStringLiteral("Max Capacity")] = int64_t{100};
    description[QStringLiteral("Is Charging")] = isCharging;
    description[QStringLiteral("Power Source State")] = isOnAc ? QStringLiteral("AC Power") : QStringLiteral("Battery Power");

    // Times: the driver's own estimate in seconds when it gives one, else
    // energy (or charge) over the rate. No rate, no estimate (-1).
    const bool hasRate = level.rate && *level.rate > 0;
    int64_t toFull = -1;
    if (isCharging) {
        if (const auto seconds = readUnsigned("time_to_full_now"))
            toFull = minutesFromHours(static_cast<double>(*seconds) / 3600.0);
        else if (hasRate && level.now && level.full && *level.full >= *level.now)
            toFull = minutesFromHours(static_cast<double>(*level.full - *level.now) / static_cast<double>(*level.rate));
    }
    int64_t toEmpty = -1;
    if (!isOnAc) {
        if (const auto seconds = readUnsigned("time_to_empty_now"))
            toEmpty = minutesFromHours(static_cast<double>(*seconds) / 3600.0);
        else if (hasRate && level.now)
            toEmpty = minutesFromHours(static_cast<double>(*level.now) / static_cast<double>(*level.rate));
    }
    description[QStringLiteral("Time to Full Charge")] = toFull;
    description[QStringLiteral("Time to Empty")] = toEmpty;

    list.push_back(std::move(description));
    return list;
}

std::optional<PropertyDictionary> LinuxPowerSupplies::properties()
{
    ensureScanned();
    if (!battery_)
        return std::nullopt;
    PropertyDictionary table;

    // 0 is the kernel's "not known".
    if (const auto cycles = readSigned("cycle_count"); cycles && *cycles > 0)
        table[QStringLiteral("CycleCount")] = *cycles;

    const auto level = levels(true);
    const auto thousandths = [](uint64_t micro) { return static_cast<int64_t>(std::min<uint64_t>(micro / 1000 + (micro % 1000 >= 500), INT64_MAX)); };
    if (level.design)
        table[QStringLiteral("DesignCapacity")] = thousandths(*level.design);
    if (level.full)
        table[QStringLiteral("AppleRawMaxCapacity")] = thousandths(*level.full);

    // Tenths of °C in sysfs, hundredths in the controller's table.
    if (const auto tenths = readSigned("temp"); tenths && *tenths > INT64_MIN / 10 && *tenths < INT64_MAX / 10)
        table[QStringLiteral("Temperature")] = *tenths * 10;

    const auto microvolts = readSigned("voltage_now");
    if (microvolts)
        table[QStringLiteral("Voltage")] = roundedThousandths(*microvolts);

    std::optional<double> milliamperes;
    if (const auto microamperes = readSigned("current_now"))
        milliamperes = std::fabs(static_cast<double>(*microamperes)) / 1000.0;
    else if (const auto microwatts = readSigned("power_now"); microwatts && microvolts && *microvolts != 0)
        milliamperes = std::fabs(static_cast<double>(*microwatts) / static_cast<double>(*microvolts)) * 1000.0;
    if (milliamperes && *milliamperes < 1e12) {
        // Negative while discharging, whatever sign the driver uses.
        const auto status = batteryStatus();
        const bool isDischarging = status == QStringLiteral("Discharging") || !isOnAcPower(status);
        const auto magnitude = std::llround(*milliamperes);
        table[QStringLiteral("Amperage")] = isDischarging ? -magnitude : magnitude;
    }
    return table;
}

bool LinuxPowerSupplies::hasBattery()
{
    ensureScanned();
    return battery_.has_value();
}

bool LinuxPowerSupplies::hasMeasuredAdapter()
{
    ensureScanned();
    return std::any_of(adapters_.begin(), adapters_.end(), [](const Supply& adapter) { return adapter.isMeasuredAdapter; });
}

std::optional<double> LinuxPowerSupplies::batteryDischargeWatts()
{
    ensureScanned();
    if (!battery_)
        return std::nullopt;
    if (isOnAcPower(batteryStatus()))
        return std::nullopt;
    if (const auto microwatts = readSigned("power_now"))
        return std::fabs(static_cast<double>(*microwatts)) / 1e6;
    const auto microvolts = readSigned("voltage_now");
    const auto microamperes = readSigned("current_now");
    if (microvolts && microamperes)
        return std::fabs(static_cast<double>(*microvolts) * static_cast<double>(*microamperes)) / 1e12;
    return std::nullopt;
}

std::optional<double> LinuxPowerSupplies::adapterWatts()
{
    ensureScanned();
    for (const auto& adapter : adapters_) {
        if (!adapter.isMeasuredAdapter || root_.readUnsigned(adapter.directory + "/online") != 1u)
            continue;
        const auto microvolts = root_.readSigned(adapter.directory + "/voltage_now");
        const auto microamperes = root_.readSigned(adapter.directory + "/current_now");
        if (microvolts && microamperes)
            return std::fabs(static_cast<double>(*microvolts) * static_cast<double>(*microamperes)) / 1e12;
    }
    return std::nullopt;
}

} // namespace orbistat
