// What the popover costs: its first opening, one full redraw with all eight cards (demo values,
// 60-point histories, 16 processors), one tick's update of a popover on
// screen, and one tick while it is hidden, which must cost no painting and
// no layout at all (the counters report what reached the view).
#include "ViewWork.h"
#include "core/DemoData.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "ui/cards/CPUCard.h"
#include "ui/components/RingGauge.h"
#include "ui/popover/PopoverView.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
#include <vector>

using namespace orbistat;

namespace {

// The demo values with 16 processors; `step` moves every figure a little,
// as consecutive ticks do.
DemoData tickData(int step)
{
    DemoData data = makeDemoData();
    data.cpu.perCore.clear();
    for (int i = 0; i < 16; ++i)
        data.cpu.perCore.push_back(0.05 + 0.9 * std::fabs(std::sin(i + step * 0.3)));
    data.cpu.total = 0.2 + 0.1 * std::sin(step);
    data.network.download = 2400000 + step % 7 * 130000;
    data.network.upload = 180000 + step % 5 * 9000;
    data.disk.readRate = 38000000.0 + step % 3 * 1e6;
    data.sensors.cpu = 52.0 + step % 4;
    data.gpu = 0.21 + step % 5 * 0.01;
    for (auto& history : data.histories)
        std::rotate(history.begin(), history.begin() + step % 60, history.end());
    return data;
}

// Consecutive ticks' values, made before timing starts.
const std::vector<DemoData>& ticks()
{
    static const std::vector<DemoData> values = [] {
        std::vector<DemoData> all;
        for (int step = 1; step <= 16; ++step)
            all.push_back(tickData(step));
        return all;
    }();
    return values;
}

struct Setup {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    LinuxUptimeClock clock{LinuxRoot("/")};
    SystemMonitor monitor{MonitorSamplers{}, settings, clock};
    ui::PopoverView view{monitor, settings};

    Setup()
    {
        monitor.enterDemoMode(tickData(0));
        view.resize(ui::PopoverView::viewWidth, view.naturalHeight());
    }
};

void settle()
{
    for (int pass = 0; pass < 16; ++pass)
        QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The whole popover painted into a picture of `scale` pixels per point.
// Warm: the same values again (an exposure, a scroll). Cold: every card has
// new values first, so every chart and text is drawn afresh.
void popoverFullRedraw(benchmark::State& state, double scale, bool cold)
{
    Setup setup;
    setup.view.show();
    settle();
    QImage image(setup.view.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    size_t step = 0;
    for (auto _ : state) {
        if (cold) {
            setup.monitor.enterDemoMode(ticks()[step++ % ticks().size()]);
            setup.view.prepareToShow();
        }
        setup.view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["cards"] = static_cast<double>(setup.view.shownCards().size());
    test::ViewWork work(setup.view);
    setup.view.render(&image);
    state.counters["widgets"] = work.paints;
}

void popoverTick(benchmark::State& state, bool visible)
{
    Setup setup;
    setup.view.show();
    settle();
    if (!visible) {
        setup.view.hide();
        settle();
    }
    test::ViewWork work(setup.view);
    size_t step = 0;
    for (auto _ : state) {
        setup.monitor.enterDemoMode(ticks()[step++ % ticks().size()]);
        settle();
    }
    state.counters["paints/tick"] = benchmark::Counter(work.paints, benchmark::Counter::kAvgIterations);
    state.counters["layouts/tick"] = benchmark::Counter(work.layouts, benchmark::Counter::kAvgIterations);
    // A hidden ring must not be left with a running frame timer.
    const auto* cpu = static_cast<const ui::CPUCard*>(setup.view.card(PopoverCard::cpu));
    state.counters["ringTimer"] = cpu->ring()->isAnimating() ? 1 : 0;
}

// The first opening: the tray program makes the popover when it is first
// clicked, so that click pays for the cards' construction, their first
// values and layout, and the first full drawing.
void popoverFirstOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    LinuxUptimeClock clock{LinuxRoot("/")};
    SystemMonitor monitor{MonitorSamplers{}, settings, clock};
    monitor.enterDemoMode(tickData(0));
    for (auto _ : state) {
        ui::PopoverView view{monitor, settings};
        view.prepareToShow();
        view.resize(ui::PopoverView::viewWidth, view.naturalHeight());
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK(popoverFirstOpen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
// Process CPU time: the raster engine fills large areas on pool threads.
BENCHMARK_CAPTURE(popoverFullRedraw, 1x, 1.0, false)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(popoverFullRedraw, 2x, 2.0, false)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(popoverFullRedraw, 2x_new_values, 2.0, true)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(popoverTick, visible, true)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(popoverTick, hidden, false)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
