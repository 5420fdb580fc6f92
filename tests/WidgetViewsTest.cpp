#include "shared/drawing/AppFonts.h"
#include "widget/MetricLayouts.h"
#include "widget/MetricRow.h"
#include "widget/Ring.h"
#include "widget/WidgetRenderer.h"
#include "widget/WidgetText.h"
#include "widget/WidgetViews.h"

#include <QPainter>
#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::widget;

namespace {

const QDateTime now(QDate(2026, 12, 8), QTime(3, 30), QTimeZone::utc());

SharedStats liveStats()
{
    SharedStats stats = makeSampleStats(now.addSecs(-2));
    return stats;
}

QImage pointImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(pointDotsPerMeter);
    image.setDotsPerMeterY(pointDotsPerMeter);
    image.fill(Qt::transparent);
    return image;
}

// Colour of a pixel of an image drawn at `scale`, addressed in points.
QColor at(const QImage& image, double x, double y, double scale = 1.0)
{
    return image.pixelColor(static_cast<int>(std::floor(x * scale)), static_cast<int>(std::floor(y * scale)));
}

bool sameColor(const QColor& a, const QColor& b, int tolerance = 6)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

std::vector<AccessoryBattery> accessories(int count, int nameLength)
{
    std::vector<AccessoryBattery> list;
    for (int i = 0; i < count; ++i) {
        QString name = QStringLiteral("Device %1 <b>bold</b>\n\t").arg(i);
        name += QString(std::max<qsizetype>(0, nameLength - name.size()), QLatin1Char('W'));
        list.push_back({name, 10 * i, i % 2 == 0, QStringLiteral("no.such.symbol")});
    }
    return list;
}

} // namespace

TEST(WidgetViews, RingArcStartsAtTheTopRunsClockwiseAndIsCappedAtOneTurn)
{
    ASSERT_TRUE(registerAppFonts());
    EXPECT_DOUBLE_EQ(Ring::arcFraction(0), 0.015);
    EXPECT_DOUBLE_EQ(Ring::arcFraction(1), 1.0);
    EXPECT_DOUBLE_EQ(Ring::arcFraction(1.2), 1.0);
    EXPECT_DOUBLE_EQ(Ring::arcFraction(-0.5), 0.015);
    EXPECT_DOUBLE_EQ(Ring::arcFraction(std::nan("")), 0.015);

    const WidgetPalette& palette = widgetPalette(Appearance::light);
    const QColor red = palette.red;
    QColor track = red;
    track.setAlphaF(0.22f);

    struct Case {
        double fraction;
        bool right, bottom, left;  // arc covers 3, 6 and 9 o'clock
    };
    const Case cases[] = {
        {0, false, false, false}, {0.3, true, false, false}, {0.6, true, true, false},
        {1, true, true, true},    {1.2, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraction);
        QImage image = pointImage(120, 100);
        QPainter painter(&image);
        const QRectF frame(0, 0, 120, 100);
        const Ring ring{Metric{"x", "X", "cpu", c.fraction, "", MetricColor::red}, 10};
        ring.draw(painter, frame, palette);
        painter.end();

        // A square ring centred in the frame, its stroke inside the square:
        // centre (60, 50), centre line at radius 45.
        EXPECT_EQ(ring.strokeRect(frame), QRectF(15, 5, 90, 90));
        EXPECT_EQ(at(image, 9.5, 50.5).alpha(), 0);
        EXPECT_EQ(at(image, 110.5, 50.5).alpha(), 0);
        // The arc always starts at the top...
        EXPECT_TRUE(sameColor(at(image, 61.5, 5.5), red));
        // ...and runs clockwise over the share it stands for.
        EXPECT_TRUE(sameColor(at(image, 105.5, 50.5), c.right ? red : track));
        EXPECT_TRUE(sameColor(at(image, 60.5, 95.5), c.bottom ? red : track));
        EXPECT_TRUE(sameColor(at(image, 15.5, 50.5), c.left ? red : track));
    }

    // A frame that is not square gets a centred square ring.
    EXPECT_EQ(Ring::square(QRectF(10, 0, 200, 100)), QRectF(60, 0, 100, 100));
}

TEST(WidgetViews, BarFillIsAtLeastFivePointsAndFullFromOneUp)
{
    EXPECT_DOUBLE_EQ(MetricRow::barFillWidth(0), 5.0);
    EXPECT_DOUBLE_EQ(MetricRow::barFillWidth(0.1), 5.0);
    EXPECT_DOUBLE_EQ(MetricRow::barFillWidth(0.5), 17.0);
    EXPECT_DOUBLE_EQ(MetricRow::barFillWidth(1), 34.0);
    EXPECT_DOUBLE_EQ(MetricRow::barFillWidth(1.2), 34.0);

    const WidgetPalette& palette = widgetPalette(Appearance::dark);
    QColor track = palette.orange;
    track.setAlphaF(0.25f);
    for (const double fraction : {0.0, 1.0, 1.2}) {
        SCOPED_TRACE(fraction);
        const MetricRow row{Metric{"x", "X", "cpu", fraction, "50%", MetricColor::orange}};
        const auto parts = row.layout(QRectF(0, 0, 300, 40));
        EXPECT_EQ(parts.bar, QRectF(266, 14, 34, 12));
        QImage image = pointImage(300, 40);
        QPainter painter(&image);
        row.draw(painter, QRectF(0, 0, 300, 40), palette);
        painter.end();
        const double y = parts.bar.center().y();
        EXPECT_TRUE(sameColor(at(image, parts.bar.left() + 3, y), palette.orange));
        EXPECT_TRUE(sameColor(at(image, parts.bar.left() + 20, y), fraction >= 1 ? palette.orange : track));
        EXPECT_TRUE(sameColor(at(image, parts.bar.right() - 3, y), fraction >= 1 ? palette.orange : track));
    }
}

