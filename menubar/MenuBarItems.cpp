#include "menubar/MenuBarItems.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "shared/FixedDecimalText.h"

#include <QCoreApplication>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace orbistat::MenuBarRenderer {

namespace {

constexpr double networkScaleFloor = 100000.0;  // bytes per second
constexpr double temperatureScale = 110.0;      // °C drawn as a full graph
// The widest rate text below 1 GB/s: four digits and the widest unit
// letter ("↓1000K" for 999.6 kB/s is narrower, and "↓311K" or "↓250M"
// would not fit in the room of "↓99M"). The network block keeps its width
// however the rates change.
constexpr const char* widestRate = "\u21931000M";

QString tr(const char* text)
{
    return QCoreApplication::translate("MenuBarRenderer", text);
}

MenuBarItem makeItem(QString label, QStringList lines, MenuBarSeverity severity, std::vector<double> history, double fraction,
                     QString reference)
{
    return MenuBarItem{std::move(label), std::move(lines), severity, std::move(history), fraction, std::move(reference)};
}

std::optional<MenuBarItem> itemFor(MenuBarModule module, const MonitorReadings& readings, const SettingsStore& settings)
{
    switch (module) {
    case MenuBarModule::cpu: {
        const double total = readings.cpu.total;
        return makeItem(QStringLiteral("CPU"), {percentText(total)}, severity(total, settings), readings.history(MonitorHistory::cpu),
                        total, QStringLiteral("100%"));
    }
    case MenuBarModule::memory: {
        // A sum of counters that overflows is a broken sample, not a value.
        const auto used = memoryUsedFraction(readings.memory);
        if (!used)
            return std::nullopt;
        MenuBarSeverity level = MenuBarSeverity::normal;
        switch (readings.memory.pressure) {
        case MemorySample::Pressure::normal: level = MenuBarSeverity::normal; break;
        case MemorySample::Pressure::warning: level = MenuBarSeverity::warning; break;
        case MemorySample::Pressure::critical: level = MenuBarSeverity::critical; break;
        }
        return makeItem(QStringLiteral("RAM"), {percentText(*used)}, level, readings.history(MonitorHistory::memory), *used,
                        QStringLiteral("100%"));
    }
    case MenuBarModule::network: {
        const auto& downloads = readings.history(MonitorHistory::download);
        double scale = networkScaleFloor;
        if (!downloads.empty()) {
            const double largest = *std::max_element(downloads.begin(), downloads.end());
            if (largest > networkScaleFloor)
                scale = largest;
        }
        std::vector<double> history;
        history.reserve(downloads.size());
        for (const double value : downloads)
            history.push_back(std::min(value / scale, 1.0));
        const auto& network = readings.network;
        return makeItem(QStringLiteral("NET"),
                        {QString(QChar(0x2193)) + compactRate(network.download), QString(QChar(0x2191)) + compactRate(network.upload)},
                        MenuBarSeverity::normal, std::move(history), 0.0, QString::fromUtf8(widestRate));
    }
    case MenuBarModule::disk: {
        const auto used = diskUsedFraction(readings.disk);
        if (!used)
            return std::nullopt;
        const double threshold = settings.doubleValue(SettingsKey::diskAlertThreshold);
        const auto level = *used >= threshold          ? MenuBarSeverity::critical
                           : *used >= threshold - 0.07 ? MenuBarSeverity::warning
                                                       : MenuBarSeverity::normal;
        return makeItem(tr("DISK"), {percentText(*used)}, level, {}, *used, QStringLiteral("100%"));
    }
    case MenuBarModule::gpu: {
        const auto gpu = readings.gpu;
        if (!gpu)
            return std::nullopt;
        return makeItem(QStringLiteral("GPU"), {percentText(*gpu)}, severity(*gpu, settings), readings.history(MonitorHistory::gpu), *gpu,
                        QStringLiteral("100%"));
    }
    case MenuBarModule::temperature: {
        const auto celsius = readings.sensors.cpu;
        // An infinite or NaN reading has no integer part to show.
        if (!celsius || !std::isfinite(*celsius))
            return std::nullopt;
        const auto level = *celsius >= 90.0 ? MenuBarSeverity::critical
                           : *celsius >= 80.0 ? MenuBarSeverity::warning
                                              : MenuBarSeverity::normal;
        std::vector<double> history;
        for (const double value : readings.history(MonitorHistory::cpuTemperature))
            history.push_back(clampedFraction(value / temperatureScale));
        const auto whole = static_cast<long long>(std::trunc(std::clamp(*celsius, -1000.0, 1000.0)));
        return makeItem(QStringLiteral("TEMP"), {QString::number(whole) + QChar(0x00B0)}, level, std::move(history),
                        clampedFraction(*celsius / temperatureScale), QStringLiteral("100\u00B0"));
    }
    case MenuBarModule::battery: {
        const auto& battery = readings.battery;
        if (!battery)
            return std::nullopt;
        MenuBarSeverity level = MenuBarSeverity::normal;
        if (!battery->isCharging && !battery->isPluggedIn)
            level = battery->percent <= 10 ? MenuBarSeverity::critical
                    : battery->percent <= 20 ? MenuBarSeverity::warning
                                             : MenuBarSeverity::normal;
        return makeItem(battery->isCharging ? tr("CHG") : tr("BAT"), {QString::number(battery->percent) + QLatin1Char('%')}, level, {},
                        static_cast<double>(battery->percent) / 100.0, QStringLiteral("100%"));
    }
    }
    return std::nullopt;
}

} // namespace

