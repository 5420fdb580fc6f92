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
#include <cstring>
#include <optional>

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

enum class FontRole : quint8 { value, smallValue, stackedLabel, inlineLabel };

// The four fonts, created once, with what the layout reads of them. Digits
// of Noto Sans share one advance in both embedded weights. Only Regular and
// Bold are embedded, so the medium value fonts use Regular and the semibold
// inline caption uses Bold, the nearest of the two.
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
        , valueCapHeight(valueMetrics.capHeight())
        , smallValueCapHeight(smallValueMetrics.capHeight())
        , stackedLabelCapHeight(stackedLabelMetrics.capHeight())
        , valueSpace(valueMetrics.horizontalAdvance(QLatin1Char(' ')))
    {
    }

    const QFont& font(FontRole role) const
    {
        switch (role) {
        case FontRole::value: return value;
        case FontRole::smallValue: return smallValue;
        case FontRole::stackedLabel: return stackedLabel;
        case FontRole::inlineLabel: return inlineLabel;
        }
        return value;
    }
    const QFontMetricsF& metrics(FontRole role) const
    {
        switch (role) {
        case FontRole::value: return valueMetrics;
        case FontRole::smallValue: return smallValueMetrics;
        case FontRole::stackedLabel: return stackedLabelMetrics;
        case FontRole::inlineLabel: return inlineLabelMetrics;
        }
        return valueMetrics;
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
    double valueCapHeight;
    double smallValueCapHeight;
    double stackedLabelCapHeight;
    double valueSpace;
};

const Fonts& fonts()
{
    // Never destroyed: fonts must not outlive the application object, and a
    // process-wide set has no owner to destroy them in time.
    static const Fonts* const instance = new Fonts();
    return *instance;
}

// A text drawn once and then copied. Shaping a text and blending its glyphs
// costs far more than copying its pixels, and the tray image shows the same
// captions and mostly the same values tick after tick.
//
// A stamp is the text as QPainter::drawText draws it onto a transparent
// image. Glyphs are placed to a fraction of a pixel, so a stamp holds for
// one position within a point; moved by whole points it gives the same
// pixels (glyph positions are multiples of 1/64 pixel, moved exactly), at
// any whole pixel ratio. A copy replaces what is below it, which equals the
// drawing only where nothing was drawn before: the canvas draws the text
// directly where a stamp would meet earlier ink, or when a stamp could not
// hold all of the text.
struct StampKey {
    QString text;
    FontRole role = FontRole::value;
    int ratio = 1;
    quint64 colour = 0;  // QRgba64: the pen's full precision
    double phaseX = 0.0;  // the position within its point
    double phaseY = 0.0;

    friend bool operator==(const StampKey&, const StampKey&) = default;
};

size_t qHash(const StampKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.text, static_cast<int>(key.role), key.ratio, key.colour, key.phaseX, key.phaseY);
}

struct Stamp {
    bool usable = false;  // false: the text reached the edge of the drawing
    QImage pixels;        // its ink, tightly; null when it has none
    QPoint offset;        // the ink's top left from the position's whole point, in pixels
};

class StampBook {
public:
    const Stamp& stamp(const StampKey& key, QPointF position)
    {
        if (const auto known = recent_.constFind(key); known != recent_.constEnd())
            return *known;
        // Bounded: a long run can bring many values (rates above all). The
        // stamps in use are moved on from the older generation, so a full
        // one drops only those unused since it was begun.
        Stamp stamp;
        if (const auto older = older_.constFind(key); older != older_.constEnd())
            stamp = *older;
        else
            stamp = make(key, position);
        if (recent_.size() >= perGeneration) {
            older_.swap(recent_);
            recent_.clear();
        }
        return *recent_.insert(key, std::move(stamp));
    }

private:
    static constexpr qsizetype perGeneration = 128;

