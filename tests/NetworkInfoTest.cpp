#include "app/StatusLine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeNetworkInterfaces.h"
#include "doubles/FakeWifiClient.h"
#include "platform/linux/LinuxNetworkInterfaces.h"
#include "platform/linux/LinuxWifiClient.h"
#include "platform/linux/NetlinkRouteWatch.h"
#include "platform/linux/Nl80211Parsing.h"
#include "platform/linux/RouteParsing.h"
#include "platform/linux/WirelessFileParser.h"
#include "samplers/LocationAccess.h"
#include "samplers/NetworkInfoSampler.h"
#include "TempTree.h"
#include "TestPaths.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cstring>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <filesystem>
#include <fstream>
#include "QtPrinters.h"

#include <gtest/gtest.h>
#include <linux/nl80211.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>

using namespace orbistat;
using test::FakeNetworkInterfaces;
using test::FakeWifiClient;

namespace {

const char* routeHeader = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string routeLine(const std::string& iface, const std::string& destination, const std::string& flags, int metric, const std::string& mask)
{
    return iface + "\t" + destination + "\t0101A8C0\t" + flags + "\t0\t0\t" + std::to_string(metric) + "\t" + mask + "\t0\t0\t0\n";
}

std::string ipv6Line(const std::string& prefixLength, const std::string& metric, const std::string& flags, const std::string& iface)
{
    return std::string(32, '0') + " " + prefixLength + " " + std::string(32, '0') + " 00 " + std::string(32, '0') + " " + metric
        + " 00000001 00000000 " + flags + " " + iface + "\n";
}

} // namespace

TEST(RouteParsing, IPv4DefaultRouteRules)
{
    struct Case {
        const char* name;
        std::string table;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"lowest metric wins", std::string(routeHeader) + routeLine("eth0", "00000000", "0003", 100, "00000000") + routeLine("wlan0", "00000000", "0003", 50, "00000000"), "wlan0"},
        {"first of equal metrics", std::string(routeHeader) + routeLine("eth0", "00000000", "0003", 10, "00000000") + routeLine("wlan0", "00000000", "0003", 10, "00000000"), "eth0"},
        {"a route that is not up", std::string(routeHeader) + routeLine("eth0", "00000000", "0002", 0, "00000000") + routeLine("wlan0", "00000000", "0003", 600, "00000000"), "wlan0"},
        {"a reject route", std::string(routeHeader) + routeLine("eth0", "00000000", "0201", 0, "00000000"), std::nullopt},
        {"a subnet route is not a default", std::string(routeHeader) + routeLine("eth0", "0001A8C0", "0001", 0, "00FFFFFF"), std::nullopt},
        {"a zero destination with a mask", std::string(routeHeader) + routeLine("eth0", "00000000", "0001", 0, "000000FF"), std::nullopt},
        {"no interface", std::string(routeHeader) + routeLine("*", "00000000", "0001", 0, "00000000"), std::nullopt},
        {"a name that is a path", std::string(routeHeader) + routeLine("../../etc", "00000000", "0003", 0, "00000000") + routeLine("eth1", "00000000", "0003", 9, "00000000"), "eth1"},
        {"header only: offline", routeHeader, std::nullopt},
        {"empty file", "", std::nullopt},
        {"truncated and garbage lines", std::string(routeHeader) + "eth0\t00000000\t0101\n" + routeLine("eth0", "zz", "0003", 0, "00000000") + routeLine("eth2", "00000000", "0003", -1, "00000000") + routeLine("eth3", "00000000", "0003", 7, "00000000"), "eth3"},
        {"the first line is always the header", routeLine("eth0", "00000000", "0003", 0, "00000000"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseIPv4DefaultRoute(c.table), c.expected);
    }
}

