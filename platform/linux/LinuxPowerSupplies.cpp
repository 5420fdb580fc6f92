#include "platform/linux/LinuxPowerSupplies.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <tuple>

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
    , attributes_(root_)
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
    attributes_.sweep();
    batteries_.clear();
    adapters_.clear();
    for (const auto& name : root_.list("sys/class/power_supply")) {
        const std::string directory = "sys/class/power_supply/" + name;
        const auto type = root_.readText(directory + "/type");
        if (!type || root_.readText(directory + "/scope") == QStringLiteral("Device"))
            continue;
        if (*type == QStringLiteral("Battery")) {
            if (root_.readUnsigned(directory + "/present").value_or(1) != 0)
                batteries_.push_back(Supply{directory, name});
        } else if (isAdapterType(*type)) {
            const bool isPdSource = name.starts_with("ucsi-source-psy-") || name.starts_with("tcpm-source-psy-");
            adapters_.push_back(Supply{directory, name, !isPdSource});
        }
    }
}

const std::string& LinuxPowerSupplies::attributePath(const Supply& supply, std::string_view attribute) const
{
    return path_.assign(supply.directory).append(1, '/').append(attribute);
}

std::optional<uint64_t> LinuxPowerSupplies::readUnsigned(const Supply& supply, std::string_view attribute) const
{
    return attributes_.readUnsigned(attributePath(supply, attribute));
}

std::optional<int64_t> LinuxPowerSupplies::readSigned(const Supply& supply, std::string_view attribute) const
{
    return attributes_.readSigned(attributePath(supply, attribute));
}

std::vector<std::optional<QString>> LinuxPowerSupplies::batteryStatuses()
{
    std::vector<std::optional<QString>> statuses;
    for (const auto& battery : batteries_) {
        auto status = attributes_.readText(attributePath(battery, "status"));
        if (!status && !root_.exists(battery.directory))
            rescan_.readFailed();  // the battery was taken out
        statuses.push_back(std::move(status));
    }
    return statuses;
}

bool LinuxPowerSupplies::isOnAcPower(const std::vector<std::optional<QString>>& statuses)
{
    for (const auto& adapter : adapters_) {
        if (readUnsigned(adapter, "online") == 1u)
            return true;
    }
    const auto any = [&statuses](std::initializer_list<const char*> texts) {
        return std::any_of(statuses.begin(), statuses.end(), [texts](const std::optional<QString>& status) {
            return status && std::any_of(texts.begin(), texts.end(), [&status](const char* text) { return *status == QLatin1String(text); });
        });
    };
    if (any({"Discharging"}))
        return false;
    return any({"Charging", "Full", "Not charging"});
}

LinuxPowerSupplies::Levels LinuxPowerSupplies::levels(const Supply& battery, bool withDesign) const
{
    // Smart batteries report energy; many ARM and some older batteries
    // report charge instead. The two are never mixed: a health figure needs
    // design and full in one unit.
    Levels levels;
    levels.isEnergy = readUnsigned(battery, "energy_full") || readUnsigned(battery, "energy_now");
    const std::string family = levels.isEnergy ? "energy" : "charge";
    levels.now = readUnsigned(battery, family + "_now");
    levels.full = readUnsigned(battery, family + "_full");
    if (withDesign)
        levels.design = readUnsigned(battery, family + "_full_design");
    // Some drivers sign the rate by direction; only its size matters here.
    if (const auto rate = readSigned(battery, levels.isEnergy ? "power_now" : "current_now"))
        levels.rate = static_cast<uint64_t>(std::llabs(std::max<int64_t>(*rate, -std::numeric_limits<int64_t>::max())));
    return levels;
}

std::optional<double> LinuxPowerSupplies::batteryMicrowatts(const Supply& battery) const
{
    if (const auto microwatts = readSigned(battery, "power_now"))
        return std::fabs(static_cast<double>(*microwatts));
    const auto microvolts = readSigned(battery, "voltage_now");
    const auto microamperes = readSigned(battery, "current_now");
    if (microvolts && microamperes)
        return std::fabs(static_cast<double>(*microvolts) * static_cast<double>(*microamperes)) / 1e6;
    return std::nullopt;
}

