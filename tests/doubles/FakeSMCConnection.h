#pragma once

#include "platform/SMCConnection.h"

#include <cstring>
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orbistat::test {

// A controller holding the keys in `keys`: answers key information with the
// key's type and byte count (or `reportedSize` when set) and reads with its
// bytes; records every request.
class FakeSMCConnection final : public SMCConnection {
public:
    struct Key {
        std::string type;
        std::vector<uint8_t> bytes;
        std::optional<uint32_t> reportedSize;
    };

    bool open() override { return opens; }

    bool call(const SMCRequest& input, SMCRequest& output) override
    {
        requests.push_back(input);
        if (failCalls)
            return false;
        output = SMCRequest{};
        const auto it = keys.find(smcCodeText(input.key));
        if (it == keys.end()) {
            output.result = 0x84;
            return true;
        }
        const auto& key = it->second;
        if (input.command == smcCommandKeyInfo) {
            output.dataSize = key.reportedSize.value_or(static_cast<uint32_t>(key.bytes.size()));
            output.dataType = packSMCCode(key.type);
        } else if (input.command == smcCommandReadKey) {
            if (readFails) {
                output.result = 1;
                return true;
            }
            std::memcpy(output.bytes, key.bytes.data(), std::min<size_t>(key.bytes.size(), sizeof output.bytes));
        }
        return true;
    }

    // Helpers for the common encodings.
    void setFloat(const std::string& key, float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        keys[key] = Key{"flt ", {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)}, std::nullopt};
    }
    void setSp78(const std::string& key, double celsius)
    {
        const auto bits = static_cast<uint16_t>(static_cast<int16_t>(celsius * 256.0));
        keys[key] = Key{"sp78", {uint8_t(bits >> 8), uint8_t(bits)}, std::nullopt};
    }
    void setUi8(const std::string& key, uint8_t value) { keys[key] = Key{"ui8 ", {value}, std::nullopt}; }

    std::map<std::string, Key> keys;
    std::vector<SMCRequest> requests;
    bool opens = true;
    bool failCalls = false;
    bool readFails = false;
};

} // namespace orbistat::test
