// The application group's store shared by both programs: a folder in the
// user's runtime directory (rewritten every tick, so it must not wear a
// disk), one file per key, replaced atomically through a temporary file and
// a rename. Nothing is synced to disk: the runtime folder lives in memory,
// and a snapshot lost in a power cut is rewritten at the next start (the
// widget treats a missing one as no data).
//
// The group is the first entry of the compiled-in list "group.orbistat", or
// of ORBISTAT_APP_GROUPS (comma separated; empty means no group) when set.
// Folder: $XDG_RUNTIME_DIR/orbistat/GROUP/ (else $XDG_CACHE_HOME/orbistat/
// GROUP/, else ~/.cache/orbistat/GROUP/), mode 0700; files mode 0600.
// Both folders of the store must be real folders owned by the user: a link
// in their place is refused, never followed, so nothing outside the store is
// ever written or re-moded. A file is replaced by renaming a new one over
// it, which also replaces a link in its place instead of writing through it.
#pragma once

#include "shared/SharedStats.h"

#include <QString>
#include <optional>
#include <string>

namespace orbistat {

// The first application group, read afresh on every call; absent when there
// is none.
std::optional<QString> applicationGroup();
// The group's store folder path (not created); absent without a group.
std::optional<QString> sharedStoreFolder();
// Whether that folder is in the runtime directory (memory-backed) rather
// than the cache folder on disk, the fallback without XDG_RUNTIME_DIR.
bool sharedStoreIsInRuntimeFolder();

inline constexpr char sharedStatsKey[] = "sharedStats";
// The file the main program touches to ask the widget host to reload.
inline constexpr char reloadFileName[] = "reload";

// Main program: encode and store under "sharedStats". Fails silently (no
// group, folder not writable, a number that is not finite); a failed save
// leaves the previous snapshot intact. Returns whether it was written.
bool saveSharedStats(const SharedStats& stats);
// Widget program: read and decode; absent when anything is missing or wrong.
std::optional<SharedStats> loadSharedStats();
// Main program: touch the reload file. Returns whether it was written.
bool requestWidgetReload();
// Main program, at start: removes the temporary files ("sharedStats.XXXXXX")
// a writer killed between writing and renaming left behind. Returns how
// many were removed.
int removeStaleTemporaryFiles();

// saveSharedStats for a caller that saves on every tick: the JSON text and
// the temporary name live in buffers kept from one save to the next, and
// the store folder is opened (made and checked) once and kept open, again
// only when a write finds it gone or the location changed.
class SharedStatsWriter {
public:
    SharedStatsWriter() = default;
    ~SharedStatsWriter();
    SharedStatsWriter(const SharedStatsWriter&) = delete;
    SharedStatsWriter& operator=(const SharedStatsWriter&) = delete;

    bool save(const SharedStats& stats);

private:
    bool reopenFolder();

    std::string json_;
    std::string folderPath_;  // encoded path of the folder below
    int folder_ = -1;         // the store folder, opened without following links
    std::string temporary_;
};

} // namespace orbistat
