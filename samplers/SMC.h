// Client of the system management controller: reads a key's raw value
// (type, bytes) and decodes it by type.
#pragma once

#include "platform/SMCConnection.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orbistat {

struct SMCReading {
    std::string type;             // four characters, blanks kept ("flt ")
    std::vector<uint8_t> bytes;   // 1 to 32

    friend bool operator==(const SMCReading&, const SMCReading&) = default;
};

class SMC {
public:
    // Absent when the connection cannot be opened; there is no reconnection.
    static std::unique_ptr<SMC> open(SMCConnection& connection);

    std::optional<SMCReading> readKey(std::string_view key);
    // Decodes "flt ", "ui8 ", "ui16", "ui32", "sp78" and "fpe2"; absent for
    // other types, too few bytes or a non-finite float.
    static std::optional<double> value(std::string_view type, std::span<const uint8_t> bytes);
    // readKey, then value.
    std::optional<double> readValue(std::string_view key);

private:
    explicit SMC(SMCConnection& connection);

    SMCConnection& connection_;
};

} // namespace orbistat
