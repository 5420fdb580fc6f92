// Port: the Bluetooth stack as the battery reader sees it. A Bluetooth LE
// central that lists connected peripherals offering the Battery Service and
// delivers Battery Level values, and the list of paired classic devices with
// their battery properties. Events arrive on the main thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>
#include <vector>

namespace orbistat {

struct BluetoothPeripheral {
    QString identifier;
    std::optional<QString> name;
    bool isConnected = false;

    friend bool operator==(const BluetoothPeripheral&, const BluetoothPeripheral&) = default;
};

struct ClassicBluetoothDevice {
    std::optional<QString> name;
    std::optional<QString> address;
    bool isConnected = false;
    std::optional<int64_t> majorClass;  // 4: audio/video
    // Battery properties the device answers to ("batteryPercentSingle",
    // "batteryPercentCombined", "batteryPercentLeft", "batteryPercentRight",
    // "batteryPercentCase"); values as the stack gives them.
    QVariantMap batteryProperties;
};

class BluetoothCentral {
public:
    // The central's states, as its state update reports them.
    static constexpr int stateUnknown = 0;
    static constexpr int stateResetting = 1;
    static constexpr int stateUnsupported = 2;
    static constexpr int stateUnauthorized = 3;
    static constexpr int statePoweredOff = 4;
    static constexpr int statePoweredOn = 5;

    struct Events {
        std::function<void(int state)> stateUpdated;
        std::function<void(const QString& identifier)> peripheralConnected;
        // A Battery Level value: its bytes as received (may be empty).
        std::function<void(const QString& identifier, const QByteArray& value)> valueUpdated;
        // Peripherals or classic devices appeared, left or changed.
        std::function<void()> devicesChanged;
    };

    virtual ~BluetoothCentral() = default;
    virtual void setEvents(Events events) = 0;
    virtual int state() const = 0;
    virtual std::vector<BluetoothPeripheral> connectedPeripheralsWithBatteryService() const = 0;
    virtual void connect(const QString& identifier) = 0;
    // Finds the Battery Level of a connected peripheral, reads it once and
    // subscribes to its changes; values come through `valueUpdated`.
    virtual void subscribeBatteryLevel(const QString& identifier) = 0;
    // Absent when the stack cannot list them.
    virtual std::optional<std::vector<ClassicBluetoothDevice>> pairedClassicDevices() const = 0;
};

} // namespace orbistat
