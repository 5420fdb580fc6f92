#include "samplers/DiskSampler.h"

#include <cmath>

namespace orbistat {

namespace {

// A total that went back (a disk was detached, a driver restarted) counts
// nothing this interval; the caller re-bases on the lower sum.
double grownBy(uint64_t previous, uint64_t current)
{
    return current >= previous ? static_cast<double>(current - previous) : 0.0;
}

} // namespace

DiskSampler::DiskSampler(VolumeCapacitySource& capacity, DiskTotalsSource& totals, const Clock& clock)
    : capacity_(capacity)
    , totals_(totals)
    , clock_(clock)
{
}

std::optional<DiskTotals> DiskSampler::readTotals()
{
    return totals_.read();
}

DiskSample DiskSampler::sample()
{
    DiskSample sample;
    if (const auto capacity = capacity_.read()) {
        sample.total = capacity->totalBytes.value_or(0);
        sample.available = capacity->availableBytes && *capacity->availableBytes > 0 ? static_cast<uint64_t>(*capacity->availableBytes) : 0;
    }

    const double now = clock_.now();
    const auto totals = readTotals();
    if (!totals)
        return sample;  // no rate, and the baseline stays for the next call

    if (previousTotals_ && lastTimestamp_ && *lastTimestamp_ < now) {
        const double elapsed = now - *lastTimestamp_;
        const double readRate = grownBy(previousTotals_->readBytes, totals->readBytes) / elapsed;
        const double writeRate = grownBy(previousTotals_->writeBytes, totals->writeBytes) / elapsed;
        // A recorded clock can step by a denormal amount; a rate that is not
        // a finite number is no measurement.
        if (std::isfinite(readRate) && std::isfinite(writeRate)) {
            sample.readRate = readRate;
            sample.writeRate = writeRate;
        }
    }
    previousTotals_ = totals;
    lastTimestamp_ = now;
    return sample;
}

} // namespace orbistat
