// `orbistat --settings [TAB]`: the settings window on a live monitor of this
// machine, in a program of its own that ends when the window is closed. The
// window edits the same settings file as the tray program, which follows
// every change.
#pragma once

namespace orbistat {

// Creates the widget application; returns the exit status (2 for a
// malformed command line).
int runSettingsWindow(int argc, char* argv[]);

} // namespace orbistat
