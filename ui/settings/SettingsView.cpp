#include "ui/settings/SettingsView.h"

#include "core/SettingsStore.h"
#include "ui/OffscreenRender.h"
#include "ui/Theme.h"
#include "ui/settings/AlertsSettings.h"
#include "ui/settings/FormStyle.h"
#include "ui/settings/GeneralSettings.h"
#include "ui/settings/MenuBarSettings.h"
#include "ui/settings/PopoverSettings.h"
#include "ui/settings/SettingsTabBar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPointer>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace orbistat::ui {

namespace {

constexpr int headerPadding = 6;

// The controls are drawn by Qt's own Fusion style with the view's palette,
// so that the window looks the same on every desktop and in the export.
// A widget's style does not pass to its children; every widget gets it.
QStyle* formStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = QStyleFactory::create(QStringLiteral("Fusion"));
        if (style)
            style->setParent(qApp);
    }
    return style;
}

void useFormStyle(QWidget& root)
{
    // The menu-like items Fusion draws in a combo box's list take the
    // application's menu colours, not the view's: light lists in a dark
    // window. Plain items use the list's own palette. Asking for the view
    // also creates the list, so that it gets the style below.
    for (QComboBox* combo : root.findChildren<QComboBox*>()) {
        combo->setItemDelegate(new QStyledItemDelegate(combo));
        combo->view();
    }
    QStyle* style = formStyle();
    if (!style)
        return;
    root.setStyle(style);
    for (QWidget* child : root.findChildren<QWidget*>())
        child->setStyle(style);
}

// A page in a scroll area: the forms fit the window, and scroll if a
// translation makes one longer.
QWidget* scrolling(QWidget* page)
{
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFocusPolicy(Qt::NoFocus);  // Tab goes from the tabs straight to the first control
    area->setWidget(page);
    area->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    return area;
}

} // namespace

SettingsView::SettingsView(SystemMonitor& monitor, SettingsServices services, QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , tabBar_(new SettingsTabBar)
    , pages_(new QStackedWidget)
    , general_(new GeneralSettings(services))
    , menuBar_(new MenuBarSettings(monitor, services))
    , popover_(new PopoverSettings(services))
    , alerts_(new AlertsSettings(services))
{
    setFont(uiFont(form::bodyTextSize));
    tabBar_->setFont(uiFont(form::tabTextSize));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, headerPadding, 0, headerPadding);
    header->addStretch(1);
    header->addWidget(tabBar_);
    header->addStretch(1);
    layout->addLayout(header);
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setForegroundRole(QPalette::Mid);
    layout->addWidget(rule);
    layout->addWidget(pages_, 1);

    for (const auto& entry : settingsTabTable)
        tabBar_->addSymbolTab(title(entry.tab), symbolName(entry.tab));
    for (QWidget* page : {static_cast<QWidget*>(general_), static_cast<QWidget*>(menuBar_), static_cast<QWidget*>(popover_),
                          static_cast<QWidget*>(alerts_)})
        pages_->addWidget(scrolling(page));

    useFormStyle(*this);
    showStoredTab();

    connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(settingsTabTable.size())) {
            pages_->setCurrentIndex(index);
            setTab(settingsTabTable[static_cast<size_t>(index)].tab);
        }
    });
    connect(&services_.settings, &SettingsStore::changed, this, &SettingsView::settingsChanged);
}

SettingsTab SettingsView::tab() const
{
    const auto stored = services_.settings.textValue(SettingsKey::settingsTab);
    return settingsTabFromRaw(stored.value_or(QString())).value_or(SettingsTab::general);
}

void SettingsView::setTab(SettingsTab tab)
{
    if (services_.settings.textValue(SettingsKey::settingsTab) != rawValue(tab))
        services_.settings.setValue(SettingsKey::settingsTab, rawValue(tab));
}

SettingsTab SettingsView::shownTab() const
{
    return settingsTabTable[static_cast<size_t>(std::max(0, tabBar_->currentIndex()))].tab;
}

void SettingsView::showStoredTab()
{
    const int index = static_cast<int>(tab());
    const QSignalBlocker blocker(tabBar_);
    tabBar_->setCurrentIndex(index);
    pages_->setCurrentIndex(index);
}

void SettingsView::refresh()
{
    stale_ = false;
    showStoredTab();
    general_->refresh();
    menuBar_->refresh();
    popover_->refresh();
    alerts_->refresh();
}

void SettingsView::settingsChanged()
{
    // A hidden view does no work; it catches up when shown.
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    refresh();
}

void SettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Also picks up a login item changed elsewhere while the window was
    // closed.
    refresh();
}

QImage SettingsView::render(SystemMonitor& monitor, SettingsServices services, Appearance appearance, double scale)
{
    SettingsView view(monitor, services);
    applyAppearance(view, appearance);
    return renderWidget(view, size, scale);
}

} // namespace orbistat::ui
