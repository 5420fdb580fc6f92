#include "ui/Theme.h"

#include "shared/drawing/AppFonts.h"

#include <QApplication>
#include <QWidget>

namespace orbistat::ui {

QColor windowBackground(Appearance appearance)
{
    return appearance == Appearance::dark ? QColor::fromRgbF(0.17f, 0.17f, 0.17f) : QColor::fromRgbF(0.965f, 0.965f, 0.965f);
}

QPalette widgetPalette(Appearance appearance)
{
    const Palette& colours = palette(appearance);
    const bool dark = appearance == Appearance::dark;
    const QColor window = windowBackground(appearance);
    // Opaque text colours: some styles draw text with the palette colour
    // over anti-aliased edges, where a translucent colour shows seams.
    const QColor text = dark ? QColor(235, 235, 235) : QColor(28, 28, 30);
    const QColor secondary = dark ? QColor(160, 160, 166) : QColor(120, 120, 128);
    const QColor disabledText = dark ? QColor(105, 105, 110) : QColor(175, 175, 180);
    const QColor base = dark ? QColor(30, 30, 30) : QColor(255, 255, 255);
    const QColor button = dark ? QColor(64, 64, 66) : QColor(255, 255, 255);

    QPalette result;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        result.setColor(group, QPalette::Window, window);
        result.setColor(group, QPalette::WindowText, disabled ? disabledText : text);
        result.setColor(group, QPalette::Base, base);
        result.setColor(group, QPalette::AlternateBase, dark ? QColor(38, 38, 40) : QColor(244, 244, 246));
        result.setColor(group, QPalette::Text, disabled ? disabledText : text);
        result.setColor(group, QPalette::PlaceholderText, secondary);
        result.setColor(group, QPalette::Button, button);
        result.setColor(group, QPalette::ButtonText, disabled ? disabledText : text);
        result.setColor(group, QPalette::BrightText, colours.red);
        result.setColor(group, QPalette::Highlight, disabled ? disabledText : colours.accent);
        result.setColor(group, QPalette::HighlightedText, Qt::white);
        result.setColor(group, QPalette::Link, colours.accent);
        result.setColor(group, QPalette::LinkVisited, colours.purple);
        result.setColor(group, QPalette::ToolTipBase, base);
        result.setColor(group, QPalette::ToolTipText, text);
        result.setColor(group, QPalette::Light, dark ? QColor(90, 90, 92) : QColor(255, 255, 255));
        result.setColor(group, QPalette::Midlight, dark ? QColor(76, 76, 78) : QColor(235, 235, 238));
        result.setColor(group, QPalette::Mid, dark ? QColor(58, 58, 60) : QColor(200, 200, 204));
        result.setColor(group, QPalette::Dark, dark ? QColor(20, 20, 20) : QColor(160, 160, 164));
        result.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
    }
    return result;
}

void applyAppearance(QWidget& widget, Appearance appearance)
{
    widget.setPalette(widgetPalette(appearance));
    widget.setAutoFillBackground(true);
}

Appearance appearanceOf(const QWidget& widget)
{
    return appearanceFor(widget.palette().color(QPalette::Window));
}

Appearance systemAppearance()
{
    return appearanceFor(QApplication::palette().color(QPalette::Window));
}

QFont uiFont(int points, QFont::Weight weight)
{
    QFont font = textFont(points, weight);
    font.setPixelSize(points);
    return font;
}

QFont uiSymbolFont(int points)
{
    QFont font = symbolFont(points);
    font.setPixelSize(points);
    return font;
}

} // namespace orbistat::ui
