#include "platform/linux/LinuxSMC.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace orbistat {

namespace {

// The controller's result code for a key it does not have.
constexpr uint8_t keyNotFound = 0x84;

std::vector<uint8_t> encodeFloat(double value)
{
    const auto bits = std::bit_cast<uint32_t>(static_cast<float>(value));
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

// Signed 7.8 fixed point, big-endian: -128 up to just below 128 °C.
std::optional<std::vector<uint8_t>> encodeSp78(double value)
{
    const double scaled = std::round(value * 256.0);
    if (!std::isfinite(scaled) || scaled < -32768.0 || scaled > 32767.0)
        return std::nullopt;
    const auto bits = static_cast<uint16_t>(static_cast<int16_t>(scaled));
    return std::vector<uint8_t>{static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
}

std::optional<SensorGroup> temperatureKeyGroup(std::string_view key)
{
    if (key == "TC0P")
        return SensorGroup::cpu;
    if (key == "TG0P")
        return SensorGroup::gpu;
    if (key == "TH0P")
        return SensorGroup::storage;
    if (key == "TB0T")
        return SensorGroup::battery;
    return std::nullopt;
}

// Fan i's key "F" + digit + Ac/Mn/Mx.
struct FanKey {
    size_t index;
    LinuxHwmon::FanValue value;
};
std::optional<FanKey> fanKey(std::string_view key)
{
    if (key.size() != 4 || key[0] != 'F' || key[1] < '0' || key[1] > '9')
        return std::nullopt;
    const size_t index = static_cast<size_t>(key[1] - '0');
    const auto kind = key.substr(2);
    if (kind == "Ac")
        return FanKey{index, LinuxHwmon::FanValue::current};
    if (kind == "Mn")
        return FanKey{index, LinuxHwmon::FanValue::minimum};
    if (kind == "Mx")
        return FanKey{index, LinuxHwmon::FanValue::maximum};
    return std::nullopt;
}

} // namespace

LinuxSMC::LinuxSMC(LinuxRoot root, const Clock& clock, LinuxHwmon& hwmon, LinuxPowerSupplies& supplies)
    : root_(std::move(root))
    , clock_(clock)
    , hwmon_(hwmon)
    , supplies_(supplies)
    , psysFile_(root_)
{
    for (auto& zone : scanPowercapZones(root_)) {
        if (zone.name == "psys") {
            psys_ = std::move(zone);
            break;
        }
    }
}

bool LinuxSMC::call(const SMCRequest& input, SMCRequest& output)
{
    output = SMCRequest{};
    output.key = input.key;
    output.command = input.command;
    const std::string key = smcCodeText(input.key);
    if (input.command == smcCommandKeyInfo) {
        const auto info = keyInfo(key);
        if (!info) {
            output.result = keyNotFound;
            return true;
        }
        output.dataSize = info->size;
        output.dataType = packSMCCode(info->type);
        return true;
    }
    if (input.command == smcCommandReadKey) {
        const auto bytes = readKey(key);
        if (!bytes || bytes->size() > input.dataSize || bytes->size() > sizeof output.bytes) {
            output.result = keyNotFound;
            return true;
        }
        output.dataSize = static_cast<uint32_t>(bytes->size());
        std::memcpy(output.bytes, bytes->data(), bytes->size());
        return true;
    }
    return false;
}

std::optional<LinuxSMC::KeyInfo> LinuxSMC::keyInfo(std::string_view key)
{
    if (key == "FNum")
        return KeyInfo{"ui8 ", 1};
    if (const auto fan = fanKey(key); fan && fan->index < hwmon_.fanCount())
        return KeyInfo{"flt ", 4};
    // A key whose source the machine lacks is not found, as a controller
    // without that sensor answers; this also keeps such a machine's tick
    // free of reads.
    if (const auto group = temperatureKeyGroup(key))
        return hwmon_.hasGroup(*group) ? std::optional(KeyInfo{"sp78", 2}) : std::nullopt;
    if (key == "PSTR")
        return psys_ || supplies_.hasBattery() ? std::optional(KeyInfo{"flt ", 4}) : std::nullopt;
    if (key == "PDTR")
        return supplies_.hasMeasuredAdapter() ? std::optional(KeyInfo{"flt ", 4}) : std::nullopt;
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> LinuxSMC::readKey(std::string_view key)
{
    if (key == "FNum")
        return std::vector<uint8_t>{static_cast<uint8_t>(std::min<size_t>(hwmon_.fanCount(), 255))};
    if (const auto fan = fanKey(key)) {
        const auto rpm = hwmon_.fanValue(fan->index, fan->value);
        return rpm ? std::optional(encodeFloat(*rpm)) : std::nullopt;
    }
    if (const auto group = temperatureKeyGroup(key)) {
        // The hottest reading the type can carry: a broken sensor reading
        // 200 °C (or -273) must not hide the working ones.
        std::optional<double> hottest;
        for (const double value : hwmon_.groupReadings(*group)) {
            if (value >= -128.0 && value < 128.0 && (!hottest || value > *hottest))
                hottest = value;
        }
        return hottest ? encodeSp78(*hottest) : std::nullopt;
    }
    std::optional<double> watts;
    if (key == "PSTR")
        watts = systemPower();
    else if (key == "PDTR")
        watts = supplies_.adapterWatts();
    else
        return std::nullopt;
    return watts ? std::optional(encodeFloat(*watts)) : std::nullopt;
}

std::optional<double> LinuxSMC::systemPower()
{
    if (!psys_)
        return supplies_.batteryDischargeWatts();
    // The platform's own measure of the whole machine: average power over
    // the time since the previous read. The first read is a baseline.
    const auto microjoules = readZoneEnergy(psysFile_, *psys_);
    if (!microjoules)
        return std::nullopt;
    const double now = clock_.now();
    std::optional<double> watts;
    if (lastPsys_ && now > lastPsys_->time) {
        if (const auto growth = counterGrowth(lastPsys_->microjoules, *microjoules, psys_->wrapsAt))
            watts = static_cast<double>(*growth) / 1e6 / (now - lastPsys_->time);
    }
    lastPsys_ = PsysReading{*microjoules, now};
    return watts;
}

} // namespace orbistat
