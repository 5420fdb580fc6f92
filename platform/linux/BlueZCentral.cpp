#include "platform/linux/BlueZCentral.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace orbistat {

namespace {

const QString service = QStringLiteral("org.bluez");
const QString adapterInterface = QStringLiteral("org.bluez.Adapter1");
const QString deviceInterface = QStringLiteral("org.bluez.Device1");
const QString batteryInterface = QStringLiteral("org.bluez.Battery1");
const QString objectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// Long enough for a busy bluetoothd; the call is asynchronous, so nothing
// waits for it.
constexpr int callTimeoutMs = 10000;

const QVariantMap* interfaceOf(const DBusInterfaces& interfaces, const QString& name)
{
    const auto it = interfaces.find(name);
    return it == interfaces.end() ? nullptr : &it->second;
}

// BR/EDR devices have a class of device; LE devices have none. A Class
// that is not a number counts as none.
bool isClassic(const QVariantMap& device)
{
    return dbusInteger(device.value(QStringLiteral("Class"))).has_value();
}

} // namespace

BlueZCentral::BlueZCentral(QDBusConnection bus, bool enabled, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus))
    , enabled_(enabled && bus_.isConnected())
{
    if (!enabled_) {
        // Reported like a state update of the platform: after construction,
        // once the reader listens.
        QMetaObject::invokeMethod(this, [this] { setState(stateUnsupported); }, Qt::QueuedConnection);
        return;
    }
    bus_.connect(service, QString(), objectManager, QStringLiteral("InterfacesAdded"), this,
                 SLOT(interfacesAdded(QDBusMessage)));
    bus_.connect(service, QString(), objectManager, QStringLiteral("InterfacesRemoved"), this,
                 SLOT(interfacesRemoved(QDBusMessage)));
    bus_.connect(service, QString(), propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                 SLOT(propertiesChanged(QDBusMessage)));
    // bluetoothd restarts (an update, a crash): forget everything when it
    // leaves, read everything again when it is back.
    watcher_ = new QDBusServiceWatcher(service, bus_,
                                       QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    QObject::connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this, [this] { resynchronize(); });
    QObject::connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] { serviceGone(); });
    resynchronize();
}

BlueZCentral::~BlueZCentral() = default;

void BlueZCentral::resynchronize()
{
    if (!enabled_)
        return;
    const auto call = QDBusMessage::createMethodCall(service, QStringLiteral("/"), objectManager, QStringLiteral("GetManagedObjects"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, callTimeoutMs), this);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        managedObjectsArrived(finished);
        finished->deleteLater();
    });
}

void BlueZCentral::managedObjectsArrived(QDBusPendingCallWatcher* call)
{
    const QDBusMessage reply = call->reply();
    if (reply.type() == QDBusMessage::ErrorMessage) {
        // The system bus policy lets only some users talk to bluetoothd.
        accessDenied_ = reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.AccessDenied");
        objects_.clear();
        subscribed_.clear();
        setState(stateFromObjects());
        if (events_.devicesChanged)
            events_.devicesChanged();
        return;
    }
    accessDenied_ = false;
    const auto objects = reply.arguments().size() == 1 ? dbusManagedObjects(reply.arguments().constFirst()) : std::nullopt;
    objects_ = objects.value_or(std::map<QString, DBusInterfaces>{});
    setState(stateFromObjects());
    if (events_.devicesChanged)
        events_.devicesChanged();
}

void BlueZCentral::serviceGone()
{
    objects_.clear();
    subscribed_.clear();
    accessDenied_ = false;
    setState(stateFromObjects());
    if (events_.devicesChanged)
        events_.devicesChanged();
}

int BlueZCentral::stateFromObjects() const
{
    if (accessDenied_)
        return stateUnauthorized;
    bool anyAdapter = false;
    for (const auto& [path, interfaces] : objects_) {
        const auto* adapter = interfaceOf(interfaces, adapterInterface);
        if (adapter == nullptr)
            continue;
        anyAdapter = true;
        if (dbusBoolean(adapter->value(QStringLiteral("Powered"))) == true)
            return statePoweredOn;
    }
    return anyAdapter ? statePoweredOff : stateUnsupported;
}

void BlueZCentral::setState(int state)
{
    if (state == state_)
        return;
    state_ = state;
    if (events_.stateUpdated)
        events_.stateUpdated(state);
}

void BlueZCentral::interfacesAdded(const QDBusMessage& message)
{
    const auto arguments = message.arguments();
    if (arguments.size() != 2 || arguments.at(0).typeId() != qMetaTypeId<QDBusObjectPath>())
        return;
    const QString path = arguments.at(0).value<QDBusObjectPath>().path();
    const auto added = dbusInterfaces(arguments.at(1));
    if (!added)
        return;
    for (const auto& [name, properties] : *added)
        objects_[path][name] = properties;
    setState(stateFromObjects());
    if (added->contains(batteryInterface) && subscribed_.contains(path))
        deliverLevel(path);
    if (events_.devicesChanged)
        events_.devicesChanged();
}

