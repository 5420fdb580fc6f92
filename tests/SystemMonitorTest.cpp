#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeAccessoryInventory.h"
#include "doubles/FakeBluetoothSource.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeCpuTicksSource.h"
#include "doubles/FakeSysctlReader.h"
#include "samplers/CPUSampler.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::test;

namespace {

// Ticks that move by 100 per call: 25 % busy on each processor.
std::vector<CpuTicks> ticksAt(uint32_t step, size_t cpus = 2)
{
    return std::vector<CpuTicks>(cpus, CpuTicks{step * 25, 0, step * 75, 0});
}

struct MonitorFixture : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath("Orbistat.conf")};
    FakeClock clock;
    FakeCpuTicksSource ticks;
    FakeSysctlReader sysctl;
    std::shared_ptr<FakeAccessoryInventory> inventory = std::make_shared<FakeAccessoryInventory>();
    FakeBluetoothSource* bluetooth = nullptr;
    std::unique_ptr<SystemMonitor> monitor;

    void SetUp() override
    {
        for (uint32_t step = 0; step < 200; ++step)
            ticks.readings.push_back(ticksAt(step));
        MonitorSamplers samplers;
        samplers.cpu = std::make_unique<CPUSampler>(ticks, sysctl);
        samplers.accessories = inventory;
        auto reader = std::make_unique<FakeBluetoothSource>();
        bluetooth = reader.get();
        samplers.bluetooth = std::move(reader);
        monitor = std::make_unique<SystemMonitor>(std::move(samplers), settings, clock);
    }

    void TearDown() override
    {
        // Let a held refresh finish so no worker outlives the test.
        inventory->holdSamples = false;
        inventory->release();
        QThreadPool::globalInstance()->waitForDone(5000);
    }

    void waitForRefresh()
    {
        for (int i = 0; i < 100 && monitor->isSamplingAccessories(); ++i)
            QTest::qWait(10);
        ASSERT_FALSE(monitor->isSamplingAccessories());
    }
};

} // namespace

TEST_F(MonitorFixture, ConstructionTakesNoSampleAndStartsNothing)
{
    EXPECT_EQ(ticks.reads, 0);
    EXPECT_FALSE(monitor->isRunning());
    EXPECT_EQ(monitor->interval(), 2.0);
    EXPECT_EQ(monitor->networkInfo().kind, NetworkInfo::Kind::offline);
    EXPECT_FALSE(monitor->battery());
    EXPECT_EQ(monitor->sensors(), SensorsSample{});
}

TEST_F(MonitorFixture, StartTakesOneTickOnceAndFloorsTheInterval)
{
    settings.setValue(SettingsKey::updateInterval, 0.0);
    int updates = 0;
    monitor->onUpdate = [&] { ++updates; };
    monitor->start();
    monitor->start();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(monitor->interval(), 0.5);
    EXPECT_TRUE(monitor->isRunning());
    // The timer keeps ticking at the floored period.
    QTest::qWait(1300);
    EXPECT_GE(updates, 2);
    EXPECT_LE(updates, 4);
}

TEST_F(MonitorFixture, AStoredIntervalBeyondADayIsADay)
{
    // Beyond 2,147,484 s the timer's milliseconds overflow: sampling stopped
    // after the first tick, or the timer fired without pause.
    for (const double stored : {2'147'484.0, 4'294'967.296, 1e16}) {
        SCOPED_TRACE(stored);
        QTemporaryDir dir;
        SettingsStore store(dir.filePath(QStringLiteral("Orbistat.conf")));
        store.setValue(SettingsKey::updateInterval, stored);
        SystemMonitor fresh(MonitorSamplers{}, store, clock);
        fresh.start();
        EXPECT_EQ(fresh.interval(), 86400.0);
        const auto* timer = fresh.findChild<QTimer*>();
        ASSERT_TRUE(timer);
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 86'400'000);
    }
    // The settings-change path: the same bounds, and the setter caps too.
    EXPECT_EQ(SystemMonitor::boundedInterval(1e16), 86400.0);
    EXPECT_EQ(SystemMonitor::boundedInterval(-3.0), 0.5);
    EXPECT_EQ(SystemMonitor::boundedInterval(3.0), 3.0);
    monitor->start();
    monitor->setInterval(4'294'967.296);
    EXPECT_EQ(monitor->interval(), 86400.0);
    EXPECT_EQ(monitor->findChild<QTimer*>()->interval(), 86'400'000);
}

TEST_F(MonitorFixture, SettingTheSameIntervalNeitherNotifiesNorRestarts)
{
    monitor->start();
    QSignalSpy spy(monitor.get(), &SystemMonitor::intervalChanged);
    monitor->setInterval(2.0);
    EXPECT_EQ(spy.count(), 0);
    monitor->setInterval(3.0);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(monitor->interval(), 3.0);
}

TEST_F(MonitorFixture, HistoriesHoldTheNewestSixty)
{
    for (int i = 0; i < 61; ++i)
        monitor->tick();
    const auto& history = monitor->history(MonitorHistory::cpu);
    ASSERT_EQ(history.size(), 60u);
    // The first tick's zero sample was dropped; the rest measure 25 %.
    for (const double value : history)
        EXPECT_DOUBLE_EQ(value, 0.25);
    // No GPU sampler: its history stays empty while the processor's grows.
    EXPECT_TRUE(monitor->history(MonitorHistory::gpu).empty());
}

