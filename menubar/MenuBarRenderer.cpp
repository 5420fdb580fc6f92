#include "menubar/MenuBarRenderer.h"

#include "core/SettingsStore.h"
#include "shared/drawing/AppFonts.h"

#include <QFontMetricsF>
#include <QHash>
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
constexpr size_t graphPoints = 24;
// Dots per metre of 72 dpi: one point is one logical pixel, so the sizes
// below are the sizes drawn.
constexpr int pointDotsPerMeter = 2835;

QImage pointImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(pointDotsPerMeter);
    image.setDotsPerMeterY(pointDotsPerMeter);
    return image;
}

// Text widths through a font's metrics, remembered: measuring shapes the
// text each time, and the tray image is laid out from the same few labels
// and values tick after tick. Bounded: rates and temperatures can bring
// many different values over a long run.
class Advances {
public:
    explicit Advances(const QFontMetricsF& metrics)
        : metrics_(metrics)
    {
    }

    double operator()(const QString& text) const
    {
        if (const auto known = widths_.constFind(text); known != widths_.constEnd())
            return *known;
        if (widths_.size() >= maxRemembered)
            widths_.clear();
        const double width = metrics_.horizontalAdvance(text);
        widths_.insert(text, width);
        return width;
    }

private:
    static constexpr qsizetype maxRemembered = 256;
    const QFontMetricsF& metrics_;
    mutable QHash<QString, double> widths_;
};

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
        , valueAdvance(valueMetrics)
        , smallValueAdvance(smallValueMetrics)
        , stackedLabelAdvance(stackedLabelMetrics)
        , inlineLabelAdvance(inlineLabelMetrics)
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
    Advances valueAdvance;
    Advances smallValueAdvance;
    Advances stackedLabelAdvance;
    Advances inlineLabelAdvance;
};

const Fonts& fonts()
{
    // Never destroyed: fonts must not outlive the application object, and a
    // process-wide set has no owner to destroy them in time.
    static const Fonts* const instance = new Fonts();
    return *instance;
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
        const double height = clampedFraction(item.fraction) * graphHeight;
        painter.drawRect(QRectF(x, fromBottom(graphBottom + height), graphWidth, height));
    } else {
        const size_t n = std::min(item.history.size(), graphPoints);
        const auto first = item.history.end() - static_cast<std::ptrdiff_t>(n);
        QPolygonF polygon;
        polygon << QPointF(x, fromBottom(graphBottom));
        for (size_t i = 0; i < n; ++i) {
            const double v = clampedFraction(*(first + static_cast<std::ptrdiff_t>(i)));
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
        drawText(painter, f.value, colours.value, x + (layout.columnWidth - f.valueAdvance(value)) / 2.0, b, value);
        drawText(painter, f.stackedLabel, colours.caption,
                 x + (layout.columnWidth - f.stackedLabelAdvance(item.label)) / 2.0, b + c1 + stackedLineGap, item.label);
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

} // namespace

bool drawsAlike(const std::vector<MenuBarItem>& a, const std::vector<MenuBarItem>& b, MenuBarStyle style)
{
    const auto itemsAlike = [style](const MenuBarItem& x, const MenuBarItem& y) {
        if (x.label != y.label || x.lines != y.lines || x.severity != y.severity || x.reference != y.reference)
            return false;
        if (style != MenuBarStyle::graph)
            return true;
        // What drawGraph() reads, clamped as it draws it.
        if ((x.history.size() < 2) != (y.history.size() < 2))
            return false;
        if (x.history.size() < 2)
            return clampedFraction(x.fraction) == clampedFraction(y.fraction);
        const size_t n = std::min(x.history.size(), graphPoints);
        if (n != std::min(y.history.size(), graphPoints))
            return false;
        return std::equal(x.history.end() - static_cast<std::ptrdiff_t>(n), x.history.end(), y.history.end() - static_cast<std::ptrdiff_t>(n),
                          [](double p, double q) { return clampedFraction(p) == clampedFraction(q); });
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), itemsAlike);
}

Layout layout(const MenuBarItem& item, MenuBarStyle style)
{
    const auto& f = fonts();
    if (style == MenuBarStyle::inline_) {
        const auto n = static_cast<double>(item.lines.size());
        const double joined = f.valueAdvance(item.lines.join(QLatin1Char(' ')));
        const double padded = n * f.valueAdvance(item.reference)
                              + std::max(n - 1.0, 0.0) * f.valueMetrics.horizontalAdvance(QLatin1Char(' '));
        Layout result;
        result.labelWidth = std::ceil(f.inlineLabelAdvance(item.label));
        result.columnWidth = std::ceil(std::max(joined, padded));
        result.total = result.labelWidth + inlineGap + result.columnWidth;
        return result;
    }
    const bool single = isSingleLine(item);
    const Advances& advance = single ? f.valueAdvance : f.smallValueAdvance;
    double widest = advance(item.reference);
    for (const auto& line : item.lines)
        widest = std::max(widest, advance(line));
    Layout result;
    result.columnWidth = std::ceil(widest);
    if (single)
        result.columnWidth = std::max(result.columnWidth, std::ceil(f.stackedLabelAdvance(item.label)));
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

} // namespace orbistat::MenuBarRenderer
