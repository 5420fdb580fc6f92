#include "ui/settings/GeneralSettings.h"

#include "core/SettingsStore.h"
#include "platform/LoginItem.h"
#include "ui/settings/FormSection.h"
#include "ui/settings/FormStyle.h"
#include "ui/settings/ShownSettings.h"
#include "ui/settings/ToggleSwitch.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orbistat::ui {

const std::vector<int>& GeneralSettings::intervalOptions()
{
    static const std::vector<int> options{1, 2, 3, 5, 10};
    return options;
}

GeneralSettings::GeneralSettings(SettingsServices services, QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , launchAtLogin_(new ToggleSwitch(tr("Launch at login")))
    , interval_(new QComboBox)
    , warning_(new SliderBlock(tr("Warning"), warningGrid, tr("Warning threshold"), &Palette::orange))
    , critical_(new SliderBlock(tr("Critical"), criticalGrid, tr("Critical threshold"), &Palette::red))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(form::pageMargins);
    layout->setSpacing(form::sectionSpacing);

    auto* basics = new FormSection;
    basics->addRow(launchAtLogin_);
    for (const int seconds : intervalOptions())
        interval_->addItem(tr("%n seconds", nullptr, seconds), seconds);
    basics->addLabeledRow(tr("Update every"), interval_);
    layout->addWidget(basics);

    auto* thresholds = new FormSection(tr("Color thresholds"), tr("Bars, rings and the menu bar turn orange and red above these values."));
    thresholds->addRow(warning_);
    thresholds->addRow(critical_);
    layout->addWidget(thresholds);
    layout->addStretch(1);

    connect(launchAtLogin_, &QCheckBox::toggled, this, &GeneralSettings::setLaunchAtLogin);
    connect(interval_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            services_.settings.setValue(SettingsKey::updateInterval, double(intervalOptions()[static_cast<size_t>(index)]));
    });
    connect(warning_, &SliderBlock::moved, this, [this](double value) { services_.settings.setWarningThreshold(value); });
    connect(critical_, &SliderBlock::moved, this, [this](double value) { services_.settings.setCriticalThreshold(value); });

    refresh();
}

void GeneralSettings::refresh()
{
    const auto& settings = services_.settings;
    {
        const QSignalBlocker blocker(interval_);
        interval_->setCurrentIndex(shownOption(settings, SettingsKey::updateInterval, intervalOptions()));
    }
    warning_->setValue(shownFraction(settings, SettingsKey::warningThreshold, warningGrid));
    critical_->setValue(shownFraction(settings, SettingsKey::criticalThreshold, criticalGrid));
    showLoginItemState();
}

void GeneralSettings::setLaunchAtLogin(bool on)
{
    // Failures are not reported: the switch shows what the login item
    // really is afterwards, so a refused change snaps back.
    if (services_.loginItem) {
        if (on)
            services_.loginItem->enable();
        else
            services_.loginItem->disable();
    }
    showLoginItemState();
}

void GeneralSettings::showLoginItemState()
{
    const QSignalBlocker blocker(launchAtLogin_);
    launchAtLogin_->setChecked(services_.loginItem && services_.loginItem->isEnabled());
}

} // namespace orbistat::ui
