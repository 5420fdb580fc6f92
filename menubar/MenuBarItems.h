// What the tray image shows, as items and texts, apart from the drawing:
// one item per enabled module with its value lines, severity and history,
// and the text a screen reader says for the image. Nothing here needs the
// graphics library, so the terminal mode, which prints the text, does not
// load it.
#pragma once

#include "core/MenuBarModule.h"
#include "core/MonitorReadings.h"
#include "menubar/MenuBarItem.h"

#include <QString>
#include <vector>

namespace orbistat {

class SettingsStore;
class SystemMonitor;

namespace MenuBarRenderer {

// One item per module, in the given order; a module without data (no disk
// size, no GPU, no CPU temperature, no battery) has none.
std::vector<MenuBarItem> items(const SystemMonitor& monitor, const std::vector<MenuBarModule>& modules,
                               const SettingsStore& settings);
std::vector<MenuBarItem> items(const MonitorReadings& readings, const std::vector<MenuBarModule>& modules,
                               const SettingsStore& settings);

// Critical at or above "criticalThreshold", else warning at or above
// "warningThreshold", else normal; the thresholds are read on every call.
MenuBarSeverity severity(double fraction, const SettingsStore& settings);

// What a screen reader says for the image: "CPU 34%, RAM 59%". Without items
// the tray shows the plain program icon and this is "Orbistat".
QString accessibilityText(const std::vector<MenuBarItem>& items);

// "34%": the fraction × 100, halves rounded away from zero.
QString percentText(double fraction);
// "0K", "999K", "1.5M", "25M", "1.2G": a rate in bytes per second, in four
// characters or so.
QString compactRate(double bytesPerSecond);

// A value between 0 and 1 for a graph; NaN and negatives are 0.
double clampedFraction(double value);

} // namespace MenuBarRenderer

} // namespace orbistat