TEST(RouteParsing, IPv6DefaultRouteRules)
{
    struct Case {
        const char* name;
        std::string table;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"lowest metric, the unreachable lo default skipped", ipv6Line("00", "ffffffff", "00200200", "lo") + ipv6Line("00", "00000400", "00450003", "wlan0") + ipv6Line("00", "00000100", "00450003", "eth0"), "eth0"},
        {"lo is never the primary", ipv6Line("00", "00000001", "00000001", "lo"), std::nullopt},
        {"a reject route elsewhere", ipv6Line("00", "00000001", "00000201", "eth0"), std::nullopt},
        {"a prefix is not a default", ipv6Line("40", "00000001", "00000001", "eth0"), std::nullopt},
        {"metrics are hexadecimal", ipv6Line("00", "0000000a", "00000001", "a0") + ipv6Line("00", "00000009", "00000001", "b0"), "b0"},
        {"too few fields", std::string(32, '0') + " 00 " + std::string(32, '0') + "\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseIPv6DefaultRoute(c.table), c.expected);
    }
}

TEST(LinuxNetworkInterfaces, RecordedMachines)
{
    {
        SCOPED_TRACE("Wi-Fi laptop");
        LinuxRoot root(test::fixture("net-wifi-laptop/t0"), true);
        LinuxNetworkInterfaces interfaces(root);
        EXPECT_EQ(interfaces.primaryInterface(), QStringLiteral("wlp2s0"));
        EXPECT_EQ(interfaces.describe(QStringLiteral("wlp2s0")), (InterfaceDescription{InterfaceType::ieee80211, QStringLiteral("Wi-Fi")}));
        EXPECT_EQ(interfaces.describe(QStringLiteral("enp0s31f6")), (InterfaceDescription{InterfaceType::ethernet, QStringLiteral("Ethernet")}));
        EXPECT_EQ(interfaces.describe(QStringLiteral("lo")), (InterfaceDescription{InterfaceType::other, std::nullopt}));
        EXPECT_EQ(interfaces.describe(QStringLiteral("eth9")), std::nullopt);
        EXPECT_EQ(interfaces.describe(QStringLiteral("../../class/net/wlp2s0")), std::nullopt);
        // The host's addresses say nothing about a recorded machine.
        EXPECT_EQ(interfaces.localIPv4(QStringLiteral("lo")), std::nullopt);
    }
    {
        SCOPED_TRACE("IPv6-only desktop");
        LinuxRoot root(test::fixture("net-ipv6-only/t0"), true);
        LinuxNetworkInterfaces interfaces(root);
        EXPECT_EQ(interfaces.primaryInterface(), QStringLiteral("enp3s0"));
    }
    {
        SCOPED_TRACE("no route files");
        QTemporaryDir dir;
        LinuxRoot root(dir.path().toStdString(), true);
        LinuxNetworkInterfaces interfaces(root);
        EXPECT_EQ(interfaces.primaryInterface(), std::nullopt);
    }
}

TEST(LinuxNetworkInterfaces, OtherLinkKindsAndTheirNames)
{
    QTemporaryDir dir;
    const std::filesystem::path net = dir.filePath(QStringLiteral("sys/class/net")).toStdString();
    auto make = [&](const std::string& name, const char* type, std::initializer_list<const char*> dirs) {
        std::filesystem::create_directories(net / name);
        std::ofstream(net / name / "type") << type << "\n";
        for (const char* sub : dirs)
            std::filesystem::create_directories(net / name / sub);
    };
    make("wwan0", "65534", {"device"});
    make("br0", "1", {"bridge"});
    make("tun0", "65534", {});
    make("wg0", "65534", {});
    make("vpn7", "65534", {});
    make("veth1a2b", "1", {});  // virtual: type 1 but no device
    make("wlan1", "1", {"wireless"});
    LinuxRoot root(dir.path().toStdString());
    LinuxNetworkInterfaces interfaces(root);
    const std::vector<std::pair<QString, InterfaceDescription>> expected{
        {"wwan0", {InterfaceType::other, QStringLiteral("Mobile broadband")}},
        {"br0", {InterfaceType::other, QStringLiteral("Bridge")}},
        {"tun0", {InterfaceType::other, QStringLiteral("VPN")}},
        {"wg0", {InterfaceType::other, QStringLiteral("VPN")}},
        {"vpn7", {InterfaceType::other, QStringLiteral("VPN")}},
        {"veth1a2b", {InterfaceType::other, std::nullopt}},
        {"wlan1", {InterfaceType::ieee80211, QStringLiteral("Wi-Fi")}},
    };
    for (const auto& [name, description] : expected) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(interfaces.describe(name), description);
    }
}

