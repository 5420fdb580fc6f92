#include "doubles/FakeAccessorySources.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeDBusService.h"
#include "doubles/PrivateBus.h"
#include "platform/linux/BluetoothctlParsing.h"
#include "platform/linux/LinuxBluetoothctl.h"
#include "platform/linux/LinuxDeviceBatteries.h"
#include "platform/linux/UPowerPowerSources.h"
#include "samplers/AccessoriesSampler.h"
#include "QtPrinters.h"
#include "TestPaths.h"

#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>
#include <signal.h>

using namespace orbistat;
using namespace std::chrono_literals;

TEST(LinuxDeviceBatteries, DeviceScopeSuppliesOfARecordedDesktop)
{
    LinuxRoot root(test::fixture("hid-accessories/t0"), true);
    LinuxDeviceBatteries registry(root);
    test::FakePowerSourceList power;
    test::FakeBluetoothProfiler profiler;
    test::FakeClock clock;
    AccessoriesSampler sampler(power, registry, profiler, clock);
    // The internal battery and mains are not accessories; the keyboard with
    // only a coarse level has no percentage; the hostile level shows in the
    // diagnostics only; the controller is named by its input device.
    EXPECT_EQ(sampler.sample(), (std::vector<AccessoryBattery>{
                                    {"MX Master 3", 85, false, "computermouse"},
                                    {"Wireless Controller", 40, true, "gamecontroller"},
                                }));
    EXPECT_EQ(sampler.diagnostics(), QStringLiteral("power: - | hid: <b>Evil</b>\a Mouse 250%, MX Master 3 85%, "
                                                    "Wireless Controller 40% | bluetooth: - | connected: -"));
    const auto entries = registry.entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].parentProperties.value(QStringLiteral("Product")).toString(), QStringLiteral("Logitech MX Master 3"));
}

TEST(BluetoothctlParsing, RecordedOutputs)
{
    const std::string devices =
        "Device 11:22:33:44:55:66 MX Anywhere 3\n"
        "\x1b[0;93mDevice\x1b[0m 11:22:33:44:55:67 <b>Buds</b> \xff\n"
        "Device 11:22:33:44:55:68\n"
        "Device 11:22:33:44:55 short\n"
        "Device ../../../../etc Name\n"
        "Waiting to connect to bluetoothd...\r\n"
        "No default controller available\n";
    EXPECT_EQ(parseBluetoothctlDevices(devices), (std::vector<BluetoothctlDevice>{
                                                     {"11:22:33:44:55:66", "MX Anywhere 3"},
                                                     {"11:22:33:44:55:67", QStringLiteral("<b>Buds</b> \uFFFD")},
                                                     {"11:22:33:44:55:68", ""},
                                                 }));
    const std::string info =
        "Device 11:22:33:44:55:66 (random)\n"
        "\tName: MX Anywhere 3\n"
        "\tAlias: My Mouse\n"
        "\tAppearance: 0x03c2\n"
        "\tIcon: input-mouse\n"
        "\tPaired: yes\n"
        "\tConnected: yes\n"
        "\tUUID: Battery Service           (0000180f-0000-1000-8000-00805f9b34fb)\n"
        "\tBattery Percentage: 0x5a (90)\n";
    EXPECT_EQ(parseBluetoothctlInfo(info), (BluetoothctlInfo{"MX Anywhere 3", "My Mouse", "input-mouse", 90}));
    EXPECT_EQ(parseBluetoothctlInfo("\tBattery Percentage: 0x64\n")->batteryPercent, 100);
    EXPECT_EQ(parseBluetoothctlInfo("\tBattery Percentage: lots\n")->batteryPercent, std::nullopt);
    EXPECT_EQ(parseBluetoothctlInfo("Device 11:22:33:44:55:66 not available\n"), std::nullopt);
    EXPECT_EQ(parseBluetoothctlInfo(""), std::nullopt);
}