std::optional<std::vector<std::optional<PropertyDictionary>>> LinuxPowerSupplies::sources()
{
    refresh();
    std::vector<std::optional<PropertyDictionary>> list;
    if (batteries_.empty())
        return list;

    const auto statuses = batteryStatuses();
    const bool isCharging = std::any_of(statuses.begin(), statuses.end(), [](const auto& status) { return status == QStringLiteral("Charging"); });
    const bool isOnAc = isOnAcPower(statuses);
    const bool isSingle = batteries_.size() == 1;
    const Supply& first = batteries_.front();

    // Now, full and rate in one unit (µWh and µW, or µAh and µA): the
    // charge is their ratio and the times their quotients, in hours.
    std::optional<double> now, full, rate;
    if (isSingle) {
        const auto level = levels(first, false);
        const auto toDouble = [](std::optional<uint64_t> value) { return value ? std::optional(static_cast<double>(*value)) : std::nullopt; };
        now = toDouble(level.now);
        full = toDouble(level.full);
        rate = toDouble(level.rate);
    } else {
        std::tie(now, full, rate) = combinedLevels();
    }

    PropertyDictionary description;
    description[QStringLiteral("Type")] = QStringLiteral("InternalBattery");
    const auto capacity = isSingle ? readUnsigned(first, "capacity") : std::nullopt;
    if (capacity) {
        description[QStringLiteral("Current Capacity")] = static_cast<int64_t>(std::min<uint64_t>(*capacity, INT64_MAX));
    } else if (now && full && *full > 0) {
        description[QStringLiteral("Current Capacity")] = static_cast<int64_t>(std::llround(std::min(*now / *full * 100.0, 1e9)));
    } else if (!isSingle) {
        // Batteries that report only their percentage weigh the same.
        double sum = 0.0;
        bool hasAll = true;
        for (const auto& battery : batteries_) {
            const auto percent = readUnsigned(battery, "capacity");
            hasAll = hasAll && percent;
            sum += percent ? static_cast<double>(std::min<uint64_t>(*percent, 1000)) : 0.0;
        }
        if (hasAll)
            description[QStringLiteral("Current Capacity")] = static_cast<int64_t>(std::llround(sum / static_cast<double>(batteries_.size())));
    }
    description[QStringLiteral("Max Capacity")] = int64_t{100};
    description[QStringLiteral("Is Charging")] = isCharging;
    description[QStringLiteral("Power Source State")] = isOnAc ? QStringLiteral("AC Power") : QStringLiteral("Battery Power");

    // Times: one battery's driver estimate in seconds when it gives one,
    // else energy (or charge) over the rate. No rate, no estimate (-1).
    const bool hasRate = rate && *rate > 0;
    int64_t toFull = -1;
    if (isCharging) {
        if (const auto seconds = isSingle ? readUnsigned(first, "time_to_full_now") : std::nullopt)
            toFull = minutesFromHours(static_cast<double>(*seconds) / 3600.0);
        else if (hasRate && now && full && *full >= *now)
            toFull = minutesFromHours((*full - *now) / *rate);
    }
    int64_t toEmpty = -1;
    if (!isOnAc) {
        if (const auto seconds = isSingle ? readUnsigned(first, "time_to_empty_now") : std::nullopt)
            toEmpty = minutesFromHours(static_cast<double>(*seconds) / 3600.0);
        else if (hasRate && now)
            toEmpty = minutesFromHours(*now / *rate);
    }
    description[QStringLiteral("Time to Full Charge")] = toFull;
    description[QStringLiteral("Time to Empty")] = toEmpty;

    list.push_back(std::move(description));
    return list;
}

std::tuple<std::optional<double>, std::optional<double>, std::optional<double>> LinuxPowerSupplies::combinedLevels() const
{
    std::vector<Levels> all;
    for (const auto& battery : batteries_)
        all.push_back(levels(battery, false));
    const bool oneFamily = std::all_of(all.begin(), all.end(), [&all](const Levels& level) { return level.isEnergy == all.front().isEnergy; });
    std::optional<double> now = 0.0, full = 0.0, rate;
    for (size_t i = 0; i < all.size(); ++i) {
        // Charge becomes energy at the battery's voltage (µAh × V = µWh)
        // when the batteries do not all report the same family.
        double scale = 1.0;
        if (!oneFamily && !all[i].isEnergy) {
            auto microvolts = readSigned(batteries_[i], "voltage_min_design");
            if (!microvolts || *microvolts <= 0)
                microvolts = readSigned(batteries_[i], "voltage_now");
            if (!microvolts || *microvolts <= 0) {
                now = full = rate = std::nullopt;
                break;
            }
            scale = static_cast<double>(*microvolts) / 1e6;
        }
        const auto add = [scale](std::optional<double>& sum, std::optional<uint64_t> value) {
            if (sum && value)
                *sum += static_cast<double>(*value) * scale;
            else
                sum.reset();
        };
        add(now, all[i].now);
        add(full, all[i].full);
        // A battery that gives no rate adds none: an idle one reads 0.
        if (all[i].rate)
            rate = rate.value_or(0.0) + static_cast<double>(*all[i].rate) * scale;
    }
    return {now, full, rate};
}

