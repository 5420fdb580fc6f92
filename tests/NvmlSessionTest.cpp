#include "app/LinuxMachine.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeNvmlLibrary.h"
#include "platform/linux/LinuxEnergyChannels.h"
#include "platform/linux/NvmlGpuSource.h"
#include "platform/linux/NvmlSession.h"
#include "TreeReplay.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;
using test::FakeNvmlLibrary;

namespace {

using Devices = std::vector<std::optional<AcceleratorStatistics>>;

const char nvidiaDevice[] = "sys/devices/pci0000:00/0000:00:01.0/0000:01:00.0";

Devices figure(double percent)
{
    return {AcceleratorStatistics{{"Device Utilization %", percent}}};
}

// A writable copy of the hybrid laptop, whose NVIDIA GPU sleeps at first.
struct NvidiaLaptop {
    QTemporaryDir dir;
    std::filesystem::path tree = test::copyOfTree(dir, "hybrid-nvidia-laptop/t0");
    LinuxRoot root{tree, false};

    void set(const char* attribute, const char* value)
    {
        std::ofstream(tree / nvidiaDevice / attribute, std::ios::trunc) << value << '\n';
    }
};

bool hasNvidiaEnergy(const std::optional<EnergySamples>& samples)
{
    return samples && std::any_of(samples->begin(), samples->end(), [](const EnergyChannel& channel) { return channel.id == QStringLiteral("nvml:0"); });
}

} // namespace

TEST(NvmlSession, HeldOnlyWhileTheGpuIsBusyAndNeverTouchedAsleep)
{
    FakeNvmlLibrary nvml;
    auto& fake = nvml.state();
    NvidiaLaptop laptop;
    FakeClock clock;
    {
        NvmlSession session(laptop.root, clock, nvml.loader());
        NvmlGpuSource load(session);
        LinuxEnergyChannels energy(laptop.root, clock, &session);
        // One tick as the monitor takes it: the load first, the energy after.
        const auto tick = [&] {
            clock.advance(2);
            auto devices = load.statistics();
            const bool counted = hasNvidiaEnergy(energy.createSamples());
            return std::pair(devices.value_or(Devices{{std::nullopt}}), counted);
        };

        // Asleep from the start: the library is not even loaded.
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(tick(), std::pair(Devices{}, false));
        EXPECT_EQ(nvml.loads(), 0);
        EXPECT_EQ(fake.calls(), 0);

        // Something else wakes it and keeps it busy: one session, read on
        // every tick by both readers.
        laptop.set("power/runtime_status", "active");
        fake.utilization[0] = 60;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(tick(), std::pair(figure(60), true));
        EXPECT_EQ(fake.inits, 1);
        EXPECT_EQ(fake.openSessions, 1);

        // Idle: the third idle poll ends the session...
        fake.utilization[0] = 0;
        EXPECT_EQ(tick(), std::pair(figure(0), true));
        EXPECT_EQ(tick(), std::pair(figure(0), true));
        EXPECT_EQ(tick().first, figure(0));
        EXPECT_EQ(fake.shutdowns, 1);
        EXPECT_EQ(fake.openSessions, 0);
        // ...and nothing more is asked: not while the GPU waits to be
        // suspended, not while it sleeps.
        const int calls = fake.calls();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(tick(), std::pair(Devices{}, false));
        laptop.set("power/runtime_status", "suspended");
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(tick(), std::pair(Devices{}, false));
        EXPECT_EQ(fake.calls(), calls);

        // Woken again by something else: a new session at once.
        laptop.set("power/runtime_status", "active");
        fake.utilization[0] = 80;
        EXPECT_EQ(tick(), std::pair(figure(80), true));
        EXPECT_EQ(fake.inits, 2);
        EXPECT_EQ(fake.queriesWithoutSession, 0);
    }
    // The open session is closed with the program.
    EXPECT_EQ(fake.openSessions, 0);
    EXPECT_EQ(nvml.loads(), 1);
}

