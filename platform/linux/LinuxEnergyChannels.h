// Cumulative energy per component, as channels of the "Energy Model" group:
//   RAPL zones (uJ): core -> "CPU Energy", uncore -> "GPU Energy",
//     dram -> "DRAM Energy". On AMD processors the core zone measures a
//     single core, so there each package-N zone is the "CPU Energy" channel
//     and core is none. package and psys are totals, not components.
//   amdgpu (uJ): a discrete card's hwmon average power, accumulated at each
//     read as power × time since the previous read -> "GPU Energy". An
//     APU's reading is the whole package's and is no channel.
//   NVIDIA (mJ): NVML's total energy counter -> "GPU Energy", read only
//     within the shared NVML session (see NvmlSession).
// The channel set is fixed when the object is made: a counter that cannot
// be read then (root-only energy_uj) is no channel.
#pragma once

#include "platform/Clock.h"
#include "platform/EnergyChannels.h"
#include "platform/linux/LinuxPowercap.h"
#include "platform/linux/HotFileSet.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/NvmlSession.h"

#include <string>
#include <vector>

namespace orbistat {

class LinuxEnergyChannels final : public EnergyChannels {
public:
    // Without a session there is no NVIDIA channel.
    LinuxEnergyChannels(LinuxRoot root, const Clock& clock, NvmlSession* nvml = nullptr);
    ~LinuxEnergyChannels() override;

    // False when no counter could be read: then there is no power sampler.
    bool hasChannels() const;

    std::optional<EnergySamples> createSamples() override;
    std::optional<EnergySamples> createSamplesDelta(const EnergySamples& earlier, const EnergySamples& later) override;

private:
    struct RaplChannel {
        PowercapZone zone;
        QString name;
    };
    struct AccumulatedPower {
        std::string powerFile;     // µW
        std::string statusFile;    // the device's power/runtime_status
        double microjoules = 0.0;
        std::optional<double> lastRead;
    };
    void addAmdgpuChannels();
    void readNvml(EnergySamples& samples);

    LinuxRoot root_;
    const Clock& clock_;
    std::vector<RaplChannel> rapl_;
    std::vector<AccumulatedPower> amdgpu_;
    NvmlSession* nvml_ = nullptr;
    // The counters read on every tick, kept open.
    HotFileSet attributes_;
};

} // namespace orbistat
