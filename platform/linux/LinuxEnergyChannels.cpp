#include "platform/linux/LinuxEnergyChannels.h"

#include "platform/linux/LinuxHwmon.h"
#include "platform/linux/TextParsing.h"

#include <cmath>
#include <limits>
#include <QHash>

namespace orbistat {

namespace {

const QString energyModel = QStringLiteral("Energy Model");

bool isAmdProcessor(const LinuxRoot& root)
{
    const auto cpuinfo = root.readBytes("proc/cpuinfo");
    if (!cpuinfo)
        return false;
    bool isAmd = false;
    forEachLine(*cpuinfo, [&](std::string_view line) {
        if (!line.starts_with("vendor_id"))
            return;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            return;
        const auto vendor = trimAscii(line.substr(colon + 1));
        // Hygon processors are AMD's design under licence.
        isAmd = isAmd || vendor == "AuthenticAMD" || vendor == "HygonGenuine";
    });
    return isAmd;
}

std::optional<QString> raplChannelName(std::string_view zone, bool isAmd)
{
    if (isAmd) {
        if (zone.starts_with("package-"))
            return QStringLiteral("CPU Energy");
    } else {
        if (zone == "core")
            return QStringLiteral("CPU Energy");
        if (zone == "uncore")
            return QStringLiteral("GPU Energy");
    }
    if (zone == "dram")
        return QStringLiteral("DRAM Energy");
    return std::nullopt;
}

int64_t toInt64(uint64_t value)
{
    return static_cast<int64_t>(std::min<uint64_t>(value, std::numeric_limits<int64_t>::max()));
}

} // namespace

LinuxEnergyChannels::LinuxEnergyChannels(LinuxRoot root, const Clock& clock, NvmlSession* nvml)
    : root_(std::move(root))
    , clock_(clock)
    , attributes_(root_)
{
    const bool isAmd = isAmdProcessor(root_);
    for (auto& zone : scanPowercapZones(root_)) {
        if (auto name = raplChannelName(zone.name, isAmd))
            rapl_.push_back(RaplChannel{std::move(zone), std::move(*name)});
    }
    addAmdgpuChannels();
    // Whether the GPU can report its energy is not asked here: that needs a
    // session, which would wake a sleeping GPU. A GPU that cannot simply
    // adds no channel to any sample.
    if (nvml && nvml->hasDevices())
        nvml_ = nvml;
}

LinuxEnergyChannels::~LinuxEnergyChannels() = default;

void LinuxEnergyChannels::addAmdgpuChannels()
{
    for (const auto& chip : scanHwmonChips(root_)) {
        if (chip.name != "amdgpu")
            continue;
        // On an APU the power reading is the whole processor package's,
        // which the CPU channel already counts. Only APUs have the vddnb
        // voltage (in1), as the kernel's amdgpu documentation says.
        if (root_.exists(chip.attributes + "/in1_input") || root_.readText(chip.attributes + "/in1_label") == QStringLiteral("vddnb"))
            continue;
        // Older kernels report the average, newer ones (RDNA 3 and later)
        // only the current power.
        // A suspended card is not read, so there the file need only exist.
        const std::string device = chip.directory + "/device";
        const bool isSuspended = root_.isRuntimeSuspended(device);
        for (const char* attribute : {"/power1_average", "/power1_input"}) {
            const std::string file = chip.attributes + attribute;
            if (isSuspended ? root_.exists(file) : root_.readUnsigned(file).has_value()) {
                amdgpu_.push_back(AccumulatedPower{file, device + "/power/runtime_status", 0.0, std::nullopt});
                break;
            }
        }
    }
}

bool LinuxEnergyChannels::hasChannels() const
{
    return !rapl_.empty() || !amdgpu_.empty() || nvml_ != nullptr;
}

std::optional<EnergySamples> LinuxEnergyChannels::createSamples()
{
    EnergySamples samples;
    for (const auto& channel : rapl_) {
        if (const auto microjoules = readZoneEnergy(attributes_, channel.zone)) {
            samples.push_back(EnergyChannel{QString::fromStdString(channel.zone.directory), energyModel, channel.name, QStringLiteral("uJ"),
                                            toInt64(*microjoules), channel.zone.wrapsAt ? std::optional<int64_t>(toInt64(*channel.zone.wrapsAt)) : std::nullopt});
        }
    }
    const double now = clock_.now();
    for (auto& gpu : amdgpu_) {
        // A runtime-suspended GPU is not read (that would wake it): it draws
        // next to nothing, so the interval adds no energy.
        const bool isSuspended = attributes_.isRuntimeSuspended(gpu.statusFile);
        const auto microwatts = isSuspended ? std::optional<uint64_t>(0) : attributes_.readUnsigned(gpu.powerFile);
        if (!microwatts)
            continue;
        if (gpu.lastRead && now > *gpu.lastRead)
            gpu.microjoules += static_cast<double>(*microwatts) * (now - *gpu.lastRead);
        gpu.lastRead = now;
        if (!std::isfinite(gpu.microjoules) || gpu.microjoules > 9e18)
            gpu.microjoules = 0.0;  // restart the count rather than overflow it
        samples.push_back(EnergyChannel{QString::fromStdString(gpu.powerFile), energyModel, QStringLiteral("GPU Energy"), QStringLiteral("uJ"),
                                        static_cast<int64_t>(std::llround(gpu.microjoules)), std::nullopt});
    }
    if (nvml_)
        readNvml(samples);
    if (samples.empty())
        return std::nullopt;
    return samples;
}

void LinuxEnergyChannels::readNvml(EnergySamples& samples)
{
    // Only within a session the load reader holds open for a busy GPU: an
    // idle or sleeping GPU counts no energy for the interval.
    if (!nvml_->isUsable() || !nvml_->api().totalEnergy)
        return;
    const auto& devices = nvml_->devices();
    for (size_t i = 0; i < devices.size(); ++i) {
        unsigned long long millijoules = 0;
        if (!devices[i] || nvml_->api().totalEnergy(*devices[i], &millijoules) != 0)
            continue;
        samples.push_back(EnergyChannel{QStringLiteral("nvml:%1").arg(i), energyModel, QStringLiteral("GPU Energy"), QStringLiteral("mJ"),
                                        toInt64(millijoules), std::nullopt});
    }
}

std::optional<EnergySamples> LinuxEnergyChannels::createSamplesDelta(const EnergySamples& earlier, const EnergySamples& later)
{
    QHash<QString, int64_t> before;
    for (const auto& channel : earlier)
        before.insert(channel.id, channel.value);
    EnergySamples delta;
    for (const auto& channel : later) {
        const auto it = before.find(channel.id);
        if (it == before.end() || *it < 0 || channel.value < 0)
            continue;
        std::optional<uint64_t> wrapsAt;
        if (channel.wrapsAt && *channel.wrapsAt > 0)
            wrapsAt = static_cast<uint64_t>(*channel.wrapsAt);
        const auto growth = counterGrowth(static_cast<uint64_t>(*it), static_cast<uint64_t>(channel.value), wrapsAt);
        if (!growth)
            continue;
        auto grown = channel;
        grown.value = toInt64(*growth);
        delta.push_back(std::move(grown));
    }
    return delta;
}

} // namespace orbistat
