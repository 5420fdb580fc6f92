// The startup volume: used space of the total, a bar of the used share, and
// the read and write rates once the disk sampler has a rate.
#pragma once

#include "ui/components/MetricCard.h"

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class Column;
class SegmentedBar;
class StatRow;
class ValueHeadline;

class DiskCard : public MetricCard {
    Q_OBJECT
public:
    explicit DiskCard(const SystemMonitor& monitor, QWidget* parent = nullptr);

    ValueHeadline* headline() const { return headline_; }
    SegmentedBar* bar() const { return bar_; }
    Column* ratesRow() const { return rates_; }
    StatRow* readRow() const { return read_; }
    StatRow* writeRow() const { return write_; }

protected:
    void refresh() override;

private:
    const SystemMonitor& monitor_;
    ValueHeadline* headline_;
    SegmentedBar* bar_;
    Column* rates_;
    StatRow* read_;
    StatRow* write_;
};

} // namespace orbistat::ui
