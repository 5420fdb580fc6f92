#include "ui/popover/HeaderView.h"

#include "ui/Theme.h"
#include "ui/cards/ProcessorNames.h"
#include "ui/components/Column.h"
#include "ui/components/MenuButton.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TextLabel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>

namespace orbistat::ui {

namespace {
constexpr int horizontalPadding = 14;
constexpr int verticalPadding = 10;
constexpr int spacing = 10;
constexpr int gaugePoints = 16;
constexpr int namePoints = 13;
constexpr int processorPoints = 10;
constexpr int menuPoints = 15;
} // namespace

HeaderView::HeaderView(const SystemMonitor& monitor, QWidget* parent)
    : QWidget(parent)
    , settings_(new QAction(tr("Settings…"), this))
    , quit_(new QAction(tr("Quit Orbistat"), this))
    , menu_(new QMenu(this))
    , button_(new MenuButton(QStringLiteral("ellipsis.circle"), menuPoints, menu_))
    , name_(new TextLabel(tr("Orbistat"), uiFont(namePoints, QFont::DemiBold), ColorRole::primary))
    , processor_(new TextLabel(processorBrandName(monitor), uiFont(processorPoints), ColorRole::secondary))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    settings_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // The shortcuts work while any part of the popover's window has focus.
    for (QAction* action : {settings_, quit_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    // The menu is its own window: it takes the popover's palette along.
    menu_->setAttribute(Qt::WA_WindowPropagation);
    menu_->addAction(settings_);
    menu_->addSeparator();
    menu_->addAction(quit_);

    button_->setToolTip(tr("Settings and quit"));
    button_->setAccessibleName(tr("Orbistat menu"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
    row->setSpacing(spacing);
    row->addWidget(new SymbolView(QStringLiteral("gauge.with.dots.needle.50percent"), gaugePoints, ColorRole::accent), 0,
                   Qt::AlignVCenter);
    auto* names = new Column(0);
    names->add(name_);
    names->add(processor_);
    row->addWidget(names, 1, Qt::AlignVCenter);
    row->addWidget(button_, 0, Qt::AlignVCenter);
}

} // namespace orbistat::ui
