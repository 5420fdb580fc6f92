#include "platform/linux/BlueZCentral.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace orbistat {

namespace {

const QString service = QStringLiteral("org.bluez");
const QString objectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// Long enough for a busy bluetoothd; the call is asynchronous, so nothing
// waits for it.
constexpr int callTimeoutMs = 10000;

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
    return bluezState(objects_, accessDenied_);
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
    if (added->contains(BlueZInterface::battery) && subscribed_.contains(path))
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
    if (!object->second.contains(BlueZInterface::device))
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

    if (interface == BlueZInterface::adapter) {
        setState(stateFromObjects());
    } else if (interface == BlueZInterface::battery && changed->contains(QStringLiteral("Percentage"))) {
        if (subscribed_.contains(message.path()) && events_.valueUpdated)
            events_.valueUpdated(message.path(), batteryLevel(message.path()));
        // A classic device's level is read by the reader's refresh.
        const auto* device = bluezInterfaceOf(object->second, BlueZInterface::device);
        if (device != nullptr && bluezIsClassic(*device) && events_.devicesChanged)
            events_.devicesChanged();
    } else if (interface == BlueZInterface::device) {
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
    return object == objects_.end() ? QByteArray() : bluezBatteryLevel(object->second);
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
    return bluezPeripherals(objects_);
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
    return bluezClassicDevices(objects_);
}

} // namespace orbistat
