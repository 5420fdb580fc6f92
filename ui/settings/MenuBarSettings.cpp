#include "ui/settings/MenuBarSettings.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "menubar/MenuBarRenderer.h"
#include "ui/settings/FormSection.h"
#include "ui/settings/FormStyle.h"
#include "ui/settings/MenuBarPreview.h"
#include "ui/settings/ModuleRow.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/ToggleSwitch.h"

#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace orbistat::ui {

namespace {
constexpr int previewPadding = 6;
constexpr int moduleRowPadding = 2;

int styleIndex(MenuBarStyle style)
{
    for (size_t i = 0; i < menuBarStyleTable.size(); ++i) {
        if (menuBarStyleTable[i].style == style)
            return static_cast<int>(i);
    }
    return -1;
}
} // namespace

MenuBarSettings::MenuBarSettings(SystemMonitor& monitor, SettingsServices services, QWidget* parent)
    : QWidget(parent)
    , monitor_(monitor)
    , services_(services)
    , preview_(new MenuBarPreview)
    , colorize_(new ToggleSwitch(tr("Color values above the thresholds")))
    , modules_(new FormSection(tr("Modules"),
                               tr("Only the checked modules appear in the menu bar, in this order. With none selected, Orbistat shows just its icon.")))
{
    QStringList styleTitles;
    for (const auto& entry : menuBarStyleTable)
        styleTitles.append(title(entry.style));
    layout_ = new SegmentedControl(styleTitles);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(form::pageMargins);
    layout->setSpacing(form::sectionSpacing);

    auto* previewSection = new FormSection(tr("Preview"));
    previewSection->addRow(preview_, previewPadding);
    layout->addWidget(previewSection);

    auto* styleSection = new FormSection(tr("Style"));
    styleSection->addLabeledRow(tr("Layout"), layout_);
    styleSection->addRow(colorize_);
    layout->addWidget(styleSection);

    for (const auto& entry : menuBarModuleTable) {
        auto* row = new ModuleRow(entry.module);
        rows_.push_back(row);
        modules_->addRow(row, moduleRowPadding);
        connect(row, &ModuleRow::toggled, this, [this](MenuBarModule module, bool on) { services_.settings.setModuleEnabled(module, on); });
        connect(row, &ModuleRow::moved, this, [this](MenuBarModule module, int step) { services_.settings.moveModule(module, step); });
    }
    for (const auto& entry : menuBarModuleTable)
        shownOrder_.push_back(entry.module);
    layout->addWidget(modules_);
    layout->addStretch(1);

    connect(layout_, &SegmentedControl::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(menuBarStyleTable.size()))
            services_.settings.setValue(SettingsKey::menuBarStyle, rawValue(menuBarStyleTable[static_cast<size_t>(index)].style));
    });
    connect(colorize_, &QCheckBox::toggled, this, [this](bool on) { services_.settings.setValue(SettingsKey::menuBarColorize, on); });

    // A tick announces each of its values; one preview update follows them.
    for (const auto signal : {&SystemMonitor::cpuChanged, &SystemMonitor::memoryChanged, &SystemMonitor::networkChanged,
                              &SystemMonitor::diskChanged, &SystemMonitor::gpuChanged, &SystemMonitor::sensorsChanged,
                              &SystemMonitor::batteryChanged})
        connect(&monitor_, signal, this, &MenuBarSettings::monitorChanged);
    connect(&monitor_, &SystemMonitor::historyChanged, this, &MenuBarSettings::monitorChanged);

    refresh();
}

std::vector<ModuleRow*> MenuBarSettings::moduleRows() const
{
    std::vector<ModuleRow*> rows;
    for (const auto module : shownOrder_)
        rows.push_back(row(module));
    return rows;
}

ModuleRow* MenuBarSettings::row(MenuBarModule module) const
{
    return rows_[static_cast<size_t>(module)];
}

void MenuBarSettings::refresh()
{
    const auto& settings = services_.settings;
    layout_->setCurrentIndex(styleIndex(settings.currentMenuBarStyle()));
    {
        const QSignalBlocker blocker(colorize_);
        colorize_->setChecked(settings.boolValue(SettingsKey::menuBarColorize));
    }

    const auto order = parseModuleOrder(settings.textValue(SettingsKey::menuBarOrder).value_or(QString()));
    const auto enabled = parseSet(settings.textValue(SettingsKey::menuBarEnabled).value_or(QString()));
    for (size_t i = 0; i < order.size(); ++i)
        row(order[i])->showState(enabled.count(rawValue(order[i])) > 0, i > 0, i + 1 < order.size());
    if (order != shownOrder_) {
        shownOrder_ = order;
        const auto rows = moduleRows();
        modules_->reorderRows(std::vector<QWidget*>(rows.begin(), rows.end()));
        // Keyboard order follows the order on screen.
        QWidget* previous = colorize_;
        for (ModuleRow* moduleRow : rows) {
            for (QWidget* control : {static_cast<QWidget*>(moduleRow->toggle()), static_cast<QWidget*>(moduleRow->upButton()),
                                     static_cast<QWidget*>(moduleRow->downButton())}) {
                setTabOrder(previous, control);
                previous = control;
            }
        }
    }
    refreshPreview();
}

void MenuBarSettings::refreshPreview()
{
    const auto& settings = services_.settings;
    preview_->setItems(MenuBarRenderer::items(monitor_, settings.enabledMenuBarModules(), settings), settings.currentMenuBarStyle(),
                       settings.boolValue(SettingsKey::menuBarColorize));
}

void MenuBarSettings::monitorChanged()
{
    if (previewPending_ || !isVisible())
        return;
    previewPending_ = true;
    QTimer::singleShot(0, this, [this] {
        previewPending_ = false;
        if (isVisible())
            refreshPreview();
    });
}

void MenuBarSettings::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshPreview();
}

} // namespace orbistat::ui
