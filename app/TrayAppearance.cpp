#include "app/TrayAppearance.h"

#include "ui/Theme.h"

#include <QStringList>

namespace orbistat {

Appearance trayAppearance(const QString& override, const QString& currentDesktop, Appearance desktop)
{
    if (override.compare(QLatin1String("dark"), Qt::CaseInsensitive) == 0)
        return Appearance::dark;
    if (override.compare(QLatin1String("light"), Qt::CaseInsensitive) == 0)
        return Appearance::light;
    // Top bars that stay dark in light themes.
    static constexpr const char* darkBars[] = {"GNOME", "ubuntu", "Unity", "Budgie", "Pantheon"};
    for (const auto& name : currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        for (const char* bar : darkBars) {
            if (name.compare(QLatin1String(bar), Qt::CaseInsensitive) == 0)
                return Appearance::dark;
        }
    }
    return desktop;
}

Appearance trayAppearance()
{
    return trayAppearance(qEnvironmentVariable("ORBISTAT_TRAY_APPEARANCE"), qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                          ui::systemAppearance());
}

} // namespace orbistat
