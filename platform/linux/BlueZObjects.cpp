#include "platform/linux/BlueZObjects.h"

namespace orbistat {

const QVariantMap* bluezInterfaceOf(const DBusInterfaces& interfaces, const QString& name)
{
    const auto it = interfaces.find(name);
    return it == interfaces.end() ? nullptr : &it->second;
}

// BR/EDR devices have a class of device; LE devices have none. A Class
// that is not a number counts as none.
bool bluezIsClassic(const QVariantMap& device)
{
    return dbusInteger(device.value(QStringLiteral("Class"))).has_value();
}

int bluezState(const BlueZObjects& objects, bool accessDenied)
{
    if (accessDenied)
        return BluetoothCentral::stateUnauthorized;
    bool anyAdapter = false;
    for (const auto& [path, interfaces] : objects) {
        const auto* adapter = bluezInterfaceOf(interfaces, BlueZInterface::adapter);
        if (adapter == nullptr)
            continue;
        anyAdapter = true;
        if (dbusBoolean(adapter->value(QStringLiteral("Powered"))) == true)
            return BluetoothCentral::statePoweredOn;
    }
    return anyAdapter ? BluetoothCentral::statePoweredOff : BluetoothCentral::stateUnsupported;
}

std::vector<BluetoothPeripheral> bluezPeripherals(const BlueZObjects& objects)
{
    std::vector<BluetoothPeripheral> peripherals;
    for (const auto& [path, interfaces] : objects) {
        const auto* device = bluezInterfaceOf(interfaces, BlueZInterface::device);
        if (device == nullptr || bluezInterfaceOf(interfaces, BlueZInterface::battery) == nullptr)
            continue;
        if (bluezIsClassic(*device) || dbusBoolean(device->value(QStringLiteral("Connected"))) != true)
            continue;
        peripherals.push_back({path, dbusString(device->value(QStringLiteral("Name"))), true});
    }
    return peripherals;
}

std::vector<ClassicBluetoothDevice> bluezClassicDevices(const BlueZObjects& objects)
{
    std::vector<ClassicBluetoothDevice> devices;
    for (const auto& [path, interfaces] : objects) {
        const auto* device = bluezInterfaceOf(interfaces, BlueZInterface::device);
        if (device == nullptr)
            continue;
        const auto deviceClass = dbusInteger(device->value(QStringLiteral("Class")));
        if (!deviceClass)
            continue;
        ClassicBluetoothDevice classic;
        classic.name = dbusString(device->value(QStringLiteral("Name")));
        classic.address = dbusString(device->value(QStringLiteral("Address")));
        classic.isConnected = dbusBoolean(device->value(QStringLiteral("Connected"))) == true;
        classic.majorClass = (*deviceClass >> 8) & 0x1f;
        if (const auto* battery = bluezInterfaceOf(interfaces, BlueZInterface::battery)) {
            if (const auto level = dbusInteger(battery->value(QStringLiteral("Percentage"))))
                classic.batteryProperties.insert(QStringLiteral("batteryPercentSingle"), static_cast<qlonglong>(*level));
        }
        devices.push_back(std::move(classic));
    }
    return devices;
}

QByteArray bluezBatteryLevel(const DBusInterfaces& interfaces)
{
    const auto* battery = bluezInterfaceOf(interfaces, BlueZInterface::battery);
    if (battery == nullptr)
        return {};
    // Percentage is a byte; any other type is no value.
    const auto level = dbusInteger(battery->value(QStringLiteral("Percentage")));
    if (!level || *level < 0 || *level > 255)
        return {};
    return QByteArray(1, static_cast<char>(static_cast<uint8_t>(*level)));
}

} // namespace orbistat
