#include "app/AppDelegate.h"

#include "alerts/AlertManager.h"
#include "app/SystemTrayIconItem.h"
#include "app/TrayAppearance.h"
#include "core/SettingsStore.h"
#include "menubar/MenuBarRenderer.h"
#include "platform/linux/LinuxStatusNotifierItem.h"
#include "ui/Theme.h"
#include "ui/popover/PopoverView.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDBusConnectionInterface>
#include <QKeySequence>
#include <QMetaObject>
#include <QPointer>
#include <algorithm>

namespace orbistat {

std::vector<StatusMenuEntry> AppDelegate::menuEntries()
{
    using Kind = StatusMenuEntry::Kind;
    return {
        {openEntry, Kind::action, QCoreApplication::translate("AppDelegate", "Open Orbistat"), {}},
        {settingsEntry, Kind::action, QCoreApplication::translate("AppDelegate", "Settings\u2026"), QStringLiteral(",")},
        {separatorEntry, Kind::separator, {}, {}},
        {quitEntry, Kind::action, QCoreApplication::translate("AppDelegate", "Quit Orbistat"), QStringLiteral("q")},
    };
}

AppDelegate::AppDelegate(SettingsStore& settings, AlertManager& alerts, MonitorSamplers samplers, const Clock& clock,
                         QDBusConnection sessionBus, QObject* parent)
    : QObject(parent)
    , settings_(settings)
    , alerts_(alerts)
    , sessionBus_(std::move(sessionBus))
    , monitor_(std::move(samplers), settings, clock)
    , widgetBridge_(settings)
{
}

AppDelegate::~AppDelegate()
{
    monitor_.onUpdate = nullptr;
}

PopoverWindow& AppDelegate::popover()
{
    if (popover_)
        return *popover_;
    popover_ = std::make_unique<PopoverWindow>();
    connect(popover_.get(), &PopoverWindow::lastWayInClosed, this, &AppDelegate::quitApp);
    popover_->setTrayAvailable(trayAvailable_);

    // The popover's cards, with the header menu's Settings and Quit. The
    // histories live in the monitor, so cards made now show the minutes
    // before as well.
    const Appearance appearance = ui::systemAppearance();
    popoverView_ = new ui::PopoverView(monitor_, settings_,
                                       ui::PopoverActions{[this] { openSettings(QString::fromLatin1(generalTab)); },
                                                          [this] { quitApp(); }},
                                       appearance);
    ui::applyAppearance(*popover_, appearance);
    popover_->setContent(popoverView_);
    return *popover_;
}

ui::PopoverView& AppDelegate::popoverView()
{
    popover();
    return *popoverView_;
}

QMenu& AppDelegate::menu()
{
    if (menu_)
        return *menu_;
    menu_ = std::make_unique<QMenu>();
    for (const auto& entry : menuEntries()) {
        if (entry.kind == StatusMenuEntry::Kind::separator) {
            menu_->addSeparator();
            continue;
        }
        auto* action = menu_->addAction(entry.label);
        if (!entry.shortcutKey.isEmpty())
            action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + entry.shortcutKey));
        connect(action, &QAction::triggered, this, [this, id = entry.id] { handleMenuEntry(id); });
    }
    return *menu_;
}

StatusItem* AppDelegate::statusItem() const
{
    if (fallbackItem_ && !(statusItem_ && statusItem_->isShown()))
        return fallbackItem_.get();
    return statusItem_.get();
}

void AppDelegate::configure(StatusItem& item)
{
    item.onClick = [this](StatusItem::Click click, std::optional<QPoint> position) { handleClick(click, position); };
    item.onMenuEntry = [this](int id) { handleMenuEntry(id); };
    item.onShownChanged = [this](bool) { trayShownChanged(); };
    item.setMenu(menuEntries());
}

bool AppDelegate::isInTray() const
{
    return (statusItem_ && statusItem_->isShown()) || (fallbackItem_ && fallbackItem_->isShown());
}

