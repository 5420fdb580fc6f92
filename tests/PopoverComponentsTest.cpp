// The drawn components of the popover, rendered off screen and checked at
// known pixels: ring, per-core bars, segmented bar, chart, rows and labels.
#include "PopoverFixture.h"
#include "PopoverPixels.h"
#include "ui/OffscreenRender.h"
#include "ui/Theme.h"
#include "ui/components/CoreBars.h"
#include "ui/components/RingGauge.h"
#include "ui/components/SegmentedBar.h"
#include "ui/components/Sparkline.h"
#include "ui/components/StatRow.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TextLabel.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace orbistat;
using namespace orbistat::ui;
using test::pixelIs;
using test::seenOver;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// A window of the appearance holding one component at a fixed place.
struct Host {
    explicit Host(Appearance appearance = Appearance::light) { applyAppearance(window, appearance); }

    template <typename Component>
    Component* place(Component* component, QRect geometry)
    {
        component->setParent(&window);
        component->setGeometry(geometry);
        return component;
    }
    QImage render(QSize size, double scale = 2.0) { return renderWidget(window, size, scale); }
    QColor background() const { return windowBackground(appearanceOf(window)); }
    QColor color(ColorRole role) const { return colorOf(role, appearanceOf(window)); }

    QWidget window;
};

QString accessibleText(QWidget* widget, QAccessible::Text kind)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(kind) : QString();
}

} // namespace

TEST(RingGauge, TrimStartsAtTwelveAndRunsClockwiseInTheSeverityColour)
{
    test::PopoverFixture fixture;
    struct Case {
        double fraction;
        ColorRole color;
        bool threeOClock;  // trimmed a quarter of the way round
        bool nineOClock;   // three quarters (or within the round cap of it)
        const char* text;
    };
    const Case cases[] = {
        {0.37, ColorRole::accent, true, false, "37%"}, {0.74, ColorRole::accent, true, true, "74%"},
        {0.75, ColorRole::orange, true, true, "75%"},  {0.9, ColorRole::red, true, true, "90%"},
        {1.3, ColorRole::red, true, true, "100%"},     {-0.2, ColorRole::accent, false, false, "0%"},
        {notANumber, ColorRole::accent, false, false, "0%"},
    };
    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.fraction);
            Host host(appearance);
            auto* ring = host.place(new RingGauge(fixture.settings, 9.0, 76), QRect(0, 0, 76, 76));
            ring->setFraction(c.fraction);
            EXPECT_EQ(ring->color(), c.color);
            EXPECT_EQ(accessibleText(ring, QAccessible::Value), QString::fromLatin1(c.text));
            const QImage image = host.render(QSize(76, 76));
            // The stroke's middle runs on the circle of radius 33.5 about (38, 38).
            const QColor track = seenOver(host.background(), host.color(ColorRole::quaternary));
            const QColor trim = host.color(c.color);
            const bool anyTrim = c.threeOClock;
            EXPECT_TRUE(pixelIs(image, QPoint(78, 9), anyTrim ? trim : track));   // just right of 12 o'clock
            EXPECT_TRUE(pixelIs(image, QPoint(143, 76), c.threeOClock ? trim : track));
            EXPECT_TRUE(pixelIs(image, QPoint(76, 143), anyTrim && c.fraction > 0.5 ? trim : track));
            EXPECT_TRUE(pixelIs(image, QPoint(9, 76), c.nineOClock ? trim : track));
            // The middle is the percentage, not ring.
            EXPECT_TRUE(pixelIs(image, QPoint(76, 40), host.background()));
        }
    }
}

TEST(RingGauge, MovesOnlyWhileSeenAndStopsItsTimerWhenSettledOrHidden)
{
    test::PopoverFixture fixture;
    QWidget window;
    applyAppearance(window, Appearance::light);
    auto* ring = new RingGauge(fixture.settings, 9.0, 76, &window);
    ring->setGeometry(0, 0, 76, 76);

    // Not on screen: a new value is shown at once.
    ring->setFraction(0.2);
    EXPECT_FALSE(ring->isAnimating());
    EXPECT_DOUBLE_EQ(ring->shownFraction(), 0.2);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ring->repaint();
    ring->setFraction(0.8);
    EXPECT_TRUE(ring->isAnimating());
    EXPECT_DOUBLE_EQ(ring->fraction(), 0.8);
    EXPECT_LT(ring->shownFraction(), 0.8);
    // A critically damped spring of 0.4 s has arrived within a second and
    // never passed its target on the way.
    double highest = 0.0;
    QElapsedTimer clock;
    clock.start();
    while (ring->isAnimating() && clock.elapsed() < 3000) {
        QTest::qWait(5);
        highest = std::max(highest, ring->shownFraction());
    }
    EXPECT_FALSE(ring->isAnimating());
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_DOUBLE_EQ(ring->shownFraction(), 0.8);
    EXPECT_LE(highest, 0.8);

    // Hiding a moving ring ends the movement.
    ring->setFraction(0.1);
    EXPECT_TRUE(ring->isAnimating());
    window.hide();
    EXPECT_FALSE(ring->isAnimating());
    EXPECT_DOUBLE_EQ(ring->shownFraction(), 0.1);
}

