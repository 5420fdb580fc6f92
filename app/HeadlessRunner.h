// Runs the monitor without a display and writes one line (text or JSON) per
// tick to standard output, stopping after a given number of ticks.
#pragma once

#include "app/CommandLine.h"
#include "core/SystemMonitor.h"

#include <QTextStream>
#include <optional>

namespace orbistat {

class HeadlessRunner {
public:
    enum class Format { text, json };

    HeadlessRunner(SystemMonitor& monitor, Format format, std::optional<long long> count, std::optional<double> interval);
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
    QTextStream out_;
};

} // namespace orbistat
