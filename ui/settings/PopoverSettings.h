// The Popover tab: one switch per card, in the popover's order, each with
// the card's symbol.
#pragma once

#include "core/PopoverCard.h"
#include "ui/settings/SettingsServices.h"

#include <QWidget>
#include <vector>

namespace orbistat::ui {

class ToggleSwitch;

class PopoverSettings : public QWidget {
    Q_OBJECT
public:
    explicit PopoverSettings(SettingsServices services, QWidget* parent = nullptr);

    void refresh();

    // The symbol beside the card's switch.
    static QString cardSymbol(PopoverCard card);
    ToggleSwitch* toggle(PopoverCard card) const { return toggles_[static_cast<size_t>(card)]; }

private:
    SettingsServices services_;
    std::vector<ToggleSwitch*> toggles_;  // in declaration order
};

} // namespace orbistat::ui
