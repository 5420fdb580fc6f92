// The three arrangements of metrics both widgets use: a two-by-two grid of
// rings (small), a row of rings with value and name (medium), and a stack of
// rows separated by dividers (large). Each returns its geometry, so the
// layout can be checked without pixels, and draws from it.
#pragma once

#include "widget/Metric.h"
#include "widget/WidgetPalette.h"

#include <QRectF>
#include <array>
#include <vector>

class QPainter;

namespace orbistat::widget {

// Two-by-two grid, 8 apart: entries 0 and 1 on the first row, 2 and 3 on
// the second. A cell without an entry stays empty; entries past the fourth
// are not shown.
inline constexpr double gridSpacing = 8.0;
inline constexpr double gridRingLineWidth = 6.0;
std::array<QRectF, 4> ringGridCells(const QRectF& bounds);
void drawRingGrid(QPainter& painter, const QRectF& bounds, const std::vector<Metric>& metrics,
                  const WidgetPalette& palette);

// One cell per metric, 10 apart; in each, 6 apart: the ring, the value and
// the name.
inline constexpr double ringRowSpacing = 10.0;
inline constexpr double ringRowCellSpacing = 6.0;
inline constexpr double ringRowLineWidth = 7.0;
inline constexpr double ringRowValuePointSize = 15.0;
inline constexpr double ringRowNamePointSize = 10.0;
enum class NameLines { one, wrapped };
struct RingRowCell {
    QRectF cell;
    QRectF ring;
    QRectF value;
    QRectF name;
};
std::vector<RingRowCell> ringRowCells(const QRectF& bounds, const std::vector<Metric>& metrics, NameLines lines);
void drawRingRow(QPainter& painter, const QRectF& bounds, const std::vector<Metric>& metrics, NameLines lines,
                 const WidgetPalette& palette);

// Rows sharing the height equally, a hairline divider between neighbours.
inline constexpr double dividerThickness = 0.5;
struct RowStack {
    std::vector<QRectF> rows;
    std::vector<QRectF> dividers;
};
RowStack rowStack(const QRectF& bounds, size_t rowCount);
void drawDividers(QPainter& painter, const RowStack& stack, const WidgetPalette& palette);

} // namespace orbistat::widget
