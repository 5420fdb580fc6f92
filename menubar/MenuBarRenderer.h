// Draws the tray image: one compact block per enabled module, side by side,
// inline ("CPU 34%"), stacked (value over a small caption) or with a small
// graph in front of the stacked block. Pure: values in, image out. Sizes are
// in points; the image is 22 points high at two pixels per point, so it stays
// sharp on scaled panels.
#pragma once

#include "core/MenuBarModule.h"
#include "core/MonitorReadings.h"
#include "core/MenuBarStyle.h"
#include "menubar/MenuBarItem.h"
#include "shared/drawing/Palette.h"

#include <QImage>
#include <QString>
#include <vector>

namespace orbistat {

class SettingsStore;
class SystemMonitor;

namespace MenuBarRenderer {

inline constexpr double imageHeight = 22.0;
inline constexpr double devicePixelRatio = 2.0;

struct Layout {
    double columnWidth = 0.0;  // the value column
    double labelWidth = 0.0;   // the caption in front (inline style only)
    double total = 0.0;        // the whole block

    friend bool operator==(const Layout&, const Layout&) = default;
};

// One item per module, in the given order; a module without data (no disk
// size, no GPU, no CPU temperature, no battery) has none.
std::vector<MenuBarItem> items(const SystemMonitor& monitor, const std::vector<MenuBarModule>& modules,
                               const SettingsStore& settings);
std::vector<MenuBarItem> items(const MonitorReadings& readings, const std::vector<MenuBarModule>& modules,
                               const SettingsStore& settings);

// Critical at or above "criticalThreshold", else warning at or above
// "warningThreshold", else normal; the thresholds are read on every call.
MenuBarSeverity severity(double fraction, const SettingsStore& settings);

Layout layout(const MenuBarItem& item, MenuBarStyle style);

// The colours come from the palette of the panel the image is shown on. Two
// pixels per point by default; a tray that also wants a 1× image asks for
// a ratio of 1.
QImage render(const std::vector<MenuBarItem>& items, MenuBarStyle style, bool colorize, Appearance appearance,
              double pixelRatio = devicePixelRatio);

// What a screen reader says for the image: "CPU 34%, RAM 59%". Without items
// the tray shows the plain program icon and this is "Orbistat".
QString accessibilityText(const std::vector<MenuBarItem>& items);

// "34%": the fraction × 100, halves rounded away from zero.
QString percentText(double fraction);
// "0K", "999K", "1.5M", "25M", "1.2G": a rate in bytes per second, in four
// characters or so.
QString compactRate(double bytesPerSecond);

} // namespace MenuBarRenderer

} // namespace orbistat
