// Trims the empty bottom of the popover picture: the popover is rendered
// 2000 points high, taller than its content, and the picture keeps the
// content plus a margin below it.
#pragma once

#include <QImage>

namespace orbistat {

// Background = the pixel at (1, height − 2). Rows are scanned from the
// bottom; a row is content when one of its pixels at x = 0, 3, 6, … differs
// from the background by more than 0.02 in the sum of the absolute red,
// green and blue differences (components from 0 to 1). With r the first
// such row from the bottom (0 when none), the picture keeps its top
// r + margin × pixel ratio rows, unless that is not smaller than the
// picture (or below 1): then it is returned whole.
QImage cropPopover(const QImage& image, double marginPoints);

} // namespace orbistat
