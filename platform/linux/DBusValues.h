// Careful reading of D-Bus replies and signals. Services on the system bus
// are other programs: a reply may carry any type, so every value is checked
// against the signature before it is taken apart, and a mismatch gives an
// absent value rather than garbage.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace orbistat {

// Interfaces and their properties of one object (a{sa{sv}}).
using DBusInterfaces = std::map<QString, QVariantMap>;

// An a{sv} argument; the values are unwrapped from their variants.
std::optional<QVariantMap> dbusPropertyMap(const QVariant& argument);
// An a{sa{sv}} argument.
std::optional<DBusInterfaces> dbusInterfaces(const QVariant& argument);
// An a{oa{sa{sv}}} argument (ObjectManager.GetManagedObjects), by path.
std::optional<std::map<QString, DBusInterfaces>> dbusManagedObjects(const QVariant& argument);
// An ao argument.
std::optional<std::vector<QString>> dbusObjectPaths(const QVariant& argument);
// An as argument.
std::optional<QStringList> dbusStringList(const QVariant& argument);

// A value of one of the D-Bus integer types (y n q i u x t), as int64;
// absent for any other type and for a t beyond int64.
std::optional<int64_t> dbusInteger(const QVariant& value);
std::optional<bool> dbusBoolean(const QVariant& value);
std::optional<double> dbusDouble(const QVariant& value);
std::optional<QString> dbusString(const QVariant& value);

} // namespace orbistat