void AppDelegate::launch()
{
    // The item goes on the bus whatever is there now: a tray that starts
    // later (or a panel that restarts) registers it when it appears.
    statusItem_ = std::make_unique<LinuxStatusNotifierItem>(sessionBus_, QStringLiteral("orbistat"),
                                                             QStringLiteral("Orbistat"));
    configure(*statusItem_);
    if (!statusItem_->hasWatcher() && SystemTrayIconItem::isTrayAvailable()) {
        fallbackItem_ = std::make_unique<SystemTrayIconItem>();
        configure(*fallbackItem_);
        fallbackItem_->setVisible(true);
    }

    // Each tick: the image, the alerts, the widgets' snapshot. The monitor
    // is a member, so the callback cannot outlive the delegate.
    monitor_.onUpdate = [this] {
        updateStatusItem();
        alerts_.evaluate(monitor_);
        widgetBridge_.publish(monitor_);
    };
    connect(&settings_, &SettingsStore::changed, this, [this] {
        QMetaObject::invokeMethod(this, &AppDelegate::settingsChanged, Qt::QueuedConnection);
    });
    monitor_.start();
    updateStatusItem();

    // With no tray at all, the popover is the program's window.
    if (!statusItem_->hasWatcher() && !fallbackItem_) {
        trayAvailable_ = false;
        auto& window = popover();
        popoverView_->prepareToShow();
        window.showAsWindow();
    }
}

void AppDelegate::settingsChanged()
{
    monitor_.setInterval(SystemMonitor::boundedInterval(settings_.doubleValue(SettingsKey::updateInterval)));
    updateStatusItem();
}

void AppDelegate::updateStatusItem()
{
    if (!statusItem_)
        return;
    TrayImageInputs inputs;
    readings_.update(monitor_);
    inputs.items = MenuBarRenderer::items(readings_, settings_.enabledMenuBarModules(), settings_);
    if (!inputs.items.empty()) {
        inputs.style = settings_.currentMenuBarStyle();
        inputs.colorize = settings_.boolValue(SettingsKey::menuBarColorize);
    }
    inputs.appearance = trayAppearance();
    const QString toolTip = MenuBarRenderer::accessibilityText(inputs.items);
    if (auto sizes = imageCache_.update(inputs)) {
        statusItem_->setImage(*sizes);
        if (fallbackItem_)
            fallbackItem_->setImage(*sizes);
    }
    if (toolTip != toolTip_) {
        toolTip_ = toolTip;
        statusItem_->setToolTip(toolTip);
        if (fallbackItem_)
            fallbackItem_->setToolTip(toolTip);
    }
}

void AppDelegate::handleClick(StatusItem::Click click, std::optional<QPoint> position)
{
    if (click == StatusItem::Click::primary)
        togglePopover(position);
    else
        showMenu(position);
}

void AppDelegate::togglePopover(std::optional<QPoint> click)
{
    // The first frame shows current values: the cards catch up before the
    // window appears (they do no work while it is hidden).
    auto& window = popover();
    if (!window.isOpen())
        popoverView_->prepareToShow();
    window.toggle(click);
}

void AppDelegate::openPopover()
{
    auto& window = popover();
    popoverView_->prepareToShow();
    if (window.isWindowMode() || !isInTray()) {
        window.showAsWindow();
        return;
    }
    window.showAt(std::nullopt);
}

void AppDelegate::showMenu(std::optional<QPoint> click)
{
    if (isPopoverOpen() && !popover_->isWindowMode())
        popover_->hide();
    menu().popup(click.value_or(QCursor::pos()));
}

void AppDelegate::handleMenuEntry(int id)
{
    switch (id) {
    case openEntry:
        openPopover();
        break;
    case settingsEntry:
        openSettings(QString::fromLatin1(generalTab));
        break;
    case quitEntry:
        quitApp();
        break;
    default:
        break;
    }
}

void AppDelegate::openSettings(const QString& tab)
{
    if (isPopoverOpen() && !popover_->isWindowMode())
        popover_->hide();
    if (settingsOpener)
        settingsOpener(monitor_, tab);
}

void AppDelegate::quitApp()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

void AppDelegate::trayShownChanged()
{
    // Our item in a tray makes the XEmbed icon a second item: hide it. A
    // watcher that goes away (a panel restart) brings it back only if the
    // item stays unregistered, which the next registration ends.
    const bool sniShown = statusItem_ && statusItem_->isShown();
    if (fallbackItem_)
        fallbackItem_->setVisible(!sniShown);
    trayAvailable_ = isInTray() || (statusItem_ && statusItem_->hasWatcher());
    if (popover_)
        popover_->setTrayAvailable(trayAvailable_);
}

} // namespace orbistat
