#include "ui/settings/PopoverSettings.h"

#include "core/SettingsStore.h"
#include "ui/settings/FormSection.h"
#include "ui/settings/FormStyle.h"
#include "ui/settings/ToggleSwitch.h"

#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>

namespace orbistat::ui {

namespace {
// In the order of the cards' declaration.
constexpr std::array<const char*, popoverCardTable.size()> cardSymbols{
    "cpu", "memorychip", "network", "internaldrive", "display", "thermometer.medium", "battery.75percent", "dot.radiowaves.left.and.right",
};
constexpr int cardRowPadding = 4;
} // namespace

QString PopoverSettings::cardSymbol(PopoverCard card)
{
    return QString::fromLatin1(cardSymbols[static_cast<size_t>(card)]);
}

PopoverSettings::PopoverSettings(SettingsServices services, QWidget* parent)
    : QWidget(parent)
    , services_(services)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(form::pageMargins);
    layout->setSpacing(form::sectionSpacing);

    auto* cards = new FormSection(tr("Cards"), tr("GPU, Sensors and Battery only appear on computers that report them."));
    for (const auto& entry : popoverCardTable) {
        auto* toggle = new ToggleSwitch(title(entry.card), cardSymbol(entry.card));
        toggles_.push_back(toggle);
        cards->addRow(toggle, cardRowPadding);
        connect(toggle, &QCheckBox::toggled, this, [this, card = entry.card](bool on) { services_.settings.setCardVisible(card, on); });
    }
    layout->addWidget(cards);
    layout->addStretch(1);
    refresh();
}

void PopoverSettings::refresh()
{
    const auto visible = services_.settings.visibleCards();
    for (const auto& entry : popoverCardTable) {
        auto* toggle = toggles_[static_cast<size_t>(entry.card)];
        const QSignalBlocker blocker(toggle);
        toggle->setChecked(visible.count(rawValue(entry.card)) > 0);
    }
}

} // namespace orbistat::ui
