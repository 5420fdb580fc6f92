// The General tab: launch at login and the sampling interval, then the two
// colour thresholds, each a slider under a caption with its coloured dot and
// percentage. Moving one threshold past the other pushes the other along.
#pragma once

#include "ui/settings/SettingsServices.h"
#include "ui/settings/SliderBlock.h"

#include <QComboBox>
#include <QWidget>
#include <vector>

namespace orbistat::ui {

class ToggleSwitch;

class GeneralSettings : public QWidget {
    Q_OBJECT
public:
    // The options of "Update every", in seconds.
    static const std::vector<int>& intervalOptions();
    static constexpr FractionGrid warningGrid{50, 95, 5};
    static constexpr FractionGrid criticalGrid{55, 100, 5};

    explicit GeneralSettings(SettingsServices services, QWidget* parent = nullptr);

    // Shows the stored values and the login item's real state.
    void refresh();

    ToggleSwitch* launchAtLogin() const { return launchAtLogin_; }
    QComboBox* interval() const { return interval_; }
    SliderBlock* warning() const { return warning_; }
    SliderBlock* critical() const { return critical_; }

private:
    void setLaunchAtLogin(bool on);
    void showLoginItemState();

    SettingsServices services_;
    ToggleSwitch* launchAtLogin_;
    QComboBox* interval_;
    SliderBlock* warning_;
    SliderBlock* critical_;
};

} // namespace orbistat::ui
