// The cards of the popover, in declaration order (also their order on
// screen).
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace orbistat {

enum class PopoverCard { cpu, memory, network, disk, gpu, sensors, battery, accessories };

struct PopoverCardInfo {
    PopoverCard card;
    const char* rawValue;
    const char* title;
};

inline constexpr std::array<PopoverCardInfo, 8> popoverCardTable{{
    {PopoverCard::cpu, "cpu", "CPU"},
    {PopoverCard::memory, "memory", "Memory"},
    {PopoverCard::network, "network", "Network"},
    {PopoverCard::disk, "disk", "Disk"},
    {PopoverCard::gpu, "gpu", "GPU"},
    {PopoverCard::sensors, "sensors", "Sensors"},
    {PopoverCard::battery, "battery", "Battery"},
    {PopoverCard::accessories, "accessories", "Bluetooth accessories"},
}};

QString rawValue(PopoverCard card);
QString title(PopoverCard card);
std::optional<PopoverCard> popoverCardFromRaw(const QString& raw);

} // namespace orbistat
