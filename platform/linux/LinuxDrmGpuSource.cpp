#include "platform/linux/LinuxDrmGpuSource.h"

#include "platform/linux/TextParsing.h"

namespace orbistat {

namespace {

bool isCardName(std::string_view name)
{
    return name.size() > 4 && name.substr(0, 4) == "card" && parseUnsigned(name.substr(4)).has_value();
}

} // namespace

bool isDisplayControllerClass(std::string_view classText)
{
    const auto code = parseHexUnsigned(classText);
    return code && (*code >> 16) == 0x03;
}

LinuxDrmGpuSource::LinuxDrmGpuSource(const LinuxRoot& root, const Clock& clock)
    : root_(root)
    , clock_(clock)
    , attributes_(root)
{
}

void LinuxDrmGpuSource::rescan()
{
    attributes_.sweep();
    cards_.clear();
    for (const auto& name : root_.list("sys/class/drm")) {
        if (!isCardName(name))
            continue;
        const std::string base = "sys/class/drm/" + name + "/";
        // A device link that no longer resolves: the card is being removed.
        if (!root_.resolvedLink(base + "device"))
            continue;
        // Only PCI devices have a class attribute; a SoC GPU has none and
        // counts. A PCI card that is not a display controller (a compute
        // accelerator with a DRM node) does not.
        if (const auto pciClass = root_.readBytes(base + "device/class", 64)) {
            if (!isDisplayControllerClass(*pciClass))
                continue;
        }
        Card card{name, {}, {}, base + "device/power/runtime_status"};
        if (root_.exists(base + "device/gpu_busy_percent")) {
            card.busyFile = base + "device/gpu_busy_percent";
        } else {
            // i915 since Linux 5.x per GT, older i915 on the card, xe per
            // tile and GT.
            for (const char* residency : {"gt/gt0/rc6_residency_ms", "power/rc6_residency_ms", "device/tile0/gt0/gtidle/idle_residency_ms"}) {
                if (root_.exists(base + residency)) {
                    card.residencyFile = base + residency;
                    break;
                }
            }
        }
        // A card with neither (the proprietary NVIDIA driver's) is measured
        // elsewhere or not at all.
        if (!card.busyFile.empty() || !card.residencyFile.empty())
            cards_.push_back(std::move(card));
    }
}

bool LinuxDrmGpuSource::isSuspended(const Card& card)
{
    return attributes_.isRuntimeSuspended(card.statusFile);
}

std::optional<AcceleratorStatistics> LinuxDrmGpuSource::readCard(const Card& card)
{
    if (!card.busyFile.empty()) {
        const auto percent = attributes_.readUnsigned(card.busyFile);
        if (!percent) {
            cardScan_.force();
            return std::nullopt;
        }
        return AcceleratorStatistics{{"Device Utilization %", static_cast<double>(*percent)}};
    }

    const auto idleMs = attributes_.readUnsigned(card.residencyFile);
    const double now = clock_.now();
    if (!idleMs) {
        previousResidency_.erase(card.name);
        cardScan_.force();
        return std::nullopt;
    }
    const auto previous = previousResidency_.find(card.name);
    std::optional<AcceleratorStatistics> result;
    if (previous != previousResidency_.end() && previous->second.at < now && previous->second.idleMs <= *idleMs) {
        const double wallMs = (now - previous->second.at) * 1000.0;
        const double idleShare = static_cast<double>(*idleMs - previous->second.idleMs) / wallMs;
        // Residency counts in whole milliseconds and is read a little apart
        // from the clock: the share can come out slightly above 1; the
        // sampler clamps the figure.
        result = AcceleratorStatistics{{"GPU Activity(%)", (1.0 - idleShare) * 100.0}};
    }
    previousResidency_[card.name] = Residency{*idleMs, now};
    return result;
}

std::optional<std::vector<std::optional<AcceleratorStatistics>>> LinuxDrmGpuSource::statistics()
{
    if (cardScan_.due(clock_.now()))
        rescan();
    std::vector<std::optional<AcceleratorStatistics>> devices;
    for (const auto& card : cards_) {
        if (isSuspended(card)) {
            // It idled all along; the next awake reading starts afresh.
            previousResidency_.erase(card.name);
            devices.emplace_back();
            continue;
        }
        devices.push_back(readCard(card));
    }
    return devices;
}

} // namespace orbistat
