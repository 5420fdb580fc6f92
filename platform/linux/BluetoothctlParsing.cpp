#include "platform/linux/BluetoothctlParsing.h"

#include "platform/linux/TextParsing.h"

#include <cctype>
#include <limits>
#include <string>

namespace orbistat {

namespace {

// Drops ANSI escape sequences (CSI "ESC [ ... final" and two-byte escapes)
// and carriage returns the interactive shell mixes into its lines.
std::string withoutEscapes(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r')
            continue;
        if (c != '\x1b') {
            clean += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '[') {
            i += 2;
            while (i < text.size() && !(text[i] >= 0x40 && text[i] <= 0x7e))
                ++i;
        } else {
            ++i;
        }
    }
    return clean;
}

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "0x5a (90)": the decimal in parentheses; older versions print only the
// hexadecimal byte.
std::optional<int64_t> batteryPercentage(std::string_view value)
{
    const auto open = value.find('(');
    const auto close = value.find(')', open == std::string_view::npos ? 0 : open);
    if (open != std::string_view::npos && close != std::string_view::npos)
        return parseSigned(trimAscii(value.substr(open + 1, close - open - 1)));
    const auto token = trimAscii(value);
    if (token.substr(0, 2) == "0x" || token.substr(0, 2) == "0X") {
        const auto number = parseHexUnsigned(token);
        if (!number || *number > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
            return std::nullopt;
        return static_cast<int64_t>(*number);
    }
    return parseSigned(token);
}

} // namespace

bool isBluetoothAddress(std::string_view text)
{
    if (text.size() != 17)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (i % 3 == 2 ? c != ':' : !std::isxdigit(c))
            return false;
    }
    return true;
}

std::vector<BluetoothctlDevice> parseBluetoothctlDevices(std::string_view output)
{
    std::vector<BluetoothctlDevice> devices;
    const std::string clean = withoutEscapes(output);
    forEachLine(clean, [&](std::string_view line) {
        line = trimAscii(line);
        constexpr std::string_view prefix = "Device ";
        if (line.substr(0, prefix.size()) != prefix)
            return;
        line.remove_prefix(prefix.size());
        const auto address = line.substr(0, 17);
        if (!isBluetoothAddress(address) || (line.size() > 17 && line[17] != ' '))
            return;
        devices.push_back({utf8(address), utf8(trimAscii(line.substr(17)))});
    });
    return devices;
}

std::optional<BluetoothctlInfo> parseBluetoothctlInfo(std::string_view output)
{
    BluetoothctlInfo info;
    bool any = false;
    const std::string clean = withoutEscapes(output);
    forEachLine(clean, [&](std::string_view line) {
        line = trimAscii(line);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            return;
        const auto key = line.substr(0, colon);
        const auto value = trimAscii(line.substr(colon + 1));
        if (key == "Name" && !info.name) {
            info.name = utf8(value);
        } else if (key == "Alias" && !info.alias) {
            info.alias = utf8(value);
        } else if (key == "Icon" && !info.icon) {
            info.icon = utf8(value);
        } else if (key == "Battery Percentage" && !info.batteryPercent) {
            info.batteryPercent = batteryPercentage(value);
        } else if (key != "Device" && key.find(' ') == std::string_view::npos && !key.empty()) {
            // Paired:, Connected:, UUID: ... say the tool answered.
        } else {
            return;
        }
        any = true;
    });
    if (!any)
        return std::nullopt;
    return info;
}

ProfilerDevice profilerDeviceFrom(const BluetoothctlDevice& device, const std::optional<BluetoothctlInfo>& info)
{
    ProfilerDevice entry;
    entry.name = device.name.isEmpty() ? device.address : device.name;
    if (!info)
        return entry;
    if (info->name && !info->name->isEmpty())
        entry.name = *info->name;
    else if (info->alias && !info->alias->isEmpty())
        entry.name = *info->alias;
    if (info->icon)
        entry.properties.insert(QStringLiteral("device_minorType"), *info->icon);
    // The report's levels are texts, as the sampler reads them.
    if (info->batteryPercent)
        entry.properties.insert(QStringLiteral("device_batteryLevelMain"), QString::number(*info->batteryPercent));
    return entry;
}

} // namespace orbistat
