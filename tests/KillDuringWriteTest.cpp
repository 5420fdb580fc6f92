// Kills with SIGKILL at random moments, while the snapshot and the settings
// are being written: what is read afterwards is always a whole record, the
// last one or the one before, never a torn one; and what a killed writer
// left behind is cleared at the next start.
//
// A few dozen kills of the real program (which writes every 0.5 s) show the
// whole path; a few hundred kills of a process doing nothing but writes put
// the kills inside the writes. ORBISTAT_HOSTILE_SCALE=N kills N times as
// often.
#include "TestPaths.h"
#include "core/SettingsStore.h"
#include "doubles/WidgetStoreEnvironment.h"
#include "shared/SharedStatsStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace orbistat;
namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// A fork of a sanitized process copies far more: fewer kills there.
constexpr int writerKills = 100;
#else
constexpr int writerKills = 300;
#endif

int scale()
{
    bool ok = false;
    const int value = qEnvironmentVariable("ORBISTAT_HOSTILE_SCALE").toInt(&ok);
    return ok && value > 0 ? value : 1;
}

int temporaryFiles(const fs::path& folder)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        count += name.rfind("sharedStats.", 0) == 0 || name.rfind("reload.", 0) == 0;
    }
    return count;
}

SharedStats record(double cpu, const QString& name)
{
    SharedStats stats;
    stats.cpu = cpu;
    stats.warning = 0.75;
    stats.critical = 0.9;
    stats.updated = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    // Long enough that a write takes more than one system call's worth.
    for (int i = 0; i < 200; ++i)
        stats.accessories.push_back({name + QString::number(i), i % 101, i % 2 == 0, QStringLiteral("keyboard")});
    return stats;
}

// How long one write takes on this machine and build (a sanitizer build is
// several times slower): the kills are spread over some forty writes.
template <typename Write>
int killWindowMicroseconds(Write write, int atLeast)
{
    const auto start = std::chrono::steady_clock::now();
    for (unsigned i = 0; i < 20; ++i)
        write(i);
    const auto each = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count() / 20;
    return std::max(atLeast, static_cast<int>(each) * 40);
}

// Runs `write` over and over in a child process and kills it after a random
// time up to `longest` microseconds; returns once the child is gone.
template <typename Write>
void killWriterAtRandom(std::mt19937& random, int longest, Write write)
{
    // Each child starts on a random one of the two records, so even a child
    // killed after its first write changes what is stored.
    const unsigned first = random() % 2;
    const pid_t child = ::fork();
    if (child == 0) {
        for (unsigned i = first;; ++i)
            write(i);
    }
    ASSERT_GT(child, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(200, longest)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace

TEST(KillDuringWrite, TheProgramKilledAtRandomLeavesAWholeSnapshotAndNoLeftovers)
{
    test::WidgetStoreEnvironment store("group.kill");
    const fs::path folder = store.runtime.filePath(QStringLiteral("orbistat/group.kill")).toStdString();
    QTemporaryDir config;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("ORBISTAT_SYSROOT"), QString::fromStdString(test::fixture("intel-hybrid-laptop/t0")));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));

    std::mt19937 random(7);
    std::optional<QDateTime> last;
    const int kills = 25 * scale();
    int newer = 0;
    for (int i = 0; i < kills; ++i) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setStandardOutputFile(QProcess::nullDevice());
        program.start(QString::fromLatin1(test::orbistatBinary()), {QStringLiteral("--print"), QStringLiteral("--interval"), QStringLiteral("0.5")});
        ASSERT_TRUE(program.waitForStarted());
        // Across the start, the first write and the next one 0.5 s later.
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 700)(random)));
        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        program.waitForFinished();

        const auto stats = loadSharedStats();
        if (!stats) {
            EXPECT_FALSE(last) << "kill " << i << " lost the snapshot";
            continue;
        }
        EXPECT_TRUE(!last || stats->updated >= *last) << "kill " << i << " brought back an older snapshot";
        newer += !last || stats->updated > *last;
        last = stats->updated;
    }
    std::cout << "[ kill ] " << kills << " kills of the program, " << newer << " of them after a newer snapshot\n";
    ASSERT_TRUE(last.has_value()) << "no run lived long enough to write";

    // A new start clears what killed writers left.
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QString::fromLatin1(test::orbistatBinary()), {QStringLiteral("--print"), QStringLiteral("--count"), QStringLiteral("1")});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(temporaryFiles(folder), 0);
    EXPECT_TRUE(loadSharedStats().has_value());
}

