// Power sources from UPower on the given D-Bus connection (the system bus in
// the program, a private bus in tests). The internal battery and UPSes keep
// their kind so the sampler can skip them; every other device with a
// battery is an accessory: "Name" is its model, "Current Capacity" its
// rounded percentage out of a "Max Capacity" of 100.
#pragma once

#include "platform/PowerSourceList.h"

#include <QDBusConnection>

namespace orbistat {

class UPowerPowerSources final : public PowerSourceList {
public:
    // A recorded machine tree has no UPower of its own: `enabled` false
    // makes the list empty.
    explicit UPowerPowerSources(QDBusConnection bus, bool enabled = true, int timeoutMs = 2000);
    std::vector<QVariantMap> powerSources() override;

    // One device's UPower properties as a description; absent for devices
    // that are not batteries at all (line power).
    static std::optional<QVariantMap> describe(const QVariantMap& properties);

private:
    QDBusConnection bus_;
    bool enabled_;
    int timeoutMs_;
};

} // namespace orbistat
