// Whole machines replayed through the monitor: the first tick on a tree's t0
// snapshot, the second on its t1 snapshot 2 s later, and the published
// memory, network, disk and GPU figures checked against what the two
// snapshots give by hand.
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "TreeReplay.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cmath>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

constexpr uint64_t KiB = 1024;

struct Replay {
    explicit Replay(const std::string& machineName)
        : replay(machineName)
    {
        monitor.tick();
        replay.advanceTo("t1");
        monitor.tick();
    }

    const std::vector<double>& history(MonitorHistory which) const { return monitor.history(which); }

    test::TreeReplay replay;
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    LinuxMachine machine{replay.root()};
    SystemMonitor monitor{machine.makeSamplers(), settings, machine.clock()};
};

void expectFiniteAndNonNegative(const SystemMonitor& monitor)
{
    for (size_t i = 0; i < monitorHistoryCount; ++i) {
        for (const double value : monitor.history(static_cast<MonitorHistory>(i))) {
            EXPECT_TRUE(std::isfinite(value)) << "history " << i;
            EXPECT_GE(value, 0.0) << "history " << i;
        }
    }
}

} // namespace

TEST(MachineReplay, LaptopWithWifiZramAndNvme)
{
    Replay r("laptop-wifi-zram-nvme");
    const auto& memory = r.monitor.memory();
    EXPECT_EQ(memory.total, 16318428 * KiB);
    EXPECT_EQ(memory.wired, (201600 + 18944 + 61440) * KiB);
    EXPECT_EQ(memory.compressed, 87556096u);  // zram0's mem_used_total
    EXPECT_EQ(memory.app + memory.wired + memory.compressed, (16318428 - 9676544) * KiB);
    EXPECT_EQ(memory.swapUsed, (8388604 - 8060924) * KiB);
    EXPECT_EQ(memory.pressure, MemorySample::Pressure::warning);  // some avg10 12.31
    ASSERT_EQ(r.history(MonitorHistory::memory).size(), 2u);
    EXPECT_DOUBLE_EQ(r.history(MonitorHistory::memory)[1], (16318428.0 - 9676544.0) / 16318428.0);

    // Wi-Fi only: the Ethernet port has no cable, docker0 is no uplink.
    EXPECT_EQ(r.history(MonitorHistory::download), (std::vector<double>{0, 3000000.0 / 2}));
    EXPECT_EQ(r.history(MonitorHistory::upload), (std::vector<double>{0, 400000.0 / 2}));

    // nvme0n1 alone: 40960 sectors read and 8192 written in 2 s.
    EXPECT_EQ(r.monitor.disk().readRate, 40960.0 * 512 / 2);
    EXPECT_EQ(r.monitor.disk().writeRate, 8192.0 * 512 / 2);
    EXPECT_EQ(r.history(MonitorHistory::diskRead), (std::vector<double>{0, 40960.0 * 512 / 2}));
    EXPECT_GT(r.monitor.disk().total, 0u);

    // Intel: 1500 of 2000 ms idle. The first tick had no figure yet, and the
    // suspended NVIDIA card is never read.
    EXPECT_EQ(r.monitor.gpu(), 0.25);
    EXPECT_EQ(r.history(MonitorHistory::gpu), (std::vector<double>{0.25}));
    expectFiniteAndNonNegative(r.monitor);
}

TEST(MachineReplay, DesktopWithEthernetTwoDisksAndAmdGpu)
{
    Replay r("desktop-ethernet-amdgpu");
    const auto& memory = r.monitor.memory();
    EXPECT_EQ(memory.total, 32768000 * KiB);
    EXPECT_EQ(memory.wired, (312000 + 24576 + 98304) * KiB);
    EXPECT_EQ(memory.compressed, 0u);
    EXPECT_EQ(memory.app, (32768000 - 1310720 - 312000 - 24576 - 98304) * KiB);
    EXPECT_EQ(memory.swapUsed, 1048576 * KiB);
    // 4 % available; the stall figures alone would say normal.
    EXPECT_EQ(memory.pressure, MemorySample::Pressure::critical);

    // enp5s0's 64-bit counters grew by 250 MB and 20 MB.
    EXPECT_EQ(r.monitor.network().download, 125000000.0);
    EXPECT_EQ(r.monitor.network().upload, 10000000.0);

    // nvme0n1 + sda (+ an idle sr0); md0 and dm-0 are not physical disks.
    EXPECT_EQ(r.monitor.disk().readRate, (102400.0 + 2048.0) * 512 / 2);
    EXPECT_EQ(r.monitor.disk().writeRate, (20480.0 + 204800.0) * 512 / 2);

    // Processor i moved by 200 ticks, 31 + i of them busy.
    EXPECT_DOUBLE_EQ(r.monitor.cpu().total, (16 * 31 + 120) / 3200.0);

    // amdgpu 37 %, then 61 %; the compute card's 100 % never counts.
    EXPECT_EQ(r.history(MonitorHistory::gpu), (std::vector<double>{0.37, 0.61}));
    expectFiniteAndNonNegative(r.monitor);
}

