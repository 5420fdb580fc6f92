#include "samplers/SMC.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace orbistat {

namespace {

constexpr uint32_t maximumDataSize = 32;

uint16_t bigEndian16(std::span<const uint8_t> bytes)
{
    return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

} // namespace

SMC::SMC(SMCConnection& connection)
    : connection_(connection)
{
}

std::unique_ptr<SMC> SMC::open(SMCConnection& connection)
{
    if (!connection.open())
        return nullptr;
    return std::unique_ptr<SMC>(new SMC(connection));
}

std::optional<SMCReading> SMC::readKey(std::string_view key)
{
    SMCRequest info;
    info.key = packSMCCode(key);
    info.command = smcCommandKeyInfo;
    SMCRequest infoReply;
    if (!connection_.call(info, infoReply) || infoReply.result != 0)
        return std::nullopt;
    const uint32_t size = infoReply.dataSize;
    if (size == 0 || size > maximumDataSize)
        return std::nullopt;

    SMCRequest read;
    read.key = info.key;
    read.dataSize = size;
    read.command = smcCommandReadKey;
    SMCRequest readReply;
    if (!connection_.call(read, readReply) || readReply.result != 0)
        return std::nullopt;
    return SMCReading{smcCodeText(infoReply.dataType), std::vector<uint8_t>(readReply.bytes, readReply.bytes + size)};
}

std::optional<double> SMC::value(std::string_view type, std::span<const uint8_t> bytes)
{
    if (type == "flt ") {
        if (bytes.size() < 4)
            return std::nullopt;
        const uint32_t bits = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8)
            | (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
        const double value = std::bit_cast<float>(bits);
        if (!std::isfinite(value))
            return std::nullopt;
        return value;
    }
    if (type == "ui8 ") {
        if (bytes.empty())
            return std::nullopt;
        return static_cast<double>(bytes[0]);
    }
    if (type == "ui16") {
        if (bytes.size() < 2)
            return std::nullopt;
        return static_cast<double>(bigEndian16(bytes));
    }
    if (type == "ui32") {
        if (bytes.size() < 4)
            return std::nullopt;
        const uint32_t value = (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16)
            | (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
        return static_cast<double>(value);
    }
    if (type == "sp78") {
        if (bytes.size() < 2)
            return std::nullopt;
        return static_cast<double>(static_cast<int16_t>(bigEndian16(bytes))) / 256.0;
    }
    if (type == "fpe2") {
        if (bytes.size() < 2)
            return std::nullopt;
        return static_cast<double>(bigEndian16(bytes)) * 0.25;
    }
    return std::nullopt;
}

std::optional<double> SMC::readValue(std::string_view key)
{
    const auto reading = readKey(key);
    if (!reading)
        return std::nullopt;
    return value(reading->type, reading->bytes);
}

} // namespace orbistat
