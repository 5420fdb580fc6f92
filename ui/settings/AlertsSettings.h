// The Alerts tab: the master switch, the five alerts, how long a condition
// must last and the disk threshold, and the test notification with its
// outcome below the button. The alert choices are locked while
// notifications are off.
#pragma once

#include "ui/settings/SettingsServices.h"
#include "ui/settings/SliderBlock.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <vector>

namespace orbistat::ui {

class FormSection;
class ToggleSwitch;

class AlertsSettings : public QWidget {
    Q_OBJECT
public:
    enum class Alert { cpu, memory, disk, battery, temperature };
    static constexpr FractionGrid diskGrid{80, 99, 1};
    // The options of "Only after it lasts", in seconds.
    static const std::vector<int>& durationOptions();

    explicit AlertsSettings(SettingsServices services, QWidget* parent = nullptr);

    void refresh();

    ToggleSwitch* sendNotifications() const { return enabled_; }
    ToggleSwitch* alertToggle(Alert alert) const { return alerts_[static_cast<size_t>(alert)]; }
    QComboBox* duration() const { return duration_; }
    SliderBlock* diskThreshold() const { return diskThreshold_; }
    QPushButton* testButton() const { return testButton_; }
    QLabel* testMessage() const { return testMessage_; }
    FormSection* alertsSection() const { return alertsSection_; }
    FormSection* conditionsSection() const { return conditionsSection_; }

private:
    void sendTest();

    SettingsServices services_;
    ToggleSwitch* enabled_;
    std::array<ToggleSwitch*, 5> alerts_{};
    QComboBox* duration_;
    SliderBlock* diskThreshold_;
    QPushButton* testButton_;
    QLabel* testMessage_;
    FormSection* alertsSection_;
    FormSection* conditionsSection_;
};

} // namespace orbistat::ui
