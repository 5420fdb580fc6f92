// Utilization of the graphics devices the kernel's DRM drivers describe in
// /sys/class/drm/cardN (the cardN-CONNECTOR entries are outputs, not
// devices). Only display controllers (PCI class 0x03xx) and devices that are
// not on PCI (SoC GPUs) count.
//   amdgpu and others: device/gpu_busy_percent -> "Device Utilization %".
//   Intel i915 and xe: the share of wall time the GPU was not in its idle
//   state (RC6) since the previous reading -> "GPU Activity(%)"; the first
//   reading of a card has no figure.
// A runtime-suspended device is never read: reading its attributes would
// wake it, and on a laptop that drains the battery. The attributes read on
// every tick stay open between ticks.
#pragma once

#include "platform/AcceleratorStatisticsSource.h"
#include "platform/Clock.h"
#include "platform/linux/HotFileSet.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/RescanSchedule.h"

#include <cstdint>
#include <map>
#include <string>

namespace orbistat {

class LinuxDrmGpuSource final : public AcceleratorStatisticsSource {
public:
    // The clock measures the wall time between residency readings and paces
    // the search for cards.
    LinuxDrmGpuSource(const LinuxRoot& root, const Clock& clock);
    std::optional<std::vector<std::optional<AcceleratorStatistics>>> statistics() override;

private:
    struct Card {
        std::string name;           // "card0"
        std::string busyFile;       // relative path, or empty
        std::string residencyFile;  // relative path, or empty
        std::string statusFile;     // the device's power/runtime_status
    };
    struct Residency {
        uint64_t idleMs = 0;
        double at = 0;
    };

    void rescan();
    bool isSuspended(const Card& card);
    std::optional<AcceleratorStatistics> readCard(const Card& card);

    LinuxRoot root_;
    const Clock& clock_;
    RescanSchedule cardScan_;
    std::vector<Card> cards_;
    HotFileSet attributes_;
    std::map<std::string, Residency> previousResidency_;
};

// True for a PCI class code ("0x030000") of a display controller: VGA
// 0x0300, 3D 0x0302, other 0x0380.
bool isDisplayControllerClass(std::string_view classText);

} // namespace orbistat
