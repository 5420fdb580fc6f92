#include "ui/components/SeverityColor.h"

#include "menubar/MenuBarRenderer.h"

namespace orbistat::ui {

ColorRole severityColor(double fraction, const SettingsStore& settings)
{
    switch (MenuBarRenderer::severity(fraction, settings)) {
    case MenuBarSeverity::critical: return ColorRole::red;
    case MenuBarSeverity::warning: return ColorRole::orange;
    case MenuBarSeverity::normal: return ColorRole::accent;
    }
    return ColorRole::accent;
}

} // namespace orbistat::ui
