#include "ui/popover/CardChoice.h"

#include "core/SystemMonitor.h"

namespace orbistat::ui {

bool sensorsHaveData(const SensorsSample& s)
{
    return s.cpu || s.gpu || s.soc || s.ssd || s.battery || s.systemPower || s.adapterPower || s.components.cpu ||
           s.components.gpu || s.components.ane || s.components.dram || !s.all.empty() || !s.fans.empty();
}

std::vector<PopoverCard> shownCards(const std::set<QString>& chosen, const SystemMonitor& monitor)
{
    std::vector<PopoverCard> cards;
    for (const auto& info : popoverCardTable) {
        if (!chosen.count(QString::fromLatin1(info.rawValue)))
            continue;
        bool available = true;
        switch (info.card) {
        case PopoverCard::gpu: available = monitor.gpu().has_value(); break;
        case PopoverCard::sensors: available = sensorsHaveData(monitor.sensors()); break;
        case PopoverCard::battery: available = monitor.battery().has_value(); break;
        case PopoverCard::accessories: available = !monitor.accessories().empty(); break;
        default: break;
        }
        if (available)
            cards.push_back(info.card);
    }
    return cards;
}

} // namespace orbistat::ui