TEST(LinuxNetworkInterfaces, LoopbackAddressOnTheRunningMachine)
{
    LinuxRoot root;
    LinuxNetworkInterfaces interfaces(root);
    EXPECT_EQ(interfaces.localIPv4(QStringLiteral("lo")), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(interfaces.localIPv4(QStringLiteral("no-such-if")), std::nullopt);
}

TEST(WirelessFile, SignalAndNoiseColumns)
{
    const std::string text =
        "Inter-| sta-|   Quality        |   Discarded packets               | Missed | WE\n"
        " face | tus | link level noise |  nwid  crypt   frag  retry   misc | beacon | 22\n"
        "wlp2s0: 0000   58.  -52.  -256        0      0      0      0     23        0\n"
        "  wlan1: 0000   40   -71   -95 0 0 0 0 0 0\n"
        "wlan2: 0000   0   0   0\n"
        "wlan3: 0000   12.\n"
        "../x: 0000 1 -40 -90\n"
        "wlan4: 0000 abc -60. -300\n";
    const std::vector<WirelessFileEntry> expected{
        {"wlp2s0", -52, 0},
        {"wlan1", -71, -95},
        {"wlan2", 0, 0},
        {"wlan4", -60, 0},
    };
    EXPECT_EQ(parseWirelessFile(text), expected);
}

TEST(WirelessFile, ClientUnderARecordedTreeHasNoName)
{
    LinuxRoot root(test::fixture("net-wifi-laptop/t0"), true);
    LinuxWifiClient client(root);
    const auto reading = client.interfaceNamed(QStringLiteral("wlp2s0"));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->rssiDbm, -52);
    EXPECT_EQ(reading->noiseDbm, 0);
    EXPECT_FALSE(reading->reportsSsid);
    EXPECT_EQ(client.interfaceNamed(QStringLiteral("wlan7")), std::nullopt);
    EXPECT_EQ(client.defaultInterface()->interfaceName, QStringLiteral("wlp2s0"));
}

namespace {

// A generic-netlink message built the way the kernel builds its replies,
// so the parsers see real attribute layout (headers, padding, nesting).
class Nl80211Message {
public:
    explicit Nl80211Message(uint8_t command)
        : message_(nlmsg_alloc())
    {
        genlmsg_put(message_, 0, 0, 0x1c, 0, 0, command, 0);
    }
    ~Nl80211Message() { nlmsg_free(message_); }
    nl_msg* get() { return message_; }
    std::span<const std::byte> attributes() const
    {
        auto* header = static_cast<genlmsghdr*>(nlmsg_data(nlmsg_hdr(message_)));
        return {reinterpret_cast<const std::byte*>(genlmsg_attrdata(header, 0)), static_cast<size_t>(genlmsg_attrlen(header, 0))};
    }

private:
    nl_msg* message_;
};

} // namespace

TEST(Nl80211Parsing, InterfaceAttributes)
{
    Nl80211Message reply(NL80211_CMD_NEW_INTERFACE);
    nla_put_u32(reply.get(), NL80211_ATTR_IFINDEX, 3);
    nla_put_string(reply.get(), NL80211_ATTR_IFNAME, "wlp2s0");
    nla_put_u32(reply.get(), NL80211_ATTR_IFTYPE, NL80211_IFTYPE_STATION);
    nla_put_u32(reply.get(), NL80211_ATTR_WIPHY_FREQ, 5180);
    const char ssid[] = "<b>Caf\xc3\xa9\n";  // markup, a newline, no NUL
    nla_put(reply.get(), NL80211_ATTR_SSID, sizeof ssid - 1, ssid);
    const auto parsed = parseNl80211Interface(reply.attributes());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, (Nl80211Interface{3, "wlp2s0", NL80211_IFTYPE_STATION, std::string("<b>Caf\xc3\xa9\n"), 5180}));

    Nl80211Message unnamed(NL80211_CMD_NEW_INTERFACE);
    nla_put_u32(unnamed.get(), NL80211_ATTR_IFINDEX, 3);
    EXPECT_FALSE(parseNl80211Interface(unnamed.attributes()));

    Nl80211Message oversized(NL80211_CMD_NEW_INTERFACE);
    nla_put_u32(oversized.get(), NL80211_ATTR_IFINDEX, 4);
    nla_put_string(oversized.get(), NL80211_ATTR_IFNAME, "wlan0");
    const std::string tooLong(33, 'x');
    nla_put(oversized.get(), NL80211_ATTR_SSID, static_cast<int>(tooLong.size()), tooLong.data());
    nla_put(oversized.get(), NL80211_ATTR_WIPHY_FREQ, 2, "\x01\x02");  // short u32
    const auto odd = parseNl80211Interface(oversized.attributes());
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->ssid, std::nullopt);
    EXPECT_EQ(odd->frequencyMHz, std::nullopt);
}

