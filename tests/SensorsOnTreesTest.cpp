// The whole chain on recorded machine trees: the Linux adapters, the
// samplers and the monitor's tick, replayed from t0 to t1 under one path.
// Every expected number is worked out by hand from the tree's files.
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "TestPaths.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

constexpr auto none = std::nullopt;

// A machine tree behind a link that can be moved from t0 to t1, and a
// monitor reading it.
class Replay {
public:
    explicit Replay(const std::string& tree)
        : tree_(tree)
        , link_(dir_.filePath(QStringLiteral("root")).toStdString())
    {
        std::filesystem::create_directory_symlink(test::fixture(tree + "/t0"), link_);
        settings_ = std::make_unique<SettingsStore>(dir_.filePath(QStringLiteral("Orbistat.conf")));
        machine_ = std::make_unique<LinuxMachine>(LinuxRoot(link_, true));
        monitor_ = std::make_unique<SystemMonitor>(machine_->makeSamplers(), *settings_, machine_->clock());
    }

    void moveToT1()
    {
        std::filesystem::remove(link_);
        std::filesystem::create_directory_symlink(test::fixture(tree_ + "/t1"), link_);
    }
    SystemMonitor& monitor() { return *monitor_; }

private:
    std::string tree_;
    QTemporaryDir dir_;
    std::filesystem::path link_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<LinuxMachine> machine_;
    std::unique_ptr<SystemMonitor> monitor_;
};

TemperatureReading reading(const QString& name, double value) { return TemperatureReading{name, value}; }

BatterySample battery(int64_t percent, bool isCharging, bool isPluggedIn, std::optional<int64_t> minutes, std::optional<int64_t> cycles,
                      std::optional<int64_t> health, std::optional<double> temperature, std::optional<double> watts)
{
    return BatterySample{percent, isCharging, isPluggedIn, minutes, cycles, health, temperature, watts};
}

struct Tree {
    const char* name;
    SensorsSample t0;
    SensorsSample t1;
    std::optional<BatterySample> battery0;
    std::optional<BatterySample> battery1;
};

