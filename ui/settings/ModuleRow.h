// One line of the menu bar module list: a check box with the module's symbol
// and title, then borderless buttons that move the module one place up or
// down ("Move CPU up").
#pragma once

#include "core/MenuBarModule.h"

#include <QCheckBox>
#include <QToolButton>
#include <QWidget>

namespace orbistat::ui {

class ModuleRow : public QWidget {
    Q_OBJECT
public:
    explicit ModuleRow(MenuBarModule module, QWidget* parent = nullptr);

    MenuBarModule module() const { return module_; }
    QCheckBox* toggle() const { return toggle_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    // Shows the state without emitting anything.
    void showState(bool enabled, bool canMoveUp, bool canMoveDown);

signals:
    void toggled(orbistat::MenuBarModule module, bool enabled);
    void moved(orbistat::MenuBarModule module, int step);

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateIcon();

    MenuBarModule module_;
    QCheckBox* toggle_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace orbistat::ui
