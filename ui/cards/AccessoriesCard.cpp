#include "ui/cards/AccessoriesCard.h"

#include "core/SystemMonitor.h"
#include "ui/cards/AccessoryLine.h"
#include "ui/components/Column.h"

namespace orbistat::ui {

namespace {
constexpr int lineSpacing = 8;
} // namespace

AccessoriesCard::AccessoriesCard(const SystemMonitor& monitor, QWidget* parent)
    : MetricCard(tr("Accessories"), QStringLiteral("dot.radiowaves.left.and.right"), parent)
    , monitor_(monitor)
    , list_(new Column(lineSpacing))
{
    addContent(list_);
    connect(&monitor_, &SystemMonitor::accessoriesChanged, this, &MetricCard::invalidate);
}

void AccessoriesCard::refresh()
{
    setAccessories(monitor_.accessories());
}

void AccessoriesCard::setAccessories(const std::vector<AccessoryBattery>& accessories)
{
    setSubtitle(tr("%1 connected").arg(accessories.size()));
    while (lines_.size() < accessories.size()) {
        auto* line = new AccessoryLine;
        list_->add(line);
        // Shown now, not on the next pass of the event loop (what a child
        // added to a visible widget otherwise waits for).
        line->show();
        lines_.push_back(line);
    }
    while (lines_.size() > accessories.size()) {
        delete lines_.back();
        lines_.pop_back();
    }
    for (size_t i = 0; i < accessories.size(); ++i)
        lines_[i]->setAccessory(accessories[i]);
}

} // namespace orbistat::ui
