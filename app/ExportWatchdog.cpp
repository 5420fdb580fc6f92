#include "app/ExportWatchdog.h"

namespace orbistat {

ExportWatchdog::ExportWatchdog(std::chrono::milliseconds limit, std::function<void()> onTimeout)
{
    thread_ = std::thread([this, limit, onTimeout = std::move(onTimeout)] {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, limit, [this] { return disarmed_; }))
            return;
        lock.unlock();
        onTimeout();
    });
}

ExportWatchdog::~ExportWatchdog()
{
    disarm();
    if (thread_.joinable())
        thread_.join();
}

void ExportWatchdog::disarm()
{
    {
        std::lock_guard lock(mutex_);
        disarmed_ = true;
    }
    wake_.notify_all();
}

} // namespace orbistat
