// Runs the monitor without a display and writes one line (text or JSON) per
// tick to standard output, stopping after a given number of ticks.
#pragma once

#include "app/CommandLine.h"
#include "core/SystemMonitor.h"

#include <QTextStream>
#include <functional>
#include <optional>

namespace orbistat {

class HeadlessRunner {
public:
    enum class Format { text, json };

    HeadlessRunner(SystemMonitor& monitor, Format format, std::optional<long long> count, std::optional<double> interval);
    // Runs after each tick's line is written, as the program's update
    // callback does after drawing: the snapshot publication.
    void setAfterEachTick(std::function<void()> work) { afterEachTick_ = std::move(work); }
    // Starts sampling; the application quits after the last requested tick.
    void start();
    long long ticks() const { return ticks_; }

private:
    void onTick();

    SystemMonitor& monitor_;
    Format format_;
    std::optional<long long> count_;
    std::optional<double> interval_;
    long long ticks_ = 0;
    std::function<void()> afterEachTick_;
    QTextStream out_;
};

} // namespace orbistat
