#include "shared/FixedDecimalText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace orbistat {

QString fixedDecimalText(double value, int decimals)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    decimals = std::clamp(decimals, 0, 6);
    // to_chars with a precision formats as printf does in the "C" locale.
    // 309 digits before the point is the most a double has.
    std::array<char, 320> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer.data(), static_cast<qsizetype>(result.ptr - buffer.data()));
}

} // namespace orbistat