namespace {

// A stand-in for the tool: a shell script that answers from a recording,
// hangs, or prints garbage.
class ToolScript {
public:
    explicit ToolScript(const QByteArray& body)
    {
        path_ = dir_.filePath(QStringLiteral("bluetoothctl"));
        QFile file(path_);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\n" + body);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path() const { return path_; }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString path_;
};

const QByteArray recordedTool = R"(case "$1" in
devices) printf 'Device 11:22:33:44:55:66 MX Anywhere 3\nDevice 11:22:33:44:55:67 Buds\nDevice 11:22:33:44:55:68 Speaker\n' ;;
info) case "$2" in
  11:22:33:44:55:66) printf 'Device 11:22:33:44:55:66 (random)\n\tName: MX Anywhere 3\n\tIcon: input-mouse\n\tBattery Percentage: 0x5a (90)\n' ;;
  11:22:33:44:55:67) printf 'Device 11:22:33:44:55:67 (public)\n\tName: <i>Buds</i>\n\tIcon: audio-headset\n\tBattery Percentage: 0x96 (150)\n' ;;
  *) echo "Device $2 not available"; exit 1 ;;
  esac ;;
esac
)";

} // namespace

TEST(LinuxBluetoothctl, RecordedToolThroughTheSampler)
{
    ToolScript tool(recordedTool);
    LinuxBluetoothctl bluetoothctl(tool.path());
    test::FakePowerSourceList power;
    test::FakeDeviceBatteryRegistry registry;
    test::FakeClock clock;
    AccessoriesSampler sampler(power, registry, bluetoothctl, clock);
    EXPECT_EQ(sampler.sample(), (std::vector<AccessoryBattery>{{"MX Anywhere 3", 90, false, "computermouse"}}));
    EXPECT_EQ(sampler.diagnostics(), QStringLiteral("power: - | hid: - | bluetooth: MX Anywhere 3 90%, <i>Buds</i> 150% | "
                                                    "connected: MX Anywhere 3 [device_batteryLevelMain], "
                                                    "<i>Buds</i> [device_batteryLevelMain], Speaker [no battery key]"));
}

TEST(LinuxBluetoothctl, HungToolIsKilledInTimeAndTheRefreshGoesOn)
{
    ToolScript tool(R"(case "$1" in
devices) printf 'Device 11:22:33:44:55:66 First\nDevice 11:22:33:44:55:67 Second\nDevice 11:22:33:44:55:68 Third\n' ;;
info) sleep 30 & echo $! > ")" + QByteArray() + R"($(dirname "$0")/sleeper"; wait ;;
esac
)");
    LinuxBluetoothctl bluetoothctl(tool.path(), true, 400);
    QElapsedTimer elapsed;
    elapsed.start();
    const auto devices = bluetoothctl.connectedDevices();
    // One limit for the hung "info", not one per device.
    EXPECT_LT(elapsed.elapsed(), 2000);
    ASSERT_TRUE(devices);
    ASSERT_EQ(devices->size(), 3u);
    EXPECT_EQ((*devices)[2].name, QStringLiteral("Third"));
    EXPECT_TRUE((*devices)[2].properties.isEmpty());

    // The whole group went down, the tool's own child included.
    QFile pidFile(tool.file(QStringLiteral("sleeper")));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const pid_t sleeper = pidFile.readAll().trimmed().toInt();
    ASSERT_GT(sleeper, 0);
    bool gone = false;
    for (int i = 0; i < 50 && !gone; ++i) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(sleeper));
        gone = !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
        if (!gone)
            std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(gone);
}

