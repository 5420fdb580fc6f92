// What the fake NVML library (FakeNvml.cpp, built as a shared object and
// loaded through the same dlopen path as NVIDIA's) is told to answer, and
// what it counts. The tests reach it through the exported fakeNvmlState().
#pragma once

namespace orbistat::test {

struct FakeNvmlState {
    static constexpr unsigned maxDevices = 4;

    // Answers.
    int initStatus = 0;
    unsigned initMicroseconds = 0;             // how long a start takes (slow drivers)
    int countStatus = 0;
    unsigned deviceCount = 1;
    unsigned handleCount = maxDevices;         // devices from this index on have no handle
    int failingUtilization = -1;               // this device's utilisation call fails
    unsigned utilization[maxDevices] = {};     // percent, per device
    unsigned long long energy[maxDevices] = {};  // mJ, per device
    bool hasEnergy = true;                     // nvmlDeviceGetTotalEnergyConsumption succeeds
    // Counts.
    int inits = 0;
    int shutdowns = 0;
    int queries = 0;               // every call other than init and shutdown
    int queriesWithoutSession = 0;  // of those, made while no session was open
    int openSessions = 0;          // inits that succeeded minus shutdowns

    void resetCounts() { inits = shutdowns = queries = queriesWithoutSession = openSessions = 0; }
    int calls() const { return inits + shutdowns + queries; }
};

} // namespace orbistat::test

extern "C" orbistat::test::FakeNvmlState* fakeNvmlState();
