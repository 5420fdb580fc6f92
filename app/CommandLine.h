// The command line of the orbistat program.
#pragma once

#include "ui/settings/SettingsTab.h"

#include <QStringList>
#include <optional>

namespace orbistat {

struct CommandLine {
    enum class Mode { automatic, print, json, settings };

    Mode mode = Mode::automatic;
    std::optional<long long> count;     // stop after this many ticks
    std::optional<double> interval;     // seconds, at least 0.5
    bool details = false;               // --print: every reading after the summary
    SettingsTab settingsTab = SettingsTab::general;  // --settings [TAB]
    bool help = false;
    // "-exportScreenshots FOLDER": render the pictures into the folder and
    // end. The first occurrence counts; as the last argument it is ignored.
    std::optional<QString> exportFolder;
};

// Absent for an unknown option or a malformed value.
std::optional<CommandLine> parseCommandLine(const QStringList& arguments);
// True when the arguments ask for the settings window, which needs a widget
// application (and a display) rather than the headless one.
bool asksForSettingsWindow(int argc, const char* const* argv);
QString usageText();

} // namespace orbistat
