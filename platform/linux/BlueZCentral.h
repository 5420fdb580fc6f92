// The Bluetooth stack through BlueZ on the given D-Bus connection (the
// system bus in the program, a private bus in tests). BlueZ already connects
// devices and reads their Battery Service, so the adapter only mirrors its
// objects: one asynchronous GetManagedObjects, then InterfacesAdded/Removed
// and PropertiesChanged keep the copy current. Nothing here blocks: the
// reader runs on the main thread.
//
// Mapping: no adapter object → unsupported; Adapter1.Powered → on or off;
// access denied → unauthorized. A connected Device1 without a Class property
// (an LE device) that carries Battery1 is a peripheral with the Battery
// Service, Battery1.Percentage its Battery Level. A Device1 with a Class is
// a classic device; its Battery1.Percentage is "batteryPercentSingle" and
// bits 8-12 of the Class its major class.
#pragma once

#include "platform/BluetoothCentral.h"
#include "platform/linux/BlueZObjects.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <set>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace orbistat {

class BlueZCentral final : public QObject, public BluetoothCentral {
    Q_OBJECT
public:
    // `enabled` false (a recorded machine tree) reports an unsupported
    // stack and never touches the bus.
    explicit BlueZCentral(QDBusConnection bus, bool enabled = true, QObject* parent = nullptr);
    ~BlueZCentral() override;

    void setEvents(Events events) override { events_ = std::move(events); }
    int state() const override { return state_; }
    std::vector<BluetoothPeripheral> connectedPeripheralsWithBatteryService() const override;
    void connect(const QString& identifier) override;
    void subscribeBatteryLevel(const QString& identifier) override;
    std::optional<std::vector<ClassicBluetoothDevice>> pairedClassicDevices() const override;

    // Asks BlueZ for all its objects again.
    void resynchronize();

private slots:
    void interfacesAdded(const QDBusMessage& message);
    void interfacesRemoved(const QDBusMessage& message);
    void propertiesChanged(const QDBusMessage& message);

private:
    void managedObjectsArrived(QDBusPendingCallWatcher* call);
    void serviceGone();
    void setState(int state);
    int stateFromObjects() const;
    QByteArray batteryLevel(const QString& path) const;
    void deliverLevel(const QString& path);

    QDBusConnection bus_;
    bool enabled_;
    QDBusServiceWatcher* watcher_ = nullptr;
    BlueZObjects objects_;
    std::set<QString> subscribed_;
    int state_ = stateUnknown;
    bool accessDenied_ = false;
    Events events_;
};

} // namespace orbistat
