#include "samplers/BluetoothBatteryReader.h"

#include "samplers/AccessoryMerge.h"

#include <QPointer>
#include <QStringList>
#include <algorithm>
#include <set>

namespace orbistat {

namespace {

constexpr int refreshSeconds = 60;
constexpr int64_t majorClassAudioVideo = 4;

bool isPercent(int64_t level)
{
    return level >= 0 && level <= 100;
}

std::optional<int64_t> integerProperty(const QVariantMap& properties, const char* key)
{
    const auto it = properties.constFind(QLatin1String(key));
    if (it == properties.cend())
        return std::nullopt;
    switch (it->typeId()) {
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return it->toLongLong();
    default:
        return std::nullopt;
    }
}

QString item(const QString& name, int64_t level)
{
    return name + QLatin1Char(' ') + QString::number(level) + QLatin1Char('%');
}

} // namespace

BluetoothBatteryReader::BluetoothBatteryReader(BluetoothCentral& central, QObject* parent)
    : QObject(parent)
    , central_(central)
{
    // The stack may call back at any time after this; the callbacks are
    // dropped once the reader is gone.
    QPointer<BluetoothBatteryReader> weak(this);
    central_.setEvents({
        [weak](int state) { if (weak) weak->stateUpdated(state); },
        [weak](const QString& identifier) { if (weak) weak->central_.subscribeBatteryLevel(identifier); },
        [weak](const QString& identifier, const QByteArray& value) { if (weak) weak->valueUpdated(identifier, value); },
        [weak] { if (weak) weak->refresh(); },
    });
}

BluetoothBatteryReader::~BluetoothBatteryReader()
{
    central_.setEvents({});
}

void BluetoothBatteryReader::changed()
{
    if (onChange_)
        onChange_();
}

void BluetoothBatteryReader::stateUpdated(int state)
{
    switch (state) {
    case BluetoothCentral::stateUnauthorized:
        status_ = QStringLiteral("permission denied (System Settings > Privacy > Bluetooth)");
        break;
    case BluetoothCentral::statePoweredOff:
        status_ = QStringLiteral("Bluetooth off");
        break;
    case BluetoothCentral::statePoweredOn:
        status_ = QStringLiteral("on");
        refresh();
        if (!timer_) {
            // A child of the reader: it stops with it.
            timer_ = new QTimer(this);
            timer_->setInterval(std::chrono::seconds(refreshSeconds));
            connect(timer_, &QTimer::timeout, this, &BluetoothBatteryReader::refresh);
            timer_->start();
        }
        break;
    default:
        status_ = QStringLiteral("unavailable");
        break;
    }
    changed();
}

void BluetoothBatteryReader::refresh()
{
    if (central_.state() != BluetoothCentral::statePoweredOn)
        return;
    refreshClassic();
    const auto connected = central_.connectedPeripheralsWithBatteryService();
    std::set<QString> present;
    for (const auto& peripheral : connected) {
        present.insert(peripheral.identifier);
        // Known or new, the entry follows the stack's latest name.
        peripherals_[peripheral.identifier] = peripheral;
        if (peripheral.isConnected)
            central_.subscribeBatteryLevel(peripheral.identifier);
        else
            central_.connect(peripheral.identifier);
    }
    std::erase_if(peripherals_, [&](const auto& entry) { return !present.contains(entry.first); });
    std::erase_if(levels_, [&](const auto& entry) { return !present.contains(entry.first); });
    changed();
}

void BluetoothBatteryReader::valueUpdated(const QString& identifier, const QByteArray& value)
{
    // A value for a peripheral that already left would stay forever.
    if (value.isEmpty() || !peripherals_.contains(identifier))
        return;
    levels_[identifier] = static_cast<uint8_t>(value.at(0));
    changed();
}

void BluetoothBatteryReader::refreshClassic()
{
    const auto devices = central_.pairedClassicDevices();
    if (!devices) {
        classic_.clear();
        classicInfo_.clear();
        return;
    }
    std::vector<AccessoryBattery> records;
    QStringList info;
    for (const auto& device : *devices) {
        if (!device.isConnected)
            continue;
        QString name = QStringLiteral("Bluetooth device");
        if (device.name && !device.name->isEmpty())
            name = *device.name;
        else if (device.address && !device.address->isEmpty())
            name = *device.address;
        const auto& properties = device.batteryProperties;
        auto level = integerProperty(properties, "batteryPercentSingle");
        if (!level)
            level = integerProperty(properties, "batteryPercentCombined");
        if (!level) {
            const auto left = integerProperty(properties, "batteryPercentLeft");
            const auto right = integerProperty(properties, "batteryPercentRight");
            if (left && right)
                level = std::min(*left, *right);
            else
                level = left ? left : right;
        }
        info.append(level ? item(name, *level) : name + QStringLiteral(" [no value]"));
        // A level outside 0-100 is no percentage: listed in the info only.
        if (level && isPercent(*level)) {
            const QString symbol = device.majorClass == majorClassAudioVideo ? QStringLiteral("headphones") : symbolFor(name);
            records.push_back({name, *level, false, symbol});
        }
        if (const auto level = integerProperty(properties, "batteryPercentCase"); level && isPercent(*level))
            records.push_back({name + QStringLiteral(" case"), *level, false, QStringLiteral("earbuds.case")});
    }
    classic_ = std::move(records);
    classicInfo_ = info.join(QStringLiteral(", "));
}

std::vector<BluetoothBatteryReader::Level> BluetoothBatteryReader::levels() const
{
    std::vector<Level> result;
    for (const auto& [identifier, peripheral] : peripherals_) {
        const auto level = levels_.find(identifier);
        if (level == levels_.end())
            continue;
        const QString name = peripheral.name && !peripheral.name->isEmpty() ? *peripheral.name : QStringLiteral("Bluetooth device");
        result.push_back({name, level->second});
    }
    return result;
}

std::vector<AccessoryBattery> BluetoothBatteryReader::devices() const
{
    std::vector<AccessoryBattery> records;
    for (const auto& [name, level] : levels()) {
        // A Battery Level byte above 100 is no percentage.
        if (isPercent(level))
            records.push_back({name, level, false, symbolFor(name)});
    }
    return records;
}

QString BluetoothBatteryReader::diagnosticText() const
{
    QString text = status_ + QStringLiteral(", ") + QString::number(peripherals_.size()) + QStringLiteral(" with battery service");
    const auto all = levels();
    if (!all.empty()) {
        QStringList items;
        for (const auto& [name, level] : all)
            items.append(item(name, level));
        text += QStringLiteral(": ") + items.join(QStringLiteral(", "));
    }
    return text + QStringLiteral(" | classic: ") + (classicInfo_.isEmpty() ? QStringLiteral("-") : classicInfo_);
}

} // namespace orbistat
