#include "ui/popover/PopoverView.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "ui/Theme.h"
#include "ui/cards/AccessoriesCard.h"
#include "ui/cards/BatteryCard.h"
#include "ui/cards/CPUCard.h"
#include "ui/cards/DiskCard.h"
#include "ui/cards/GPUCard.h"
#include "ui/cards/MemoryCard.h"
#include "ui/cards/NetworkCard.h"
#include "ui/cards/SensorsCard.h"
#include "ui/components/Divider.h"
#include "ui/components/SlimScrollBarStyle.h"
#include "ui/components/TextLabel.h"
#include "ui/popover/CardChoice.h"
#include "ui/popover/HeaderView.h"

#include <QAction>
#include <QCoreApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace orbistat::ui {

namespace {
constexpr int emptyTextPoints = 12;
constexpr int dividerHeight = 1;
// More than the deepest nesting of layouts in the view.
constexpr int settlePasses = 16;
} // namespace

PopoverView::PopoverView(SystemMonitor& monitor, const SettingsStore& settings, PopoverActions actions, Appearance appearance,
                         QWidget* parent)
    : QWidget(parent)
    , monitor_(monitor)
    , settings_(settings)
    , actions_(std::move(actions))
    , header_(new HeaderView(monitor))
    , scroll_(new QScrollArea)
    , column_(new QWidget)
    , emptyHint_(new QWidget)
    , empty_(new TextLabel(tr("No cards selected. Choose what to show in Settings → Popover."), uiFont(emptyTextPoints),
                           ColorRole::secondary))
{
    setFixedWidth(viewWidth);
    setAppearance(appearance);

    cards_[static_cast<size_t>(PopoverCard::cpu)] = new CPUCard(monitor, settings);
    cards_[static_cast<size_t>(PopoverCard::memory)] = new MemoryCard(monitor);
    cards_[static_cast<size_t>(PopoverCard::network)] = new NetworkCard(monitor);
    cards_[static_cast<size_t>(PopoverCard::disk)] = new DiskCard(monitor);
    cards_[static_cast<size_t>(PopoverCard::gpu)] = new GPUCard(monitor, settings);
    cards_[static_cast<size_t>(PopoverCard::sensors)] = new SensorsCard(monitor);
    cards_[static_cast<size_t>(PopoverCard::battery)] = new BatteryCard(monitor);
    cards_[static_cast<size_t>(PopoverCard::accessories)] = new AccessoriesCard(monitor);

    auto* cardsColumn = new QVBoxLayout(column_);
    cardsColumn->setContentsMargins(columnPadding, columnPadding, columnPadding, columnPadding);
    cardsColumn->setSpacing(cardSpacing);
    for (MetricCard* card : cards_) {
        card->hide();
        cardsColumn->addWidget(card);
    }
    empty_->setWrapping(true);
    empty_->setAlignment(Qt::AlignHCenter);
    // The hint with its padding, shown and hidden as one.
    auto* emptyBox = new QVBoxLayout(emptyHint_);
    emptyBox->setContentsMargins(0, emptyTextPadding, 0, emptyTextPadding);
    emptyBox->addWidget(empty_);
    emptyHint_->hide();
    cardsColumn->addWidget(emptyHint_);
    cardsColumn->addStretch(1);

    column_->setAutoFillBackground(false);
    scroll_->setWidget(column_);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->viewport()->setAutoFillBackground(false);
    auto* slim = new SlimScrollBarStyle;
    slim->setParent(this);
    scroll_->verticalScrollBar()->setStyle(slim);

    auto* layout = new QVBoxLayout(this);
    // The host sizes the popover; the layout puts no limits on its window.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header_);
    layout->addWidget(new Divider);
    layout->addWidget(scroll_, 1);

    connect(header_->settingsAction(), &QAction::triggered, this, [this] {
        if (actions_.openSettings)
            actions_.openSettings();
    });
    connect(header_->quitAction(), &QAction::triggered, this, [this] {
        if (actions_.quit)
            actions_.quit();
        else
            QCoreApplication::quit();
    });

    connect(&settings_, &SettingsStore::changed, this, &PopoverView::invalidateChoice);
    connect(&monitor_, &SystemMonitor::gpuChanged, this, &PopoverView::invalidateChoice);
    connect(&monitor_, &SystemMonitor::sensorsChanged, this, &PopoverView::invalidateChoice);
    connect(&monitor_, &SystemMonitor::batteryChanged, this, &PopoverView::invalidateChoice);
    connect(&monitor_, &SystemMonitor::accessoriesChanged, this, &PopoverView::invalidateChoice);
}

void PopoverView::setAppearance(Appearance appearance)
{
    applyAppearance(*this, appearance);
}

std::vector<PopoverCard> PopoverView::shownCards() const
{
    std::vector<PopoverCard> shown;
    for (const auto& info : popoverCardTable) {
        if (!card(info.card)->isHidden())
            shown.push_back(info.card);
    }
    return shown;
}

void PopoverView::invalidateChoice()
{
    choiceOutOfDate_ = true;
    if (!isVisible() || choicePosted_)
        return;
    choicePosted_ = true;
    QMetaObject::invokeMethod(this, [this] {
        choicePosted_ = false;
        if (isVisible())
            applyChoice();
    }, Qt::QueuedConnection);
}

void PopoverView::applyChoice()
{
    if (!choiceOutOfDate_)
        return;
    choiceOutOfDate_ = false;
    const std::set<QString> chosen = settings_.visibleCards();
    const std::vector<PopoverCard> shown = ui::shownCards(chosen, monitor_);
    for (const auto& info : popoverCardTable) {
        MetricCard* which = card(info.card);
        const bool on = std::find(shown.begin(), shown.end(), info.card) != shown.end();
        if (which->isHidden() == on)
            which->setVisible(on);
    }
    // The hint only for an empty choice, not for chosen cards that have no
    // data on this machine.
    const bool nothingChosen = chosen.empty();
    if (emptyHint_->isHidden() == nothingChosen)
        emptyHint_->setVisible(nothingChosen);
}

void PopoverView::prepareToShow()
{
    applyChoice();
    for (MetricCard* card : cards_) {
        if (!card->isHidden())
            card->refreshIfNeeded();
    }
}

void PopoverView::showEvent(QShowEvent* event)
{
    prepareToShow();
    QWidget::showEvent(event);
}

int PopoverView::naturalHeight()
{
    // Size hints settle only while the view is shown: nested layouts put
    // off their work while hidden. So show it without reaching the screen.
    const bool wasVisible = isVisible();
    if (!wasVisible) {
        setAttribute(Qt::WA_DontShowOnScreen, true);
        show();
    }
    prepareToShow();
    // Each pass delivers the layout requests the previous one raised, one
    // level of nesting at a time.
    for (int pass = 0; pass < settlePasses; ++pass)
        QCoreApplication::sendPostedEvents();
    QLayout* cards = column_->layout();
    const int columnHeight = cards->hasHeightForWidth() ? cards->totalHeightForWidth(viewWidth) : cards->totalSizeHint().height();
    const int height = header_->sizeHint().height() + dividerHeight + columnHeight;
    if (!wasVisible) {
        hide();
        setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    return height;
}

} // namespace orbistat::ui