TEST(CoreBars, IdleProcessorsKeepAStubAndBusyOnesFillInTheirColour)
{
    test::PopoverFixture fixture;
    Host host;
    auto* bars = host.place(new CoreBars(fixture.settings), QRect(0, 0, 292, 30));
    const std::vector<double> values{0.0, 0.95, 0.5, 0.8, notANumber, -inf, inf, 7.0};
    bars->setValues(&values);
    ASSERT_EQ(bars->count(), values.size());
    const QImage image = host.render(QSize(292, 30));

    const double w = 292.0;
    const double barWidth = (w - 3.0 * 7) / 8;
    for (size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(i);
        const QRectF track = bars->trackRect(i, w);
        EXPECT_NEAR(track.width(), barWidth, 1e-9);
        EXPECT_NEAR(track.x(), i * (barWidth + 3.0), 1e-9);
        const QRectF fill = bars->fillRect(i, w);
        EXPECT_TRUE(std::isfinite(fill.top()) && std::isfinite(fill.height()));
        EXPECT_GE(fill.height(), 3.0);
        EXPECT_LE(fill.height(), 30.0);
    }
    // Idle: a 3-point stub in the accent colour, track above it.
    EXPECT_DOUBLE_EQ(bars->fillRect(0, w).height(), 3.0);
    EXPECT_EQ(bars->barColor(0), ColorRole::accent);
    const int x0 = static_cast<int>(std::lround(barWidth)); // middle of bar 0 at 2×
    EXPECT_TRUE(pixelIs(image, QPoint(x0, 58), host.color(ColorRole::accent)));
    EXPECT_TRUE(pixelIs(image, QPoint(x0, 40), seenOver(host.background(), host.color(ColorRole::quaternary))));
    // 95 %: nearly full and red.
    EXPECT_NEAR(bars->fillRect(1, w).height(), 28.5, 1e-9);
    EXPECT_EQ(bars->barColor(1), ColorRole::red);
    const int x1 = static_cast<int>(std::lround((barWidth + 3.0 + barWidth / 2) * 2));
    EXPECT_TRUE(pixelIs(image, QPoint(x1, 8), host.color(ColorRole::red)));
    EXPECT_EQ(bars->barColor(3), ColorRole::orange);
    // Values that are no numbers (infinities too) read as idle; above 1 as
    // full.
    EXPECT_DOUBLE_EQ(bars->fillRect(4, w).height(), 3.0);
    EXPECT_DOUBLE_EQ(bars->fillRect(5, w).height(), 3.0);
    EXPECT_DOUBLE_EQ(bars->fillRect(6, w).height(), 3.0);
    EXPECT_DOUBLE_EQ(bars->fillRect(7, w).height(), 30.0);
    EXPECT_EQ(accessibleText(bars, QAccessible::Value), QStringLiteral("0%, 95%, 50%, 80%, 0%, 0%, 0%, 100%"));
}

TEST(CoreBars, SoManyProcessorsThatGapsWouldLeaveNoBarStillDrawEveryBar)
{
    test::PopoverFixture fixture;
    CoreBars bars(fixture.settings);
    const std::vector<double> values(256, 0.5);
    bars.setValues(&values);
    const double w = 292.0;
    for (const size_t i : {size_t{0}, size_t{100}, size_t{255}}) {
        const QRectF track = bars.trackRect(i, w);
        EXPECT_GE(track.width(), 1.0 - 1e-9);
        EXPECT_LE(track.right(), w + 1e-9);
    }
}

