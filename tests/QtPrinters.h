// Readable gtest failure messages for Qt texts and the records tests compare.
#pragma once

#include "core/NetworkInfo.h"
#include "shared/AccessoryBattery.h"

#include <QString>
#include <QVariant>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace orbistat {

inline void PrintTo(const AccessoryBattery& accessory, std::ostream* out)
{
    *out << "{" << accessory.name.toStdString() << ", " << accessory.percent << ", "
         << (accessory.isCharging ? "charging" : "not charging") << ", " << accessory.symbol.toStdString() << "}";
}

} // namespace orbistat
