// A number with a fixed count of decimals, as C's "%.Nf" writes it: the
// exact binary value rounded to N decimals, a tie going to the even digit
// (2.5 with no decimals is "2", 0.125 with two is "0.12"), always with a
// point whatever the locale. Qt's own formatting rounds ties away from zero
// ("3"), which is not what such a format shows.
#pragma once

#include <QString>

namespace orbistat {

// `decimals` from 0 to 6; a value that is not finite is written "0".
QString fixedDecimalText(double value, int decimals);

} // namespace orbistat
