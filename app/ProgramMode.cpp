#include "app/ProgramMode.h"

#include <QtGlobal>

namespace orbistat {

ProgramMode chooseProgramMode(const CommandLine& line, bool hasDisplay)
{
    if (line.exportFolder)
        return ProgramMode::exportScreenshots;
    if (line.mode == CommandLine::Mode::settings)
        return ProgramMode::settingsWindow;
    if (line.mode != CommandLine::Mode::automatic)
        return ProgramMode::headless;
    // --count and --interval alone ask for a run that ends or a pace: a
    // terminal run, with or without a display.
    if (line.count || line.interval || line.details)
        return ProgramMode::headless;
    return hasDisplay ? ProgramMode::tray : ProgramMode::terminal;
}

bool environmentHasDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal"))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString terminalModeNote()
{
    return QStringLiteral("orbistat: no display, so no tray: printing the readings here until Ctrl-C (see --help)");
}

} // namespace orbistat
