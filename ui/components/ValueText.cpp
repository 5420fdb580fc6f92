#include "ui/components/ValueText.h"

#include "shared/ByteCountFormatter.h"
#include "shared/FixedDecimalText.h"

#include <cmath>
#include <limits>

namespace orbistat::ui {

namespace {
const QString noNumber = QStringLiteral("–");
} // namespace

QString wholeNumberText(double value)
{
    if (!std::isfinite(value))
        return noNumber;
    // std::round takes halves away from zero; adding 0.0 turns −0 into 0 so
    // that −0.4 reads "0". 'f' writes any magnitude without an exponent and
    // without the locale's separators.
    return QString::number(std::round(value) + 0.0, 'f', 0);
}

QString temperatureText(double celsius)
{
    return wholeNumberText(celsius) + QStringLiteral("°C");
}

QString rpmText(double rpm)
{
    return wholeNumberText(rpm) + QStringLiteral(" rpm");
}

QString bytesPerSecondText(double rate)
{
    // Negative and NaN rates read as nothing moving; a rate beyond the
    // counter's range is the largest count rather than an undefined cast.
    uint64_t bytes = 0;
    if (rate >= static_cast<double>(std::numeric_limits<uint64_t>::max()))
        bytes = std::numeric_limits<uint64_t>::max();
    else if (rate > 0.0)
        bytes = static_cast<uint64_t>(rate);
    return formatByteCount(bytes, ByteCountStyle::file) + QStringLiteral("/s");
}

QString durationText(int64_t minutes)
{
    if (minutes < 60)
        return QString::number(minutes) + QLatin1Char('m');
    return QString::number(minutes / 60) + QStringLiteral("h ") + QString::number(minutes % 60) + QLatin1Char('m');
}

QString wattsText(double watts)
{
    if (!std::isfinite(watts))
        return noNumber + QStringLiteral(" W");
    // As "%.1f" writes it (a tie goes to the even digit).
    return fixedDecimalText(watts, 1) + QStringLiteral(" W");
}

} // namespace orbistat::ui
