// The Menu Bar tab: a live preview of the menu bar picture, the layout and
// colouring, and the module list in its stored order with check boxes and
// move buttons. The preview follows the monitor's ticks while it is on
// screen and does no work while hidden.
#pragma once

#include "core/MenuBarModule.h"
#include "ui/settings/SettingsServices.h"

#include <QWidget>
#include <vector>

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class FormSection;
class MenuBarPreview;
class ModuleRow;
class SegmentedControl;
class ToggleSwitch;

class MenuBarSettings : public QWidget {
    Q_OBJECT
public:
    MenuBarSettings(SystemMonitor& monitor, SettingsServices services, QWidget* parent = nullptr);

    void refresh();

    MenuBarPreview* preview() const { return preview_; }
    SegmentedControl* layoutPicker() const { return layout_; }
    ToggleSwitch* colorize() const { return colorize_; }
    // In the order shown.
    std::vector<ModuleRow*> moduleRows() const;
    ModuleRow* row(MenuBarModule module) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refreshPreview();
    void monitorChanged();

    SystemMonitor& monitor_;
    SettingsServices services_;
    MenuBarPreview* preview_;
    SegmentedControl* layout_;
    ToggleSwitch* colorize_;
    FormSection* modules_;
    std::vector<ModuleRow*> rows_;  // in declaration order
    std::vector<MenuBarModule> shownOrder_;
    bool previewPending_ = false;
};

} // namespace orbistat::ui
