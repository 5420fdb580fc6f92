#include "app/StatusLine.h"

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

QString networkPart(const SystemMonitor& monitor)
{
    const auto& info = monitor.networkInfo();
    if (info.kind == NetworkInfo::Kind::offline)
        return QStringLiteral("NET offline");
    QString text = QStringLiteral("NET ") + plain(info.interface.value_or(QStringLiteral("?"))) + QLatin1Char(' ')
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
    parts.append(networkPart(monitor));
    parts.append(accessoriesPart(monitor));
    return parts.join(QStringLiteral(" | "));
}

} // namespace orbistat
