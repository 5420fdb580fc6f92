#include "alerts/AlertManager.h"
#include "core/SettingsStore.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeNotifier.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace orbistat;
using Kind = AlertManager::Kind;

namespace {

struct AlertManagerTest : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    test::FakeClock clock;
    test::FakeNotifier notifier;
    std::unique_ptr<AlertManager> alerts = std::make_unique<AlertManager>(settings, notifier, clock);

    AlertManagerTest() { settings.setValue(SettingsKey::alertsEnabled, true); }

    // One tick: the clock moves by the interval, then the alerts look.
    void tick(const MonitorReadings& readings)
    {
        clock.advance(readings.interval);
        alerts->evaluate(readings);
    }
};

BatterySample battery(int64_t percent, bool isCharging, bool isPluggedIn)
{
    BatterySample sample;
    sample.percent = percent;
    sample.isCharging = isCharging;
    sample.isPluggedIn = isPluggedIn;
    return sample;
}

MonitorReadings cpuAt(double load)
{
    MonitorReadings readings;
    readings.interval = 2.0;
    readings.cpu.total = load;
    return readings;
}

} // namespace

TEST_F(AlertManagerTest, SustainedConditionPostsOnTheFifteenthSampleThenEveryFifteenMinutes)
{
    const double start = clock.now();
    std::vector<double> postTimes;
    for (int i = 1; i <= 950; ++i) {  // 1900 s of a busy CPU
        tick(cpuAt(0.95));
        if (notifier.posted.size() > postTimes.size())
            postTimes.push_back(clock.now() - start);
        if (i == 14) {
            EXPECT_TRUE(notifier.posted.empty());
        }
    }
    EXPECT_EQ(postTimes, (std::vector<double>{30.0, 930.0, 1830.0}));
    // The held time is not reset by a post.
    EXPECT_DOUBLE_EQ(alerts->sustained().at(Kind::cpu), 1900.0);
    EXPECT_DOUBLE_EQ(alerts->lastSent().at(Kind::cpu), start + 1830.0);
    ASSERT_FALSE(notifier.posted.empty());
    EXPECT_EQ(notifier.posted[0], (Notification{"orbistat.cpu", "High CPU usage", "The CPU has been at 95% or more for a while."}));
}

TEST_F(AlertManagerTest, OneQuietSampleStartsTheCountAgain)
{
    for (int i = 0; i < 14; ++i)
        tick(cpuAt(0.95));
    tick(cpuAt(0.2));
    EXPECT_EQ(alerts->sustained().at(Kind::cpu), 0.0);
    // Every kind has an entry once evaluated, at 0 while inactive.
    EXPECT_EQ(alerts->sustained().size(), 5u);
    for (int i = 0; i < 14; ++i)
        tick(cpuAt(0.95));
    EXPECT_TRUE(notifier.posted.empty());
    tick(cpuAt(0.95));
    EXPECT_EQ(notifier.posted.size(), 1u);
}

