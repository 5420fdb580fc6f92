#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeClock.h"
#include "shared/SharedStatsStore.h"
#include "shared/bridge/WidgetBridge.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

struct WidgetBridgeTest : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath("Orbistat.conf")};
    test::FakeClock clock;
    SystemMonitor monitor{MonitorSamplers{}, settings, clock};
    QDateTime now = QDateTime(QDate(2026, 12, 8), QTime(10, 0), QTimeZone::utc());
    std::vector<QDateTime> reloads;
    WidgetBridge bridge{settings, [this] { return now; }, [this] {
                            reloads.push_back(now);
                            return true;
                        }};

    void SetUp() override
    {
        qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
        qputenv("ORBISTAT_APP_GROUPS", "group.test");
    }
    void TearDown() override
    {
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_CACHE_HOME");
        qunsetenv("ORBISTAT_APP_GROUPS");
    }
};

} // namespace

TEST_F(WidgetBridgeTest, SnapshotEveryTickReloadAtMostOnceAMinute)
{
    const auto start = now;
    for (int second = 0; second <= 130; second += 2) {
        now = start.addSecs(second);
        bridge.publish(monitor);
        ASSERT_TRUE(loadSharedStats());
        EXPECT_EQ(loadSharedStats()->updated, now);
    }
    EXPECT_EQ(reloads, (std::vector<QDateTime>{start, start.addSecs(60), start.addSecs(120)}));
}

TEST_F(WidgetBridgeTest, OnDiskTheSnapshotIsWrittenWithEachReloadRequestOnly)
{
    // No runtime folder: the store falls back to the cache folder on disk.
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    ASSERT_FALSE(sharedStoreIsInRuntimeFolder());
    const auto start = now;
    for (int second = 0; second <= 130; second += 2) {
        now = start.addSecs(second);
        bridge.publish(monitor);
        const auto stored = loadSharedStats();
        ASSERT_TRUE(stored);
        // What a widget reads when asked to reload is the snapshot of that
        // very publication.
        EXPECT_EQ(stored->updated, reloads.back());
    }
    EXPECT_EQ(reloads, (std::vector<QDateTime>{start, start.addSecs(60), start.addSecs(120)}));
    EXPECT_TRUE(QFileInfo(dir.filePath("cache/orbistat/group.test/sharedStats")).isFile());
}

TEST_F(WidgetBridgeTest, ReloadNeedsFullSixtySecondsButNotAForwardClock)
{
    const auto start = now;
    bridge.publish(monitor);
    now = start.addMSecs(59900);
    bridge.publish(monitor);
    EXPECT_EQ(reloads.size(), 1u);
    // A clock set back by an hour does not hold requests back for an hour.
    now = start.addSecs(-3600);
    bridge.publish(monitor);
    EXPECT_EQ(reloads.size(), 2u);
}

TEST_F(WidgetBridgeTest, SnapshotCarriesTheMonitorValues)
{
    settings.setValue(SettingsKey::warningThreshold, 0.6);
    monitor.enterDemoMode();
    bridge.publish(monitor);
    const auto stats = loadSharedStats();
    ASSERT_TRUE(stats);
    EXPECT_DOUBLE_EQ(stats->cpu, 0.34);
    EXPECT_DOUBLE_EQ(stats->memory, 0.59375);
    EXPECT_DOUBLE_EQ(stats->disk, (994662584320.0 - 420000000000.0) / 994662584320.0);
    EXPECT_EQ(stats->gpu, 0.21);
    EXPECT_EQ(stats->batteryPercent, 82);
    EXPECT_EQ(stats->batteryCharging, false);
    EXPECT_EQ(stats->cpuTemperature, 52.0);
    EXPECT_EQ(stats->warning, 0.6);
    EXPECT_EQ(stats->critical, 0.9);
    EXPECT_EQ(stats->accessories, monitor.accessories());
}

TEST_F(WidgetBridgeTest, FreshMonitorGivesZerosAndNoOptionalKeys)
{
    bridge.publish(monitor);
    const auto stats = loadSharedStats();
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->memory, 0.0);
    EXPECT_EQ(stats->disk, 0.0);
    EXPECT_FALSE(stats->batteryPercent);
    EXPECT_FALSE(stats->batteryCharging);
    EXPECT_FALSE(stats->gpu);
    EXPECT_FALSE(stats->cpuTemperature);
}

TEST_F(WidgetBridgeTest, WithoutAGroupNothingIsWrittenNorRequested)
{
    qputenv("ORBISTAT_APP_GROUPS", "");
    bridge.publish(monitor);
    EXPECT_TRUE(reloads.empty());
    qputenv("ORBISTAT_APP_GROUPS", "group.test");
    EXPECT_FALSE(loadSharedStats());
}

TEST_F(WidgetBridgeTest, AnotherMachinesReadingsGoOnlyToAGroupNamedForThem)
{
    bridge.publishOnlyToNamedGroup(true);
    // The compiled-in group is this desktop's: nothing is written or asked.
    qunsetenv("ORBISTAT_APP_GROUPS");
    bridge.publish(monitor);
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("orbistat"))).exists());
    EXPECT_TRUE(reloads.empty());
    // An empty list names no group either.
    qputenv("ORBISTAT_APP_GROUPS", "");
    bridge.publish(monitor);
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("orbistat"))).exists());

    qputenv("ORBISTAT_APP_GROUPS", "group.test");
    bridge.publish(monitor);
    EXPECT_TRUE(loadSharedStats());
    EXPECT_EQ(reloads.size(), 1u);
}
