// The timeline provider of both widgets: it hands the host entries built
// from the snapshot the monitor stores, and says when to ask again.
#pragma once

#include "shared/SharedStats.h"

#include <QDateTime>
#include <functional>
#include <optional>
#include <vector>

namespace orbistat::widget {

// One timeline entry: the instant it is for and the snapshot it shows
// (absent when none could be read).
struct StatsEntry {
    QDateTime date;
    std::optional<SharedStats> stats;
};

// The monitor writes a snapshot every tick; one older than five minutes
// means it has stopped or cannot write.
inline constexpr qint64 snapshotLifetimeMs = 300'000;
// The host asks for a new timeline this long after the last one, or sooner
// when the monitor asks for a reload.
inline constexpr qint64 timelineRefreshMs = 300'000;

// A snapshot is live for an entry when it exists and is at most five
// minutes older than the entry. One dated after the entry (the clock was
// set back) counts as live.
bool isLive(const StatsEntry& entry);

struct StatsTimeline {
    std::vector<StatsEntry> entries;
    QDateTime reloadAfter;  // ask again at this instant
};

// The fixed snapshot of the placeholder and of gallery previews, dated at
// `created`.
SharedStats makeSampleStats(const QDateTime& created);

class StatsProvider {
public:
    using Loader = std::function<std::optional<SharedStats>()>;
    using Now = std::function<QDateTime()>;

    // Reads the shared store and the system clock.
    StatsProvider();
    StatsProvider(Loader load, Now now);

    // Always the sample snapshot, never the stored one.
    StatsEntry placeholder() const;
    // The sample when previewed in a gallery, else the stored snapshot.
    StatsEntry snapshot(bool isPreview) const;
    // One entry from the stored snapshot, and a reload five minutes on.
    StatsTimeline timeline() const;

    // The sample snapshot, built on first use and kept for the provider's
    // life.
    const SharedStats& sample() const;

private:
    StatsEntry sampleEntry() const;

    Loader load_;
    Now now_;
    mutable std::optional<SharedStats> sample_;
};

} // namespace orbistat::widget
