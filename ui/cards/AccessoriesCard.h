// The batteries of connected accessories: one line per accessory in the
// monitor's order, with the count as the subtitle. Lines are reused from
// tick to tick; only a change in the number of accessories adds or removes
// one.
#pragma once

#include "shared/AccessoryBattery.h"
#include "ui/components/MetricCard.h"

#include <vector>

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class AccessoryLine;
class Column;

class AccessoriesCard : public MetricCard {
    Q_OBJECT
public:
    explicit AccessoriesCard(const SystemMonitor& monitor, QWidget* parent = nullptr);

    // Draws this list (the card keeps none of it).
    void setAccessories(const std::vector<AccessoryBattery>& accessories);

    size_t lineCount() const { return lines_.size(); }
    AccessoryLine* line(size_t index) const { return index < lines_.size() ? lines_[index] : nullptr; }

protected:
    void refresh() override;

private:
    const SystemMonitor& monitor_;
    Column* list_;
    std::vector<AccessoryLine*> lines_;
};

} // namespace orbistat::ui
