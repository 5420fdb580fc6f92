#include "ui/components/ColorRole.h"

#include <algorithm>

namespace orbistat::ui {

QColor colorOf(ColorRole role, Appearance appearance)
{
    const Palette& colours = palette(appearance);
    switch (role) {
    case ColorRole::primary: return colours.label;
    case ColorRole::secondary: return colours.secondaryLabel;
    case ColorRole::tertiary: return colours.tertiaryLabel;
    case ColorRole::quaternary: return colours.quaternaryLabel;
    case ColorRole::accent: return colours.accent;
    case ColorRole::red: return colours.red;
    case ColorRole::orange: return colours.orange;
    case ColorRole::green: return colours.green;
    case ColorRole::purple: return colours.purple;
    }
    return colours.label;
}

QColor faded(const QColor& color, double factor)
{
    QColor result = color;
    result.setAlphaF(static_cast<float>(color.alphaF() * std::clamp(factor, 0.0, 1.0)));
    return result;
}

QColor over(const QColor& bottom, const QColor& top)
{
    const double a = top.alphaF();
    auto mix = [a](double below, double above) { return above * a + below * (1.0 - a); };
    return QColor::fromRgbF(static_cast<float>(mix(bottom.redF(), top.redF())), static_cast<float>(mix(bottom.greenF(), top.greenF())),
                            static_cast<float>(mix(bottom.blueF(), top.blueF())));
}

} // namespace orbistat::ui
