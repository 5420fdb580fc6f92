#include "app/ProgramMode.h"

#include "app/HeadlessRun.h"
#include "shared/RuntimeDirectory.h"

#include <QStringList>
#include <QTextStream>
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

int runProgram(int argc, char* argv[], const DesktopModes& desktop)
{
    settleRuntimeDirectory();
    // The settings window needs a widget application and a display; with
    // the tray program running it is that program's window.
    if (asksForSettingsWindow(argc, argv))
        return desktop.settingsWindow(argc, argv);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const auto commandLine = parseCommandLine(arguments);
    if (!commandLine || commandLine->help) {
        QTextStream(commandLine ? stdout : stderr) << usageText();
        return commandLine ? 0 : 2;
    }

    switch (chooseProgramMode(*commandLine, environmentHasDisplay())) {
    case ProgramMode::headless:
        return runHeadless(argc, argv, *commandLine);
    case ProgramMode::terminal: {
        QTextStream(stderr) << terminalModeNote() << '\n';
        CommandLine printing = *commandLine;
        printing.mode = CommandLine::Mode::print;
        return runHeadless(argc, argv, printing);
    }
    case ProgramMode::tray:
        return desktop.tray(argc, argv);
    case ProgramMode::exportScreenshots:
        return desktop.exportScreenshots(argc, argv, *commandLine->exportFolder);
    case ProgramMode::settingsWindow:
        return desktop.settingsWindow(argc, argv);
    }
    return 0;
}

} // namespace orbistat