    static Stamp make(const StampKey& key, QPointF position)
    {
        const auto& f = fonts();
        const QFont& font = f.font(key.role);
        const QFontMetricsF& metrics = f.metrics(key.role);
        // The drawing, in whole points around the position, with an em of
        // room on every side for ink beyond the advance and the line.
        const double em = std::ceil(font.pointSizeF()) + 1.0;
        const QPointF whole(std::floor(position.x()), std::floor(position.y()));
        const double left = whole.x() - em;
        const double top = whole.y() - std::ceil(metrics.ascent()) - em;
        const double width = std::ceil(metrics.horizontalAdvance(key.text)) + 1.0 + 2.0 * em;
        const double height = std::ceil(metrics.ascent()) + std::ceil(metrics.descent()) + 1.0 + 2.0 * em;
        QImage canvas = pointImage(static_cast<int>(width) * key.ratio, static_cast<int>(height) * key.ratio);
        canvas.setDevicePixelRatio(key.ratio);
        canvas.fill(Qt::transparent);
        {
            QPainter painter(&canvas);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            painter.translate(-left, -top);
            painter.setFont(font);
            painter.setPen(QColor::fromRgba64(QRgba64::fromRgba64(key.colour)));
            painter.drawText(position, key.text);
        }
        Stamp stamp;
        const QRect ink = inkBounds(canvas);
        if (ink.isNull()) {
            stamp.usable = true;
            return stamp;
        }
        if (ink.left() == 0 || ink.top() == 0 || ink.right() == canvas.width() - 1 || ink.bottom() == canvas.height() - 1)
            return stamp;
        stamp.usable = true;
        stamp.pixels = canvas.copy(ink);
        stamp.pixels.setDevicePixelRatio(1.0);
        stamp.offset = ink.topLeft() - QPoint(static_cast<int>(whole.x() - left) * key.ratio, static_cast<int>(whole.y() - top) * key.ratio);
        return stamp;
    }

    // The smallest rectangle holding every pixel that is not fully
    // transparent; null for none. Most rows hold none and compare whole.
    static QRect inkBounds(const QImage& image)
    {
        const int width = image.width();
        const int height = image.height();
        const std::vector<QRgb> clear(static_cast<size_t>(width), 0);
        int left = width, right = -1, top = -1, bottom = -1;
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            if (std::memcmp(row, clear.data(), clear.size() * sizeof(QRgb)) == 0)
                continue;
            if (top < 0)
                top = y;
            bottom = y;
            int first = 0;
            while (row[first] == 0)
                ++first;
            int last = width - 1;
            while (row[last] == 0)
                --last;
            left = std::min(left, first);
            right = std::max(right, last);
        }
        return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    }

    QHash<StampKey, Stamp> recent_;
    QHash<StampKey, Stamp> older_;
};

StampBook& stampBook()
{
    // Never destroyed, as the fonts it draws with.
    static StampBook* const instance = new StampBook();
    return *instance;
}

// The image being drawn: texts go in as stamps while they land on
// untouched pixels, everything else through a painter begun on first use
// (the stacked style, all stamps, needs none).
class Canvas {
public:
    Canvas(QImage& image, int ratio, TextDrawing textDrawing)
        : image_(image)
        , ratio_(ratio)
        , bits_(image.bits())
        , drawnAnywhere_(textDrawing == TextDrawing::direct)
    {
    }

    QPainter& painter()
    {
        if (!painter_) {
            painter_.emplace(&image_);
            painter_->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        }
        return *painter_;
    }

    // Marks a rectangle in points as drawn on.
    void markDrawn(const QRectF& rect)
    {
        // Anti-aliased edges reach into the pixels the rectangle touches;
        // one more on each side leaves room for rounding.
        drawn_.push_back(QRect(QPoint(static_cast<int>(std::floor(rect.left() * ratio_)) - 1, static_cast<int>(std::floor(rect.top() * ratio_)) - 1),
                               QPoint(static_cast<int>(std::ceil(rect.right() * ratio_)) + 1, static_cast<int>(std::ceil(rect.bottom() * ratio_)) + 1)));
    }

    void drawText(FontRole role, const QColor& colour, QPointF position, const QString& text)
    {
        if (!drawnAnywhere_ && stampText(role, colour, position, text))
            return;
        auto& p = painter();
        p.setFont(fonts().font(role));
        p.setPen(colour);
        // A plain-text draw at a baseline: nothing in the text is interpreted.
        p.drawText(position, text);
        // Where its ink went is not known: no copy may replace pixels after it.
        drawnAnywhere_ = true;
    }

private:
    bool stampText(FontRole role, const QColor& colour, QPointF position, const QString& text)
    {
        const QPointF whole(std::floor(position.x()), std::floor(position.y()));
        const StampKey key{text, role, ratio_, colour.rgba64(), position.x() - whole.x(), position.y() - whole.y()};
        const Stamp& stamp = stampBook().stamp(key, position);
        if (!stamp.usable)
            return false;
        if (stamp.pixels.isNull())
            return true;
        const QRect target(QPoint(static_cast<int>(whole.x()) * ratio_, static_cast<int>(whole.y()) * ratio_) + stamp.offset,
                           stamp.pixels.size());
        for (const auto& rect : drawn_) {
            if (rect.intersects(target))
                return false;
        }
        const QRect visible = target & image_.rect();
        const qsizetype stride = image_.bytesPerLine();
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            const uchar* from = stamp.pixels.constScanLine(y - target.top()) + (visible.left() - target.left()) * 4;
            std::memcpy(bits_ + y * stride + visible.left() * 4, from, static_cast<size_t>(visible.width()) * 4);
        }
        drawn_.push_back(target);
        return true;
    }

    QImage& image_;
    int ratio_;
    uchar* bits_;
    std::optional<QPainter> painter_;
    std::vector<QRect> drawn_;  // in pixels
    bool drawnAnywhere_;        // a text was drawn directly (or all are)
};

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

