#pragma once

#include "platform/SysctlReader.h"

#include <map>
#include <string>

namespace orbistat::test {

class FakeSysctlReader final : public SysctlReader {
public:
    std::optional<int64_t> integer(std::string_view name) const override
    {
        ++reads;
        const auto it = integers.find(std::string(name));
        return it == integers.end() ? std::nullopt : std::optional<int64_t>(it->second);
    }
    std::optional<QString> string(std::string_view name) const override
    {
        ++reads;
        const auto it = strings.find(std::string(name));
        return it == strings.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    std::map<std::string, int64_t> integers;
    std::map<std::string, QString> strings;
    mutable int reads = 0;
};

} // namespace orbistat::test
