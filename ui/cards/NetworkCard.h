// The network: download and upload rates with their histories, and for a
// connection its details (Wi-Fi signal, signal-to-noise, link speed, the
// withheld-name notice with its Fix button, the diagnostic line, the
// interface and the address).
#pragma once

#include "ui/components/MetricCard.h"

class QPushButton;

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class Column;
class Divider;
class Sparkline;
class StatRow;
class TextLabel;

class NetworkCard : public MetricCard {
    Q_OBJECT
public:
    // The monitor is asked for the location permission by the Fix button.
    explicit NetworkCard(SystemMonitor& monitor, QWidget* parent = nullptr);

    TextLabel* downloadRate() const { return downloadRate_; }
    TextLabel* uploadRate() const { return uploadRate_; }
    Sparkline* downloadChart() const { return downloadChart_; }
    Sparkline* uploadChart() const { return uploadChart_; }
    Divider* divider() const { return divider_; }
    Column* details() const { return details_; }
    StatRow* signalRow() const { return signal_; }
    StatRow* noiseRow() const { return noise_; }
    StatRow* linkSpeedRow() const { return linkSpeed_; }
    QWidget* privacyRow() const { return privacy_; }
    QPushButton* fixButton() const { return fix_; }
    TextLabel* debugLine() const { return debug_; }
    StatRow* interfaceRow() const { return interface_; }
    StatRow* addressRow() const { return address_; }

protected:
    void refresh() override;

private:
    SystemMonitor& monitor_;
    TextLabel* downloadRate_;
    TextLabel* uploadRate_;
    Sparkline* downloadChart_;
    Sparkline* uploadChart_;
    Divider* divider_;
    Column* details_;
    StatRow* signal_;
    StatRow* noise_;
    StatRow* linkSpeed_;
    QWidget* privacy_;
    QPushButton* fix_;
    TextLabel* debug_;
    StatRow* interface_;
    StatRow* address_;
};

} // namespace orbistat::ui
