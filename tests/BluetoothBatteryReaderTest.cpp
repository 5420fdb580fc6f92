#include "doubles/FakeBluetoothCentral.h"
#include "samplers/BluetoothBatteryReader.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeBluetoothCentral;

namespace {

struct BluetoothBatteryReaderTest : ::testing::Test {
    BluetoothBatteryReaderTest()
    {
        reader.setOnChange([this] { ++changes; });
    }
    FakeBluetoothCentral central;
    BluetoothBatteryReader reader{central};
    int changes = 0;
};

ClassicBluetoothDevice classicDevice(std::optional<QString> name, QVariantMap battery, std::optional<int64_t> majorClass = 5, bool connected = true)
{
    ClassicBluetoothDevice device;
    device.name = std::move(name);
    device.address = QStringLiteral("00:11:22:33:44:55");
    device.isConnected = connected;
    device.majorClass = majorClass;
    device.batteryProperties = std::move(battery);
    return device;
}

} // namespace

TEST_F(BluetoothBatteryReaderTest, StartsWithoutAStateAndFollowsTheStateTable)
{
    EXPECT_EQ(reader.diagnosticText(), QStringLiteral("starting, 0 with battery service | classic: -"));
    reader.refresh();  // nothing to ask before the stack is on
    EXPECT_EQ(changes, 0);

    const std::vector<std::pair<int, const char*>> states{
        {BluetoothCentral::stateUnauthorized, "permission denied (System Settings > Privacy > Bluetooth)"},
        {BluetoothCentral::statePoweredOff, "Bluetooth off"},
        {BluetoothCentral::statePoweredOn, "on"},
        {BluetoothCentral::stateUnsupported, "unavailable"},
        {BluetoothCentral::stateResetting, "unavailable"},
        {BluetoothCentral::statePoweredOn, "on"},
    };
    int expectedChanges = 0;
    for (const auto& [state, status] : states) {
        SCOPED_TRACE(state);
        central.updateState(state);
        // The powered-on update also refreshes, which reports a change too.
        expectedChanges += state == BluetoothCentral::statePoweredOn ? 2 : 1;
        EXPECT_EQ(reader.status(), QString::fromLatin1(status));
        EXPECT_EQ(changes, expectedChanges);
    }
    EXPECT_TRUE(reader.hasRefreshTimer());
    EXPECT_EQ(reader.findChildren<QTimer*>().size(), 1);
}

TEST_F(BluetoothBatteryReaderTest, LevelsArriveLeaveAndSurviveBluetoothOff)
{
    central.peripherals = {{"/dev_A", QStringLiteral("Keyboard"), true}, {"/dev_B", std::nullopt, true}, {"/dev_C", QStringLiteral("Far"), false}};
    central.currentState = BluetoothCentral::statePoweredOn;
    central.updateState(BluetoothCentral::statePoweredOn);
    EXPECT_EQ(central.subscribed, (std::set<QString>{"/dev_A", "/dev_B"}));
    EXPECT_EQ(central.connects, (std::vector<QString>{"/dev_C"}));

    const int before = changes;
    central.deliver(QStringLiteral("/dev_A"), QByteArray("\x64", 1));
    central.deliver(QStringLiteral("/dev_B"), QByteArray("\x21\xff", 2));  // the first byte counts
    central.deliver(QStringLiteral("/dev_C"), QByteArray());               // empty: nothing
    central.deliver(QStringLiteral("/dev_Z"), QByteArray("\x10", 1));      // not a known peripheral
    EXPECT_EQ(changes, before + 2);
    EXPECT_EQ(reader.devices(), (std::vector<AccessoryBattery>{
                                    {"Keyboard", 100, false, "keyboard"},
                                    {"Bluetooth device", 33, false, "dot.radiowaves.left.and.right"},
                                }));
    EXPECT_EQ(reader.diagnosticText(), QStringLiteral("on, 3 with battery service: Keyboard 100%, Bluetooth device 33% | classic: -"));

    // A byte above 100 is no percentage: in the diagnostics, not the list.
    central.deliver(QStringLiteral("/dev_B"), QByteArray("\xc8", 1));
    EXPECT_EQ(reader.devices().size(), 1u);
    EXPECT_TRUE(reader.diagnosticText().contains(QStringLiteral("Bluetooth device 200%")));

    // Bluetooth off keeps the last levels.
    central.currentState = BluetoothCentral::statePoweredOff;
    central.updateState(BluetoothCentral::statePoweredOff);
    EXPECT_EQ(reader.devices().size(), 1u);

    // A peripheral that disconnected is gone, with its level, at the next
    // refresh; coming back it has no level until a new value arrives.
    central.peripherals = {{"/dev_B", std::nullopt, true}};
    central.updateState(BluetoothCentral::statePoweredOn);
    EXPECT_TRUE(reader.devices().empty());
    EXPECT_EQ(reader.diagnosticText(), QStringLiteral("on, 1 with battery service: Bluetooth device 200% | classic: -"));
    central.peripherals = {{"/dev_A", QStringLiteral("Keyboard"), true}, {"/dev_B", std::nullopt, true}};
    reader.refresh();
    EXPECT_TRUE(reader.devices().empty());
}

