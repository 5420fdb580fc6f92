#pragma once

#include "platform/BluetoothCentral.h"

#include <set>

namespace orbistat::test {

// A stack the test drives by hand: it sets the lists, then fires events.
class FakeBluetoothCentral final : public BluetoothCentral {
public:
    void setEvents(Events newEvents) override { events = std::move(newEvents); }
    int state() const override { return currentState; }
    std::vector<BluetoothPeripheral> connectedPeripheralsWithBatteryService() const override { return peripherals; }
    void connect(const QString& identifier) override { connects.push_back(identifier); }
    void subscribeBatteryLevel(const QString& identifier) override { subscribed.insert(identifier); }
    std::optional<std::vector<ClassicBluetoothDevice>> pairedClassicDevices() const override { return classic; }

    void updateState(int state)
    {
        currentState = state;
        events.stateUpdated(state);
    }
    void deliver(const QString& identifier, QByteArray value) { events.valueUpdated(identifier, value); }

    Events events;
    int currentState = stateUnknown;
    std::vector<BluetoothPeripheral> peripherals;
    std::optional<std::vector<ClassicBluetoothDevice>> classic;
    std::vector<QString> connects;
    std::set<QString> subscribed;
};

} // namespace orbistat::test
