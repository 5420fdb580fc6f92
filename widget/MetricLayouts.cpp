#include "widget/MetricLayouts.h"

#include "shared/drawing/AppFonts.h"
#include "widget/Ring.h"
#include "widget/WidgetText.h"

#include <QPainter>
#include <algorithm>

namespace orbistat::widget {

std::array<QRectF, 4> ringGridCells(const QRectF& bounds)
{
    const double width = std::max(0.0, (bounds.width() - gridSpacing) / 2);
    const double height = std::max(0.0, (bounds.height() - gridSpacing) / 2);
    const double right = bounds.left() + width + gridSpacing;
    const double bottom = bounds.top() + height + gridSpacing;
    return {QRectF(bounds.left(), bounds.top(), width, height), QRectF(right, bounds.top(), width, height),
            QRectF(bounds.left(), bottom, width, height), QRectF(right, bottom, width, height)};
}

void drawRingGrid(QPainter& painter, const QRectF& bounds, const std::vector<Metric>& metrics,
                  const WidgetPalette& palette)
{
    const auto cells = ringGridCells(bounds);
    for (size_t i = 0; i < cells.size() && i < metrics.size(); ++i)
        Ring{metrics[i], gridRingLineWidth}.draw(painter, cells[i], palette);
}

namespace {
QFont valueFont() { return textFont(ringRowValuePointSize, QFont::Medium); }
QFont nameFont() { return textFont(ringRowNamePointSize); }
int wrappedNameFlags() { return Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap; }
} // namespace

std::vector<RingRowCell> ringRowCells(const QRectF& bounds, const std::vector<Metric>& metrics, NameLines lines)
{
    std::vector<RingRowCell> cells;
    if (metrics.empty())
        return cells;
    const auto count = static_cast<double>(metrics.size());
    const double cellWidth = std::max(0.0, (bounds.width() - ringRowSpacing * (count - 1)) / count);
    const double valueHeight = lineHeight(valueFont());
    const QFontMetricsF nameMetrics = pointMetrics(nameFont());

    for (size_t i = 0; i < metrics.size(); ++i) {
        const double left = bounds.left() + static_cast<double>(i) * (cellWidth + ringRowSpacing);
        double nameHeight = nameMetrics.height();
        if (lines == NameLines::wrapped) {
            nameHeight = nameMetrics.boundingRect(QRectF(0, 0, cellWidth, 1e6), wrappedNameFlags(),
                                                  singleLine(metrics[i].name)).height();
        }
        // The ring takes what the texts leave; texts never take more than
        // the cell.
        const double textsHeight = 2 * ringRowCellSpacing + valueHeight + nameHeight;
        const double ringHeight = std::max(0.0, bounds.height() - textsHeight);
        nameHeight = std::min(nameHeight, std::max(0.0, bounds.height() - 2 * ringRowCellSpacing - valueHeight));

        RingRowCell cell;
        cell.cell = QRectF(left, bounds.top(), cellWidth, bounds.height());
        const double stackHeight = ringHeight + 2 * ringRowCellSpacing + valueHeight + nameHeight;
        const double top = bounds.center().y() - stackHeight / 2;
        cell.ring = QRectF(left, top, cellWidth, ringHeight);
        cell.value = QRectF(left, cell.ring.bottom() + ringRowCellSpacing, cellWidth, valueHeight);
        cell.name = QRectF(left, cell.value.bottom() + ringRowCellSpacing, cellWidth, nameHeight);
        cells.push_back(cell);
    }
    return cells;
}

void drawRingRow(QPainter& painter, const QRectF& bounds, const std::vector<Metric>& metrics, NameLines lines,
                 const WidgetPalette& palette)
{
    const auto cells = ringRowCells(bounds, metrics, lines);
    for (size_t i = 0; i < cells.size(); ++i) {
        const Metric& metric = metrics[i];
        Ring{metric, ringRowLineWidth}.draw(painter, cells[i].ring, palette);
        drawLine(painter, cells[i].value, metric.value, valueFont(), palette.label, Qt::AlignCenter);
        if (lines == NameLines::one) {
            drawLine(painter, cells[i].name, metric.name, nameFont(), palette.secondaryLabel, Qt::AlignCenter);
        } else {
            painter.save();
            painter.setClipRect(cells[i].name);
            painter.setFont(nameFont());
            painter.setPen(palette.secondaryLabel);
            painter.drawText(cells[i].name, wrappedNameFlags(), singleLine(metric.name));
            painter.restore();
        }
    }
}

RowStack rowStack(const QRectF& bounds, size_t rowCount)
{
    RowStack stack;
    if (rowCount == 0)
        return stack;
    const auto count = static_cast<double>(rowCount);
    const double rowHeight = std::max(0.0, (bounds.height() - dividerThickness * (count - 1)) / count);
    double top = bounds.top();
    for (size_t i = 0; i < rowCount; ++i) {
        if (i > 0) {
            stack.dividers.emplace_back(bounds.left(), top, bounds.width(), dividerThickness);
            top += dividerThickness;
        }
        stack.rows.emplace_back(bounds.left(), top, bounds.width(), rowHeight);
        top += rowHeight;
    }
    return stack;
}

void drawDividers(QPainter& painter, const RowStack& stack, const WidgetPalette& palette)
{
    for (const auto& divider : stack.dividers)
        painter.fillRect(divider, palette.separator);
}

} // namespace orbistat::widget
