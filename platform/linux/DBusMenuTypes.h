// The structured D-Bus types of the com.canonical.dbusmenu protocol: the
// recursive layout node (ia{sv}av), an item's properties (ia{sv}), the
// names of removed properties (ias) and a batched event (isvu). Registered
// with QtDBus once, before a menu is exported.
#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace orbistat {

// (ia{sv}av): the children travel as variants holding nodes of this type.
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// (ia{sv})
struct DBusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};
using DBusMenuItemPropertiesList = QList<DBusMenuItemProperties>;

// (ias)
struct DBusMenuItemKeys {
    int id = 0;
    QStringList names;
};
using DBusMenuItemKeysList = QList<DBusMenuItemKeys>;

// (isvu)
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

// A shortcut as a list of key combinations, each a list of key names (aas).
using DBusMenuShortcut = QList<QStringList>;

void registerDBusMenuTypes();

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& keys);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& keys);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);

} // namespace orbistat

Q_DECLARE_METATYPE(orbistat::DBusMenuLayoutItem)
Q_DECLARE_METATYPE(orbistat::DBusMenuItemProperties)
Q_DECLARE_METATYPE(orbistat::DBusMenuItemKeys)
Q_DECLARE_METATYPE(orbistat::DBusMenuEvent)
