// What the tray program costs: its start-up up to the first tray image, and
// one tick with the popover hidden (sampling, the tray image, the alerts and
// the snapshot for the widgets), on this machine and on a recorded tree.
// The "cpu" column is the figure to read: CPU time per tick.
#include "alerts/AlertManager.h"
#include "app/AppDelegate.h"
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "platform/Notifier.h"

#include <QDBusConnection>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orbistat;

namespace {

class SilentNotifier final : public Notifier {
public:
    void requestAuthorization(std::function<void(bool)> answer) override { answer(false); }
    void post(const Notification&) override {}
};

LinuxRoot trayRoot(bool live)
{
    return live ? LinuxRoot("/") : LinuxRoot(std::string(ORBISTAT_FIXTURES_DIR) + "/intel-hybrid-laptop/t0");
}

// Everything the tray program sets up before its item shows values: the
// settings, the alerts, the machine's readers, the delegate, the item, the
// first tick and its drawing. No session bus, so no panel is involved.
void trayStartUpToFirstImage(benchmark::State& state, bool live)
{
    QTemporaryDir dir;
    SilentNotifier notifier;
    for (auto _ : state) {
        SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
        LinuxMachine machine(trayRoot(live), QDBusConnection(QStringLiteral("orbistat-bench-no-bus")));
        AlertManager alerts(settings, notifier, machine.clock());
        AppDelegate delegate(settings, alerts, machine.makeSamplers(), machine.clock(),
                             QDBusConnection(QStringLiteral("orbistat-bench-no-bus")));
        delegate.launch();
        if (delegate.imageCache().drawings() < 1)
            state.SkipWithError("no tray image after launch");
        state.PauseTiming();
        delegate.popover().hide();
        state.ResumeTiming();
    }
}

void trayTick(benchmark::State& state, bool live)
{
    QTemporaryDir dir;
    SilentNotifier notifier;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    LinuxMachine machine(trayRoot(live), QDBusConnection(QStringLiteral("orbistat-bench-no-bus")));
    AlertManager alerts(settings, notifier, machine.clock());
    AppDelegate delegate(settings, alerts, machine.makeSamplers(), machine.clock(),
                         QDBusConnection(QStringLiteral("orbistat-bench-no-bus")));
    delegate.launch();
    delegate.popover().hide();
    const int before = delegate.imageCache().drawings();
    for (auto _ : state)
        delegate.monitor().tick();
    state.counters["drawings"] = benchmark::Counter(delegate.imageCache().drawings() - before, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK_CAPTURE(trayStartUpToFirstImage, fixture, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(trayStartUpToFirstImage, live, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(trayTick, fixture, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(trayTick, live, true)->Unit(benchmark::kMicrosecond);
