#pragma once

#include "platform/WifiClient.h"

#include <map>

namespace orbistat::test {

class FakeWifiClient final : public WifiClient {
public:
    std::optional<WifiReading> interfaceNamed(const QString& name) override
    {
        const auto it = named.find(name);
        return it == named.end() ? std::nullopt : std::optional<WifiReading>(it->second);
    }
    std::optional<WifiReading> defaultInterface() override { return fallback; }
    void reopen() override { ++reopens; }

    std::map<QString, WifiReading> named;
    std::optional<WifiReading> fallback;
    int reopens = 0;
};

} // namespace orbistat::test
