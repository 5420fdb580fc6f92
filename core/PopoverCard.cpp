#include "core/PopoverCard.h"

#include <QCoreApplication>

namespace orbistat {

QString rawValue(PopoverCard card)
{
    return QString::fromLatin1(popoverCardTable[static_cast<size_t>(card)].rawValue);
}

QString title(PopoverCard card)
{
    const char* text = popoverCardTable[static_cast<size_t>(card)].title;
    if (card == PopoverCard::cpu || card == PopoverCard::gpu)
        return QString::fromLatin1(text);
    return QCoreApplication::translate("PopoverCard", text);
}

std::optional<PopoverCard> popoverCardFromRaw(const QString& raw)
{
    for (const auto& entry : popoverCardTable) {
        if (raw == QLatin1String(entry.rawValue))
            return entry.card;
    }
    return std::nullopt;
}

} // namespace orbistat
