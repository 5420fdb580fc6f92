#include "app/CommandLine.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace orbistat {

std::optional<CommandLine> parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const auto& argument = arguments[i];
        const auto nextValue = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (argument == QLatin1String("--print")) {
            line.mode = CommandLine::Mode::print;
        } else if (argument == QLatin1String("--json")) {
            line.mode = CommandLine::Mode::json;
        } else if (argument == QLatin1String("--count")) {
            const auto value = nextValue();
            bool ok = false;
            const long long count = value ? value->toLongLong(&ok) : 0;
            if (!ok || count < 1)
                return std::nullopt;
            line.count = count;
        } else if (argument == QLatin1String("--interval")) {
            const auto value = nextValue();
            bool ok = false;
            const double seconds = value ? value->toDouble(&ok) : 0.0;
            if (!ok || !std::isfinite(seconds) || seconds > 86400.0)
                return std::nullopt;
            line.interval = std::max(seconds, 0.5);
        } else if (argument == QLatin1String("--settings")) {
            line.mode = CommandLine::Mode::settings;
            // The tab is optional: a following option is not a tab name.
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1Char('-'))) {
                const auto tab = settingsTabFromRaw(arguments[++i]);
                if (!tab)
                    return std::nullopt;
                line.settingsTab = *tab;
            }
        } else if (argument == QLatin1String("--details")) {
            line.details = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.help = true;
        } else if (argument == QLatin1String("-exportScreenshots")) {
            // Without a folder after it, the program starts as usual.
            if (i + 1 < arguments.size()) {
                const QString folder = arguments[++i];
                if (!line.exportFolder)
                    line.exportFolder = folder;
            }
        } else {
            return std::nullopt;
        }
    }
    return line;
}

bool asksForSettingsWindow(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] && std::string_view(argv[i]) == "--settings")
            return true;
    }
    return false;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: orbistat [--print [--details] | --json] [--count N] [--interval SECONDS]\n"
        "       orbistat --settings [general | menuBar | popover | alerts]\n"
        "       orbistat -exportScreenshots FOLDER\n"
        "\n"
        "With a desktop session and no options, orbistat is the tray program; without\n"
        "a display it prints the tray item's text once per tick until Ctrl-C.\n"
        "\n"
        "  --print           print the tray item's text once per tick (no display needed)\n"
        "  --details         with --print, follow it with every reading\n"
        "  --json            print one JSON object of readings per tick\n"
        "  --count N         stop after N ticks\n"
        "  --interval S      sample every S seconds for this run (at least 0.5)\n"
        "  --settings [TAB]  open the settings window (on a tab); with the tray program\n"
        "                    running, its own settings window\n"
        "  -exportScreenshots FOLDER\n"
        "                    render the popover, the tray image and the settings in\n"
        "                    light and dark from demo data into FOLDER, then end\n"
        "\n"
        "ORBISTAT_SYSROOT=DIR reads a recorded machine tree instead of this machine.\n");
}

} // namespace orbistat