TEST(LinuxBluetoothctl, UnusableRunsReportNothing)
{
    struct Case {
        const char* name;
        QByteArray script;
        bool usable;
        size_t devices;
    };
    const std::vector<Case> cases{
        {"hangs in the list", "sleep 30\n", false, 0},
        {"fails", "echo 'org.bluez.Error.NotReady' ; exit 1\n", false, 0},
        {"garbage", "head -c 3000 /dev/urandom; printf '\\n\\x1b[31mSegmentation\\x1b fault\\n'\n", true, 0},
        {"floods its output", "yes 'Device 11:22:33:44:55:66 Flood'\n", false, 0},
        {"no controller", "echo 'No default controller available'\n", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ToolScript tool(c.script);
        LinuxBluetoothctl bluetoothctl(tool.path(), true, 1500);
        QElapsedTimer elapsed;
        elapsed.start();
        const auto devices = bluetoothctl.connectedDevices();
        EXPECT_LT(elapsed.elapsed(), 4000);
        EXPECT_EQ(devices.has_value(), c.usable);
        if (devices) {
            EXPECT_EQ(devices->size(), c.devices);
        }
    }
    // Missing, by path and by name, without a descriptor left behind per
    // try (a refresh runs every 30 s for as long as the program runs).
    const auto openDescriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size(); };
    const auto before = openDescriptors();
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(LinuxBluetoothctl(QStringLiteral("/nonexistent/bluetoothctl")).connectedDevices());
        EXPECT_FALSE(LinuxBluetoothctl(QStringLiteral("orbistat-no-such-tool")).connectedDevices());
    }
    EXPECT_EQ(openDescriptors(), before);
    ToolScript recorded(recordedTool);
    EXPECT_FALSE(LinuxBluetoothctl(recorded.path(), false).connectedDevices());
}

namespace {

const QString upowerService = QStringLiteral("org.freedesktop.UPower");
const QString upowerDevice = QStringLiteral("org.freedesktop.UPower.Device");

QString devicePath(const char* name)
{
    return QStringLiteral("/org/freedesktop/UPower/devices/") + QLatin1String(name);
}

void publishUPower(test::FakeDBusService& service)
{
    const std::vector<std::pair<const char*, QVariantMap>> devices{
        {"battery_BAT0", {{"Type", 2u}, {"PowerSupply", true}, {"Model", "5B10W13975"}, {"Percentage", 77.0}, {"State", 2u}}},
        {"line_power_AC", {{"Type", 1u}, {"PowerSupply", true}, {"Percentage", 0.0}}},
        {"mouse_hidpp", {{"Type", 5u}, {"PowerSupply", false}, {"Model", "MX Master 3"}, {"Percentage", 84.5}, {"State", 2u}}},
        {"headset_dev", {{"Type", 17u}, {"PowerSupply", false}, {"Model", "<b>Headset</b>\n"}, {"Percentage", 55.4}, {"State", 1u}}},
        {"keyboard_wrong", {{"Type", 6u}, {"Model", "K380"}, {"Percentage", "90"}, {"State", "charging"}}},
        {"ups_hiddev0", {{"Type", 3u}, {"Model", "Back-UPS"}, {"Percentage", 100.0}}},
        {"unnamed_dev", {{"Type", 5u}, {"Model", ""}, {"Percentage", 12.0}}},
    };
    QList<QDBusObjectPath> paths;
    for (const auto& [name, properties] : devices) {
        paths.append(QDBusObjectPath(devicePath(name)));
        service.setProperties(devicePath(name), upowerDevice, properties);
    }
    paths.append(QDBusObjectPath(devicePath("vanished")));  // GetAll fails
    service.setReply(QStringLiteral("/org/freedesktop/UPower"), upowerService, QStringLiteral("EnumerateDevices"),
                     {QVariant::fromValue(paths)});
}

// The adapter blocks like the worker thread it runs on in the program;
// the fake service answers from this (the main) thread meanwhile.
template <typename F>
auto offMainThread(F&& work)
{
    auto future = std::async(std::launch::async, std::forward<F>(work));
    while (future.wait_for(5ms) != std::future_status::ready)
        QCoreApplication::processEvents();
    return future.get();
}

} // namespace