std::vector<Tree> trees()
{
    std::vector<Tree> all;

    {
        // coretemp gives the CPU group; acpitz and thinkpad join no group.
        Tree t{"intel-laptop", {}, {}, {}, {}};
        t.t0.cpu = (62.0 + 58.0 + 61.0) / 3.0;
        t.t0.cpuHottest = 62.0;
        t.t0.ssd = 41.85;
        t.t0.all = {reading("CPU Package id 0", 62), reading("CPU Core 1", 61), reading("CPU Core 0", 58), reading("thinkpad temp1", 55),
                    reading("acpitz temp1", 48), reading("NAND Composite", 41.85)};
        t.t0.fans = {FanReading{0, 2900, none, none}};
        // psys and RAPL need two readings: nothing yet.
        t.t1 = t.t0;
        t.t1.cpu = (64.0 + 60.0 + 63.0) / 3.0;
        t.t1.cpuHottest = 64.0;
        t.t1.ssd = 42.85;
        t.t1.all = {reading("CPU Package id 0", 64), reading("CPU Core 1", 63), reading("CPU Core 0", 60), reading("thinkpad temp1", 56),
                    reading("acpitz temp1", 49), reading("NAND Composite", 42.85)};
        t.t1.fans = {FanReading{0, 3100, none, none}};
        t.t1.systemPower = 12.0;  // psys grew 24 J in 2 s
        t.t1.components = {4.0, 0.75, none, 0.5};  // core 8 J, uncore 1.5 J, dram 1 J in 2 s
        // 9.68 W at 12.1 V is 800 mA; 40.014 Wh at 9.68 W is 248.02 min;
        // health 51.3 / 57 Wh.
        t.battery0 = battery(78, false, false, 248, 312, 90, none, 12100.0 * 800.0 / 1e6);
        // 10.89 W is 900 mA; 40.00862 Wh at 10.89 W is 220.43 min.
        t.battery1 = battery(78, false, false, 220, 312, 90, none, 12100.0 * 900.0 / 1e6);
        all.push_back(t);
    }
    {
        Tree t{"amd-desktop", {}, {}, none, none};
        t.t0.cpu = (65.25 + 58.5 + 60.0) / 3.0;
        t.t0.cpuHottest = 65.25;
        t.t0.gpu = (52.0 + 58.0 + 64.0) / 3.0;
        t.t0.ssd = 38.0;
        t.t0.all = {reading("CPU Tctl", 65.25), reading("GPU mem", 64), reading("CPU Tccd2", 60), reading("CPU Tccd1", 58.5), reading("GPU junction", 58),
                    reading("GPU edge", 52), reading("nct6798 cputin", 45.5), reading("NAND temp1", 38), reading("nct6798 systin", 34)};
        // The GPU fan counts at 0 rpm; the board's 0 rpm headers do not; five
        // fans, four shown.
        t.t0.fans = {FanReading{0, 0, 0.0, 3300.0}, FanReading{1, 1250, 300.0, none}, FanReading{2, 870, none, none}, FanReading{3, 1500, none, none}};
        t.t1 = t.t0;
        t.t1.cpu = (66.25 + 59.5 + 61.0) / 3.0;
        t.t1.cpuHottest = 66.25;
        t.t1.gpu = (53.0 + 59.0 + 65.0) / 3.0;
        t.t1.all = {reading("CPU Tctl", 66.25), reading("GPU mem", 65), reading("CPU Tccd2", 61), reading("CPU Tccd1", 59.5), reading("GPU junction", 59),
                    reading("GPU edge", 53), reading("nct6798 cputin", 46.5), reading("NAND temp1", 38), reading("nct6798 systin", 34)};
        t.t1.fans = {FanReading{0, 0, 0.0, 3300.0}, FanReading{1, 1260, 300.0, none}, FanReading{2, 880, none, none}, FanReading{3, 1490, none, none}};
        // package-0 (not core, on AMD) grew 70 J in 2 s; amdgpu drew 55 W
        // for the 2 s before its second reading.
        t.t1.components = {35.0, 55.0, none, none};
        all.push_back(t);
    }
    {
        Tree t{"arm-laptop", {}, {}, {}, {}};
        t.t0.cpu = (52.3 + 51.8 + 48.1) / 3.0;
        t.t0.cpuHottest = 52.3;
        t.t0.gpu = 44.4;
        t.t0.soc = 45.0;
        t.t0.all = {reading("CPU bigcore0-thermal", 52.3), reading("CPU bigcore1-thermal", 51.8), reading("CPU littlecore-thermal", 48.1),
                    reading("center-thermal", 46.6), reading("SoC soc-thermal", 45), reading("GPU gpu-thermal", 44.4), reading("npu-thermal", 43)};
        t.t0.adapterPower = 18.0;  // 9 V × 2 A; the UCSI entry's 60 W contract does not count
        t.t1 = t.t0;
        t.t1.cpu = (53.3 + 52.8 + 49.1) / 3.0;
        t.t1.cpuHottest = 53.3;
        t.t1.gpu = 45.4;
        t.t1.soc = 46.0;
        t.t1.all = {reading("CPU bigcore0-thermal", 53.3), reading("CPU bigcore1-thermal", 52.8), reading("CPU littlecore-thermal", 49.1),
                    reading("center-thermal", 47.6), reading("SoC soc-thermal", 46), reading("GPU gpu-thermal", 45.4), reading("npu-thermal", 44)};
        t.t1.adapterPower = 19.125;  // 9 V × 2.125 A
        // 2.3 of 4.6 Ah; 2.3 Ah to go at 1.5 A is 92 min; 8 V × 1.5 A.
        t.battery0 = battery(50, true, true, 92, none, 92, 29.5, 12.0);
        // 2.300833 Ah: still 50 %; 2.299167 Ah to go is 91.97 min.
        t.battery1 = battery(50, true, true, 92, none, 92, 29.7, 12.0);
        all.push_back(t);
    }
    all.push_back(Tree{"vm-sensors", {}, {}, none, none});
    {
        Tree t{"hostile-sensors", {}, {}, {}, {}};
        const QString markup = QString::fromLatin1("<i>Core 2</i>\x01\x1b[31m<script>alert(1)</script>");
        // The 5,000-character label is read as one page: its first 4,096 bytes.
        const QString label = QStringLiteral("CPU ") + markup + QString(4096 - markup.size(), QLatin1Char('x'));
        // -273, 200, "hot", 150, "4.5e4", 23 digits and "" are all left out.
        t.t0.cpu = (47.0 + 149.9) / 2.0;
        t.t0.cpuHottest = 149.9;
        t.t0.ssd = 38.0;
        t.t0.all = {reading("CPU temp5", 149.9), reading("Sensor 0", 55), reading(label, 47), reading("NAND Composite", 38)};
        // "fast" is no fan; 25000 and -5 rpm are skipped, leaving gaps.
        t.t0.fans = {FanReading{1, 1800, none, 5000.0}};
        t.t1 = t.t0;
        // The core counter wrapped: 328850 µJ to the end of its range, then 2 J.
        t.t1.components = {2328850.0 / 1e6 / 2.0, none, none, none};
        // Capacity 150 clamps; design 0 gives no health; the rest is garbage.
        t.battery0 = t.battery1 = battery(100, false, false, none, none, none, none, none);
        all.push_back(t);
    }
    return all;
}

} // namespace