TEST_F(MonitorFixture, FailedProcessorReadKeepsValueAndHistory)
{
    monitor->tick();
    monitor->tick();
    const auto before = monitor->cpu();
    ticks.readings.push_front(std::nullopt);
    QSignalSpy spy(monitor.get(), &SystemMonitor::cpuChanged);
    monitor->tick();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(monitor->cpu(), before);
    EXPECT_EQ(monitor->history(MonitorHistory::cpu).size(), 2u);
}

TEST_F(MonitorFixture, AccessoryRefreshRunsOncePerThirtySecondsAndNeverTwiceAtOnce)
{
    inventory->holdSamples = true;
    monitor->tick();  // the first tick always starts a refresh
    EXPECT_TRUE(monitor->isSamplingAccessories());
    clock.advance(2);
    monitor->tick();
    clock.advance(40);
    monitor->tick();  // 42 s later, but the first one still runs
    QThreadPool::globalInstance()->waitForDone(100);
    EXPECT_EQ(inventory->started.load(), 1);

    inventory->result = {{"Mouse", 64, false, "computermouse"}};
    inventory->release();
    waitForRefresh();
    EXPECT_EQ(monitor->accessories().size(), 1u);

    clock.advance(1);  // 43 s after the first start: a new refresh
    monitor->tick();
    EXPECT_TRUE(monitor->isSamplingAccessories());
    inventory->release();
    waitForRefresh();
    clock.advance(29.9);
    monitor->tick();
    EXPECT_FALSE(monitor->isSamplingAccessories()) << "29.9 s is not enough";
    clock.advance(0.1);
    monitor->tick();
    EXPECT_TRUE(monitor->isSamplingAccessories());
    inventory->release();
    waitForRefresh();
    EXPECT_EQ(inventory->finished.load(), 3);
}

TEST_F(MonitorFixture, RefreshResultIsMergedWithBluetoothAndPublished)
{
    inventory->result = {{"Magic Keyboard", 80, false, "keyboard"}};
    inventory->diagnosticsText = "power: Magic Keyboard 80% | hid: - | bluetooth: - | connected: -";
    bluetooth->classic = {{"Keyboard", 75, false, "keyboard"}, {"Headphones", 40, true, "headphones"}};
    bluetooth->le = {{"Mouse", 50, false, "computermouse"}};
    bluetooth->text = "on, 1 with battery service: Mouse 50% | classic: -";
    QSignalSpy spy(monitor.get(), &SystemMonitor::accessoriesChanged);
    monitor->tick();
    waitForRefresh();
    const std::vector<AccessoryBattery> expected = {
        {"Headphones", 40, true, "headphones"}, {"Magic Keyboard", 80, false, "keyboard"}, {"Mouse", 50, false, "computermouse"}};
    EXPECT_EQ(monitor->accessories(), expected);
    EXPECT_EQ(monitor->accessoriesDiagnostics(),
              "power: Magic Keyboard 80% | hid: - | bluetooth: - | connected: - | ble: on, 1 with battery service: Mouse 50% | classic: -");
    EXPECT_EQ(spy.count(), 1);

    // A Bluetooth change republishes on the main thread; an unchanged list
    // does not notify again.
    bluetooth->le[0].percent = 45;
    bluetooth->onChange();
    QTest::qWait(20);
    EXPECT_EQ(monitor->accessories()[2].percent, 45);
    EXPECT_EQ(spy.count(), 2);
    bluetooth->onChange();
    QTest::qWait(20);
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(MonitorFixture, RefreshFinishingAfterTheMonitorIsGoneIsDropped)
{
    inventory->holdSamples = true;
    monitor->tick();
    monitor.reset();
    inventory->release();
    QThreadPool::globalInstance()->waitForDone(5000);
    QTest::qWait(20);  // the finished signal has no receiver left
    EXPECT_EQ(inventory->finished.load(), 1);
}

TEST_F(MonitorFixture, DemoModeFixesValuesAndIgnoresBluetooth)
{
    monitor->start();
    QSignalSpy histories(monitor.get(), &SystemMonitor::historyChanged);
    monitor->enterDemoMode();
    EXPECT_FALSE(monitor->isRunning());
    EXPECT_TRUE(monitor->isDemo());
    EXPECT_EQ(histories.count(), 9);
    const auto demo = makeDemoData();
    EXPECT_EQ(monitor->cpu(), demo.cpu);
    EXPECT_EQ(monitor->battery(), demo.battery);
    EXPECT_EQ(monitor->networkInfo(), demo.networkInfo);
    EXPECT_EQ(monitor->history(MonitorHistory::systemPower), demo.histories[8]);

    bluetooth->le = {{"Mouse", 50, false, "computermouse"}};
    bluetooth->onChange();
    QTest::qWait(20);
    monitor->publishAccessories();
    EXPECT_EQ(monitor->accessories(), demo.accessories);
}
