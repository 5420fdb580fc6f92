// Parser of /proc/self/mountinfo, for the one question the disk figures
// ask of it: is "/" mounted read-only?
#pragma once

#include <optional>
#include <string_view>

namespace orbistat {

// "ID PARENT MAJ:MIN ROOT MOUNTPOINT OPTIONS [OPTIONAL...] - TYPE SOURCE
// SUPEROPTIONS": the mount at "/" that is listed last (it hides those below
// it) is read-only when its own options or its filesystem's say "ro".
// Absent when no well-formed line mounts "/".
std::optional<bool> isRootReadOnly(std::string_view mountinfo);

} // namespace orbistat
