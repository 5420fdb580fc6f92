// The tray program: owns the popover window, the one SystemMonitor and the
// one WidgetBridge, puts the item in the tray, and ties them together.
// Each tick redraws the tray image, evaluates the alerts and publishes the
// snapshot for the widgets, in that order; a settings change re-applies the
// sampling interval and redraws the image at once. A primary click on the
// item opens or closes the popover at the click; the context click (and the
// middle click) closes the popover and shows the menu.
//
// The popover and the menu are made when first shown: until then the
// program touches none of the widget toolkit, which keeps a tray program
// that is never opened as small as its work.
//
// Which tray gets the item: our StatusNotifierItem whenever a
// StatusNotifierWatcher is on the session bus (now or later); else, on X11,
// Qt's XEmbed tray icon; else the popover opens as an ordinary window with
// a hint on enabling a tray, and closing it quits.
#pragma once

#include "app/PopoverWindow.h"
#include "app/TrayImageCache.h"
#include "core/MonitorReadings.h"
#include "core/SystemMonitor.h"
#include "platform/StatusItem.h"
#include "shared/bridge/WidgetBridge.h"

#include <QDBusConnection>
#include <QMenu>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace orbistat {

class AlertManager;
class LinuxStatusNotifierItem;
class SettingsStore;
class SystemTrayIconItem;
namespace ui {
class PopoverView;
}

class AppDelegate : public QObject {
    Q_OBJECT
public:
    // The menu's entries, in the order shown.
    enum MenuEntryId { openEntry = 1, settingsEntry = 2, separatorEntry = 3, quitEntry = 4 };
    static std::vector<StatusMenuEntry> menuEntries();

    // The settings tab the menu's "Settings…" opens.
    static constexpr const char* generalTab = "general";

    AppDelegate(SettingsStore& settings, AlertManager& alerts, MonitorSamplers samplers, const Clock& clock,
                QDBusConnection sessionBus, QObject* parent = nullptr);
    ~AppDelegate() override;

    // From the creation of the tray item on: the item, the popover, the
    // update callback, the settings observer, the first tick and the first
    // drawing of the item.
    void launch();

    void updateStatusItem();
    void togglePopover(std::optional<QPoint> click);
    void showMenu(std::optional<QPoint> click);
    // Opens the settings window on a tab ("general", "menuBar", "popover",
    // "alerts").
    void openSettings(const QString& tab);
    // Another start of the program asked for the popover.
    void openPopover();
    void quitApp();

    SystemMonitor& monitor() { return monitor_; }
    WidgetBridge& widgetBridge() { return widgetBridge_; }
    // The popover and the menu, made on first use.
    PopoverWindow& popover();
    ui::PopoverView& popoverView();
    bool hasPopover() const { return popover_ != nullptr; }
    QMenu& menu();
    bool hasMenu() const { return menu_ != nullptr; }
    StatusItem* statusItem() const;
    const TrayImageCache& imageCache() const { return imageCache_; }

    // Opens the settings window for the monitor on a tab; set by the
    // program, which owns the settings window.
    std::function<void(SystemMonitor& monitor, const QString& tab)> settingsOpener;

private:
    void handleClick(StatusItem::Click click, std::optional<QPoint> position);
    void handleMenuEntry(int id);
    void configure(StatusItem& item);
    void trayShownChanged();
    void settingsChanged();
    bool isInTray() const;
    bool isPopoverOpen() const { return popover_ && popover_->isOpen(); }

    SettingsStore& settings_;
    AlertManager& alerts_;
    QDBusConnection sessionBus_;
    // Our own item, on the bus for as long as the program runs, and the
    // XEmbed item, made only when no watcher was there at launch.
    std::unique_ptr<LinuxStatusNotifierItem> statusItem_;
    std::unique_ptr<SystemTrayIconItem> fallbackItem_;
    std::unique_ptr<PopoverWindow> popover_;
    ui::PopoverView* popoverView_ = nullptr;  // owned by popover_
    // Whether a tray shows (or is about to show) the item, kept for the
    // popover made later.
    bool trayAvailable_ = true;
    SystemMonitor monitor_;
    WidgetBridge widgetBridge_;
    TrayImageCache imageCache_;
    MonitorReadings readings_;  // the monitor's values, kept between ticks
    std::unique_ptr<QMenu> menu_;
    QString toolTip_;
    std::optional<std::vector<StatusPixmap>> image_;
};

} // namespace orbistat
