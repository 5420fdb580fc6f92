// The desktop half of orbistat (the tray item with its popover, the settings
// window, the screenshot export) is a program of its own, orbistat-desktop,
// which orbistat becomes when a command line asks for it. The terminal modes
// then never load the widget and graphics libraries, which would cost them a
// third more memory and twice the start-up time, and which they never use.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace orbistat {

inline constexpr char desktopProgramName[] = "orbistat-desktop";

// Where the desktop program is for orbistat at `selfPath`: beside it (the
// build tree) or in ../libexec/orbistat (an installed system). Absent when
// neither is an executable file.
std::optional<std::string> desktopProgramPath(const std::string& selfPath);

// The orbistat program a desktop program at `selfPath` stands for: beside
// it, or in ../../bin; absent when there is none.
std::optional<std::string> launcherPath(const std::string& selfPath);
// What a login item starts: orbistat, also from the desktop program; the
// running program itself when no orbistat is found.
QString launcherProgramPath();

// Replaces this process with the desktop program, given the same
// arguments. Returns only when it cannot be started, with the exit status
// to end with, after saying why on standard error.
int becomeDesktopProgram(char* argv[]);

} // namespace orbistat