TEST(Nl80211Parsing, StationSignalAndRate)
{
    struct Case {
        const char* name;
        std::optional<int8_t> signal;
        std::optional<uint32_t> rate32;
        std::optional<uint16_t> rate16;
        Nl80211Station expected;
    };
    const std::vector<Case> cases{
        {"both rates: the wide one", int8_t(-61), 8667u, uint16_t(6553), {-61, 866.7}},
        {"legacy rate only", int8_t(-45), std::nullopt, uint16_t(540), {-45, 54.0}},
        {"no rate", int8_t(-80), std::nullopt, std::nullopt, {-80, std::nullopt}},
        {"no signal", std::nullopt, 10u, std::nullopt, {std::nullopt, 1.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Nl80211Message reply(NL80211_CMD_NEW_STATION);
        nla_put_u32(reply.get(), NL80211_ATTR_IFINDEX, 3);
        auto* info = nla_nest_start(reply.get(), NL80211_ATTR_STA_INFO);
        if (c.signal)
            nla_put_u8(reply.get(), NL80211_STA_INFO_SIGNAL, static_cast<uint8_t>(*c.signal));
        auto* rate = nla_nest_start(reply.get(), NL80211_STA_INFO_TX_BITRATE);
        if (c.rate32)
            nla_put_u32(reply.get(), NL80211_RATE_INFO_BITRATE32, *c.rate32);
        if (c.rate16)
            nla_put_u16(reply.get(), NL80211_RATE_INFO_BITRATE, *c.rate16);
        nla_nest_end(reply.get(), rate);
        nla_nest_end(reply.get(), info);
        const auto parsed = parseNl80211Station(reply.attributes());
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->signalDbm, c.expected.signalDbm);
        ASSERT_EQ(parsed->transmitRateMbps.has_value(), c.expected.transmitRateMbps.has_value());
        if (parsed->transmitRateMbps) {
            EXPECT_DOUBLE_EQ(*parsed->transmitRateMbps, *c.expected.transmitRateMbps);
        }
    }
    Nl80211Message bare(NL80211_CMD_NEW_STATION);
    nla_put_u32(bare.get(), NL80211_ATTR_IFINDEX, 3);
    EXPECT_FALSE(parseNl80211Station(bare.attributes()));
}

TEST(Nl80211Parsing, SurveyOfTheChannelInUse)
{
    Nl80211Message reply(NL80211_CMD_NEW_SURVEY_RESULTS);
    auto* info = nla_nest_start(reply.get(), NL80211_ATTR_SURVEY_INFO);
    nla_put_u32(reply.get(), NL80211_SURVEY_INFO_FREQUENCY, 5180);
    nla_put_flag(reply.get(), NL80211_SURVEY_INFO_IN_USE);
    nla_put_u8(reply.get(), NL80211_SURVEY_INFO_NOISE, static_cast<uint8_t>(int8_t(-92)));
    nla_nest_end(reply.get(), info);
    EXPECT_EQ(parseNl80211Survey(reply.attributes()), (Nl80211Survey{5180, true, -92}));

    Nl80211Message other(NL80211_CMD_NEW_SURVEY_RESULTS);
    auto* otherInfo = nla_nest_start(other.get(), NL80211_ATTR_SURVEY_INFO);
    nla_put_u32(other.get(), NL80211_SURVEY_INFO_FREQUENCY, 2412);
    nla_nest_end(other.get(), otherInfo);
    EXPECT_EQ(parseNl80211Survey(other.attributes()), (Nl80211Survey{2412, false, std::nullopt}));
}

TEST(Nl80211Parsing, TruncatedAndLyingAttributesStayInBounds)
{
    Nl80211Message reply(NL80211_CMD_NEW_INTERFACE);
    nla_put_u32(reply.get(), NL80211_ATTR_IFINDEX, 3);
    nla_put_string(reply.get(), NL80211_ATTR_IFNAME, "wlan0");
    const auto whole = reply.attributes();
    // Every prefix of the stream: cut attributes are ignored, never read past.
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        const auto parsed = parseNl80211Interface(whole.first(length));
        if (parsed) {
            EXPECT_LE(parsed->name.size(), 5u);
        }
    }
    // An attribute whose length claims more than the stream holds.
    std::vector<std::byte> lying(whole.begin(), whole.end());
    lying[0] = std::byte{0xff};
    lying[1] = std::byte{0x7f};
    EXPECT_FALSE(parseNl80211Interface(lying));
    std::vector<std::byte> zeroLength(8, std::byte{0});
    EXPECT_FALSE(parseNl80211Station(zeroLength));
}

