// Watches every tick's samples and posts a desktop notification when high
// CPU load, memory pressure, a full startup disk, a low battery or a hot CPU
// has lasted for the configured time; each kind at most once every 15
// minutes. Also sends the settings window's test notification. Reads its
// switches and limits from the settings at every evaluation; remembers only
// how long each condition has held and when each kind was last posted.
#pragma once

#include "core/MonitorReadings.h"
#include "platform/Clock.h"
#include "platform/Notifier.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>

namespace orbistat {

class SettingsStore;
class SystemMonitor;

class AlertManager : public QObject {
    Q_OBJECT
public:
    enum class Kind { cpu, memory, disk, battery, temperature, test };

    struct KindInfo {
        Kind kind;
        const char* rawValue;
    };
    static constexpr std::array<KindInfo, 6> kinds{{
        {Kind::cpu, "cpu"},
        {Kind::memory, "memory"},
        {Kind::disk, "disk"},
        {Kind::battery, "battery"},
        {Kind::temperature, "temperature"},
        {Kind::test, "test"},
    }};
    static QString rawValue(Kind kind);
    static std::optional<Kind> kindFromRaw(const QString& raw);

    // The least time between two notifications of one kind, in seconds.
    static constexpr double cooldown = 900.0;

    // The app creates one and keeps it for the life of the process. The
    // clock dates the posts (seconds).
    AlertManager(const SettingsStore& settings, Notifier& notifier, const Clock& clock, QObject* parent = nullptr);

    // After every monitor update: adds the sampling interval to the held time
    // of every active condition, resets the others, and posts where the held
    // time has reached "alertDuration" and the cooldown allows.
    void evaluate(const SystemMonitor& monitor);
    void evaluate(const MonitorReadings& readings);

    // Asks for permission, then posts the test notification when granted.
    // `done` receives the status line for the settings window, on the main
    // thread; it is not called if the manager is gone by then.
    void sendTestNotification(std::function<void(const QString& status)> done);
    // Asks for permission; the answer is not used.
    void requestAuthorization();

    const std::map<Kind, double>& sustained() const { return sustained_; }
    const std::map<Kind, double>& lastSent() const { return lastSent_; }

private:
    struct Condition {
        bool active = false;
        QString title;
        QString body;
    };
    Condition condition(Kind kind, const MonitorReadings& readings) const;
    void send(Kind kind, const QString& title, const QString& body);

    const SettingsStore& settings_;
    Notifier& notifier_;
    const Clock& clock_;
    std::map<Kind, double> sustained_;
    std::map<Kind, double> lastSent_;
    // The monitor's values of the tick being evaluated, kept between ticks.
    MonitorReadings readings_;
};

} // namespace orbistat
