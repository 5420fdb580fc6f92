// Symbol names used by the interface ("cpu", "memorychip", ...) mapped to
// glyphs of the embedded Material Icons font. One table for every drawing of
// both programs: the widgets, the menu bar modules, the popover cards and the
// accessory kinds. The codepoints are those the font package lists in its
// scss/_variables.scss (the font ships no codepoints file of its own).
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace orbistat {

struct SymbolGlyph {
    const char* name;          // symbol name as the interface uses it
    const char* materialName;  // the glyph's name in the icon font
    char32_t codepoint;
};

inline constexpr std::array<SymbolGlyph, 46> symbolTable{{
    // Metrics
    {"cpu", "memory", 0xE322},
    {"memorychip", "developer_board", 0xE30D},
    {"internaldrive", "storage", 0xE1DB},
    {"display", "monitor", 0xEF5B},
    {"thermometer.medium", "device_thermostat", 0xE1FF},
    {"arrow.up.arrow.down", "swap_vert", 0xE8D5},
    {"arrow.down", "arrow_downward", 0xE5DB},
    {"arrow.up", "arrow_upward", 0xE5D8},
    // Battery levels
    {"battery.0percent", "battery_0_bar", 0xEBDC},
    {"battery.25percent", "battery_2_bar", 0xEBE0},
    {"battery.50percent", "battery_4_bar", 0xEBE2},
    {"battery.75percent", "battery_5_bar", 0xEBD4},
    {"battery.100percent", "battery_full", 0xE1A4},
    {"battery.100percent.bolt", "battery_charging_full", 0xE1A3},
    {"bolt.fill", "bolt", 0xEA0B},
    // Network
    {"wifi", "wifi", 0xE63E},
    {"wifi.slash", "wifi_off", 0xE648},
    // The first one and two layers of "wifi", for its signal-strength fill.
    {"wifi.level1", "wifi_1_bar", 0xE4CA},
    {"wifi.level2", "wifi_2_bar", 0xE4D9},
    {"cable.connector", "settings_ethernet", 0xE8BE},
    {"network", "lan", 0xEB2F},
    // Program, popover header and settings
    {"gauge.with.dots.needle.33percent", "speed", 0xE9E4},
    {"gauge.with.dots.needle.50percent", "speed", 0xE9E4},
    {"ellipsis.circle", "pending", 0xEF64},
    {"chevron.down", "expand_more", 0xE5CF},
    {"chevron.up", "expand_less", 0xE5CE},
    {"chevron.right", "chevron_right", 0xE5CC},
    {"gearshape", "settings", 0xE8B8},
    {"menubar.rectangle", "web_asset", 0xE069},
    {"rectangle.stack", "view_agenda", 0xE8E9},
    {"bell.badge", "notifications_active", 0xE7F7},
    // Devices
    {"dot.radiowaves.left.and.right", "settings_input_antenna", 0xE8BF},
    {"laptopcomputer", "laptop", 0xE31E},
    {"keyboard", "keyboard", 0xE312},
    {"computermouse", "mouse", 0xE323},
    {"hand.point.up.left", "touch_app", 0xE913},
    {"headphones", "headphones", 0xF01F},
    {"airpods", "earbuds", 0xF003},
    {"airpodspro", "earbuds", 0xF003},
    {"airpodsmax", "headphones", 0xF01F},
    {"earbuds.case", "earbuds_battery", 0xF004},
    {"gamecontroller", "sports_esports", 0xEA28},
    {"pencil", "edit", 0xE3C9},
    {"iphone", "phone_iphone", 0xE325},
    {"applewatch", "watch", 0xE334},
    {"bluetooth", "bluetooth", 0xE1A7},
}};

// Drawn for a name the table does not know (an accessory symbol from a
// newer main program, or a damaged snapshot): device_unknown.
inline constexpr char32_t unknownSymbolCodepoint = 0xE339;

// Exact, case-sensitive lookup; absent for an unknown name.
std::optional<char32_t> symbolCodepoint(QStringView name);
// The text to draw with symbolFont() for the name: its glyph, or the
// unknown-device glyph. Never the name itself.
QString symbolGlyphText(QStringView name);

} // namespace orbistat
