// Live battery levels of connected Bluetooth devices. The LE half follows
// peripherals with the Battery Service and stores each Battery Level value
// the stack delivers; the classic half reads the battery properties of
// connected classic devices. Event-driven: the stack calls back, a 60 s
// timer refreshes, and `onChange` runs whenever the lists may have changed.
// Everything happens on the main thread.
#pragma once

#include "platform/BluetoothCentral.h"
#include "samplers/BluetoothBatterySource.h"

#include <QObject>
#include <QTimer>
#include <map>

namespace orbistat {

class BluetoothBatteryReader final : public QObject, public BluetoothBatterySource {
    Q_OBJECT
public:
    explicit BluetoothBatteryReader(BluetoothCentral& central, QObject* parent = nullptr);
    ~BluetoothBatteryReader() override;

    std::vector<AccessoryBattery> classicDevices() const override { return classic_; }
    std::vector<AccessoryBattery> devices() const override;
    QString diagnosticText() const override;
    void setOnChange(std::function<void()> onChange) override { onChange_ = std::move(onChange); }

    void refresh();
    void refreshClassic();
    const QString& status() const { return status_; }
    bool hasRefreshTimer() const { return timer_ != nullptr; }

private:
    struct Level {
        QString name;
        int64_t level;
    };
    std::vector<Level> levels() const;
    void stateUpdated(int state);
    void valueUpdated(const QString& identifier, const QByteArray& value);
    void changed();

    BluetoothCentral& central_;
    std::map<QString, BluetoothPeripheral> peripherals_;
    std::map<QString, int64_t> levels_;
    QTimer* timer_ = nullptr;
    std::vector<AccessoryBattery> classic_;
    QString classicInfo_;
    QString status_ = QStringLiteral("starting");
    std::function<void()> onChange_;
};

} // namespace orbistat
