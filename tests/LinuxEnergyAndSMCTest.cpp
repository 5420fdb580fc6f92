#include "doubles/FakeClock.h"
#include "platform/linux/LinuxEnergyChannels.h"
#include "platform/linux/LinuxSMC.h"
#include "samplers/SMC.h"
#include "TempTree.h"
#include "TestPaths.h"
#include "TreeReplay.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;
using test::TempTree;

namespace {

std::map<QString, int64_t> byName(const EnergySamples& samples)
{
    std::map<QString, int64_t> values;
    for (const auto& channel : samples) {
        EXPECT_EQ(channel.group, QStringLiteral("Energy Model"));
        values[channel.name.value_or(QString())] += channel.value;
    }
    return values;
}

void writeZone(TempTree& tree, const std::string& zone, const char* name, const char* energy, const char* range = "262143328850")
{
    tree.write("sys/class/powercap/" + zone + "/name", name);
    tree.write("sys/class/powercap/" + zone + "/energy_uj", energy);
    if (range)
        tree.write("sys/class/powercap/" + zone + "/max_energy_range_uj", range);
}

} // namespace

TEST(LinuxEnergyChannels, RaplZonesByProcessorVendor)
{
    struct Case {
        const char* vendor;
        std::map<QString, int64_t> expected;
    };
    for (const Case& c : {Case{"GenuineIntel", {{"CPU Energy", 30}, {"GPU Energy", 40}, {"DRAM Energy", 50}}},
                          Case{"AuthenticAMD", {{"CPU Energy", 10 + 60}, {"DRAM Energy", 50}}}}) {
        SCOPED_TRACE(c.vendor);
        TempTree tree;
        tree.write("proc/cpuinfo", std::string("processor\t: 0\nvendor_id\t: ") + c.vendor + "\n");
        tree.write("sys/class/powercap/intel-rapl/enabled", "1");
        writeZone(tree, "intel-rapl:0", "package-0", "10");
        writeZone(tree, "intel-rapl:0:0", "core", "30");
        writeZone(tree, "intel-rapl:0:1", "uncore", "40");
        writeZone(tree, "intel-rapl:0:2", "dram", "50");
        writeZone(tree, "intel-rapl:1", "package-1", "60");
        writeZone(tree, "intel-rapl:2", "psys", "70");
        writeZone(tree, "intel-rapl-mmio:0", "package-0", "80");
        writeZone(tree, "intel-rapl:3", "core", "root only");  // unreadable: no channel
        FakeClock clock;
        LinuxEnergyChannels channels(tree.root(), clock);
        ASSERT_TRUE(channels.hasChannels());
        EXPECT_EQ(byName(channels.createSamples().value()), c.expected);
    }
}

TEST(LinuxEnergyChannels, DeltasAcrossAWrapAndABackwardsCounter)
{
    TempTree tree;
    writeZone(tree, "intel-rapl:0:0", "core", "999000", "1000000");
    writeZone(tree, "intel-rapl:0:2", "dram", "5000", nullptr);
    writeZone(tree, "intel-rapl:0:1", "uncore", "100");
    FakeClock clock;
    LinuxEnergyChannels channels(tree.root(), clock);
    const auto earlier = channels.createSamples().value();
    tree.write("sys/class/powercap/intel-rapl:0:0/energy_uj", "2000");
    tree.write("sys/class/powercap/intel-rapl:0:2/energy_uj", "4000");
    tree.remove("sys/class/powercap/intel-rapl:0:1");  // gone: left out, not a failure
    const auto later = channels.createSamples().value();
    const auto delta = channels.createSamplesDelta(earlier, later);
    ASSERT_TRUE(delta);
    // 1000 µJ to the end of the range, then 2000; dram went back without a range.
    EXPECT_EQ(byName(*delta), (std::map<QString, int64_t>{{"CPU Energy", 3000}}));
    EXPECT_EQ(delta->front().unit, QStringLiteral("uJ"));
}

TEST(LinuxEnergyChannels, NothingReadableMeansNoChannels)
{
    for (const char* tree : {"vm-sensors/t0", "arm-laptop/t0"}) {
        SCOPED_TRACE(tree);
        FakeClock clock;
        LinuxEnergyChannels channels(LinuxRoot(test::fixture(tree), true), clock);
        EXPECT_FALSE(channels.hasChannels());
        EXPECT_FALSE(channels.createSamples());
    }
}

TEST(LinuxEnergyChannels, AmdgpuPowerIsAccumulatedOverTime)
{
    TempTree tree;
    tree.write("sys/class/hwmon/hwmon0/name", "amdgpu");
    tree.write("sys/class/hwmon/hwmon0/power1_input", "20000000");  // 20 W, newer kernels
    tree.write("sys/class/hwmon/hwmon0/device/power/runtime_status", "active");
    FakeClock clock;
    LinuxEnergyChannels channels(tree.root(), clock);
    ASSERT_TRUE(channels.hasChannels());
    EXPECT_EQ(byName(channels.createSamples().value()), (std::map<QString, int64_t>{{"GPU Energy", 0}}));
    clock.advance(0.5);
    EXPECT_EQ(byName(channels.createSamples().value()), (std::map<QString, int64_t>{{"GPU Energy", 10'000'000}}));
    // Suspended: not read, and no energy for the interval.
    tree.write("sys/class/hwmon/hwmon0/device/power/runtime_status", "suspended");
    tree.write("sys/class/hwmon/hwmon0/power1_input", "garbage");
    clock.advance(1.0);
    EXPECT_EQ(byName(channels.createSamples().value()), (std::map<QString, int64_t>{{"GPU Energy", 10'000'000}}));
}

