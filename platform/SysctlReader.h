// Port: the two small named readers of machine facts ("hw.logicalcpu",
// "machdep.cpu.brand_string", ...). Each platform answers the names it can;
// every other name is absent.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orbistat {

class SysctlReader {
public:
    virtual ~SysctlReader() = default;
    virtual std::optional<int64_t> integer(std::string_view name) const = 0;
    virtual std::optional<QString> string(std::string_view name) const = 0;
};

} // namespace orbistat
