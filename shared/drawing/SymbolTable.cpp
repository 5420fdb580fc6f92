#include "shared/drawing/SymbolTable.h"

namespace orbistat {

std::optional<char32_t> symbolCodepoint(QStringView name)
{
    for (const auto& entry : symbolTable) {
        if (name == QLatin1String(entry.name))
            return entry.codepoint;
    }
    return std::nullopt;
}

QString symbolGlyphText(QStringView name)
{
    const char32_t codepoint = symbolCodepoint(name).value_or(unknownSymbolCodepoint);
    return QString::fromUcs4(&codepoint, 1);
}

} // namespace orbistat
