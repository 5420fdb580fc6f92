// Memory: the used amount of the total, a bar of app, wired and compressed
// memory, the four amounts, and the history of the used fraction.
#pragma once

#include "ui/components/MetricCard.h"

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class SegmentedBar;
class Sparkline;
class StatRow;
class ValueHeadline;

class MemoryCard : public MetricCard {
    Q_OBJECT
public:
    explicit MemoryCard(const SystemMonitor& monitor, QWidget* parent = nullptr);

    ValueHeadline* headline() const { return headline_; }
    SegmentedBar* bar() const { return bar_; }
    StatRow* appRow() const { return app_; }
    StatRow* wiredRow() const { return wired_; }
    StatRow* compressedRow() const { return compressed_; }
    StatRow* swapRow() const { return swap_; }
    Sparkline* chart() const { return chart_; }

protected:
    void refresh() override;

private:
    const SystemMonitor& monitor_;
    ValueHeadline* headline_;
    SegmentedBar* bar_;
    StatRow* app_;
    StatRow* wired_;
    StatRow* compressed_;
    StatRow* swap_;
    Sparkline* chart_;
};

} // namespace orbistat::ui
