// What BlueZ's object tree says, read from a copy of it: the decoded
// interfaces and properties of every object (GetManagedObjects, kept
// current by the signals). Pure functions, so the reading of whatever
// bluetoothd sends can be tested and fuzzed without a bus.
#pragma once

#include "platform/BluetoothCentral.h"
#include "platform/linux/DBusValues.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <vector>

namespace orbistat {

// Object path → interfaces → properties.
using BlueZObjects = std::map<QString, DBusInterfaces>;

// Unauthorized when access was denied; else powered on when any adapter
// is powered, off when there are adapters, unsupported without one.
int bluezState(const BlueZObjects& objects, bool accessDenied);
// Connected LE devices (no Class) that carry Battery1, by object path.
std::vector<BluetoothPeripheral> bluezPeripherals(const BlueZObjects& objects);
// Devices with a Class: name, address, connection, major class (bits 8-12
// of the Class) and Battery1.Percentage as "batteryPercentSingle".
std::vector<ClassicBluetoothDevice> bluezClassicDevices(const BlueZObjects& objects);
// Battery1.Percentage of one object as the one-byte Battery Level value;
// empty when there is none or it is no byte.
QByteArray bluezBatteryLevel(const DBusInterfaces& interfaces);
// Whether a Device1's properties describe a classic (BR/EDR) device.
bool bluezIsClassic(const QVariantMap& device);

namespace BlueZInterface {
inline const QString adapter = QStringLiteral("org.bluez.Adapter1");
inline const QString device = QStringLiteral("org.bluez.Device1");
inline const QString battery = QStringLiteral("org.bluez.Battery1");
} // namespace BlueZInterface

// The properties of one interface of an object; null when it lacks it.
const QVariantMap* bluezInterfaceOf(const DBusInterfaces& interfaces, const QString& name);

} // namespace orbistat
