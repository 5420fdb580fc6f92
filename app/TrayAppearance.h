// Which palette the tray image is drawn in. A tray item cannot ask the
// panel for its colour, so the image follows the desktop's colour scheme,
// except on desktops whose top bar is dark whatever the scheme (GNOME and
// those built on its shell or styled like it), where light text is the
// only readable choice. ORBISTAT_TRAY_APPEARANCE=light|dark overrides both
// for panels that differ from their desktop's scheme.
#pragma once

#include "shared/drawing/Palette.h"

#include <QString>

namespace orbistat {

// `override` is the variable's value, `currentDesktop` XDG_CURRENT_DESKTOP
// (a colon-separated list), `desktop` the appearance of the desktop's
// colour scheme.
Appearance trayAppearance(const QString& override, const QString& currentDesktop, Appearance desktop);

// The same, from the environment and the application's palette.
Appearance trayAppearance();

} // namespace orbistat
