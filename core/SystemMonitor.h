// The one observable model of the program: runs the sampling timer, asks the
// samplers for fresh values in a fixed order on every tick, keeps the latest
// value of each metric and nine bounded histories, refreshes the accessory
// inventory in the background every 30 s, and calls `onUpdate` after each
// tick. Views follow it through its change signals.
#pragma once

#include "core/BatterySample.h"
#include "core/CPUSample.h"
#include "core/DemoData.h"
#include "core/DiskSample.h"
#include "core/MemorySample.h"
#include "core/NetworkInfo.h"
#include "core/NetworkSample.h"
#include "core/SensorsSample.h"
#include "platform/Clock.h"
#include "shared/AccessoryBattery.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orbistat {

class AccessoryInventory;
class BatterySampler;
class BluetoothBatterySource;
class CPUSampler;
class DiskSampler;
class GPUSampler;
class MemorySampler;
class NetworkSampler;
class SensorsSampler;
class LocationAccess;
class NetworkInfoSampler;
class SettingsStore;

// The samplers the monitor owns. A family whose sampler is missing keeps its
// initial value.
struct MonitorSamplers {
    MonitorSamplers();
    MonitorSamplers(MonitorSamplers&&) noexcept;
    MonitorSamplers& operator=(MonitorSamplers&&) noexcept;
    ~MonitorSamplers();

    std::unique_ptr<CPUSampler> cpu;
    std::unique_ptr<MemorySampler> memory;
    std::unique_ptr<NetworkSampler> network;
    std::unique_ptr<DiskSampler> disk;
    std::unique_ptr<GPUSampler> gpu;
    std::unique_ptr<SensorsSampler> sensors;
    std::unique_ptr<BatterySampler> battery;
    std::unique_ptr<NetworkInfoSampler> networkInfo;
    // The permission the Wi-Fi network name needs.
    std::unique_ptr<LocationAccess> location;
    // Shared with the background refresh, which may outlive the monitor.
    std::shared_ptr<AccessoryInventory> accessories;
    std::unique_ptr<BluetoothBatterySource> bluetooth;
};

class SystemMonitor : public QObject {
    Q_OBJECT
public:
    // The clock paces the accessory refresh.
    SystemMonitor(MonitorSamplers samplers, const SettingsStore& settings, const Clock& clock, QObject* parent = nullptr);
    ~SystemMonitor() override;

    double interval() const { return interval_; }
    const CPUSample& cpu() const { return cpu_; }
    const MemorySample& memory() const { return memory_; }
    const NetworkSample& network() const { return network_; }
    const NetworkInfo& networkInfo() const { return networkInfo_; }
    const DiskSample& disk() const { return disk_; }
    std::optional<double> gpu() const { return gpu_; }
    const SensorsSample& sensors() const { return sensors_; }
    const std::optional<BatterySample>& battery() const { return battery_; }
    const std::vector<AccessoryBattery>& accessories() const { return accessories_; }
    const QString& accessoriesDiagnostics() const { return accessoriesDiagnostics_; }
    const std::vector<double>& history(MonitorHistory which) const { return histories_[static_cast<size_t>(which)]; }

    bool isRunning() const { return timer_ != nullptr; }
    bool isDemo() const { return isDemo_; }
    bool isSamplingAccessories() const { return isSamplingAccessories_; }
    const CPUSampler* cpuSampler() const { return samplers_.cpu.get(); }

    // Called at the end of every tick.
    std::function<void()> onUpdate;

    // Sampling periods, seconds. A day is the command line's own limit; a
    // longer period overflows the timer's milliseconds (sampling stops, or
    // the timer fires continuously).
    static constexpr double minimumInterval = 0.5;
    static constexpr double maximumInterval = 86400.0;
    // The period a stored "updateInterval" gives: within both limits.
    static double boundedInterval(double seconds);

    // Reads the interval setting (bounded as above), takes one tick at once,
    // then starts the timer. Does nothing while a timer exists. A run given
    // its own period (the command line's) passes it here instead, so even
    // the first tick reports that period rather than the setting's.
    void start(std::optional<double> interval = std::nullopt);
    // A new period for the running timer; no extra tick. The caller applies
    // the 0.5 s floor; a period beyond a day is taken as a day.
    void setInterval(double seconds);
    void tick();
    // Replaces every value with the demo data and stops sampling for good.
    void enterDemoMode();
    // The same with other fixed values (pictures and tests of unusual
    // machines); may be called again to publish new values.
    void enterDemoMode(DemoData data);
    // Merges the last inventory with the Bluetooth reader's lists.
    void publishAccessories();
    // The location permission changed: a new Wi-Fi client, and unless in
    // demo mode the network info again at once.
    void locationChanged();
    // Asked by the network card. Linux never withholds the network name, so
    // there is nothing to ask for.
    void requestLocationAccess();

signals:
    void intervalChanged();
    void cpuChanged();
    void memoryChanged();
    void networkChanged();
    void networkInfoChanged();
    void diskChanged();
    void gpuChanged();
    void sensorsChanged();
    void batteryChanged();
    void accessoriesChanged();
    void accessoriesDiagnosticsChanged();
    void historyChanged(orbistat::MonitorHistory which);

private:
    struct AccessoryRefresh {
        std::vector<AccessoryBattery> accessories;
        QString diagnostics;
    };

    void scheduleTimer();
    void append(MonitorHistory which, double value);
    void setHistory(MonitorHistory which, std::vector<double> values);
    void sampleNetworkInfo();
    void maybeStartAccessoryRefresh();
    void finishAccessoryRefresh(AccessoryRefresh refresh);

    void setGpu(std::optional<double> gpu);
    void setNetworkInfo(const NetworkInfo& info);
    void setSensors(const SensorsSample& sensors);
    void setBattery(const std::optional<BatterySample>& battery);
    void setAccessories(const std::vector<AccessoryBattery>& accessories);
    void setAccessoriesDiagnostics(const QString& text);

    MonitorSamplers samplers_;
    const SettingsStore& settings_;
    const Clock& clock_;

    double interval_ = 2.0;
    CPUSample cpu_;
    MemorySample memory_;
    NetworkSample network_;
    NetworkInfo networkInfo_;
    DiskSample disk_;
    std::optional<double> gpu_;
    SensorsSample sensors_;
    std::optional<BatterySample> battery_;
    std::vector<AccessoryBattery> accessories_;
    QString accessoriesDiagnostics_;
    std::array<std::vector<double>, monitorHistoryCount> histories_;

    QTimer* timer_ = nullptr;
    std::optional<double> lastAccessoriesSample_;  // absent: the distant past
    bool isSamplingAccessories_ = false;
    std::vector<AccessoryBattery> sampledAccessories_;
    QString sampledDiagnostics_;
    bool isDemo_ = false;
};

} // namespace orbistat
