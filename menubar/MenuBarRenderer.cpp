#include "menubar/MenuBarRenderer.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "shared/FixedDecimalText.h"
#include "shared/drawing/AppFonts.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace orbistat::MenuBarRenderer {

namespace {

constexpr double inlineGap = 4.0;          // caption to value, inline style
constexpr double inlineSpacing = 10.0;     // between items
constexpr double stackedSpacing = 8.0;
constexpr double graphWidth = 24.0;
constexpr double graphHeight = 14.0;
constexpr double graphBottom = 4.0;
constexpr double graphAdvance = 28.0;      // graph plus its gap to the text
constexpr double graphRadius = 3.0;
constexpr double stackedLineGap = 3.0;
constexpr double networkScaleFloor = 100000.0;  // bytes per second
constexpr double temperatureScale = 110.0;      // °C drawn as a full graph
constexpr size_t graphPoints = 24;
// The widest rate text below 1 GB/s: four digits and the widest unit
// letter ("↓1000K" for 999.6 kB/s is narrower, and "↓311K" or "↓250M"
// would not fit in the room of "↓99M"). The network block keeps its width
// however the rates change.
constexpr const char* widestRate = "\u21931000M";

// Dots per metre of 72 dpi: one point is one logical pixel, so the sizes
// below are the sizes drawn.
constexpr int pointDotsPerMeter = 2835;

double clamp01(double value)
{
    // NaN reads as 0: a bad reading must not escape the graph.
    if (!(value > 0.0))
        return 0.0;
    return std::min(value, 1.0);
}

QImage pointImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(pointDotsPerMeter);
    image.setDotsPerMeterY(pointDotsPerMeter);
    return image;
}

// The four fonts, created once. Digits of Noto Sans share one advance in
// both embedded weights. Only Regular and Bold are embedded, so the medium
// value fonts use Regular and the semibold inline caption uses Bold, the
// nearest of the two.
struct Fonts {
    Fonts()
        : device(pointImage(1, 1))
        , value(textFont(11.5, QFont::Normal))
        , smallValue(textFont(9.5, QFont::Normal))
        , stackedLabel(textFont(7.5, QFont::Bold))
        , inlineLabel(textFont(9.0, QFont::Bold))
        , valueMetrics(value, &device)
        , smallValueMetrics(smallValue, &device)
        , stackedLabelMetrics(stackedLabel, &device)
        , inlineLabelMetrics(inlineLabel, &device)
    {
    }

    QImage device;
    QFont value;
    QFont smallValue;
    QFont stackedLabel;
    QFont inlineLabel;
    QFontMetricsF valueMetrics;
    QFontMetricsF smallValueMetrics;
    QFontMetricsF stackedLabelMetrics;
    QFontMetricsF inlineLabelMetrics;
};

const Fonts& fonts()
{
    // Never destroyed: fonts must not outlive the application object, and a
    // process-wide set has no owner to destroy them in time.
    static const Fonts* const instance = new Fonts();
    return *instance;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("MenuBarRenderer", text);
}

struct Colours {
    QColor value;
    QColor caption;
    QColor graphBackground;
    QColor graphFill;
};

Colours coloursFor(MenuBarSeverity severity, bool colorize, const Palette& palette)
{
    std::optional<QColor> alert;
    if (colorize && severity == MenuBarSeverity::warning)
        alert = palette.orange;
    else if (colorize && severity == MenuBarSeverity::critical)
        alert = palette.red;
    return Colours{
        alert.value_or(palette.label),
        withAlpha(palette.label, 0.6),
        withAlpha(palette.label, 0.14),
        alert.value_or(withAlpha(palette.label, 0.7)),
    };
}

bool isSingleLine(const MenuBarItem& item)
{
    return item.lines.size() <= 1;
}

// Qt's y grows downwards; the positions here are measured from the bottom
// edge of the image.
double fromBottom(double y)
{
    return imageHeight - y;
}