TEST(UPowerPowerSources, AccessoriesFromAFakeUPowerThatComesAndGoes)
{
    test::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    auto service = std::make_unique<test::FakeDBusService>();
    ASSERT_TRUE(service->attach(bus.connect(QStringLiteral("upowerd")), upowerService));
    publishUPower(*service);

    UPowerPowerSources upower(bus.connect(QStringLiteral("orbistat")));
    test::FakeDeviceBatteryRegistry registry;
    registry.registry = {RegistryEntry{{{"BatteryPercent", qlonglong(60)}, {"Product", "MX Master 3"}}, {}}};
    test::FakeBluetoothProfiler profiler;
    test::FakeClock clock;
    AccessoriesSampler sampler(upower, registry, profiler, clock);

    const auto list = offMainThread([&] { return sampler.sample(); });
    // UPower's reading of the mouse beats the registry's.
    EXPECT_EQ(list, (std::vector<AccessoryBattery>{
                        {"<b>Headset</b>\n", 55, true, "headphones"},
                        {"MX Master 3", 85, false, "computermouse"},
                    }));
    EXPECT_EQ(sampler.diagnostics(), QStringLiteral("power: MX Master 3 85%, <b>Headset</b>\n 55% | hid: MX Master 3 60% | "
                                                    "bluetooth: - | connected: -"));

    // The service exits: nothing from it, and quickly.
    service->detach();
    bus.disconnect(QStringLiteral("upowerd"));
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(offMainThread([&] { return upower.powerSources(); }).empty());
    EXPECT_LT(elapsed.elapsed(), 1500);

    // ... and comes back.
    auto restarted = std::make_unique<test::FakeDBusService>();
    ASSERT_TRUE(restarted->attach(bus.connect(QStringLiteral("upowerd-2")), upowerService));
    publishUPower(*restarted);
    EXPECT_EQ(offMainThread([&] { return upower.powerSources(); }).size(), 6u);
}

TEST(UPowerPowerSources, DescriptionsFollowTheDeviceKind)
{
    const auto internal = UPowerPowerSources::describe({{"Type", 2u}, {"PowerSupply", true}, {"Percentage", 50.0}});
    EXPECT_EQ(internal->value(QStringLiteral("Type")).toString(), QStringLiteral("InternalBattery"));
    // A battery that does not power the machine is an accessory.
    const auto peripheral = UPowerPowerSources::describe({{"Type", 2u}, {"PowerSupply", false}, {"Model", "Pad"}, {"Percentage", 49.5}});
    EXPECT_FALSE(peripheral->contains(QStringLiteral("Type")));
    EXPECT_EQ(peripheral->value(QStringLiteral("Current Capacity")).toLongLong(), 50);
    EXPECT_FALSE(UPowerPowerSources::describe({{"Type", 1u}}));
    const auto hostile = UPowerPowerSources::describe({{"Type", "mouse"}, {"Percentage", 1e300}, {"State", 1.0}});
    EXPECT_FALSE(hostile->contains(QStringLiteral("Current Capacity")));
    EXPECT_FALSE(hostile->value(QStringLiteral("Is Charging")).toBool());
}

TEST(UPowerPowerSources, NoBusOrARecordedTreeGivesNothing)
{
    test::PrivateBus bus;
    auto service = std::make_unique<test::FakeDBusService>();
    ASSERT_TRUE(service->attach(bus.connect(QStringLiteral("upowerd")), upowerService));
    publishUPower(*service);
    UPowerPowerSources recorded(bus.connect(QStringLiteral("orbistat")), false);
    EXPECT_TRUE(offMainThread([&] { return recorded.powerSources(); }).empty());
    EXPECT_EQ(service->calls(QStringLiteral("EnumerateDevices")), 0);
    UPowerPowerSources unconnected(QDBusConnection(QStringLiteral("no-such-connection")));
    EXPECT_TRUE(unconnected.powerSources().empty());
}
