#include "platform/linux/DBusValues.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <cmath>
#include <limits>

namespace orbistat {

namespace {

const QDBusArgument* argumentOf(const QVariant& value, const char* signature)
{
    if (value.typeId() != qMetaTypeId<QDBusArgument>())
        return nullptr;
    const auto* argument = static_cast<const QDBusArgument*>(value.constData());
    return argument->currentSignature() == QLatin1String(signature) ? argument : nullptr;
}

// The value of a variant: basic types come out as themselves, containers
// as a QDBusArgument to be read with the functions above.
QVariant unwrap(const QVariant& value)
{
    if (value.typeId() == qMetaTypeId<QDBusVariant>())
        return value.value<QDBusVariant>().variant();
    return value;
}

QVariantMap readPropertyMap(const QDBusArgument& argument)
{
    QVariantMap map;
    argument.beginMap();
    while (!argument.atEnd()) {
        QString key;
        QDBusVariant value;
        argument.beginMapEntry();
        argument >> key >> value;
        argument.endMapEntry();
        map.insert(key, value.variant());
    }
    argument.endMap();
    return map;
}

DBusInterfaces readInterfaces(const QDBusArgument& argument)
{
    DBusInterfaces interfaces;
    argument.beginMap();
    while (!argument.atEnd()) {
        QString name;
        argument.beginMapEntry();
        argument >> name;
        interfaces[name] = readPropertyMap(argument);
        argument.endMapEntry();
    }
    argument.endMap();
    return interfaces;
}

} // namespace

std::optional<QVariantMap> dbusPropertyMap(const QVariant& value)
{
    if (value.typeId() == QMetaType::QVariantMap) {
        QVariantMap map = value.toMap();
        for (auto& entry : map)
            entry = unwrap(entry);
        return map;
    }
    const auto* argument = argumentOf(value, "a{sv}");
    if (argument == nullptr)
        return std::nullopt;
    return readPropertyMap(*argument);
}

std::optional<DBusInterfaces> dbusInterfaces(const QVariant& value)
{
    const auto* argument = argumentOf(value, "a{sa{sv}}");
    if (argument == nullptr)
        return std::nullopt;
    return readInterfaces(*argument);
}

std::optional<std::map<QString, DBusInterfaces>> dbusManagedObjects(const QVariant& value)
{
    const auto* argument = argumentOf(value, "a{oa{sa{sv}}}");
    if (argument == nullptr)
        return std::nullopt;
    std::map<QString, DBusInterfaces> objects;
    argument->beginMap();
    while (!argument->atEnd()) {
        QDBusObjectPath path;
        argument->beginMapEntry();
        *argument >> path;
        objects[path.path()] = readInterfaces(*argument);
        argument->endMapEntry();
    }
    argument->endMap();
    return objects;
}

std::optional<std::vector<QString>> dbusObjectPaths(const QVariant& value)
{
    if (value.typeId() == qMetaTypeId<QList<QDBusObjectPath>>()) {
        std::vector<QString> paths;
        for (const auto& path : value.value<QList<QDBusObjectPath>>())
            paths.push_back(path.path());
        return paths;
    }
    const auto* argument = argumentOf(value, "ao");
    if (argument == nullptr)
        return std::nullopt;
    std::vector<QString> paths;
    argument->beginArray();
    while (!argument->atEnd()) {
        QDBusObjectPath path;
        *argument >> path;
        paths.push_back(path.path());
    }
    argument->endArray();
    return paths;
}

std::optional<QStringList> dbusStringList(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    const auto* argument = argumentOf(value, "as");
    if (argument == nullptr)
        return std::nullopt;
    QStringList list;
    argument->beginArray();
    while (!argument->atEnd()) {
        QString text;
        *argument >> text;
        list.append(text);
    }
    argument->endArray();
    return list;
}

std::optional<int64_t> dbusInteger(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::ULongLong:
        if (value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<int64_t>::max()))
            return std::nullopt;
        return static_cast<int64_t>(value.toULongLong());
    default:
        return std::nullopt;
    }
}

std::optional<bool> dbusBoolean(const QVariant& value)
{
    if (value.typeId() != QMetaType::Bool)
        return std::nullopt;
    return value.toBool();
}

std::optional<double> dbusDouble(const QVariant& value)
{
    if (value.typeId() != QMetaType::Double || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

std::optional<QString> dbusString(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

} // namespace orbistat
