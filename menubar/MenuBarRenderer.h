// Draws the tray image: one compact block per enabled module, side by side,
// inline ("CPU 34%"), stacked (value over a small caption) or with a small
// graph in front of the stacked block. Pure: values in, image out (the items
// and their texts come from MenuBarItems). Sizes are in points; the image is
// 22 points high at two pixels per point, so it stays sharp on scaled panels.
#pragma once

#include "core/MenuBarStyle.h"
#include "menubar/MenuBarItem.h"
#include "menubar/MenuBarItems.h"
#include "shared/drawing/Palette.h"

#include <QImage>
#include <QString>
#include <vector>

namespace orbistat {

namespace MenuBarRenderer {

inline constexpr double imageHeight = 22.0;
inline constexpr double devicePixelRatio = 2.0;

struct Layout {
    double columnWidth = 0.0;  // the value column
    double labelWidth = 0.0;   // the caption in front (inline style only)
    double total = 0.0;        // the whole block

    friend bool operator==(const Layout&, const Layout&) = default;
};

Layout layout(const MenuBarItem& item, MenuBarStyle style);

// Whether two lists of items give the same image in this style: the same
// texts, severities and reference widths, and in the graph style the same
// graph as drawn (the last points of the history, or the fraction while
// there are fewer than two). A new history point in the other styles draws
// nothing new, so a tray can skip the drawing.
bool drawsAlike(const std::vector<MenuBarItem>& a, const std::vector<MenuBarItem>& b, MenuBarStyle style);

// How the texts reach the image: drawn once and then copied wherever they
// land on untouched pixels (the default), or drawn every time. Both give
// the same pixels.
enum class TextDrawing { stamped, direct };

// The colours come from the palette of the panel the image is shown on. Two
// pixels per point by default; a tray that also wants a 1× image asks for
// a ratio of 1.
QImage render(const std::vector<MenuBarItem>& items, MenuBarStyle style, bool colorize, Appearance appearance,
              double pixelRatio = devicePixelRatio, TextDrawing textDrawing = TextDrawing::stamped);

} // namespace MenuBarRenderer

} // namespace orbistat
