#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeDBusService.h"
#include "doubles/PrivateBus.h"
#include "platform/linux/BlueZCentral.h"
#include "samplers/BluetoothBatteryReader.h"
#include "QtPrinters.h"

#include <QCoreApplication>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat;

using InterfaceMap = QMap<QString, QVariantMap>;
using ObjectMap = QMap<QDBusObjectPath, InterfaceMap>;

namespace {

const QString bluez = QStringLiteral("org.bluez");
const QString adapter1 = QStringLiteral("org.bluez.Adapter1");
const QString device1 = QStringLiteral("org.bluez.Device1");
const QString battery1 = QStringLiteral("org.bluez.Battery1");

template <typename Predicate>
bool waitUntil(Predicate done, int timeoutMs = 3000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

QVariant byte(int value)
{
    return QVariant::fromValue(static_cast<uchar>(value));
}

// The objects of a laptop's bluetoothd: one adapter, a BLE keyboard with a
// battery, a classic headset, a BLE mouse that is not connected and a BLE
// tracker without a battery.
ObjectMap laptopObjects(bool powered = true)
{
    ObjectMap objects;
    objects[QDBusObjectPath("/org/bluez")] = {{"org.bluez.AgentManager1", {}}};
    objects[QDBusObjectPath("/org/bluez/hci0")] = {{adapter1, {{"Powered", powered}, {"Address", "00:1A:7D:DA:71:13"}}}};
    objects[QDBusObjectPath("/org/bluez/hci0/dev_C1")] = {
        {device1, {{"Name", "<b>Keyboard</b>"}, {"Connected", true}, {"Address", "C1:00:00:00:00:01"}}},
        {battery1, {{"Percentage", byte(80)}}},
    };
    objects[QDBusObjectPath("/org/bluez/hci0/dev_C2")] = {
        {device1, {{"Name", "WH-1000XM4"}, {"Connected", true}, {"Class", 0x240404u}}},
        {battery1, {{"Percentage", byte(60)}}},
    };
    objects[QDBusObjectPath("/org/bluez/hci0/dev_C3")] = {
        {device1, {{"Name", "Mouse"}, {"Connected", false}}},
        {battery1, {{"Percentage", byte(10)}}},
    };
    objects[QDBusObjectPath("/org/bluez/hci0/dev_C4")] = {{device1, {{"Name", "Tag"}, {"Connected", true}}}};
    return objects;
}

struct BlueZTest : ::testing::Test {
    static void SetUpTestSuite()
    {
        qDBusRegisterMetaType<InterfaceMap>();
        qDBusRegisterMetaType<ObjectMap>();
    }

    void startService(const QString& peer, const ObjectMap& objects)
    {
        service = std::make_unique<test::FakeDBusService>();
        ASSERT_TRUE(service->attach(bus.connect(peer), bluez));
        service->setReply(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                          QStringLiteral("GetManagedObjects"), {QVariant::fromValue(objects)});
    }
    void stopService(const QString& peer)
    {
        service->detach();
        service.reset();
        bus.disconnect(peer);
    }
    void setBattery(const char* device, QVariant percentage)
    {
        service->emitSignal(QStringLiteral("/org/bluez/hci0/") + QLatin1String(device), QStringLiteral("org.freedesktop.DBus.Properties"),
                            QStringLiteral("PropertiesChanged"),
                            {battery1, QVariantMap{{"Percentage", percentage}}, QStringList()});
    }
    std::vector<AccessoryBattery> all() const
    {
        auto list = reader->classicDevices();
        const auto le = reader->devices();
        list.insert(list.end(), le.begin(), le.end());
        return list;
    }

    test::PrivateBus bus;
    std::unique_ptr<test::FakeDBusService> service;
    std::unique_ptr<BlueZCentral> central;
    std::unique_ptr<BluetoothBatteryReader> reader;
    int changes = 0;

    void startReader()
    {
        central = std::make_unique<BlueZCentral>(bus.connect(QStringLiteral("orbistat")));
        reader = std::make_unique<BluetoothBatteryReader>(*central);
        reader->setOnChange([this] { ++changes; });
    }
};

} // namespace

TEST_F(BlueZTest, ObjectsBecomePeripheralsClassicDevicesAndLiveLevels)
{
    ASSERT_TRUE(bus.isRunning());
    startService(QStringLiteral("bluetoothd"), laptopObjects());
    startReader();
    EXPECT_EQ(reader->status(), QStringLiteral("starting"));
    ASSERT_TRUE(waitUntil([&] { return !reader->devices().empty(); }));
    EXPECT_EQ(reader->status(), QStringLiteral("on"));
    EXPECT_EQ(all(), (std::vector<AccessoryBattery>{
                         {"WH-1000XM4", 60, false, "headphones"},
                         {"<b>Keyboard</b>", 80, false, "keyboard"},
                     }));
    EXPECT_EQ(reader->diagnosticText(), QStringLiteral("on, 1 with battery service: <b>Keyboard</b> 80% | classic: WH-1000XM4 60%"));

    // A level change is the value-updated callback.
    const int before = changes;
    setBattery("dev_C1", byte(55));
    ASSERT_TRUE(waitUntil([&] { return reader->devices().at(0).percent == 55; }));
    EXPECT_GT(changes, before);

    // Wrong types are no value: the last level stays.
    setBattery("dev_C1", QStringLiteral("42"));
    setBattery("dev_C1", 4200u);
    setBattery("dev_C1", byte(54));  // a sentinel that arrives after both
    ASSERT_TRUE(waitUntil([&] { return reader->devices().at(0).percent == 54; }));

    // A device appears ...
    service->emitSignal(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("InterfacesAdded"),
                        {QVariant::fromValue(QDBusObjectPath("/org/bluez/hci0/dev_C5")),
                         QVariant::fromValue(InterfaceMap{{device1, {{"Name", "Pencil"}, {"Connected", true}}},
                                                          {battery1, {{"Percentage", byte(33)}}}})});
    ASSERT_TRUE(waitUntil([&] { return reader->devices().size() == 2; }));
    EXPECT_EQ(reader->devices().at(1), (AccessoryBattery{"Pencil", 33, false, "pencil"}));

    // ... and one leaves, with its level.
    service->emitSignal(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("InterfacesRemoved"),
                        {QVariant::fromValue(QDBusObjectPath("/org/bluez/hci0/dev_C1")), QStringList{device1, battery1}});
    ASSERT_TRUE(waitUntil([&] { return reader->devices().size() == 1; }));
    EXPECT_EQ(reader->devices().at(0).name, QStringLiteral("Pencil"));

    // The adapter powers off: only the status changes.
    service->emitSignal(QStringLiteral("/org/bluez/hci0"), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                        {adapter1, QVariantMap{{"Powered", false}}, QStringList()});
    ASSERT_TRUE(waitUntil([&] { return reader->status() == QStringLiteral("Bluetooth off"); }));
    EXPECT_EQ(reader->devices().size(), 1u);
}

TEST_F(BlueZTest, BluetoothdRestartsAndWrongTypes)
{
    ObjectMap objects = laptopObjects();
    // Hostile values: a Name that is a number, Connected as text, a
    // Percentage as a 32-bit integer (still a number) and a Class as text.
    objects[QDBusObjectPath("/org/bluez/hci0/dev_D1")] = {
        {device1, {{"Name", 7}, {"Connected", true}}},
        {battery1, {{"Percentage", 70}}},
    };
    objects[QDBusObjectPath("/org/bluez/hci0/dev_D2")] = {
        {device1, {{"Name", "Half Connected"}, {"Connected", "yes"}}},
        {battery1, {{"Percentage", byte(20)}}},
    };
    objects[QDBusObjectPath("/org/bluez/hci0/dev_D3")] = {
        {device1, {{"Name", "Odd Class"}, {"Connected", true}, {"Class", "audio"}}},
        {battery1, {{"Percentage", byte(30)}}},
    };
    startService(QStringLiteral("bluetoothd"), objects);
    startReader();
    ASSERT_TRUE(waitUntil([&] { return reader->status() == QStringLiteral("on") && reader->devices().size() == 3; }));
    // A class that is not a number makes dev_D3 an LE device; "yes" is not
    // connected.
    EXPECT_EQ(reader->diagnosticText(),
              QStringLiteral("on, 3 with battery service: <b>Keyboard</b> 80%, Bluetooth device 70%, Odd Class 30% | classic: WH-1000XM4 60%"));

    stopService(QStringLiteral("bluetoothd"));
    ASSERT_TRUE(waitUntil([&] { return reader->status() == QStringLiteral("unavailable"); }));
    startService(QStringLiteral("bluetoothd-2"), laptopObjects());
    ASSERT_TRUE(waitUntil([&] { return reader->status() == QStringLiteral("on"); }));
    ASSERT_TRUE(waitUntil([&] { return reader->devices().size() == 1; }));
}

TEST_F(BlueZTest, AccessDeniedNoAdapterAndNoBus)
{
    service = std::make_unique<test::FakeDBusService>();
    ASSERT_TRUE(service->attach(bus.connect(QStringLiteral("bluetoothd")), bluez));
    service->setHandler(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"),
                        [](const QDBusMessage& call) -> std::optional<QDBusMessage> {
                            return call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("denied"));
                        });
    startReader();
    ASSERT_TRUE(waitUntil([&] { return reader->status() != QStringLiteral("starting"); }));
    EXPECT_EQ(reader->status(), QStringLiteral("permission denied (System Settings > Privacy > Bluetooth)"));

