#include "core/SystemMonitor.h"

#include "core/BoundedHistory.h"
#include "core/SettingsStore.h"
#include "samplers/AccessoryInventory.h"
#include "samplers/AccessoryMerge.h"
#include "samplers/BatterySampler.h"
#include "samplers/BluetoothBatterySource.h"
#include "samplers/CPUSampler.h"
#include "samplers/DiskSampler.h"
#include "samplers/GPUSampler.h"
#include "samplers/MemorySampler.h"
#include "samplers/NetworkSampler.h"
#include "samplers/SensorsSampler.h"
#include "samplers/LocationAccess.h"
#include "samplers/NetworkInfoSampler.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>

namespace orbistat {

namespace {
constexpr double accessoryRefreshPeriod = 30.0;
} // namespace

MonitorSamplers::MonitorSamplers() = default;
MonitorSamplers::MonitorSamplers(MonitorSamplers&&) noexcept = default;
MonitorSamplers& MonitorSamplers::operator=(MonitorSamplers&&) noexcept = default;
MonitorSamplers::~MonitorSamplers() = default;

SystemMonitor::SystemMonitor(MonitorSamplers samplers, const SettingsStore& settings, const Clock& clock, QObject* parent)
    : QObject(parent)
    , samplers_(std::move(samplers))
    , settings_(settings)
    , clock_(clock)
{
    if (samplers_.bluetooth) {
        // The reader calls back on the main thread; the publication runs as
        // a task of its own and is dropped if the monitor is gone by then.
        samplers_.bluetooth->setOnChange([weak = QPointer<SystemMonitor>(this)] {
            if (!weak)
                return;
            QMetaObject::invokeMethod(weak, [weak] {
                if (weak)
                    weak->publishAccessories();
            }, Qt::QueuedConnection);
        });
    }
    if (samplers_.location) {
        // LocationAccess already calls back on the main thread.
        samplers_.location->onChange = [weak = QPointer<SystemMonitor>(this)] {
            if (weak)
                weak->locationChanged();
        };
    }
}

SystemMonitor::~SystemMonitor()
{
    if (samplers_.bluetooth)
        samplers_.bluetooth->setOnChange({});
    if (samplers_.location)
        samplers_.location->onChange = nullptr;
}

double SystemMonitor::boundedInterval(double seconds)
{
    // The store yields finite numbers only; NaN would pass any clamp.
    if (std::isnan(seconds))
        return minimumInterval;
    return std::clamp(seconds, minimumInterval, maximumInterval);
}

void SystemMonitor::start(std::optional<double> interval)
{
    if (timer_)
        return;
    const double seconds = boundedInterval(interval ? *interval : settings_.doubleValue(SettingsKey::updateInterval));
    if (seconds != interval_) {
        interval_ = seconds;
        emit intervalChanged();
    }
    tick();
    scheduleTimer();
}

void SystemMonitor::setInterval(double seconds)
{
    if (std::isnan(seconds))
        return;
    seconds = std::min(seconds, maximumInterval);
    if (seconds == interval_)
        return;
    interval_ = seconds;
    emit intervalChanged();
    if (timer_)
        scheduleTimer();
}

void SystemMonitor::scheduleTimer()
{
    delete timer_;
    // A coarse timer lets the system batch wake-ups within a few percent of
    // the period, the same slack a tolerance of a tenth of it allows.
    timer_ = new QTimer(this);
    timer_->setTimerType(Qt::CoarseTimer);
    timer_->setInterval(std::chrono::milliseconds(static_cast<int64_t>(interval_ * 1000.0)));
    // The timer is the monitor's child: it fires on the main thread and
    // cannot outlive the monitor.
    connect(timer_, &QTimer::timeout, this, &SystemMonitor::tick);
    timer_->start();
}

void SystemMonitor::append(MonitorHistory which, double value)
{
    appendBounded(histories_[static_cast<size_t>(which)], value);
    emit historyChanged(which);
}

void SystemMonitor::setHistory(MonitorHistory which, std::vector<double> values)
{
    histories_[static_cast<size_t>(which)] = std::move(values);
    emit historyChanged(which);
}

void SystemMonitor::tick()
{
    // 1. Processor.
    if (samplers_.cpu) {
        if (auto sample = samplers_.cpu->sample()) {
            cpu_ = std::move(*sample);
            emit cpuChanged();
            append(MonitorHistory::cpu, cpu_.total);
        }
    }

    // 2. Memory. A used fraction that cannot be computed adds no point.
    if (samplers_.memory) {
        if (auto sample = samplers_.memory->sample()) {
            memory_ = *sample;
            emit memoryChanged();
            if (const auto used = memoryUsedFraction(memory_))
                append(MonitorHistory::memory, *used);
        }
    }

    // 3. Network.
    if (samplers_.network) {
        if (auto sample = samplers_.network->sample()) {
            network_ = *sample;
            emit networkChanged();
            append(MonitorHistory::download, network_.download);
            append(MonitorHistory::upload, network_.upload);
        }
    }

    // 4. Network info.
    if (!isDemo_)
        sampleNetworkInfo();

    // 5. Disk: always a sample; a rate it cannot measure is a 0 point.
    if (samplers_.disk) {
        disk_ = samplers_.disk->sample();
        emit diskChanged();
        append(MonitorHistory::diskRead, disk_.readRate.value_or(0.0));
        append(MonitorHistory::diskWrite, disk_.writeRate.value_or(0.0));
    }

    // 6. GPU: stored also when absent; only a value adds a point.
    if (samplers_.gpu) {
        setGpu(samplers_.gpu->sample());
        if (gpu_)
            append(MonitorHistory::gpu, *gpu_);
    }

    // 7. Sensors.
    if (samplers_.sensors) {
        setSensors(samplers_.sensors->sample());
        if (sensors_.cpu)
            append(MonitorHistory::cpuTemperature, *sensors_.cpu);
        if (sensors_.systemPower)
            append(MonitorHistory::systemPower, *sensors_.systemPower);
    }

    // 8. Battery.
    if (samplers_.battery)
        setBattery(samplers_.battery->sample());

    // 9. Accessories, in the background; the tick does not wait.
    maybeStartAccessoryRefresh();

    // 10.
    if (onUpdate)
        onUpdate();
}

void SystemMonitor::sampleNetworkInfo()
{
    if (!samplers_.networkInfo)
        return;
    const int32_t status = samplers_.location ? samplers_.location->status() : LocationAccess::authorizedAlways;
    setNetworkInfo(samplers_.networkInfo->sample(status == LocationAccess::authorizedAlways, status));
}

void SystemMonitor::locationChanged()
{
    if (samplers_.networkInfo)
        samplers_.networkInfo->renewWifiClient();
    if (!isDemo_)
        sampleNetworkInfo();
}

void SystemMonitor::requestLocationAccess()
{
}

void SystemMonitor::maybeStartAccessoryRefresh()
{
    if (!samplers_.accessories || isSamplingAccessories_)
        return;
    const double now = clock_.now();
    if (lastAccessoriesSample_ && now - *lastAccessoriesSample_ < accessoryRefreshPeriod)
        return;
    lastAccessoriesSample_ = now;
    isSamplingAccessories_ = true;

    // The task holds the inventory, not the monitor. The watcher is the
    // monitor's child: its signal arrives on the main thread, and if the
    // monitor is gone the watcher is too and the result is dropped.
    auto* watcher = new QFutureWatcher<AccessoryRefresh>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        finishAccessoryRefresh(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([inventory = samplers_.accessories] {
        QThread* worker = QThread::currentThread();
        const auto priority = worker->priority();
        worker->setPriority(QThread::LowPriority);
        AccessoryRefresh refresh{inventory->sample(), inventory->diagnostics()};
        // Pool threads start out as "inherit", which cannot be set back.
        worker->setPriority(priority == QThread::InheritPriority ? QThread::NormalPriority : priority);
        return refresh;
    }));
}

void SystemMonitor::finishAccessoryRefresh(AccessoryRefresh refresh)
{
    isSamplingAccessories_ = false;
    sampledAccessories_ = std::move(refresh.accessories);
    sampledDiagnostics_ = std::move(refresh.diagnostics);
    publishAccessories();
}

void SystemMonitor::publishAccessories()
{
    if (isDemo_)
        return;
    std::vector<AccessoryBattery> bluetoothList;
    QString bluetoothSummary;
    if (samplers_.bluetooth) {
        bluetoothList = samplers_.bluetooth->classicDevices();
        const auto le = samplers_.bluetooth->devices();
        bluetoothList.insert(bluetoothList.end(), le.begin(), le.end());
        bluetoothSummary = samplers_.bluetooth->diagnosticText();
    }
    setAccessories(mergeAccessories({sampledAccessories_, bluetoothList}));
    setAccessoriesDiagnostics(sampledDiagnostics_ + QStringLiteral(" | ble: ") + bluetoothSummary);
}

void SystemMonitor::enterDemoMode()
{
    enterDemoMode(makeDemoData());
}

void SystemMonitor::enterDemoMode(DemoData demo)
{
    isDemo_ = true;
    delete timer_;
    timer_ = nullptr;

    cpu_ = demo.cpu;
    emit cpuChanged();
    memory_ = demo.memory;
    emit memoryChanged();
    network_ = demo.network;
    emit networkChanged();
    setNetworkInfo(demo.networkInfo);
    disk_ = demo.disk;
    emit diskChanged();
    setGpu(demo.gpu);
    setSensors(demo.sensors);
    setBattery(demo.battery);
    setAccessories(demo.accessories);
    for (size_t i = 0; i < monitorHistoryCount; ++i)
        setHistory(static_cast<MonitorHistory>(i), std::move(demo.histories[i]));
}

void SystemMonitor::setGpu(std::optional<double> gpu)
{
    if (gpu == gpu_)
        return;
    gpu_ = gpu;
    emit gpuChanged();
}

void SystemMonitor::setNetworkInfo(const NetworkInfo& info)
{
    if (info == networkInfo_)
        return;
    networkInfo_ = info;
    emit networkInfoChanged();
}

void SystemMonitor::setSensors(const SensorsSample& sensors)
{
    if (sensors == sensors_)
        return;
    sensors_ = sensors;
    emit sensorsChanged();
}

void SystemMonitor::setBattery(const std::optional<BatterySample>& battery)
{
    if (battery == battery_)
        return;
    battery_ = battery;
    emit batteryChanged();
}

void SystemMonitor::setAccessories(const std::vector<AccessoryBattery>& accessories)
{
    if (accessories == accessories_)
        return;
    accessories_ = accessories;
    emit accessoriesChanged();
}

void SystemMonitor::setAccessoriesDiagnostics(const QString& text)
{
    if (text == accessoriesDiagnostics_)
        return;
    accessoriesDiagnostics_ = text;
    emit accessoriesDiagnosticsChanged();
}

} // namespace orbistat