namespace {

WifiReading wifi(std::optional<QString> ssid, int64_t rssi, int64_t noise = -90, double rate = 433.3)
{
    WifiReading reading;
    reading.interfaceName = QStringLiteral("wlan0");
    reading.ssid = std::move(ssid);
    reading.rssiDbm = rssi;
    reading.noiseDbm = noise;
    reading.transmitRateMbps = rate;
    return reading;
}

struct NetworkInfoSamplerTest : ::testing::Test {
    NetworkInfoSamplerTest()
    {
        interfaces.primary = QStringLiteral("wlan0");
        interfaces.addresses[QStringLiteral("wlan0")] = QStringLiteral("192.168.1.24");
        interfaces.descriptions[QStringLiteral("wlan0")] = {InterfaceType::ieee80211, QStringLiteral("Wi-Fi")};
    }
    FakeNetworkInterfaces interfaces;
    FakeWifiClient client;
    NetworkInfoSampler sampler{interfaces, client};
};

} // namespace

TEST_F(NetworkInfoSamplerTest, OfflineWiredAndUnknownInterfaces)
{
    interfaces.primary.reset();
    EXPECT_EQ(sampler.sample(true, 3), NetworkInfo{});

    interfaces.primary = QStringLiteral("eth0");
    interfaces.descriptions[QStringLiteral("eth0")] = {InterfaceType::ethernet, QStringLiteral("Ethernet")};
    client.named[QStringLiteral("eth0")] = wifi(QStringLiteral("never asked"), -40);
    NetworkInfo wired;
    wired.kind = NetworkInfo::Kind::ethernet;
    wired.interface = QStringLiteral("eth0");
    wired.displayName = QStringLiteral("Ethernet");
    EXPECT_EQ(sampler.sample(true, 3), wired);

    // Only an IPv6 address: no localIP. Not in the system's list: other.
    interfaces.primary = QStringLiteral("tun9");
    NetworkInfo unknown;
    unknown.kind = NetworkInfo::Kind::other;
    unknown.interface = QStringLiteral("tun9");
    EXPECT_EQ(sampler.sample(true, 3), unknown);
}