TEST(WidgetViews, LongNamesAreClippedBeforeTheValueAndTheBar)
{
    registerAppFonts();
    const QString name(5000, QLatin1Char('W'));
    const MetricRow row{Metric{name, name, "keyboard", 0.5, "50%", MetricColor::green}};
    const QRectF frame(16, 100, 332, 48);
    const auto parts = row.layout(frame);
    EXPECT_GE(parts.name.left(), frame.left() + 22);
    EXPECT_LE(parts.name.right() + 20, parts.value.left() + 0.001);
    EXPECT_LE(parts.value.right() + 10, parts.bar.left() + 0.001);
    EXPECT_GT(parts.value.width(), 0);
    EXPECT_LE(parts.bar.right(), frame.right());

    QImage image = pointImage(364, 300);
    QPainter painter(&image);
    const QString shown = drawLine(painter, parts.name, name, textFont(13, QFont::Medium), Qt::black, Qt::AlignLeft);
    painter.end();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_LE(textWidth(textFont(13, QFont::Medium), shown), parts.name.width());

    EXPECT_EQ(singleLine(QStringLiteral("a\nb\tc\u2028d")), QStringLiteral("a b c d"));
}

TEST(WidgetViews, WithoutALiveSnapshotBothWidgetsShowTheOpenMessage)
{
    const MessageView open = staleMessage();
    EXPECT_EQ(open.text, QStringLiteral("Open Orbistat to see live stats"));
    EXPECT_EQ(open.symbol, QStringLiteral("gauge.with.dots.needle.33percent"));

    const StatsEntry entries[] = {
        {now, std::nullopt},
        {now, makeSampleStats(now.addMSecs(-300'001))},
        {now, makeSampleStats(now.addSecs(-86400))},
    };
    for (const auto family : widgetFamilies) {
        for (const auto& entry : entries) {
            SCOPED_TRACE(familyName(family).toStdString());
            const auto stats = StatsWidgetView{family, entry}.body();
            const auto devices = DevicesWidgetView{family, entry}.body();
            ASSERT_TRUE(std::holds_alternative<MessageView>(stats));
            ASSERT_TRUE(std::holds_alternative<MessageView>(devices));
            EXPECT_EQ(std::get<MessageView>(stats), open);
            EXPECT_EQ(std::get<MessageView>(devices), open);
            EXPECT_EQ(accessibilityLabels(WidgetKind::devices, family, entry), QStringList{open.text});
        }
    }

    // Exactly five minutes old still shows data.
    const StatsEntry edge{now, makeSampleStats(now.addSecs(-300))};
    EXPECT_TRUE(std::holds_alternative<SmallView>(StatsWidgetView{WidgetFamily::small, edge}.body()));
    EXPECT_TRUE(std::holds_alternative<DevicesLarge>(DevicesWidgetView{WidgetFamily::large, edge}.body()));
}

TEST(WidgetViews, DevicesWithoutBatteriesSaySoAndNineAccessoriesAreCut)
{
    SharedStats stats = liveStats();
    stats.batteryPercent.reset();
    stats.accessories.clear();
    const auto empty = DevicesWidgetView{WidgetFamily::medium, StatsEntry{now, stats}}.body();
    ASSERT_TRUE(std::holds_alternative<MessageView>(empty));
    EXPECT_EQ(std::get<MessageView>(empty).text, QStringLiteral("No batteries to show"));

    stats.accessories = accessories(9, 20);
    const StatsEntry entry{now, stats};
    const auto small = std::get<DevicesSmall>(DevicesWidgetView{WidgetFamily::small, entry}.body());
    const auto medium = std::get<DevicesMedium>(DevicesWidgetView{WidgetFamily::medium, entry}.body());
    const auto large = std::get<DevicesLarge>(DevicesWidgetView{WidgetFamily::large, entry}.body());
    EXPECT_EQ(small.shown().size(), 4u);
    EXPECT_EQ(medium.shown().size(), 4u);
    ASSERT_EQ(large.shown().size(), 7u);
    EXPECT_EQ(large.shown().back().name, stats.accessories[6].name);
    EXPECT_EQ(accessibilityLabels(WidgetKind::devices, WidgetFamily::large, entry).size(), 7);

    // Seven rows share the large widget's content height with six dividers.
    const QRectF content(16, 16, 332, 350);
    const RowStack stack = rowStack(content, 7);
    ASSERT_EQ(stack.rows.size(), 7u);
    EXPECT_EQ(stack.dividers.size(), 6u);
    EXPECT_NEAR(stack.rows.back().bottom(), content.bottom(), 1e-9);
    EXPECT_NEAR(stack.rows[0].height(), stack.rows[6].height(), 1e-9);
}

TEST(WidgetViews, HostileAccessoriesNeverDrawOutsideTheContent)
{
    ASSERT_TRUE(registerAppFonts());
    SharedStats stats = liveStats();
    stats.accessories = accessories(9, 5000);
    stats.accessories[3].percent = 1'000'000;
    stats.accessories[4].percent = -40;
    const StatsEntry entry{now, stats};

    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        for (const auto family : widgetFamilies) {
            SCOPED_TRACE(familyName(family).toStdString());
            const QImage image = renderWidget(WidgetKind::devices, family, entry, appearance, 2.0);
            const QSizeF size = widgetSize(family);
            ASSERT_EQ(image.size(), (size * 2).toSize());
            // The margin band between the rounded corners and the content
            // holds nothing but the background.
            const QColor background = at(image, size.width() / 2, 4, 2.0);
            int foreign = 0;
            for (int y = 2 * 22; y < static_cast<int>(2 * (size.height() - 22)); ++y) {
                for (const int x : {2, 10, 20, static_cast<int>(2 * size.width()) - 21,
                                    static_cast<int>(2 * size.width()) - 3}) {
                    if (!sameColor(image.pixelColor(x, y), background, 1))
                        ++foreign;
                }
            }
            EXPECT_EQ(foreign, 0);
        }
    }
}

TEST(WidgetViews, SmallStatsGridLeavesTheFourthCellEmptyWithoutAFourthMetric)
{
    ASSERT_TRUE(registerAppFonts());
    SharedStats stats = liveStats();
    stats.gpu.reset();
    stats.batteryPercent.reset();
    stats.cpuTemperature.reset();
    stats.cpu = 0.95;  // red: above the snapshot's critical threshold
    const QImage image = renderWidget(WidgetKind::stats, WidgetFamily::small, StatsEntry{now, stats},
                                      Appearance::light, 2.0);
    const auto cells = ringGridCells(QRectF(16, 16, 138, 138));
    const QColor background = at(image, 85, 4, 2.0);
    const WidgetPalette& palette = widgetPalette(Appearance::light);

    // The CPU ring is red at the top of its cell (arc start).
    const QRectF cpu = Ring{Metric{}, gridRingLineWidth}.strokeRect(cells[0]);
    EXPECT_TRUE(sameColor(at(image, cpu.center().x() + 1, cpu.top(), 2.0), palette.red));
    // The disk ring sits in the third cell; the fourth holds nothing.
    const QRectF disk = Ring{Metric{}, gridRingLineWidth}.strokeRect(cells[2]);
    EXPECT_FALSE(sameColor(at(image, disk.center().x() + 1, disk.top(), 2.0), background, 10));
    int drawn = 0;
    for (int y = static_cast<int>(2 * cells[3].top()); y < static_cast<int>(2 * cells[3].bottom()); ++y)
        for (int x = static_cast<int>(2 * cells[3].left()); x < static_cast<int>(2 * cells[3].right()); ++x)
            drawn += sameColor(image.pixelColor(x, y), background, 1) ? 0 : 1;
    EXPECT_EQ(drawn, 0);
}

TEST(WidgetViews, LargeStatsShowsEveryMetricThenTheNetworkRow)
{
    const SharedStats stats = liveStats();
    const StatsEntry entry{now, stats};
    const auto body = StatsWidgetView{WidgetFamily::large, entry}.body();
    ASSERT_TRUE(std::holds_alternative<LargeView>(body));
    EXPECT_EQ(accessibilityLabels(WidgetKind::stats, WidgetFamily::large, entry),
              (QStringList{"CPU 32%", "Memory 61%", "Disk 58%", "GPU 18%", "Battery 82%", "CPU temp 54°C",
                           "↓ 1.2 MB/s", "↑ 80 KB/s"}));
    EXPECT_EQ(accessibilityLabels(WidgetKind::stats, WidgetFamily::medium, entry),
              (QStringList{"CPU 32%", "Memory 61%", "Disk 58%", "GPU 18%"}));

    // Medium cells: one per ring metric, side by side inside the content.
    const QRectF content(16, 16, 332, 138);
    const auto cells = ringRowCells(content, ringMetrics(stats), NameLines::wrapped);
    ASSERT_EQ(cells.size(), 4u);
    for (const auto& cell : cells) {
        EXPECT_TRUE(content.adjusted(-0.001, -0.001, 0.001, 0.001).contains(cell.cell));
        EXPECT_GT(cell.ring.height(), 40);
        EXPECT_LE(cell.name.bottom(), content.bottom() + 0.001);
    }
    EXPECT_NEAR(cells[1].cell.left() - cells[0].cell.right(), ringRowSpacing, 1e-9);
}
