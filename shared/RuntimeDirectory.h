// The user's runtime folder (XDG_RUNTIME_DIR), settled before a program
// creates its application object. Qt looks the folder up while it starts a
// GUI and, when the variable is unset, warns on every start and makes up a
// folder under /tmp. A session without the variable (a console login, su,
// a container) usually still has its folder at /run/user/UID: that one is
// used when it belongs to the user. Where there is none, the warning is
// left out and the snapshot goes to the cache folder (see SharedStatsStore).
#pragma once

#include <QString>

namespace orbistat {

// Sets XDG_RUNTIME_DIR to /run/user/UID when unset and that folder is the
// user's own (a real directory, not a link, mode 0700); otherwise filters
// Qt's warning about the unset variable out of the program's messages.
void settleRuntimeDirectory();

// The folder settleRuntimeDirectory() would choose under `runRoot` (normally
// "/run/user") for `uid`; empty when it is unsuitable.
QString ownRuntimeDirectory(const QString& runRoot, unsigned uid);

} // namespace orbistat