void drawGraph(QPainter& painter, const MenuBarItem& item, double x, const Colours& colours)
{
    const QRectF rect(x, fromBottom(graphBottom + graphHeight), graphWidth, graphHeight);
    QPainterPath background;
    background.addRoundedRect(rect, graphRadius, graphRadius);
    painter.save();
    painter.fillPath(background, colours.graphBackground);
    painter.setClipPath(background);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.graphFill);
    if (item.history.size() < 2) {
        const double height = clamp01(item.fraction) * graphHeight;
        painter.drawRect(QRectF(x, fromBottom(graphBottom + height), graphWidth, height));
    } else {
        const size_t n = std::min(item.history.size(), graphPoints);
        const auto first = item.history.end() - static_cast<std::ptrdiff_t>(n);
        QPolygonF polygon;
        polygon << QPointF(x, fromBottom(graphBottom));
        for (size_t i = 0; i < n; ++i) {
            const double v = clamp01(*(first + static_cast<std::ptrdiff_t>(i)));
            polygon << QPointF(x + static_cast<double>(i) * graphWidth / static_cast<double>(n - 1),
                               fromBottom(graphBottom + v * graphHeight));
        }
        polygon << QPointF(x + graphWidth, fromBottom(graphBottom));
        painter.drawPolygon(polygon);
    }
    painter.restore();
}

void drawText(QPainter& painter, const QFont& font, const QColor& colour, double x, double baseline, const QString& text)
{
    painter.setFont(font);
    painter.setPen(colour);
    // A plain-text draw at a baseline: nothing in the text is interpreted.
    painter.drawText(QPointF(x, fromBottom(baseline)), text);
}

void drawStacked(QPainter& painter, const MenuBarItem& item, const Layout& layout, double x, const Colours& colours)
{
    const auto& f = fonts();
    if (isSingleLine(item)) {
        const double c1 = f.valueMetrics.capHeight();
        const double c2 = f.stackedLabelMetrics.capHeight();
        const double b = (imageHeight - (c1 + stackedLineGap + c2)) / 2.0;
        const QString value = item.lines.value(0);
        drawText(painter, f.value, colours.value, x + (layout.columnWidth - f.valueMetrics.horizontalAdvance(value)) / 2.0, b, value);
        drawText(painter, f.stackedLabel, colours.caption,
                 x + (layout.columnWidth - f.stackedLabelMetrics.horizontalAdvance(item.label)) / 2.0, b + c1 + stackedLineGap, item.label);
    } else {
        // Two lines (download over upload), left-aligned, no caption.
        const double c = f.smallValueMetrics.capHeight();
        const double b = (imageHeight - (2.0 * c + stackedLineGap)) / 2.0;
        drawText(painter, f.smallValue, colours.value, x, b, item.lines[1]);
        drawText(painter, f.smallValue, colours.caption, x, b + c + stackedLineGap, item.lines[0]);
    }
}

void drawInline(QPainter& painter, const MenuBarItem& item, const Layout& layout, double x, const Colours& colours)
{
    const auto& f = fonts();
    const double baseline = (imageHeight - f.valueMetrics.capHeight()) / 2.0;
    drawText(painter, f.inlineLabel, colours.caption, x, baseline, item.label);
    drawText(painter, f.value, colours.value, x + layout.labelWidth + inlineGap, baseline, item.lines.join(QLatin1Char(' ')));
}

MenuBarItem makeItem(QString label, QStringList lines, MenuBarSeverity severity, std::vector<double> history, double fraction,
                     const char* reference)
{
    return MenuBarItem{std::move(label), std::move(lines), severity, std::move(history), fraction, QString::fromUtf8(reference)};
}

std::optional<MenuBarItem> itemFor(MenuBarModule module, const MonitorReadings& readings, const SettingsStore& settings)
{
    switch (module) {
    case MenuBarModule::cpu: {
        const double total = readings.cpu.total;
        return makeItem(QStringLiteral("CPU"), {percentText(total)}, severity(total, settings), readings.history(MonitorHistory::cpu),
                        total, "100%");
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
        return makeItem(QStringLiteral("RAM"), {percentText(*used)}, level, readings.history(MonitorHistory::memory), *used, "100%");
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
                        MenuBarSeverity::normal, std::move(history), 0.0, widestRate);
    }
    case MenuBarModule::disk: {
        const auto used = diskUsedFraction(readings.disk);
        if (!used)
            return std::nullopt;
        const double threshold = settings.doubleValue(SettingsKey::diskAlertThreshold);
        const auto level = *used >= threshold          ? MenuBarSeverity::critical
                           : *used >= threshold - 0.07 ? MenuBarSeverity::warning
                                                       : MenuBarSeverity::normal;
        return makeItem(tr("DISK"), {percentText(*used)}, level, {}, *used, "100%");
    }
    case MenuBarModule::gpu: {
        const auto gpu = readings.gpu;
        if (!gpu)
            return std::nullopt;
        return makeItem(QStringLiteral("GPU"), {percentText(*gpu)}, severity(*gpu, settings), readings.history(MonitorHistory::gpu), *gpu,
                        "100%");
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
            history.push_back(clamp01(value / temperatureScale));
        const auto whole = static_cast<long long>(std::trunc(std::clamp(*celsius, -1000.0, 1000.0)));
        return makeItem(QStringLiteral("TEMP"), {QString::number(whole) + QChar(0x00B0)}, level, std::move(history),
                        clamp01(*celsius / temperatureScale), "100\u00B0");
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
                        static_cast<double>(battery->percent) / 100.0, "100%");
    }
    }
    return std::nullopt;
}

} // namespace