TEST(SegmentedBar, SharesAreClampedAndEachLeavesATwoPointGap)
{
    Host host;
    auto* bar = host.place(new SegmentedBar, QRect(0, 0, 200, 8));
    const QColor track = seenOver(host.background(), host.color(ColorRole::quaternary));

    bar->setFraction(1.0, ColorRole::accent);
    QImage image = host.render(QSize(200, 8), 1.0);
    EXPECT_DOUBLE_EQ(bar->segmentRect(0, 200).width(), 198.0);
    EXPECT_TRUE(pixelIs(image, QPoint(100, 4), host.color(ColorRole::accent)));
    EXPECT_TRUE(pixelIs(image, QPoint(198, 4), track));  // the last 2 points stay track

    for (const double odd : {0.0, -0.5, notANumber, -inf}) {
        SCOPED_TRACE(odd);
        bar->setFraction(odd, ColorRole::accent);
        EXPECT_DOUBLE_EQ(bar->segmentRect(0, 200).width(), 0.0);
    }
    image = host.render(QSize(200, 8), 1.0);
    EXPECT_TRUE(pixelIs(image, QPoint(1, 4), track));

    // Three shares: each starts 2 after the previous one ends; a share above
    // the whole is clamped and the bar never draws past its end.
    bar->setSegments({{0.5, ColorRole::accent}, {0.25, ColorRole::orange}, {10.0, ColorRole::purple}});
    EXPECT_DOUBLE_EQ(bar->segmentRect(0, 200).width(), 98.0);
    EXPECT_DOUBLE_EQ(bar->segmentRect(1, 200).x(), 100.0);
    EXPECT_DOUBLE_EQ(bar->segmentRect(1, 200).width(), 48.0);
    EXPECT_DOUBLE_EQ(bar->segmentRect(2, 200).x(), 150.0);
    image = host.render(QSize(200, 8), 1.0);
    EXPECT_TRUE(pixelIs(image, QPoint(99, 4), track));  // the gap
    EXPECT_TRUE(pixelIs(image, QPoint(120, 4), host.color(ColorRole::orange)));
    EXPECT_TRUE(pixelIs(image, QPoint(199, 4), host.color(ColorRole::purple)));
    EXPECT_EQ(accessibleText(bar, QAccessible::Value), QStringLiteral("100%"));
}

TEST(Sparkline, FixedHorizontalScaleAndTheTopOfTheVerticalOne)
{
    Sparkline chart;
    const QSizeF size(295, 34);
    std::vector<double> values;
    chart.setValues(&values);
    chart.setMinimumScale(10000.0);
    EXPECT_TRUE(chart.linePath(size).isEmpty());
    EXPECT_EQ(chart.sizeHint().height(), 34);

    // All zero, no maximum: the scale is 0 … minimumScale.
    values.assign(60, 0.0);
    EXPECT_DOUBLE_EQ(chart.top(), 10000.0);
    values[10] = 40000.0;
    EXPECT_DOUBLE_EQ(chart.top(), 40000.0);
    chart.setMaximum(1.0);
    EXPECT_DOUBLE_EQ(chart.top(), 1.0);
    chart.setMaximum(notANumber);
    EXPECT_DOUBLE_EQ(chart.top(), 40000.0);
    chart.setMaximum(std::nullopt);

    // Ten values take the leftmost sixth: x 0 … 9 of 0 … 59.
    values.assign(10, 5000.0);
    const QRectF ten = chart.linePath(size).boundingRect();
    EXPECT_DOUBLE_EQ(ten.left(), 0.0);
    EXPECT_NEAR(ten.right(), 9.0 * 295.0 / 59.0, 1e-9);
    // A full history reaches the right edge.
    values.assign(60, 5000.0);
    EXPECT_NEAR(chart.linePath(size).boundingRect().right(), 295.0, 1e-9);

    // Values that are no numbers, negative or huge stay inside the chart.
    values = {notANumber, inf, -inf, -1.0, 1e308, 0.5, 2.0, notANumber};
    const QPainterPath odd = chart.linePath(size);
    for (int i = 0; i < odd.elementCount(); ++i) {
        const auto e = odd.elementAt(i);
        EXPECT_TRUE(std::isfinite(e.x) && std::isfinite(e.y));
        EXPECT_GE(e.x, 0.0);
        EXPECT_LE(e.x, 295.0);
        EXPECT_GE(e.y, 0.0);
        EXPECT_LE(e.y, 34.0);
    }
}

TEST(Sparkline, DrawsTheAreaAndLineInItsColourOnlyWhereThereAreValues)
{
    Host host(Appearance::dark);
    auto* chart = host.place(new Sparkline, QRect(0, 0, 295, 34));
    std::vector<double> values(10, 1.0);
    chart->setValues(&values);
    chart->setMaximum(1.0);
    chart->setColor(ColorRole::green);
    const QImage image = host.render(QSize(295, 34));
    // The line along the top of the scale, inside the chart's edge.
    EXPECT_TRUE(pixelIs(image, QPoint(40, 2), host.color(ColorRole::green), 40));
    // Beneath it the faint area; to the right of the tenth value nothing.
    EXPECT_NE(image.pixelColor(40, 40).rgb(), host.background().rgb());
    EXPECT_TRUE(pixelIs(image, QPoint(300, 40), host.background()));
    EXPECT_TRUE(pixelIs(image, QPoint(300, 2), host.background()));
}

