#include "app/StatusLine.h"

#include "app/MonitorJson.h"
#include "menubar/MenuBarItems.h"
#include "shared/FixedDecimalText.h"

#include <QStringList>
#include <iterator>
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

// Binary units with one decimal: "13.0 GiB", "512.0 MiB", "0 B".
QString byteText(double bytes)
{
    static const char* const units[] = {"B", "KiB", "MiB", "GiB", "TiB", "PiB"};
    size_t unit = 0;
    while (bytes >= 1024.0 && unit + 1 < std::size(units)) {
        bytes /= 1024.0;
        ++unit;
    }
    if (unit == 0)
        return QStringLiteral("%1 B").arg(std::llround(bytes));
    return fixedDecimalText(bytes, 1) + QLatin1Char(' ') + QLatin1String(units[unit]);
}

QString rateText(double bytesPerSecond) { return byteText(bytesPerSecond) + QStringLiteral("/s"); }

QString memoryPart(const SystemMonitor& monitor)
{
    const auto& memory = monitor.memory();
    const auto used = memoryUsedFraction(memory);
    return QStringLiteral("RAM %1 (app %2, wired %3, compressed %4, swap %5; pressure %6)")
        .arg(used ? percent(*used) : QStringLiteral("-"), byteText(static_cast<double>(memory.app)), byteText(static_cast<double>(memory.wired)),
             byteText(static_cast<double>(memory.compressed)), byteText(static_cast<double>(memory.swapUsed)), pressureName(memory.pressure));
}

// Names come from the network and from devices; a control character in
// one (a newline in an SSID) must not break the one-line output.
QString plain(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text)
        clean.append(c.category() == QChar::Other_Control ? QChar(0xFFFD) : c);
    return clean;
}

QString throughputPart(const SystemMonitor& monitor)
{
    return QStringLiteral("NET down %1, up %2").arg(rateText(monitor.network().download), rateText(monitor.network().upload));
}

QString diskPart(const SystemMonitor& monitor)
{
    const auto& disk = monitor.disk();
    const auto used = diskUsedFraction(disk);
    QString text = QStringLiteral("DISK %1 used (%2 free)").arg(used ? percent(*used) : QStringLiteral("-"), byteText(static_cast<double>(disk.available)));
    if (disk.readRate && disk.writeRate)
        text += QStringLiteral(", read %1, write %2").arg(rateText(*disk.readRate), rateText(*disk.writeRate));
    return text;
}

QString gpuPart(const SystemMonitor& monitor)
{
    const auto gpu = monitor.gpu();
    return QStringLiteral("GPU %1").arg(gpu ? percent(*gpu) : QStringLiteral("-"));
}

// As "%.1f" writes it, like the popover's watts.
QString number(double value, int decimals = 1)
{
    return fixedDecimalText(value, decimals);
}

// Temperatures, fans and power; empty when the machine reports none.
QString sensorsPart(const SystemMonitor& monitor)
{
    const auto& sensors = monitor.sensors();
    QStringList parts;
    const std::pair<const char*, std::optional<double>> temperatures[] = {
        {"CPU", sensors.cpu}, {"hottest", sensors.cpuHottest}, {"GPU", sensors.gpu},
        {"SoC", sensors.soc}, {"SSD", sensors.ssd}, {"battery", sensors.battery},
    };
    QStringList temperatureTexts;
    for (const auto& [label, value] : temperatures) {
        if (value)
            temperatureTexts.append(QStringLiteral("%1 %2°C").arg(QLatin1String(label), number(*value)));
    }
    if (!temperatureTexts.isEmpty())
        parts.append(QStringLiteral("TEMP ") + temperatureTexts.join(QStringLiteral(", ")));
    if (!sensors.fans.empty()) {
        QStringList fans;
        for (const auto& fan : sensors.fans)
            fans.append(QStringLiteral("%1 rpm").arg(number(fan.rpm, 0)));
        parts.append(QStringLiteral("fans ") + fans.join(QStringLiteral(", ")));
    }
    const std::pair<const char*, std::optional<double>> powers[] = {
        {"system", sensors.systemPower}, {"adapter", sensors.adapterPower}, {"CPU", sensors.components.cpu},
        {"GPU", sensors.components.gpu}, {"ANE", sensors.components.ane}, {"DRAM", sensors.components.dram},
    };
    QStringList powerTexts;
    for (const auto& [label, value] : powers) {
        if (value)
            powerTexts.append(QStringLiteral("%1 %2 W").arg(QLatin1String(label), number(*value)));
    }
    if (!powerTexts.isEmpty())
        parts.append(QStringLiteral("power ") + powerTexts.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral("; "));
}