TEST(LinuxEnergyChannels, OnlyADiscreteRadeonIsAGpuChannel)
{
    // An APU's power1_average is the whole package's, which the CPU channel
    // already counts; only the APU has the vddnb voltage (in1). The hybrid
    // laptop has both kinds: the APU's graphics and a discrete card.
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "hybrid-amd-laptop/t0");
    const std::string discrete = "sys/devices/pci0000:00/0000:00:01.1/0000:03:00.0";
    std::ofstream(tree / discrete / "power/runtime_status", std::ios::trunc) << "active\n";
    FakeClock clock;
    LinuxEnergyChannels channels(LinuxRoot(tree, true), clock);
    const auto samples = channels.createSamples();
    ASSERT_TRUE(samples);
    std::vector<QString> ids;
    for (const auto& channel : *samples)
        ids.push_back(channel.name.value_or(QString()) + QLatin1Char(' ') + channel.id);
    // AMD: package-0 is the CPU channel, core is none.
    EXPECT_EQ(ids, (std::vector<QString>{QStringLiteral("CPU Energy sys/class/powercap/intel-rapl:0"),
                                         QStringLiteral("GPU Energy sys/class/hwmon/hwmon7/power1_average")}));
    // 35 W of the discrete card over 2 s; the APU's 15 W is not added.
    clock.advance(2);
    EXPECT_EQ(byName(channels.createSamples().value())[QStringLiteral("GPU Energy")], 70'000'000);

    // An APU alone (its in1 only labelled): no GPU channel at all.
    TempTree apu;
    apu.write("sys/class/hwmon/hwmon0/name", "amdgpu");
    apu.write("sys/class/hwmon/hwmon0/power1_input", "12000000");
    apu.write("sys/class/hwmon/hwmon0/in1_label", "vddnb");
    LinuxEnergyChannels apuChannels(apu.root(), clock);
    EXPECT_FALSE(apuChannels.hasChannels());
}

TEST(LinuxSMC, AnswersTheSensorKeysInTheControllerTypes)
{
    FakeClock clock;
    const LinuxRoot root(test::fixture("amd-desktop/t0"), true);
    LinuxHwmon hwmon(root, clock);
    LinuxPowerSupplies supplies(root, clock);
    LinuxSMC connection(root, clock, hwmon, supplies);
    auto smc = SMC::open(connection);
    ASSERT_TRUE(smc);

    EXPECT_EQ(smc->readKey("FNum"), (SMCReading{"ui8 ", {5}}));
    EXPECT_EQ(smc->readKey("F1Ac")->type, "flt ");
    EXPECT_EQ(smc->readValue("F1Ac"), 1250.0);
    EXPECT_EQ(smc->readValue("F1Mn"), 300.0);
    EXPECT_FALSE(smc->readValue("F1Mx"));
    EXPECT_EQ(smc->readValue("F4Ac"), 1100.0);
    EXPECT_FALSE(smc->readKey("F5Ac"));
    EXPECT_EQ(smc->readKey("TC0P"), (SMCReading{"sp78", {0x41, 0x40}}));  // 65.25 °C, the hottest of k10temp
    EXPECT_EQ(smc->readValue("TG0P"), 64.0);
    EXPECT_EQ(smc->readValue("TH0P"), 38.0);
    for (const char* key : {"TB0T", "PSTR", "PDTR", "TC0D", "FAN0", "F0", ""}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(smc->readKey(key));
    }
}

TEST(LinuxSMC, TemperatureKeysSkipReadingsTheTypeCannotCarry)
{
    FakeClock clock;
    const LinuxRoot root(test::fixture("hostile-sensors/t0"), true);
    LinuxHwmon hwmon(root, clock);
    LinuxPowerSupplies supplies(root, clock);
    LinuxSMC connection(root, clock, hwmon, supplies);
    auto smc = SMC::open(connection);
    // -273 and 200 and 149.9 do not fit in sp78; 47 does.
    EXPECT_EQ(smc->readValue("TC0P"), 47.0);
    EXPECT_EQ(smc->readKey("FNum"), (SMCReading{"ui8 ", {3}}));
    EXPECT_FALSE(smc->readKey("PSTR"));  // psys went backwards without a range
}

TEST(LinuxSMC, SystemPowerFromPsysOrTheDischargingBattery)
{
    TempTree tree;
    writeZone(tree, "intel-rapl:1", "psys", "1000000");
    FakeClock clock;
    LinuxHwmon hwmon(tree.root(), clock);
    LinuxPowerSupplies supplies(tree.root(), clock);
    {
        LinuxSMC connection(tree.root(), clock, hwmon, supplies);
        auto smc = SMC::open(connection);
        EXPECT_FALSE(smc->readValue("PSTR"));  // the baseline
        tree.write("sys/class/powercap/intel-rapl:1/energy_uj", "16000000");
        clock.advance(2.0);
        EXPECT_EQ(smc->readValue("PSTR"), 7.5);
        clock.advance(0.0);
        EXPECT_FALSE(smc->readValue("PSTR"));  // no time passed
    }
    tree.remove("sys/class/powercap");

    tree.write("sys/class/power_supply/BAT0/type", "Battery");
    tree.write("sys/class/power_supply/BAT0/status", "Discharging");
    tree.write("sys/class/power_supply/BAT0/voltage_now", "11500000");
    tree.write("sys/class/power_supply/BAT0/current_now", "-1000000");
    LinuxSMC connection(tree.root(), clock, hwmon, supplies);
    auto smc = SMC::open(connection);
    EXPECT_EQ(smc->readValue("PSTR"), 11.5);
}
