// The application group's store shared by both programs: a folder in the
// user's runtime directory (rewritten every tick, so it must not wear a
// disk), one file per key, written atomically.
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

namespace orbistat {

// The first application group, read afresh on every call; absent when there
// is none.
std::optional<QString> applicationGroup();
// The group's store folder path (not created); absent without a group.
std::optional<QString> sharedStoreFolder();

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

} // namespace orbistat
