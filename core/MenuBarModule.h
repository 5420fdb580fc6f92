// The metrics the menu bar can show, in declaration order. The raw value is
// the stored form in the settings.
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace orbistat {

enum class MenuBarModule { cpu, memory, network, disk, gpu, temperature, battery };

struct MenuBarModuleInfo {
    MenuBarModule module;
    const char* rawValue;
    const char* title;   // localized when shown
    const char* symbol;
};

inline constexpr std::array<MenuBarModuleInfo, 7> menuBarModuleTable{{
    {MenuBarModule::cpu, "cpu", "CPU", "cpu"},
    {MenuBarModule::memory, "memory", "Memory", "memorychip"},
    {MenuBarModule::network, "network", "Network", "arrow.up.arrow.down"},
    {MenuBarModule::disk, "disk", "Disk", "internaldrive"},
    {MenuBarModule::gpu, "gpu", "GPU", "display"},
    {MenuBarModule::temperature, "temperature", "CPU temperature", "thermometer.medium"},
    {MenuBarModule::battery, "battery", "Battery", "battery.75percent"},
}};

QString rawValue(MenuBarModule module);
QString title(MenuBarModule module);
QString symbolName(MenuBarModule module);
// Exact, case-sensitive match only.
std::optional<MenuBarModule> menuBarModuleFromRaw(const QString& raw);

} // namespace orbistat
