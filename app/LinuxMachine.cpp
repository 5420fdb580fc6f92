#include "app/LinuxMachine.h"

#include "samplers/BatterySampler.h"
#include "samplers/CPUSampler.h"
#include "samplers/DiskSampler.h"
#include "samplers/GPUSampler.h"
#include "samplers/MemorySampler.h"
#include "samplers/NetworkSampler.h"
#include "samplers/SensorsSampler.h"
#include "platform/linux/LinuxBluetoothctl.h"
#include "platform/linux/LinuxDeviceBatteries.h"
#include "platform/linux/UPowerPowerSources.h"
#include "samplers/AccessoriesSampler.h"
#include "samplers/BluetoothBatteryReader.h"
#include "samplers/LocationAccess.h"
#include "samplers/NetworkInfoSampler.h"

namespace orbistat {

namespace {

// The accessory inventory runs on a worker thread and may still be running
// when the monitor and this machine are gone, so it owns its adapters.
class LinuxAccessoryInventory final : public AccessoryInventory {
public:
    LinuxAccessoryInventory(const LinuxRoot& root, const QDBusConnection& systemBus, const QString& bluetoothctl)
        : root_(root)
        , clock_(root_)
        , upower_(systemBus, !root_.isRecorded())
        , deviceBatteries_(root_)
        , bluetoothctl_(bluetoothctl, !root_.isRecorded())
        , sampler_(upower_, deviceBatteries_, bluetoothctl_, clock_)
    {
    }
    std::vector<AccessoryBattery> sample() override { return sampler_.sample(); }
    QString diagnostics() const override { return sampler_.diagnostics(); }

private:
    LinuxRoot root_;
    LinuxUptimeClock clock_;
    UPowerPowerSources upower_;
    LinuxDeviceBatteries deviceBatteries_;
    LinuxBluetoothctl bluetoothctl_;
    AccessoriesSampler sampler_;
};

} // namespace

NvmlSession::Loader LinuxMachine::defaultNvmlLoader(const LinuxRoot& root)
{
    if (root.isRecorded())
        return [] { return std::optional<NvmlApi>(); };
    return [] { return loadNvml(); };
}

LinuxMachine::LinuxMachine(LinuxRoot root, QDBusConnection systemBus, QString bluetoothctl, NvmlSession::Loader nvml,
                           const Clock* clock)
    : root_(std::move(root))
    , uptime_(root_)
    , clock_(clock != nullptr ? *clock : uptime_)
    , sysctl_(root_)
    , cpuTicks_(root_)
    , vmStatistics_(root_, clock_)
    , interfaceCounters_(root_)
    , volumeCapacity_(root_)
    , diskTotals_(root_, clock_)
    , drmGpus_(root_, clock_)
    , nvml_(root_, clock_, nvml ? std::move(nvml) : defaultNvmlLoader(root_))
    , nvidiaGpus_(nvml_)
    , gpus_({&drmGpus_, &nvidiaGpus_})
    , hwmon_(root_, clock_)
    , powerSupplies_(root_, clock_)
    , smc_(root_, clock_, hwmon_, powerSupplies_)
    , energy_(root_, clock_, &nvml_)
    , networkInterfaces_(root_)
    , wifi_(root_)
    , systemBus_(std::move(systemBus))
    , bluetoothctl_(std::move(bluetoothctl))
{
}

QDBusConnection LinuxMachine::systemBusFor(const LinuxRoot& root)
{
    return root.isRecorded() ? QDBusConnection(QStringLiteral("orbistat-no-bus")) : QDBusConnection::systemBus();
}

MonitorSamplers LinuxMachine::makeSamplers()
{
    MonitorSamplers samplers;
    samplers.cpu = std::make_unique<CPUSampler>(cpuTicks_, sysctl_);
    samplers.memory = std::make_unique<MemorySampler>(vmStatistics_);
    samplers.network = std::make_unique<NetworkSampler>(interfaceCounters_, clock_);
    samplers.disk = std::make_unique<DiskSampler>(volumeCapacity_, diskTotals_, clock_);
    samplers.gpu = std::make_unique<GPUSampler>(gpus_);
    // Unreadable energy counters (root-only on recent kernels) mean no
    // power sampler, and no component power.
    auto ioReport = energy_.hasChannels() ? std::make_unique<IOReportSampler>(energy_, clock_) : nullptr;
    samplers.sensors = std::make_unique<SensorsSampler>(SMC::open(smc_), std::make_unique<HIDTemperatureSampler>(hwmon_), std::move(ioReport));
    samplers.battery = std::make_unique<BatterySampler>(powerSupplies_, powerSupplies_);
    samplers.networkInfo = std::make_unique<NetworkInfoSampler>(networkInterfaces_, wifi_);
    samplers.location = std::make_unique<LocationAccess>();
    samplers.accessories = std::make_shared<LinuxAccessoryInventory>(root_, systemBus_, bluetoothctl_);
    auto& central = bluetoothCentrals_.emplace_back(std::make_unique<BlueZCentral>(systemBus_, !root_.isRecorded()));
    samplers.bluetooth = std::make_unique<BluetoothBatteryReader>(*central);
    return samplers;
}

} // namespace orbistat