TEST_F(NetworkInfoSamplerTest, WifiFieldsAndTheirAbsentForms)
{
    struct Case {
        const char* name;
        WifiReading reading;
        bool granted;
        int32_t status;
        std::optional<QString> ssid;
        std::optional<int64_t> rssi;
        std::optional<int64_t> noise;
        std::optional<double> linkSpeed;
        bool hidden;
        std::optional<QString> debug;
    };
    const std::vector<Case> cases{
        {"associated with its name", wifi(QStringLiteral("Home"), -52), true, 3, QStringLiteral("Home"), -52, -90, 433.3, false, std::nullopt},
        {"name withheld", wifi(std::nullopt, -52), false, 2, std::nullopt, -52, -90, 433.3, true,
         QStringLiteral("location status 2 (not granted) \u00B7 wlan0")},
        {"when in use is not granted", wifi(std::nullopt, -52), false, 4, std::nullopt, -52, -90, 433.3, true,
         QStringLiteral("location status 4 (not granted) \u00B7 wlan0")},
        {"not associated", wifi(std::nullopt, 0, 0, 0), true, 3, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false, std::nullopt},
        {"zero rate and noise are absent", wifi(QStringLiteral("Home"), -70, 0, 0), true, 3, QStringLiteral("Home"), -70, std::nullopt, std::nullopt, false, std::nullopt},
        {"negative rate is absent", wifi(QStringLiteral("Home"), -70, -95, -1), true, 3, QStringLiteral("Home"), -70, -95, std::nullopt, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        client.named[QStringLiteral("wlan0")] = c.reading;
        const auto info = sampler.sample(c.granted, c.status);
        EXPECT_EQ(info.kind, NetworkInfo::Kind::wifi);
        EXPECT_EQ(info.interface, QStringLiteral("wlan0"));
        EXPECT_EQ(info.displayName, QStringLiteral("Wi-Fi"));
        EXPECT_EQ(info.localIP, QStringLiteral("192.168.1.24"));
        EXPECT_EQ(info.ssid, c.ssid);
        EXPECT_EQ(info.rssi, c.rssi);
        EXPECT_EQ(info.noise, c.noise);
        EXPECT_EQ(info.linkSpeedMbps, c.linkSpeed);
        EXPECT_EQ(info.ssidHiddenByPrivacy, c.hidden);
        EXPECT_EQ(info.debug, c.debug);
    }
}

TEST_F(NetworkInfoSamplerTest, InterfaceFallbacksAndDiagnostics)
{
    // The named interface is missing: the default one answers, and the
    // withheld-name diagnostic names the radio's own interface.
    WifiReading unnamed;
    unnamed.rssiDbm = -60;
    client.fallback = unnamed;
    EXPECT_EQ(sampler.sample(true, 3).debug, QStringLiteral("location status 3 (granted) \u00B7 ?"));

    client.fallback.reset();
    const auto none = sampler.sample(true, 3);
    EXPECT_EQ(none.debug, QStringLiteral("no nl80211 interface for wlan0"));
    EXPECT_EQ(none.rssi, std::nullopt);
    EXPECT_EQ(none.localIP, QStringLiteral("192.168.1.24"));

    // A source that cannot know the name is not a withheld name.
    auto blind = wifi(std::nullopt, -52);
    blind.reportsSsid = false;
    client.named[QStringLiteral("wlan0")] = blind;
    const auto info = sampler.sample(true, 3);
    EXPECT_FALSE(info.ssidHiddenByPrivacy);
    EXPECT_EQ(info.rssi, -52);
    EXPECT_EQ(info.debug, QStringLiteral("SSID unavailable without nl80211 on wlan0"));
}

TEST(NetworkInfo, SignalQualityBoundaries)
{
    const std::vector<std::pair<std::optional<int64_t>, std::optional<QString>>> cases{
        {-30, "Excellent"}, {-50, "Excellent"}, {-51, "Good"}, {-60, "Good"}, {-61, "Fair"},
        {-70, "Fair"}, {-71, "Weak"}, {-100, "Weak"}, {std::nullopt, std::nullopt},
    };
    for (const auto& [rssi, quality] : cases) {
        SCOPED_TRACE(rssi.value_or(0));
        NetworkInfo info;
        info.rssi = rssi;
        EXPECT_EQ(signalQuality(info), quality);
    }
}

namespace {

struct MonitorNetworkTest : ::testing::Test {
    MonitorNetworkTest()
    {
        interfaces.primary = QStringLiteral("wlan0");
        interfaces.descriptions[QStringLiteral("wlan0")] = {InterfaceType::ieee80211, QStringLiteral("Wi-Fi")};
        client.named[QStringLiteral("wlan0")] = wifi(std::nullopt, -55);
    }
    std::unique_ptr<SystemMonitor> makeMonitor(int32_t status)
    {
        MonitorSamplers samplers;
        samplers.networkInfo = std::make_unique<NetworkInfoSampler>(interfaces, client);
        auto access = std::make_unique<LocationAccess>(status);
        location = access.get();
        samplers.location = std::move(access);
        return std::make_unique<SystemMonitor>(std::move(samplers), settings, clock);
    }
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    test::FakeClock clock;
    FakeNetworkInterfaces interfaces;
    FakeWifiClient client;
    LocationAccess* location = nullptr;
};

void processEvents()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace

TEST_F(MonitorNetworkTest, TickStoresNetworkInfoAndAPermissionChangeResamples)
{
    auto monitor = makeMonitor(LocationAccess::notDetermined);
    int notifications = 0;
    QObject::connect(monitor.get(), &SystemMonitor::networkInfoChanged, [&] { ++notifications; });
    monitor->tick();
    EXPECT_EQ(monitor->networkInfo().debug, QStringLiteral("location status 0 (not granted) \u00B7 wlan0"));
    EXPECT_EQ(notifications, 1);
    monitor->tick();
    EXPECT_EQ(notifications, 1);  // same value, no notification

    // The permission arrives from another thread; the monitor resamples on
    // the main thread with a fresh Wi-Fi client, without waiting for a tick.
    client.named[QStringLiteral("wlan0")] = wifi(QStringLiteral("Home"), -55);
    std::thread([this] { location->authorizationChanged(LocationAccess::authorizedAlways); }).join();
    EXPECT_EQ(monitor->networkInfo().ssid, std::nullopt);
    processEvents();
    EXPECT_EQ(location->status(), LocationAccess::authorizedAlways);
    EXPECT_EQ(client.reopens, 1);
    EXPECT_EQ(monitor->networkInfo().ssid, QStringLiteral("Home"));
    EXPECT_EQ(notifications, 2);
}

TEST_F(MonitorNetworkTest, DemoModeKeepsTheDemoNetwork)
{
    auto monitor = makeMonitor(LocationAccess::authorizedAlways);
    monitor->enterDemoMode();
    const auto demo = monitor->networkInfo();
    monitor->tick();
    location->authorizationChanged(LocationAccess::denied);
    processEvents();
    EXPECT_EQ(monitor->networkInfo(), demo);
    EXPECT_EQ(demo.ssid, QStringLiteral("Home"));
}

TEST(NetworkInfoOnTrees, HeadlessJsonOfARecordedWifiLaptop)
{
    QProcess orbistat;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORBISTAT_SYSROOT"), QString::fromStdString(test::fixture("net-wifi-laptop/t0")));
    QTemporaryDir home;
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    orbistat.setProcessEnvironment(environment);
    orbistat.start(QString::fromUtf8(test::orbistatBinary()), {QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("1")});
    ASSERT_TRUE(orbistat.waitForFinished(20000));
    const auto line = orbistat.readAllStandardOutput().split('\n').value(0);
    const auto info = QJsonDocument::fromJson(line).object().value(QStringLiteral("networkInfo")).toObject();
    EXPECT_EQ(info.value(QStringLiteral("kind")).toString(), QStringLiteral("wifi"));
    EXPECT_EQ(info.value(QStringLiteral("interface")).toString(), QStringLiteral("wlp2s0"));
    EXPECT_EQ(info.value(QStringLiteral("rssi")).toInt(), -52);
    EXPECT_FALSE(info.contains(QStringLiteral("localIP")));
    EXPECT_FALSE(info.contains(QStringLiteral("noise")));
    EXPECT_EQ(info.value(QStringLiteral("debug")).toString(), QStringLiteral("SSID unavailable without nl80211 on wlp2s0"));
}

TEST_F(MonitorNetworkTest, PrintLineKeepsHostileNamesOnOneLine)
{
    client.named[QStringLiteral("wlan0")] = wifi(QStringLiteral("<b>Home</b>\nNext\x1b[2J"), -55);
    auto monitor = makeMonitor(LocationAccess::authorizedAlways);
    monitor->tick();
    const auto line = statusLine(*monitor);
    EXPECT_FALSE(line.contains(QLatin1Char('\n')));
    EXPECT_FALSE(line.contains(QChar(0x1b)));
    EXPECT_TRUE(line.contains(QStringLiteral("LINK wlan0 wifi \"<b>Home</b>\uFFFDNext\uFFFD[2J\" -55 dBm (Good) 433 Mbit/s")));
}

TEST(LinuxNetworkInterfaces, AnswersAreKeptUntilTheWatchReportsAChange)
{
    test::TempTree tree;
    const auto routeVia = [](const char* name) {
        return std::string("Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\n") + name
            + "\t00000000\t0101A8C0\t0003\t0\t0\t100\t00000000\n";
    };
    tree.write("proc/net/route", routeVia("eth0"));
    tree.write("sys/class/net/eth0/type", "1\n");
    tree.write("sys/class/net/eth0/device/uevent", "");
    tree.write("sys/class/net/wlan0/phy80211/name", "phy0\n");
    bool changed = false;
    int asked = 0;
    // A watch the test controls.
    const auto root = tree.root();
    LinuxNetworkInterfaces interfaces(root, [&] {
        ++asked;
        return std::exchange(changed, false);
    });
    const InterfaceDescription ethernet{InterfaceType::ethernet, QStringLiteral("Ethernet")};
    const InterfaceDescription wifi{InterfaceType::ieee80211, QStringLiteral("Wi-Fi")};
    EXPECT_EQ(interfaces.primaryInterface(), QStringLiteral("eth0"));
    EXPECT_EQ(interfaces.describe(QStringLiteral("eth0")), ethernet);

    // The kernel announced nothing: the files are not read again.
    tree.write("proc/net/route", routeVia("wlan0"));
    tree.remove("sys/class/net/eth0");
    EXPECT_EQ(interfaces.primaryInterface(), QStringLiteral("eth0"));
    EXPECT_EQ(interfaces.describe(QStringLiteral("eth0")), ethernet);
    // Another interface is another question.
    EXPECT_EQ(interfaces.describe(QStringLiteral("wlan0")), wifi);

    // An announced change makes every answer fresh.
    changed = true;
    EXPECT_EQ(interfaces.primaryInterface(), QStringLiteral("wlan0"));
    EXPECT_EQ(interfaces.describe(QStringLiteral("eth0")), std::nullopt);
    EXPECT_EQ(interfaces.describe(QStringLiteral("wlan0")), wifi);
    EXPECT_EQ(asked, 8) << "the watch is asked at every call";

    // An unreadable table is not kept as "no route".
    tree.remove("proc/net/route");
    changed = true;
    EXPECT_EQ(interfaces.primaryInterface(), std::nullopt);
    tree.write("proc/net/route", routeVia("eth0"));
    EXPECT_EQ(interfaces.primaryInterface(), QStringLiteral("eth0"));
}

TEST(NetlinkRouteWatch, ReportsLinkAndAddressChangesOfThisNetworkNamespace)
{
    // In a child with a network namespace of its own, so that the test
    // changes nothing of the machine's network.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNET) != 0)
            ::_exit(77);
        NetlinkRouteWatch watch;
        if (!watch.isOpen())
            ::_exit(1);
        if (!watch.takeChange() || watch.takeChange())
            ::_exit(2);  // the first question is always "changed", then quiet
        const int sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ifreq request{};
        std::strcpy(request.ifr_name, "lo");
        if (::ioctl(sock, SIOCGIFFLAGS, &request) != 0)
            ::_exit(3);
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        if (::ioctl(sock, SIOCSIFFLAGS, &request) != 0)
            ::_exit(4);
        if (!watch.takeChange())
            ::_exit(5);  // link up, with its address and local routes
        if (watch.takeChange())
            ::_exit(6);
        ifreq alias{};
        std::strcpy(alias.ifr_name, "lo:9");
        auto* address = reinterpret_cast<sockaddr_in*>(&alias.ifr_addr);
        address->sin_family = AF_INET;
        address->sin_addr.s_addr = htonl(0x0A090909);  // 10.9.9.9
        if (::ioctl(sock, SIOCSIFADDR, &alias) != 0)
            ::_exit(7);
        ::_exit(watch.takeChange() ? 0 : 8);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no permission for a network namespace of its own";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed at step " << WEXITSTATUS(status);
}