    // A reply of the wrong shape is a stack without adapters.
    service->setReply(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"),
                      {QStringLiteral("not objects")});
    central->resynchronize();
    ASSERT_TRUE(waitUntil([&] { return reader->status() == QStringLiteral("unavailable"); }));

    // No bus at all: unavailable at once, without waiting for anything.
    BlueZCentral offline(QDBusConnection(QStringLiteral("no-such-bus")));
    BluetoothBatteryReader offlineReader(offline);
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(waitUntil([&] { return offlineReader.status() == QStringLiteral("unavailable"); }));
    EXPECT_LT(elapsed.elapsed(), 500);
    EXPECT_EQ(offlineReader.diagnosticText(), QStringLiteral("unavailable, 0 with battery service | classic: -"));
}

TEST_F(BlueZTest, ALevelChangeReachesTheMonitorsAccessories)
{
    startService(QStringLiteral("bluetoothd"), laptopObjects());
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    test::FakeClock clock;
    BlueZCentral central(bus.connect(QStringLiteral("orbistat")));
    MonitorSamplers samplers;
    samplers.bluetooth = std::make_unique<BluetoothBatteryReader>(central);
    SystemMonitor monitor(std::move(samplers), settings, clock);
    int notifications = 0;
    QObject::connect(&monitor, &SystemMonitor::accessoriesChanged, [&] { ++notifications; });

    ASSERT_TRUE(waitUntil([&] { return monitor.accessories().size() == 2; }));
    EXPECT_EQ(monitor.accessories().at(0), (AccessoryBattery{"<b>Keyboard</b>", 80, false, "keyboard"}));
    EXPECT_EQ(monitor.accessoriesDiagnostics(), QStringLiteral(" | ble: on, 1 with battery service: <b>Keyboard</b> 80% | classic: WH-1000XM4 60%"));
    const int before = notifications;
    setBattery("dev_C1", byte(31));
    ASSERT_TRUE(waitUntil([&] { return monitor.accessories().at(0).percent == 31; }));
    EXPECT_GT(notifications, before);
}
