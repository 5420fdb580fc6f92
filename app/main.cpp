// orbistat: the system monitor. With a desktop session it is the tray
// program; --print and --json (and any run without a display) write the
// readings to the terminal; -exportScreenshots FOLDER renders pictures.
//
// This program runs the terminal modes itself and links nothing of the
// widget and graphics libraries; for the tray program, the settings window
// and the export it becomes orbistat-desktop (see DesktopProgram.h).
#include "app/CommandLine.h"
#include "app/DesktopProgram.h"
#include "app/HeadlessRun.h"
#include "app/ProgramMode.h"
#include "shared/RuntimeDirectory.h"

#include <QStringList>
#include <QTextStream>

using namespace orbistat;

int main(int argc, char* argv[])
{
    settleRuntimeDirectory();
    // The settings window needs a widget application and a display; with
    // the tray program running it is that program's window.
    if (asksForSettingsWindow(argc, argv))
        return becomeDesktopProgram(argv);

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
    case ProgramMode::exportScreenshots:
    case ProgramMode::settingsWindow:
        return becomeDesktopProgram(argv);
    }
    return 0;
}