TEST(StatRow, DotOrNotAndLongTextsElidedWithTheValueKept)
{
    Host host;
    auto* plain = host.place(new StatRow(QStringLiteral("Swap used")), QRect(0, 0, 292, 15));
    plain->setValue(QStringLiteral("512 MB"));
    auto* dotted = host.place(new StatRow(QStringLiteral("App"), ColorRole::accent), QRect(0, 20, 292, 15));
    dotted->setValue(QStringLiteral("13 GB"));
    auto* hostile = host.place(new StatRow(test::hostileName(7)), QRect(0, 40, 292, 15));
    hostile->setValue(QStringLiteral("52°C"));
    const QImage image = host.render(QSize(292, 60));

    // Without a colour: no dot and no gap before the label.
    EXPECT_DOUBLE_EQ(plain->geometry(292).label.left(), 0.0);
    EXPECT_TRUE(plain->geometry(292).dot.isEmpty());
    // With one: a 7-point dot, then 6 apart the label.
    const auto g = dotted->geometry(292);
    EXPECT_EQ(g.dot.size(), QSizeF(7, 7));
    EXPECT_DOUBLE_EQ(g.label.left(), 13.0);
    EXPECT_TRUE(pixelIs(image, (g.dot.center() * 2 + QPointF(0, 40)).toPoint(), host.color(ColorRole::accent)));
    EXPECT_DOUBLE_EQ(g.value.right(), 292.0);

    // A 5,000-character name with markup and control characters: one line,
    // shown literally, cut with an ellipsis, and the reading still whole.
    EXPECT_EQ(hostile->shownValue(), QStringLiteral("52°C"));
    const QString label = hostile->shownLabel();
    EXPECT_TRUE(label.startsWith(QStringLiteral("<b>bold</b> &amp; <a href='x'>link</a>")));
    EXPECT_TRUE(label.endsWith(QChar(0x2026)));
    for (const QChar c : hostile->label())
        EXPECT_FALSE(c.category() == QChar::Other_Control || c == QChar(0x2028)) << int(c.unicode());
    const auto h = hostile->geometry(292);
    EXPECT_LE(h.label.right() + StatRow::minimumGap, h.value.left() + 1e-9);
    EXPECT_EQ(accessibleText(hostile, QAccessible::Value), QStringLiteral("52°C"));
}

TEST(TextLabel, MachineTextIsPlainOneLineAndElidedToItsBox)
{
    Host host;
    auto* label = host.place(new TextLabel(uiFont(11), ColorRole::secondary), QRect(0, 0, 80, 15));
    label->setText(QStringLiteral("<b>Home</b>\n\tnet\u2029work"));
    EXPECT_EQ(label->text(), QStringLiteral("<b>Home</b>  net work"));
    EXPECT_EQ(label->minimumSizeHint().width(), 0);
    EXPECT_GT(label->sizeHint().width(), 80);
    host.render(QSize(80, 15));
    EXPECT_TRUE(label->shownText().startsWith(QStringLiteral("<b>")));
    EXPECT_TRUE(label->shownText().endsWith(QChar(0x2026)));
    EXPECT_EQ(accessibleText(label, QAccessible::Name), label->text());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->role(), QAccessible::StaticText);
}

TEST(SymbolView, SignalFillLightsTheLayersOfTheWifiSymbolInTurn)
{
    struct Case {
        double q;
        int lit;
    };
    const Case cases[] = {{0.0, 0}, {-1.0, 0}, {notANumber, 0}, {0.2, 1}, {1.0 / 3.0, 1}, {0.5, 2}, {0.7, 3}, {1.0, 3}, {5.0, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(litLayers(QStringLiteral("wifi"), c.q), c.lit) << c.q;
    EXPECT_EQ(layerCount(QStringLiteral("cpu")), 1);

    // Half filled: the lit layers in the colour, the outer one in the track.
    Host host;
    auto* symbol = host.place(new SymbolView(QStringLiteral("wifi"), 48, ColorRole::accent), QRect(0, 0, 48, 48));
    symbol->setVariableValue(0.5);
    const QImage half = host.render(QSize(48, 48));
    symbol->setVariableValue(1.0);
    const QImage full = host.render(QSize(48, 48));
    auto accentPixels = [&](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += pixelIs(image, QPoint(x, y), host.color(ColorRole::accent), 10) ? 1 : 0;
        return count;
    };
    EXPECT_GT(accentPixels(half), 0);
    EXPECT_LT(accentPixels(half), accentPixels(full) * 3 / 4);
}
