#include "doubles/FakeClock.h"
#include "doubles/FakeInterfaceCountersSource.h"
#include "platform/linux/LinuxInterfaceCountersSource.h"
#include "platform/linux/NetDevParser.h"
#include "samplers/NetworkSampler.h"
#include "TreeReplay.h"

#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;
using test::FakeInterfaceCountersSource;

namespace {

constexpr InterfaceFlags upAndRunning{true, true};

struct NetworkSamplerTest : ::testing::Test {
    FakeInterfaceCountersSource source;
    FakeClock clock;
    NetworkSampler sampler{source, clock};

    // Queues one reading and takes a sample `seconds` later.
    std::optional<NetworkSample> sampleAfter(double seconds, std::vector<InterfaceCounters> interfaces)
    {
        source.readings.push_back(std::move(interfaces));
        clock.advance(seconds);
        return sampler.sample();
    }
};

} // namespace

TEST_F(NetworkSamplerTest, FirstCallIsZeroThenRatesOverElapsedTime)
{
    source.flagsByName["en0"] = upAndRunning;
    source.flagsByName["wlp2s0"] = upAndRunning;
    EXPECT_EQ(sampleAfter(0, {{"en0", 5000, 7000}, {"wlp2s0", 100, 100}}), (NetworkSample{0, 0}));
    // 2000 + 1000 received, 400 + 200 sent, over 2 s.
    EXPECT_EQ(sampleAfter(2, {{"en0", 7000, 7400}, {"wlp2s0", 1100, 300}}), (NetworkSample{1500, 300}));
}

TEST_F(NetworkSamplerTest, CountsOnlyWiredWifiAndMobileInterfacesThatAreUpAndRunning)
{
    for (const char* name : {"en0", "eth1", "wlan0", "wwan0", "lo", "docker0", "veth12", "br0", "tun0", "down0"})
        source.flagsByName[name] = upAndRunning;
    source.flagsByName["enp1s0"] = {true, false};  // cable out
    source.flagsByName["wlp3s0"] = {false, true};  // administratively down
    std::vector<InterfaceCounters> t0, t1;
    for (const auto& [name, flags] : source.flagsByName) {
        t0.push_back({name, 0, 0});
        t1.push_back({name, 100, 10});
    }
    sampleAfter(0, t0);
    // en0, eth1, wlan0 and wwan0 each add 100 / 10 bytes over 1 s.
    EXPECT_EQ(sampleAfter(1, t1), (NetworkSample{400, 40}));
    // Link state is asked only for names the sampler counts.
    for (const auto& name : source.flagQueries)
        EXPECT_TRUE(NetworkSampler::isCountedName(name)) << name;
}

TEST_F(NetworkSamplerTest, WrappedCountersAndGrowthBeyondThirtyTwoBits)
{
    source.flagsByName["en0"] = upAndRunning;
    source.flagsByName["en1"] = upAndRunning;
    sampleAfter(0, {{"en0", 4294967296u - 296, 10}, {"en1", 1ull << 40, 0}});
    // en0 wrapped: 296 + 500 = 796. en1 grew by 5 GiB in one interval: a
    // 64-bit counter's growth is taken whole, not modulo 2^32.
    const auto sample = sampleAfter(1, {{"en0", 500, 20}, {"en1", (1ull << 40) + 5 * (1ull << 30), 0}});
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->download, 796.0 + 5.0 * (1ull << 30));
    EXPECT_EQ(sample->upload, 10.0);
    EXPECT_EQ(NetworkSampler::counterDelta(100, 100), 0u);
}

TEST_F(NetworkSamplerTest, NewInterfacesWaitOneIntervalAndVanishedOnesAreDropped)
{
    source.flagsByName = {{"en0", upAndRunning}, {"en1", upAndRunning}, {"wlan0", upAndRunning}};
    sampleAfter(0, {{"en0", 1000, 1000}, {"wlan0", 50, 50}});
    // en1 appears with a large counter; wlan0 is gone.
    EXPECT_EQ(sampleAfter(1, {{"en0", 1100, 1000}, {"en1", 999999, 999999}}), (NetworkSample{100, 0}));
    EXPECT_EQ(sampleAfter(1, {{"en0", 1100, 1000}, {"en1", 1000999, 999999}}), (NetworkSample{1000, 0}));
    // An interface that goes down leaves the map; on its return it waits again.
    source.flagsByName["en1"] = {true, false};
    sampleAfter(1, {{"en0", 1100, 1000}, {"en1", 2000999, 999999}});
    source.flagsByName["en1"] = upAndRunning;
    EXPECT_EQ(sampleAfter(1, {{"en0", 1100, 1000}, {"en1", 3000999, 999999}}), (NetworkSample{0, 0}));
}

