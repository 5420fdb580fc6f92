// Light and dark for the QtWidgets views (popover, cards, settings window).
// A view's appearance is carried by its QPalette: the top-level widget gets
// the palette of one appearance, children inherit it, and a drawn component
// asks `appearanceOf(*this)` which of the fixed drawing palettes to use. So a
// light and a dark view can exist side by side (the screenshot export renders
// both), and nothing global has to change when the desktop switches.
//
// Sizes in the views are points where one point is one logical pixel, as on
// the desktop the layout was drawn for: fonts are therefore sized in pixels,
// independent of the screen's dots per inch.
#pragma once

#include "shared/drawing/Palette.h"

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

namespace orbistat::ui {

// The window background: white level 0.965 in light, 0.17 in dark.
QColor windowBackground(Appearance appearance);

// A complete QPalette for standard controls (check boxes, sliders, combo
// boxes, tabs) in the appearance, built from the drawing palette, so that
// controls and drawn components agree.
QPalette widgetPalette(Appearance appearance);

// Gives the widget (and through inheritance its children) the appearance's
// palette and fills its background with it.
void applyAppearance(QWidget& widget, Appearance appearance);

// The appearance a widget is shown in, read from its palette's window colour.
Appearance appearanceOf(const QWidget& widget);

// The desktop's appearance, from the application's default palette (the
// platform theme fills it from the desktop's colour scheme).
Appearance systemAppearance();

// Noto Sans at a size in points (one point = one logical pixel) and weight.
QFont uiFont(int points, QFont::Weight weight = QFont::Normal);
// The symbol font at a size in points.
QFont uiSymbolFont(int points);

} // namespace orbistat::ui
