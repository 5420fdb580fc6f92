// What the settings window costs: opening it, following one settings change
// (every control re-read from the settings file) while shown and while
// hidden, and the live menu bar preview on each tick.
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "ui/settings/MenuBarPreview.h"
#include "ui/settings/MenuBarSettings.h"
#include "ui/settings/SettingsView.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orbistat;

namespace {

void settingsViewOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    const LinuxUptimeClock clock{LinuxRoot("/")};
    SystemMonitor monitor(MonitorSamplers{}, settings, clock);
    monitor.enterDemoMode();
    for (auto _ : state) {
        ui::SettingsView view(monitor, {settings});
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        benchmark::DoNotOptimize(view.shownTab());
    }
}
BENCHMARK(settingsViewOpen)->Unit(benchmark::kMillisecond);

void settingsChange(benchmark::State& state, bool shown)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    const LinuxUptimeClock clock{LinuxRoot("/")};
    SystemMonitor monitor(MonitorSamplers{}, settings, clock);
    monitor.enterDemoMode();
    ui::SettingsView view(monitor, {settings});
    view.setAttribute(Qt::WA_DontShowOnScreen);
    if (shown)
        view.show();
    bool on = false;
    for (auto _ : state) {
        on = !on;
        settings.setValue(SettingsKey::menuBarColorize, on);
    }
}
BENCHMARK_CAPTURE(settingsChange, shown, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(settingsChange, hidden, false)->Unit(benchmark::kMicrosecond);

// One tick of a recorded machine with the Menu Bar tab on screen: the
// coalesced preview update and one paint of the preview.
void previewTick(benchmark::State& state)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    settings.setValue(SettingsKey::menuBarEnabled, QStringLiteral("cpu,memory,network,disk"));
    settings.setValue(SettingsKey::menuBarStyle, QStringLiteral("graph"));
    settings.setValue(SettingsKey::settingsTab, QStringLiteral("menuBar"));
    LinuxMachine machine(LinuxRoot(std::string(ORBISTAT_FIXTURES_DIR) + "/intel-hybrid-laptop/t0"));
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());
    ui::SettingsView view(monitor, {settings});
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    auto* preview = view.menuBar()->preview();
    QImage image(preview->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    for (auto _ : state) {
        monitor.tick();
        QApplication::processEvents();
        preview->render(&image);
    }
}
BENCHMARK(previewTick)->Unit(benchmark::kMicrosecond);

} // namespace
