#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeAccessoryInventory.h"
#include "doubles/FakeAccessorySources.h"
#include "doubles/FakeBluetoothSource.h"
#include "doubles/FakeClock.h"
#include "platform/linux/LinuxBluetoothctl.h"
#include "samplers/AccessoriesSampler.h"
#include "QtPrinters.h"
#include "TestPaths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

template <typename Predicate>
bool waitUntil(Predicate done, int timeoutMs = 5000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

struct MonitorAccessoriesTest : ::testing::Test {
    MonitorAccessoriesTest()
    {
        MonitorSamplers samplers;
        samplers.accessories = inventory;
        auto source = std::make_unique<test::FakeBluetoothSource>();
        bluetooth = source.get();
        samplers.bluetooth = std::move(source);
        monitor = std::make_unique<SystemMonitor>(std::move(samplers), settings, clock);
    }
    ~MonitorAccessoriesTest() override
    {
        // A refresh still held must not outlive the test's inventory.
        for (int i = 0; i < 4; ++i)
            inventory->release();
    }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    test::FakeClock clock;
    std::shared_ptr<test::FakeAccessoryInventory> inventory = std::make_shared<test::FakeAccessoryInventory>();
    test::FakeBluetoothSource* bluetooth = nullptr;
    std::unique_ptr<SystemMonitor> monitor;
};

} // namespace

TEST_F(MonitorAccessoriesTest, OneRefreshPerThirtySecondsAndNeverTwoAtATime)
{
    inventory->holdSamples = true;
    monitor->tick();
    clock.advance(2);
    monitor->tick();
    ASSERT_TRUE(waitUntil([&] { return inventory->started == 1; }));
    EXPECT_TRUE(monitor->isSamplingAccessories());
    clock.advance(40);
    monitor->tick();  // 42 s, but the first still runs
    inventory->release();
    ASSERT_TRUE(waitUntil([&] { return !monitor->isSamplingAccessories(); }));
    EXPECT_EQ(inventory->started, 1);

    clock.advance(-12.5);  // 29.5 s after the first start
    monitor->tick();
    EXPECT_FALSE(monitor->isSamplingAccessories());
    clock.advance(0.5);
    monitor->tick();
    EXPECT_TRUE(monitor->isSamplingAccessories());
    inventory->release();
    ASSERT_TRUE(waitUntil([&] { return !monitor->isSamplingAccessories(); }));
    EXPECT_EQ(inventory->started, 2);
}

TEST_F(MonitorAccessoriesTest, TheInventoryWinsOverClassicWhichWinsOverLE)
{
    inventory->result = {{"Magic Keyboard", 80, false, "keyboard"}};
    inventory->diagnosticsText = QStringLiteral("power: Magic Keyboard 80% | hid: - | bluetooth: - | connected: -");
    bluetooth->classic = {{"Keyboard", 55, false, "keyboard"}, {"Headset", 40, false, "headphones"}};
    bluetooth->le = {{"headset", 10, false, "headphones"}, {"Pencil", 20, false, "pencil"}};
    bluetooth->text = QStringLiteral("on, 2 with battery service: headset 10%, Pencil 20% | classic: Keyboard 55%, Headset 40%");
    monitor->tick();
    ASSERT_TRUE(waitUntil([&] { return !monitor->isSamplingAccessories(); }));
    EXPECT_EQ(monitor->accessories(), (std::vector<AccessoryBattery>{
                                          {"Headset", 40, false, "headphones"},
                                          {"Magic Keyboard", 80, false, "keyboard"},
                                          {"Pencil", 20, false, "pencil"},
                                      }));
    EXPECT_EQ(monitor->accessoriesDiagnostics(),
              QStringLiteral("power: Magic Keyboard 80% | hid: - | bluetooth: - | connected: - | ble: on, 2 with battery service: "
                             "headset 10%, Pencil 20% | classic: Keyboard 55%, Headset 40%"));

    // A change reported by the reader is published on the main thread.
    int notifications = 0;
    QObject::connect(monitor.get(), &SystemMonitor::accessoriesChanged, [&] { ++notifications; });
    bluetooth->le = {{"Pencil", 19, false, "pencil"}};
    bluetooth->onChange();
    EXPECT_EQ(notifications, 0);
    ASSERT_TRUE(waitUntil([&] { return notifications == 1; }));
    EXPECT_EQ(monitor->accessories().back().percent, 19);
    // The same lists again: no notification.
    bluetooth->onChange();
    QCoreApplication::processEvents();
    EXPECT_EQ(notifications, 1);
}

