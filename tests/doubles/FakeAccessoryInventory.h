#pragma once

#include "samplers/AccessoryInventory.h"

#include <atomic>
#include <mutex>
#include <semaphore>

namespace orbistat::test {

// An inventory whose sample() can be held until the test releases it, to
// look at the monitor while a refresh runs.
class FakeAccessoryInventory final : public AccessoryInventory {
public:
    std::vector<AccessoryBattery> sample() override
    {
        ++started;
        if (holdSamples)
            gate.acquire();
        std::lock_guard lock(mutex);
        ++finished;
        return result;
    }
    QString diagnostics() const override
    {
        std::lock_guard lock(mutex);
        return diagnosticsText;
    }
    void release() { gate.release(); }

    mutable std::mutex mutex;
    std::vector<AccessoryBattery> result;
    QString diagnosticsText = QStringLiteral("power: - | hid: - | bluetooth: - | connected: -");
    std::atomic<bool> holdSamples{false};
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    std::counting_semaphore<16> gate{0};
};

} // namespace orbistat::test
