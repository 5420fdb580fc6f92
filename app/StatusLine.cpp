#include "app/StatusLine.h"

#include "menubar/MenuBarRenderer.h"

#include <QStringList>
#include <cmath>

namespace orbistat {

namespace {

QString percent(double fraction)
{
    return QString::number(std::llround(fraction * 100.0)) + QLatin1Char('%');
}

QString cpuPart(const SystemMonitor& monitor)
{
    const auto& cpu = monitor.cpu();
    QStringList cores;
    for (const double core : cpu.perCore)
        cores.append(percent(core));
    return QStringLiteral("CPU %1 (user %2, system %3; cores %4)")
        .arg(percent(cpu.total), percent(cpu.user), percent(cpu.system), cores.join(QLatin1Char(' ')));
}

} // namespace

QString statusLine(const SystemMonitor& monitor)
{
    QStringList parts{cpuPart(monitor)};
    return parts.join(QStringLiteral(" | "));
}

QString statusItemText(const SystemMonitor& monitor, const SettingsStore& settings)
{
    return MenuBarRenderer::accessibilityText(MenuBarRenderer::items(monitor, settings.enabledMenuBarModules(), settings));
}

} // namespace orbistat
