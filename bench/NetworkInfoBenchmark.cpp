// What the network-info step of a tick costs (route files, sysfs, the
// address list, and on Wi-Fi the radio), and one accessory inventory run
// over a recorded tree without the slow tool.
#include "platform/linux/LinuxDeviceBatteries.h"
#include "platform/linux/LinuxNetworkInterfaces.h"
#include "platform/linux/LinuxWifiClient.h"
#include "platform/linux/UPowerPowerSources.h"
#include "platform/BluetoothProfiler.h"
#include "platform/Clock.h"
#include "samplers/AccessoriesSampler.h"
#include "samplers/NetworkInfoSampler.h"

#include <benchmark/benchmark.h>

using namespace orbistat;

namespace {

LinuxRoot networkRoot(bool live)
{
    if (live)
        return LinuxRoot("/");
    return LinuxRoot(std::string(ORBISTAT_FIXTURES_DIR) + "/net-wifi-laptop/t0", true);
}

void networkInfoSample(benchmark::State& state, bool live)
{
    const auto root = networkRoot(live);
    LinuxNetworkInterfaces interfaces(root);
    LinuxWifiClient wifi(root);
    NetworkInfoSampler sampler(interfaces, wifi);
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample(true, 3));
}

class NoTool final : public BluetoothProfiler {
public:
    std::optional<std::vector<ProfilerDevice>> connectedDevices() override { return std::vector<ProfilerDevice>{}; }
};

class FixedClock final : public Clock {
public:
    double now() const override { return 0; }
};

void accessoryInventory(benchmark::State& state)
{
    const LinuxRoot root(std::string(ORBISTAT_FIXTURES_DIR) + "/hid-accessories/t0", true);
    UPowerPowerSources upower(QDBusConnection(QStringLiteral("no-bus")), false);
    LinuxDeviceBatteries batteries(root);
    NoTool tool;
    FixedClock clock;
    AccessoriesSampler sampler(upower, batteries, tool, clock);
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

} // namespace

BENCHMARK_CAPTURE(networkInfoSample, fixture, false);
BENCHMARK_CAPTURE(networkInfoSample, live, true);
BENCHMARK(accessoryInventory);
