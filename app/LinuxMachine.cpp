#include "app/LinuxMachine.h"

#include "platform/linux/LinuxBluetoothctl.h"
#include "platform/linux/LinuxDeviceBatteries.h"
#include "platform/linux/UPowerPowerSources.h"
#include "samplers/AccessoriesSampler.h"
#include "samplers/BluetoothBatteryReader.h"
#include "samplers/CPUSampler.h"
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

LinuxMachine::LinuxMachine(LinuxRoot root, QDBusConnection systemBus, QString bluetoothctl)
    : root_(std::move(root))
    , clock_(root_)
    , sysctl_(root_)
    , cpuTicks_(root_)
    , networkInterfaces_(root_)
    , wifi_(root_)
    , systemBus_(std::move(systemBus))
    , bluetoothctl_(std::move(bluetoothctl))
{
}

MonitorSamplers LinuxMachine::makeSamplers()
{
    MonitorSamplers samplers;
    samplers.cpu = std::make_unique<CPUSampler>(cpuTicks_, sysctl_);
    samplers.networkInfo = std::make_unique<NetworkInfoSampler>(networkInterfaces_, wifi_);
    samplers.location = std::make_unique<LocationAccess>();
    samplers.accessories = std::make_shared<LinuxAccessoryInventory>(root_, systemBus_, bluetoothctl_);
    auto& central = bluetoothCentrals_.emplace_back(std::make_unique<BlueZCentral>(systemBus_, !root_.isRecorded()));
    samplers.bluetooth = std::make_unique<BluetoothBatteryReader>(*central);
    return samplers;
}

} // namespace orbistat
