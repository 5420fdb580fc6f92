// The four tabs of the settings window, in order. The raw value is what
// "settingsTab" stores.
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace orbistat {

enum class SettingsTab { general, menuBar, popover, alerts };

struct SettingsTabInfo {
    SettingsTab tab;
    const char* rawValue;
    const char* title;   // localized when shown
    const char* symbol;
};

inline constexpr std::array<SettingsTabInfo, 4> settingsTabTable{{
    {SettingsTab::general, "general", "General", "gearshape"},
    {SettingsTab::menuBar, "menuBar", "Menu Bar", "menubar.rectangle"},
    {SettingsTab::popover, "popover", "Popover", "rectangle.stack"},
    {SettingsTab::alerts, "alerts", "Alerts", "bell.badge"},
}};

QString rawValue(SettingsTab tab);
QString title(SettingsTab tab);
QString symbolName(SettingsTab tab);
// Exact, case-sensitive match only.
std::optional<SettingsTab> settingsTabFromRaw(const QString& raw);

} // namespace orbistat