TEST(SensorsOnTrees, EachMachineFromT0ToT1)
{
    for (const auto& tree : trees()) {
        SCOPED_TRACE(tree.name);
        Replay replay(tree.name);
        auto& monitor = replay.monitor();

        monitor.tick();
        EXPECT_EQ(monitor.sensors(), tree.t0);
        EXPECT_EQ(monitor.battery(), tree.battery0);

        replay.moveToT1();
        monitor.tick();
        EXPECT_EQ(monitor.sensors(), tree.t1);
        EXPECT_EQ(monitor.battery(), tree.battery1);

        // Histories take the CPU temperature and system power when present.
        std::vector<double> temperatures;
        for (const auto& sample : {tree.t0, tree.t1}) {
            if (sample.cpu)
                temperatures.push_back(*sample.cpu);
        }
        EXPECT_EQ(monitor.history(MonitorHistory::cpuTemperature), temperatures);
        std::vector<double> power;
        for (const auto& sample : {tree.t0, tree.t1}) {
            if (sample.systemPower)
                power.push_back(*sample.systemPower);
        }
        EXPECT_EQ(monitor.history(MonitorHistory::systemPower), power);
    }
}

TEST(SensorsOnTrees, HeadlessJsonOfARecordedTreeLogsNothing)
{
    struct Case {
        const char* tree;
        bool hasBattery;
        std::optional<double> cpuHottest;
    };
    for (const Case c : {Case{"intel-laptop/t0", true, 62.0}, Case{"vm-sensors/t0", false, std::nullopt}, Case{"hostile-sensors/t1", true, 149.9}}) {
        SCOPED_TRACE(c.tree);
        QProcess process;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORBISTAT_SYSROOT"), QString::fromStdString(test::fixture(c.tree)));
        QTemporaryDir home;
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(test::orbistatBinary()), {QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("1")});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(process.readAllStandardError(), QByteArray());
        const auto object = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        EXPECT_EQ(object.contains(QStringLiteral("battery")), c.hasBattery);
        const auto hottest = object.value(QStringLiteral("sensors")).toObject().value(QStringLiteral("cpuHottest"));
        EXPECT_EQ(hottest.isUndefined() ? std::nullopt : std::optional<double>(hottest.toDouble()), c.cpuHottest);
    }
}
