// The measures and colours of the settings window's grouped forms, named
// once: sections of rows on a rounded panel, a title above each panel, a
// footer below it in the secondary text colour. Sizes in points.
#pragma once

#include "shared/drawing/Palette.h"

#include <QColor>
#include <QMargins>

class QWidget;

namespace orbistat::ui::form {

inline constexpr int bodyTextSize = 13;
inline constexpr int titleTextSize = 12;
inline constexpr int footerTextSize = 11;
inline constexpr int tabTextSize = 12;
inline constexpr int symbolSize = 16;

inline constexpr QMargins pageMargins{20, 8, 20, 8};
inline constexpr int sectionSpacing = 8;
inline constexpr int titleSpacing = 4;    // title to panel
inline constexpr int footerSpacing = 5;   // panel to footer
inline constexpr int footerInset = 2;     // footer text from the panel's edge
inline constexpr int rowInset = 12;       // row content from the panel's sides
inline constexpr int rowPadding = 6;      // above and below a row's content
inline constexpr double panelRadius = 8.0;
inline constexpr int blockSpacing = 3;    // caption row to its slider

// The panel behind a section's rows, its outline and the lines between rows.
QColor panelFill(Appearance appearance);
QColor panelBorder(Appearance appearance);
QColor rowSeparator(Appearance appearance);

} // namespace orbistat::ui::form
