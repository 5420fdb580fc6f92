#include "doubles/FakeClock.h"
#include "platform/linux/LinuxHwmon.h"
#include "TempTree.h"
#include "TreeReplay.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;
using test::TempTree;

namespace {

std::vector<std::pair<QString, std::optional<double>>> flatten(LinuxHwmon& hwmon)
{
    std::vector<std::pair<QString, std::optional<double>>> list;
    const auto services = hwmon.services();
    for (const auto& service : services.value()) {
        EXPECT_TRUE(service);
        list.emplace_back(service->product.value_or(QStringLiteral("<none>")), service->temperature);
    }
    return list;
}

} // namespace

TEST(LinuxHwmon, ChipOrderFollowsNameThenDeviceNotTheHwmonNumber)
{
    TempTree tree;
    // Two identical drives, listed in the opposite order of their devices.
    tree.write("sys/devices/pci0000:00/0000:00:1d.0/uevent", "");
    tree.write("sys/devices/pci0000:00/0000:00:06.0/uevent", "");
    tree.write("sys/class/hwmon/hwmon0/name", "nvme\n");
    tree.link("sys/class/hwmon/hwmon0/device", "../../../devices/pci0000:00/0000:00:1d.0");
    tree.write("sys/class/hwmon/hwmon0/temp1_input", "50000\n");
    tree.write("sys/class/hwmon/hwmon1/name", "nvme\n");
    tree.link("sys/class/hwmon/hwmon1/device", "../../../devices/pci0000:00/0000:00:06.0");
    tree.write("sys/class/hwmon/hwmon1/temp1_input", "40000\n");
    // Channels in numeric order, not name order; other attributes ignored.
    tree.write("sys/class/hwmon/hwmon2/name", "k10temp\n");
    tree.write("sys/class/hwmon/hwmon2/temp10_input", "61000\n");
    tree.write("sys/class/hwmon/hwmon2/temp2_input", "60000\n");
    tree.write("sys/class/hwmon/hwmon2/temp2_label", "  Tccd1 \n");
    tree.write("sys/class/hwmon/hwmon2/temp2_max", "95000\n");
    tree.write("sys/class/hwmon/hwmon2/temp_input", "1\n");
    tree.write("sys/class/hwmon/hwmon2/tempx_input", "1\n");
    FakeClock clock;
    LinuxHwmon hwmon(tree.root(), clock);
    const std::vector<std::pair<QString, std::optional<double>>> expected{
        {"CPU Tccd1", 60.0}, {"CPU temp10", 61.0}, {"NAND temp1", 40.0}, {"NAND temp1", 50.0}};
    EXPECT_EQ(flatten(hwmon), expected);
}

TEST(LinuxHwmon, GroupPrefixesAndPlainNames)
{
    struct Case {
        const char* chip;
        const char* label;
        const char* expected;
    };
    const Case cases[] = {
        {"coretemp", "Package id 0", "CPU Package id 0"}, {"zenpower", "Tdie", "CPU Tdie"},     {"cpu_thermal", nullptr, "CPU temp1"},
        {"radeon", nullptr, "GPU temp1"},                  {"xe", "pkg", "GPU pkg"},            {"drivetemp", nullptr, "NAND temp1"},
        {"BAT1", nullptr, "Battery temp1"},                {"sbs_battery", nullptr, "Battery temp1"}, {"pch_cannonlake", nullptr, "SoC temp1"},
        {"soc_dts0", nullptr, "SoC temp1"},                {"nct6798", "CPUTIN", "nct6798 cputin"}, {"ThinkPad", "GPU", "thinkpad gpu"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chip);
        TempTree tree;
        tree.write("sys/class/hwmon/hwmon0/name", c.chip);
        tree.write("sys/class/hwmon/hwmon0/temp1_input", "42000");
        if (c.label)
            tree.write("sys/class/hwmon/hwmon0/temp1_label", c.label);
        FakeClock clock;
        LinuxHwmon hwmon(tree.root(), clock);
        const auto list = flatten(hwmon);
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.front().first, QString::fromUtf8(c.expected));
    }
}

TEST(LinuxHwmon, OlderDriversKeepAttributesOnTheDevice)
{
    TempTree tree;
    tree.write("sys/devices/platform/it87.2624/name", "it8728");
    tree.write("sys/devices/platform/it87.2624/temp1_input", "36000");
    tree.write("sys/devices/platform/it87.2624/fan1_input", "1400");
    tree.link("sys/class/hwmon/hwmon0/device", "../../../devices/platform/it87.2624");
    FakeClock clock;
    LinuxHwmon hwmon(tree.root(), clock);
    EXPECT_EQ(flatten(hwmon), (std::vector<std::pair<QString, std::optional<double>>>{{"it8728 temp1", 36.0}}));
    ASSERT_EQ(hwmon.fanCount(), 1u);
    EXPECT_EQ(hwmon.fanValue(0, LinuxHwmon::FanValue::current), 1400.0);
    EXPECT_FALSE(hwmon.fanValue(0, LinuxHwmon::FanValue::maximum));
    EXPECT_FALSE(hwmon.fanValue(1, LinuxHwmon::FanValue::current));
}

