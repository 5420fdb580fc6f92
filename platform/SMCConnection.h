// Port: a connection to the system management controller. Requests and
// replies are the controller's 80-byte parameter record; command 9 asks for
// a key's size and type, command 5 for its value bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orbistat {

// Native byte order throughout, as the controller exchanges it.
struct SMCRequest {
    uint32_t key = 0;                     // four characters, first in the top byte
    uint8_t versionAndLimits[24] = {};    // zero in requests, ignored in replies
    uint32_t dataSize = 0;                // key info reply: value bytes; read: bytes to read
    uint32_t dataType = 0;                // key info reply: packed four-character type
    uint8_t dataAttributes = 0;
    uint8_t padding0[3] = {};
    uint8_t result = 0;                   // 0: success
    uint8_t status = 0;
    uint8_t command = 0;
    uint8_t padding1 = 0;
    uint32_t data32 = 0;
    uint8_t bytes[32] = {};               // value bytes of a read reply
};

static_assert(sizeof(SMCRequest) == 80);
static_assert(offsetof(SMCRequest, dataSize) == 28);
static_assert(offsetof(SMCRequest, dataType) == 32);
static_assert(offsetof(SMCRequest, dataAttributes) == 36);
static_assert(offsetof(SMCRequest, result) == 40);
static_assert(offsetof(SMCRequest, command) == 42);
static_assert(offsetof(SMCRequest, data32) == 44);
static_assert(offsetof(SMCRequest, bytes) == 48);

// A key or type code of four characters as one number, the first character
// in the most significant byte ("TC0P" is 0x54433050). Only the first four
// bytes count; a shorter text is padded with zero bytes.
inline uint32_t packSMCCode(std::string_view text)
{
    uint32_t packed = 0;
    for (size_t i = 0; i < 4; ++i)
        packed = (packed << 8) | (i < text.size() ? static_cast<uint8_t>(text[i]) : 0u);
    return packed;
}

// The packed code back to text, most significant byte first ("flt " keeps
// its blank).
inline std::string smcCodeText(uint32_t code)
{
    std::string text(4, '\0');
    for (size_t i = 0; i < 4; ++i)
        text[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    return text;
}

inline constexpr uint8_t smcCommandKeyInfo = 9;
inline constexpr uint8_t smcCommandReadKey = 5;

class SMCConnection {
public:
    virtual ~SMCConnection() = default;
    // Opens the connection; false when there is no controller to talk to.
    virtual bool open() = 0;
    // One call of the controller's struct method. False when the call
    // itself failed; the reply's result byte says whether the key answered.
    virtual bool call(const SMCRequest& input, SMCRequest& output) = 0;
};

} // namespace orbistat
