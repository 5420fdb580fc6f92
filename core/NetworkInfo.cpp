#include "core/NetworkInfo.h"

#include <QCoreApplication>

namespace orbistat {

QString networkKindName(NetworkInfo::Kind kind)
{
    switch (kind) {
    case NetworkInfo::Kind::wifi: return QStringLiteral("wifi");
    case NetworkInfo::Kind::ethernet: return QStringLiteral("ethernet");
    case NetworkInfo::Kind::other: return QStringLiteral("other");
    case NetworkInfo::Kind::offline: break;
    }
    return QStringLiteral("offline");
}

std::optional<QString> signalQuality(const NetworkInfo& info)
{
    if (!info.rssi)
        return std::nullopt;
    const auto rssi = *info.rssi;
    if (rssi >= -50)
        return QCoreApplication::translate("NetworkInfo", "Excellent");
    if (rssi >= -60)
        return QCoreApplication::translate("NetworkInfo", "Good");
    if (rssi >= -70)
        return QCoreApplication::translate("NetworkInfo", "Fair");
    return QCoreApplication::translate("NetworkInfo", "Weak");
}

} // namespace orbistat
