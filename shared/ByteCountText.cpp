#include "shared/ByteCountText.h"

#include <array>
#include <cmath>

namespace orbistat {

QString fileStyleByteCount(uint64_t bytes)
{
    if (bytes == 0)
        return QStringLiteral("Zero KB");
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 1000)
        return QString::number(bytes) + QStringLiteral(" bytes");

    static constexpr std::array<const char*, 6> units{"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1000.0;
    for (size_t unit = 0;; ++unit) {
        const int digits = unit == 0 ? 0 : unit == 1 ? 1 : 2;
        const double scale = std::pow(10.0, digits);
        const double rounded = std::round(value * scale) / scale;
        // 2^64 bytes is 18.4 EB, so the last unit always ends the loop.
        if (rounded < 1000.0 || unit + 1 == units.size()) {
            QString text = QString::number(rounded, 'f', digits);
            if (digits > 0) {
                while (text.endsWith(QLatin1Char('0')))
                    text.chop(1);
                if (text.endsWith(QLatin1Char('.')))
                    text.chop(1);
            }
            return text + QLatin1Char(' ') + QLatin1String(units[unit]);
        }
        value /= 1000.0;
    }
}

} // namespace orbistat
