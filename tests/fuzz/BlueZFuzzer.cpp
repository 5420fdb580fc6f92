// libFuzzer target: BlueZ's object tree as QtDBus decodes it (objects,
// interfaces and properties of any D-Bus type). Properties: the state is one
// the reader knows; peripherals are connected LE devices with a battery;
// classic devices have a major class of five bits; the Battery Level value
// is one byte or none; the Bluetooth reader's lists built from all of it
// have names, levels within 0 and 100, and no device twice once merged.
#include "AccessoryChecks.h"
#include "DecodedDBusValues.h"
#include "platform/linux/BlueZObjects.h"
#include "samplers/BluetoothBatteryReader.h"

#include <QCoreApplication>

using namespace orbistat;

namespace {

// The stack as the reader sees it, answering from a fixed object tree.
class TreeCentral final : public BluetoothCentral {
public:
    explicit TreeCentral(const BlueZObjects& objects)
        : objects_(objects)
    {
    }
    void setEvents(Events events) override { events_ = std::move(events); }
    int state() const override { return bluezState(objects_, false); }
    std::vector<BluetoothPeripheral> connectedPeripheralsWithBatteryService() const override { return bluezPeripherals(objects_); }
    void connect(const QString&) override {}
    void subscribeBatteryLevel(const QString& identifier) override { subscribed.push_back(identifier); }
    std::optional<std::vector<ClassicBluetoothDevice>> pairedClassicDevices() const override { return bluezClassicDevices(objects_); }

    void start()
    {
        if (events_.stateUpdated)
            events_.stateUpdated(state());
        for (const auto& path : subscribed) {
            const auto object = objects_.find(path);
            if (object != objects_.end() && events_.valueUpdated)
                events_.valueUpdated(path, bluezBatteryLevel(object->second));
        }
    }

    std::vector<QString> subscribed;

private:
    const BlueZObjects& objects_;
    Events events_;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The reader is a QObject with a timer: it needs an application.
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    static const QStringList interfaceNames = {BlueZInterface::adapter, BlueZInterface::device, BlueZInterface::battery};
    static const QStringList propertyNames = {
        QStringLiteral("Powered"), QStringLiteral("Connected"), QStringLiteral("Class"), QStringLiteral("Name"),
        QStringLiteral("Address"), QStringLiteral("Percentage"), QStringLiteral("Alias"), QStringLiteral("Icon"),
    };
    BlueZObjects objects;
    while (input.remaining_bytes() > 0 && objects.size() < 8) {
        const QString path = QStringLiteral("/org/bluez/hci0/dev_") + QString::number(input.ConsumeIntegralInRange<int>(0, 9));
        auto& interfaces = objects[path];
        for (int i = input.ConsumeIntegralInRange<int>(1, 3); i > 0; --i) {
            const auto pick = input.ConsumeIntegralInRange<qsizetype>(0, interfaceNames.size());
            const QString name = pick < interfaceNames.size() ? interfaceNames.at(pick) : fuzz::fuzzedText(input, 12);
            interfaces[name] = fuzz::fuzzedProperties(input, propertyNames);
        }
    }

    const int state = bluezState(objects, false);
    fuzz::require(state == BluetoothCentral::statePoweredOn || state == BluetoothCentral::statePoweredOff
                      || state == BluetoothCentral::stateUnsupported,
                  "the state is on, off or unsupported");
    for (const auto& peripheral : bluezPeripherals(objects)) {
        const auto& interfaces = objects.at(peripheral.identifier);
        fuzz::require(bluezInterfaceOf(interfaces, BlueZInterface::battery) != nullptr, "a peripheral has a battery");
        fuzz::require(!bluezIsClassic(*bluezInterfaceOf(interfaces, BlueZInterface::device)), "a peripheral is an LE device");
        fuzz::require(bluezBatteryLevel(interfaces).size() <= 1, "a Battery Level value is one byte or none");
    }
    for (const auto& device : bluezClassicDevices(objects))
        fuzz::require(device.majorClass && *device.majorClass >= 0 && *device.majorClass < 32, "a major class has five bits");

    TreeCentral central(objects);
    BluetoothBatteryReader reader(central);
    central.start();
    auto classic = reader.classicDevices();
    auto le = reader.devices();
    for (const auto* list : {&classic, &le}) {
        for (const auto& a : *list)
            fuzz::require(a.percent >= 0 && a.percent <= 100 && !a.name.isEmpty(), "reader levels within 0 and 100, with names");
    }
    fuzz::requireSoundAccessories(mergeAccessories({classic, le}));
    return 0;
}
