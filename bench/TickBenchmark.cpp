// What one sample and one monitor tick cost, on a recorded machine tree and
// on this machine. Run: build/bench/orbistat_bench
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "platform/linux/LinuxCpuTicksSource.h"
#include "platform/linux/LinuxSysctlReader.h"
#include "samplers/CPUSampler.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orbistat;

namespace {

LinuxRoot benchRoot(bool live)
{
    if (live)
        return LinuxRoot("/");
    return LinuxRoot(std::string(ORBISTAT_FIXTURES_DIR) + "/intel-hybrid-laptop/t0");
}

void cpuSample(benchmark::State& state, bool live)
{
    const auto root = benchRoot(live);
    LinuxCpuTicksSource ticks(root);
    LinuxSysctlReader sysctl(root);
    CPUSampler sampler(ticks, sysctl);
    sampler.sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

void monitorTick(benchmark::State& state, bool live)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    LinuxMachine machine(benchRoot(live));
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());
    monitor.tick();
    for (auto _ : state)
        monitor.tick();
}

} // namespace

BENCHMARK_CAPTURE(cpuSample, fixture, false);
BENCHMARK_CAPTURE(cpuSample, live, true);
BENCHMARK_CAPTURE(monitorTick, fixture, false);
BENCHMARK_CAPTURE(monitorTick, live, true);

int main(int argc, char** argv)
{
    // Drawing, the popover and the tray shell's windows need a widget
    // application; the offscreen platform needs no display. A runtime folder
    // of the run's own keeps the snapshots the tray benchmarks publish out of
    // the user's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (runtime.isValid()) {
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