void BlueZCentral::interfacesRemoved(const QDBusMessage& message)
{
    const auto arguments = message.arguments();
    if (arguments.size() != 2 || arguments.at(0).typeId() != qMetaTypeId<QDBusObjectPath>())
        return;
    const QString path = arguments.at(0).value<QDBusObjectPath>().path();
    const auto removed = dbusStringList(arguments.at(1));
    const auto object = objects_.find(path);
    if (!removed || object == objects_.end())
        return;
    for (const auto& name : *removed)
        object->second.erase(name);
    if (!object->second.contains(deviceInterface))
        subscribed_.erase(path);
    if (object->second.empty())
        objects_.erase(object);
    setState(stateFromObjects());
    if (events_.devicesChanged)
        events_.devicesChanged();
}

void BlueZCentral::propertiesChanged(const QDBusMessage& message)
{
    const auto arguments = message.arguments();
    if (arguments.size() < 2 || arguments.at(0).typeId() != QMetaType::QString)
        return;
    const QString interface = arguments.at(0).toString();
    const auto changed = dbusPropertyMap(arguments.at(1));
    const auto object = objects_.find(message.path());
    // Objects not announced yet arrive whole through InterfacesAdded.
    if (!changed || object == objects_.end())
        return;
    auto& properties = object->second[interface];
    for (auto it = changed->cbegin(); it != changed->cend(); ++it)
        properties.insert(it.key(), it.value());
    if (arguments.size() >= 3) {
        if (const auto invalidated = dbusStringList(arguments.at(2))) {
            for (const auto& name : *invalidated)
                properties.remove(name);
        }
    }

    if (interface == adapterInterface) {
        setState(stateFromObjects());
    } else if (interface == batteryInterface && changed->contains(QStringLiteral("Percentage"))) {
        if (subscribed_.contains(message.path()) && events_.valueUpdated)
            events_.valueUpdated(message.path(), batteryLevel(message.path()));
        // A classic device's level is read by the reader's refresh.
        const auto* device = interfaceOf(object->second, deviceInterface);
        if (device != nullptr && isClassic(*device) && events_.devicesChanged)
            events_.devicesChanged();
    } else if (interface == deviceInterface) {
        // Signal strength and the like change all the time during a scan;
        // only these change what the reader lists.
        const bool listed = changed->contains(QStringLiteral("Connected")) || changed->contains(QStringLiteral("Name"))
            || changed->contains(QStringLiteral("Class")) || changed->contains(QStringLiteral("Address"));
        if (listed && events_.devicesChanged)
            events_.devicesChanged();
    }
}

QByteArray BlueZCentral::batteryLevel(const QString& path) const
{
    const auto object = objects_.find(path);
    if (object == objects_.end())
        return {};
    const auto* battery = interfaceOf(object->second, batteryInterface);
    if (battery == nullptr)
        return {};
    // Percentage is a byte; any other type is no value.
    const auto level = dbusInteger(battery->value(QStringLiteral("Percentage")));
    if (!level || *level < 0 || *level > 255)
        return {};
    return QByteArray(1, static_cast<char>(static_cast<uint8_t>(*level)));
}

void BlueZCentral::deliverLevel(const QString& path)
{
    // A read answers later, like the stack's own callbacks.
    QMetaObject::invokeMethod(this, [this, path] {
        if (subscribed_.contains(path) && events_.valueUpdated)
            events_.valueUpdated(path, batteryLevel(path));
    }, Qt::QueuedConnection);
}

std::vector<BluetoothPeripheral> BlueZCentral::connectedPeripheralsWithBatteryService() const
{
    std::vector<BluetoothPeripheral> peripherals;
    for (const auto& [path, interfaces] : objects_) {
        const auto* device = interfaceOf(interfaces, deviceInterface);
        if (device == nullptr || interfaceOf(interfaces, batteryInterface) == nullptr)
            continue;
        if (isClassic(*device) || dbusBoolean(device->value(QStringLiteral("Connected"))) != true)
            continue;
        peripherals.push_back({path, dbusString(device->value(QStringLiteral("Name"))), true});
    }
    return peripherals;
}

void BlueZCentral::connect(const QString&)
{
    // BlueZ lists only devices it has connected itself; there is nothing to
    // connect to.
}

void BlueZCentral::subscribeBatteryLevel(const QString& identifier)
{
    if (!objects_.contains(identifier))
        return;
    subscribed_.insert(identifier);
    deliverLevel(identifier);
}

std::optional<std::vector<ClassicBluetoothDevice>> BlueZCentral::pairedClassicDevices() const
{
    if (state_ == stateUnsupported || state_ == stateUnauthorized || state_ == stateUnknown)
        return std::nullopt;
    std::vector<ClassicBluetoothDevice> devices;
    for (const auto& [path, interfaces] : objects_) {
        const auto* device = interfaceOf(interfaces, deviceInterface);
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
        if (const auto* battery = interfaceOf(interfaces, batteryInterface)) {
            if (const auto level = dbusInteger(battery->value(QStringLiteral("Percentage"))))
                classic.batteryProperties.insert(QStringLiteral("batteryPercentSingle"), static_cast<qlonglong>(*level));
        }
        devices.push_back(std::move(classic));
    }
    return devices;
}

} // namespace orbistat
