#include "platform/linux/LinuxEnergyChannels.h"

#include "platform/linux/LinuxHwmon.h"
#include "platform/linux/NvmlLibrary.h"
#include "platform/linux/TextParsing.h"

#include <cmath>
#include <cstdio>
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

// NVIDIA GPUs' total energy through NVML. A GPU that is runtime-suspended
// is not asked (asking would wake it and drain a laptop's battery); it counts
// no energy for that interval.
class LinuxEnergyChannels::Nvml {
public:
    static std::unique_ptr<Nvml> load(const LinuxRoot& root)
    {
        auto api = loadNvml();
        if (!api)
            return nullptr;
        auto nvml = std::unique_ptr<Nvml>(new Nvml(std::move(*api)));
        if (!nvml->api_.pciInfo || !nvml->api_.totalEnergy || nvml->api_.init() != 0)
            return nullptr;
        nvml->initialised_ = true;
        unsigned count = 0;
        if (nvml->api_.deviceCount(&count) != 0)
            return nullptr;
        for (unsigned i = 0; i < count; ++i) {
            Device device{};
            if (nvml->api_.deviceByIndex(i, &device.handle) != 0)
                continue;
            NvmlPciInfo pci{};
            if (nvml->api_.pciInfo(device.handle, &pci) == 0) {
                char address[32];
                std::snprintf(address, sizeof address, "%04x:%02x:%02x.0", pci.domain, pci.bus, pci.device);
                device.path = std::string("sys/bus/pci/devices/") + address;
            }
            // A suspended GPU is taken on trust rather than woken to ask.
            unsigned long long millijoules = 0;
            if (isSuspended(root, device) || nvml->api_.totalEnergy(device.handle, &millijoules) == 0)
                nvml->devices_.push_back(std::move(device));
        }
        if (nvml->devices_.empty())
            return nullptr;
        return nvml;
    }

    ~Nvml()
    {
        if (initialised_)
            api_.shutdown();
        if (api_.unload)
            api_.unload();
    }

    // Total energy of each device in mJ; absent for a device not read.
    void read(const LinuxRoot& root, EnergySamples& samples)
    {
        for (size_t i = 0; i < devices_.size(); ++i) {
            const auto& device = devices_[i];
            if (isSuspended(root, device))
                continue;
            unsigned long long millijoules = 0;
            if (api_.totalEnergy(device.handle, &millijoules) != 0)
                continue;
            samples.push_back(EnergyChannel{QStringLiteral("nvml:%1").arg(i), energyModel, QStringLiteral("GPU Energy"), QStringLiteral("mJ"),
                                            toInt64(millijoules), std::nullopt});
        }
    }

private:
    struct Device {
        NvmlDevice handle = nullptr;
        std::string path;  // sysfs device, when its PCI address is known
    };

    static bool isSuspended(const LinuxRoot& root, const Device& device)
    {
        return !device.path.empty() && root.isRuntimeSuspended(device.path);
    }

    explicit Nvml(NvmlApi api)
        : api_(std::move(api))
    {
    }

    NvmlApi api_;
    bool initialised_ = false;
    std::vector<Device> devices_;
};

LinuxEnergyChannels::LinuxEnergyChannels(LinuxRoot root, const Clock& clock)
    : root_(std::move(root))
    , clock_(clock)
{
    const bool isAmd = isAmdProcessor(root_);
    for (auto& zone : scanPowercapZones(root_)) {
        if (auto name = raplChannelName(zone.name, isAmd))
            rapl_.push_back(RaplChannel{std::move(zone), std::move(*name)});
    }
    addAmdgpuChannels();
    if (!root_.isRecorded())
        nvml_ = Nvml::load(root_);
}

LinuxEnergyChannels::~LinuxEnergyChannels() = default;

void LinuxEnergyChannels::addAmdgpuChannels()
{
    for (const auto& chip : scanHwmonChips(root_)) {
        if (chip.name != "amdgpu")
            continue;
        // Older kernels report the average, newer ones (RDNA 3 and later)
        // only the current power.
        // A suspended card is not read, so there the file need only exist.
        const std::string device = chip.directory + "/device";
        const bool isSuspended = root_.isRuntimeSuspended(device);
        for (const char* attribute : {"/power1_average", "/power1_input"}) {
            const std::string file = chip.attributes + attribute;
            if (isSuspended ? root_.exists(file) : root_.readUnsigned(file).has_value()) {
                amdgpu_.push_back(AccumulatedPower{file, device, 0.0, std::nullopt});
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
        if (const auto microjoules = readZoneEnergy(root_, channel.zone)) {
            samples.push_back(EnergyChannel{QString::fromStdString(channel.zone.directory), energyModel, channel.name, QStringLiteral("uJ"),
                                            toInt64(*microjoules), channel.zone.wrapsAt ? std::optional<int64_t>(toInt64(*channel.zone.wrapsAt)) : std::nullopt});
        }
    }
    const double now = clock_.now();
    for (auto& gpu : amdgpu_) {
        // A runtime-suspended GPU is not read (that would wake it): it draws
        // next to nothing, so the interval adds no energy.
        const bool isSuspended = root_.isRuntimeSuspended(gpu.device);
        const auto microwatts = isSuspended ? std::optional<uint64_t>(0) : root_.readUnsigned(gpu.powerFile);
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
        nvml_->read(root_, samples);
    if (samples.empty())
        return std::nullopt;
    return samples;
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
