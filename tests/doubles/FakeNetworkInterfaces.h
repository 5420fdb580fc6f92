#pragma once

#include "platform/NetworkInterfaces.h"

#include <map>

namespace orbistat::test {

class FakeNetworkInterfaces final : public NetworkInterfaces {
public:
    std::optional<QString> primaryInterface() override { return primary; }
    std::optional<QString> localIPv4(const QString& name) override
    {
        const auto it = addresses.find(name);
        return it == addresses.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    std::optional<InterfaceDescription> describe(const QString& name) override
    {
        const auto it = descriptions.find(name);
        return it == descriptions.end() ? std::nullopt : std::optional<InterfaceDescription>(it->second);
    }

    std::optional<QString> primary;
    std::map<QString, QString> addresses;
    std::map<QString, InterfaceDescription> descriptions;
};

} // namespace orbistat::test
