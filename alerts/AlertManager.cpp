#include "alerts/AlertManager.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "shared/ByteCountFormatter.h"

#include <QPointer>
#include <cmath>

namespace orbistat {

namespace {

// Fixed limits; only the switches, the duration and the two fractions are
// settings.
constexpr int64_t lowBatteryPercent = 15;
constexpr double hotCelsius = 95.0;

// Halves away from zero: 0.934 reads "93%", 0.965 "97%".
QString percentText(double fraction)
{
    return QString::number(static_cast<long long>(std::round(fraction * 100.0))) + QLatin1Char('%');
}

const char* switchKey(AlertManager::Kind kind)
{
    switch (kind) {
    case AlertManager::Kind::cpu: return SettingsKey::alertCPU;
    case AlertManager::Kind::memory: return SettingsKey::alertMemory;
    case AlertManager::Kind::disk: return SettingsKey::alertDisk;
    case AlertManager::Kind::battery: return SettingsKey::alertBattery;
    case AlertManager::Kind::temperature: return SettingsKey::alertTemperature;
    case AlertManager::Kind::test: break;
    }
    return nullptr;
}

} // namespace

QString AlertManager::rawValue(Kind kind)
{
    for (const auto& info : kinds) {
        if (info.kind == kind)
            return QString::fromLatin1(info.rawValue);
    }
    return {};
}

std::optional<AlertManager::Kind> AlertManager::kindFromRaw(const QString& raw)
{
    for (const auto& info : kinds) {
        if (raw == QLatin1String(info.rawValue))
            return info.kind;
    }
    return std::nullopt;
}

AlertManager::AlertManager(const SettingsStore& settings, Notifier& notifier, const Clock& clock, QObject* parent)
    : QObject(parent)
    , settings_(settings)
    , notifier_(notifier)
    , clock_(clock)
{
}

AlertManager::Condition AlertManager::condition(Kind kind, const MonitorReadings& readings) const
{
    const char* key = switchKey(kind);
    if (!key || !settings_.boolValue(QString::fromLatin1(key)))
        return {};
    switch (kind) {
    case Kind::cpu: {
        const double load = readings.cpu.total;
        if (!std::isfinite(load) || load < settings_.doubleValue(SettingsKey::criticalThreshold))
            return {};
        return {true, tr("High CPU usage"), tr("The CPU has been at %1 or more for a while.").arg(percentText(load))};
    }
    case Kind::memory: {
        const auto& memory = readings.memory;
        if (memory.pressure == MemorySample::Pressure::normal)
            return {};
        // An overflowing sum of counters is a broken sample: no alert.
        const auto used = memoryUsedFraction(memory);
        if (!used || *used < settings_.doubleValue(SettingsKey::criticalThreshold))
            return {};
        const uint64_t usedBytes = memory.app + memory.wired + memory.compressed;
        return {true, tr("Memory is running low"),
                tr("%1 of %2 in use and the system is under memory pressure.")
                    .arg(formatByteCount(usedBytes, ByteCountStyle::memory), formatByteCount(memory.total, ByteCountStyle::memory))};
    }
    case Kind::disk: {
        const auto used = diskUsedFraction(readings.disk);
        if (!used || *used < settings_.doubleValue(SettingsKey::diskAlertThreshold))
            return {};
        return {true, tr("Disk almost full"),
                tr("Only %1 free on the startup disk.").arg(formatByteCount(readings.disk.available, ByteCountStyle::file))};
    }
    case Kind::battery: {
        const auto& battery = readings.battery;
        if (!battery || battery->isPluggedIn || battery->isCharging || battery->percent > lowBatteryPercent)
            return {};
        return {true, tr("Battery low"), tr("%1% left. Plug in the charger.").arg(battery->percent)};
    }
    case Kind::temperature: {
        // No reading counts as 0 °C; an infinite one is not a temperature.
        const double celsius = readings.sensors.cpu.value_or(0.0);
        if (!std::isfinite(celsius) || celsius < hotCelsius)
            return {};
        return {true, tr("CPU is running hot"),
                tr("The CPU temperature is %1.").arg(QString::number(static_cast<long long>(std::round(celsius))) + QStringLiteral("°C"))};
    }
    case Kind::test:
        break;
    }
    return {};
}

void AlertManager::evaluate(const SystemMonitor& monitor)
{
    readings_.update(monitor);
    evaluate(readings_);
}

void AlertManager::evaluate(const MonitorReadings& readings)
{
    if (!settings_.boolValue(SettingsKey::alertsEnabled)) {
        sustained_.clear();
        return;
    }
    const double interval = readings.interval;
    for (const auto kind : {Kind::cpu, Kind::memory, Kind::disk, Kind::battery, Kind::temperature}) {
        const auto state = condition(kind, readings);
        if (!state.active) {
            sustained_[kind] = 0.0;
            continue;
        }
        const double held = sustained_[kind] + interval;
        sustained_[kind] = held;
        if (settings_.doubleValue(SettingsKey::alertDuration) > held)
            continue;
        // The held time keeps growing after a post: while the condition
        // lasts, the kind is posted again as soon as the cooldown is over.
        const auto last = lastSent_.find(kind);
        if (last != lastSent_.end() && clock_.now() - last->second < cooldown)
            continue;
        send(kind, state.title, state.body);
    }
}

void AlertManager::send(Kind kind, const QString& title, const QString& body)
{
    // Not checked against the permission: a server that refuses drops the
    // notification, and the kind still waits out its cooldown.
    notifier_.post(Notification{QStringLiteral("orbistat.") + rawValue(kind), title, body});
    lastSent_[kind] = clock_.now();
}

void AlertManager::sendTestNotification(std::function<void(const QString& status)> done)
{
    notifier_.requestAuthorization([weak = QPointer<AlertManager>(this), done = std::move(done)](bool granted) {
        if (!weak)
            return;
        if (!granted) {
            done(tr("Notifications are turned off for Orbistat. Enable them in System Settings \u2192 Notifications."));
            return;
        }
        weak->send(Kind::test, QStringLiteral("Orbistat"), tr("Notifications are working."));
        done(tr("Test notification sent."));
    });
}

void AlertManager::requestAuthorization()
{
    notifier_.requestAuthorization([](bool) {});
}

} // namespace orbistat
