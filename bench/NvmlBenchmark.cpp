// What NVIDIA's library costs the tick loop, measured with the fake library
// the tests build (loaded through the same dlopen path), on a copy of the
// hybrid laptop's tree:
//  - a tick while a session is open and the GPU busy (the queries);
//  - a tick while the GPU sleeps (its power state only);
//  - ten simulated minutes of 2 s ticks with a GPU that others keep awake
//    but idle, where each start takes 100 ms as on a slow driver: the
//    starts per ten minutes and the average time per tick.
#include "fakenvml/FakeNvmlState.h"
#include "platform/linux/NvmlGpuSource.h"
#include "platform/linux/NvmlSession.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>

using namespace orbistat;

namespace {

class SteppedClock final : public Clock {
public:
    double now() const override { return seconds; }
    double seconds = 1000.0;
};

struct FakeNvmlRig {
    FakeNvmlRig(const char* runtimeStatus)
    {
        std::filesystem::copy(std::string(ORBISTAT_FIXTURES_DIR) + "/hybrid-nvidia-laptop/t0", tree,
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
        std::ofstream(tree / "sys/devices/pci0000:00/0000:00:01.0/0000:01:00.0/power/runtime_status", std::ios::trunc) << runtimeStatus << '\n';
        handle = ::dlopen(ORBISTAT_FAKE_NVML, RTLD_NOW | RTLD_LOCAL);
        state = reinterpret_cast<test::FakeNvmlState* (*)()>(::dlsym(handle, "fakeNvmlState"))();
        *state = test::FakeNvmlState{};
    }
    ~FakeNvmlRig() { ::dlclose(handle); }

    QTemporaryDir dir;
    std::filesystem::path tree{dir.filePath(QStringLiteral("tree")).toStdString()};
    void* handle = nullptr;
    test::FakeNvmlState* state = nullptr;
    SteppedClock clock;
};

NvmlSession::Loader fakeLoader()
{
    return [] { return loadNvml(ORBISTAT_FAKE_NVML); };
}

void nvmlTickBusy(benchmark::State& state)
{
    FakeNvmlRig rig("active");
    rig.state->utilization[0] = 80;
    NvmlSession session(LinuxRoot(rig.tree, false), rig.clock, fakeLoader());
    NvmlGpuSource source(session);
    source.statistics();
    for (auto _ : state)
        benchmark::DoNotOptimize(source.statistics());
}

void nvmlTickAsleep(benchmark::State& state)
{
    FakeNvmlRig rig("suspended");
    NvmlSession session(LinuxRoot(rig.tree, false), rig.clock, fakeLoader());
    NvmlGpuSource source(session);
    for (auto _ : state)
        benchmark::DoNotOptimize(source.statistics());
    state.counters["nvmlCalls"] = rig.state->calls();
}

void nvmlTenMinutesAwakeAndIdleWithSlowStarts(benchmark::State& state)
{
    FakeNvmlRig rig("active");
    rig.state->initMicroseconds = 100'000;
    int starts = 0;
    for (auto _ : state) {
        NvmlSession session(LinuxRoot(rig.tree, false), rig.clock, fakeLoader());
        NvmlGpuSource source(session);
        rig.state->resetCounts();
        for (int tick = 0; tick < 300; ++tick) {
            rig.clock.seconds += 2;
            benchmark::DoNotOptimize(source.statistics());
        }
        starts = rig.state->inits;
    }
    state.counters["startsPer10min"] = starts;
    state.counters["perTick"] = benchmark::Counter(300, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(nvmlTickBusy);
BENCHMARK(nvmlTickAsleep);
BENCHMARK(nvmlTenMinutesAwakeAndIdleWithSlowStarts)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
