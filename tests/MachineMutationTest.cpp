// Every fixture machine copied and damaged between ticks (truncated and
// random files, NULs, huge, negative and non-numbers, folders, FIFOs, links
// and devices in place of files, devices that vanish), then sampled by the
// whole monitor in process. No tick may crash or block (100 ms at most), the
// accessory worker must finish, and every published value must stay finite
// and inside its range, with a snapshot that is valid JSON.
//
// The seed is fixed (ORBISTAT_MUTATION_SEED replaces it) and the run is
// bounded; ORBISTAT_HOSTILE_SCALE=N runs N times as many trees.
#include "Blocking.h"
#include "MachineMutator.h"
#include "PublishedValues.h"
#include "TestPaths.h"
#include "TreeReplay.h"
#include "app/LinuxMachine.h"
#include "doubles/WidgetStoreEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <thread>

using namespace orbistat;
namespace fs = std::filesystem;

namespace {

constexpr int ticksPerRun = 4;
constexpr int mutationsPerTick = 2;
constexpr qint64 tickLimitMs = 100;

uint32_t environmentNumber(const char* name, uint32_t fallback)
{
    bool ok = false;
    const auto value = qEnvironmentVariable(name).toUInt(&ok);
    return ok && value > 0 ? value : fallback;
}

std::vector<std::string> machines()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(test::fixture("")))
        if (fs::is_directory(entry.path() / "t0"))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The counters advance: t1's files over the copy's, where the copy still
// has a file of its own at that place.
void advanceToT1(const std::string& machine, const fs::path& tree)
{
    const fs::path t1 = test::fixture(machine + "/t1");
    if (!fs::is_directory(t1))
        return;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(t1, error); !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file() || it->is_symlink())
            continue;
        const auto target = tree / it->path().lexically_relative(t1);
        if (fs::is_regular_file(fs::symlink_status(target)))
            fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, error);
    }
}

std::vector<fs::path> fifosIn(const fs::path& tree)
{
    std::vector<fs::path> fifos;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(tree, error); !error && it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->is_fifo(error))
            fifos.push_back(it->path());
    return fifos;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += "\n  " + line;
    return text;
}

} // namespace

TEST(MachineMutation, DamagedTreesNeitherCrashNorBlockNorPublishNonsense)
{
    test::WidgetStoreEnvironment store("group.mutation");
    const uint32_t seed = environmentNumber("ORBISTAT_MUTATION_SEED", 20240614);
    const uint32_t runsPerMachine = 2 * environmentNumber("ORBISTAT_HOSTILE_SCALE", 1);
    std::mt19937 seeds(seed);
    std::map<std::string, int> byKind;
    int runs = 0;
    qint64 slowestTickMs = 0;

    for (const auto& machine : machines()) {
        for (uint32_t run = 0; run < runsPerMachine; ++run) {
            const uint32_t runSeed = seeds();
            SCOPED_TRACE(machine + ", seed " + std::to_string(runSeed));
            QTemporaryDir dir;
            const auto tree = test::copyOfTree(dir, machine + "/t0");
            test::MachineMutator mutator(tree, runSeed);
            SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
            std::vector<std::string> log;
            {
                LinuxMachine linux(LinuxRoot(tree, true));
                SystemMonitor monitor(linux.makeSamplers(), settings, linux.clock());
                WidgetBridge bridge(settings, [] { return QDateTime::currentDateTimeUtc(); }, [] { return true; });
                for (int tick = 0; tick < ticksPerRun; ++tick) {
                    if (tick == 1)
                        advanceToT1(machine, tree);
                    for (int m = 0; tick > 0 && m < mutationsPerTick; ++m) {
                        log.push_back(mutator.mutate());
                        ++byKind[log.back().substr(0, log.back().find(':'))];
                    }
                    QElapsedTimer elapsed;
                    elapsed.start();
                    monitor.tick();
                    const auto ms = elapsed.elapsed();
                    slowestTickMs = std::max(slowestTickMs, ms);
                    EXPECT_LT(ms, tickLimitMs) << "tick " << tick << joined(log);
                    const auto broken = test::unsoundValues(monitor, bridge);
                    EXPECT_TRUE(broken.empty()) << "tick " << tick << ":" << joined(broken) << "\nafter:" << joined(log);
                    QCoreApplication::processEvents();
                }
                // The accessory worker reads device batteries of the tree: it
                // must finish too. A blocked one is set free so the test ends.
                QElapsedTimer wait;
                wait.start();
                while (monitor.isSamplingAccessories() && wait.elapsed() < 5000) {
                    QCoreApplication::processEvents();
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                EXPECT_FALSE(monitor.isSamplingAccessories()) << "the accessory refresh blocked" << joined(log);
                while (monitor.isSamplingAccessories()) {
                    test::releaseReaders(fifosIn(tree));
                    QCoreApplication::processEvents();
                }
            }
            ++runs;
        }
    }
    int total = 0;
    std::string kinds;
    for (const auto& [kind, count] : byKind) {
        total += count;
        kinds += " " + kind + ":" + std::to_string(count);
    }
    std::cout << "[ mutation ] " << runs << " runs, " << total << " mutations (" << kinds << " ), seed " << seed
              << ", slowest tick " << slowestTickMs << " ms\n";
}
