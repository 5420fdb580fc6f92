// The two widgets the program offers and the three sizes each comes in.
#pragma once

#include <QSizeF>
#include <QString>
#include <array>
#include <optional>

namespace orbistat::widget {

enum class WidgetKind { stats, devices };
enum class WidgetFamily { small, medium, large };

struct WidgetConfiguration {
    WidgetKind kind;
    const char* kindName;     // identity of the widget
    const char* shortName;    // as typed on the command line
    const char* displayName;  // localized when shown
    const char* description;  // localized when shown
};

// In the order the program lists them.
inline constexpr std::array<WidgetConfiguration, 2> widgetConfigurations{{
    {WidgetKind::stats, "OrbistatWidget", "stats", "System stats",
     "CPU, memory, disk and network at a glance. Orbistat must be running."},
    {WidgetKind::devices, "OrbistatDevicesWidget", "devices", "Devices",
     "Battery of your computer and connected Bluetooth accessories. Orbistat must be running."},
}};

inline constexpr std::array<WidgetFamily, 3> widgetFamilies{WidgetFamily::small, WidgetFamily::medium, WidgetFamily::large};

const WidgetConfiguration& configuration(WidgetKind kind);
QString displayName(WidgetKind kind);
QString familyName(WidgetFamily family);  // "small", "medium", "large"

// Accepts the short name ("stats") or the kind name ("OrbistatWidget").
std::optional<WidgetKind> widgetKindFromName(const QString& name);
std::optional<WidgetFamily> widgetFamilyFromName(const QString& name);

// Size of a widget in points: the conventional desktop widget sizes.
QSizeF widgetSize(WidgetFamily family);
// Inset of the content from the widget's edge, and the corner radius of its
// background, in points.
inline constexpr double widgetContentMargin = 16.0;
inline constexpr double widgetCornerRadius = 22.0;

} // namespace orbistat::widget
