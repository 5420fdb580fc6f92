#include "widget/StatsProvider.h"

#include "shared/SharedStatsStore.h"

namespace orbistat::widget {

bool isLive(const StatsEntry& entry)
{
    if (!entry.stats || !entry.stats->updated.isValid() || !entry.date.isValid())
        return false;
    return entry.stats->updated.msecsTo(entry.date) <= snapshotLifetimeMs;
}

SharedStats makeSampleStats(const QDateTime& created)
{
    SharedStats stats;
    stats.cpu = 0.32;
    stats.memory = 0.61;
    stats.disk = 0.58;
    stats.download = 1'200'000;
    stats.upload = 80'000;
    stats.gpu = 0.18;
    stats.batteryPercent = 82;
    stats.batteryCharging = false;
    stats.cpuTemperature = 54.0;
    stats.warning = 0.75;
    stats.critical = 0.9;
    stats.updated = created;
    stats.accessories = {
        {QStringLiteral("Keyboard"), 90, false, QStringLiteral("keyboard")},
        {QStringLiteral("Mouse"), 64, false, QStringLiteral("computermouse")},
        {QStringLiteral("Earbuds"), 80, false, QStringLiteral("airpodspro")},
    };
    return stats;
}

StatsProvider::StatsProvider()
    : StatsProvider([] { return loadSharedStats(); }, [] { return QDateTime::currentDateTimeUtc(); })
{
}

StatsProvider::StatsProvider(Loader load, Now now)
    : load_(std::move(load))
    , now_(std::move(now))
{
}

const SharedStats& StatsProvider::sample() const
{
    if (!sample_)
        sample_ = makeSampleStats(now_());
    return *sample_;
}

StatsEntry StatsProvider::sampleEntry() const
{
    StatsEntry entry{now_(), sample()};
    // The sample stands for a running monitor: it must never read as stale,
    // however long the host has been running since it was built.
    if (entry.stats->updated < entry.date)
        entry.stats->updated = entry.date;
    return entry;
}

StatsEntry StatsProvider::placeholder() const
{
    return sampleEntry();
}

StatsEntry StatsProvider::snapshot(bool isPreview) const
{
    if (isPreview)
        return sampleEntry();
    return {now_(), load_()};
}

StatsTimeline StatsProvider::timeline() const
{
    const QDateTime now = now_();
    StatsTimeline timeline;
    timeline.entries.push_back({now, load_()});
    timeline.reloadAfter = now.addMSecs(timelineRefreshMs);
    return timeline;
}

} // namespace orbistat::widget
