// The content of the popover: the header, a divider, and a scrolling column
// of the cards the user chose (in their fixed order, each while the machine
// reports its data), or a hint when no card is chosen. 340 points wide; as
// high as its host makes it.
//
// The view follows the monitor and the settings store through their change
// signals and updates its widgets in place. While it is not on screen a
// tick costs it nothing (no layout, no painting, no timer): the cards only
// note that they are out of date and catch up when shown.
#pragma once

#include "core/PopoverCard.h"
#include "shared/drawing/Palette.h"

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QScrollArea;

namespace orbistat {
class SettingsStore;
class SystemMonitor;
}

namespace orbistat::ui {

class HeaderView;
class MetricCard;
class TextLabel;

// What the header's menu does. An absent settings action does nothing; an
// absent quit action quits the application.
struct PopoverActions {
    std::function<void()> openSettings;
    std::function<void()> quit;
};

class PopoverView : public QWidget {
    Q_OBJECT
public:
    static constexpr int viewWidth = 340;
    static constexpr int columnPadding = 12;
    static constexpr int cardSpacing = 10;
    static constexpr int emptyTextPadding = 24;

    PopoverView(SystemMonitor& monitor, const SettingsStore& settings, PopoverActions actions = {},
                Appearance appearance = Appearance::light, QWidget* parent = nullptr);

    void setAppearance(Appearance appearance);

    // Brings the card choice and every shown card up to date now. The host
    // calls it before showing its window, so the first frame is current.
    void prepareToShow();
    // The height the header, the divider and all shown cards need: the
    // popover's size when nothing has to scroll.
    int naturalHeight();

    HeaderView* header() const { return header_; }
    QScrollArea* scrollArea() const { return scroll_; }
    TextLabel* emptyText() const { return empty_; }
    MetricCard* card(PopoverCard which) const { return cards_[static_cast<size_t>(which)]; }
    // The cards on show, in order.
    std::vector<PopoverCard> shownCards() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void invalidateChoice();
    void applyChoice();

    SystemMonitor& monitor_;
    const SettingsStore& settings_;
    PopoverActions actions_;
    HeaderView* header_;
    QScrollArea* scroll_;
    QWidget* column_;
    std::array<MetricCard*, popoverCardTable.size()> cards_{};
    QWidget* emptyHint_;
    TextLabel* empty_;
    bool choiceOutOfDate_ = true;
    bool choicePosted_ = false;
};

} // namespace orbistat::ui