// The internal battery; empty without one.
QString batteryPart(const SystemMonitor& monitor)
{
    const auto& battery = monitor.battery();
    if (!battery)
        return {};
    QStringList details{battery->isCharging ? QStringLiteral("charging")
                            : battery->isPluggedIn ? QStringLiteral("on AC power")
                                                   : QStringLiteral("on battery")};
    if (battery->minutesRemaining)
        details.append(QStringLiteral("%1 min %2").arg(*battery->minutesRemaining).arg(battery->isCharging ? QStringLiteral("to full") : QStringLiteral("left")));
    if (battery->healthPercent)
        details.append(QStringLiteral("health %1%").arg(*battery->healthPercent));
    if (battery->cycleCount)
        details.append(QStringLiteral("%1 cycles").arg(*battery->cycleCount));
    if (battery->temperature)
        details.append(QStringLiteral("%1°C").arg(number(*battery->temperature)));
    if (battery->watts)
        details.append(QStringLiteral("%1 W").arg(number(*battery->watts)));
    return QStringLiteral("BAT %1% (%2)").arg(battery->percent).arg(details.join(QStringLiteral(", ")));
}

// The primary connection.
QString connectionPart(const SystemMonitor& monitor)
{
    const auto& info = monitor.networkInfo();
    if (info.kind == NetworkInfo::Kind::offline)
        return QStringLiteral("LINK offline");
    QString text = QStringLiteral("LINK ") + plain(info.interface.value_or(QStringLiteral("?"))) + QLatin1Char(' ')
        + networkKindName(info.kind);
    if (info.localIP)
        text += QLatin1Char(' ') + *info.localIP;
    if (info.ssid)
        text += QStringLiteral(" \"") + plain(*info.ssid) + QLatin1Char('"');
    if (info.rssi)
        text += QLatin1Char(' ') + QString::number(*info.rssi) + QStringLiteral(" dBm (") + signalQuality(info).value_or(QString()) + QLatin1Char(')');
    if (info.linkSpeedMbps)
        text += QLatin1Char(' ') + QString::number(*info.linkSpeedMbps, 'f', 0) + QStringLiteral(" Mbit/s");
    return text;
}

QString accessoriesPart(const SystemMonitor& monitor)
{
    if (monitor.accessories().empty())
        return QStringLiteral("accessories -");
    QStringList items;
    for (const auto& accessory : monitor.accessories())
        items.append(plain(accessory.name) + QLatin1Char(' ') + QString::number(accessory.percent) + QLatin1Char('%'));
    return QStringLiteral("accessories ") + items.join(QStringLiteral(", "));
}

} // namespace

QString statusLine(const SystemMonitor& monitor)
{
    QStringList parts{cpuPart(monitor)};
    parts << memoryPart(monitor) << throughputPart(monitor) << connectionPart(monitor) << diskPart(monitor) << gpuPart(monitor);
    for (const auto& part : {sensorsPart(monitor), batteryPart(monitor)})
        if (!part.isEmpty())
            parts.append(part);
    parts.append(accessoriesPart(monitor));
    return parts.join(QStringLiteral(" | "));
}

QString statusItemText(const SystemMonitor& monitor, const SettingsStore& settings)
{
    return statusItemText(MonitorReadings::of(monitor), settings);
}

QString statusItemText(const MonitorReadings& readings, const SettingsStore& settings)
{
    return MenuBarRenderer::accessibilityText(MenuBarRenderer::items(readings, settings.enabledMenuBarModules(), settings));
}

} // namespace orbistat