double clampedFraction(double value)
{
    // NaN reads as 0: a bad reading must not escape the graph.
    if (!(value > 0.0))
        return 0.0;
    return std::min(value, 1.0);
}

QString percentText(double fraction)
{
    const double percent = fraction * 100.0;
    // std::round rounds halves away from zero; a value that is no number, or
    // too large for any counter, reads as 0 rather than as garbage.
    if (!std::isfinite(percent) || std::fabs(percent) > 1e15)
        return QStringLiteral("0%");
    // Digits and sign into a small buffer, then one string of the right size.
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits - 1, static_cast<long long>(std::round(percent))).ptr;
    *end++ = '%';
    return QString::fromLatin1(digits, end - digits);
}

QString compactRate(double bytesPerSecond)
{
    const double v = bytesPerSecond;
    // Negative, tiny, NaN and infinite rates all read as nothing moving.
    if (!(v >= 1000.0) || !std::isfinite(v))
        return QStringLiteral("0K");
    // "%.0fK", "%.1fM", "%.0fM", "%.1fG": ties round to even, as printf
    // does (2,500 B/s is "2K").
    if (v < 1e6)
        return fixedDecimalText(v / 1e3, 0) + QLatin1Char('K');
    if (v < 1e7)
        return fixedDecimalText(v / 1e6, 1) + QLatin1Char('M');
    if (v < 1e9)
        return fixedDecimalText(v / 1e6, 0) + QLatin1Char('M');
    return fixedDecimalText(v / 1e9, 1) + QLatin1Char('G');
}

MenuBarSeverity severity(double fraction, const SettingsStore& settings)
{
    if (settings.doubleValue(SettingsKey::criticalThreshold) <= fraction)
        return MenuBarSeverity::critical;
    if (settings.doubleValue(SettingsKey::warningThreshold) <= fraction)
        return MenuBarSeverity::warning;
    return MenuBarSeverity::normal;
}

std::vector<MenuBarItem> items(const SystemMonitor& monitor, const std::vector<MenuBarModule>& modules, const SettingsStore& settings)
{
    return items(MonitorReadings::of(monitor), modules, settings);
}

std::vector<MenuBarItem> items(const MonitorReadings& readings, const std::vector<MenuBarModule>& modules, const SettingsStore& settings)
{
    std::vector<MenuBarItem> result;
    for (const auto module : modules) {
        if (auto item = itemFor(module, readings, settings))
            result.push_back(std::move(*item));
    }
    return result;
}
QString accessibilityText(const std::vector<MenuBarItem>& items)
{
    if (items.empty())
        return QStringLiteral("Orbistat");
    QString text;
    text.reserve(32 * static_cast<qsizetype>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += QLatin1String(", ");
        text += items[i].label;
        text += QLatin1Char(' ');
        for (qsizetype line = 0; line < items[i].lines.size(); ++line) {
            if (line > 0)
                text += QLatin1Char(' ');
            text += items[i].lines[line];
        }
    }
    return text;
}

} // namespace orbistat::MenuBarRenderer
