#include "core/MenuBarStyle.h"

#include <QCoreApplication>

namespace orbistat {

QString rawValue(MenuBarStyle style)
{
    return QString::fromLatin1(menuBarStyleTable[static_cast<size_t>(style)].rawValue);
}

QString title(MenuBarStyle style)
{
    return QCoreApplication::translate("MenuBarStyle", menuBarStyleTable[static_cast<size_t>(style)].title);
}

std::optional<MenuBarStyle> menuBarStyleFromRaw(const QString& raw)
{
    for (const auto& entry : menuBarStyleTable) {
        if (raw == QLatin1String(entry.rawValue))
            return entry.style;
    }
    return std::nullopt;
}

} // namespace orbistat
