// How the popover and the settings window write numbers. Every function
// accepts any input: a value that is no number (NaN, an infinity) is written
// as a dash rather than as "nan" or a garbage integer.
#pragma once

#include <QString>
#include <cstdint>

namespace orbistat::ui {

// "52°C": rounded to a whole degree (halves away from zero), no space.
QString temperatureText(double celsius);
// "1850 rpm".
QString rpmText(double rpm);
// "2.4 MB/s": the rate in bytes per second (negative counts as 0) in decimal
// units, followed by "/s".
QString bytesPerSecondText(double rate);
// "45m" below an hour, else "2h 5m".
QString durationText(int64_t minutes);
// "6.2 W": one decimal, as "%.1f W" writes it.
QString wattsText(double watts);
// The value rounded to a whole number (halves away from zero), without a
// sign on zero; a dash for a value that is no number.
QString wholeNumberText(double value);

} // namespace orbistat::ui
