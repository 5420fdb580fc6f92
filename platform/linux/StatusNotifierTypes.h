// The structured D-Bus types of the StatusNotifierItem protocol: an image as
// (width, height, ARGB bytes) and the tool tip (icon name, images, title,
// text). Registered with QtDBus once, before the item is exported.
#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace orbistat {

// (iiay)
struct SniImage {
    int width = 0;
    int height = 0;
    QByteArray argb;  // A, R, G, B per pixel, rows top to bottom
};
using SniImageList = QList<SniImage>;

// (sa(iiay)ss)
struct SniToolTip {
    QString iconName;
    SniImageList images;
    QString title;
    QString text;
};

// Registers the types above with the Qt meta-type and D-Bus type systems.
void registerStatusNotifierTypes();

QDBusArgument& operator<<(QDBusArgument& argument, const SniImage& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniImage& image);
QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& toolTip);

} // namespace orbistat

Q_DECLARE_METATYPE(orbistat::SniImage)
Q_DECLARE_METATYPE(orbistat::SniToolTip)
