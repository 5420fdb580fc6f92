#include "shared/bridge/WidgetBridge.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"

namespace orbistat {

namespace {
constexpr qint64 reloadPeriodMs = 60 * 1000;
} // namespace

WidgetBridge::WidgetBridge(const SettingsStore& settings, Now now, Reload reload)
    : settings_(settings)
    , now_(std::move(now))
    , reload_(std::move(reload))
{
    // The bridge is made once, at start: a run killed between writing a
    // snapshot and renaming it into place left its temporary file behind.
    removeStaleTemporaryFiles();
}

std::optional<SharedStats> WidgetBridge::snapshot(const SystemMonitor& monitor, const QDateTime& updated) const
{
    SharedStats stats;
    if (!fill(stats, monitor, updated))
        return std::nullopt;
    return stats;
}

bool WidgetBridge::fill(SharedStats& stats, const SystemMonitor& monitor, const QDateTime& updated) const
{
    // A memory sum beyond 64 bits is a broken reading, not a value: the
    // snapshot is skipped like one holding a non-finite number, and the
    // previous one stays.
    const auto memory = memoryUsedFraction(monitor.memory());
    if (!memory)
        return false;
    stats.cpu = monitor.cpu().total;
    stats.memory = *memory;
    stats.disk = diskUsedFraction(monitor.disk()).value_or(0.0);
    stats.download = monitor.network().download;
    stats.upload = monitor.network().upload;
    stats.gpu = monitor.gpu();
    stats.batteryPercent.reset();
    stats.batteryCharging.reset();
    if (const auto& battery = monitor.battery()) {
        stats.batteryPercent = battery->percent;
        stats.batteryCharging = battery->isCharging;
    }
    stats.cpuTemperature = monitor.sensors().cpu;
    stats.warning = settings_.doubleValue(SettingsKey::warningThreshold);
    stats.critical = settings_.doubleValue(SettingsKey::criticalThreshold);
    stats.updated = updated;
    stats.accessories = monitor.accessories();
    return true;
}

void WidgetBridge::publish(const SystemMonitor& monitor)
{
    if (!applicationGroup() || (onlyNamedGroup_ && !qEnvironmentVariableIsSet("ORBISTAT_APP_GROUPS")))
        return;
    const auto now = now_();
    // A clock set backwards would otherwise hold back every request until it
    // caught up again.
    const bool clockWentBack = lastReload_ && now < *lastReload_;
    const bool reloadDue = !lastReload_ || clockWentBack || lastReload_->msecsTo(now) >= reloadPeriodMs;
    if (reloadDue || sharedStoreIsInRuntimeFolder()) {
        if (fill(current_, monitor, now))
            writer_.save(current_);
    }
    if (reloadDue) {
        lastReload_ = now;
        reload_();
    }
}

} // namespace orbistat
