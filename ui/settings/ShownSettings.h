// What the settings window shows for a stored value. A value the file holds
// that no control can show (garbage, out of range, not one of a picker's
// options) is shown as the registered default; nothing is written until the
// person changes the control.
#pragma once

#include "ui/settings/SliderBlock.h"

#include <vector>

namespace orbistat {

class SettingsStore;

namespace ui {

// The stored fraction when it lies on the grid's range (off-grid values
// included: 0.62 is shown as 62%), else the default.
double shownFraction(const SettingsStore& settings, const char* key, const FractionGrid& grid);
// The index of the option equal to the stored number, else of the default
// (-1 when the default is not an option either).
int shownOption(const SettingsStore& settings, const char* key, const std::vector<int>& options);

} // namespace ui
} // namespace orbistat
