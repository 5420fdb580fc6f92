// Whole hybrid-graphics laptops run through the monitor for 30 ticks while
// their discrete GPU is runtime-suspended: every file opened through the
// machine's root is recorded, and none may be a measurement of that GPU
// (reading one wakes the card and drains the battery). Of a sleeping
// device only its power state and what the kernel serves from memory
// (names, labels, the PCI ids) may be read. NVML must not even be loaded.
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeNotificationServer.h"
#include "doubles/FakeNvmlLibrary.h"
#include "TreeReplay.h"

#include <QDBusConnection>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>

using namespace orbistat;

namespace {

// What may be read of a sleeping device: its runtime-PM bookkeeping and
// attributes the kernel keeps in memory.
bool isAllowedOfASleepingDevice(const std::filesystem::path& inside)
{
    const std::string name = inside.filename().string();
    const std::string parent = inside.parent_path().filename().string();
    if (parent == "power")
        return name == "runtime_status" || name == "control";
    return name == "name" || name.ends_with("_label") || name == "class" || name == "vendor" || name == "device" || name == "uevent";
}

} // namespace

TEST(SleepingGpu, ThirtyTicksReadNoMeasurementOfItAndCallNoNvml)
{
    struct Case {
        const char* tree;
        const char* sleeping;  // the discrete GPU
        const char* awake;     // the integrated one, read on every tick
    } const cases[] = {
        {"hybrid-nvidia-laptop/t0", "sys/devices/pci0000:00/0000:00:01.0/0000:01:00.0", "sys/devices/pci0000:00/0000:00:02.0"},
        {"hybrid-amd-laptop/t0", "sys/devices/pci0000:00/0000:00:01.1/0000:03:00.0", "sys/devices/pci0000:00/0000:00:08.1/0000:05:00.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tree);
        test::FakeNvmlLibrary nvml;
        QTemporaryDir dir;
        const auto tree = test::copyOfTree(dir, c.tree);
        // The accessory refresh reads on a worker thread.
        std::mutex mutex;
        std::vector<std::string> opened;
        LinuxRoot root(tree, true);
        root.setOpenObserver([&](std::string_view relative) {
            std::lock_guard lock(mutex);
            opened.emplace_back(relative);
        });
        QTemporaryDir config;
        SettingsStore settings(config.filePath(QStringLiteral("Orbistat.conf")));
        {
            LinuxMachine machine(root, QDBusConnection(QStringLiteral("orbistat-no-bus")), QStringLiteral("bluetoothctl"), nvml.loader());
            SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());
            for (int tick = 0; tick < 30; ++tick) {
                // A minute of 2 s ticks: the 30 s searches for devices run too.
                std::ofstream(tree / "proc/uptime", std::ios::trunc) << 7000 + 2 * tick << ".00 40000.00\n";
                monitor.tick();
            }
            EXPECT_TRUE(test::waitUntil([&] { return !monitor.isSamplingAccessories(); }));
            // The integrated GPU answered while the discrete one slept.
            EXPECT_TRUE(monitor.gpu());
        }

        const auto sleeping = std::filesystem::canonical(tree / c.sleeping);
        const auto awake = std::filesystem::canonical(tree / c.awake);
        std::lock_guard lock(mutex);
        int sleepingStates = 0, awakeMeasurements = 0;
        for (const auto& relative : opened) {
            const auto path = std::filesystem::weakly_canonical(tree / relative);
            const auto inside = path.lexically_relative(sleeping);
            if (!inside.empty() && *inside.begin() != "..") {
                EXPECT_TRUE(isAllowedOfASleepingDevice(inside)) << relative << " is " << inside;
                sleepingStates += inside == "power/runtime_status";
            }
            const auto ofAwake = path.lexically_relative(awake);
            awakeMeasurements += !ofAwake.empty() && *ofAwake.begin() != ".." && !isAllowedOfASleepingDevice(ofAwake);
        }
        // The recording saw the sleeping GPU asked for its state on every
        // tick, and the awake one measured: it would have seen a wrong read.
        EXPECT_GE(sleepingStates, 30);
        EXPECT_GE(awakeMeasurements, 30);
        EXPECT_EQ(nvml.state().calls(), 0);
        EXPECT_EQ(nvml.loads(), 0);
    }
}
