// The colour of a fraction by the user's two thresholds: red at or above the
// critical one, orange at or above the warning one, else the accent. Both
// thresholds are read from the settings store at every call, so a change in
// the settings window recolours the popover at its next redraw.
#pragma once

#include "ui/components/ColorRole.h"

namespace orbistat {
class SettingsStore;
}

namespace orbistat::ui {

ColorRole severityColor(double fraction, const SettingsStore& settings);

} // namespace orbistat::ui