void drawGraph(Canvas& canvas, const MenuBarItem& item, double x, const Colours& colours)
{
    const QRectF rect(x, fromBottom(graphBottom + graphHeight), graphWidth, graphHeight);
    canvas.markDrawn(rect);
    QPainter& painter = canvas.painter();
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
        polygon.reserve(static_cast<qsizetype>(n) + 2);
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

void drawText(Canvas& canvas, FontRole role, const QColor& colour, double x, double baseline, const QString& text)
{
    canvas.drawText(role, colour, QPointF(x, fromBottom(baseline)), text);
}

void drawStacked(Canvas& canvas, const MenuBarItem& item, const Layout& layout, double x, const Colours& colours)
{
    const auto& f = fonts();
    if (isSingleLine(item)) {
        const double c1 = f.valueCapHeight;
        const double c2 = f.stackedLabelCapHeight;
        const double b = (imageHeight - (c1 + stackedLineGap + c2)) / 2.0;
        const QString value = item.lines.value(0);
        drawText(canvas, FontRole::value, colours.value, x + (layout.columnWidth - f.valueAdvance(value)) / 2.0, b, value);
        drawText(canvas, FontRole::stackedLabel, colours.caption,
                 x + (layout.columnWidth - f.stackedLabelAdvance(item.label)) / 2.0, b + c1 + stackedLineGap, item.label);
    } else {
        // Two lines (download over upload), left-aligned, no caption.
        const double c = f.smallValueCapHeight;
        const double b = (imageHeight - (2.0 * c + stackedLineGap)) / 2.0;
        drawText(canvas, FontRole::smallValue, colours.value, x, b, item.lines[1]);
        drawText(canvas, FontRole::smallValue, colours.caption, x, b + c + stackedLineGap, item.lines[0]);
    }
}

void drawInline(Canvas& canvas, const MenuBarItem& item, const Layout& layout, double x, const Colours& colours)
{
    const auto& f = fonts();
    const double baseline = (imageHeight - f.valueCapHeight) / 2.0;
    drawText(canvas, FontRole::inlineLabel, colours.caption, x, baseline, item.label);
    drawText(canvas, FontRole::value, colours.value, x + layout.labelWidth + inlineGap, baseline, item.lines.join(QLatin1Char(' ')));
}

void drawItems(Canvas& canvas, const std::vector<MenuBarItem>& items, const std::vector<Layout>& layouts, MenuBarStyle style, bool colorize,
               Appearance appearance)
{
    const double spacing = style == MenuBarStyle::inline_ ? inlineSpacing : stackedSpacing;
    const Palette& colours = palette(appearance);
    double x = 0.0;
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        const auto itemColours = coloursFor(item.severity, colorize, colours);
        switch (style) {
        case MenuBarStyle::inline_:
            drawInline(canvas, item, layouts[i], x, itemColours);
            break;
        case MenuBarStyle::graph:
            drawGraph(canvas, item, x, itemColours);
            drawStacked(canvas, item, layouts[i], x + graphAdvance, itemColours);
            break;
        case MenuBarStyle::stacked:
            drawStacked(canvas, item, layouts[i], x, itemColours);
            break;
        }
        x += layouts[i].total + spacing;
    }
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
                              + std::max(n - 1.0, 0.0) * f.valueSpace;
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

QImage render(const std::vector<MenuBarItem>& items, MenuBarStyle style, bool colorize, Appearance appearance, double pixelRatio,
              TextDrawing textDrawing)
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

    // The painter, if one was begun, ends with the canvas, before the image
    // is returned.
    {
        Canvas canvas(image, static_cast<int>(ratio), textDrawing);
        drawItems(canvas, items, layouts, style, colorize, appearance);
    }
    return image;
}

} // namespace orbistat::MenuBarRenderer
