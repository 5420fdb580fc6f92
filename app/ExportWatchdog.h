// Ends a screenshot export that hangs: a background thread waits for the
// given time and then runs the timeout action (the program logs the
// TIMEOUT line and exits with status 2), unless the export finished first
// and the watchdog was disarmed or destroyed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace orbistat {

class ExportWatchdog {
public:
    static constexpr std::chrono::seconds exportLimit{90};

    ExportWatchdog(std::chrono::milliseconds limit, std::function<void()> onTimeout);
    ~ExportWatchdog();
    ExportWatchdog(const ExportWatchdog&) = delete;
    ExportWatchdog& operator=(const ExportWatchdog&) = delete;

    void disarm();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool disarmed_ = false;
    std::thread thread_;
};

} // namespace orbistat
