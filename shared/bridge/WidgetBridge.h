// After every tick, writes the monitor's current values as the snapshot the
// widget program reads, and asks the widget host to reload at most once a
// minute (the first publication always asks).
//
// Without a runtime folder the store falls back to the cache folder on disk;
// there the snapshot is written only together with a reload request, at most
// once a minute, instead of every tick. The widgets read the snapshot when
// they are asked to reload, or every five minutes on their own, so they show
// the same values, and the disk is spared a write every two seconds.
#pragma once

#include "shared/SharedStats.h"
#include "shared/SharedStatsStore.h"

#include <QDateTime>
#include <functional>
#include <optional>

namespace orbistat {

class SettingsStore;
class SystemMonitor;

class WidgetBridge {
public:
    using Now = std::function<QDateTime()>;
    using Reload = std::function<bool()>;
    explicit WidgetBridge(const SettingsStore& settings, Now now = &QDateTime::currentDateTimeUtc, Reload reload = &requestWidgetReload);

    void publish(const SystemMonitor& monitor);

    // For readings of another machine (a recorded tree): they are published
    // only into a group that ORBISTAT_APP_GROUPS names, never into the one
    // compiled in, whose widgets on this desktop would show the other
    // machine as this one.
    void publishOnlyToNamedGroup(bool onlyNamed) { onlyNamedGroup_ = onlyNamed; }

    // The snapshot of the monitor's current values at `updated`; absent when
    // the values are not a snapshot (a memory sum that overflows).
    std::optional<SharedStats> snapshot(const SystemMonitor& monitor, const QDateTime& updated) const;

private:
    // Fills `stats` in place (a kept record reuses its accessory list);
    // false when the values are not a snapshot.
    bool fill(SharedStats& stats, const SystemMonitor& monitor, const QDateTime& updated) const;

    const SettingsStore& settings_;
    Now now_;
    Reload reload_;
    SharedStatsWriter writer_;
    SharedStats current_;
    std::optional<QDateTime> lastReload_;  // absent: the distant past
    bool onlyNamedGroup_ = false;
};

} // namespace orbistat
