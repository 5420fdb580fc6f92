// A stand-in for NVIDIA's management library with the entry points Orbistat
// uses, built as a shared object: the program loads it with the same dlopen
// and dlsym as the real library. Every call is counted; a query outside a
// session fails as NVML's does (NVML_ERROR_UNINITIALIZED).
#include "fakenvml/FakeNvmlState.h"

#include <chrono>
#include <thread>

using orbistat::test::FakeNvmlState;

namespace {

constexpr int success = 0;
constexpr int uninitialized = 1;
constexpr int invalidArgument = 2;
constexpr int notSupported = 3;

FakeNvmlState state;

// Devices are handed out as 1-based numbers disguised as pointers.
using Device = void;

bool query()
{
    ++state.queries;
    if (state.openSessions > 0)
        return true;
    ++state.queriesWithoutSession;
    return false;
}

unsigned indexOf(Device* device)
{
    return static_cast<unsigned>(reinterpret_cast<unsigned long>(device) - 1);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) FakeNvmlState* fakeNvmlState() { return &state; }

__attribute__((visibility("default"))) int nvmlInit_v2()
{
    ++state.inits;
    if (state.initMicroseconds > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(state.initMicroseconds));
    if (state.initStatus != success)
        return state.initStatus;
    ++state.openSessions;
    return success;
}

__attribute__((visibility("default"))) int nvmlShutdown()
{
    ++state.shutdowns;
    if (state.openSessions == 0)
        return uninitialized;
    --state.openSessions;
    return success;
}

__attribute__((visibility("default"))) int nvmlDeviceGetCount_v2(unsigned* count)
{
    if (!query())
        return uninitialized;
    if (state.countStatus != success)
        return state.countStatus;
    *count = state.deviceCount;
    return success;
}

__attribute__((visibility("default"))) int nvmlDeviceGetHandleByIndex_v2(unsigned index, Device** device)
{
    if (!query())
        return uninitialized;
    if (index >= state.deviceCount || index >= state.handleCount || index >= FakeNvmlState::maxDevices)
        return invalidArgument;
    *device = reinterpret_cast<Device*>(static_cast<unsigned long>(index) + 1);
    return success;
}

__attribute__((visibility("default"))) int nvmlDeviceGetUtilizationRates(Device* device, unsigned* rates)
{
    if (!query())
        return uninitialized;
    if (static_cast<int>(indexOf(device)) == state.failingUtilization)
        return notSupported;
    rates[0] = state.utilization[indexOf(device)];
    rates[1] = 0;
    return success;
}

__attribute__((visibility("default"))) int nvmlDeviceGetTotalEnergyConsumption(Device* device, unsigned long long* millijoules)
{
    if (!query())
        return uninitialized;
    if (!state.hasEnergy)
        return notSupported;
    *millijoules = state.energy[indexOf(device)];
    return success;
}

} // extern "C"
