#include "ui/settings/AlertsSettings.h"

#include "alerts/AlertManager.h"
#include "core/SettingsStore.h"
#include "menubar/MenuBarRenderer.h"
#include "ui/settings/FormSection.h"
#include "ui/settings/FormStyle.h"
#include "ui/settings/GeneralSettings.h"
#include "ui/settings/ShownSettings.h"
#include "ui/settings/ToggleSwitch.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orbistat::ui {

namespace {
constexpr int alertRowPadding = 2;
constexpr int messageSpacing = 3;
constexpr int testRowPadding = 5;

// The settings key of each alert switch, in the order of `Alert`.
constexpr std::array<const char*, 5> alertKeys{
    SettingsKey::alertCPU, SettingsKey::alertMemory, SettingsKey::alertDisk, SettingsKey::alertBattery, SettingsKey::alertTemperature,
};
} // namespace

const std::vector<int>& AlertsSettings::durationOptions()
{
    static const std::vector<int> options{15, 30, 60, 120};
    return options;
}

AlertsSettings::AlertsSettings(SettingsServices services, QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , enabled_(new ToggleSwitch(tr("Send notifications")))
    , duration_(new QComboBox)
    , diskThreshold_(new SliderBlock(tr("Disk full alert at"), diskGrid, tr("Disk full threshold")))
    , testButton_(new QPushButton(tr("Send test notification")))
    , testMessage_(makeSecondaryLabel(QString(), form::footerTextSize))
    , alertsSection_(new FormSection(tr("Notify me about")))
    , conditionsSection_(new FormSection(tr("Conditions"), tr("The CPU alert uses the critical threshold from General.")))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(form::pageMargins);
    layout->setSpacing(form::sectionSpacing);

    auto* master = new FormSection(QString(), tr("Each alert is sent at most once every 15 minutes."));
    master->addRow(enabled_);
    layout->addWidget(master);

    // The CPU label carries the critical threshold and is set in refresh().
    const QString labels[] = {QString(), tr("Memory under pressure"), tr("Disk almost full"),
                              tr("Battery at %1 or less, not charging").arg(QStringLiteral("15%")), tr("CPU temperature above 95 °C")};
    for (size_t i = 0; i < alerts_.size(); ++i) {
        alerts_[i] = new ToggleSwitch(labels[i]);
        alertsSection_->addRow(alerts_[i], alertRowPadding);
        connect(alerts_[i], &QCheckBox::toggled, this, [this, key = alertKeys[i]](bool on) { services_.settings.setValue(key, on); });
    }
    layout->addWidget(alertsSection_);

    for (const int seconds : durationOptions())
        duration_->addItem(tr("%n seconds", nullptr, seconds), seconds);
    conditionsSection_->addLabeledRow(tr("Only after it lasts"), duration_);
    conditionsSection_->addRow(diskThreshold_);
    layout->addWidget(conditionsSection_);

    auto* test = new FormSection;
    auto* testRow = new QWidget;
    auto* testLayout = new QVBoxLayout(testRow);
    testLayout->setContentsMargins(0, 0, 0, 0);
    testLayout->setSpacing(messageSpacing);
    testLayout->addWidget(testButton_, 0, Qt::AlignLeft);
    testLayout->addWidget(testMessage_);
    testMessage_->hide();
    test->addRow(testRow, testRowPadding);
    layout->addWidget(test);
    layout->addStretch(1);

    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) {
        services_.settings.setValue(SettingsKey::alertsEnabled, on);
        // Turning alerts on is when the desktop is asked for permission.
        if (on && services_.alerts)
            services_.alerts->requestAuthorization();
    });
    connect(duration_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            services_.settings.setValue(SettingsKey::alertDuration, double(durationOptions()[static_cast<size_t>(index)]));
    });
    connect(diskThreshold_, &SliderBlock::moved, this,
            [this](double value) { services_.settings.setValue(SettingsKey::diskAlertThreshold, value); });
    testButton_->setAccessibleName(testButton_->text());
    connect(testButton_, &QPushButton::clicked, this, &AlertsSettings::sendTest);

    refresh();
}

void AlertsSettings::refresh()
{
    const auto& settings = services_.settings;
    const bool on = settings.boolValue(SettingsKey::alertsEnabled);
    {
        const QSignalBlocker blocker(enabled_);
        enabled_->setChecked(on);
    }
    const double critical = shownFraction(settings, SettingsKey::criticalThreshold, GeneralSettings::criticalGrid);
    const QString cpuLabel = tr("CPU above %1").arg(MenuBarRenderer::percentText(critical));
    alerts_[0]->setText(cpuLabel);
    alerts_[0]->setAccessibleName(cpuLabel);
    for (size_t i = 0; i < alerts_.size(); ++i) {
        const QSignalBlocker blocker(alerts_[i]);
        alerts_[i]->setChecked(settings.boolValue(alertKeys[i]));
    }
    {
        const QSignalBlocker blocker(duration_);
        duration_->setCurrentIndex(shownOption(settings, SettingsKey::alertDuration, durationOptions()));
    }
    diskThreshold_->setValue(shownFraction(settings, SettingsKey::diskAlertThreshold, diskGrid));
    alertsSection_->setEnabled(on);
    conditionsSection_->setEnabled(on);
}

void AlertsSettings::sendTest()
{
    if (!services_.alerts)
        return;
    // The answer comes later; the button waits for it so that one click
    // sends one notification.
    testButton_->setEnabled(false);
    services_.alerts->sendTestNotification([self = QPointer<AlertsSettings>(this)](const QString& status) {
        if (!self)
            return;
        self->testButton_->setEnabled(true);
        self->testMessage_->setText(status);
        self->testMessage_->show();
    });
}

} // namespace orbistat::ui