QString percentText(double fraction)
{
    const double percent = fraction * 100.0;
    // std::round rounds halves away from zero; a value that is no number, or
    // too large for any counter, reads as 0 rather than as garbage.
    if (!std::isfinite(percent) || std::fabs(percent) > 1e15)
        return QStringLiteral("0%");
    return QString::number(static_cast<long long>(std::round(percent))) + QLatin1Char('%');
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

Layout layout(const MenuBarItem& item, MenuBarStyle style)
{
    const auto& f = fonts();
    if (style == MenuBarStyle::inline_) {
        const auto n = static_cast<double>(item.lines.size());
        const double joined = f.valueMetrics.horizontalAdvance(item.lines.join(QLatin1Char(' ')));
        const double padded = n * f.valueMetrics.horizontalAdvance(item.reference)
                              + std::max(n - 1.0, 0.0) * f.valueMetrics.horizontalAdvance(QLatin1Char(' '));
        Layout result;
        result.labelWidth = std::ceil(f.inlineLabelMetrics.horizontalAdvance(item.label));
        result.columnWidth = std::ceil(std::max(joined, padded));
        result.total = result.labelWidth + inlineGap + result.columnWidth;
        return result;
    }
    const bool single = isSingleLine(item);
    const QFontMetricsF& metrics = single ? f.valueMetrics : f.smallValueMetrics;
    double widest = metrics.horizontalAdvance(item.reference);
    for (const auto& line : item.lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    Layout result;
    result.columnWidth = std::ceil(widest);
    if (single)
        result.columnWidth = std::max(result.columnWidth, std::ceil(f.stackedLabelMetrics.horizontalAdvance(item.label)));
    result.total = result.columnWidth + (style == MenuBarStyle::graph ? graphAdvance : 0.0);
    return result;
}

QImage render(const std::vector<MenuBarItem>& items, MenuBarStyle style, bool colorize, Appearance appearance, double pixelRatio)
{
    // Whole pixels per point only: fractional ratios blur every edge.
    const double ratio = std::clamp(std::round(std::isfinite(pixelRatio) ? pixelRatio : devicePixelRatio), 1.0, 4.0);
    const double spacing = style == MenuBarStyle::inline_ ? inlineSpacing : stackedSpacing;
    std::vector<Layout> layouts;
    layouts.reserve(items.size());
    double sum = 0.0;
    for (const auto& item : items) {
        layouts.push_back(layout(item, style));
        sum += layouts.back().total;
    }
    if (!items.empty())
        sum += spacing * static_cast<double>(items.size() - 1);
    const double width = std::max(std::ceil(sum), 1.0);

    QImage image = pointImage(static_cast<int>(width * ratio), static_cast<int>(imageHeight * ratio));
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const Palette& colours = palette(appearance);
    double x = 0.0;
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        const auto itemColours = coloursFor(item.severity, colorize, colours);
        switch (style) {
        case MenuBarStyle::inline_:
            drawInline(painter, item, layouts[i], x, itemColours);
            break;
        case MenuBarStyle::graph:
            drawGraph(painter, item, x, itemColours);
            drawStacked(painter, item, layouts[i], x + graphAdvance, itemColours);
            break;
        case MenuBarStyle::stacked:
            drawStacked(painter, item, layouts[i], x, itemColours);
            break;
        }
        x += layouts[i].total + spacing;
    }
    painter.end();
    return image;
}

QString accessibilityText(const std::vector<MenuBarItem>& items)
{
    if (items.empty())
        return QStringLiteral("Orbistat");
    QStringList entries;
    for (const auto& item : items)
        entries.append(item.label + QLatin1Char(' ') + item.lines.join(QLatin1Char(' ')));
    return entries.join(QStringLiteral(", "));
}

} // namespace orbistat::MenuBarRenderer