TEST(NvmlSession, StartsAreRareWhateverTheGpuDoes)
{
    // Ten minutes of 2 s ticks. Starting NVML is slow on some drivers, so
    // it must never happen on every tick.
    struct Case {
        const char* what;
        const char* control;
        unsigned utilization;
        int initStatus;
        int minimumStarts, maximumStarts;
    } const cases[] = {
        // Held awake by something else (a display on it) but idle: looked
        // at again every 30 s, for three polls.
        {"awake for others, idle", "auto", 0, 0, 15, 21},
        {"busy all along", "auto", 70, 0, 1, 1},
        // Runtime power management off (a desktop): the GPU never sleeps,
        // so the session keeps nothing awake and is kept.
        {"never sleeps, idle", "on", 0, 0, 1, 1},
        {"a driver that will not start", "auto", 0, 1, 15, 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeNvmlLibrary nvml;
        auto& fake = nvml.state();
        fake.utilization[0] = c.utilization;
        fake.initStatus = c.initStatus;
        NvidiaLaptop laptop;
        laptop.set("power/runtime_status", "active");
        laptop.set("power/control", c.control);
        FakeClock clock;
        NvmlSession session(laptop.root, clock, nvml.loader());
        NvmlGpuSource load(session);
        std::vector<double> startTimes;
        for (int i = 0; i < 300; ++i) {
            clock.advance(2);
            const int before = fake.inits;
            load.statistics();
            if (fake.inits > before)
                startTimes.push_back(clock.seconds);
        }
        EXPECT_GE(fake.inits, c.minimumStarts);
        EXPECT_LE(fake.inits, c.maximumStarts);
        for (size_t i = 1; i < startTimes.size(); ++i)
            EXPECT_GE(startTimes[i] - startTimes[i - 1], NvmlSession::stillAwakeRetry);
        EXPECT_EQ(fake.queriesWithoutSession, 0);
        EXPECT_EQ(nvml.loads(), 1);
    }
}

TEST(NvmlSession, EveryDeviceAskedAndEveryStatusChecked)
{
    FakeNvmlLibrary nvml;
    auto& fake = nvml.state();
    fake.deviceCount = 3;
    fake.handleCount = 2;  // the third device has no handle
    fake.failingUtilization = 1;
    fake.utilization[0] = 30;
    NvidiaLaptop laptop;
    laptop.set("power/runtime_status", "active");
    FakeClock clock;
    {
        NvmlSession session(laptop.root, clock, nvml.loader());
        NvmlGpuSource load(session);
        EXPECT_EQ(load.statistics(), (Devices{AcceleratorStatistics{{"Device Utilization %", 30}}, std::nullopt, std::nullopt}));
        // Handles are asked for once per session.
        const int queries = fake.queries;
        load.statistics();
        EXPECT_EQ(fake.queries, queries + 2);
    }
    EXPECT_EQ(fake.shutdowns, 1);
    EXPECT_EQ(fake.openSessions, 0);

    // No device count: no figures, and the session, never busy, ends.
    FakeNvmlLibrary noCount;
    noCount.state().countStatus = 3;
    NvmlSession session(laptop.root, clock, noCount.loader());
    NvmlGpuSource load(session);
    for (int i = 0; i < NvmlSession::idlePollsBeforeRelease; ++i)
        EXPECT_EQ(load.statistics(), Devices{});
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(noCount.state().openSessions, 0);
}

TEST(NvmlSession, NoNvidiaNoLibraryAndNoneForARecordedTree)
{
    FakeClock clock;
    FakeNvmlLibrary nvml;
    // No NVIDIA display controller: nothing is loaded.
    NvmlSession none(LinuxRoot(test::fixture("desktop-ethernet-amdgpu/t0"), false), clock, nvml.loader());
    EXPECT_EQ(NvmlGpuSource(none).statistics(), Devices{});
    EXPECT_FALSE(none.hasDevices());
    EXPECT_EQ(nvml.loads(), 0);

    // A missing library is looked for once.
    NvidiaLaptop laptop;
    laptop.set("power/runtime_status", "active");
    int attempts = 0;
    NvmlSession missing(laptop.root, clock, [&] {
        ++attempts;
        return std::optional<NvmlApi>();
    });
    NvmlGpuSource missingLoad(missing);
    missingLoad.statistics();
    clock.advance(31);
    EXPECT_EQ(missingLoad.statistics(), Devices{});
    EXPECT_EQ(attempts, 1);

    // A recorded tree describes another machine than the one NVML would
    // see: the machine's default is no library at all.
    EXPECT_FALSE(LinuxMachine::defaultNvmlLoader(LinuxRoot(laptop.tree, true))());
}