TEST(MachineReplay, VirtualMachine)
{
    Replay r("vm");
    const auto& memory = r.monitor.memory();
    EXPECT_EQ(memory.total, 4028256 * KiB);
    EXPECT_EQ(memory.wired, (41984 + 3072 + 8192) * KiB);
    EXPECT_EQ(memory.app, (4028256 - 2921192 - 41984 - 3072 - 8192) * KiB);
    EXPECT_EQ(memory.compressed, 0u);
    EXPECT_EQ(memory.swapUsed, 0u);
    EXPECT_EQ(memory.pressure, MemorySample::Pressure::normal);  // no PSI, 72 % available

    // "eth0:55123456 ..." with operstate unknown and a carrier.
    EXPECT_EQ(r.monitor.network(), (NetworkSample{10000, 3000}));
    EXPECT_EQ(r.monitor.disk().readRate, 1024.0 * 512 / 2);
    EXPECT_EQ(r.monitor.disk().writeRate, 4096.0 * 512 / 2);

    // virtio-gpu publishes nothing: no value and no history point.
    EXPECT_FALSE(r.monitor.gpu());
    EXPECT_TRUE(r.history(MonitorHistory::gpu).empty());
    expectFiniteAndNonNegative(r.monitor);
}

TEST(MachineReplay, HostileTree)
{
    Replay r("hostile-io");
    // t1 lost MemAvailable: the t0 figures stay, with one history point.
    // At t0 only MemTotal and MemAvailable were sound.
    EXPECT_EQ(r.monitor.memory(), (MemorySample{8000000 * KiB, 4000000 * KiB, 0, 0, 0, MemorySample::Pressure::normal}));
    EXPECT_EQ(r.history(MonitorHistory::memory), (std::vector<double>{0.5}));

    // wlan0 wrapped from 2^32 - 296 to 500 (796 bytes) and sent 1000; eth0
    // vanished, wwan0 is new, the garbage and cut lines and the name with
    // a path in it count nothing.
    EXPECT_EQ(r.monitor.network(), (NetworkSample{796.0 / 2, 1000.0 / 2}));

    // nvme0n1's read total went back: 0, not a wrapped figure; 100 sectors
    // written.
    EXPECT_EQ(r.monitor.disk().readRate, 0.0);
    EXPECT_EQ(r.monitor.disk().writeRate, 100.0 * 512 / 2);

    // A figure of 250 % is clamped; -5 and the broken cards are ignored.
    EXPECT_EQ(r.history(MonitorHistory::gpu), (std::vector<double>{1.0, 1.0}));
    expectFiniteAndNonNegative(r.monitor);
}

TEST(MachineReplay, ProgramReadsTheTreeNamedByTheEnvironment)
{
    QProcess program;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORBISTAT_SYSROOT"), QString::fromStdString(test::fixture("vm/t1")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir::tempPath() + QStringLiteral("/orbistat-replay-config"));
    program.setProcessEnvironment(environment);
    program.start(QString::fromUtf8(test::orbistatBinary()), {QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("1")});
    ASSERT_TRUE(program.waitForFinished(30000));
    ASSERT_EQ(program.exitCode(), 0);
    const auto tick = QJsonDocument::fromJson(program.readAllStandardOutput().split('\n').first()).object();
    const auto memory = tick.value(QStringLiteral("memory")).toObject();
    EXPECT_EQ(memory.value(QStringLiteral("total")).toDouble(), 4028256.0 * KiB);
    EXPECT_EQ(memory.value(QStringLiteral("wired")).toDouble(), (41984.0 + 3072 + 8192) * KiB);
    EXPECT_EQ(memory.value(QStringLiteral("pressure")).toString(), QStringLiteral("normal"));
    // A first tick: rates are a baseline, and this machine has no GPU figure.
    EXPECT_EQ(tick.value(QStringLiteral("network")).toObject().value(QStringLiteral("download")).toDouble(-1), 0.0);
    EXPECT_FALSE(tick.value(QStringLiteral("disk")).toObject().contains(QStringLiteral("readRate")));
    EXPECT_GT(tick.value(QStringLiteral("disk")).toObject().value(QStringLiteral("total")).toDouble(), 0.0);
    EXPECT_FALSE(tick.contains(QStringLiteral("gpu")));
}

TEST(MachineReplay, TwoBatteriesShowAsOne)
{
    // BAT1 drains while BAT0 sits full, "Not charging": the machine is on
    // battery with both batteries' charge and time left.
    test::TreeReplay replay("two-battery-laptop");
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    LinuxMachine machine(replay.root());
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());
    monitor.tick();
    const auto& battery = monitor.battery();
    ASSERT_TRUE(battery);
    EXPECT_EQ(battery->percent, 56);
    EXPECT_FALSE(battery->isCharging);
    EXPECT_FALSE(battery->isPluggedIn);
    EXPECT_EQ(battery->minutesRemaining, 352);
    EXPECT_EQ(battery->cycleCount, 211);
    EXPECT_EQ(battery->healthPercent, 98);  // 23,480 of 24,000 mWh
    ASSERT_TRUE(battery->watts);
    EXPECT_NEAR(*battery->watts, 8.5, 0.01);
}
