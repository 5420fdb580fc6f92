#include "platform/linux/LinuxHwmon.h"

#include "platform/linux/TextParsing.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orbistat {

namespace {

// Driver names of the chips whose readings belong to a group.
struct ChipKind {
    std::string_view name;
    SensorGroup group;
};
constexpr std::array chipKinds{
    ChipKind{"coretemp", SensorGroup::cpu},
    ChipKind{"k10temp", SensorGroup::cpu},
    ChipKind{"zenpower", SensorGroup::cpu},
    ChipKind{"cpu_thermal", SensorGroup::cpu},
    ChipKind{"cpu-thermal", SensorGroup::cpu},
    ChipKind{"amdgpu", SensorGroup::gpu},
    ChipKind{"radeon", SensorGroup::gpu},
    ChipKind{"nouveau", SensorGroup::gpu},
    ChipKind{"i915", SensorGroup::gpu},
    ChipKind{"xe", SensorGroup::gpu},
    ChipKind{"nvme", SensorGroup::storage},
    ChipKind{"drivetemp", SensorGroup::storage},
};

// The name prefix that makes the sensors sampler classify a reading.
QString groupPrefix(SensorGroup group)
{
    switch (group) {
    case SensorGroup::cpu: return QStringLiteral("CPU");
    case SensorGroup::gpu: return QStringLiteral("GPU");
    case SensorGroup::storage: return QStringLiteral("NAND");
    case SensorGroup::battery: return QStringLiteral("Battery");
    case SensorGroup::soc: return QStringLiteral("SoC");
    case SensorGroup::other: break;
    }
    return {};
}

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    }) != text.end();
}

// The channel number of an attribute named prefix + N + suffix.
std::optional<uint64_t> channelOf(std::string_view entry, std::string_view prefix, std::string_view suffix)
{
    if (entry.size() <= prefix.size() + suffix.size() || !entry.starts_with(prefix) || !entry.ends_with(suffix))
        return std::nullopt;
    return parseUnsigned(entry.substr(prefix.size(), entry.size() - prefix.size() - suffix.size()));
}

