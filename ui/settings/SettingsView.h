// The content of the settings window: four tabs (General, Menu Bar, Popover,
// Alerts), each a grouped form, 520 × 500 points. The selected tab is the
// "settingsTab" setting: picking a tab stores it, and a stored change picks
// the tab. Every control writes its setting at once; a change of the
// settings (from this window, another program or an edit of the file)
// updates the controls, at once while the view is on screen, else when it
// is shown again.
#pragma once

#include "shared/drawing/Palette.h"
#include "ui/settings/SettingsServices.h"
#include "ui/settings/SettingsTab.h"

#include <QImage>
#include <QSize>
#include <QStackedWidget>
#include <QWidget>

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class AlertsSettings;
class GeneralSettings;
class MenuBarSettings;
class PopoverSettings;
class SettingsTabBar;

class SettingsView : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize size{520, 500};

    SettingsView(SystemMonitor& monitor, SettingsServices services, QWidget* parent = nullptr);

    // The stored tab ("general" for a missing or unknown value).
    SettingsTab tab() const;
    // Stores the tab; the view follows.
    void setTab(SettingsTab tab);
    SettingsTab shownTab() const;

    SettingsTabBar* tabBar() const { return tabBar_; }
    QStackedWidget* pages() const { return pages_; }
    GeneralSettings* general() const { return general_; }
    MenuBarSettings* menuBar() const { return menuBar_; }
    PopoverSettings* popover() const { return popover_; }
    AlertsSettings* alerts() const { return alerts_; }

    // Reads every setting into the controls.
    void refresh();

    // The view on the stored tab, in the appearance, as a picture of
    // `scale` pixels per point (the screenshot export and the tests).
    static QImage render(SystemMonitor& monitor, SettingsServices services, Appearance appearance, double scale = 2.0);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void settingsChanged();
    void showStoredTab();

    SettingsServices services_;
    SettingsTabBar* tabBar_;
    QStackedWidget* pages_;
    GeneralSettings* general_;
    MenuBarSettings* menuBar_;
    PopoverSettings* popover_;
    AlertsSettings* alerts_;
    bool stale_ = false;
};

} // namespace orbistat::ui