TEST_F(BluetoothBatteryReaderTest, ClassicDevicesAndTheirLevels)
{
    central.classic = std::vector<ClassicBluetoothDevice>{
        classicDevice(QStringLiteral("Sony WH"), {{"batteryPercentSingle", 80}}, 4),  // audio: headphones
        classicDevice(QStringLiteral("Pods"), {{"batteryPercentLeft", 70}, {"batteryPercentRight", 50}, {"batteryPercentCase", 30}}),
        classicDevice(QStringLiteral("Combined Keys"), {{"batteryPercentCombined", 45}, {"batteryPercentLeft", 10}}),
        classicDevice(QStringLiteral("Right Only"), {{"batteryPercentRight", 20}}),
        classicDevice(QStringLiteral("Case Only"), {{"batteryPercentCase", 90}}),
        classicDevice(QStringLiteral("Text Level"), {{"batteryPercentSingle", QStringLiteral("80")}}),
        classicDevice(QStringLiteral("Too Full"), {{"batteryPercentSingle", 300}}),
        classicDevice(std::nullopt, {{"batteryPercentSingle", 12}}),
        classicDevice(QStringLiteral("Away"), {{"batteryPercentSingle", 99}}, 5, false),
    };
    central.currentState = BluetoothCentral::statePoweredOn;
    central.updateState(BluetoothCentral::statePoweredOn);
    EXPECT_EQ(reader.classicDevices(), (std::vector<AccessoryBattery>{
                                           {"Sony WH", 80, false, "headphones"},
                                           {"Pods", 50, false, "dot.radiowaves.left.and.right"},
                                           {"Pods case", 30, false, "earbuds.case"},
                                           {"Combined Keys", 45, false, "keyboard"},
                                           {"Right Only", 20, false, "dot.radiowaves.left.and.right"},
                                           {"Case Only case", 90, false, "earbuds.case"},
                                           {"00:11:22:33:44:55", 12, false, "dot.radiowaves.left.and.right"},
                                       }));
    EXPECT_EQ(reader.diagnosticText(), QStringLiteral("on, 0 with battery service | classic: Sony WH 80%, Pods 50%, Combined Keys 45%, "
                                                      "Right Only 20%, Case Only [no value], Text Level [no value], Too Full 300%, "
                                                      "00:11:22:33:44:55 12%"));

    // The stack can no longer list them: nothing.
    central.classic.reset();
    reader.refresh();
    EXPECT_TRUE(reader.classicDevices().empty());
    EXPECT_EQ(reader.diagnosticText(), QStringLiteral("on, 0 with battery service | classic: -"));
}
