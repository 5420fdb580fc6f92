// The popover's header: the program's gauge symbol, its name over the
// processor's name, and on the right the menu with "Settings…" (Ctrl+,) and
// "Quit Orbistat" (Ctrl+Q). The actions are the header's; what they do is
// given by whoever builds the popover.
#pragma once

#include <QWidget>

class QAction;
class QMenu;

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class MenuButton;
class TextLabel;

class HeaderView : public QWidget {
    Q_OBJECT
public:
    explicit HeaderView(const SystemMonitor& monitor, QWidget* parent = nullptr);

    QAction* settingsAction() const { return settings_; }
    QAction* quitAction() const { return quit_; }
    MenuButton* menuButton() const { return button_; }
    QMenu* menu() const { return menu_; }
    TextLabel* nameLabel() const { return name_; }
    TextLabel* processorLabel() const { return processor_; }

private:
    QAction* settings_;
    QAction* quit_;
    QMenu* menu_;
    MenuButton* button_;
    TextLabel* name_;
    TextLabel* processor_;
};

} // namespace orbistat::ui
