// `orbistat --print`, `--json`, and the terminal mode of a session without
// a display: the monitor of this machine (or of the tree ORBISTAT_SYSROOT
// names) on a core application, one line per tick on standard output, the
// alerts and the widgets' snapshot as the tray program has them. Nothing
// here needs the widget or graphics libraries.
#pragma once

#include "app/CommandLine.h"

namespace orbistat {

// Creates the core application and runs until the last requested tick (or
// for good); returns the exit status.
int runHeadless(int argc, char* argv[], const CommandLine& commandLine);

// The organisation and application names every mode gives its application
// object; the settings file is named after them.
void nameApplication();

} // namespace orbistat