TEST_F(AlertManagerTest, ConditionsAndTheirTexts)
{
    settings.setValue(SettingsKey::alertDuration, 0.0);  // posts on the first active sample
    const uint64_t gib = 1024ull * 1024 * 1024;
    struct Case {
        const char* name;
        std::function<void(MonitorReadings&)> set;
        std::optional<Notification> expected;
    };
    const std::vector<Case> cases = {
        {"cpu at the threshold", [](auto& r) { r.cpu.total = 0.9; }, Notification{"orbistat.cpu", "High CPU usage", "The CPU has been at 90% or more for a while."}},
        {"cpu shows the load", [](auto& r) { r.cpu.total = 0.96; }, Notification{"orbistat.cpu", "High CPU usage", "The CPU has been at 96% or more for a while."}},
        {"cpu below", [](auto& r) { r.cpu.total = 0.89; }, std::nullopt},
        {"memory full and under pressure",
         [gib](auto& r) { r.memory = MemorySample{16 * gib, 13 * gib, 2 * gib, gib / 2, 0, MemorySample::Pressure::warning}; },
         Notification{"orbistat.memory", "Memory is running low", "15.5 GB of 16 GB in use and the system is under memory pressure."}},
        {"memory full, no pressure", [gib](auto& r) { r.memory = MemorySample{16 * gib, 16 * gib, 0, 0, 0, MemorySample::Pressure::normal}; }, std::nullopt},
        {"memory pressure, not full", [gib](auto& r) { r.memory = MemorySample{16 * gib, 8 * gib, 0, 0, 0, MemorySample::Pressure::critical}; }, std::nullopt},
        {"memory counters overflow",
         [](auto& r) { r.memory = MemorySample{100, UINT64_MAX, 50, 0, 0, MemorySample::Pressure::critical}; }, std::nullopt},
        {"disk full", [](auto& r) { r.disk = DiskSample{1'000'000'000'000, 50'000'000'000, {}, {}}; },
         Notification{"orbistat.disk", "Disk almost full", "Only 50 GB free on the startup disk."}},
        {"disk 91 %", [](auto& r) { r.disk = DiskSample{1'000'000'000'000, 90'000'000'000, {}, {}}; }, std::nullopt},
        {"disk of unknown size", [](auto& r) { r.disk = DiskSample{0, 0, {}, {}}; }, std::nullopt},
        {"battery 15 % on battery", [](auto& r) { r.battery = battery(15, false, false); },
         Notification{"orbistat.battery", "Battery low", "15% left. Plug in the charger."}},
        {"battery 16 %", [](auto& r) { r.battery = battery(16, false, false); }, std::nullopt},
        {"battery 5 % plugged in", [](auto& r) { r.battery = battery(5, false, true); }, std::nullopt},
        {"battery 5 % charging", [](auto& r) { r.battery = battery(5, true, false); }, std::nullopt},
        {"hot CPU", [](auto& r) { r.sensors.cpu = 95.0; }, Notification{"orbistat.temperature", "CPU is running hot", "The CPU temperature is 95°C."}},
        {"hot CPU rounds", [](auto& r) { r.sensors.cpu = 97.5; }, Notification{"orbistat.temperature", "CPU is running hot", "The CPU temperature is 98°C."}},
        {"warm CPU", [](auto& r) { r.sensors.cpu = 94.9; }, std::nullopt},
        {"infinite reading", [](auto& r) { r.sensors.cpu = INFINITY; }, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeNotifier fresh;
        AlertManager manager(settings, fresh, clock);
        MonitorReadings readings;  // all initial: nothing active
        c.set(readings);
        manager.evaluate(readings);
        if (c.expected) {
            ASSERT_EQ(fresh.posted.size(), 1u);
            EXPECT_EQ(fresh.posted[0].identifier, c.expected->identifier);
            EXPECT_EQ(fresh.posted[0].title.toStdString(), c.expected->title.toStdString());
            EXPECT_EQ(fresh.posted[0].body.toStdString(), c.expected->body.toStdString());
        } else {
            EXPECT_TRUE(fresh.posted.empty());
        }
    }
}

TEST_F(AlertManagerTest, SwitchesAndTheMasterSwitch)
{
    settings.setValue(SettingsKey::alertDuration, 0.0);
    settings.setValue(SettingsKey::alertCPU, false);
    tick(cpuAt(1.0));
    EXPECT_TRUE(notifier.posted.empty());
    settings.setValue(SettingsKey::alertCPU, true);
    tick(cpuAt(1.0));
    ASSERT_EQ(notifier.posted.size(), 1u);

    // Off: nothing posted and nothing held, whatever the samples.
    settings.setValue(SettingsKey::alertsEnabled, false);
    MonitorReadings everything = cpuAt(1.0);
    everything.sensors.cpu = 110.0;
    everything.battery = battery(1, false, false);
    tick(everything);
    EXPECT_TRUE(alerts->sustained().empty());
    EXPECT_EQ(notifier.posted.size(), 1u);

    // On again: counts restart, but the CPU's cooldown survived.
    settings.setValue(SettingsKey::alertsEnabled, true);
    tick(everything);
    ASSERT_EQ(notifier.posted.size(), 3u);
    EXPECT_EQ(notifier.posted[1].identifier, "orbistat.battery");
    EXPECT_EQ(notifier.posted[2].identifier, "orbistat.temperature");
}

TEST_F(AlertManagerTest, TestNotificationDependsOnPermissionOnly)
{
    settings.setValue(SettingsKey::alertsEnabled, false);
    std::vector<QString> statuses;
    alerts->sendTestNotification([&](const QString& status) { statuses.push_back(status); });
    EXPECT_TRUE(statuses.empty());  // waits for the answer
    notifier.answer(true);
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0], "Test notification sent.");
    ASSERT_EQ(notifier.posted.size(), 1u);
    EXPECT_EQ(notifier.posted[0], (Notification{"orbistat.test", "Orbistat", "Notifications are working."}));
    EXPECT_EQ(alerts->lastSent().at(Kind::test), clock.now());

    // Twice in a row: no cooldown for the test.
    alerts->sendTestNotification([&](const QString& status) { statuses.push_back(status); });
    notifier.answer(true);
    EXPECT_EQ(notifier.posted.size(), 2u);

    alerts->sendTestNotification([&](const QString& status) { statuses.push_back(status); });
    notifier.answer(false);
    ASSERT_EQ(statuses.size(), 3u);
    EXPECT_EQ(statuses[2].toStdString(), "Notifications are turned off for Orbistat. Enable them in System Settings → Notifications.");
    EXPECT_EQ(notifier.posted.size(), 2u);

    // An answer that arrives after the manager is gone is dropped.
    alerts->sendTestNotification([&](const QString& status) { statuses.push_back(status); });
    alerts.reset();
    notifier.answer(true);
    EXPECT_EQ(statuses.size(), 3u);
    EXPECT_EQ(notifier.posted.size(), 2u);
}

TEST(AlertKind, RawValuesRoundTripExactly)
{
    for (const auto& info : AlertManager::kinds) {
        SCOPED_TRACE(info.rawValue);
        EXPECT_EQ(AlertManager::kindFromRaw(AlertManager::rawValue(info.kind)), info.kind);
    }
    EXPECT_FALSE(AlertManager::kindFromRaw(QStringLiteral("CPU")));
    EXPECT_FALSE(AlertManager::kindFromRaw(QString()));
}
