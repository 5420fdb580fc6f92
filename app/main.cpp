// orbistat: the system monitor. With a desktop session it is the tray
// program; --print and --json (and any run without a display) write the
// readings to the terminal; -exportScreenshots FOLDER renders pictures.
//
// This program runs the terminal modes itself and links nothing of the
// widget and graphics libraries; for the tray program, the settings window
// and the export it becomes orbistat-desktop (see DesktopProgram.h).
#include "app/DesktopProgram.h"
#include "app/ProgramMode.h"

#include <QString>

using namespace orbistat;

int main(int argc, char* argv[])
{
    const auto become = [](int, char* arguments[]) { return becomeDesktopProgram(arguments); };
    const DesktopModes desktop{
        become,
        [](int, char* arguments[], const QString&) { return becomeDesktopProgram(arguments); },
        become,
    };
    return runProgram(argc, argv, desktop);
}
