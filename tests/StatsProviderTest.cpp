#include "doubles/WidgetStoreEnvironment.h"
#include "shared/SharedStatsStore.h"
#include "widget/StatsProvider.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::widget;

namespace {

const QDateTime t0(QDate(2026, 12, 8), QTime(3, 0), QTimeZone::utc());

SharedStats storedStats(const QDateTime& updated)
{
    SharedStats stats;
    stats.cpu = 0.5;
    stats.memory = 0.25;
    stats.updated = updated;
    stats.accessories = {{QStringLiteral("Pad"), 40, false, QStringLiteral("gamecontroller")}};
    return stats;
}

// A provider over a settable clock and a settable stored snapshot.
struct ProviderRig {
    QDateTime now = t0;
    std::optional<SharedStats> stored;
    int loads = 0;
    StatsProvider provider{[this] {
                               ++loads;
                               return stored;
                           },
                           [this] { return now; }};
};

} // namespace

TEST(StatsProvider, TimelineIsOneEntryFromTheStoreAndAsksAgainInFiveMinutes)
{
    ProviderRig rig;
    auto timeline = rig.provider.timeline();
    ASSERT_EQ(timeline.entries.size(), 1u);
    EXPECT_EQ(timeline.entries[0].date, t0);
    EXPECT_FALSE(timeline.entries[0].stats.has_value());
    EXPECT_EQ(timeline.reloadAfter, t0.addSecs(300));

    // Every timeline reads the store anew.
    rig.stored = storedStats(t0.addSecs(-2));
    rig.now = t0.addSecs(10);
    timeline = rig.provider.timeline();
    ASSERT_EQ(timeline.entries.size(), 1u);
    EXPECT_EQ(timeline.entries[0].stats, rig.stored);
    EXPECT_EQ(timeline.reloadAfter, t0.addSecs(310));
    EXPECT_EQ(rig.loads, 2);
}

TEST(StatsProvider, SnapshotIsLiveUpToExactlyFiveMinutesOld)
{
    struct Case {
        const char* what;
        qint64 ageMs;  // entry date minus snapshot date
        bool live;
    };
    const Case cases[] = {
        {"just written", 0, true},
        {"exactly 300 s", 300'000, true},
        {"300.001 s", 300'001, false},
        {"an hour", 3'600'000, false},
        {"dated after the entry (clock set back)", -3'600'000, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(isLive(StatsEntry{t0, storedStats(t0.addMSecs(-c.ageMs))}), c.live);
    }
    EXPECT_FALSE(isLive(StatsEntry{t0, std::nullopt}));
    EXPECT_FALSE(isLive(StatsEntry{t0, storedStats(QDateTime())}));
}

TEST(StatsProvider, PlaceholderAndPreviewShowTheSampleNeverTheStoredSnapshot)
{
    ProviderRig rig;
    rig.stored = storedStats(t0);

    const auto sample = makeSampleStats(t0);
    for (const auto& entry : {rig.provider.placeholder(), rig.provider.snapshot(true)}) {
        ASSERT_TRUE(entry.stats.has_value());
        EXPECT_EQ(*entry.stats, sample);
        EXPECT_TRUE(isLive(entry));
    }
    const auto real = rig.provider.snapshot(false);
    EXPECT_EQ(real.stats, rig.stored);
    EXPECT_EQ(rig.loads, 1);

    // Neutral names, no maker's product names.
    ASSERT_EQ(sample.accessories.size(), 3u);
    EXPECT_EQ(sample.accessories[0].name, QStringLiteral("Keyboard"));
    EXPECT_EQ(sample.accessories[1], (AccessoryBattery{QStringLiteral("Mouse"), 64, false, QStringLiteral("computermouse")}));
    EXPECT_EQ(sample.accessories[2].name, QStringLiteral("Earbuds"));
}

TEST(StatsProvider, SampleIsBuiltOnceAndNeverReadsAsStale)
{
    ProviderRig rig;
    const SharedStats first = rig.provider.sample();
    rig.now = t0.addSecs(3600);
    EXPECT_EQ(rig.provider.sample(), first);
    // An hour into the host's life the placeholder still shows data, not the
    // message for a stopped monitor.
    const auto entry = rig.provider.placeholder();
    EXPECT_EQ(entry.date, rig.now);
    EXPECT_TRUE(isLive(entry));
    EXPECT_EQ(entry.stats->cpu, first.cpu);
}

TEST(StatsProvider, ReadsTheSharedStoreAndNeverWritesIt)
{
    test::WidgetStoreEnvironment store;
    const StatsProvider provider;

    // No monitor has run: nothing to show, and the store is not created.
    EXPECT_FALSE(provider.timeline().entries.at(0).stats.has_value());
    EXPECT_FALSE(QDir(store.folder()).exists());

    const auto written = storedStats(QDateTime::currentDateTimeUtc());
    ASSERT_TRUE(saveSharedStats(written));
    const auto entry = provider.timeline().entries.at(0);
    ASSERT_TRUE(entry.stats.has_value());
    EXPECT_EQ(entry.stats->cpu, written.cpu);
    EXPECT_EQ(entry.stats->accessories, written.accessories);
    EXPECT_TRUE(isLive(entry));

    // A damaged snapshot gives an entry without data, never a crash.
    QFile file(store.folder() + QStringLiteral("/sharedStats"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{\"cpu\": 0.5, \"memory\":");
    file.close();
    const QStringList before = QDir(store.folder()).entryList(QDir::Files);
    EXPECT_FALSE(provider.timeline().entries.at(0).stats.has_value());
    EXPECT_FALSE(provider.snapshot(false).stats.has_value());
    EXPECT_EQ(QDir(store.folder()).entryList(QDir::Files), before);
}