TEST_F(NetworkSamplerTest, FailuresAndStandingTime)
{
    source.flagsByName["en0"] = upAndRunning;
    sampleAfter(0, {{"en0", 0, 0}});
    // A failed read and an empty list are absent and keep the baseline.
    EXPECT_FALSE(sampleAfter(1, {}));
    clock.advance(1);
    EXPECT_FALSE(sampler.sample());
    // So the next rate covers the whole 4 s gap.
    EXPECT_EQ(sampleAfter(2, {{"en0", 4000, 800}}), (NetworkSample{1000, 200}));
    // Time that does not advance, or steps back: zeros, and a new base.
    EXPECT_EQ(sampleAfter(0, {{"en0", 9000, 900}}), (NetworkSample{0, 0}));
    EXPECT_EQ(sampleAfter(-5, {{"en0", 10000, 900}}), (NetworkSample{0, 0}));
    EXPECT_EQ(sampleAfter(1, {{"en0", 10500, 1000}}), (NetworkSample{500, 100}));
    // A step of the clock too small to divide by gives zeros, not infinity.
    clock.seconds = 0;
    sampleAfter(0, {{"en0", 0, 0}});
    EXPECT_EQ(sampleAfter(4.9e-324, {{"en0", 1ull << 40, 0}}), (NetworkSample{0, 0}));
}

TEST(NetDevParser, CurrentAndOldFormsAndDamagedLines)
{
    const auto interfaces = parseNetDev(
        "Inter-|   Receive                                                |  Transmit\n"
        " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs drop fifo colls carrier compressed\n"
        "    lo:    3267      29    0    0    0     0          0         0     3267      29    0    0    0     0       0          0\n"
        "eth0:55123456 1000 0 0 0 0 0 0 1234567 900 0 0 0 0 0 0\n"
        "wlp0s20f3: 18446744073709551615 1 0 0 0 0 0 0 7 1 0 0 0 0 0 0\n"
        "   en0: 12abc 1 0 0 0 0 0 0 300 1 0 0 0 0 0 0\n"
        "  enx1: 1 2\n"
        "     : 1 2 3 4 5 6 7 8 9\n"
        "  wlan0");
    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_EQ(interfaces[0], (InterfaceCounters{"lo", 3267, 3267}));
    EXPECT_EQ(interfaces[1], (InterfaceCounters{"eth0", 55123456, 1234567}));
    EXPECT_EQ(interfaces[2], (InterfaceCounters{"wlp0s20f3", UINT64_MAX, 7}));
}

TEST(LinuxInterfaceCountersSource, LinkStateFromSysfs)
{
    const struct {
        const char* tree;
        const char* name;
        InterfaceFlags flags;
    } cases[] = {
        {"laptop-wifi-zram-nvme/t0", "wlp0s20f3", {true, true}},
        {"laptop-wifi-zram-nvme/t0", "enp0s31f6", {true, false}},  // operstate down
        {"desktop-ethernet-amdgpu/t0", "wlp6s0", {false, false}},  // flags 0x1002
        {"vm/t0", "eth0", {true, true}},                          // unknown with carrier
        {"hostile-io/t1", "eth0", {false, false}},                // vanished
        {"hostile-io/t1", "en/../x", {false, false}},             // not a name
        {"hostile-io/t1", "..", {false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tree) + " " + c.name);
        LinuxInterfaceCountersSource source(LinuxRoot(test::fixture(c.tree), true));
        EXPECT_EQ(source.flags(c.name), c.flags);
    }

    // "unknown" without a carrier is not running.
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "vm/t0");
    LinuxInterfaceCountersSource source(LinuxRoot(tree, true));
    test::makeUnreadable(tree / "sys/class/net/eth0/carrier");
    EXPECT_EQ(source.flags("eth0"), (InterfaceFlags{true, false}));
    test::makeUnreadable(tree / "proc/net/dev");
    EXPECT_FALSE(source.counters());
}