TEST_F(MonitorAccessoriesTest, DemoModeIgnoresBluetoothAndRefreshes)
{
    inventory->holdSamples = true;
    inventory->result = {{"Real Mouse", 10, false, "computermouse"}};
    monitor->tick();
    monitor->enterDemoMode();
    const auto demo = monitor->accessories();
    ASSERT_EQ(demo.size(), 3u);
    bluetooth->le = {{"Pencil", 20, false, "pencil"}};
    bluetooth->onChange();
    inventory->release();
    ASSERT_TRUE(waitUntil([&] { return !monitor->isSamplingAccessories(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(monitor->accessories(), demo);
}

TEST_F(MonitorAccessoriesTest, AMonitorGoneDuringARefreshDropsTheResult)
{
    inventory->holdSamples = true;
    monitor->tick();
    ASSERT_TRUE(waitUntil([&] { return inventory->started == 1; }));
    monitor.reset();
    bluetooth = nullptr;
    inventory->release();
    ASSERT_TRUE(waitUntil([&] { return inventory->finished == 1; }));
    QCoreApplication::processEvents();
}

TEST(MonitorAccessoryRefresh, ATickWhileTheToolHangsTakesItsUsualTime)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("bluetoothctl"));
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexec sleep 30\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    test::FakeClock clock;
    test::FakePowerSourceList power;
    test::FakeDeviceBatteryRegistry registry;
    // The limit is shorter than the program's 10 s so the test ends soon.
    LinuxBluetoothctl bluetoothctl(script, true, 1500);
    MonitorSamplers samplers;
    samplers.accessories = std::make_shared<AccessoriesSampler>(power, registry, bluetoothctl, clock);
    SystemMonitor monitor(std::move(samplers), settings, clock);

    QElapsedTimer elapsed;
    elapsed.start();
    monitor.tick();
    const auto firstTick = elapsed.elapsed();
    EXPECT_TRUE(monitor.isSamplingAccessories());
    QCoreApplication::processEvents();
    clock.advance(2);
    elapsed.restart();
    monitor.tick();
    EXPECT_LT(std::max(firstTick, elapsed.elapsed()), 100);
    EXPECT_TRUE(monitor.isSamplingAccessories());

    // The hung run is killed at its limit and the refresh completes.
    ASSERT_TRUE(waitUntil([&] { return !monitor.isSamplingAccessories(); }));
    EXPECT_EQ(monitor.accessoriesDiagnostics(), QStringLiteral("power: - | hid: - | bluetooth: - | connected: - | ble: "));
}

TEST(MonitorAccessoryRefresh, HeadlessJsonOfARecordedDesktop)
{
    QProcess orbistat;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORBISTAT_SYSROOT"), QString::fromStdString(test::fixture("hid-accessories/t0")));
    QTemporaryDir home;
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    orbistat.setProcessEnvironment(environment);
    orbistat.start(QString::fromUtf8(test::orbistatBinary()),
                   {QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--interval"), QStringLiteral("0.5")});
    ASSERT_TRUE(orbistat.waitForFinished(20000));
    const auto lines = orbistat.readAllStandardOutput().split('\n');
    ASSERT_GE(lines.size(), 2);
    const auto second = QJsonDocument::fromJson(lines.at(1)).object();
    const auto accessories = second.value(QStringLiteral("accessories")).toArray();
    ASSERT_EQ(accessories.size(), 2);
    EXPECT_EQ(accessories.at(0).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("MX Master 3"));
    EXPECT_EQ(accessories.at(1).toObject().value(QStringLiteral("symbol")).toString(), QStringLiteral("gamecontroller"));
    EXPECT_EQ(second.value(QStringLiteral("accessoriesDiagnostics")).toString(),
              QStringLiteral("power: - | hid: <b>Evil</b>\a Mouse 250%, MX Master 3 85%, Wireless Controller 40% | bluetooth: - | "
                             "connected: - | ble: unavailable, 0 with battery service | classic: -"));
}
