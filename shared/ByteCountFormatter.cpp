#include "shared/ByteCountFormatter.h"

#include <array>
#include <cmath>

namespace orbistat {

namespace {

struct Unit {
    const char* name;
    int decimals;
};

constexpr std::array<Unit, 7> units{{
    {"bytes", 0}, {"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2},
}};

// Fixed-point text without trailing zeros, integer part grouped by three.
QString numberText(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        point = text.size();
    for (qsizetype i = point - 3; i > 0; i -= 3)
        text.insert(i, QLatin1Char(','));
    return text;
}

} // namespace

QString formatByteCount(uint64_t bytes, ByteCountStyle style)
{
    if (bytes == 0)
        return QStringLiteral("Zero KB");
    if (bytes == 1)
        return QStringLiteral("1 byte");
    const double base = style == ByteCountStyle::memory ? 1024.0 : 1000.0;
    const double count = static_cast<double>(bytes);

    size_t unit = 0;
    double scale = 1.0;
    while (unit + 1 < units.size() && count >= scale * base) {
        scale *= base;
        ++unit;
    }
    // Rounding can reach the next unit (999,999 bytes is 1000 KB shown
    // whole): then the next unit reads better ("1 MB").
    for (;;) {
        const int decimals = units[unit].decimals;
        const double factor = std::pow(10.0, decimals);
        const double shown = std::round(count / scale * factor) / factor;
        if (shown >= base && unit + 1 < units.size()) {
            scale *= base;
            ++unit;
            continue;
        }
        return numberText(shown, decimals) + QLatin1Char(' ') + QLatin1String(units[unit].name);
    }
}

} // namespace orbistat