std::optional<PropertyDictionary> LinuxPowerSupplies::properties()
{
    ensureScanned();
    if (batteries_.empty())
        return std::nullopt;
    const Supply& first = batteries_.front();
    PropertyDictionary table;

    // 0 is the kernel's "not known".
    if (const auto cycles = readSigned(first, "cycle_count"); cycles && *cycles > 0)
        table[QStringLiteral("CycleCount")] = *cycles;

    const auto level = levels(first, true);
    const auto thousandths = [](uint64_t micro) { return static_cast<int64_t>(std::min<uint64_t>(micro / 1000 + (micro % 1000 >= 500), INT64_MAX)); };
    if (level.design)
        table[QStringLiteral("DesignCapacity")] = thousandths(*level.design);
    if (level.full)
        table[QStringLiteral("AppleRawMaxCapacity")] = thousandths(*level.full);

    // Tenths of °C in sysfs, hundredths in the controller's table.
    if (const auto tenths = readSigned(first, "temp"); tenths && *tenths > INT64_MIN / 10 && *tenths < INT64_MAX / 10)
        table[QStringLiteral("Temperature")] = *tenths * 10;

    std::optional<int64_t> microvolts;
    std::optional<double> milliamperes;
    if (batteries_.size() == 1) {
        microvolts = readSigned(first, "voltage_now");
        if (const auto microamperes = readSigned(first, "current_now"))
            milliamperes = std::fabs(static_cast<double>(*microamperes)) / 1000.0;
        else if (const auto microwatts = readSigned(first, "power_now"); microwatts && microvolts && *microvolts != 0)
            milliamperes = std::fabs(static_cast<double>(*microwatts) / static_cast<double>(*microvolts)) * 1000.0;
    } else {
        // The power through all batteries together, as a current at the
        // voltage of the first battery that reports one.
        for (const auto& battery : batteries_) {
            microvolts = readSigned(battery, "voltage_now");
            if (microvolts && *microvolts != 0)
                break;
        }
        std::optional<double> microwatts;
        for (const auto& battery : batteries_) {
            if (const auto watts = batteryMicrowatts(battery))
                microwatts = microwatts.value_or(0.0) + *watts;
        }
        if (microwatts && microvolts && *microvolts != 0)
            milliamperes = *microwatts / std::fabs(static_cast<double>(*microvolts)) * 1000.0;
    }
    if (microvolts)
        table[QStringLiteral("Voltage")] = roundedThousandths(*microvolts);
    if (milliamperes && *milliamperes < 1e12) {
        // Negative while discharging, whatever sign the driver uses.
        const auto statuses = batteryStatuses();
        const bool isDischarging = std::any_of(statuses.begin(), statuses.end(), [](const auto& status) { return status == QStringLiteral("Discharging"); })
            || !isOnAcPower(statuses);
        const auto magnitude = std::llround(*milliamperes);
        table[QStringLiteral("Amperage")] = isDischarging ? -magnitude : magnitude;
    }
    return table;
}

bool LinuxPowerSupplies::hasBattery()
{
    ensureScanned();
    return !batteries_.empty();
}

bool LinuxPowerSupplies::hasMeasuredAdapter()
{
    ensureScanned();
    return std::any_of(adapters_.begin(), adapters_.end(), [](const Supply& adapter) { return adapter.isMeasuredAdapter; });
}

std::optional<double> LinuxPowerSupplies::batteryDischargeWatts()
{
    ensureScanned();
    if (batteries_.empty() || isOnAcPower(batteryStatuses()))
        return std::nullopt;
    std::optional<double> microwatts;
    for (const auto& battery : batteries_) {
        if (const auto watts = batteryMicrowatts(battery))
            microwatts = microwatts.value_or(0.0) + *watts;
    }
    if (!microwatts)
        return std::nullopt;
    return *microwatts / 1e6;
}

std::optional<double> LinuxPowerSupplies::adapterWatts()
{
    ensureScanned();
    for (const auto& adapter : adapters_) {
        if (!adapter.isMeasuredAdapter || readUnsigned(adapter, "online") != 1u)
            continue;
        const auto microvolts = readSigned(adapter, "voltage_now");
        const auto microamperes = readSigned(adapter, "current_now");
        if (microvolts && microamperes)
            return std::fabs(static_cast<double>(*microvolts) * static_cast<double>(*microamperes)) / 1e12;
    }
    return std::nullopt;
}

} // namespace orbistat
