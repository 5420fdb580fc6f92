#include "widget/StatsViews.h"

#include "shared/drawing/AppFonts.h"
#include "widget/MetricLayouts.h"
#include "widget/MetricRow.h"
#include "widget/WidgetText.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

namespace orbistat::widget {

void SmallView::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    drawRingGrid(painter, bounds, ringMetrics(stats), palette);
}

void MediumView::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    drawRingRow(painter, bounds, ringMetrics(stats), NameLines::wrapped, palette);
}

QString LargeView::downloadText(double bytesPerSecond)
{
    return QStringLiteral("↓ ") + rateText(bytesPerSecond);
}

QString LargeView::uploadText(double bytesPerSecond)
{
    return QStringLiteral("↑ ") + rateText(bytesPerSecond);
}

namespace {

// Draws "↓ 1.2 MB/s" right-aligned in rect. The text font has no arrows, so
// the arrow comes from the symbol font, at the same size.
void drawRateLine(QPainter& painter, const QRectF& rect, const char* arrowSymbol, const QString& rate,
                  const WidgetPalette& palette)
{
    const QFont font = textFont(LargeView::networkRatePointSize);
    const QString text = QStringLiteral(" ") + rate;
    const double arrowWidth = LargeView::networkRatePointSize;
    const double width = std::min(rect.width(), arrowWidth + textWidth(font, text));
    const double left = rect.right() - width;
    drawSymbol(painter, QRectF(left, rect.top(), arrowWidth, rect.height()), QString::fromLatin1(arrowSymbol),
               LargeView::networkRatePointSize, palette.label);
    drawLine(painter, QRectF(left + arrowWidth, rect.top(), std::max(0.0, width - arrowWidth), rect.height()), text,
             font, palette.label, Qt::AlignLeft | Qt::AlignVCenter);
}

void drawNetworkRow(QPainter& painter, const QRectF& frame, const SharedStats& stats, const WidgetPalette& palette)
{
    const QFont rateFont = textFont(LargeView::networkRatePointSize);
    const double rateHeight = lineHeight(rateFont);
    const double ratesWidth = std::min(
        frame.width() / 2, LargeView::networkRatePointSize
                               + std::max(textWidth(rateFont, QStringLiteral(" ") + rateText(stats.download)),
                                          textWidth(rateFont, QStringLiteral(" ") + rateText(stats.upload))));
    const double ratesTop = frame.center().y() - (2 * rateHeight + LargeView::networkRateSpacing) / 2;
    const QRectF down(frame.right() - ratesWidth, ratesTop, ratesWidth, rateHeight);
    const QRectF up(down.left(), down.bottom() + LargeView::networkRateSpacing, ratesWidth, rateHeight);

    const QRectF symbol(frame.left(), frame.top(), MetricRow::symbolFrameWidth, frame.height());
    const double nameLeft = symbol.right() + LargeView::networkSpacing;
    const QRectF name(nameLeft, frame.top(), std::max(0.0, down.left() - 2 * LargeView::networkSpacing - nameLeft),
                      frame.height());

    drawSymbol(painter, symbol, QStringLiteral("arrow.up.arrow.down"), MetricRow::symbolPointSize, palette.label);
    drawLine(painter, name, QCoreApplication::translate("Widget", "Network"),
             textFont(MetricRow::namePointSize, QFont::Medium), palette.label, Qt::AlignLeft | Qt::AlignVCenter);
    drawRateLine(painter, down, "arrow.down", rateText(stats.download), palette);
    drawRateLine(painter, up, "arrow.up", rateText(stats.upload), palette);
}

} // namespace

void LargeView::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    const auto metrics = allMetrics(stats);
    const RowStack stack = rowStack(bounds, metrics.size() + 1);
    for (size_t i = 0; i < metrics.size(); ++i)
        MetricRow{metrics[i]}.draw(painter, stack.rows[i], palette);
    drawNetworkRow(painter, stack.rows.back(), stats, palette);
    drawDividers(painter, stack, palette);
}

} // namespace orbistat::widget
