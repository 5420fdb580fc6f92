// What the tray image and the alert evaluation add to a tick: one image per
// style from the demo values, and a whole tick with its update work.
#include "alerts/AlertManager.h"
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "menubar/MenuBarRenderer.h"
#include "platform/linux/LinuxUptimeClock.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orbistat;

namespace {

class QuietNotifier final : public Notifier {
public:
    void requestAuthorization(std::function<void(bool)> answer) override { answer(false); }
    void post(const Notification&) override {}
};

const std::vector<MenuBarModule> allModules{MenuBarModule::cpu, MenuBarModule::memory, MenuBarModule::network, MenuBarModule::disk,
                                            MenuBarModule::gpu, MenuBarModule::temperature, MenuBarModule::battery};

void menuBarRender(benchmark::State& state, MenuBarStyle style)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    const LinuxUptimeClock clock{LinuxRoot("/")};
    SystemMonitor monitor(MonitorSamplers{}, settings, clock);
    monitor.enterDemoMode();
    for (auto _ : state) {
        const auto items = MenuBarRenderer::items(monitor, allModules, settings);
        benchmark::DoNotOptimize(MenuBarRenderer::render(items, style, true, Appearance::dark));
    }
}

// The monitor's tick followed by what the tray program does after it:
// redraw the image for the enabled modules, then evaluate the alerts.
void tickWithUpdate(benchmark::State& state, bool live)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    settings.setValue(SettingsKey::alertsEnabled, true);
    settings.setValue(SettingsKey::menuBarEnabled, QStringLiteral("cpu,memory,network"));
    settings.setValue(SettingsKey::menuBarStyle, QStringLiteral("graph"));
    LinuxMachine machine(live ? LinuxRoot("/") : LinuxRoot(std::string(ORBISTAT_FIXTURES_DIR) + "/intel-hybrid-laptop/t0"));
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());
    QuietNotifier notifier;
    AlertManager alerts(settings, notifier, machine.clock());
    monitor.onUpdate = [&] {
        const auto items = MenuBarRenderer::items(monitor, settings.enabledMenuBarModules(), settings);
        benchmark::DoNotOptimize(
            MenuBarRenderer::render(items, settings.currentMenuBarStyle(), settings.boolValue(SettingsKey::menuBarColorize), Appearance::dark));
        alerts.evaluate(monitor);
    };
    monitor.tick();
    for (auto _ : state)
        monitor.tick();
}

} // namespace

BENCHMARK_CAPTURE(menuBarRender, inline, MenuBarStyle::inline_);
BENCHMARK_CAPTURE(menuBarRender, stacked, MenuBarStyle::stacked);
BENCHMARK_CAPTURE(menuBarRender, graph, MenuBarStyle::graph);
BENCHMARK_CAPTURE(tickWithUpdate, fixture, false);
BENCHMARK_CAPTURE(tickWithUpdate, live, true);