TEST(LinuxHwmon, ThermalZonesOnlyWithoutACpuChipAndNotTwice)
{
    TempTree tree;
    // The kernel mirrors gpu-thermal as the hwmon chip gpu_thermal.
    tree.write("sys/class/hwmon/hwmon0/name", "gpu_thermal");
    tree.write("sys/class/hwmon/hwmon0/temp1_input", "41000");
    for (const auto& [zone, type, temp] : {std::tuple{"thermal_zone0", "cpu0-thermal", "50000"}, std::tuple{"thermal_zone1", "gpu-thermal", "41000"},
                                           std::tuple{"thermal_zone2", "x86_pkg_temp", "52000"}, std::tuple{"thermal_zone10", "Battery", "30000"},
                                           std::tuple{"thermal_zone3", "SOC_THERMAL", "45000"}}) {
        tree.write(std::string("sys/class/thermal/") + zone + "/type", type);
        tree.write(std::string("sys/class/thermal/") + zone + "/temp", temp);
    }
    tree.write("sys/class/thermal/thermal_zone4/temp", "44000");  // no type: no product name
    tree.write("sys/class/thermal/cooling_device0/type", "Processor");
    FakeClock clock;
    LinuxHwmon hwmon(tree.root(), clock);
    const std::vector<std::pair<QString, std::optional<double>>> expected{
        {"gpu_thermal temp1", 41.0}, {"CPU cpu0-thermal", 50.0}, {"CPU x86_pkg_temp", 52.0},
        {"SoC SOC_THERMAL", 45.0},  {"<none>", 44.0},            {"Battery Battery", 30.0}};
    EXPECT_EQ(flatten(hwmon), expected);

    // A CPU chip makes the zones redundant.
    tree.write("sys/class/hwmon/hwmon1/name", "coretemp");
    tree.write("sys/class/hwmon/hwmon1/temp1_input", "50000");
    clock.advance(30.0);
    EXPECT_EQ(flatten(hwmon).size(), 2u);
}

TEST(LinuxHwmon, DiscoveryIsCachedAndRedoneEvery30sOrAfterAFailure)
{
    TempTree tree;
    tree.write("sys/class/hwmon/hwmon0/name", "coretemp");
    tree.write("sys/class/hwmon/hwmon0/temp1_input", "50000");
    FakeClock clock;
    LinuxHwmon hwmon(tree.root(), clock);
    EXPECT_EQ(flatten(hwmon).size(), 1u);

    tree.write("sys/class/hwmon/hwmon1/name", "nvme");
    tree.write("sys/class/hwmon/hwmon1/temp1_input", "40000");
    clock.advance(29.0);
    EXPECT_EQ(flatten(hwmon).size(), 1u);  // not scanned again yet
    clock.advance(1.0);
    EXPECT_EQ(flatten(hwmon).size(), 2u);

    // The module is unloaded: the failed read brings a rescan 5 s later at most.
    tree.remove("sys/class/hwmon/hwmon1");
    EXPECT_FALSE(flatten(hwmon)[1].second);
    clock.advance(5.0);
    EXPECT_EQ(flatten(hwmon).size(), 1u);
}

TEST(LinuxHwmon, ASleepingGpuKeepsItsPlacesAndIsNotRead)
{
    // The hybrid laptop's discrete Radeon is runtime-suspended: its sensors
    // stay listed without readings, and none of its attributes is opened
    // beyond names and labels.
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "hybrid-amd-laptop/t0");
    const std::string discrete = "sys/devices/pci0000:00/0000:00:01.1/0000:03:00.0";
    std::ofstream(tree / discrete / "hwmon/hwmon7/fan1_input") << "0\n";
    std::vector<std::string> opened;
    LinuxRoot root(tree, true);
    root.setOpenObserver([&](std::string_view relative) { opened.emplace_back(relative); });
    FakeClock clock;
    LinuxHwmon hwmon(root, clock);
    const auto asleep = [&](const char* status) {
        std::ofstream(tree / discrete / "power/runtime_status", std::ios::trunc) << status << "\n";
    };
    const auto touchedMeasurements = [&] {
        return std::count_if(opened.begin(), opened.end(), [](const std::string& path) {
            return path.starts_with("sys/class/hwmon/hwmon7/") && !path.ends_with("/name") && !path.ends_with("_label")
                && !path.ends_with("power/runtime_status");
        });
    };
    using List = std::vector<std::pair<QString, std::optional<double>>>;
    const List sleeping{{"GPU edge", std::nullopt}, {"GPU junction", std::nullopt}, {"GPU mem", std::nullopt},
                        {"GPU edge", 47.0},        {"CPU Tctl", 61.25},           {"NAND Composite", 38.85}};
    const List awake{{"GPU edge", 40.0}, {"GPU junction", 41.0}, {"GPU mem", 42.0}, {"GPU edge", 47.0}, {"CPU Tctl", 61.25}, {"NAND Composite", 38.85}};

    for (int tick = 0; tick < 20; ++tick) {
        clock.advance(2);  // a rescan every 30 s must not read it either
        EXPECT_EQ(flatten(hwmon), sleeping);
        EXPECT_EQ(hwmon.groupReadings(SensorGroup::gpu), std::vector<double>{47.0});
        // A GPU's fan counts even at 0 rpm; asleep it reads nothing.
        ASSERT_EQ(hwmon.fanCount(), 1u);
        EXPECT_FALSE(hwmon.fanValue(0, LinuxHwmon::FanValue::current));
    }
    EXPECT_EQ(touchedMeasurements(), 0);

    // Woken by something else: read again, and again left alone once asleep.
    asleep("active");
    EXPECT_EQ(flatten(hwmon), awake);
    EXPECT_EQ(hwmon.fanValue(0, LinuxHwmon::FanValue::current), 0.0);
    asleep("suspended");
    opened.clear();
    EXPECT_EQ(flatten(hwmon), sleeping);
    EXPECT_EQ(hwmon.groupReadings(SensorGroup::gpu), std::vector<double>{47.0});
    EXPECT_EQ(touchedMeasurements(), 0);
}
