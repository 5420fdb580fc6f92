#include "doubles/FakeSMCConnection.h"
#include "samplers/SMC.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using namespace orbistat;
using test::FakeSMCConnection;

TEST(SMCValue, DecodesEachTypeAndRejectsShortOrUnknownInput)
{
    struct Case {
        const char* type;
        std::vector<uint8_t> bytes;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"sp78", {0x2A, 0x80}, 42.5},
        {"sp78", {0xFF, 0x00}, -1.0},
        {"sp78", {0x80, 0x00}, -128.0},
        {"fpe2", {0x1F, 0x40}, 2000.0},
        {"ui16", {0x01, 0x02}, 258.0},
        {"ui16", {0xFF, 0xFF}, 65535.0},
        {"ui32", {0x01, 0x02, 0x03, 0x04}, 16909060.0},
        {"ui32", {0xFF, 0xFF, 0xFF, 0xFF}, 4294967295.0},
        {"ui8 ", {0xC8, 0x01, 0x02}, 200.0},        // longer arrays: only the first bytes count
        {"flt ", {0x00, 0x00, 0xC0, 0x3F}, 1.5},     // little-endian 1.5f
        {"flt ", {0x00, 0x00, 0xC0, 0xBF, 0x99}, -1.5},
        {"flt ", {0x00, 0x00, 0xC0, 0x7F}, std::nullopt},  // NaN
        {"flt ", {0x00, 0x00, 0x80, 0x7F}, std::nullopt},  // +infinity
        {"flt ", {0x00, 0x00}, std::nullopt},
        {"sp78", {0x2A}, std::nullopt},
        {"ui32", {0x01, 0x02, 0x03}, std::nullopt},
        {"ui8 ", {}, std::nullopt},
        {"si16", {0x01, 0x02}, std::nullopt},
        {"flt", {0x00, 0x00, 0xC0, 0x3F}, std::nullopt},  // the blank is part of the type
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " with " + std::to_string(c.bytes.size()) + " bytes");
        EXPECT_EQ(SMC::value(c.type, c.bytes), c.expected);
    }
}

TEST(SMCCodes, PackWithTheFirstCharacterOnTop)
{
    EXPECT_EQ(packSMCCode("TC0P"), 0x54433050u);
    EXPECT_EQ(packSMCCode("TC0Pextra"), 0x54433050u);
    EXPECT_EQ(packSMCCode("F0"), 0x46300000u);
    EXPECT_EQ(smcCodeText(0x666C7420), "flt ");
    EXPECT_EQ(smcCodeText(packSMCCode("sp78")), "sp78");
}

TEST(SMCReadKey, AsksForKeyInformationThenReadsThatManyBytes)
{
    FakeSMCConnection connection;
    connection.keys["TC0P"] = {"sp78", {0x2A, 0x80}, std::nullopt};
    auto smc = SMC::open(connection);
    ASSERT_TRUE(smc);

    const auto reading = smc->readKey("TC0P");
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (SMCReading{"sp78", {0x2A, 0x80}}));
    EXPECT_EQ(smc->readValue("TC0P"), 42.5);

    ASSERT_GE(connection.requests.size(), 2u);
    const auto& info = connection.requests[0];
    EXPECT_EQ(info.key, 0x54433050u);
    EXPECT_EQ(info.command, smcCommandKeyInfo);
    EXPECT_EQ(info.dataSize, 0u);
    const auto& read = connection.requests[1];
    EXPECT_EQ(read.key, 0x54433050u);
    EXPECT_EQ(read.command, smcCommandReadKey);
    EXPECT_EQ(read.dataSize, 2u);
    // Everything else in both requests is zero.
    for (auto request : {info, read}) {
        request.key = 0;
        request.command = 0;
        request.dataSize = 0;
        const SMCRequest zero;
        EXPECT_EQ(std::memcmp(&request, &zero, sizeof zero), 0);
    }
}

TEST(SMCReadKey, FailuresAreAbsent)
{
    FakeSMCConnection connection;
    connection.keys["BIG!"] = {"ui8 ", {1}, 33u};
    connection.keys["NONE"] = {"ui8 ", {1}, 0u};
    connection.keys["FULL"] = {"ui8 ", std::vector<uint8_t>(32, 7), std::nullopt};
    connection.keys["FAIL"] = {"ui8 ", {1}, std::nullopt};
    auto smc = SMC::open(connection);
    ASSERT_TRUE(smc);

    // A size above 32 or of 0 is never read: only the key information call.
    for (const char* key : {"BIG!", "NONE"}) {
        SCOPED_TRACE(key);
        connection.requests.clear();
        EXPECT_FALSE(smc->readKey(key));
        EXPECT_EQ(connection.requests.size(), 1u);
    }
    EXPECT_EQ(smc->readKey("FULL")->bytes.size(), 32u);
    EXPECT_FALSE(smc->readKey("MISS"));  // result byte not 0

    connection.readFails = true;
    EXPECT_FALSE(smc->readKey("FAIL"));
    connection.readFails = false;
    connection.failCalls = true;
    EXPECT_FALSE(smc->readKey("FAIL"));
}

TEST(SMCReadKey, NoObjectWhenTheConnectionDoesNotOpen)
{
    FakeSMCConnection connection;
    connection.opens = false;
    EXPECT_FALSE(SMC::open(connection));
}
