#include "ui/settings/FormStyle.h"

namespace orbistat::ui::form {

QColor panelFill(Appearance appearance)
{
    // A step lighter than the window in both appearances, as grouped panels
    // lift off the window background.
    return appearance == Appearance::dark ? QColor(54, 54, 56) : QColor(255, 255, 255);
}

QColor panelBorder(Appearance appearance)
{
    return appearance == Appearance::dark ? QColor(255, 255, 255, 20) : QColor(0, 0, 0, 22);
}

QColor rowSeparator(Appearance appearance)
{
    return appearance == Appearance::dark ? QColor(255, 255, 255, 26) : QColor(0, 0, 0, 20);
}

} // namespace orbistat::ui::form
