// What the sensors and battery samplers cost per tick, on recorded machine
// trees (a laptop with everything, a desktop with many fans) and on this
// machine.
#include "platform/linux/LinuxEnergyChannels.h"
#include "platform/linux/LinuxHwmon.h"
#include "platform/linux/LinuxPowerSupplies.h"
#include "platform/linux/LinuxSMC.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "samplers/BatterySampler.h"
#include "samplers/SensorsSampler.h"

#include <benchmark/benchmark.h>

using namespace orbistat;

namespace {

LinuxRoot sensorsRoot(const char* tree)
{
    if (tree == nullptr)
        return LinuxRoot("/");
    return LinuxRoot(std::string(ORBISTAT_FIXTURES_DIR) + "/" + tree + "/t0");
}

void sensorsSample(benchmark::State& state, const char* tree)
{
    const auto root = sensorsRoot(tree);
    LinuxUptimeClock clock(root);
    LinuxHwmon hwmon(root, clock);
    LinuxPowerSupplies supplies(root, clock);
    LinuxSMC smc(root, clock, hwmon, supplies);
    LinuxEnergyChannels energy(root, clock);
    SensorsSampler sampler(SMC::open(smc), std::make_unique<HIDTemperatureSampler>(hwmon),
                           energy.hasChannels() ? std::make_unique<IOReportSampler>(energy, clock) : nullptr);
    sampler.sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

void batterySample(benchmark::State& state, const char* tree)
{
    const auto root = sensorsRoot(tree);
    LinuxUptimeClock clock(root);
    LinuxPowerSupplies supplies(root, clock);
    BatterySampler sampler(supplies, supplies);
    sampler.sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

} // namespace

BENCHMARK_CAPTURE(sensorsSample, intelLaptop, "intel-laptop");
BENCHMARK_CAPTURE(sensorsSample, amdDesktop, "amd-desktop");
BENCHMARK_CAPTURE(sensorsSample, live, nullptr);
BENCHMARK_CAPTURE(batterySample, intelLaptop, "intel-laptop");
BENCHMARK_CAPTURE(batterySample, live, nullptr);
