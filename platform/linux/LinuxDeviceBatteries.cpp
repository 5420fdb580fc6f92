#include "platform/linux/LinuxDeviceBatteries.h"

#include "platform/linux/TextParsing.h"

namespace orbistat {

namespace {

std::optional<QString> hidName(std::string_view uevent)
{
    std::optional<QString> name;
    forEachLine(uevent, [&](std::string_view line) {
        constexpr std::string_view key = "HID_NAME=";
        if (name || line.substr(0, key.size()) != key)
            return;
        auto value = line.substr(key.size());
        value = trimAscii(value.substr(0, value.find('\0')));
        if (!value.empty())
            name = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    });
    return name;
}

} // namespace

LinuxDeviceBatteries::LinuxDeviceBatteries(const LinuxRoot& root)
    : root_(root)
{
}

std::vector<RegistryEntry> LinuxDeviceBatteries::entries()
{
    std::vector<RegistryEntry> entries;
    const std::string base = "sys/class/power_supply/";
    for (const auto& supply : root_.list(base)) {
        const std::string dir = base + supply + "/";
        // The machine's own battery and chargers have no scope or System.
        if (root_.readText(dir + "scope") != QStringLiteral("Device"))
            continue;
        RegistryEntry entry;
        // Devices that only know a coarse level (capacity_level) have no
        // capacity file and are left out by the sampler.
        if (const auto capacity = root_.readSigned(dir + "capacity"))
            entry.properties.insert(QStringLiteral("BatteryPercent"), static_cast<qlonglong>(*capacity));
        if (const auto model = root_.readText(dir + "model_name"); model && !model->isEmpty())
            entry.properties.insert(QStringLiteral("Product"), *model);
        if (root_.readText(dir + "status") == QStringLiteral("Charging"))
            entry.properties.insert(QStringLiteral("BatteryStatusFlags"), qlonglong(3));
        if (const auto uevent = root_.readBytes(dir + "device/uevent")) {
            if (auto name = hidName(*uevent))
                entry.parentProperties.insert(QStringLiteral("Product"), *name);
        }
        for (const auto& input : root_.list(dir + "device/input")) {
            if (input.rfind("input", 0) != 0)
                continue;
            if (const auto name = root_.readText(dir + "device/input/" + input + "/name"); name && !name->isEmpty()) {
                entry.parentProperties.insert(QStringLiteral("DeviceName"), *name);
                break;
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace orbistat