std::vector<uint64_t> channels(const std::vector<std::string>& entries, std::string_view prefix, std::string_view suffix)
{
    std::vector<uint64_t> numbers;
    for (const auto& entry : entries) {
        if (const auto n = channelOf(entry, prefix, suffix))
            numbers.push_back(*n);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// The kernel mirrors some thermal zones as hwmon chips, with '-' in the
// zone type read as '_' in the chip name.
std::string underscored(std::string text)
{
    std::replace(text.begin(), text.end(), '-', '_');
    return text;
}

std::pair<SensorGroup, QString> zoneKind(const QString& type)
{
    const std::string bytes = type.toStdString();
    // x86_pkg_temp is the processor package's own sensor.
    if (containsIgnoringCase(bytes, "cpu") || containsIgnoringCase(bytes, "core") || containsIgnoringCase(bytes, "package")
        || containsIgnoringCase(bytes, "x86_pkg"))
        return {SensorGroup::cpu, QStringLiteral("CPU ") + type};
    if (containsIgnoringCase(bytes, "gpu"))
        return {SensorGroup::gpu, QStringLiteral("GPU ") + type};
    if (containsIgnoringCase(bytes, "soc"))
        return {SensorGroup::soc, QStringLiteral("SoC ") + type};
    if (containsIgnoringCase(bytes, "battery"))
        return {SensorGroup::battery, QStringLiteral("Battery ") + type};
    return {SensorGroup::other, type};
}

} // namespace

SensorGroup hwmonChipGroup(std::string_view name)
{
    for (const auto& kind : chipKinds) {
        if (kind.name == name)
            return kind.group;
    }
    if (name.starts_with("BAT") || containsIgnoringCase(name, "battery"))
        return SensorGroup::battery;
    if (name.starts_with("pch_") || name.starts_with("soc"))
        return SensorGroup::soc;
    return SensorGroup::other;
}

std::vector<HwmonChip> scanHwmonChips(const LinuxRoot& root)
{
    std::vector<HwmonChip> chips;
    for (const auto& entry : root.list("sys/class/hwmon")) {
        HwmonChip chip;
        chip.directory = "sys/class/hwmon/" + entry;
        // Older drivers keep their attributes on the device, not the chip.
        chip.attributes = chip.directory;
        if (!root.exists(chip.directory + "/name") && root.exists(chip.directory + "/device/name"))
            chip.attributes = chip.directory + "/device";
        if (const auto name = root.readText(chip.attributes + "/name"); name && !name->isEmpty())
            chip.name = name->toStdString();
        chip.devicePath = root.resolvedLink(chip.directory + "/device").value_or(std::string());
        chips.push_back(std::move(chip));
    }
    std::stable_sort(chips.begin(), chips.end(), [](const HwmonChip& a, const HwmonChip& b) {
        const std::string_view nameA = a.name ? std::string_view(*a.name) : std::string_view();
        const std::string_view nameB = b.name ? std::string_view(*b.name) : std::string_view();
        if (nameA != nameB)
            return nameA < nameB;
        return a.devicePath < b.devicePath;
    });
    return chips;
}

LinuxHwmon::LinuxHwmon(LinuxRoot root, const Clock& clock)
    : root_(std::move(root))
    , rescan_(clock)
    , attributes_(root_)
{
}

void LinuxHwmon::refresh()
{
    if (rescan_.due())
        scan();
}

void LinuxHwmon::ensureScanned()
{
    if (rescan_.neverScanned())
        refresh();
}

void LinuxHwmon::scan()
{
    attributes_.sweep();
    chipPower_.clear();
    temperatures_.clear();
    fans_.clear();
    const auto chips = scanHwmonChips(root_);
    bool hasCpuReading = false;
    for (const auto& chip : chips) {
        const size_t chipIndex = chipPower_.size();
        ChipPower power;
        if (!chip.devicePath.empty())
            power.statusFile = chip.directory + "/device/power/runtime_status";
        chipPower_.push_back(std::move(power));
        readPowerState(chipIndex);
        const auto entries = root_.list(chip.attributes);
        const SensorGroup group = chip.name ? hwmonChipGroup(*chip.name) : SensorGroup::other;
        for (const uint64_t n : channels(entries, "temp", "_input")) {
            const std::string prefix = chip.attributes + "/temp" + std::to_string(n);
            TemperatureInput input{prefix + "_input", std::nullopt, group, chipIndex};
            auto label = root_.readText(prefix + "_label").value_or(QString());
            if (label.isEmpty())
                label = QStringLiteral("temp%1").arg(n);
            // A chip without a name has no product name: the sampler then
            // names it after its place in the list.
            if (group != SensorGroup::other)
                input.product = groupPrefix(group) + QLatin1Char(' ') + label;
            else if (chip.name)
                input.product = (QString::fromStdString(*chip.name) + QLatin1Char(' ') + label).toLower();
            hasCpuReading = hasCpuReading || group == SensorGroup::cpu;
            temperatures_.push_back(std::move(input));
        }
        for (const uint64_t n : channels(entries, "fan", "_input")) {
            const std::string prefix = chip.attributes + "/fan" + std::to_string(n) + "_";
            const auto has = [&](const std::string& attribute) {
                return std::find(entries.begin(), entries.end(), prefix.substr(chip.attributes.size() + 1) + attribute) != entries.end();
            };
            FanInput fan{prefix, has("min"), has("max"), chipIndex};
            // A sleeping chip's fans cannot be told apart from unconnected
            // headers without waking it: they count, reading absent.
            if (group != SensorGroup::gpu && !isAsleep(chipIndex)) {
                const auto rpm = root_.readSigned(fan.prefix + "input");
                if (!rpm || *rpm == 0)
                    continue;
            }
            fans_.push_back(std::move(fan));
        }
    }
    // ARM machines often publish their temperatures only as thermal zones.
    if (!hasCpuReading)
        scanThermalZones(chips);
}

void LinuxHwmon::scanThermalZones(const std::vector<HwmonChip>& chips)
{
    std::vector<std::string> mirrored;
    for (const auto& chip : chips) {
        if (chip.name)
            mirrored.push_back(underscored(*chip.name));
    }
    for (const uint64_t n : channels(root_.list("sys/class/thermal"), "thermal_zone", "")) {
        const std::string zone = "sys/class/thermal/thermal_zone" + std::to_string(n);
        TemperatureInput input{zone + "/temp", std::nullopt, SensorGroup::other};
        if (const auto type = root_.readText(zone + "/type"); type && !type->isEmpty()) {
            if (std::find(mirrored.begin(), mirrored.end(), underscored(type->toStdString())) != mirrored.end())
                continue;
            std::tie(input.group, input.product) = zoneKind(*type);
        }
        temperatures_.push_back(std::move(input));
    }
}

void LinuxHwmon::readPowerState(size_t chip)
{
    auto& power = chipPower_[chip];
    if (power.statusFile.empty())
        return;
    const auto bytes = attributes_.readBytes(power.statusFile, 64);
    const auto status = bytes ? trimAscii(bytes->substr(0, bytes->find('\0'))) : std::string_view();
    power.isSuspended = status == "suspended";
    // Without runtime power management the device never sleeps: its state
    // need not be read on every tick.
    if (!bytes || status == "unsupported")
        power.statusFile.clear();
}

bool LinuxHwmon::isAsleep(size_t chip) const
{
    return chip < chipPower_.size() && chipPower_[chip].isSuspended;
}

std::optional<double> LinuxHwmon::readNumber(const std::string& path)
{
    const auto bytes = attributes_.readBytes(path, 64);
    if (!bytes) {
        // A chip that went away brings a new scan; a sensor that is merely
        // asleep (EIO, ENODATA while its device is down) does not.
        if (!root_.exists(path))
            rescan_.readFailed();
        return std::nullopt;
    }
    const auto value = parseSignedFile(*bytes);
    if (!value)
        return std::nullopt;
    return static_cast<double>(*value);
}

std::optional<double> LinuxHwmon::readCelsius(const std::string& path)
{
    // Millidegrees Celsius, for hwmon and thermal zones alike.
    const auto milli = readNumber(path);
    if (!milli)
        return std::nullopt;
    return *milli / 1000.0;
}

std::optional<std::vector<std::optional<TemperatureService>>> LinuxHwmon::services()
{
    // A scan reads the states itself; otherwise they are read here, once
    // for the whole tick.
    if (!rescan_.due()) {
        for (size_t chip = 0; chip < chipPower_.size(); ++chip)
            readPowerState(chip);
    } else {
        scan();
    }
    std::vector<std::optional<TemperatureService>> services;
    services.reserve(temperatures_.size());
    for (const auto& input : temperatures_)
        services.push_back(TemperatureService{input.product, isAsleep(input.chip) ? std::nullopt : readCelsius(input.path)});
    return services;
}

size_t LinuxHwmon::fanCount()
{
    ensureScanned();
    return fans_.size();
}

std::optional<double> LinuxHwmon::fanValue(size_t index, FanValue which)
{
    ensureScanned();
    if (index >= fans_.size())
        return std::nullopt;
    if (isAsleep(fans_[index].chip))
        return std::nullopt;
    const auto& prefix = fans_[index].prefix;
    switch (which) {
    case FanValue::current: return readNumber(path_.assign(prefix).append("input"));
    // Minimum and maximum are optional attributes: missing is no failure.
    case FanValue::minimum: return fans_[index].hasMinimum ? readNumber(path_.assign(prefix).append("min")) : std::nullopt;
    case FanValue::maximum: return fans_[index].hasMaximum ? readNumber(path_.assign(prefix).append("max")) : std::nullopt;
    }
    return std::nullopt;
}

std::vector<double> LinuxHwmon::groupReadings(SensorGroup group)
{
    ensureScanned();
    std::vector<double> values;
    for (const auto& input : temperatures_) {
        if (input.group != group || isAsleep(input.chip))
            continue;
        if (const auto value = readCelsius(input.path))
            values.push_back(*value);
    }
    return values;
}

bool LinuxHwmon::hasGroup(SensorGroup group)
{
    ensureScanned();
    return std::any_of(temperatures_.begin(), temperatures_.end(), [group](const auto& input) { return input.group == group; });
}

} // namespace orbistat
