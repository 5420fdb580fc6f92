#include "platform/linux/UPowerPowerSources.h"

#include "platform/linux/DBusValues.h"

#include <QDBusMessage>
#include <QElapsedTimer>
#include <cmath>

namespace orbistat {

namespace {

const QString service = QStringLiteral("org.freedesktop.UPower");
const QString devicePropertiesInterface = QStringLiteral("org.freedesktop.UPower.Device");

// UpDeviceKind and UpDeviceState values.
constexpr int64_t kindLinePower = 1;
constexpr int64_t kindBattery = 2;
constexpr int64_t kindUps = 3;
constexpr int64_t stateCharging = 1;

} // namespace

UPowerPowerSources::UPowerPowerSources(QDBusConnection bus, bool enabled, int timeoutMs)
    : bus_(std::move(bus))
    , enabled_(enabled)
    , timeoutMs_(timeoutMs)
{
}

std::optional<QVariantMap> UPowerPowerSources::describe(const QVariantMap& properties)
{
    const auto kind = dbusInteger(properties.value(QStringLiteral("Type")));
    // The mains adapter has no battery and is no accessory.
    if (kind == kindLinePower)
        return std::nullopt;
    QVariantMap description;
    if (kind == kindBattery && dbusBoolean(properties.value(QStringLiteral("PowerSupply"))) == true)
        description.insert(QStringLiteral("Type"), QStringLiteral("InternalBattery"));
    else if (kind == kindUps)
        description.insert(QStringLiteral("Type"), QStringLiteral("UPS"));
    // An empty model is no name.
    if (const auto model = dbusString(properties.value(QStringLiteral("Model"))); model && !model->isEmpty())
        description.insert(QStringLiteral("Name"), *model);
    if (const auto percentage = dbusDouble(properties.value(QStringLiteral("Percentage")))) {
        // Beyond ±2^53 a double no longer holds whole numbers; no battery
        // reports anything near that, so such a value is no reading.
        if (std::fabs(*percentage) < 9.0e15)
            description.insert(QStringLiteral("Current Capacity"), static_cast<qlonglong>(std::llround(*percentage)));
    }
    description.insert(QStringLiteral("Max Capacity"), qlonglong(100));
    description.insert(QStringLiteral("Is Charging"), dbusInteger(properties.value(QStringLiteral("State"))) == stateCharging);
    return description;
}

std::vector<QVariantMap> UPowerPowerSources::powerSources()
{
    if (!enabled_ || !bus_.isConnected())
        return {};
    // One deadline for the whole list: a service that answers slowly costs
    // at most this much per refresh.
    QElapsedTimer elapsed;
    elapsed.start();
    const auto enumerate = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/UPower"), service,
                                                          QStringLiteral("EnumerateDevices"));
    const auto reply = bus_.call(enumerate, QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return {};
    const auto paths = dbusObjectPaths(reply.arguments().constFirst());
    if (!paths)
        return {};

    std::vector<QVariantMap> sources;
    for (const auto& path : *paths) {
        const auto left = timeoutMs_ - elapsed.elapsed();
        if (left <= 0)
            break;
        auto getAll = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("GetAll"));
        getAll << devicePropertiesInterface;
        const auto properties = bus_.call(getAll, QDBus::Block, static_cast<int>(left));
        if (properties.type() != QDBusMessage::ReplyMessage || properties.arguments().size() != 1)
            continue;
        const auto map = dbusPropertyMap(properties.arguments().constFirst());
        if (!map)
            continue;
        if (auto description = describe(*map))
            sources.push_back(std::move(*description));
    }
    return sources;
}

} // namespace orbistat
