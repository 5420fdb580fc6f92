// What `orbistat` becomes for a command line: the headless printer asked
// for with --print or --json, the screenshot export, the tray program on a
// desktop session, or, with no display to show a tray on, the terminal
// printer (said once on standard error); --settings opens the settings
// window.
#pragma once

#include "app/CommandLine.h"

namespace orbistat {

enum class ProgramMode { headless, terminal, tray, exportScreenshots, settingsWindow };

ProgramMode chooseProgramMode(const CommandLine& line, bool hasDisplay);

// A desktop session is reachable: DISPLAY or WAYLAND_DISPLAY is set, and
// QT_QPA_PLATFORM does not ask for a platform without a screen
// ("offscreen", "minimal").
bool environmentHasDisplay();

// The line the terminal mode writes to standard error.
QString terminalModeNote();

// What runs the desktop modes in this program: orbistat hands them to
// orbistat-desktop, which runs them itself.
struct DesktopModes {
    int (*tray)(int argc, char* argv[]);
    int (*exportScreenshots)(int argc, char* argv[], const QString& folder);
    int (*settingsWindow)(int argc, char* argv[]);
};

// The whole program for a command line: reads it, prints the usage when
// asked (or when it does not parse, status 2) and runs the mode it asks
// for, the terminal ones here and the desktop ones through `desktop`.
// Returns the exit status.
int runProgram(int argc, char* argv[], const DesktopModes& desktop);

} // namespace orbistat
