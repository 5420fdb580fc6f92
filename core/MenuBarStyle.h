// The three layouts of the menu bar image.
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace orbistat {

enum class MenuBarStyle { inline_, stacked, graph };

struct MenuBarStyleInfo {
    MenuBarStyle style;
    const char* rawValue;
    const char* title;
};

inline constexpr std::array<MenuBarStyleInfo, 3> menuBarStyleTable{{
    {MenuBarStyle::inline_, "inline", "Inline"},
    {MenuBarStyle::stacked, "stacked", "Stacked"},
    {MenuBarStyle::graph, "graph", "With graph"},
}};

QString rawValue(MenuBarStyle style);
QString title(MenuBarStyle style);
std::optional<MenuBarStyle> menuBarStyleFromRaw(const QString& raw);

} // namespace orbistat
