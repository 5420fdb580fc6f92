// Runs the monitor without a display and writes one line (text or JSON) per
// tick to standard output, stopping after a given number of ticks. Each tick
// does what the tray program's update does, with the line in place of the
// image: evaluate the alerts, write the line (a JSON line lists the alerts
// just posted), then publish.
#pragma once

#include "app/CommandLine.h"
#include "core/MonitorReadings.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"

#include <QTextStream>
#include <functional>
#include <optional>

namespace orbistat {

class AlertManager;
class ListingNotifier;

class HeadlessRunner {
public:
    enum class Format { text, json };

    // Without an alert manager no alerts are evaluated.
    HeadlessRunner(SystemMonitor& monitor, const SettingsStore& settings, AlertManager* alerts, Format format,
                   std::optional<long long> count, std::optional<double> interval);
    // Runs after each tick's line is written and its alerts evaluated, as
    // the program's update callback does after drawing: the snapshot
    // publication.
    void setAfterEachTick(std::function<void()> work) { afterEachTick_ = std::move(work); }
    // Text lines carry every reading after the tray item's text.
    void setDetails(bool details) { details_ = details; }
    // Where the alert manager posts: its posts of each tick go into that
    // tick's JSON line as "alerts".
    void setNotifications(ListingNotifier* notifications) { notifications_ = notifications; }
    // Starts sampling; the application quits after the last requested tick.
    void start();
    long long ticks() const { return ticks_; }

private:
    void onTick();

    SystemMonitor& monitor_;
    const SettingsStore& settings_;
    AlertManager* alerts_;
    Format format_;
    std::optional<long long> count_;
    std::optional<double> interval_;
    long long ticks_ = 0;
    bool details_ = false;
    ListingNotifier* notifications_ = nullptr;
    std::function<void()> afterEachTick_;
    QTextStream out_;
    MonitorReadings readings_;  // kept between ticks
};

} // namespace orbistat