TEST(KillDuringWrite, ASnapshotWriterKilledInsideItsWritesNeverTearsTheRecord)
{
    test::WidgetStoreEnvironment store("group.killwrites");
    const fs::path folder = store.runtime.filePath(QStringLiteral("orbistat/group.killwrites")).toStdString();
    const SharedStats records[] = {record(0.25, QStringLiteral("even")), record(0.75, QStringLiteral("odd"))};
    ASSERT_TRUE(saveSharedStats(records[0]));

    std::mt19937 random(11);
    int leftovers = 0;
    int changes = 0;
    double last = records[0].cpu;
    const int kills = writerKills * scale();
    const auto write = [&records](unsigned n) { saveSharedStats(records[n % 2]); };
    const int window = killWindowMicroseconds(write, 3000);
    ASSERT_TRUE(saveSharedStats(records[0]));
    for (int i = 0; i < kills; ++i) {
        killWriterAtRandom(random, window, write);
        const auto loaded = loadSharedStats();
        ASSERT_TRUE(loaded.has_value()) << "kill " << i << " tore the snapshot";
        EXPECT_TRUE(*loaded == records[0] || *loaded == records[1]) << "kill " << i;
        changes += loaded->cpu != last;
        last = loaded->cpu;
        leftovers += temporaryFiles(folder);
        removeStaleTemporaryFiles();
    }
    // The writer did write between the kills, and some kills did land
    // between a write and its rename.
    std::cout << "[ kill ] " << kills << " kills of a snapshot writer (window " << window << " us), " << changes
              << " changed the record, " << leftovers << " left a temporary file\n";
    EXPECT_GT(changes, kills / 10);
    EXPECT_EQ(temporaryFiles(folder), 0);
}

TEST(KillDuringWrite, ASettingsWriterKilledInsideItsWritesKeepsEveryOtherSetting)
{
    // On a tmpfs where there is one: the fsync that ends each write costs
    // nothing there, so the kills land inside many more writes.
    QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/orbistat-kill-XXXXXX") : QString());
    const QString path = dir.filePath(QStringLiteral("Orbistat.conf"));
    {
        SettingsStore settings(path);
        settings.setValue(SettingsKey::menuBarStyle, QStringLiteral("graph"));
        settings.setValue(SettingsKey::menuBarEnabled, QStringLiteral("cpu,gpu"));
        settings.setValue(SettingsKey::updateInterval, 3.0);
    }
    // Each child makes its store afresh, as a program does.
    const auto write = [&path](unsigned n) {
        static SettingsStore* settings = new SettingsStore(path);
        settings->setValue(SettingsKey::updateInterval, n % 2 == 0 ? 4.0 : 3.0);
    };
    const int window = [&path] {
        SettingsStore settings(path);
        return killWindowMicroseconds([&settings](unsigned n) { settings.setValue(SettingsKey::updateInterval, n % 2 == 0 ? 4.0 : 3.0); },
                                      10000);
    }();
    std::mt19937 random(13);
    int changes = 0;
    double last = 3.0;
    const int kills = writerKills / 2 * scale();
    for (int i = 0; i < kills; ++i) {
        killWriterAtRandom(random, window, write);
        // QSettings guards its writes with a lock file; a writer killed in
        // the middle of clearing a stale one leaves a lock the next writer
        // waits 30 s to see as stale. The killed writer is known dead here.
        QFile::remove(path + QStringLiteral(".lock"));
        QFile::remove(path + QStringLiteral(".lock.rmlock"));
        SettingsStore settings(path);
        const double interval = settings.doubleValue(SettingsKey::updateInterval);
        EXPECT_TRUE(interval == 3.0 || interval == 4.0) << "kill " << i << ": " << interval;
        changes += interval != last;
        last = interval;
        EXPECT_EQ(settings.currentMenuBarStyle(), MenuBarStyle::graph) << "kill " << i;
        EXPECT_EQ(settings.textValue(SettingsKey::menuBarEnabled), QStringLiteral("cpu,gpu")) << "kill " << i;
    }
    std::cout << "[ kill ] " << kills << " kills of a settings writer (window " << window << " us), " << changes
              << " changed the interval\n";
    EXPECT_GT(changes, kills / 10) << "the writer wrote between the kills";
}
